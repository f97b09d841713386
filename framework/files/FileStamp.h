// CFileStamp: what tells one state of a file from another without reading it: its identity
// (device and inode), its size and its modification time. Taken after a load or a save, it lets
// the program notice that another program has written the file since. It reads nothing of the
// file's content and takes no lock.
#pragma once

#include <cstdint>

#include "CString.h"

struct CFileStamp {
  bool exists = false;
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  std::uint64_t size = 0;
  std::int64_t modifiedNs = 0;

  // The stamp of the file at path now; exists is false when it cannot be looked at.
  static CFileStamp Of(const CString& path);

  bool operator==(const CFileStamp&) const = default;
};
