#include "FileStamp.h"

#include <sys/stat.h>

#include "NativePath.h"

CFileStamp CFileStamp::Of(const CString& path) {
  CFileStamp stamp;
  const auto native = ToNativePath(path);
  struct stat st {};
  if (!native || stat(native->c_str(), &st) != 0) return stamp;
  stamp.exists = true;
  stamp.device = st.st_dev;
  stamp.inode = st.st_ino;
  stamp.size = static_cast<std::uint64_t>(st.st_size);
  stamp.modifiedNs = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  return stamp;
}
