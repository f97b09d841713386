#include <gtest/gtest.h>

#include <optional>

#include "CString.h"
#include "NativePath.h"
#include "TestText.h"

namespace {

struct FindCase {
  const char* name;
  std::string haystack;
  std::string needle;
  int start;
  int expected;
};

TEST(CStringTest, FindMovesByWholeCharacters) {
  const FindCase cases[] = {
      {"empty needle at start", "abc", "", 0, 0},
      {"empty needle in empty text", "", "", 0, 0},
      {"needle in empty text", "", "a", 0, -1},
      {"at start", "concatenate", "con", 0, 0},
      {"inside", "concatenate", "cat", 0, 3},
      {"at end", "concatenate", "nate", 0, 7},
      {"case differs", "Cat", "cat", 0, -1},
      {"from start index", "catcat", "cat", 1, 3},
      {"start past end", "cat", "", 4, -1},
      {"backslash inside so", Sjis(u8"ソ"), "\\", 0, -1},
      {"backslash after so", Sjis(u8"ソ") + "\\", "\\", 0, 2},
      {"trail byte looks like ascii", Sjis(u8"表"), "\x5C", 0, -1},
      {"kanji after kanji", Sjis(u8"辞書"), Sjis(u8"書"), 0, 2},
      {"straddling two characters", Sjis(u8"辞書"), Sjis(u8"辞書").substr(1, 2), 0, -1},
      {"full width differs from half", Sjis(u8"ＣＡＴ"), "CAT", 0, -1},
      {"half-width katakana are single bytes", Sjis(u8"ｱﾌﾟﾘ"), Sjis(u8"ﾌﾟ"), 0, 1},
      {"space counts", "a cat", " cat", 0, 1},
  };
  for (const FindCase& c : cases)
    EXPECT_EQ(CString(c.haystack).Find(CString(c.needle), c.start), c.expected) << c.name;
}

TEST(CStringTest, FormatFillsTextAndNumbers) {
  CString s;
  s.Format(U8(u8"登録数：%d"), 1024);
  EXPECT_EQ(s.ToUtf8(), Utf8(u8"登録数：1024"));
  s.Format(U8(u8"辞書：%s に\n単語：%s\nを追加しました"), U8(u8"英単語"), CString("cat"));
  EXPECT_EQ(s.ToUtf8(), Utf8(u8"辞書：英単語 に\n単語：cat\nを追加しました"));
  s.Format("%d%%", -5);
  EXPECT_EQ(s, "-5%");
  // A '%' that is the trail byte of a double-byte character is not a conversion.
  const CString trail(std::string("\x81\x25"));
  s.Format(trail + "%s", CString("x"));
  EXPECT_EQ(s.Bytes(), std::string("\x81\x25x"));
  s.Format("%s", CString(""));
  EXPECT_TRUE(s.IsEmpty());
}

TEST(CStringTest, FormatRefusesMismatchedArguments) {
  CString s;
  EXPECT_THROW(s.Format("%d", CString("x")), std::invalid_argument);
  EXPECT_THROW(s.Format("%s", 3), std::invalid_argument);
  EXPECT_THROW(s.Format("%s %s", CString("x")), std::invalid_argument);
  EXPECT_THROW(s.Format("plain", 1), std::invalid_argument);
}

TEST(CStringTest, BasicsCountBytes) {
  CString s = U8(u8"辞書");
  EXPECT_EQ(s.GetLength(), 4);
  EXPECT_EQ(s.Bytes(), std::string("\x8E\xAB\x8F\x91"));
  EXPECT_FALSE(s.IsEmpty());
  s.Empty();
  EXPECT_TRUE(s.IsEmpty());
  EXPECT_EQ(CString("ab") + "c", CString("abc"));
  EXPECT_LT(CString("a"), CString("b"));
  EXPECT_THROW(CString::FromU8(u8"😀"), std::logic_error);
  CString out("keep");
  EXPECT_FALSE(CString::FromUtf8("\xF0\x9F\x98\x80", out));
  EXPECT_EQ(out, "keep");
}

// A path converts only when converting back gives the same bytes; the refusal names the first
// character that does not.
TEST(NativePathTest, ExactBothWaysOrRefusedNamingTheCharacter) {
  const struct {
    std::string native;
    size_t offset;        // of the refused character
    std::string refused;  // empty: the path converts
  } fromNative[] = {
      {Utf8(u8"/d/辞書～.vkd"), 0, ""},
      {Utf8(u8"x−y.vkd"), 1, Utf8(u8"−")},
      {Utf8(u8"/a〜b.vkd"), 2, Utf8(u8"〜")},
      {Utf8(u8"a¥.vkd"), 1, Utf8(u8"¥")},
      {Utf8(u8"ab‾"), 2, Utf8(u8"‾")},
      {Utf8(u8"😀"), 0, Utf8(u8"😀")},
      {std::string("a\0b", 3), 1, std::string(1, '\0')},
  };
  for (const auto& c : fromNative) {
    SCOPED_TRACE(c.native);
    PathProblem problem;
    const std::optional<CString> path = FromNativePath(c.native, &problem);
    EXPECT_EQ(path.has_value(), c.refused.empty());
    if (path) {
      EXPECT_EQ(ToNativePath(*path), c.native);
    }
    EXPECT_EQ(problem.offset, c.offset);
    EXPECT_EQ(problem.character, c.refused);
  }
  PathProblem problem;
  EXPECT_FALSE(FromNativePath("", &problem));
  // 0xED40 is the same character as 0xFA5C, which is what comes back.
  EXPECT_FALSE(ToNativePath(CString("a\xED\x40"), &problem));
  EXPECT_EQ(problem.offset, 1u);
  EXPECT_EQ(problem.character, "\xED\x40");
  EXPECT_EQ(ToNativePath(CString("\x81\x60")), Utf8(u8"～"));
}

}  // namespace
