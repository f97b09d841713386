#include <gtest/gtest.h>
#include <sys/stat.h>

#include <memory>
#include <sstream>

#include "Archive.h"
#include "Bytes.h"
#include "DictFile.h"
#include "DictIo.h"
#include "MemFile.h"
#include "TempDir.h"
#include "TestText.h"
#include "Vkd.h"

namespace {

struct Result {
  int status;
  std::string out;
  std::string err;
};

Result Vkd(const std::vector<std::string>& args, const std::string& input = "") {
  std::istringstream in(input);
  std::ostringstream out, err;
  const int status = vkd::Run(args, in, out, err);
  return {status, out.str(), err.str()};
}

// The file bytes of a book with the given name and entries (code page 932 bytes).
std::string DictBytes(const CString& name,
                      const std::vector<std::pair<CString, CString>>& entries) {
  auto book = std::make_unique<CDictData>();
  book->m_strName = name;
  for (const auto& [w, m] : entries) {
    book->m_strWord[book->m_nCount] = w;
    book->m_strMeaning[book->m_nCount++] = m;
  }
  CMemFile file;
  if (!WriteOpenDictionary(file, *book).ok()) ADD_FAILURE() << "writing to memory failed";
  return file.Bytes();
}

// A book whose text exercises every escape of every format, in both encodings.
std::string TrickyBook() {
  return DictBytes(U8(u8"英単語"), {
                                       {"cat", U8(u8"ねこ\r\n（動物）")},
                                       {U8(u8"ソース"), "back\\slash and \"quotes\", commas"},
                                       {"tab\there", "cr\ronly lf\nonly"},
                                       {"", ""},
                                       {U8(u8"表示"), U8(u8"ソ\\ソ\t")},
                                       {"ctl\x01", "{[brace]}/"},
                                       {" lead and trail ", "x,y"},
                                   });
}

const char* FormatName(int i) {
  return i == 0 ? "tsv" : i == 1 ? "csv" : "json";
}

TEST(Vkd, ExportImportRoundTripsByteForByte) {
  TempDir dir;
  const std::string original = dir.Path("orig.vkd");
  WriteBytes(original, TrickyBook());
  for (int f = 0; f < 3; ++f) {
    for (const char* encoding : {"utf-8", "cp932"}) {
      SCOPED_TRACE(std::string(FormatName(f)) + " " + encoding);
      const std::string text = dir.Path(std::string("out.") + FormatName(f) + "." + encoding);
      const std::string back = dir.Path(std::string("back.") + FormatName(f) + "." + encoding);
      const std::string again = text + ".again";
      ASSERT_EQ(
          Vkd({"export", original, "--format", FormatName(f), "--encoding", encoding, "-o", text})
              .status,
          0);
      const auto imported = Vkd({"import", text, "--name", Utf8(u8"英単語"), "-o", back, "--format",
                                 FormatName(f), "--encoding", encoding});
      ASSERT_EQ(imported.status, 0) << imported.err;
      EXPECT_EQ(ReadBytes(back), ReadBytes(original));
      ASSERT_EQ(Vkd({"export", back, "--format=" + std::string(FormatName(f)),
                     "--encoding=" + std::string(encoding), "-o", again})
                    .status,
                0);
      EXPECT_EQ(ReadBytes(again), ReadBytes(text));
    }
  }
}

TEST(Vkd, ExportEscapes) {
  TempDir dir;
  const std::string path = dir.Path("b.vkd");
  WriteBytes(path, DictBytes("n", {{"a\tb", "c\\d\r\ne"}, {"q\"x", "p,q"}, {U8(u8"ソ"), "\x01"}}));
  struct Case {
    const char* format;
    const char* encoding;
    std::string expected;
  } cases[] = {
      {"tsv", "utf-8",
       "a\\tb\tc\\\\d\\r\\ne\n"
       "q\"x\tp,q\n"
       "\xE3\x82\xBD\t\x01\n"},
      {"tsv", "cp932",  // the trail byte 5C of the katakana stays as it is
       "a\\tb\tc\\\\d\\r\\ne\n"
       "q\"x\tp,q\n"
       "\x83\x5C\t\x01\n"},
      {"csv", "utf-8",
       "a\tb,\"c\\d\r\ne\"\r\n"
       "\"q\"\"x\",\"p,q\"\r\n"
       "\xE3\x82\xBD,\x01\r\n"},
      {"json", "utf-8",
       "{\"name\": \"n\", \"entries\": [\n"
       "  {\"word\": \"a\\tb\", \"meaning\": \"c\\\\d\\r\\ne\"},\n"
       "  {\"word\": \"q\\\"x\", \"meaning\": \"p,q\"},\n"
       "  {\"word\": \"\xE3\x82\xBD\", \"meaning\": \"\\u0001\"}\n"
       "]}\n"},
      {"json", "cp932",
       "{\"name\": \"n\", \"entries\": [\n"
       "  {\"word\": \"a\\tb\", \"meaning\": \"c\\\\d\\r\\ne\"},\n"
       "  {\"word\": \"q\\\"x\", \"meaning\": \"p,q\"},\n"
       "  {\"word\": \"\x83\x5C\", \"meaning\": \"\\u0001\"}\n"
       "]}\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.format) + " " + c.encoding);
    const auto r = Vkd({"export", path, "--format", c.format, "--encoding", c.encoding});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, c.expected);
  }
  WriteBytes(path, DictBytes("", {}));
  EXPECT_EQ(Vkd({"export", path, "--format", "json"}).out, "{\"name\": \"\", \"entries\": []}\n");
  EXPECT_EQ(Vkd({"export", path}).out, "");
}

TEST(Vkd, ImportRefusesWithTheLineAndWritesNothing) {
  std::string tooMany;
  for (int i = 0; i < 1025; ++i) tooMany += "w" + std::to_string(i) + "\tm\n";
  struct Case {
    const char* format;
    const char* encoding;
    std::string input;
    const char* message;
  } cases[] = {
      {"tsv", "utf-8", "a\tb\nno tab here\n", "line 2: no tab"},
      {"tsv", "utf-8", "a\tb\tc\n", "line 1: more than one tab"},
      {"tsv", "utf-8", "a\tb\n\nc\td\n", "line 2: empty line"},
      {"tsv", "utf-8", "a\tb\\x\n", "line 1: unknown escape \\x"},
      {"tsv", "utf-8", "a\tb\\", "line 1: backslash at the end of the line"},
      {"tsv", "utf-8", "a\tb\rc\n", "line 1: a carriage return must be written \\r"},
      {"tsv", "utf-8", "ok\tok\n\xF0\x9F\x98\x80\tsmile\n", "line 2: text that is not UTF-8"},
      {"tsv", "utf-8", "caf\xC3\xA9\tx\n", "line 1: text that is not UTF-8 or that code page"},
      {"tsv", "utf-8", "bad\xFF\tx\n", "line 1: text that is not UTF-8"},
      {"tsv", "cp932", "ok\tok\nbad\xA0x\tm\n", "line 2: text that is not valid code page 932"},
      {"tsv", "utf-8", tooMany, "line 1025: more than 1024 entries"},
      {"csv", "utf-8", "a,b\n\"open,c\n", "line 2: a quoted field is not closed"},
      {"csv", "utf-8", "a,b\r\n\"x\"y,z\r\n", "line 2: text after the closing quote"},
      {"csv", "utf-8", "a,b\r\nx\"y,z\r\n", "line 2: a quote inside a field"},
      {"csv", "utf-8", "a,b\r\n\"multi\r\nline\",m\r\nonly one\r\n", "line 4: expected 2 fields"},
      {"csv", "utf-8", "a,b,c\r\n", "line 1: expected 2 fields (word,meaning), found 3"},
      {"csv", "utf-8", "a,b\rc,d\r\n", "line 1: a carriage return outside quotes"},
      {"json", "utf-8", "{\"entries\": [\n{\"word\": \"a\"}\n]}",
       "line 2: entry 0: no \"meaning\""},
      {"json", "utf-8", "{\"entries\": [\n{\"word\": \"a\", \"meaning\": 5}]}",
       "line 2: expected a string"},
      {"json", "utf-8", "{\"entries\": []} x", "line 1: text after the end of the document"},
      {"json", "utf-8", "{\"name\": \"n\"}", "no \"entries\""},
      {"json", "utf-8", "{\"entries\": [{\"word\": \"\\ud83d\\ude00\", \"meaning\": \"m\"}]}",
       "line 1: entry 0: text that is not UTF-8 or that code page 932 cannot hold"},
      {"json", "utf-8", "{\"entries\": [{\"word\": \"\\ud83d\", \"meaning\": \"m\"}]}",
       "line 1: a lone surrogate"},
      {"json", "cp932", "{\"entries\": [{\"word\": \"\\u00e9\", \"meaning\": \"m\"}]}",
       "line 1: a \\u escape that code page 932 cannot hold"},
      {"json", "utf-8", "{\"entries\": [\n\n{\"word\": \"a\nb\", \"meaning\": \"m\"}]}",
       "line 3: a control character"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.format) + " " + c.encoding + ": " + c.message);
    TempDir dir;
    const auto r = Vkd({"import", "-", "--name", "n", "-o", dir.Path("out.vkd"), "--format",
                        c.format, "--encoding", c.encoding},
                       c.input);
    EXPECT_EQ(r.status, vkd::kTrouble);
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    EXPECT_TRUE(dir.Entries().empty());
  }
}

