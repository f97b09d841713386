#include "DictFuzzCheck.h"

#include <memory>
#include <string>

#include "DictIo.h"
#include "MemFile.h"

namespace {

void Require(bool condition) {
  if (!condition) __builtin_trap();
}

bool Read(const std::string& bytes, CDictData& book, DictReadError& error) {
  CMemFile file(bytes);
  const DictIoResult r = ReadOpenDictionary(file, book);
  Require(r.kind == DictIoResult::Ok || r.kind == DictIoResult::Damaged);
  error = r.damage;
  return r.ok();
}

std::string Write(const CDictData& book) {
  CMemFile file;
  Require(WriteOpenDictionary(file, book).ok());
  return file.Bytes();
}

}  // namespace

void CheckDictionaryBytes(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  auto book = std::make_unique<CDictData>();
  DictReadError error;
  const bool ok = Read(bytes, *book, error);
  {
    // Scanning gives the same verdict, count and message as reading.
    CMemFile file(bytes);
    DictEntryCounter counter;
    const DictIoResult scanned = ReadOpenDictionaryEntries(file, counter);
    Require(scanned.ok() == ok);
    Require(scanned.damage.Describe() == error.Describe());
    if (ok) Require(counter.Count() == book->m_nCount);
  }
  if (!ok) {
    Require(!error.Describe().empty());
    if (error.kind == DictReadError::EndOfFile) Require(error.fileSize == size);
    Require(error.offset <= size);
    return;
  }
  Require(book->m_nCount >= 0 && book->m_nCount <= CDictData::MAX_WORDS);
  const std::string written = Write(*book);
  auto again = std::make_unique<CDictData>();
  Require(Read(written, *again, error));
  Require(again->m_strName == book->m_strName && again->m_nCount == book->m_nCount);
  for (int i = 0; i < book->m_nCount; ++i) {
    Require(again->m_strWord[i] == book->m_strWord[i]);
    Require(again->m_strMeaning[i] == book->m_strMeaning[i]);
  }
  Require(Write(*again) == written);
  // Without a 0xFF byte every prefix is the shortest form, and the file comes back byte for
  // byte up to its last meaning.
  if (bytes.find('\xFF') == std::string::npos) {
    Require(written.size() <= size && bytes.compare(0, written.size(), written) == 0);
  }
}
