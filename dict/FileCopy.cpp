#include "FileCopy.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "TemporaryFile.h"

namespace filecopy {

int MakeFolders(const std::string& dir) {
  for (size_t at = 1; at != std::string::npos;) {
    at = dir.find('/', at + 1);
    const std::string part = dir.substr(0, at);
    if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return errno;
  }
  struct stat st {};
  if (stat(dir.c_str(), &st) != 0) return errno;
  return S_ISDIR(st.st_mode) ? 0 : ENOTDIR;
}

int CopyBytes(int from, int to) {
  for (;;) {
    const ssize_t n = copy_file_range(from, nullptr, to, nullptr, 1 << 30, 0);
    if (n == 0) return 0;
    if (n > 0) continue;
    if (errno == EINTR) continue;
    if (errno != EXDEV && errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP) return errno;
    break;  // plain reads and writes below, from where it stopped
  }
  char buffer[1 << 16];
  for (;;) {
    const ssize_t n = read(from, buffer, sizeof buffer);
    if (n == 0) return 0;
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return errno;
    for (ssize_t done = 0; done < n;) {
      const ssize_t w = write(to, buffer + done, static_cast<size_t>(n - done));
      if (w < 0 && errno == EINTR) continue;
      if (w < 0) return errno;
      done += w;
    }
  }
}

int CreateWhole(const std::string& dest, bool sync, const std::function<int(int fd)>& fill) {
  tempfile::Created to = tempfile::Create(dest, true);
  int error = to.fd < 0 ? to.error : fill(to.fd);
  if (!error && sync && fsync(to.fd) != 0) error = errno;
  if (!error)
    error = to.path.empty() ? tempfile::Link(to.fd, dest)
                            : (rename(to.path.c_str(), dest.c_str()) == 0 ? 0 : errno);
  if (error && !to.path.empty()) unlink(to.path.c_str());
  if (to.fd >= 0) close(to.fd);
  if (!error && sync) SyncFolder(tempfile::DirectoryOf(dest));
  return error;
}

int CopyTo(const std::string& from, const std::string& dest, bool sync) {
  const int in = open(from.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (in < 0) return errno;
  const int error = CreateWhole(dest, sync, [in](int fd) { return CopyBytes(in, fd); });
  close(in);
  return error;
}

void SyncFolder(const std::string& dir) {
  const int fd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  (void)fsync(fd);
  close(fd);
}

}  // namespace filecopy
