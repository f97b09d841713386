// Reading a whole dictionary file into a word book and writing a word book to a file: open,
// lay an archive over the file, read or write, close, and abandon the file on any failure. Each
// failure comes back by kind; nothing is shown to the user and nothing else is changed. A
// programming error is not caught here: only the framework's file and archive failures and an
// exhausted memory are turned into results.
#pragma once

#include <cstdint>
#include <string>

#include "Backups.h"
#include "DictData.h"
#include "DictFile.h"
#include "File.h"

struct DictIoResult {
  enum Kind {
    Ok,
    CannotOpen,   // the open failed; osError says why
    Damaged,      // the file was read but is not a dictionary; damage says what and where
    CannotWrite,  // writing or putting the new file in place failed; osError says why
    OutOfMemory,  // the file asked for more memory than there is
  } kind = Ok;
  int osError = 0;
  std::string detail;  // CannotWrite: the system's message
  DictReadError damage;
  std::uint64_t end = 0;  // after a sound read: where the last meaning ended

  bool ok() const { return kind == Ok; }
};

// Opens file on path with openFlags (modeRead, or modeReadWrite as the main window loads) and
// reads a whole dictionary into book, which the caller passes cleared and keeps only on Ok.
// The file is closed again on every path.
DictIoResult ReadDictionaryFile(CFile& file, const CString& path, CDictData& book,
                                UINT openFlags = CFile::modeRead);

// The same on a file that is already open (a CMemFile, say): the file is closed on success and
// abandoned on failure, as above.
DictIoResult ReadOpenDictionary(CFile& file, CDictData& book);
DictIoResult WriteOpenDictionary(CFile& file, const CDictData& book);

// Reads entry by entry (ReadDictionaryEntries) from path, or from a file that is already open.
// The verdict is as above; a reading that the handler stopped counts as sound.
DictIoResult ReadDictionaryFileEntries(CFile& file, const CString& path, DictEntryHandler& handler);
DictIoResult ReadOpenDictionaryEntries(CFile& file, DictEntryHandler& handler);

// Writes book to path, creating the file or replacing it whole once the new content is
// complete, or rewriting it in place where its folder takes no new files, which keeps the old
// content under backupRoot until the new one is on disk (RewriteJournal.h) and is refused where
// it cannot. On failure the old file is as it was. With backups (when given), the version it
// replaces is first kept under backupRoot (see Backups.h), and *backups says how that went.
DictIoResult WriteDictionaryFile(CFile& file, const CString& path, const CDictData& book,
                                 BackupOutcome* backups = nullptr,
                                 const std::string& backupRoot = std::string());
