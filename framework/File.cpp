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

std::string DirectoryOf(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// The original platform's read-only attribute: no write bit at all. Root is refused too.
bool IsReadOnly(const struct stat& st) {
  return (st.st_mode & 0222) == 0;
}

// An exclusive lock that a second opener fails on rather than waits for.
bool LockExclusive(int fd) {
  while (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    if (errno != EINTR) return false;
  }
  return true;
}

}  // namespace

CFile::CFile() = default;

CFile::~CFile() {
  Abort();
}

bool CFile::IsOpen() const {
  return m_fd >= 0;
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
  if (access == 0x3 || (flags & ~(0x3u | modeCreate)) != 0) return FailOpen(EINVAL);
  m_native = *native;
  if (access == modeWrite) return OpenReplacement(*native, create);
  if (create) return FailOpen(EINVAL);  // the program never creates a file it reads
  return OpenExisting(*native, access);
}

BOOL CFile::OpenExisting(const std::string& native, UINT access) {
  const bool write = access == modeReadWrite;
  // O_NONBLOCK keeps a FIFO from hanging the open; it is refused below as not a regular file.
  const int fd =
      open(native.c_str(), (write ? O_RDWR : O_RDONLY) | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) return FailOpen(errno);
  m_fd = fd;
  struct stat st {};
  if (fstat(fd, &st) != 0) return FailOpen(errno);
  if (!S_ISREG(st.st_mode)) return FailOpen(EINVAL);
  if (write && IsReadOnly(st)) return FailOpen(EACCES);
  if (!LockExclusive(fd)) return FailOpen(errno);
  const int fl = fcntl(fd, F_GETFL);
  if (fl >= 0) fcntl(fd, F_SETFL, fl & ~O_NONBLOCK);
  m_readOnly = !write;
  m_error = 0;
  return TRUE;
}

BOOL CFile::OpenReplacement(const std::string& native, bool mayCreate) {
  struct stat st {};
  const bool exists = stat(native.c_str(), &st) == 0;
  if (!exists && (errno != ENOENT || !mayCreate)) return FailOpen(errno);
  if (exists) {
    if (!S_ISREG(st.st_mode)) return FailOpen(EINVAL);
    if (IsReadOnly(st)) return FailOpen(EACCES);
    // Opening for writing asks the system whether we may write it, and gives the lock an
    // inode; nothing is written through this descriptor.
    m_fd = open(native.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (m_fd < 0) return FailOpen(errno);
    if (!LockExclusive(m_fd)) return FailOpen(errno);
  }
  m_replacement = std::make_unique<PendingReplacement>();
  if (!m_replacement->Begin(native)) return FailOpen(m_replacement->LastError());
  if (!exists) {
    // A file that does not exist yet has no inode to lock: lock its directory instead, so two
    // savers of the same new file cannot both proceed.
    m_fd = open(DirectoryOf(m_replacement->Target()).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_fd < 0) return FailOpen(errno);
    if (!LockExclusive(m_fd)) return FailOpen(errno);
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

void CFile::Close() {
  if (!IsOpen()) return;
  if (m_replacement) {
    const bool ok = !m_writeFailed && m_replacement->Commit();
    const int error = m_replacement->LastError();
    Release();
    if (!ok) throw CFileException(Describe("cannot save", m_native, error), error);
    return;
  }
  Release();
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
