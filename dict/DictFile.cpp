#include "DictFile.h"

#include <array>
#include <utility>

#include "File.h"

namespace {

std::string FieldName(const DictReadError& e, DictReadError::Say say) {
  const std::string entry = std::to_string(e.entry);
  if (e.field == "name") return say("the name", {});
  if (e.field == "count") return say("the count", {});
  if (e.field == "word") return say("the word of entry %s", {entry});
  return say("the meaning of entry %s", {entry});
}

}  // namespace

std::string DictReadError::InEnglish(const char* english,
                                     std::initializer_list<std::string_view> args) {
  std::string out;
  auto arg = args.begin();
  for (const char* p = english; *p; ++p) {
    if (p[0] == '%' && p[1] == 's' && arg != args.end()) {
      out += *arg++;
      ++p;
    } else {
      out += *p;
    }
  }
  return out;
}

std::string DictReadError::Describe(Say say) const {
  const std::string what = FieldName(*this, say);
  const std::string at = std::to_string(offset);
  const std::string end = std::to_string(fileSize);
  switch (kind) {
    case EndOfFile:
      if (field == "count")
        return say("the count at offset %s needs 4 bytes, and the file ends at %s", {at, end});
      if (lengthKnown) {
        return say("%s announces %s bytes at offset %s, and the file ends at %s",
                   {what, std::to_string(announced), at, end});
      }
      return say("%s at offset %s has an incomplete length, and the file ends at %s",
                 {what, at, end});
    case BadCount:
      return say(
          "the count at offset %s is %s, outside 0 to %s",
          {at, std::to_string(static_cast<std::int32_t>(static_cast<std::uint32_t>(announced))),
           std::to_string(CDictData::MAX_WORDS)});
    case BadText:
      return say("%s at offset %s holds UTF-16 text that code page 932 cannot hold", {what, at});
    case ReadFailure:
      return say("reading %s at offset %s failed: %s", {what, at, detail});
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

}  // namespace

DictEntryWriter::DictEntryWriter(CFile& file, std::string_view name)
    : m_file(file), m_ar(&file, CArchive::store, kDictWriteBuffer) {
  m_ar.WriteString(name);
  m_countAt = m_ar.GetPosition();
  WriteCount(m_ar, 0);
}

bool DictEntryWriter::Add(std::string_view word, std::string_view meaning,
                          const std::function<void(std::string_view field, size_t)>& written) {
  if (m_count == CDictData::MAX_WORDS) return false;
  for (const std::string_view field : {word, meaning}) {
    if (written)
      m_ar.WriteString(field, [&](size_t n) { written(field, n); });
    else
      m_ar.WriteString(field);
  }
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
