// Reading and editing profile text without files: the lookup rules, integer values and the exact
// bytes an edit produces.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "ProfileDocument.h"

namespace {

struct ReadCase {
  const char* name;
  std::string text;
  const char* section;
  const char* key;
  std::optional<std::string> expected;
};

TEST(ProfileDocument, FindsValuesByTheReadingRules) {
  const std::string platform =
      "[General]\r\nLastFileOpen=1\r\nIfAddSave=0\r\nLastPath=C:\\a.vkd\r\n";
  const ReadCase cases[] = {
      {"as written", platform, "General", "LastPath", "C:\\a.vkd"},
      {"section case", platform, "GENERAL", "LastPath", "C:\\a.vkd"},
      {"key case", platform, "General", "lastpath", "C:\\a.vkd"},
      {"missing key", platform, "General", "Other", std::nullopt},
      {"missing section", platform, "Other", "LastPath", std::nullopt},
      {"key of another section", "[A]\nk=1\n[B]\nj=2\n", "B", "k", std::nullopt},
      {"key before any section", "k=1\n[A]\n", "A", "k", std::nullopt},
      {"blanks around names and value", " \t[ General ] \n \tLastPath \t=\t x y \t\n", "General",
       "LastPath", "x y"},
      {"blank query names", "[General]\nk=1\n", " General ", " k\t", "1"},
      {"double quotes", "[S]\nk=\" a \"\n", "S", "k", " a "},
      {"single quotes", "[S]\nk='a'\n", "S", "k", "a"},
      {"only one pair of quotes", "[S]\nk=\"\"a\"\"\n", "S", "k", "\"a\""},
      {"mismatched quotes kept", "[S]\nk=\"a'\n", "S", "k", "\"a'"},
      {"lone quote kept", "[S]\nk=\"\n", "S", "k", "\""},
      {"empty quotes", "[S]\nk=\"\"\n", "S", "k", ""},
      {"empty value", "[S]\nk=\n", "S", "k", ""},
      {"value with =", "[S]\nk=a=b\n", "S", "k", "a=b"},
      {"commented key", "[S]\n;k=1\n", "S", "k", std::nullopt},
      {"indented comment", "[S]\n  ;k=1\nk=2\n", "S", "k", "2"},
      {"commented section", ";[S]\nk=1\n", "S", "k", std::nullopt},
      {"line without =", "[S]\nk\nk=2\n", "S", "k", "2"},
      {"first duplicate key", "[S]\nk=1\nK=2\n", "S", "k", "1"},
      {"first duplicate section", "[S]\na=1\n[s]\na=2\nb=3\n", "S", "b", std::nullopt},
      {"first duplicate section value", "[S]\na=1\n[s]\na=2\n", "s", "a", "1"},
      {"CR only", "[S]\ra=1\rb=2\r", "S", "b", "2"},
      {"LF only", "[S]\na=1\nb=2", "S", "b", "2"},
      {"mixed line ends", "[S]\r\na=1\rb=2\nc=3", "S", "c", "3"},
      {"byte-order mark", "\xEF\xBB\xBF[S]\r\na=1\r\n", "S", "a", "1"},
      {"two byte-order marks", "\xEF\xBB\xBF\xEF\xBB\xBF[S]\na=1\n", "S", "a", "1"},
      {"text after ]", "[S] trailing\na=1\n", "S", "a", "1"},
      {"[ without ] ends the section", "[S]\n[T\na=1\n", "S", "a", std::nullopt},
      {"[ without ] names a section", "[S]\n[T\na=1\n", "T", "a", "1"},
      // Double-byte characters: a trail byte ']' does not close the name, and a trail byte that
      // is an ASCII letter is not folded (0x83 0x41 and 0x83 0x61 are different katakana).
      {"] as trail byte", "[\x83]]\na=1\n", "\x83]", "a", "1"},
      {"trail byte not folded", "[S]\n\x83\x61=1\n", "S", "\x83\x41", std::nullopt},
      {"double-byte key", "[S]\n\x83\x41=1\n", "S", "\x83\x41", "1"},
      {"code page 932 value", "[S]\nk=\x8e\xab\x8f\x91\\\x95\\\n", "S", "k",
       "\x8e\xab\x8f\x91\\\x95\\"},
  };
  for (const ReadCase& c : cases) {
    SCOPED_TRACE(c.name);
    ProfileDocument doc = ProfileDocument::Parse(c.text);
    std::optional<std::string_view> found = doc.Find(c.section, c.key);
    ASSERT_EQ(found.has_value(), c.expected.has_value());
    if (found) {
      EXPECT_EQ(std::string(*found), *c.expected);
    }
  }
}

struct EditCase {
  const char* name;
  std::string before;
  const char* section;
  const char* key;
  std::string value;
  std::string after;
};

TEST(ProfileDocument, EditsChangeOnlyTheirOwnLine) {
  const EditCase cases[] = {
      {"new section in empty text", "", "General", "LastFileOpen", "0",
       "[General]\r\nLastFileOpen=0\r\n"},
      {"new key after the last key", "[General]\r\nLastFileOpen=0\r\n", "General", "IfAddSave", "0",
       "[General]\r\nLastFileOpen=0\r\nIfAddSave=0\r\n"},
      {"replace keeps the file's casing", "[general]\r\n  lastPATH = old \r\nx=1\r\n", "General",
       "LastPath", "new", "[general]\r\nlastPATH=new\r\nx=1\r\n"},
      {"replace only the first duplicate", "[S]\r\nk=1\r\nk=2\r\n", "S", "K", "3",
       "[S]\r\nk=3\r\nk=2\r\n"},
      {"insert before the next section", "[S]\na=1\n\n; note\n[T]\nb=2\n", "S", "c", "3",
       "[S]\r\na=1\r\nc=3\r\n\r\n; note\r\n[T]\r\nb=2\r\n"},
      {"insert right after a header without keys", "[S]\n; note\n[T]\n", "S", "c", "3",
       "[S]\r\nc=3\r\n; note\r\n[T]\r\n"},
      {"only the first section of a name", "[S]\na=1\n[T]\n[S]\nb=2\n", "s", "b", "3",
       "[S]\r\na=1\r\nb=3\r\n[T]\r\n[S]\r\nb=2\r\n"},
      {"new section right after the last line", "[T]\r\nb=2", "S", "a", "1",
       "[T]\r\nb=2\r\n[S]\r\na=1\r\n"},
      {"new section after other bytes", "junk", "S", "a", "1", "junk\r\n[S]\r\na=1\r\n"},
      {"a blank line before it stays", "[T]\r\nb=2\r\n\r\n", "S", "a", "1",
       "[T]\r\nb=2\r\n\r\n[S]\r\na=1\r\n"},
      {"other lines kept byte for byte", "\xEF\xBB\xBF ; x \r[A] junk\rodd line\r k = v \r[S]\r",
       "S", "a", "1", " ; x \r\n[A] junk\r\nodd line\r\n k = v \r\n[S]\r\na=1\r\n"},
      {"code page 932 kept", "[S]\r\nk=\x95\\\r\n", "S", "p", "\x8e\xab\x8f\x91\\\x83]",
       "[S]\r\nk=\x95\\\r\np=\x8e\xab\x8f\x91\\\x83]\r\n"},
      {"empty value", "[S]\r\nk=1\r\n", "S", "k", "", "[S]\r\nk=\r\n"},
      {"double-byte ] in a section name", "", "\x83]", "k", "1", "[\x83]]\r\nk=1\r\n"},
  };
  for (const EditCase& c : cases) {
    SCOPED_TRACE(c.name);
    ProfileDocument doc = ProfileDocument::Parse(c.before);
    ASSERT_TRUE(doc.Set(c.section, c.key, c.value));
    std::optional<std::string_view> read = doc.Find(c.section, c.key);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(std::string(*read), c.value);
    EXPECT_EQ(doc.Serialize(), c.after);
  }
}

TEST(ProfileDocument, RefusesWhatWouldNotReadBack) {
  const struct {
    const char* name;
    const char* section;
    const char* key;
    const char* value;
  } cases[] = {
      {"line break in value", "S", "k", "a\r\nb=1"},
      {"CR in value", "S", "k", "a\rb"},
      {"LF in key", "S", "k\nj", "1"},
      {"LF in section", "S\n", "k", "1"},
      {"= in key", "S", "a=b", "1"},
      {"comment key", "S", ";k", "1"},
      {"bracket key", "S", "[k", "1"},
      {"] in section", "a]b", "k", "1"},
      {"half character at the end of a section", "a\x83", "k", "1"},
  };
  const std::string before = "[S]\r\nk=0\r\n";
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ProfileDocument doc = ProfileDocument::Parse(before);
    EXPECT_FALSE(doc.Set(c.section, c.key, c.value));
    EXPECT_EQ(doc.Serialize(), before);
  }
}

}  // namespace
