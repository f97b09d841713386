#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "Archive.h"
#include "BackupFolder.h"
#include "Backups.h"
#include "Bytes.h"
#include "DictFile.h"
#include "DictIo.h"
#include "LargestAllocation.h"
#include "MemFile.h"
#include "ReplaceFile.h"
#include "RewriteJournal.h"
#include "TempDir.h"
#include "TestText.h"
#include "Text.h"
#include "Vkd.h"

namespace {

struct Result {
  int status;
  std::string out;
  std::string err;
};

// Standard input that gives its text and then fails, as a terminal that went away does.
class FailingInput : public std::streambuf {
 public:
  explicit FailingInput(std::string text) : m_text(std::move(text)) {
    setg(m_text.data(), m_text.data(), m_text.data() + m_text.size());
  }

 protected:
  int_type underflow() override {
    errno = EIO;
    throw std::ios_base::failure("read failed");
  }

 private:
  std::string m_text;
};

// Standard input that, once read, has another program make the file at path.
class InputThenTheNameIsTaken : public std::streambuf {
 public:
  InputThenTheNameIsTaken(std::string text, std::string path)
      : m_text(std::move(text)), m_path(std::move(path)) {
    setg(m_text.data(), m_text.data(), m_text.data() + m_text.size());
  }

 protected:
  int_type underflow() override {
    if (!m_path.empty()) WriteBytes(m_path, "theirs");
    m_path.clear();
    return traits_type::eof();
  }

