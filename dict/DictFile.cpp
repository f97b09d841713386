#include "DictFile.h"

#include <array>
#include <utility>

#include "File.h"

namespace {

std::string FieldName(const DictReadError& e) {
  if (e.entry < 0) return "the " + e.field;
  return "the " + e.field + " of entry " + std::to_string(e.entry);
}

}  // namespace

std::string DictReadError::Describe() const {
  const std::string what = FieldName(*this);
  const std::string at = std::to_string(offset);
  switch (kind) {
    case EndOfFile:
      if (field == "count") {
        return "the count at offset " + at + " needs 4 bytes, and the file ends at " +
               std::to_string(fileSize);
      }
      if (lengthKnown) {
        return what + " announces " + std::to_string(announced) + " bytes at offset " + at +
               ", and the file ends at " + std::to_string(fileSize);
      }
      return what + " at offset " + at + " has an incomplete length, and the file ends at " +
             std::to_string(fileSize);
    case BadCount:
      return "the count at offset " + at + " is " +
             std::to_string(static_cast<std::int32_t>(static_cast<std::uint32_t>(announced))) +
             ", outside 0 to " + std::to_string(CDictData::MAX_WORDS);
    case BadText:
      return what + " at offset " + at + " holds UTF-16 text that code page 932 cannot hold";
    case ReadFailure:
      return "reading " + what + " at offset " + at + " failed: " + detail;
  }
  return what;
}

namespace {

// The entry count as the file holds it: four bytes, little-endian.
std::array<unsigned char, 4> CountBytes(int count) {
  const auto n = static_cast<std::uint32_t>(count);
  return {static_cast<unsigned char>(n), static_cast<unsigned char>(n >> 8),
          static_cast<unsigned char>(n >> 16), static_cast<unsigned char>(n >> 24)};
}

void WriteCount(CArchive& ar, int count) {
  ar.Write(CountBytes(count).data(), 4);
}

// Writing goes out in runs this long; a long meaning goes straight from its own storage.
constexpr int kWriteBuffer = 64 * 1024;

}  // namespace

DictEntryWriter::DictEntryWriter(CFile& file, std::string_view name)
    : m_file(file), m_ar(&file, CArchive::store, kWriteBuffer) {
  m_ar.WriteString(name);
  m_countAt = m_ar.GetPosition();
  WriteCount(m_ar, 0);
}

bool DictEntryWriter::Add(std::string_view word, std::string_view meaning) {
  if (m_count == CDictData::MAX_WORDS) return false;
  m_ar.WriteString(word);
  m_ar.WriteString(meaning);
  ++m_count;
  return true;
}

void DictEntryWriter::Finish() {
  m_ar.Flush();
  m_file.Overwrite(m_countAt, CountBytes(m_count).data(), 4);
}

void WriteDictionary(CArchive& ar, const CDictData& book) {
  // A count outside the record would walk past its slots; what is written always reads back.
  int count = book.m_nCount;
  if (count < 0) count = 0;
  if (count > CDictData::MAX_WORDS) count = CDictData::MAX_WORDS;
  ar << book.m_strName;
  WriteCount(ar, count);
  for (int i = 0; i < count; ++i) {
    ar << book.m_strWord[i];
    ar << book.m_strMeaning[i];
  }
}

namespace {

// Keeps every field in a word book.
class BookFiller : public DictEntryHandler {
 public:
  explicit BookFiller(CDictData& book) : m_book(book) {}
  bool OnName(CString& name) override {
    m_book.m_strName = std::move(name);
    return true;
  }
  bool OnCount(int count) override {
    m_book.m_nCount = count;
    return true;
  }
  bool OnEntry(int i, CString& word, CString& meaning) override {
    m_book.m_strWord[i] = std::move(word);
    m_book.m_strMeaning[i] = std::move(meaning);
    return true;
  }

 private:
  CDictData& m_book;
};

// Keeps only the count.
class Counter : public DictEntryHandler {
 public:
  explicit Counter(int* count) : m_count(count) {}
  bool OnCount(int count) override {
    if (m_count) *m_count = count;
    return true;
  }
  bool OnEntry(int, CString&, CString&) override { return true; }
  bool KeepsText() const override { return false; }

 private:
  int* m_count;
};

// One string into text, or read past when the handler keeps no text, so that scanning holds no
// more than the archive's buffer however long the strings are.
void TakeString(CArchive& ar, bool keep, CString& text) {
  if (keep)
    ar >> text;
  else
    ar.SkipString();
}

}  // namespace

// The one reading order, shared by every reader. Each string is read into a scratch string that
// the handler may keep, so memory stays at one entry's worth unless the handler keeps more.
bool ReadDictionaryEntries(CArchive& ar, DictEntryHandler& handler, DictReadError* error) {
  DictReadError local;
  DictReadError& e = error ? *error : local;
  e = DictReadError{};
  e.field = "name";
  CString word, meaning;
  try {
    e.offset = ar.GetPosition();
    TakeString(ar, handler.KeepsText(), word);
    if (!handler.OnName(word)) return true;

    e.field = "count";
    e.offset = ar.GetPosition();
    unsigned char raw[4];
    const UINT got = ar.Read(raw, 4);
    if (got < 4) {
      e.kind = DictReadError::EndOfFile;
      e.announced = 4;
      e.fileSize = e.offset + got;
      return false;
    }
    const std::uint32_t n = raw[0] | (raw[1] << 8) | (raw[2] << 16) | (std::uint32_t{raw[3]} << 24);
    const auto entries = static_cast<std::int32_t>(n);
    if (entries < 0 || entries > CDictData::MAX_WORDS) {
      e.kind = DictReadError::BadCount;
      e.announced = n;
      return false;
    }
    if (!handler.OnCount(entries)) return true;

    for (int i = 0; i < entries; ++i) {
      e.entry = i;
      e.field = "word";
      e.offset = ar.GetPosition();
      TakeString(ar, handler.KeepsText(), word);
      e.field = "meaning";
      e.offset = ar.GetPosition();
      TakeString(ar, handler.KeepsMeanings(), meaning);
      if (!handler.OnEntry(i, word, meaning)) break;
    }
    e = DictReadError{};
    return true;
  } catch (const CArchiveException& x) {
    e.kind =
        x.m_cause == CArchiveException::badText ? DictReadError::BadText : DictReadError::EndOfFile;
    e.offset = x.m_offset;
    e.lengthKnown = x.m_lengthKnown;
    e.announced = x.m_announced;
    e.fileSize = x.m_fileEnd;
    return false;
  } catch (const CFileException& x) {
    e.kind = DictReadError::ReadFailure;
    e.detail = x.what();
    return false;
  }
}

bool ReadDictionary(CArchive& ar, CDictData& book, DictReadError* error) {
  BookFiller filler(book);
  return ReadDictionaryEntries(ar, filler, error);
}

bool ScanDictionary(CArchive& ar, int* count, DictReadError* error) {
  Counter counter(count);
  return ReadDictionaryEntries(ar, counter, error);
}
