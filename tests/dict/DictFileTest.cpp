#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <memory>
#include <new>
#include <stdexcept>
#include <vector>

#include "Bytes.h"
#include "DictFile.h"
#include "DictIo.h"
#include "File.h"
#include "LargestAllocation.h"
#include "MemFile.h"
#include "TempDir.h"

namespace {

std::string WriteToBytes(const CDictData& book) {
  CMemFile file;
  CArchive ar(&file, CArchive::store);
  WriteDictionary(ar, book);
  ar.Close();
  return file.Bytes();
}

bool ReadFromBytes(const std::string& bytes, CDictData& book, DictReadError* error = nullptr) {
  CMemFile file(bytes);
  CArchive ar(&file, CArchive::load);
  const bool ok = ReadDictionary(ar, book, error);
  ar.Close();
  return ok;
}

std::unique_ptr<CDictData> Book(const CString& name,
                                const std::vector<std::pair<CString, CString>>& entries) {
  auto book = std::make_unique<CDictData>();
  book->m_strName = name;
  for (const auto& [word, meaning] : entries) {
    book->m_strWord[book->m_nCount] = word;
    book->m_strMeaning[book->m_nCount] = meaning;
    ++book->m_nCount;
  }
  return book;
}

void ExpectSameBook(const CDictData& a, const CDictData& b) {
  EXPECT_EQ(a.m_strName, b.m_strName);
  ASSERT_EQ(a.m_nCount, b.m_nCount);
  for (int i = 0; i < a.m_nCount; ++i) {
    EXPECT_EQ(a.m_strWord[i], b.m_strWord[i]) << i;
    EXPECT_EQ(a.m_strMeaning[i], b.m_strMeaning[i]) << i;
  }
}

TEST(DictFile, CompleteFilesByteForByte) {
  struct Case {
    const char* what;
    std::unique_ptr<CDictData> book;
    std::string bytes;
  } cases[] = {
      {"ab with x = y", Book("ab", {{"x", "y"}}), Hex("02 61 62 01 00 00 00 01 78 01 79")},
      {"new dictionary named jisho", Book(U8(u8"辞書"), {}), Hex("04 8E AB 8F 91 00 00 00 00")},
      {"empty name, no entries", Book("", {}), Hex("00 00 00 00 00")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(WriteToBytes(*c.book), c.bytes);
    auto read = std::make_unique<CDictData>();
    ASSERT_TRUE(ReadFromBytes(c.bytes, *read));
    ExpectSameBook(*read, *c.book);
  }
}

TEST(DictFile, RoundTrips) {
  auto filled = [](size_t n) {
    std::string s(n, '\0');
    for (size_t i = 0; i < n; ++i) s[i] = static_cast<char>(' ' + i % 90);
    return CString(s);
  };
  struct Case {
    const char* what;
    std::unique_ptr<CDictData> book;
  } cases[] = {
      {"CR LF in a meaning", Book("n", {{"w", "line one\r\nline two\r\n"}})},
      {"254 and 255 bytes", Book(filled(254), {{filled(255), filled(254)}})},
      {"65533 and 65534 bytes", Book("n", {{filled(65533), filled(65534)}})},
      {"70000 bytes", Book("n", {{"w", filled(70000)}, {filled(70000), "m"}})},
      {"code page 932 text",
       Book(U8(u8"英単語"), {{U8(u8"ソース"), U8(u8"源\r\n（みなもと）")}, {"cat", U8(u8"ねこ")}})},
      {"empty strings everywhere", Book("", {{"", ""}, {"", "m"}, {"w", ""}})},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    auto read = std::make_unique<CDictData>();
    ASSERT_TRUE(ReadFromBytes(WriteToBytes(*c.book), *read));
    ExpectSameBook(*read, *c.book);
  }
}

TEST(DictFile, FullBookThroughRealFilesAsTheMainWindowDoes) {
  TempDir dir;
  const CString path(dir.Path("book.vkd").c_str());
  auto saved = std::make_unique<CDictData>();
  saved->m_strName = U8(u8"英単語");
  saved->m_nCount = CDictData::MAX_WORDS;
  for (int i = 0; i < CDictData::MAX_WORDS; ++i) {
    saved->m_strWord[i] = CString("word" + std::to_string(i));
    saved->m_strMeaning[i] = CString(std::string(static_cast<size_t>(i * 7), 'm'));
  }
  CFile file;
  ASSERT_TRUE(WriteDictionaryFile(file, path, *saved).ok());
  auto book = std::make_unique<CDictData>();
  const DictIoResult r = ReadDictionaryFile(file, path, *book, CFile::modeReadWrite);
  ASSERT_TRUE(r.ok()) << r.damage.Describe();
  ExpectSameBook(*book, *saved);
  EXPECT_TRUE(book->m_strPath.IsEmpty());  // neither the path nor the current index is stored
}

TEST(DictFile, OnlyLiveEntriesAreWrittenAndTrailingBytesAreIgnored) {
  auto book = Book("ab", {{"x", "y"}, {"left", "behind"}});
  book->m_nCount = 1;  // as after deleting the second entry
  const std::string bytes = WriteToBytes(*book);
  EXPECT_EQ(bytes, Hex("02 61 62 01 00 00 00 01 78 01 79"));
  for (const std::string& tail : {Hex("00"), std::string("junk"), Hex("FF FF FF FF FF FF FF")}) {
    auto read = std::make_unique<CDictData>();
    ASSERT_TRUE(ReadFromBytes(bytes + tail, *read));
    ExpectSameBook(*read, *Book("ab", {{"x", "y"}}));
  }
}

TEST(DictFile, EveryTruncationIsAnEndOfFileInTheRightField) {
  // Field starts of this file: name 0, count 3, word 0 at 7, meaning 0 at 9, word 1 at 12,
  // meaning 1 at 15 (a 3-byte prefix and 300 bytes).
  const std::string whole =
      Hex("02 61 62 02 00 00 00 01 78 02 79 7A 02 77 31 FF 2C 01") + std::string(300, 'm');
  struct Field {
    size_t start;
    const char* name;
    int entry;
  } fields[] = {{0, "name", -1},   {3, "count", -1}, {7, "word", 0},
                {9, "meaning", 0}, {12, "word", 1},  {15, "meaning", 1}};
  for (size_t cut = 0; cut < whole.size(); ++cut) {
    SCOPED_TRACE(cut);
    const Field* field = &fields[0];
    for (const auto& f : fields) {
      if (f.start <= cut) field = &f;
    }
    auto book = std::make_unique<CDictData>();
    DictReadError err;
    ASSERT_FALSE(ReadFromBytes(whole.substr(0, cut), *book, &err));
    EXPECT_EQ(err.kind, DictReadError::EndOfFile);
    EXPECT_EQ(err.field, field->name);
    EXPECT_EQ(err.entry, field->entry);
    EXPECT_EQ(err.offset, field->start);
    EXPECT_EQ(err.fileSize, cut);
    // Scanning without keeping the text gives the same verdict.
    CMemFile file(whole.substr(0, cut));
    CArchive ar(&file, CArchive::load);
    DictReadError scanned;
    DictEntryCounter counter;
    EXPECT_FALSE(ReadDictionaryEntries(ar, counter, &scanned));
    EXPECT_EQ(scanned.Describe(), err.Describe());
  }
  auto book = std::make_unique<CDictData>();
  EXPECT_TRUE(ReadFromBytes(whole, *book));
}

TEST(DictFile, CountsOutsideTheBookAreRefused) {
  struct Case {
    std::uint32_t raw;
    bool accepted;
  } cases[] = {{0, true},           {1024, true},        {1025, false},
               {0xFFFFFFFF, false}, {0x80000000, false}, {0x7FFFFFFF, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.raw);
    std::string bytes = Hex("01 6E") + Le32(c.raw);
    if (c.accepted) {
      for (std::uint32_t i = 0; i < c.raw; ++i) bytes += Hex("01 77 01 6D");
    }
    auto book = std::make_unique<CDictData>();
    DictReadError err;
    EXPECT_EQ(ReadFromBytes(bytes, *book, &err), c.accepted);
    CMemFile file(bytes);
    CArchive ar(&file, CArchive::load);
    DictEntryCounter counter;
    EXPECT_EQ(ReadDictionaryEntries(ar, counter, nullptr), c.accepted);
    if (c.accepted) {
      EXPECT_EQ(counter.Count(), static_cast<int>(c.raw));
    }
    if (!c.accepted) {
      EXPECT_EQ(err.kind, DictReadError::BadCount);
      EXPECT_EQ(err.field, "count");
      EXPECT_EQ(err.offset, 2u);
      EXPECT_EQ(err.announced, c.raw);
    } else {
      EXPECT_EQ(book->m_nCount, static_cast<int>(c.raw));
    }
  }
}

// Checking a file keeps none of its text: a long name, plain or UTF-16, costs no more memory than
// the archive's buffer.
TEST(DictFile, ScanningHoldsOnlyTheArchiveBuffer) {
  const std::uint32_t size = 1u << 20;
  std::string utf16 = Hex("FF FE FF FF FF FF") + Le32(size / 2);
  for (std::uint32_t i = 0; i < size / 2; ++i) utf16 += "\x6D\x30";  // U+306D
  const std::string files[] = {Hex("FF FF FF") + Le32(size) + std::string(size, 'n') + Le32(0),
                               utf16 + Le32(0)};
  for (const std::string& bytes : files) {
    CMemFile file(bytes);
    CArchive ar(&file, CArchive::load);
    DictEntryCounter counter;
    LargestAllocation watch;
    EXPECT_TRUE(ReadDictionaryEntries(ar, counter, nullptr));
    EXPECT_EQ(counter.Count(), 0);
    EXPECT_LT(watch.Largest(), 64u << 10);
  }
}

TEST(DictFile, Utf16StringsInAFile) {
  // The word of entry 0 in the UTF-16 form: U+306D U+3053 (neko).
  const std::string good = Hex("01 6E 01 00 00 00 FF FE FF 02 6D 30 53 30 01 6D");
  auto book = std::make_unique<CDictData>();
  ASSERT_TRUE(ReadFromBytes(good, *book));
  EXPECT_EQ(book->m_strWord[0], U8(u8"ねこ"));
  // And a meaning the code page cannot hold: an emoji as a surrogate pair.
  const std::string bad = Hex("01 6E 01 00 00 00 01 77 FF FE FF 02 3D D8 00 DE");
  DictReadError err;
  ASSERT_FALSE(ReadFromBytes(bad, *book, &err));
  EXPECT_EQ(err.kind, DictReadError::BadText);
  EXPECT_EQ(err.field, "meaning");
  EXPECT_EQ(err.entry, 0);
  EXPECT_EQ(err.offset, 8u);
}

TEST(DictFile, DescriptionsSayWhatAndWhere) {
  struct Case {
    std::string bytes;
    const char* text;
  } cases[] = {
      {Hex(""), "the name at offset 0 has an incomplete length, and the file ends at 0"},
      {Hex("05 61"), "the name announces 5 bytes at offset 0, and the file ends at 2"},
      {Hex("00 01 00"), "the count at offset 1 needs 4 bytes, and the file ends at 3"},
      {Hex("00 01 04 00 00"), "the count at offset 1 is 1025, outside 0 to 1024"},
      {Hex("00 FF FF FF FF"), "the count at offset 1 is -1, outside 0 to 1024"},
      {Hex("00 04 00 00 00 01 61 01 62 01 63 01 64 01 65 01 66 FF 28"),
       "the word of entry 3 at offset 17 has an incomplete length, and the file ends at 19"},
      {Hex("00 04 00 00 00 01 61 01 62 01 63 01 64 01 65 01 66 28 00"),
       "the word of entry 3 announces 40 bytes at offset 17, and the file ends at 19"},
      {Hex("00 01 00 00 00 00 FF FE FF 01 3D D8"),
       "the meaning of entry 0 at offset 6 holds UTF-16 text that code page 932 cannot hold"},
  };
  for (const auto& c : cases) {
    auto book = std::make_unique<CDictData>();
    DictReadError err;
    ASSERT_FALSE(ReadFromBytes(c.bytes, *book, &err));
    EXPECT_EQ(err.Describe(), c.text);
  }
}

// Each way a whole-file read or write fails comes back as its kind; a programming error is
// not mistaken for a damaged file.
TEST(DictFile, FileFailuresComeBackByKind) {
  struct Throws : CMemFile {
    std::function<void()> fail;
    UINT Read(void*, UINT) override {
      fail();
      return 0;
    }
  };
  struct Case {
    const char* name;
    std::function<void()> fail;
    DictIoResult::Kind kind;
    const char* damage;
  } cases[] = {
      {"lost medium", [] { throw CFileException("medium gone", 5); }, DictIoResult::Damaged,
       "reading the name at offset 0 failed: medium gone"},
      {"no memory", [] { throw std::bad_alloc(); }, DictIoResult::OutOfMemory, ""},
  };
  for (const auto& c : cases) {
    Throws file;
    file.fail = c.fail;
    auto book = std::make_unique<CDictData>();
    const DictIoResult r = ReadOpenDictionary(file, *book);
    EXPECT_EQ(r.kind, c.kind) << c.name;
    if (r.kind == DictIoResult::Damaged) {
      EXPECT_EQ(r.damage.Describe(), c.damage) << c.name;
    }
  }
  Throws bug;
  bug.fail = [] { throw std::logic_error("bug"); };
  auto book = std::make_unique<CDictData>();
  EXPECT_THROW(ReadOpenDictionary(bug, *book), std::logic_error);

  TempDir dir;
  CFile file;
  EXPECT_EQ(ReadDictionaryFile(file, CString(dir.Path("none.vkd").c_str()), *book).osError, ENOENT);
  WriteBytes(dir.Path("cut.vkd"), Hex("02 61 62 01 00 00 00 01 78 05"));
  const DictIoResult cut = ReadDictionaryFile(file, CString(dir.Path("cut.vkd").c_str()), *book);
  EXPECT_EQ(cut.kind, DictIoResult::Damaged);
  EXPECT_EQ(cut.damage.field, "meaning");  // the damage comes with it
  EXPECT_FALSE(file.IsOpen());
  CMemFile full;
  full.SetWriteLimit(3);
  const DictIoResult write = WriteOpenDictionary(full, *Book("ab", {{"x", "y"}}));
  EXPECT_EQ(write.kind, DictIoResult::CannotWrite);
  EXPECT_EQ(write.osError, ENOSPC);
  EXPECT_EQ(WriteDictionaryFile(file, CString(dir.Path("no/x.vkd").c_str()), *book).kind,
            DictIoResult::CannotOpen);
}

}  // namespace
