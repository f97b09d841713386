// The word list's search: folded matching rule by rule, and the exact search against
// CString::Find.
#include <gtest/gtest.h>

#include <string>

#include "Cp932.h"
#include "Folding.h"
#include "TestText.h"
#include "TextSearch.h"

namespace {

struct Row {
  const char* rule;
  std::string text;
  std::string search;
  ptrdiff_t folded;  // where the folded search finds it, -1 nowhere
};

std::vector<Row> Rows() {
  const std::string far(0x10000, 'x');  // past what a 16-bit length could hold
  return {
      {"hiragana find katakana", Sjis(u8"ネコ"), Sjis(u8"ねこ"), 0},
      {"katakana find hiragana", Sjis(u8"はねこ"), Sjis(u8"ネコ"), 2},
      {"iteration marks", Sjis(u8"ゝゞ"), Sjis(u8"ヽヾ"), 0},
      {"small ke is not the hiragana ke", Sjis(u8"ヶ"), Sjis(u8"け"), -1},
      {"small ka is not the hiragana ka", Sjis(u8"か"), Sjis(u8"ヵ"), -1},
      {"half-width katakana", Sjis(u8"カタカナ"), Sjis(u8"ｶﾀｶﾅ"), 0},
      {"full-width finds half-width", Sjis(u8"ｶﾀｶﾅ"), Sjis(u8"かたかな"), 0},
      {"voiced half-width", Sjis(u8"ガイド"), Sjis(u8"ｶﾞｲﾄﾞ"), 0},
      {"after a joined pair", Sjis(u8"ｱｶﾞｲ"), Sjis(u8"がい"), 1},
      {"semi-voiced half-width", Sjis(u8"ﾊﾟﾝ"), Sjis(u8"パン"), 0},
      {"half-width vu", Sjis(u8"ｳﾞｧ"), Sjis(u8"ヴァ"), 0},
      {"voiced is not semi-voiced", Sjis(u8"ﾊﾞﾝ"), Sjis(u8"パン"), -1},
      {"a joined pair does not hold its kana", Sjis(u8"ｶﾞ"), Sjis(u8"ｶ"), -1},
      {"a joined pair does not hold its mark", Sjis(u8"ｶﾞ"), Sjis(u8"ﾞ"), -1},
      {"a kana that takes no mark stays apart", Sjis(u8"ｱﾞ"), Sjis(u8"ア"), 0},
      {"a lone mark is the full-width mark", Sjis(u8"ｱﾞ"), Sjis(u8"゛"), 1},
      {"search text ending in a lone mark", Sjis(u8"ア゛"), Sjis(u8"ｱﾞ"), 0},
      {"text ending in a lone mark", Sjis(u8"abcﾞ"), Sjis(u8"ﾞ"), 3},
      {"text ending before the mark", Sjis(u8"abcｶ"), Sjis(u8"ｶﾞ"), -1},
      {"full-width letters", Sjis(u8"ＡＢＣ"), "abc", 0},
      {"ASCII finds full-width", "abc", Sjis(u8"ａｂｃ"), 0},
      {"case", "Cat", "cat", 0},
      {"case of full-width letters", "xCAT", Sjis(u8"ｃａｔ"), 1},
      {"digits and signs", Sjis(u8"０１２！？"), "012!?", 0},
      {"ideographic space", Sjis(u8"a　b"), "a b", 0},
      {"vendor full-width quote", "\xFA\x57", "\"", 0},
      {"voicing is not folded", Sjis(u8"が"), Sjis(u8"か"), -1},
      {"small kana are not folded", Sjis(u8"や"), Sjis(u8"ゃ"), -1},
      {"the long-vowel mark is no vowel", Sjis(u8"カー"), Sjis(u8"かあ"), -1},
      {"half-width long-vowel mark", Sjis(u8"ｶｰ"), Sjis(u8"かー"), 0},
      {"greek has no case here", Sjis(u8"Α"), Sjis(u8"α"), -1},
      {"not on a trail byte", Sjis(u8"ソ"), "\\", -1},
      {"not on a trail byte that folds", Sjis(u8"ア"), "a", -1},
      {"found inside eight ASCII bytes", "xxxxxxxxxCatxxxxxxxx", Sjis(u8"ＣＡＴ"), 9},
      {"kana past eight ASCII bytes", Sjis(u8"abcdefghｶﾞ"), Sjis(u8"が"), 8},
      {"far into a long meaning", far + Sjis(u8"ねこ"), Sjis(u8"ネコ"), 0x10000},
      {"empty search text", "abc", "", 0},
      {"empty text and search text", "", "", 0},
      {"empty text", "", "a", -1},
      {"longer than the text", "ab", "abc", -1},
  };
}

TEST(TextSearchTest, FoldedSearchFindsEachFormAtItsPlace) {
  for (const Row& row : Rows()) {
    EXPECT_EQ(CTextSearch(CString(row.search), {.fold = true}).FindIn(row.text), row.folded)
        << row.rule;
  }
}

TEST(TextSearchTest, ExactSearchFindsWhatFindFinds) {
  std::vector<Row> rows = Rows();
  rows.push_back(
      {"candidate on a trail byte in a run of lead bytes", "\x88\x9F\x88\x9F", "\x9F\x88", 0});
  rows.push_back({"second candidate starts a character", Sjis(u8"ソa\\"), "\\", 0});
  rows.push_back({"lead byte cut off at the end", "a\x82", "\x82", 0});
  for (const Row& row : rows) {
    const CString text(row.text);
    EXPECT_EQ(CTextSearch(CString(row.search)).FindIn(row.text), text.Find(CString(row.search), 0))
        << row.rule;
  }
}

// The full-width forms of ASCII are listed by hand; the converter knows them independently.
TEST(TextSearchTest, FullWidthAsciiIsWhatTheConverterSays) {
  for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
    if (!cp932::IsLeadByte(static_cast<unsigned char>(lead))) continue;
    for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
      const std::string bytes{static_cast<char>(lead), static_cast<char>(trail)};
      const std::optional<std::string> utf8 = cp932::ToUtf8(bytes);
      if (!utf8) continue;
      std::string ascii;
      if (*utf8 == Utf8(u8"　")) ascii = " ";
      char32_t c = 0;
      if (utf8->size() == 3)
        c = (utf8->at(0) & 0x0Fu) << 12 | (utf8->at(1) & 0x3Fu) << 6 | (utf8->at(2) & 0x3Fu);
      if (c >= 0xFF01 && c <= 0xFF5E) ascii = std::string(1, static_cast<char>(c - 0xFEE0));
      if (!ascii.empty() && ascii[0] >= 'A' && ascii[0] <= 'Z') ascii[0] += 'a' - 'A';
      const uint16_t folded = folding::FoldDouble(lead, trail);
      EXPECT_EQ(folded < 0x80, !ascii.empty()) << std::hex << (lead << 8 | trail);
      if (!ascii.empty()) {
        EXPECT_EQ(folded, static_cast<unsigned char>(ascii[0])) << std::hex << (lead << 8 | trail);
      }
    }
  }
}

}  // namespace