 private:
  std::string m_text, m_path;
};

// Runs vkd with input as standard input; with inputFails, reading fails after the input.
Result Vkd(const std::vector<std::string>& args, const std::string& input = "",
           bool inputFails = false) {
  std::istringstream text(input);
  FailingInput failing(input);
  std::istream in(inputFails ? static_cast<std::streambuf*>(&failing) : text.rdbuf());
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
  return DictBytes(U8(u8"英単語"),
                   {
                       {"cat", U8(u8"ねこ\r\n（動物）")},
                       {U8(u8"ソース"), "back\\slash and \"quotes\", commas"},
                       {"tab\there", "cr\ronly lf\nonly"},
                       {"", ""},
                       {U8(u8"表示"), U8(u8"ソ\\ソ\t")},
                       {"ctl\x01", "{[brace]}/"},
                       {" lead and trail ", "x,y"},
                       {"\x80\xA0", "\xFD\xFE\xFF"},  // mapped by the platform's table
                   });
}

const char* FormatName(int i) {
  return i == 0 ? "tsv" : i == 1 ? "csv" : "json";
}

std::string Times(size_t n, const std::string& text) {
  std::string out;
  for (size_t i = 0; i < n; ++i) out += text;
  return out;
}

TEST(Vkd, ExportImportRoundTripsByteForByte) {
  TempDir dir;
  const std::string original = dir.Path("orig.vkd");
  WriteBytes(original, TrickyBook());
  for (int f = 0; f < 3; ++f) {
    for (const char* encoding : {"utf-8", "cp932"}) {
      SCOPED_TRACE(std::string(FormatName(f)) + " " + encoding);
      // The format comes from the names' extensions here, and from --format below.
      const std::string text = dir.Path(std::string("out-") + encoding + "." + FormatName(f));
      const std::string back = dir.Path(std::string("back-") + encoding + ".vkd");
      ASSERT_EQ(Vkd({"export", original, "--encoding", encoding, "-o", text}).status, 0);
      const auto imported = Vkd({"import", text, "--name", Utf8(u8"英単語"), "-o", back,
                                 "--encoding", encoding, "--keep-line-breaks", "--force"});
      ASSERT_EQ(imported.status, 0) << imported.err;
      EXPECT_EQ(ReadBytes(back), ReadBytes(original));
      // The same through standard input and output.
      const auto exported = Vkd({"export", "-", "--format=" + std::string(FormatName(f)),
                                 "--encoding=" + std::string(encoding), "-o", "-"},
                                ReadBytes(original));
      EXPECT_EQ(exported.out, ReadBytes(text));
      const auto piped = Vkd({"import", "-", "--name", Utf8(u8"英単語"), "-o", "-", "--format",
                              FormatName(f), "--encoding", encoding, "--keep-line-breaks"},
                             exported.out);
      EXPECT_EQ(piped.out, ReadBytes(original)) << piped.err;
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

  // Every book exports: the bytes the platform's table adds as it maps them, and bytes no table
  // maps unchanged in code page 932 and refused in UTF-8, naming where they are.
  // In code page 932 a lead byte without its trail byte before an escape has a form of its own,
  // and one-byte characters that would read as UTF-8 together come back as they were.
  const std::vector<std::pair<CString, CString>> oddEntries = {{"\x80\xA0\xFD", "\xFE\xFF"},
                                                               {"ok", "a\x81\x7F"},
                                                               {"\x81\t", "\x81\r\n\x81\"x"},
                                                               {"\xC2\xB1", "\xC2\xA1\xDF"}};
  WriteBytes(path, DictBytes("\x81\x7F", oddEntries));
  const std::string mapped = "\xC2\x80\xEF\xA3\xB0\xEF\xA3\xB1\t\xEF\xA3\xB2\xEF\xA3\xB3\n";
  struct Odd {
    const char* format;
    const char* encoding;
    int status;
    std::string out;  // written before the refusal: standard output is streamed
    const char* err;
  } odd[] = {
      {"tsv", "cp932", 0,
       "\x80\xA0\xFD\t\xFE\xFF\nok\ta\x81\x7F\n\\x81\\t\t\\x81\\r\\n\x81\"x\n\xC2\xB1\t\xC2\xA1\xDF"
       "\n",
       ""},
      {"json", "cp932", 0,
       "{\"name\": \"\x81\x7F\", \"entries\": [\n"
       "  {\"word\": \"\x80\xA0\xFD\", \"meaning\": \"\xFE\xFF\"},\n"
       "  {\"word\": \"ok\", \"meaning\": \"a\x81\x7F\"},\n"
       "  {\"word\": \"\\udb80\\udc81\\t\", \"meaning\": "
       "\"\\udb80\\udc81\\r\\n\\udb80\\udc81\\\"x\"},\n"
       "  {\"word\": \"\xC2\xB1\", \"meaning\": \"\xC2\xA1\xDF\"}\n"
       "]}\n",
       ""},
      {"csv", "cp932", 0,
       "\x80\xA0\xFD,\xFE\xFF\r\nok,a\x81\x7F\r\n\x81\t,\"\x81\r\n\x81\"\"x\"\r\n\xC2\xB1,"
       "\xC2\xA1\xDF\r\n",
       ""},
      {"tsv", "utf-8", 2, mapped,
       "entry 1: the meaning holds bytes that no code page 932 table maps (81 7F at byte 1); try "
       "--encoding cp932"},
      {"json", "utf-8", 2, "",
       "the name holds bytes that no code page 932 table maps (81 7F at byte 0)"},
  };
  for (const auto& c : odd) {
    SCOPED_TRACE(std::string(c.format) + " " + c.encoding);
    const auto r = Vkd({"export", path, "--format", c.format, "--encoding", c.encoding});
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(r.out, c.out);
    EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
    if (c.status != 0) continue;
    const bool json = std::string(c.format) == "json";
    std::vector<std::string> args = {"import",     "-",        "-o",
                                     "-",          "--format", c.format,
                                     "--encoding", c.encoding, "--keep-line-breaks"};
    if (!json) args.insert(args.end(), {"--name", "n"});
    const auto back = Vkd(args, r.out);
    EXPECT_EQ(back.out, json ? ReadBytes(path) : DictBytes("n", oddEntries)) << back.err;
  }
  EXPECT_EQ(Vkd({"export", path, "-o", dir.Path("x.tsv")}).status, 2);
  EXPECT_EQ(dir.Entries(),
            std::vector<std::string>{"b.vkd"});  // a refused file export leaves nothing
}

TEST(Vkd, ImportRefusesWithTheLineAndWritesNothing) {
  std::string tooMany;
  for (int i = 0; i < 1025; ++i) tooMany += "w" + std::to_string(i) + "\tm\n";
  // Line 1 ends the reader's first 256 KiB block, and the 5 its second.
  const std::string longLines = "{\"entries\": [" + std::string(262130, ' ') + "\n{\"word\": \"" +
                                Times(50000, Utf8(u8"ね")) +
                                "\", \"meaning\":" + std::string(112120, ' ') + "5 }]}";
  struct Case {
    const char* format;
    const char* encoding;
    std::string input;
    const char* message;
    bool inputFails = false;  // reading fails after the input
  } cases[] = {
      // Input that fails midway, after entries were written.
      {"tsv", "utf-8", Times(1000, Times(600, "w") + "\tm\n"),
       "cannot read standard input: Input/output error", true},
      {"json", "utf-8",
       "{\"entries\": [" +
           Times(1000, "{\"word\": \"" + Times(600, "w") + "\", \"meaning\": \"m\"},"),
       "cannot read standard input: Input/output error", true},
      {"tsv", "utf-8", "a\tb\nno tab here\n", "line 2: no tab"},
      {"tsv", "utf-8", "a\tb\tc\n", "line 1: more than one tab"},
      {"tsv", "utf-8", "a\tb\n\nc\td\n", "line 2: empty line"},
      {"tsv", "utf-8", "a\tb\\x\n", "line 1: unknown escape \\x"},
      {"tsv", "cp932", "a\tb\\x4\n", "line 1: \\x must be followed by two hex digits"},
      {"tsv", "utf-8", "a\tb\\", "line 1: backslash at the end of the line"},
      {"tsv", "utf-8", "a\tb\rc\n", "line 1: a carriage return must be written \\r"},
      // An entry refused while reading went on is told before a later fault.
      {"tsv", "utf-8", "ok\tok\n\xF0\x9F\x98\x80\tsmile\nno tab\n",
       "line 2: text that is not UTF-8"},
      {"tsv", "utf-8", "caf\xC3\xA9\tx\n", "line 1: text that is not UTF-8 or that code page"},
      {"tsv", "utf-8", "bad\xFF\tx\n", "line 1: text that is not UTF-8"},
      {"csv", "utf-8", "a,b\r\n\r\nc,d\r\n", "line 2: empty line"},
      {"tsv", "utf-8", tooMany, "line 1025: more than 1024 entries"},
      {"csv", "utf-8", "a,b\n\"open,c\n", "line 2: a quoted field is not closed"},
      {"csv", "utf-8", "a,b\r\n\"x\"y,z\r\n", "line 2: text after the closing quote"},
      {"csv", "utf-8", "a,b\r\nx\"y,z\r\n", "line 2: a quote inside a field"},
      {"csv", "utf-8", "a,b\r\n\"multi\r\nline\",m\r\nonly one\r\n", "line 4: expected 2 fields"},
      {"csv", "utf-8", "a,b,c\r\n", "line 1: more than 2 fields; expected word,meaning"},
      {"csv", "utf-8", "a,\"b\nc\"," + std::string(1 << 20, ','), "line 1: more than 2 fields"},
      {"csv", "utf-8", "a,b\rc,d\r\n", "line 1: a carriage return outside quotes"},
      {"json", "utf-8", "{\"entries\": [\n{\"word\": \"a\"}\n]}",
       "line 2, column 13: entry 0: no \"meaning\""},
      {"json", "utf-8", "{\"entries\": [\n{\"word\": \"a\", \"meaning\": 5}]}",
       "line 2, column 27: entry 0: \"meaning\" must be a string"},
      {"json", "utf-8", "{\"entries\": []} x",
       "line 1, column 17: syntax error while parsing value - invalid literal; expected end of "
       "input"},
      {"json", "utf-8", "[]", "line 1, column 1: expected an object"},
      {"json", "utf-8", "{\"name\": \"\u8f9e\u66f8\", \"entries\": {}}",
       "line 1, column 27: \"entries\" must be an array"},  // columns count characters
      {"json", "utf-8", "{\"name\": \"n\"}", "no \"entries\""},
      {"json", "utf-8", "{\"entries\": [], \"entries\": []}",
       "line 1, column 25: \"entries\" is given twice"},
      {"json", "utf-8", "{\"entries\": [{\"word\": \"a\", \"meaning\": \"m\", \"word\": \"b\"}]}",
       "line 1, column 49: entry 0: \"word\" is given twice"},
      {"json", "utf-8",
       "{\"entries\": [{\"word\": \"\\ud83d\\ude00\", \"meaning\": \"m\"}, {}, x]}",
       "line 1, column 36: entry 0: text that is not UTF-8 or that code page 932 cannot hold"},
      {"json", "utf-8", "{\"entries\": [{\"word\": \"\\ud83d\", \"meaning\": \"m\"}]}",
       "line 1, column 30: syntax error while parsing value - invalid string: surrogate"},
      {"json", "cp932", "{\"entries\": [{\"word\": \"\\u00e9\", \"meaning\": \"m\"}]}",
       "entry 0: a \\u escape that code page 932 cannot hold"},
      {"json", "utf-8", "{\"entries\": [\n\n{\"word\": \"a\nb\", \"meaning\": \"m\"}]}",
       "line 3, column 12: syntax error while parsing value - invalid string: control character"},
      {"json", "utf-8", longLines, "line 2, column 162144: entry 0: \"meaning\" must be a string"},
      // Messages quote nothing long; a number however long is just a number.
      {"json", "utf-8", "{\"name\": " + Times(100000, "1") + "}",
       "line 1, column 100010: \"name\" must be a string"},
      {"json", "utf-8", "{\"x\": " + Times(10001, "[") + Times(10001, "]") + "}",
       "line 1, column 10006: more than 10000 arrays and objects inside one another"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.format) + " " + c.encoding + ": " + c.message);
    TempDir dir;
    const auto r = Vkd({"import", "-", "--name", "n", "-o", dir.Path("out.vkd"), "--format",
                        c.format, "--encoding", c.encoding},
                       c.input, c.inputFails);
    EXPECT_EQ(r.status, vkd::kTrouble);
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err.substr(0, 500);
    EXPECT_LT(r.err.size(), 300u);
    EXPECT_TRUE(dir.Entries().empty());
  }
}

TEST(Vkd, ImportAcceptsWhatOtherToolsWrite) {
  // The lead byte of a katakana SO (83 5C) ends the reader's first 256 KiB block.
  const std::string longSo = Times(140000, "\x83\x5C");
  // Characters of 1 and 3 bytes across the pieces a long text is turned into code page 932 in.
  const std::string longMix = Times(30000, Utf8(u8"aｱねソ"));
  const std::string longMixBytes = Times(30000, "a\xB1\x82\xCB\x83\x5C");
  const std::string longMarked = Times(70000, "\xC2\xB1\x83\x5C\xA0");
  struct Case {
    const char* format;
    std::string input;
    std::vector<std::pair<CString, CString>> entries;
    std::vector<std::string> extra = {};
  } cases[] = {
      {"tsv", "a\tb\r\nc\td", {{"a", "b"}, {"c", "d"}}},  // CR LF lines, no final line end
      {"csv", "a,\"b\"\"c\"\n,\n", {{"a", "b\"c"}, {"", ""}}},
      {"json",
       "{\"extra\": [1, {\"x\": null}], \"entries\": [{\"meaning\": \"\\u306d\\/\", "
       "\"word\": \"w\", \"note\": true}], \"name\": \"ignored\"}",
       {{"w", U8(u8"ね/")}}},
      // Numbers no double holds: the import uses no number's value.
      {"json", "{\"x\": [1e400, -" + Times(100000, "9") + ".5E+0400], \"entries\": []}", {}},
      // A byte-order mark, and blank lines at the end.
      {"tsv",
       "\xEF\xBB\xBF"
       "a\tb\n\n\r\n",
       {{"a", "b"}}},
      {"csv", "\xEF\xBB\xBF\"a\",b\r\n\r\n\n", {{"a", "b"}}},
      {"json", "\xEF\xBB\xBF{\"entries\": []}\n\n", {}},
      // Line breaks in a meaning are stored as CR LF, as the window stores them, unless kept.
      {"tsv", "w\tx\\ny\\r\\nz\\r\n", {{"w", "x\r\ny\r\nz\r\n"}}},
      {"csv", "w,\"x\ny\"\n", {{"w", "x\r\ny"}}},
      {"json", "{\"entries\": [{\"word\": \"w\", \"meaning\": \"x\\ny\"}]}", {{"w", "x\r\ny"}}},
      {"tsv", "w\tx\\ny\\rz\n", {{"w", "x\ny\rz"}}, {"--keep-line-breaks"}},
      {"tsv", "w\t\\nx\\r\\r\\n\\n\\r\n", {{"w", "\r\nx\r\n\r\n\r\n\r\n"}}},
      {"tsv", "w\t" + longMix + "\n", {{"w", CString(longMixBytes)}}},
      {"csv", "w," + longMix + "\n", {{"w", CString(longMixBytes)}}},
      {"json",
       "{\"entries\": [{\"word\": \"w\", \"meaning\": \"" + longMix + "\"}]}",
       {{"w", CString(longMixBytes)}}},
      // The platform's extra characters map back to their bytes; code page 932 input is stored
      // as it is, whatever it holds.
      {"tsv", "\xC2\x80\xEF\xA3\xB3\tm", {{"\x80\xFF", "m"}}},
      {"tsv", "\xA0\x81\x7F\t\x83\x5C\n", {{"\xA0\x81\x7F", "\x83\x5C"}}, {"--encoding", "cp932"}},
      {"json",
       "{\"entries\": [{\"word\": \"\x83\x5C\xFD\", \"meaning\": \"\\u306d\"}]}",
       {{"\x83\x5C\xFD", "\x82\xCB"}},
       {"--encoding", "cp932"}},
      {"json",
       "{\"entries\": [{\"word\": \"w\", \"meaning\": \"" + longSo + "\"}]}",
       {{"w", CString(longSo)}},
       {"--encoding", "cp932"}},
      {"json",
       "{\"entries\": [{\"word\": \"w\", \"meaning\": \"" + longMarked + "\"}]}",
       {{"w", CString(longMarked)}},
       {"--encoding", "cp932"}},
  };
  for (const auto& c : cases) {
    TempDir dir;
    WriteBytes(dir.Path("in"), c.input);
    for (const std::string& in : {std::string("-"), dir.Path("in")}) {
      SCOPED_TRACE(std::string(c.format) + " from " + in + ": " + c.input.substr(0, 80));
      std::vector<std::string> args = {"import",          in,         "--name", "n",      "-o",
                                       dir.Path("o.vkd"), "--format", c.format, "--force"};
      args.insert(args.end(), c.extra.begin(), c.extra.end());
      const auto r = Vkd(args, c.input);
      ASSERT_EQ(r.status, 0) << r.err;
      EXPECT_EQ(ReadBytes(dir.Path("o.vkd")), DictBytes("n", c.entries));
    }
  }
}

TEST(Vkd, ImportNameAndExistingFiles) {
  TempDir dir;
  const std::string out = dir.Path("o.vkd");
  const std::string json = "{\"name\": \"\\u8f9e\\u66f8\", \"entries\": []}";
  WriteBytes(dir.Path("in.JSON"), json);  // JSON by its extension
  const auto first = Vkd({"import", dir.Path("in.JSON"), "-o", out});
  ASSERT_EQ(first.status, 0) << first.err;
  EXPECT_EQ(first.err, "vkd: wrote 0 entries to " + out + "\n");
  EXPECT_EQ(ReadBytes(out), Hex("04 8E AB 8F 91 00 00 00 00"));  // the name came from the JSON
  const auto again = Vkd({"import", "-", "-o", out, "--format", "json", "--name", "x"}, json);
  EXPECT_EQ(again.status, vkd::kTrouble);
  EXPECT_NE(again.err.find("exists; use --force"), std::string::npos);
  ASSERT_EQ(
      Vkd({"import", "-", "-o", out, "--format", "json", "--name", "x", "--force"}, json).status,
      0);
  EXPECT_EQ(ReadBytes(out), Hex("01 78 00 00 00 00"));
  // The version --force replaced is kept as the window keeps the ones its saves replace.
  const std::vector<Backup> kept = ListBackups(backupfolder::Root(), out);
  ASSERT_EQ(kept.size(), 1u);
  EXPECT_EQ(ReadBytes(kept[0].path), Hex("04 8E AB 8F 91 00 00 00 00"));
  // backups lists it, newest first, beside a damaged one kept at 00:00 UTC, in local time.
  WriteBytes(std::filesystem::path(kept[0].path).replace_filename("20260101T000000.000Z.vkd"),
             Hex("05 61"));
  setenv("TZ", "JST-9", 1);
  tzset();
  const auto listed = Vkd({"backups", out});
  unsetenv("TZ");
  tzset();
  EXPECT_EQ(listed.status, 0);
  EXPECT_TRUE(listed.out.starts_with(kept[0].path + "\t")) << listed.out;
  EXPECT_TRUE(listed.out.ends_with(
      " +0900\t0 entries\n" + kept[0].path.substr(0, kept[0].path.rfind('/')) +
      "/20260101T000000.000Z.vkd\t2026-01-01 09:00:00 +0900\tdamaged: the name announces 5 "
      "bytes at offset 0, and the file ends at 2\n"))
      << listed.out;
  // A disk that fills up while the entries are written leaves the old file as it was.
  PendingReplacement::SetWriteLimitForTesting(100);
  const auto full =
      Vkd({"import", "-", "-o", out, "--name", "y", "--force"}, std::string(300, 'w') + "\tm\n");
  PendingReplacement::SetWriteLimitForTesting(std::nullopt);
  EXPECT_EQ(full.status, vkd::kTrouble);
  EXPECT_NE(full.err.find("No space left"), std::string::npos) << full.err;
  EXPECT_EQ(ReadBytes(out), Hex("01 78 00 00 00 00"));
  // So does an input that fails midway.
  EXPECT_EQ(
      Vkd({"import", "-", "-o", out, "--name", "y", "--force"}, Times(9000, "w\tm\n"), true).status,
      vkd::kTrouble);
  EXPECT_EQ(ReadBytes(out), Hex("01 78 00 00 00 00"));
  EXPECT_EQ(Vkd({"import", "-", "-o", dir.Path("p.vkd")}, "a\tb\n").status, vkd::kTrouble);
  EXPECT_EQ(Vkd({"import", "-", "-o", dir.Path("p.vkd"), "--name", "n"}, "a\tb\n").err,
            "vkd: wrote 1 entry to " + dir.Path("p.vkd") + "\n");
  // A name that another import takes while this one reads is not replaced without --force.
  for (const char* name : {"streamed.vkd", "whole.vkd"}) {
    SCOPED_TRACE(name);
    const std::string path = dir.Path(name);
    const bool streamed = name[0] == 's';
    InputThenTheNameIsTaken input(streamed ? "a\tb\n" : "{\"name\":\"n\",\"entries\":[]}", path);
    std::istream in(&input);
    std::ostringstream said, err;
    const std::vector<std::string> args =
        streamed ? std::vector<std::string>{"import", "-", "-o", path, "--name", "n"}
                 : std::vector<std::string>{"import", "-", "-o", path, "--format", "json"};
    EXPECT_EQ(vkd::Run(args, in, said, err), vkd::kTrouble);
    EXPECT_EQ(err.str(), "vkd: " + path + " exists; use --force to replace it\n");
    EXPECT_EQ(ReadBytes(path), "theirs");
    std::remove(path.c_str());
  }
  // Memory that runs out is said as such, and the old file stays (a book whose name only the
  // input gives is held whole before it is written).
  WriteBytes(dir.Path("big.json"), "{\"name\":\"y\",\"entries\":[{\"word\":\"" +
                                       std::string(4 << 20, 'w') + "\",\"meaning\":\"m\"}]}");
  Result starved{};
  {
    AllocationCeiling ceiling(1 << 20);
    starved = Vkd({"import", dir.Path("big.json"), "-o", out, "--force"});
  }
  EXPECT_EQ(starved.status, vkd::kTrouble);
  EXPECT_EQ(starved.err, "vkd: not enough memory\n");
  EXPECT_EQ(ReadBytes(out), Hex("01 78 00 00 00 00"));
  EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"big.json", "in.JSON", "o.vkd", "p.vkd"}));
  // A rewrite in place that was cut short is rolled back by the next command naming the file.
  ASSERT_EQ(rewrite::Begin(backupfolder::Root(), out, false, backupfolder::NowMs()), 0);
  WriteBytes(out, "half");
  EXPECT_EQ(Vkd({"check", out}).err.substr(0, out.size() + 70),
            "vkd: " + out + ": an earlier rewrite was cut short; its old content is back\n");
  EXPECT_EQ(ReadBytes(out), Hex("01 78 00 00 00 00"));
}

