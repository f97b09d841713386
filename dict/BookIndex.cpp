#include "BookIndex.h"

#include <new>

#include "Archive.h"

BookDigest DigestOf(const CDictData& book) {
  BookDigest d;
  d.name = KeyOfName(book.m_strName.Bytes());
  d.entries.reserve(book.m_nCount);
  for (int i = 0; i < book.m_nCount; ++i)
    d.entries.push_back(KeyOf(book.m_strWord[i].Bytes(), book.m_strMeaning[i].Bytes()));
  return d;
}

namespace {

constexpr int kReadBuffer = 128 * 1024;

// Takes each entry's digest and start as the reader passes it.
class Indexer : public DictEntryHandler {
 public:
  Indexer(CArchive& ar, BookIndex& index) : m_ar(ar), m_index(index) {}
  bool OnName(CString& name) override {
    m_index.name = std::move(name);
    m_index.digest.name = KeyOfName(m_index.name.Bytes());
    return true;
  }
  bool OnCount(int count) override {
    m_index.starts.reserve(count);
    m_index.digest.entries.reserve(count);
    m_next = m_ar.GetPosition();
    return true;
  }
  bool OnEntry(int, CString& word, CString& meaning) override {
    m_index.starts.push_back(m_next);
    m_index.digest.entries.push_back(KeyOf(word.Bytes(), meaning.Bytes()));
    m_next = m_ar.GetPosition();
    return true;
  }

 private:
  CArchive& m_ar;
  BookIndex& m_index;
  std::uint64_t m_next = 0;
};

}  // namespace

DictIoResult IndexDictionaryFile(CFile& file, const CString& path, BookIndex& index) {
  if (!file.Open(path, CFile::modeRead)) {
    DictIoResult r;
    r.kind = DictIoResult::CannotOpen;
    r.osError = file.LastError();
    index = BookIndex{};
    return r;
  }
  return IndexOpenDictionary(file, index);
}

DictIoResult IndexOpenDictionary(CFile& file, BookIndex& index) {
  DictIoResult r;
  index = BookIndex{};
  try {
    CArchive ar(&file, CArchive::load, kReadBuffer);
    Indexer indexer(ar, index);
    const bool sound = ReadDictionaryEntries(ar, indexer, &r.damage);
    r.end = ar.GetPosition();
    ar.Abort();
    if (!sound) r.kind = DictIoResult::Damaged;
  } catch (const std::bad_alloc&) {
    r.kind = DictIoResult::OutOfMemory;
  }
  if (!r.ok()) file.Abort();
  return r;
}

bool FetchEntry(CFile& file, const BookIndex& index, int i, CString& word, CString& meaning) {
  try {
    file.Seek(index.starts[i]);
    CArchive ar(&file, CArchive::load, kReadBuffer);
    ar >> word >> meaning;
    ar.Abort();
  } catch (const CFileException&) {
    return false;
  } catch (const CArchiveException&) {
    return false;
  }
  return KeyOf(word.Bytes(), meaning.Bytes()) == index.digest.entries[i];
}
