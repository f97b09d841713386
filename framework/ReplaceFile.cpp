#include "ReplaceFile.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

namespace {

std::optional<std::uint64_t> g_writeLimit;
PendingReplacement::CommitFault g_commitFault = PendingReplacement::CommitFault::None;

std::string DirectoryOf(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string BaseNameOf(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Follows symbolic links to the file they finally name (which need not exist yet), so that a
// save through a link replaces the file and keeps the link. nullopt with errno set on a loop or
// an unreadable link.
std::optional<std::string> FollowLinks(std::string path) {
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0) {
      if (errno == ENOENT) return path;
      return std::nullopt;
    }
    if (!S_ISLNK(st.st_mode)) return path;
    std::vector<char> link(PATH_MAX + 1);
    const ssize_t n = readlink(path.c_str(), link.data(), link.size() - 1);
    if (n < 0) return std::nullopt;
    std::string next(link.data(), static_cast<size_t>(n));
    path = next.starts_with('/') ? next : DirectoryOf(path) + "/" + next;
  }
  errno = ELOOP;
  return std::nullopt;
}

mode_t NewFileMode() {
  const mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

// Best effort: some file systems cannot sync a directory, and the rename has happened anyway.
void SyncDirectory(const std::string& dir) {
  const int fd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  (void)fsync(fd);
  close(fd);
}

}  // namespace

void PendingReplacement::SetWriteLimitForTesting(std::optional<std::uint64_t> bytes) {
  g_writeLimit = bytes;
}

void PendingReplacement::SetCommitFaultForTesting(CommitFault fault) {
  g_commitFault = fault;
}

bool PendingReplacement::Fail(int error) {
  m_error = error;
  return false;
}

bool PendingReplacement::Begin(const std::string& nativeTarget) {
  Abort();
  if (nativeTarget.empty()) return Fail(ENOENT);
  auto target = FollowLinks(nativeTarget);
  if (!target) return Fail(errno);
  // Keep the temporary name within NAME_MAX however long the target's name is.
  std::string base = BaseNameOf(*target).substr(0, 200);
  std::string temp = DirectoryOf(*target) + "/." + base + ".XXXXXX";
  const int fd = mkostemp(temp.data(), O_CLOEXEC);  // mode 0600
  if (fd < 0) return Fail(errno);
  m_fd = fd;
  m_target = std::move(*target);
  m_temp = std::move(temp);
  m_written = 0;
  m_failed = false;
  m_error = 0;
  return true;
}

bool PendingReplacement::Write(const void* data, size_t size) {
  if (m_fd < 0 || m_failed) return Fail(m_fd < 0 ? EBADF : m_error);
  const char* p = static_cast<const char*>(data);
  size_t allowed = size;
  if (g_writeLimit) {
    const std::uint64_t room = *g_writeLimit > m_written ? *g_writeLimit - m_written : 0;
    if (room < allowed) allowed = static_cast<size_t>(room);
  }
  size_t done = 0;
  while (done < allowed) {
    const ssize_t n = write(m_fd, p + done, allowed - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      m_failed = true;
      return Fail(errno);
    }
    done += static_cast<size_t>(n);
    m_written += static_cast<std::uint64_t>(n);
  }
  if (allowed < size) {
    m_failed = true;
    return Fail(ENOSPC);
  }
  return true;
}

bool PendingReplacement::Commit() {
  if (m_temp.empty()) return Fail(EBADF);
  int error = m_failed ? m_error : 0;
  if (!error && (g_commitFault == CommitFault::Sync || fsync(m_fd) != 0))
    error = g_commitFault == CommitFault::Sync ? EIO : errno;
  if (!error) {
    struct stat st {};
    mode_t mode = 0;
    if (stat(m_target.c_str(), &st) == 0) {
      mode = st.st_mode & 07777;
      // Keep the owner too where we may (as root); elsewhere the saver becomes the owner.
      if (geteuid() == 0) (void)fchown(m_fd, st.st_uid, st.st_gid);
    } else if (errno == ENOENT) {
      mode = NewFileMode();
    } else {
      error = errno;
    }
    if (!error && fchmod(m_fd, mode) != 0) error = errno;
  }
  if (!error) {
    const int fd = m_fd;
    m_fd = -1;
    if (close(fd) != 0) error = errno;
  }
  if (!error &&
      (g_commitFault == CommitFault::Rename || rename(m_temp.c_str(), m_target.c_str()) != 0))
    error = g_commitFault == CommitFault::Rename ? EIO : errno;
  if (error) {
    Abort();
    return Fail(error);
  }
  SyncDirectory(DirectoryOf(m_target));
  m_temp.clear();
  m_target.clear();
  return true;
}

void PendingReplacement::Abort() {
  if (m_fd >= 0) {
    close(m_fd);
    m_fd = -1;
  }
  if (!m_temp.empty()) {
    unlink(m_temp.c_str());
    m_temp.clear();
  }
  m_target.clear();
  m_failed = false;
}

bool ReplaceFileContents(const std::string& nativeTarget, std::string_view bytes) {
  PendingReplacement replacement;
  if (!replacement.Begin(nativeTarget)) return false;
  if (!replacement.Write(bytes.data(), bytes.size())) return false;
  return replacement.Commit();
}