// How a damage is put into words, and where the reader finds it, is the reader's own test; here,
// that check prints it as the file's verdict.
TEST(Vkd, CheckSaysWhatIsWrongAndWhere) {
  const std::string sound = Hex("02 61 62 02 00 00 00 01 78 01 79 01 7A 03 61 62 63");
  struct Case {
    const char* what;
    std::string bytes;
    int status;
    std::string line;
  } cases[] = {
      {"sound", sound, 0, "sound, 2 entries"},
      {"one entry", Hex("00 01 00 00 00 00 00"), 0, "sound, 1 entry"},
      {"trailing bytes", sound + "zz", 0,
       "sound, 2 entries; 2 bytes after the last meaning at offset 17 are ignored"},
      {"cut in a meaning", sound.substr(0, 15), 1,
       "the meaning of entry 1 announces 3 bytes at offset 13, and the file ends at 15"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    const std::string path = dir.Path("d.vkd");
    WriteBytes(path, c.bytes);
    for (const std::string& arg : {path, std::string("-")}) {
      const auto r = Vkd({"check", arg}, c.bytes);
      EXPECT_EQ(r.status, c.status);
      EXPECT_EQ(r.out, arg + ": " + c.line + "\n");
    }
  }
}

TEST(Vkd, CommandsOnFilesThatCannotBeRead) {
  TempDir dir;
  const std::string damaged = dir.Path("d.vkd");
  WriteBytes(damaged, Hex("05 61"));
  const std::string text = dir.Path("t.tsv");
  WriteBytes(text, Utf8(u8"cat\tねこ\r\ndog\tいぬ\n"));
  const std::string missing = dir.Path("none.vkd");
  const std::string folder = dir.Path("folder.vkd");
  const std::string fifo = dir.Path("fifo.vkd");
  ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);  // opened, it would wait for a writer forever
  struct Case {
    std::vector<std::string> args;
    int status;
    const char* err;
  } cases[] = {
      {{"check", missing}, vkd::kTrouble, "cannot open"},
      {{"show", missing}, vkd::kTrouble, "cannot open"},
      {{"show", damaged}, vkd::kDamaged, "is damaged: the name announces 5 bytes"},
      {{"export", damaged}, vkd::kDamaged, "is damaged"},
      {{"search", damaged, "a"}, vkd::kDamaged, "is damaged"},
      {{"check"}, vkd::kTrouble, "check takes one FILE"},
      {{"backups", missing}, vkd::kNoVersions, "none.vkd are kept"},
      {{"export", damaged, "--format", "xml"}, vkd::kTrouble, "unknown format xml"},
      {{"export", damaged, "--encoding"}, vkd::kTrouble, "needs a value"},
      {{"show", damaged, "--format", "tsv"}, vkd::kTrouble, "unknown option --format"},
      {{"frobnicate"}, vkd::kTrouble, "unknown command frobnicate\nUsage: vkd COMMAND"},
      {{"imprt"}, vkd::kTrouble, "unknown command imprt\nvkd: did you mean import?\nUsage: vkd"},
      {{"shwo", "x"}, vkd::kTrouble, "did you mean show?"},
      {{"show", text},
       vkd::kTrouble,
       "t.tsv is text, not a dictionary; to make a dictionary of "
       "it: vkd import "},
      {{"show", folder}, vkd::kTrouble, "folder.vkd is a directory"},
      {{"check", fifo}, vkd::kTrouble, "fifo.vkd is not a regular file"},
      {{"import", folder, "--name", "n", "-o", missing}, vkd::kTrouble, "is a directory"},
      {{"import", fifo, "--name", "n", "-o", missing}, vkd::kTrouble, "is not a regular file"},
      {{"import", "-", "--name", "n", "-o", folder}, vkd::kTrouble, "is a directory"},
      {{"export", damaged, "-o", folder}, vkd::kTrouble, "is a directory"},
      {{"export", damaged, "-o", damaged}, vkd::kTrouble, "input and output are the same file"},
      {{"export", damaged, "-o", dir.Path("bad\xFF.vkd")}, vkd::kTrouble, "the byte \\xFF at byte"},
      // − (U+2212) would be stored as the code of － (U+FF0D): another file.
      {{"import", "-", "--name", "n", "-o", dir.Path("x\u2212y.vkd")},
       vkd::kTrouble,
       "the character \u2212 at byte"},
      {{"check", dir.Path("a\u301cb.vkd")}, vkd::kTrouble, "the character \u301c at byte"},
      {{}, vkd::kTrouble, "Usage: vkd"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args.empty() ? "" : c.args[0]);
    const auto r = Vkd(c.args);
    EXPECT_EQ(r.status, c.status);
    EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
    // A mistake says what it is in a few lines, and a refused file prints none of itself.
    EXPECT_LE(std::count(r.err.begin(), r.err.end(), '\n'), c.args.empty() ? 120 : 3) << r.err;
    if (c.status == vkd::kTrouble) {
      EXPECT_EQ(r.out, "");
    }
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
                                   {"Cat", "animal"}}));
  struct Case {
    std::string text;
    std::vector<int> expected;
    std::vector<std::string> flags = {};
  } cases[] = {
      {"\\", {1}},          // never the trail byte of SO or of HYOU (95 5C)
      {Utf8(u8"ソ"), {0}},  // and SO never matches the plain backslash
      {"@", {4}},           // nor "@" the second half of the full-width space
      {Utf8(u8"　"), {3}},
      {"cat", {}},  // case-sensitive
      {"a", {1, 4, 5}},
      {"", {0, 1, 2, 3, 4, 5}},
      // The matcher's own options; how it folds is its own test's.
      {"cat", {5}, {"--fold"}},
      {Utf8(u8"そ"), {0}, {"--fold"}},
      {"animal", {}},
      {"animal", {5}, {"--meanings"}},
      {"ANIMAL", {}, {"--meanings"}},
      {"ANIMAL", {5}, {"--fold", "--meanings"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    std::vector<std::string> args = {"search", path, c.text};
    args.insert(args.end(), c.flags.begin(), c.flags.end());
    const auto r = Vkd(args);
    std::vector<int> found;
    std::istringstream lines(r.out);
    std::string line;
    while (std::getline(lines, line)) found.push_back(std::stoi(line));
    EXPECT_EQ(found, c.expected);
    EXPECT_EQ(r.status, c.expected.empty() ? vkd::kNoMatch : 0);
  }
  EXPECT_EQ(Vkd({"search", path, "zzz"}).status, vkd::kNoMatch);
  EXPECT_EQ(Vkd({"search", path, "\xF0\x9F\x98\x80"}).status,
            vkd::kTrouble);  // not in the code page
  EXPECT_EQ(Vkd({"search", path, "\\"}).out, "1\tback\\slash\n");
}

TEST(Vkd, ShowHelpAndVersion) {
  TempDir dir;
  const std::string path = dir.Path("s.vkd");
  WriteBytes(path, DictBytes(U8(u8"英単語"), {{"cat", U8(u8"ねこ\r\n猫")}, {"", ""}}));
  for (const std::string& arg : {path, std::string("-")}) {
    EXPECT_EQ(Vkd({"show", arg}, ReadBytes(path)).out,
              Utf8(u8"Name: 英単語\nEntries: 2\n0\tcat\n\tねこ\n\t猫\n1\t\n\t\n"));
  }
  EXPECT_EQ(Vkd({"search", "-", "c"}, ReadBytes(path)).out, "0\tcat\n");
  EXPECT_EQ(Vkd({"--version"}).out.rfind("vkd ", 0), 0u);
  EXPECT_EQ(Vkd({"-V"}).out, Vkd({"--version"}).out);
  for (const char* command : {"show", "check", "export", "import", "search", "backups"}) {
    const auto r = Vkd({command, "--help"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.rfind(std::string("Usage: vkd ") + command, 0), 0u) << r.out;
  }
  EXPECT_NE(Vkd({"--help"}).out.find("search FILE TEXT"), std::string::npos);
  EXPECT_NE(Vkd({"import", "--help"}).out.find("[--force] [--keep-line-breaks]"),
            std::string::npos);
}

// Runs command with sh in dir, with $VKD the program and an English locale unless the command
// sets another.
Result Shell(const TempDir& dir, const std::string& command) {
  TempDir errors;
  const std::string script =
      "unset LC_ALL LC_MESSAGES LANGUAGE; export LANG=C; VKD='" VKD_BINARY "'; cd '" +
      dir.path().string() + "' && { " + command + "; } 2>'" + errors.Path("err") + "'";
  FILE* pipe = popen(script.c_str(), "r");
  std::string out;
  char buffer[4096];
  while (size_t n = fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, n);
  const int status = pclose(pipe);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out, ReadBytes(errors.Path("err"))};
}

// What only the program as a process shows: its real standard output, descriptors named as
// paths, and its language.
TEST(Vkd, AsAProcess) {
  TempDir dir;
  WriteBytes(dir.Path("d.vkd"), DictBytes("n", {{"a", "b"}}));
  struct Case {
    const char* command;
    int status;
    std::string out;  // all of standard output
    std::string err;  // a part of standard error
  } cases[] = {
      // Output that does not arrive is a failure.
      {"$VKD --help >/dev/full", 2, "", "vkd: cannot write to standard output"},
      {"$VKD show d.vkd >/dev/full", 2, "", "cannot write to standard output"},
      {"$VKD check d.vkd >/dev/full", 2, "", "cannot write to standard output"},
      {"$VKD search d.vkd a >/dev/full", 2, "", "cannot write to standard output"},
      {"$VKD export d.vkd >/dev/full", 2, "", "cannot write to standard output"},
      {"$VKD export d.vkd -o /dev/full", 2, "", "cannot write to /dev/full"},
      {"$VKD export d.vkd -o - 2>&1 >/dev/full | wc -l", 0, "1\n", ""},  // said once
      // An output that is not a regular file is written to as it is, never replaced.
      {"echo old >log.txt && $VKD export d.vkd -o /dev/stdout >>log.txt && cat log.txt", 0,
       "old\na\tb\n", ""},
      {"$VKD export d.vkd -o /dev/stderr 2>&1 >/dev/null | cat", 0, "a\tb\n", ""},
      {"cat d.vkd | $VKD export - -o - | $VKD import - --name n -o - | $VKD check -", 0,
       "-: sound, 1 entry\n", "vkd: wrote 1 entry to standard output"},
      // Japanese when the locale asks for it, also one this system may lack; English otherwise.
      {"LANG=C.UTF-8 LANGUAGE=ja $VKD show none.vkd", 2, "", Utf8(u8"none.vkd を開けません")},
      {"LANG=ja_JP.UTF-8 $VKD check d.vkd", 0, Utf8(u8"d.vkd: 正常、登録数 1\n"), ""},
      {"LANG=ja_JP.UTF-8 $VKD --help | head -n 1", 0, Utf8(u8"使い方: vkd COMMAND [OPTIONS]\n"),
       ""},
      {"LC_ALL=C LANGUAGE=ja $VKD show none.vkd", 2, "", "vkd: cannot open none.vkd"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.command);
    const auto r = Shell(dir, c.command);
    EXPECT_EQ(r.status, c.status) << r.err;
    EXPECT_EQ(r.out, c.out);
    EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
  }
  EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"d.vkd", "log.txt"}));
}

}  // namespace