TEST(Vkd, ImportAcceptsWhatOtherToolsWrite) {
  struct Case {
    const char* format;
    std::string input;
    std::vector<std::pair<CString, CString>> entries;
  } cases[] = {
      {"tsv", "a\tb\r\nc\td", {{"a", "b"}, {"c", "d"}}},  // CR LF lines, no final line end
      {"csv", "a,\"b\"\"c\"\n,\n", {{"a", "b\"c"}, {"", ""}}},
      {"json",
       "{\"extra\": [1, {\"x\": null}], \"entries\": [{\"meaning\": \"\\u306d\\/\", "
       "\"word\": \"w\", \"note\": true}], \"name\": \"ignored\"}",
       {{"w", U8(u8"ね/")}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.format);
    TempDir dir;
    const auto r =
        Vkd({"import", "-", "--name", "n", "-o", dir.Path("o.vkd"), "--format", c.format}, c.input);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadBytes(dir.Path("o.vkd")), DictBytes("n", c.entries));
  }
}

TEST(Vkd, ImportNameAndExistingFiles) {
  TempDir dir;
  const std::string out = dir.Path("o.vkd");
  const std::string json = "{\"name\": \"\\u8f9e\\u66f8\", \"entries\": []}";
  ASSERT_EQ(Vkd({"import", "-", "-o", out, "--format", "json"}, json).status, 0);
  EXPECT_EQ(ReadBytes(out), Hex("04 8E AB 8F 91 00 00 00 00"));  // the name came from the JSON
  const auto again = Vkd({"import", "-", "-o", out, "--format", "json", "--name", "x"}, json);
  EXPECT_EQ(again.status, vkd::kTrouble);
  EXPECT_NE(again.err.find("exists; use --force"), std::string::npos);
  ASSERT_EQ(
      Vkd({"import", "-", "-o", out, "--format", "json", "--name", "x", "--force"}, json).status,
      0);
  EXPECT_EQ(ReadBytes(out), Hex("01 78 00 00 00 00"));
  EXPECT_EQ(Vkd({"import", "-", "-o", dir.Path("p.vkd")}, "a\tb\n").status, vkd::kTrouble);
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"o.vkd"});
}

