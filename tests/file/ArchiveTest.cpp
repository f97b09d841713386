#include <gtest/gtest.h>
#include <sys/mman.h>

#include <string>

#include "Archive.h"
#include "Bytes.h"
#include "LargestAllocation.h"
#include "MemFile.h"

namespace {

std::string Store(const CString& text, int bufSize = 4096) {
  CMemFile file;
  CArchive ar(&file, CArchive::store, bufSize);
  ar << text;
  ar.Close();
  return file.Bytes();
}

CString Load(const std::string& bytes, int bufSize = 4096) {
  CMemFile file(bytes);
  CArchive ar(&file, CArchive::load, bufSize);
  CString text;
  ar >> text;
  return text;
}

// Catches the archive's exception from loading one string, or fails the test.
CArchiveException LoadFailure(const std::string& bytes) {
  try {
    Load(bytes);
  } catch (const CArchiveException& e) {
    return e;
  }
  ADD_FAILURE() << "no exception";
  return CArchiveException(CArchiveException::generic, 0, false, 0, 0);
}

TEST(Archive, PrefixForEveryLengthForm) {
  struct Case {
    size_t length;
    const char* prefix;
  } cases[] = {
      {0, "00"},
      {1, "01"},
      {254, "FE"},
      {255, "FF FF 00"},
      {256, "FF 00 01"},
      {300, "FF 2C 01"},
      {65533, "FF FD FF"},
      {65534, "FF FF FF FE FF 00 00"},
      {65535, "FF FF FF FF FF 00 00"},
      {70000, "FF FF FF 70 11 01 00"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.length);
    std::string body(c.length, '\0');
    for (size_t i = 0; i < body.size(); ++i) body[i] = static_cast<char>('a' + i % 26);
    const std::string bytes = Store(CString(body));
    EXPECT_EQ(bytes, Hex(c.prefix) + body);
    // Back through the default buffer and through a tiny one, which makes every field cross
    // buffer boundaries.
    EXPECT_EQ(Load(bytes).Bytes(), body);
    EXPECT_EQ(Load(bytes, 16).Bytes(), body);
  }
}

TEST(Archive, ReadsLongerPrefixFormsThanNeeded) {
  struct Case {
    const char* what;
    std::string bytes;
    std::string expected;
  } cases[] = {
      {"3-byte form for 5 bytes", Hex("FF 05 00") + "hello", "hello"},
      {"7-byte form for 2 bytes", Hex("FF FF FF 02 00 00 00") + "hi", "hi"},
      {"3-byte form for nothing", Hex("FF 00 00"), ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Load(c.bytes).Bytes(), c.expected);
  }
}

std::string Utf16(const std::u16string& units) {
  std::string out;
  for (char16_t u : units) out += Le16(static_cast<std::uint16_t>(u));
  return out;
}

TEST(Archive, Utf16StringsBecomeCodePage932) {
  struct Case {
    const char* what;
    std::string bytes;
    std::string expected;
  } cases[] = {
      {"ascii", Hex("FF FE FF 02") + Utf16(u"ab"), "ab"},
      {"japanese", Hex("FF FE FF 02") + Utf16(u"\u306d\u3053"), U8(u8"ねこ").Bytes()},
      {"empty", Hex("FF FE FF 00"), ""},
      {"count with a 3-byte prefix", Hex("FF FE FF FF 2C 01") + Utf16(std::u16string(300, u'x')),
       std::string(300, 'x')},
      {"0xFFFE inside the count is a length",
       Hex("FF FE FF FF FE FF") + Utf16(std::u16string(0xFFFE, u'y')), std::string(0xFFFE, 'y')},
      {"count with a 7-byte prefix", Hex("FF FE FF FF FF FF 03 00 00 00") + Utf16(u"xyz"), "xyz"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Load(c.bytes).Bytes(), c.expected);
  }
}

TEST(Archive, Utf16TextWithoutCodePage932FormIsBadText) {
  const std::string cases[] = {
      Hex("FF FE FF 02") + Utf16(u"\U0001F600"),  // emoji
      Hex("FF FE FF 01") + Utf16(u"\xD800"),      // lone surrogate
      Hex("FF FE FF 01") + Utf16(u"\u00E9"),      // e-acute: not in the code page
  };
  for (const auto& bytes : cases) {
    const auto e = LoadFailure(bytes);
    EXPECT_EQ(e.m_cause, CArchiveException::badText);
    EXPECT_EQ(e.m_offset, 0u);
  }
}

TEST(Archive, EveryTruncationIsEndOfFileWithItsPlace) {
  // A leading one-byte string puts the truncated one at offset 2, to check offsets are kept.
  const std::string lead = Hex("01 41");
  struct Case {
    std::string bytes;
    size_t prefixSize;  // after this many bytes the announced length is known
    std::uint64_t announced;
  } cases[] = {
      {Hex("03") + "abc", 1, 3},
      {Hex("FF 2C 01") + std::string(300, 'p'), 3, 300},
      {Hex("FF FF FF 70 11 01 00") + std::string(70000, 'q'), 7, 70000},
      {Hex("FF FE FF 02") + Utf16(u"ab"), 4, 4},
      {Hex("FF FE FF FF 2C 01") + Utf16(std::u16string(300, u'r')), 6, 600},
  };
  for (const auto& c : cases) {
    const std::string whole = lead + c.bytes;
    // Every cut near the prefix and near the end; in between, a sample keeps the test quick.
    for (size_t cut = lead.size(); cut < whole.size();
         cut += (cut < 600 || cut + 600 > whole.size()) ? 1 : 997) {
      SCOPED_TRACE(testing::Message() << "string of " << c.bytes.size() << " bytes cut at " << cut);
      CMemFile file(whole.substr(0, cut));
      CArchive ar(&file, CArchive::load);
      CString first, second;
      ar >> first;
      EXPECT_EQ(first, "A");
      try {
        ar >> second;
        ADD_FAILURE() << "no exception";
      } catch (const CArchiveException& e) {
        EXPECT_EQ(e.m_cause, CArchiveException::endOfFile);
        EXPECT_EQ(e.m_offset, lead.size());
        EXPECT_EQ(e.m_fileEnd, cut);
        EXPECT_EQ(e.m_lengthKnown, cut >= lead.size() + c.prefixSize);
        EXPECT_EQ(e.m_announced, e.m_lengthKnown ? c.announced : 0u);
      }
    }
  }
}

TEST(Archive, HugeAnnouncedLengthsAreNotReservedUpFront) {
  struct Case {
    const char* what;
    std::string bytes;
    std::uint64_t announced;
  } cases[] = {
      {"4 GiB plain string", Hex("FF FF FF FF FF FF FF") + std::string(100, 'z'), 0xFFFFFFFFu},
      {"2 GiB plain string", Hex("FF FF FF 00 00 00 80") + std::string(10000, 'z'), 0x80000000u},
      {"4 Gi UTF-16 units", Hex("FF FE FF FF FF FF FF FF FF FF") + std::string(50, 'z'),
       0xFFFFFFFFull * 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    LargestAllocation watch;
    const auto e = LoadFailure(c.bytes);
    EXPECT_EQ(e.m_cause, CArchiveException::endOfFile);
    EXPECT_TRUE(e.m_lengthKnown);
    EXPECT_EQ(e.m_announced, c.announced);
    EXPECT_EQ(e.m_fileEnd, c.bytes.size());
    EXPECT_LT(watch.Largest(), 1u << 20);
  }
}

TEST(Archive, RawBytesAcrossBufferEdgesAndShortReadAtEnd) {
  for (int bufSize : {16, 4096}) {
    SCOPED_TRACE(bufSize);
    CMemFile out;
    {
      CArchive ar(&out, CArchive::store, bufSize);
      for (int i = 0; i < 1000; ++i) {
        ar << CString(std::string(static_cast<size_t>(i % 37), 'k'));
        const std::string n = Le32(static_cast<std::uint32_t>(i));
        ar.Write(n.data(), 4);
      }
      ar.Close();
    }
    CMemFile in(out.Bytes());
    CArchive ar(&in, CArchive::load, bufSize);
    for (int i = 0; i < 1000; ++i) {
      CString s;
      ar >> s;
      ASSERT_EQ(s.GetLength(), i % 37);
      char n[4];
      ASSERT_EQ(ar.Read(n, 4), 4u);
      ASSERT_EQ(std::string(n, 4), Le32(static_cast<std::uint32_t>(i)));
    }
    EXPECT_EQ(ar.GetPosition(), out.Bytes().size());
    char rest[8];
    EXPECT_EQ(ar.Read(rest, 8), 0u);
  }
}

TEST(Archive, FailedWriteThrowsAndAbandonsCleanly) {
  for (size_t limit : {0u, 3u, 4096u, 5000u}) {
    SCOPED_TRACE(limit);
    CMemFile file;
    file.SetWriteLimit(limit);
    EXPECT_THROW(
        {
          CArchive ar(&file, CArchive::store);
          for (int i = 0; i < 10; ++i) ar << CString(std::string(1000, 'w'));
          ar.Close();
        },
        CFileException);
    EXPECT_LE(file.Bytes().size(), limit);
  }
}

TEST(Archive, TextLongerThanTheLongestFormIsRefusedNotCut) {
  // Untouched anonymous pages: the archive must refuse before it reads any of them.
  const size_t size = CArchive::kLongestString + 1;
  void* pages = mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  ASSERT_NE(pages, MAP_FAILED);
  CMemFile file;
  CArchive ar(&file, CArchive::store);
  ar.WriteString("a");
  EXPECT_THROW(ar.WriteString({static_cast<const char*>(pages), size}), CArchiveException);
  ar.Close();
  EXPECT_EQ(file.Bytes(), Hex("01") + "a");
  munmap(pages, size);
}

TEST(Archive, WrongDirectionAndClosedArchivesThrow) {
  CMemFile file;
  CArchive store(&file, CArchive::store);
  CString s;
  EXPECT_THROW(store >> s, CArchiveException);
  store.Close();
  EXPECT_THROW(store << s, CArchiveException);
  CArchive load(&file, CArchive::load);
  EXPECT_THROW(load << s, CArchiveException);
}

}  // namespace