namespace {

using Entries = std::vector<std::pair<CString, CString>>;

// "a=1 b=2" as entries.
Entries Parse(const std::string& text) {
  Entries entries;
  std::istringstream in(text);
  for (std::string t; in >> t;) {
    const size_t eq = t.find('=');
    entries.push_back({CString(t.substr(0, eq)), CString(t.substr(eq + 1))});
  }
  return entries;
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  for (size_t at; (at = text.find(from)) != std::string::npos;) text.replace(at, from.size(), to);
  return text;
}

// The most memory the program as a process held while it ran these arguments, in bytes; at
// least what this process holds when it starts it.
long PeakOfRun(const std::vector<std::string>& args) {
  std::vector<char*> argv = {const_cast<char*>(VKD_BINARY)};
  for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  const pid_t pid = fork();
  if (pid == 0) {
    freopen("/dev/null", "w", stderr);
    execv(VKD_BINARY, argv.data());
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  return usage.ru_maxrss * 1024;
}

// An import holds about the text it writes, whatever the input spends to say it: never a field
// in the size it was read in, nor a value it does not use.
TEST(Vkd, ImportHoldsAboutWhatItWrites) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the sanitizers' own memory";
#endif
  const std::string kana = "\xEF\xBD\xB1";  // half-width katakana, 3 bytes for 1
  const std::string entry = "{\"entries\": [{\"word\": \"w\", \"meaning\": \"";
  struct Case {
    const char* format;
    std::string head, unit, tail;  // the input: head, unit many times, tail
    std::vector<std::string> extra = {};
    bool inPlace = false;  // the output is rewritten in place, which holds it whole meanwhile
  } cases[] = {
      {"json", entry, kana, "\"}]}"},
      {"json", entry, kana, "\"}]}", {"--force"}, true},
      {"json", "{\"x\": \"", "aaaa", "\", \"entries\": []}"},
      {"json", entry, "\\udb80\\udc81", "\"}]}", {"--encoding", "cp932"}},
      {"json", entry, "\xC2\xB1", "\"}]}", {"--encoding", "cp932"}},
      {"tsv", "w\t", "\\\\\\n", "\n"},
      {"csv", "w,\"", kana, "\"\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.format) + ": " + c.head + c.unit);
    TempDir dir;
    {  // written a piece at a time, so that this process stays small
      std::ofstream in(dir.Path("in"), std::ios::binary);
      const std::string piece = Times(4096, c.unit);
      in << c.head;
      for (int i = 0; i < 1024; ++i) in << piece;
      in << c.tail;
    }
    std::vector<std::string> args = {"import",   dir.Path("in"), "--name", "n",
                                     "--format", c.format,       "-o",     dir.Path("o.vkd")};
    args.insert(args.end(), c.extra.begin(), c.extra.end());
    if (c.inPlace) {
      WriteBytes(dir.Path("o.vkd"), DictBytes("n", {}));
      std::filesystem::permissions(dir.path(), std::filesystem::perms(0555));
    }
    const long peak = PeakOfRun(args);
    std::filesystem::permissions(dir.path(), std::filesystem::perms(0755));
    const auto written = static_cast<long>(std::filesystem::file_size(dir.Path("o.vkd")));
    EXPECT_LT(peak, written * 3 / 2 + (8 << 20)) << "written " << written;
  }
}

}  // namespace

TEST(Vkd, DiffShowsTheEntriesThatDiffer) {
  const struct {
    const char* what;
    const char *nameB, *a, *b;
    std::vector<std::string> options;
    int status;
    std::string out;
  } cases[] = {
      {"same", "n", "a=1 b=2", "a=1 b=2", {}, 0, ""},
      {"changed, one line of context",
       "n",
       "a=1 b=2 c=3 d=4",
       "a=1 b=9 c=3 d=4",
       {"-U", "1"},
       1,
       "--- A\n+++ B\n@@ -0,3 +0,3 @@\n a\t1\n-b\t2\n+b\t9\n c\t3\n"},
      {"added and removed apart, no context",
       "n",
       "a=1 b=2 c=3 d=4 e=5",
       "b=2 c=3 d=4 e=5 f=6",
       {"-U", "0"},
       1,
       "--- A\n+++ B\n@@ -0,1 +0,0 @@\n-a\t1\n@@ -5,0 +4,1 @@\n+f\t6\n"},
      {"repeated words",
       "n",
       "a=1 a=2 a=1",
       "a=1 a=1",
       {},
       1,
       "--- A\n+++ B\n@@ -0,3 +0,2 @@\n a\t1\n-a\t2\n a\t1\n"},
      {"the name", "m\tx", "a=1", "a=1", {}, 1, "--- A\n+++ B\n@@ name @@\n-n\n+m\\tx\n"},
      {"stat", "m", "a=1 b=2", "b=3", {"--stat"}, 1, "1 added, 2 removed, name changed\n"},
  };
  for (const auto& c : cases) {
    TempDir dir;
    const std::string a = dir.Path("a.vkd"), b = dir.Path("b.vkd");
    WriteBytes(a, DictBytes("n", Parse(c.a)));
    WriteBytes(b, DictBytes(c.nameB, Parse(c.b)));
    std::vector<std::string> args{"diff"};
    args.insert(args.end(), c.options.begin(), c.options.end());
    args.insert(args.end(), {a, b});
    const Result r = Vkd(args);
    EXPECT_EQ(r.status, c.status) << c.what << r.err;
    EXPECT_EQ(Replaced(Replaced(r.out, a, "A"), b, "B"), c.out) << c.what;
  }
  EXPECT_EQ(Vkd({"diff", "-U", "x", "a", "b"}).status, 2);
}

TEST(Vkd, MergeKeepsBothSidesOfAConflictAndWritesOnlyAWholeResult) {
  const struct {
    const char* what;
    const char *base, *ours, *theirs;
    const char* theirName;
    bool overOurs;  // -o names OURS
    int status;
    const char* result;  // nullptr: nothing written
    const char* err;
  } cases[] = {
      {"one side", "a=1 b=2", "a=1 b=2", "a=1 b=9", "n", false, 0, "a=1 b=9", ""},
      {"both added, over ours", "a=1", "a=1 x=1", "a=1 y=1", "t", true, 0, "a=1 x=1 y=1", ""},
      {"conflict", "a=1 b=2 c=3", "a=1 b=8 c=3", "a=1 b=9 c=3", "n", true, 1, "a=1 b=8 b=9 c=3",
       "vkd: 1 conflict; both sides' entries kept\n"},
  };
  for (const auto& c : cases) {
    TempDir dir;
    const std::string base = dir.Path("base.vkd"), ours = dir.Path("ours.vkd"),
                      theirs = dir.Path("theirs.vkd"), out = dir.Path("out.vkd");
    WriteBytes(base, DictBytes("n", Parse(c.base)));
    WriteBytes(ours, DictBytes("n", Parse(c.ours)));
    WriteBytes(theirs, DictBytes(c.theirName, Parse(c.theirs)));
    const std::string target = c.overOurs ? ours : out;
    const Result r = Vkd({"merge", base, ours, theirs, "-o", target});
    EXPECT_EQ(r.status, c.status) << c.what << r.err;
    EXPECT_EQ(r.err, c.err) << c.what;
    EXPECT_EQ(ReadBytes(target), DictBytes(c.theirName, Parse(c.result))) << c.what;
  }
  // More than 1024 entries, or a damaged input: nothing is written, not even over OURS.
  TempDir dir;
  const std::string base = dir.Path("base.vkd"), ours = dir.Path("ours.vkd"),
                    theirs = dir.Path("theirs.vkd");
  Entries many;
  for (int i = 0; i < 1000; ++i) many.push_back({CString("w" + std::to_string(i)), ""});
  WriteBytes(base, DictBytes("n", {}));
  WriteBytes(ours, DictBytes("n", many));
  for (auto& e : many) e.second = "t";
  WriteBytes(theirs, DictBytes("n", many));
  const std::string before = ReadBytes(ours);
  const Result big = Vkd({"merge", base, ours, theirs, "-o", ours});
  EXPECT_EQ(big.status, 2);
  EXPECT_NE(big.err.find("2000 entries, more than 1024"), std::string::npos) << big.err;
  WriteBytes(theirs, Hex("05 61"));
  EXPECT_EQ(Vkd({"merge", base, ours, theirs, "-o", ours}).status, 2);
  EXPECT_EQ(ReadBytes(ours), before);
}
