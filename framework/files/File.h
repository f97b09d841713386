// CFile: a file opened with the program's flags and the meaning they have on the program's
// original platform: locked opens that fail rather than wait, read-only files refused for writing
// (also for root), and writes that replace the file atomically when it is closed. Only regular
// files are opened, and an open never blocks. It knows nothing of what the bytes mean; CArchive
// and the dictionary reader give them a shape.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

#include "Afx.h"
#include "CString.h"

class PendingReplacement;

// Raised by CFile when reading, writing or committing fails; carries the system's error number.
class CFileException : public std::runtime_error {
 public:
  CFileException(const std::string& what, int osError)
      : std::runtime_error(what), m_lOsError(osError) {}
  int m_lOsError;
};

class CFile {
 public:
  enum OpenFlags {
    modeRead = 0x0000,
    modeWrite = 0x0001,
    modeReadWrite = 0x0002,
    modeCreate = 0x1000,
    // With modeCreate | modeWrite: the file must be new, and still be new when Close gives it
    // its name; otherwise the open or Close fails with EEXIST and nothing is replaced.
    modeNoReplace = 0x4000,
  };

  CFile();
  // An open file is abandoned: a replacement not yet closed is discarded.
  virtual ~CFile();
  CFile(const CFile&) = delete;
  CFile& operator=(const CFile&) = delete;

  // modeRead and modeReadWrite need an existing regular file. modeWrite (with modeCreate the
  // file may be new) writes a replacement that Close puts in place; the old file is never
  // truncated. Where the folder refuses new files, an existing file is rewritten in place at
  // Close instead. modeRead takes a shared lock, so readers never exclude each other; the other
  // modes take an exclusive one, so no write interleaves with another or with a read. A lock
  // held by another opener, in this process or another, fails the open (EWOULDBLOCK). A new
  // file locks nothing until it gets its name at Close (already locked): saves of other new
  // files in the same folder never wait for each other. A file with no write permission bit
  // fails every open for writing (EACCES). FALSE on any failure, and LastError tells why:
  // EILSEQ for a path without an exact file system form (see NativePath.h), EISDIR for a
  // directory, EINVAL for any other file that is not a regular file, else the system's error.
  // Never throws.
  BOOL Open(const CString& path, UINT flags);

  // Reads up to count bytes; fewer only at the end of the file. Throws CFileException.
  virtual UINT Read(void* buffer, UINT count);
  // Moves the next read to offset bytes from the start of a file open for reading. Throws
  // CFileException.
  virtual void Seek(std::uint64_t offset);
  // Writes all count bytes or throws CFileException.
  virtual void Write(const void* buffer, UINT count);
  // Writes count bytes over bytes already written to a replacement, at offset from its start.
  // Throws CFileException, also when the file is no replacement or the bytes were not written.
  virtual void Overwrite(std::uint64_t offset, const void* buffer, UINT count);
  // Closes the file; after writing, this is when the new content replaces the old. Throws
  // CFileException when that fails, and then the old file is intact and the temporary removed.
  virtual void Close();
  // Closes the file and discards an uncommitted replacement. Never throws.
  virtual void Abort();
  virtual bool IsOpen() const;
  // The size of a file open for reading; nothing when it is not known.
  virtual std::optional<std::uint64_t> GetLength() const;

  // For a file open for writing: hook runs once at Close when the new content replaces an
  // existing file, after it is complete and on disk and just before the old content goes (see
  // PendingReplacement::BeforeReplacing). It gets the old file's path, symbolic links followed,
  // and whether the file is rewritten in place; the old file is whole and locked meanwhile. It
  // must not throw, and nothing it does fails the save. Close and Abort forget it.
  void BeforeReplacing(std::function<void(const std::string& oldPath, bool inPlace)> hook);
  // For a file that Close will rewrite in place: before runs just before the first old byte is
  // overwritten (after the hook above) and may refuse the rewrite with an errno, which Close
  // then throws with the old content untouched; after runs once the rewrite is over, done when
  // the new content is whole and on disk. Both get the file's path; neither may throw. Nothing
  // happens for a file that is replaced whole. Close and Abort forget them.
  void GuardInPlace(std::function<int(const std::string& path)> before,
                    std::function<void(const std::string& path, bool done)> after);

  // The errno of the last failed Open.
  int LastError() const { return m_error; }

 private:
  BOOL OpenExisting(const std::string& native, UINT access);
  BOOL OpenReplacement(const std::string& native, bool mayCreate, bool mustBeNew);
  BOOL FailOpen(int error);
  int LockMadeMeanwhile();
  void Release();

  int m_fd = -1;  // the file being read, or the old file (locked) while replacing
  bool m_readOnly = false;
  bool m_writeFailed = false;
  std::unique_ptr<PendingReplacement> m_replacement;
  std::string m_native;
  int m_error = 0;
};
