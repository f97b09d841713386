#include <gtest/gtest.h>

#include <optional>
#include <set>

#include "CString.h"
#include "Cp932.h"
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

// Every double-byte code the code page defines converts to Unicode and back. A few characters
// have two codes (NEC and IBM extensions); those come back as the one preferred code, which
// itself converts to the same character.
TEST(Cp932Test, EveryDoubleByteCodeRoundTrips) {
  int exact = 0;
  int canonical = 0;
  std::set<std::string> seen;
  for (int lead = 0x81; lead <= 0xFC; ++lead) {
    if (!cp932::IsLeadByte(static_cast<unsigned char>(lead))) continue;
    for (int trail = 0x40; trail <= 0xFC; ++trail) {
      if (trail == 0x7F) continue;
      const std::string code{static_cast<char>(lead), static_cast<char>(trail)};
      auto utf8 = cp932::ToUtf8(code);
      if (!utf8) continue;
      auto back = cp932::FromUtf8(*utf8);
      ASSERT_TRUE(back.has_value()) << std::hex << lead << " " << trail;
      if (*back == code) {
        ++exact;
        EXPECT_TRUE(seen.insert(*utf8).second) << "two codes round-trip to one character";
      } else {
        ++canonical;
        EXPECT_EQ(cp932::ToUtf8(*back), utf8);
      }
    }
  }
  // JIS X 0208 alone has 6879 characters; with the vendor rows there are a few hundred more.
  EXPECT_GT(exact, 7000);
  EXPECT_LT(canonical, 500);
  EXPECT_EQ(cp932::ToUtf8("\x83\x5C"), Utf8(u8"ソ"));
  EXPECT_EQ(cp932::ToUtf8("\x81\x5F"), Utf8(u8"＼"));
}

TEST(Cp932Test, RefusesWhatItCannotHoldAndKeepsTheStandardEquivalents) {
  const struct {
    std::u8string_view text;
    std::optional<std::string> bytes;
  } cases[] = {
      {u8"😀", std::nullopt},
      {u8"한", std::nullopt},
      {u8"a‾b", std::nullopt},  // would be stored as '~'
      {u8"〜", "\x81\x60"},
      {u8"−", "\x81\x7C"},
      {u8"—", "\x81\x5C"},
      {u8"¥", "\x5C"},
      {u8"辞書", "\x8E\xAB\x8F\x91"},
  };
  for (const auto& c : cases) EXPECT_EQ(cp932::FromUtf8(Utf8(c.text)), c.bytes) << Utf8(c.text);
  EXPECT_FALSE(cp932::FromUtf16(u"a\u203Eb").has_value());
  EXPECT_EQ(cp932::FromUtf16(u"辞書"), std::string("\x8E\xAB\x8F\x91"));
  EXPECT_FALSE(cp932::ToUtf8("\x81").has_value());  // lone lead byte
  EXPECT_EQ(cp932::ToUtf8Lossy(std::string("a\x81")), "a\xEF\xBF\xBD");
  // Appending: a refusal leaves what was there; a long text of the widest characters (one byte
  // to three) converts whole, and the converter works on after it.
  std::string out = "kept";
  EXPECT_FALSE(cp932::AppendFromUtf8(out, Utf8(u8"x😀")));
  EXPECT_EQ(out, "kept");
  const std::string kana(3 << 20, '\xB1');
  out.clear();
  ASSERT_TRUE(cp932::AppendToUtf8(out, kana));
  EXPECT_EQ(out.size(), kana.size() * 3);
  EXPECT_EQ(cp932::FromUtf8(out), kana);
  EXPECT_EQ(cp932::ToUtf8("\xB1"), Utf8(u8"ｱ"));
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
