#include "TemporaryFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <random>
#include <string_view>

namespace tempfile {
namespace {

constexpr std::string_view kTagChars =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
constexpr size_t kTagSize = 6;
constexpr std::string_view kSuffix = ".tmp";

std::string BaseNameOf(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// ".NAME." with the name cut so that the whole temporary name stays within NAME_MAX.
std::string Prefix(const std::string& target) {
  return "." + BaseNameOf(target).substr(0, 200) + ".";
}

bool SameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

bool LockNow(int fd) {
  while (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    if (errno != EINTR) return false;
  }
  return true;
}

// A named file that is ours: created, locked, and still the file of that name (a cleaner may
// have taken it between the creation and the lock).
int CreateNamed(const std::string& path) {
  const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) return -1;
  struct stat mine {};
  struct stat named {};
  if (LockNow(fd) && fstat(fd, &mine) == 0 && lstat(path.c_str(), &named) == 0 &&
      SameFile(mine, named)) {
    return fd;
  }
  close(fd);
  errno = EEXIST;  // try another name
  return -1;
}

bool IsTemporaryOf(std::string_view name, std::string_view prefix) {
  if (name.size() != prefix.size() + kTagSize + kSuffix.size()) return false;
  if (!name.starts_with(prefix) || !name.ends_with(kSuffix)) return false;
  const std::string_view tag = name.substr(prefix.size(), kTagSize);
  return tag.find_first_not_of(kTagChars) == std::string_view::npos;
}

// Unlinks path when it is a regular file that nobody holds locked.
void RemoveIfStale(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK | O_NOFOLLOW);
  if (fd < 0) return;
  struct stat st {};
  struct stat now {};
  if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && LockNow(fd) && lstat(path.c_str(), &now) == 0 &&
      SameFile(st, now)) {
    unlink(path.c_str());
  }
  close(fd);
}

}  // namespace

std::string DirectoryOf(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string NewName(const std::string& target) {
  thread_local std::mt19937_64 random{std::random_device{}()};
  std::string tag(kTagSize, ' ');
  for (char& c : tag) c = kTagChars[random() % kTagChars.size()];
  return DirectoryOf(target) + "/" + Prefix(target) + tag + std::string(kSuffix);
}

Created Create(const std::string& target, bool allowUnnamed) {
  // An unnamed file gets its name through /proc (see Link); without it, a named file it is.
  static const bool procFd = access("/proc/self/fd", F_OK) == 0;
  Created made;
  if (allowUnnamed && procFd) {
    made.fd = open(DirectoryOf(target).c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (made.fd >= 0 && LockNow(made.fd)) return made;
    made.error = errno;
    if (made.fd >= 0) close(made.fd);
    made.fd = -1;
    // Older kernels say EISDIR, file systems without unnamed files EOPNOTSUPP.
    if (made.error != EOPNOTSUPP && made.error != EISDIR && made.error != EINVAL) return made;
  }
  for (int attempt = 0; attempt < 100; ++attempt) {
    made.path = NewName(target);
    made.fd = CreateNamed(made.path);
    if (made.fd >= 0) {
      made.error = 0;
      return made;
    }
    made.error = errno;
    if (made.error != EEXIST) break;
  }
  made.path.clear();
  return made;
}

int Link(int fd, const std::string& path) {
  // Through /proc, as linking a descriptor itself (AT_EMPTY_PATH) needs a privilege.
  const std::string self = "/proc/self/fd/" + std::to_string(fd);
  if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0) return 0;
  if (errno != ENOENT) return errno;
  if (linkat(fd, "", AT_FDCWD, path.c_str(), AT_EMPTY_PATH) == 0) return 0;
  return errno;
}

void RemoveStaleTemporaries(const std::string& target) {
  const std::string dir = DirectoryOf(target);
  const std::string prefix = Prefix(target);
  DIR* listing = opendir(dir.c_str());
  if (!listing) return;
  while (const dirent* entry = readdir(listing)) {
    if (IsTemporaryOf(entry->d_name, prefix)) RemoveIfStale(dir + "/" + entry->d_name);
  }
  closedir(listing);
}

}  // namespace tempfile
