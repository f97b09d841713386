#include "File.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "NativePath.h"
#include "ReplaceFile.h"

namespace {

std::string Describe(const char* what, const std::string& path, int error) {
  return std::string(what) + " " + path + ": " + std::strerror(error);
}

// The original platform's read-only attribute: no write bit at all. Root is refused too.
bool IsReadOnly(const struct stat& st) {
  return (st.st_mode & 0222) == 0;
}

// Only regular files are dictionaries: a directory says so, anything else (a FIFO, a device, a
// socket) is an invalid argument.
int NotRegular(const struct stat& st) {
  return S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
}

// A lock (LOCK_SH or LOCK_EX) that a second opener fails on rather than waits for.
bool Lock(int fd, int kind) {
  while (flock(fd, kind | LOCK_NB) != 0) {
    if (errno != EINTR) return false;
  }
  return true;
}

// True when native still names the file open on fd. A save puts a new file in the old one's
// place, so a lock won on the old file after that would guard nothing.
bool StillNamed(int fd, const std::string& native) {
  struct stat held {};
  struct stat named {};
  return fstat(fd, &held) == 0 && stat(native.c_str(), &named) == 0 &&
         held.st_dev == named.st_dev && held.st_ino == named.st_ino;
}

// Opens native with flags (never blocking), checks that it is a regular file (and writable, for
// write access) and locks it. The descriptor, or -1 with errno set.
int OpenLocked(const std::string& native, int flags, int lock) {
  for (int attempt = 0; attempt < 3; ++attempt) {
    const int fd = open(native.c_str(), flags | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return -1;
    struct stat st {};
    int error = fstat(fd, &st) != 0 ? errno : 0;
    if (!error && !S_ISREG(st.st_mode)) error = NotRegular(st);
    if (!error && (flags & O_ACCMODE) != O_RDONLY && IsReadOnly(st)) error = EACCES;
    if (!error && !Lock(fd, lock)) error = errno;
    if (!error && StillNamed(fd, native)) {
      const int fl = fcntl(fd, F_GETFL);
      if (fl >= 0) fcntl(fd, F_SETFL, fl & ~O_NONBLOCK);
      return fd;
    }
    close(fd);
    if (error) {
      errno = error;
      return -1;
    }
  }
  errno = EWOULDBLOCK;  // replaced again and again meanwhile: someone is saving it
  return -1;
}

// The temporary file was refused by the folder itself, not for want of room or a missing path.
bool FolderRefuses(int error) {
  return error == EACCES || error == EPERM;
}

}  // namespace

CFile::CFile() = default;

CFile::~CFile() {
  Abort();
}

bool CFile::IsOpen() const {
  return m_fd >= 0 || m_replacement != nullptr;
}

std::optional<std::uint64_t> CFile::GetLength() const {
  struct stat st {};
  if (!IsOpen() || m_replacement || fstat(m_fd, &st) != 0) return std::nullopt;
  return static_cast<std::uint64_t>(st.st_size);
}

BOOL CFile::FailOpen(int error) {
  Release();
  m_error = error;
  return FALSE;
}

BOOL CFile::Open(const CString& path, UINT flags) {
  if (IsOpen()) {  // the open file stays as it is
    m_error = EBUSY;
    return FALSE;
  }
  if (path.IsEmpty()) return FailOpen(ENOENT);
  // A path whose file system form would name another file is no path at all.
  const auto native = ToNativePath(path);
  if (!native) return FailOpen(EILSEQ);
  const UINT access = flags & 0x3;
  const bool create = (flags & modeCreate) != 0;
  const bool mustBeNew = (flags & modeNoReplace) != 0;
  if (access == 0x3 || (flags & ~(0x3u | modeCreate | modeNoReplace)) != 0) return FailOpen(EINVAL);
  if (mustBeNew && (access != modeWrite || !create)) return FailOpen(EINVAL);
  m_native = *native;
  if (access == modeWrite) return OpenReplacement(*native, create, mustBeNew);
  if (create) return FailOpen(EINVAL);  // the program never creates a file it reads
  return OpenExisting(*native, access);
}

BOOL CFile::OpenExisting(const std::string& native, UINT access) {
  const bool write = access == modeReadWrite;
  m_fd = OpenLocked(native, write ? O_RDWR : O_RDONLY, write ? LOCK_EX : LOCK_SH);
  if (m_fd < 0) return FailOpen(errno);
  m_readOnly = !write;
  m_error = 0;
  return TRUE;
}

BOOL CFile::OpenReplacement(const std::string& native, bool mayCreate, bool mustBeNew) {
  struct stat st {};
  const bool exists = stat(native.c_str(), &st) == 0;
  if (!exists && (errno != ENOENT || !mayCreate)) return FailOpen(errno);
  if (exists && mustBeNew) return FailOpen(EEXIST);
  if (exists) {
    if (!S_ISREG(st.st_mode)) return FailOpen(NotRegular(st));
    // Opening for writing asks the system whether we may write it, and the lock keeps every
    // other reader and writer out until the new content is in place.
    m_fd = OpenLocked(native, O_WRONLY, LOCK_EX);
    if (m_fd < 0) return FailOpen(errno);
  }
  // A new file has nothing to lock yet: its content is written unseen and locked from the
  // start, so it is locked from the moment it gets its name.
  m_replacement = std::make_unique<PendingReplacement>();
  if (mustBeNew) m_replacement->KeepExisting();
  if (!m_replacement->Begin(native)) {
    const int error = m_replacement->LastError();
    // A folder that takes no new files: the file itself is rewritten, as the original did.
    if (!exists || !FolderRefuses(error) || !m_replacement->BeginInPlace(m_fd))
      return FailOpen(error);
  }
  m_writeFailed = false;
  m_readOnly = false;
  m_error = 0;
  return TRUE;
}

UINT CFile::Read(void* buffer, UINT count) {
  if (!IsOpen() || m_replacement)
    throw CFileException("read from a file not open for reading", EBADF);
  char* p = static_cast<char*>(buffer);
  UINT done = 0;
  while (done < count) {
    const ssize_t n = read(m_fd, p + done, count - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      throw CFileException(Describe("cannot read", m_native, errno), errno);
    }
    if (n == 0) break;
    done += static_cast<UINT>(n);
  }
  return done;
}

void CFile::Seek(std::uint64_t offset) {
  if (!IsOpen() || m_replacement)
    throw CFileException("seek in a file not open for reading", EBADF);
  if (lseek(m_fd, static_cast<off_t>(offset), SEEK_SET) < 0)
    throw CFileException(Describe("cannot seek in", m_native, errno), errno);
}

void CFile::Write(const void* buffer, UINT count) {
  if (!IsOpen() || m_readOnly) throw CFileException("write to a file not open for writing", EBADF);
  if (m_replacement) {
    if (m_writeFailed || !m_replacement->Write(buffer, count)) {
      m_writeFailed = true;
      const int error = m_replacement->LastError();
      throw CFileException(Describe("cannot write", m_native, error), error);
    }
    return;
  }
  const char* p = static_cast<const char*>(buffer);
  UINT done = 0;
  while (done < count) {
    const ssize_t n = write(m_fd, p + done, count - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      throw CFileException(Describe("cannot write", m_native, errno), errno);
    }
    done += static_cast<UINT>(n);
  }
}

void CFile::Overwrite(std::uint64_t offset, const void* buffer, UINT count) {
  if (!m_replacement) throw CFileException("overwrite in a file not being replaced", EBADF);
  if (m_writeFailed || !m_replacement->Overwrite(offset, buffer, count)) {
    m_writeFailed = true;
    const int error = m_replacement->LastError();
    throw CFileException(Describe("cannot write", m_native, error), error);
  }
}

void CFile::BeforeReplacing(std::function<void(const std::string&, bool)> hook) {
  if (!m_replacement) return;
  PendingReplacement& r = *m_replacement;
  const std::string opened = m_native;
  r.BeforeReplacing([&r, opened, hook = std::move(hook)](bool inPlace) {
    hook(inPlace || r.Target().empty() ? opened : r.Target(), inPlace);
  });
}

void CFile::GuardInPlace(std::function<int(const std::string&)> before,
                         std::function<void(const std::string&, bool)> after) {
  if (!m_replacement || !m_replacement->IsInPlace()) return;
  const std::string path = m_native;
  m_replacement->GuardInPlace([path, before = std::move(before)] { return before(path); },
                              [path, after = std::move(after)](bool done) { after(path, done); });
}

void CFile::Close() {
  if (!IsOpen()) return;
  if (m_replacement) {
    int error = LockMadeMeanwhile();
    const bool ok = !error && !m_writeFailed && m_replacement->Commit();
    if (!error) error = m_replacement->LastError();
    Release();
    if (!ok) throw CFileException(Describe("cannot save", m_native, error), error);
    return;
  }
  Release();
}

int CFile::LockMadeMeanwhile() {
  // A file that was new at the open may have been made since by another save; it is replaced
  // like any existing file, only while nobody else holds it.
  if (m_fd >= 0 || m_replacement->IsInPlace() || m_replacement->KeepsExisting()) return 0;
  m_fd = OpenLocked(m_native, O_WRONLY, LOCK_EX);
  return m_fd >= 0 || errno == ENOENT ? 0 : errno;
}

void CFile::Abort() {
  Release();
}

void CFile::Release() {
  if (m_replacement) {
    m_replacement->Abort();
    m_replacement.reset();
  }
  if (m_fd >= 0) {
    close(m_fd);  // also drops the lock
    m_fd = -1;
  }
  m_writeFailed = false;
  m_readOnly = false;
}