TEST(Vkd, CheckSaysWhatIsWrongAndWhere) {
  const std::string sound = Hex("02 61 62 02 00 00 00 01 78 01 79 01 7A 03 61 62 63");
  struct Case {
    const char* what;
    std::string bytes;
    int status;
    std::string line;
  } cases[] = {
      {"sound", sound, 0, "sound, 2 entries"},
      {"trailing bytes", sound + "zz", 0,
       "sound, 2 entries; 2 bytes after the last meaning at offset 17 are ignored"},
      {"empty file", "", 1,
       "the name at offset 0 has an incomplete length, and the file ends at 0"},
      {"cut in the name", sound.substr(0, 2), 1,
       "the name announces 2 bytes at offset 0, and the file ends at 2"},
      {"cut in the count", sound.substr(0, 5), 1,
       "the count at offset 3 needs 4 bytes, and the file ends at 5"},
      {"cut in a word", sound.substr(0, 12), 1,
       "the word of entry 1 announces 1 bytes at offset 11, and the file ends at 12"},
      {"cut in a meaning", sound.substr(0, 15), 1,
       "the meaning of entry 1 announces 3 bytes at offset 13, and the file ends at 15"},
      {"count too large", Hex("00 01 04 00 00"), 1,
       "the count at offset 1 is 1025, outside 0 to 1024"},
      {"negative count", Hex("00 FE FF FF FF"), 1,
       "the count at offset 1 is -2, outside 0 to 1024"},
      {"UTF-16 the code page cannot hold", Hex("00 01 00 00 00 FF FE FF 01 E9 00 00"), 1,
       "the word of entry 0 at offset 5 holds UTF-16 text that code page 932 cannot hold"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    const std::string path = dir.Path("d.vkd");
    WriteBytes(path, c.bytes);
    const auto r = Vkd({"check", path});
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(r.out, path + ": " + c.line + "\n");
  }
}

TEST(Vkd, CommandsOnFilesThatCannotBeRead) {
  TempDir dir;
  const std::string damaged = dir.Path("d.vkd");
  WriteBytes(damaged, Hex("05 61"));
  const std::string missing = dir.Path("none.vkd");
  struct Case {
    std::vector<std::string> args;
    int status;
    const char* err;
  } cases[] = {
      {{"check", missing}, vkd::kTrouble, "cannot open"},
      {{"show", missing}, vkd::kTrouble, "cannot open"},
      {{"show", damaged}, vkd::kFound, "is damaged: the name announces 5 bytes"},
      {{"export", damaged}, vkd::kFound, "is damaged"},
      {{"search", damaged, "a"}, vkd::kFound, "is damaged"},
      {{"check"}, vkd::kTrouble, "check takes one FILE"},
      {{"export", damaged, "--format", "xml"}, vkd::kTrouble, "unknown format xml"},
      {{"export", damaged, "--encoding"}, vkd::kTrouble, "needs a value"},
      {{"show", damaged, "--format", "tsv"}, vkd::kTrouble, "unknown option --format"},
      {{"frobnicate"}, vkd::kTrouble, "unknown command frobnicate"},
      {{}, vkd::kTrouble, "usage: vkd"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args.empty() ? "" : c.args[0]);
    const auto r = Vkd(c.args);
    EXPECT_EQ(r.status, c.status);
    EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
  }
  // A file the program holds open is refused rather than read half-written.
  const std::string held = dir.Path("held.vkd");
  WriteBytes(held, Hex("00 00 00 00 00"));
  CFile file;
  ASSERT_TRUE(file.Open(CString(held), CFile::modeReadWrite));
  const auto r = Vkd({"check", held});
  EXPECT_EQ(r.status, vkd::kTrouble);
  EXPECT_NE(r.err.find("open in another program"), std::string::npos) << r.err;
}

TEST(Vkd, SearchMatchesAsTheProgramDoes) {
  TempDir dir;
  const std::string path = dir.Path("s.vkd");
  // Words 0..5; katakana SO (83 5C) ends in a backslash byte, and the full-width space
  // (81 40) in "@".
  WriteBytes(path, DictBytes("n", {{U8(u8"ソース"), "m"},
                                   {"back\\slash", "m"},
                                   {U8(u8"表"), "m"},
                                   {U8(u8"全角　空白"), "m"},
                                   {"mail@example", "m"},
                                   {"Cat", "m"}}));
  struct Case {
    std::string text;
    std::vector<int> expected;
  } cases[] = {
      {"\\", {1}},                       // never the trail byte of SO or of HYOU (95 5C)
      {Utf8(u8"ソ"), {0}},               // and SO never matches the plain backslash
      {"@", {4}},                        // nor "@" the second half of the full-width space
      {Utf8(u8"　"), {3}}, {"cat", {}},  // case-sensitive
      {"a", {1, 4, 5}},    {"", {0, 1, 2, 3, 4, 5}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const auto r = Vkd({"search", path, c.text});
    std::vector<int> found;
    std::istringstream lines(r.out);
    std::string line;
    while (std::getline(lines, line)) found.push_back(std::stoi(line));
    EXPECT_EQ(found, c.expected);
    EXPECT_EQ(r.status, c.expected.empty() ? vkd::kFound : 0);
  }
  EXPECT_EQ(Vkd({"search", path, "zzz"}).status, vkd::kFound);
  EXPECT_EQ(Vkd({"search", path, "\xF0\x9F\x98\x80"}).status,
            vkd::kTrouble);  // not in the code page
  EXPECT_EQ(Vkd({"search", path, "\\"}).out, "1\tback\\slash\n");
}

TEST(Vkd, ShowHelpAndVersion) {
  TempDir dir;
  const std::string path = dir.Path("s.vkd");
  WriteBytes(path, DictBytes(U8(u8"英単語"), {{"cat", U8(u8"ねこ\r\n猫")}, {"", ""}}));
  EXPECT_EQ(Vkd({"show", path}).out,
            Utf8(u8"Name: 英単語\nEntries: 2\n0\tcat\n\tねこ\n\t猫\n1\t\n\t\n"));
  EXPECT_EQ(Vkd({"--version"}).out.rfind("vkd ", 0), 0u);
  for (const char* command : {"show", "check", "export", "import", "search"}) {
    const auto r = Vkd({command, "--help"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.rfind(std::string("usage: vkd ") + command, 0), 0u) << r.out;
  }
  EXPECT_NE(Vkd({"--help"}).out.find("search FILE TEXT"), std::string::npos);
}

}  // namespace
