#include "Folding.h"

#include <array>

namespace folding {
namespace {

// Katakana ァ..ン run from 0x8340 to 0x8393, skipping 0x837F (not a trail byte).
constexpr uint16_t Katakana(int index) {
  return static_cast<uint16_t>(0x8340 + index + (index >= 0x3F ? 1 : 0));
}

// The full-width forms of ASCII in rows 0x81 and 0x82 other than digits and letters, with the
// ASCII character each stands for (the ideographic space is a space).
struct Wide {
  uint16_t code;
  char ascii;
};
constexpr Wide kWidePunctuation[] = {
    {0x8140, ' '}, {0x8143, ','}, {0x8144, '.'}, {0x8146, ':'}, {0x8147, ';'}, {0x8148, '?'},
    {0x8149, '!'}, {0x814D, '`'}, {0x814F, '^'}, {0x8151, '_'}, {0x815E, '/'}, {0x815F, '\\'},
    {0x8160, '~'}, {0x8162, '|'}, {0x8169, '('}, {0x816A, ')'}, {0x816D, '['}, {0x816E, ']'},
    {0x816F, '{'}, {0x8170, '}'}, {0x817B, '+'}, {0x817C, '-'}, {0x8181, '='}, {0x8183, '<'},
    {0x8184, '>'}, {0x8190, '$'}, {0x8193, '%'}, {0x8194, '#'}, {0x8195, '&'}, {0x8196, '*'},
    {0x8197, '@'},
};

// Half-width katakana 0xA1..0xDF and the full-width characters they stand for.
constexpr uint16_t kHalfWidth[] = {
    0x8142, 0x8175, 0x8176, 0x8141, 0x8145, 0x8392,                          // ｡｢｣､･ｦ
    0x8340, 0x8342, 0x8344, 0x8346, 0x8348, 0x8383, 0x8385, 0x8387, 0x8362,  // ｧｨｩｪｫｬｭｮｯ
    0x815B,                                                                  // ｰ
    0x8341, 0x8343, 0x8345, 0x8347, 0x8349,                                  // ｱｲｳｴｵ
    0x834A, 0x834C, 0x834E, 0x8350, 0x8352,                                  // ｶｷｸｹｺ
    0x8354, 0x8356, 0x8358, 0x835A, 0x835C,                                  // ｻｼｽｾｿ
    0x835E, 0x8360, 0x8363, 0x8365, 0x8367,                                  // ﾀﾁﾂﾃﾄ
    0x8369, 0x836A, 0x836B, 0x836C, 0x836D,                                  // ﾅﾆﾇﾈﾉ
    0x836E, 0x8371, 0x8374, 0x8377, 0x837A,                                  // ﾊﾋﾌﾍﾎ
    0x837D, 0x837E, 0x8380, 0x8381, 0x8382,                                  // ﾏﾐﾑﾒﾓ
    0x8384, 0x8386, 0x8388,                                                  // ﾔﾕﾖ
    0x8389, 0x838A, 0x838B, 0x838C, 0x838D,                                  // ﾗﾘﾙﾚﾛ
    0x838F, 0x8393, 0x814A, 0x814B,                                          // ﾜﾝﾞﾟ
};
static_assert(std::size(kHalfWidth) == 0xDF - 0xA1 + 1);

constexpr std::array<uint16_t, 256> MakeSingle() {
  std::array<uint16_t, 256> t{};
  for (int b = 0; b < 256; ++b) t[b] = static_cast<uint16_t>(b);
  for (int b = 'A'; b <= 'Z'; ++b) t[b] = static_cast<uint16_t>(b - 'A' + 'a');
  for (int b = 0xA1; b <= 0xDF; ++b) t[b] = kHalfWidth[b - 0xA1];
  return t;
}

constexpr std::array<std::array<uint16_t, 256>, 2> MakeRows() {
  std::array<std::array<uint16_t, 256>, 2> t{};
  for (int trail = 0; trail < 256; ++trail) {
    t[0][trail] = static_cast<uint16_t>(0x8100 | trail);
    t[1][trail] = static_cast<uint16_t>(0x8200 | trail);
  }
  for (const Wide& w : kWidePunctuation) t[0][w.code & 0xFF] = static_cast<uint16_t>(w.ascii);
  t[0][0x54] = 0x8152;  // ゝ is ヽ
  t[0][0x55] = 0x8153;  // ゞ is ヾ
  for (int d = 0; d < 10; ++d) t[1][0x4F + d] = static_cast<uint16_t>('0' + d);
  for (int l = 0; l < 26; ++l) {
    t[1][0x60 + l] = static_cast<uint16_t>('a' + l);  // Ａ..Ｚ
    t[1][0x81 + l] = static_cast<uint16_t>('a' + l);  // ａ..ｚ
  }
  for (int k = 0; k <= 0xF1 - 0x9F; ++k) t[1][0x9F + k] = Katakana(k);  // ぁ..ん
  return t;
}

}  // namespace

const std::array<uint16_t, 256> kSingle = MakeSingle();
const std::array<std::array<uint16_t, 256>, 2> kRows = MakeRows();

// The vendor rows hold full-width ' and " twice each (their NEC and IBM places), and no other
// full-width ASCII.
uint16_t FoldRareDouble(uint16_t code) {
  switch (code) {
    case 0xEEFB:
    case 0xFA56:
      return '\'';
    case 0xEEFC:
    case 0xFA57:
      return '"';
    default:
      return code;
  }
}

}  // namespace folding
