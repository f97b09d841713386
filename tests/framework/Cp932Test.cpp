// The code page 932 converter against glibc's iconv, whose tables it is built from: every code
// both ways, and what the program adds beyond iconv.
#include <gtest/gtest.h>
#include <iconv.h>

#include <optional>
#include <set>
#include <string>

#include "Cp932.h"
#include "TestText.h"

namespace {

// iconv in one direction: the output of a whole input, or nothing when iconv refuses some of it
// or counts an irreversible conversion.
class Iconv {
 public:
  Iconv(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
  ~Iconv() { iconv_close(m_cd); }

  std::optional<std::string> operator()(std::string_view in) {
    iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
    std::string out(in.size() * 4 + 8, '\0');
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    char* dst = out.data();
    size_t dstLeft = out.size();
    if (iconv(m_cd, &src, &srcLeft, &dst, &dstLeft) != 0 || srcLeft != 0) return std::nullopt;
    out.resize(out.size() - dstLeft);
    return out;
  }

 private:
  iconv_t m_cd;
};

std::string Utf8Of(char32_t c) {
  if (c < 0x80) return std::string(1, static_cast<char>(c));
  const int n = c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
  std::string s(1, static_cast<char>((n == 2   ? 0xC0
                                      : n == 3 ? 0xE0
                                               : 0xF0) |
                                     (c >> (6 * (n - 1)))));
  for (int i = n - 2; i >= 0; --i) s += static_cast<char>(0x80 | ((c >> (6 * i)) & 0x3F));
  return s;
}

std::string Utf16Of(char32_t c) {
  std::u16string units;
  if (c < 0x10000) {
    units = static_cast<char16_t>(c);
  } else {
    units += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
    units += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
  }
  std::string bytes;
  for (char16_t u : units) bytes += {static_cast<char>(u & 0xFF), static_cast<char>(u >> 8)};
  return bytes;
}

constexpr char32_t kOverline = 0x203E;  // iconv makes it '~'; the converter refuses it

TEST(Cp932Test, AgreesWithIconvOnEveryCharacter) {
  Iconv fromUtf8("CP932", "UTF-8"), fromUtf16("CP932", "UTF-16LE");
  int mismatches = 0;
  std::string all, allExpected;
  for (char32_t c = 0; c <= 0x10FFFF; ++c) {
    const std::string utf8 = Utf8Of(c);
    const std::string utf16 = Utf16Of(c);
    const std::u16string_view units(reinterpret_cast<const char16_t*>(utf16.data()),
                                    utf16.size() / 2);
    const std::optional<std::string> expected = c == kOverline ? std::nullopt : fromUtf8(utf8);
    if (cp932::FromUtf8(utf8) != expected ||
        cp932::FromUtf16(units) != (c == kOverline ? std::nullopt : fromUtf16(utf16))) {
      if (++mismatches < 5) ADD_FAILURE() << std::hex << "U+" << unsigned(c);
    }
    if (expected && c < 0x10000) {
      all += utf8;
      allExpected += *expected;
    }
  }
  EXPECT_EQ(mismatches, 0);
  EXPECT_EQ(cp932::FromUtf8(all), allExpected);  // all of it in one text
  EXPECT_GT(allExpected.size(), 15000u);
}

TEST(Cp932Test, AgreesWithIconvOnEveryCode) {
  Iconv toUtf8("UTF-8", "CP932");
  // What display showed: a lead byte takes the next byte, each piece through iconv or U+FFFD.
  auto lossy = [&](std::string_view bytes) {
    std::string out;
    for (size_t i = 0, n = 0; i < bytes.size(); i += n) {
      n = cp932::IsLeadByte(static_cast<unsigned char>(bytes[i])) && i + 1 < bytes.size() ? 2 : 1;
      out += toUtf8(bytes.substr(i, n)).value_or("\xEF\xBF\xBD");
    }
    return out;
  };
  int mismatches = 0;
  for (unsigned i = 0; i < 0x100 + 0x10000; ++i) {  // every byte alone, then every pair
    const bool single = i < 0x100;
    const unsigned code = single ? i : i - 0x100;
    const char pair[] = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
    const std::string_view bytes(single ? pair + 1 : pair, single ? 1 : 2);
    if (cp932::ToUtf8(bytes) != toUtf8(bytes) || cp932::ToUtf8Lossy(bytes) != lossy(bytes)) {
      if (++mismatches < 5) ADD_FAILURE() << std::hex << code << (single ? " alone" : "");
    }
  }
  EXPECT_EQ(mismatches, 0);
}

TEST(Cp932Test, RefusesWhatIsNotUtf8AsIconvDoes) {
  Iconv fromUtf8("CP932", "UTF-8");
  const std::string_view texts[] = {"\xC0\xAF",
                                    "\xE0\x80\xAF",
                                    "\xED\xA0\x80",
                                    "\xF4\x90\x80\x80",
                                    "\xE3\x81",
                                    "\x80",
                                    "a\xFF"
                                    "b",
                                    "\xF8\x88\x80\x80\x80",
                                    "\xC2",
                                    "\xE3\x81\x81\x81",
                                    "\xF3\xA0\x80\x81",
                                    "x\xF3\xA0\x80\xBFy"};  // tags, which iconv leaves out
  for (std::string_view text : texts)
    EXPECT_EQ(cp932::FromUtf8(text), fromUtf8(text)) << testing::PrintToString(std::string(text));
}

// The platform's single bytes, which vkd takes and the window refuses, and where a refusal is.
TEST(Cp932Test, PlatformSinglesOnlyWhenAsked) {
  using cp932::Singles;
  const std::string bytes = "\x80\xA0\xFD\xFE\xFF";
  const std::string utf8 = "\xC2\x80\xEF\xA3\xB0\xEF\xA3\xB1\xEF\xA3\xB2\xEF\xA3\xB3";
  std::string out = "k";
  EXPECT_TRUE(cp932::AppendToUtf8(out, bytes, Singles::kPlatform));
  EXPECT_EQ(out, "k" + utf8);
  out = "k";
  EXPECT_TRUE(cp932::AppendFromUtf8(out, utf8, Singles::kPlatform));
  EXPECT_EQ(out, "k" + bytes);
  EXPECT_FALSE(cp932::ToUtf8(bytes).has_value());
  EXPECT_FALSE(cp932::FromUtf8(utf8).has_value());
  size_t bad = 0;
  EXPECT_FALSE(cp932::AppendToUtf8(out,
                                   "\xFF"
                                   "ab\x81\x7F",
                                   Singles::kPlatform, &bad));
  EXPECT_EQ(bad, 3u);
  EXPECT_EQ(out, "k" + bytes);
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

}  // namespace
