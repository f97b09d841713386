#include "ReplaceFile.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "TemporaryFile.h"

namespace {

std::optional<std::uint64_t> g_writeLimit;
PendingReplacement::CommitFault g_commitFault = PendingReplacement::CommitFault::None;
bool g_unnamedFiles = true;

using tempfile::DirectoryOf;

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

void PendingReplacement::SetUnnamedFilesForTesting(bool allowed) {
  g_unnamedFiles = allowed;
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
  struct stat dir {};
  if (stat(DirectoryOf(*target).c_str(), &dir) != 0) return Fail(errno);
  // The original platform's read-only attribute, on a directory: root is refused too.
  if ((dir.st_mode & 0222) == 0) return Fail(EACCES);
  tempfile::Created made = tempfile::Create(*target, g_unnamedFiles);
  if (made.fd < 0) return Fail(made.error);
  m_fd = made.fd;
  m_temp = std::move(made.path);
  m_target = std::move(*target);
  m_written = 0;
  m_failed = false;
  m_error = 0;
  // Ours is locked by now, so it cannot be taken for a leftover.
  tempfile::RemoveStaleTemporaries(m_target);
  return true;
}

bool PendingReplacement::BeginInPlace(int fd) {
  Abort();
  struct stat st {};
  if (fd < 0 || fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) return Fail(EBADF);
  m_inPlaceFd = fd;
  m_written = 0;
  m_failed = false;
  m_error = 0;
  return true;
}

// How much of size bytes the write limit lets through.
bool PendingReplacement::Room(size_t size, size_t& allowed) {
  allowed = size;
  if (g_writeLimit) {
    const std::uint64_t room = *g_writeLimit > m_written ? *g_writeLimit - m_written : 0;
    if (room < allowed) allowed = static_cast<size_t>(room);
  }
  return allowed == size;
}

bool PendingReplacement::Write(const void* data, size_t size) {
  if (!IsActive() || m_failed) return Fail(IsActive() ? m_error : EBADF);
  const char* p = static_cast<const char*>(data);
  size_t allowed = 0;
  const bool fits = Room(size, allowed);
  if (IsInPlace()) {
    m_pending.append(std::string_view(p, allowed));
    m_written += allowed;
  }
  for (size_t done = 0; !IsInPlace() && done < allowed;) {
    const ssize_t n = write(m_fd, p + done, allowed - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      m_failed = true;
      return Fail(errno);
    }
    done += static_cast<size_t>(n);
    m_written += static_cast<std::uint64_t>(n);
  }
  if (!fits) {
    m_failed = true;
    return Fail(ENOSPC);
  }
  return true;
}

bool PendingReplacement::Overwrite(std::uint64_t offset, const void* data, size_t size) {
  if (!IsActive() || m_failed) return Fail(IsActive() ? m_error : EBADF);
  if (offset > m_written || size > m_written - offset) return Fail(EINVAL);
  const char* p = static_cast<const char*>(data);
  if (IsInPlace()) {
    std::memcpy(m_pending.data() + offset, p, size);
    return true;
  }
  for (size_t done = 0; done < size;) {
    const ssize_t n = pwrite(m_fd, p + done, size - done, static_cast<off_t>(offset + done));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      m_failed = true;
      return Fail(errno);
    }
    done += static_cast<size_t>(n);
  }
  return true;
}

int PendingReplacement::KeepModeAndOwner() {
  struct stat st {};
  mode_t mode = 0;
  if (stat(m_target.c_str(), &st) == 0) {
    mode = st.st_mode & 07777;
    // The owner where we may (root); elsewhere at least the group, when we belong to it.
    // Where even the group cannot be kept, the file is in a group of ours, which then gets no
    // more than everyone else had: nobody reads the new file who could not read the old one.
    if (fchown(m_fd, st.st_uid, st.st_gid) != 0 &&
        fchown(m_fd, static_cast<uid_t>(-1), st.st_gid) != 0)
      mode &= ~(S_ISGID | (S_IRWXG & ~((mode & S_IRWXO) << 3)));
  } else if (errno == ENOENT) {
    mode = NewFileMode();
  } else {
    return errno;
  }
  return fchmod(m_fd, mode) == 0 ? 0 : errno;
}

