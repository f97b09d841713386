// CFile: a file opened with the program's flags and the meaning they have on the program's
// original platform: exclusive opens, read-only files refused for writing (also for root), and
// writes that replace the file atomically when it is closed. It knows nothing of what the bytes
// mean; CArchive and the dictionary reader give them a shape.
#pragma once

#include <cstdint>
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
  };

  CFile();
  // An open file is abandoned: a replacement not yet closed is discarded.
  virtual ~CFile();
  CFile(const CFile&) = delete;
  CFile& operator=(const CFile&) = delete;

  // modeRead and modeReadWrite need an existing regular file. modeWrite (with modeCreate the
  // file may be new) writes a replacement that Close puts in place; the old file is never
  // truncated. Any open takes an exclusive lock that a second opener, in this process or
  // another, fails on. A file with no write permission bit fails every open for writing.
  // FALSE on any failure (LastError tells why); never throws.
  BOOL Open(const CString& path, UINT flags);

  // Reads up to count bytes; fewer only at the end of the file. Throws CFileException.
  virtual UINT Read(void* buffer, UINT count);
  // Writes all count bytes or throws CFileException.
  virtual void Write(const void* buffer, UINT count);
  // Closes the file; after writing, this is when the new content replaces the old. Throws
  // CFileException when that fails, and then the old file is intact and the temporary removed.
  virtual void Close();
  // Closes the file and discards an uncommitted replacement. Never throws.
  virtual void Abort();
  virtual bool IsOpen() const;
  // The size of a file open for reading; nothing when it is not known.
  virtual std::optional<std::uint64_t> GetLength() const;

  // The errno of the last failed Open.
  int LastError() const { return m_error; }

 private:
  BOOL OpenExisting(const std::string& native, UINT access);
  BOOL OpenReplacement(const std::string& native, bool mayCreate);
  BOOL FailOpen(int error);
  void Release();

  int m_fd = -1;  // the file being read, or the lock holder while replacing
  bool m_readOnly = false;
  bool m_writeFailed = false;
  std::unique_ptr<PendingReplacement> m_replacement;
  std::string m_native;
  int m_error = 0;
};
