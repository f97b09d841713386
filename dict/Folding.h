// Folding of code page 932 characters for the search that tells neither kana, width nor case
// apart: each character read from the text gives one folded code, equal for the forms that are
// to compare equal. It reads bytes where they lie and keeps nothing; whole-text searching is
// TextSearch's. Voicing marks, small kana and the long-vowel mark are not folded away.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "Cp932.h"

namespace folding {

// A folded code is a single byte (below 0x100) or a double-byte character's lead << 8 | trail.
// Hiragana fold to katakana, half-width katakana to full-width, full-width ASCII to ASCII, and
// Latin capitals to small letters.
extern const std::array<uint16_t, 256> kSingle;
extern const std::array<std::array<uint16_t, 256>, 2> kRows;  // double-byte rows 0x81, 0x82

uint16_t FoldRareDouble(uint16_t code);  // the full-width " and ' of the vendor rows

inline uint16_t FoldDouble(unsigned lead, unsigned trail) {
  if (lead <= 0x82) return kRows[lead - 0x81][trail];
  const auto code = static_cast<uint16_t>(lead << 8 | trail);
  if (lead >= 0xEE) [[unlikely]]
    return FoldRareDouble(code);
  return code;
}

// A half-width kana that a following half-width voicing mark (0xDE) or semi-voicing mark
// (0xDF) joins into one character: the folded code of the pair, or 0 when they do not join.
inline uint16_t JoinMark(unsigned kana, unsigned mark) {
  if (mark == 0xDE) {
    if (kana == 0xB3) return 0x8394;  // ｳﾞ is ヴ
    if ((kana >= 0xB6 && kana <= 0xC4) || (kana >= 0xCA && kana <= 0xCE))
      return static_cast<uint16_t>(kSingle[kana] + 1);
  } else if (mark == 0xDF && kana >= 0xCA && kana <= 0xCE) {
    return static_cast<uint16_t>(kSingle[kana] + 2);
  }
  return 0;
}

// The folded code of the character that starts at s[i] (i < n), moving i past it: past both
// bytes of a double-byte character, and past a half-width kana together with the voicing mark
// that joins it. A lead byte cut off by the end of the text stands for itself.
inline uint16_t Next(const unsigned char* s, size_t n, size_t& i) {
  const unsigned b = s[i++];
  if (cp932::IsLeadByte(static_cast<unsigned char>(b))) {
    if (i == n) return static_cast<uint16_t>(b);
    return FoldDouble(b, s[i++]);
  }
  if (b >= 0xB3 && b <= 0xCE && i < n && s[i] >= 0xDE) {
    if (const uint16_t joined = JoinMark(b, s[i])) {
      ++i;
      return joined;
    }
  }
  return kSingle[b];
}

}  // namespace folding