// Gives the new file the target's name: a named one by renaming it; an unnamed one by linking
// it to the target when that is new, else to a fresh name that is then renamed.
int PendingReplacement::PutInPlace() {
  if (g_commitFault == CommitFault::Rename) return EIO;
  if (m_keepExisting) return PutInFreeName();
  if (m_temp.empty()) {
    int error = tempfile::Link(m_fd, m_target);
    for (int attempt = 0; error == EEXIST && attempt < 100; ++attempt) {
      const std::string name = tempfile::NewName(m_target);
      error = tempfile::Link(m_fd, name);
      if (error == 0) m_temp = name;
    }
    if (error != 0 || m_temp.empty()) return error;
  }
  if (rename(m_temp.c_str(), m_target.c_str()) != 0) return errno;
  m_temp.clear();
  return 0;
}

// A link never replaces what has the name; a rename asked not to replace does the same where
// the file system cannot link.
int PendingReplacement::PutInFreeName() {
  if (m_temp.empty()) return tempfile::Link(m_fd, m_target);
  if (renameat2(AT_FDCWD, m_temp.c_str(), AT_FDCWD, m_target.c_str(), RENAME_NOREPLACE) != 0) {
    if (errno != EINVAL && errno != ENOSYS) return errno;
    if (link(m_temp.c_str(), m_target.c_str()) != 0) return errno;
    unlink(m_temp.c_str());
  }
  m_temp.clear();
  return 0;
}

int PendingReplacement::CommitInPlace() {
  const int fd = m_inPlaceFd;
  const auto size = static_cast<off_t>(m_pending.size());
  // Room first, without changing the file: a full disk refuses before any old byte is gone.
  if (fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, size) != 0 && errno != EOPNOTSUPP && errno != EINVAL)
    return errno;
  for (size_t done = 0; done < m_pending.size();) {
    const ssize_t n =
        pwrite(fd, m_pending.data() + done, m_pending.size() - done, static_cast<off_t>(done));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return errno;
    done += static_cast<size_t>(n);
  }
  if (ftruncate(fd, size) != 0) return errno;
  if (g_commitFault == CommitFault::Sync) return EIO;
  return fsync(fd) == 0 ? 0 : errno;
}

void PendingReplacement::RunBeforeReplacing(bool inPlace) {
  auto hook = std::move(m_beforeReplacing);
  m_beforeReplacing = nullptr;
  struct stat st {};
  if (hook && (inPlace || stat(m_target.c_str(), &st) == 0)) hook(inPlace);
}

bool PendingReplacement::Commit() {
  if (!IsActive()) return Fail(EBADF);
  int error = m_failed ? m_error : 0;
  if (!error && IsInPlace()) {
    RunBeforeReplacing(true);
    auto before = std::move(m_guardBefore);
    auto after = std::move(m_guardAfter);
    if (before) error = before();
    if (!error) {
      error = CommitInPlace();
      if (after) after(error == 0);
    }
  } else if (!error) {
    if (g_commitFault == CommitFault::Sync) error = EIO;
    if (!error && fsync(m_fd) != 0) error = errno;
    if (!error) error = KeepModeAndOwner();
    if (!error) RunBeforeReplacing(false);
    if (!error) error = PutInPlace();
    if (!error) SyncDirectory(DirectoryOf(m_target));
  }
  if (error) {
    Abort();
    return Fail(error);
  }
  // The new file stayed locked until it had its name; closing it now ends the replacement.
  Abort();
  return true;
}

void PendingReplacement::Abort() {
  if (!m_temp.empty()) {
    unlink(m_temp.c_str());
    m_temp.clear();
  }
  if (m_fd >= 0) {
    close(m_fd);
    m_fd = -1;
  }
  m_inPlaceFd = -1;
  m_pending.clear();
  m_target.clear();
  m_failed = false;
  m_beforeReplacing = nullptr;
  m_guardBefore = nullptr;
  m_guardAfter = nullptr;
}

bool ReplaceFileContents(const std::string& nativeTarget, std::string_view bytes) {
  PendingReplacement replacement;
  if (!replacement.Begin(nativeTarget)) return false;
  if (!replacement.Write(bytes.data(), bytes.size())) return false;
  return replacement.Commit();
}
