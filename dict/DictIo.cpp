#include "DictIo.h"

#include <algorithm>
#include <new>

#include "Archive.h"
#include "NativePath.h"
#include "RewriteJournal.h"

namespace {

// Reading goes through the file in runs this long: long enough that skipping or copying a large
// meaning costs few system calls, short enough to be nothing next to one entry.
constexpr int kReadBuffer = 128 * 1024;

DictIoResult Failed(DictIoResult::Kind kind, int osError = 0) {
  DictIoResult r;
  r.kind = kind;
  r.osError = osError;
  return r;
}

// The one reading recipe on an open file: archive, read with read(archive, damage), close,
// abandon on failure.
template <typename Read>
DictIoResult ReadWith(CFile& file, Read read) {
  DictIoResult r;
  try {
    CArchive ar(&file, CArchive::load, kReadBuffer);
    const bool sound = read(ar, r.damage);
    r.end = ar.GetPosition();
    ar.Close();
    file.Close();
    if (!sound) r.kind = DictIoResult::Damaged;
  } catch (const std::bad_alloc&) {
    file.Abort();
    return Failed(DictIoResult::OutOfMemory);
  } catch (const CFileException& e) {
    // Closing a file that was only read does not fail in practice; if it does, the read is void.
    file.Abort();
    r.kind = DictIoResult::Damaged;
    r.damage.kind = DictReadError::ReadFailure;
    r.damage.detail = e.what();
  }
  return r;
}

// The buffer a book is written through: a megabyte, or a small book's own size at most (it
// is written out in one piece either way).
int WriteBufferFor(const CDictData& book) {
  std::uint64_t bytes = 7 + 4 + book.m_strName.Bytes().size();
  for (int i = 0; i < book.m_nCount && i < CDictData::MAX_WORDS && bytes < kDictWriteBuffer; ++i)
    bytes += 7 + book.m_strWord[i].Bytes().size() + 7 + book.m_strMeaning[i].Bytes().size();
  return static_cast<int>(std::min<std::uint64_t>(bytes, kDictWriteBuffer));
}

}  // namespace

DictIoResult ReadOpenDictionary(CFile& file, CDictData& book) {
  return ReadWith(
      file, [&](CArchive& ar, DictReadError& damage) { return ReadDictionary(ar, book, &damage); });
}

DictIoResult ReadOpenDictionaryEntries(CFile& file, DictEntryHandler& handler) {
  return ReadWith(file, [&](CArchive& ar, DictReadError& damage) {
    return ReadDictionaryEntries(ar, handler, &damage);
  });
}

DictIoResult WriteOpenDictionary(CFile& file, const CDictData& book) {
  try {
    CArchive ar(&file, CArchive::store, WriteBufferFor(book));
    WriteDictionary(ar, book);
    ar.Close();
    file.Close();
  } catch (const CFileException& e) {
    // The old file stays as it was: the new content only replaces it when complete.
    file.Abort();
    DictIoResult r = Failed(DictIoResult::CannotWrite, e.m_lOsError);
    r.detail = e.what();
    return r;
  } catch (const CArchiveException&) {
    file.Abort();
    return Failed(DictIoResult::CannotWrite);
  } catch (const std::bad_alloc&) {
    file.Abort();
    return Failed(DictIoResult::OutOfMemory);
  }
  return {};
}

DictIoResult ReadDictionaryFile(CFile& file, const CString& path, CDictData& book, UINT openFlags) {
  if (!file.Open(path, openFlags)) return Failed(DictIoResult::CannotOpen, file.LastError());
  return ReadOpenDictionary(file, book);
}

DictIoResult WriteDictionaryFile(CFile& file, const CString& path, const CDictData& book,
                                 BackupOutcome* backups, const std::string& backupRoot) {
  // A rewrite of this file cut short earlier is rolled back, so that this one keeps sound bytes.
  if (const auto native = ToNativePath(path)) rewrite::Recover(backupRoot, *native);
  if (!file.Open(path, CFile::modeCreate | CFile::modeWrite))
    return Failed(DictIoResult::CannotOpen, file.LastError());
  GuardSaveAtClose(file, backupRoot, backups);
  return WriteOpenDictionary(file, book);
}

DictIoResult ReadDictionaryFileEntries(CFile& file, const CString& path,
                                       DictEntryHandler& handler) {
  if (!file.Open(path, CFile::modeRead)) return Failed(DictIoResult::CannotOpen, file.LastError());
  return ReadOpenDictionaryEntries(file, handler);
}
