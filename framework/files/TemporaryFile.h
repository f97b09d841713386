// The new file of a replacement, in the directory of the file it replaces: unnamed (O_TMPFILE)
// where the file system allows it, else named ".NAME.XXXXXX.tmp". It is locked from its creation
// on, so a temporary file that nobody holds locked is known to be left over from a replacement
// that was killed, and RemoveStaleTemporaries removes those of one target. These functions know
// nothing of what is written into the file or of the file it replaces.
#pragma once

#include <string>

namespace tempfile {

struct Created {
  int fd = -1;       // open for writing and locked; -1 on failure
  std::string path;  // empty for an unnamed file
  int error = 0;     // errno on failure
};

// Creates the new file for target (a path whose directory exists) with mode 0600.
Created Create(const std::string& target, bool allowUnnamed);

// Gives the unnamed file fd the name path; fails with EEXIST when path exists. 0 or an errno.
int Link(int fd, const std::string& path);

// A fresh temporary name for target, as Create would use.
std::string NewName(const std::string& target);

// Removes the temporary files of target that no live replacement holds.
void RemoveStaleTemporaries(const std::string& target);

std::string DirectoryOf(const std::string& path);

}  // namespace tempfile
