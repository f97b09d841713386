// Copying a file's bytes into the backups folder, for the versions kept and for the old content
// of a file being rewritten in place: folders made private to the user, copies that take their
// name only when complete, and flushing to disk. It knows nothing of what the bytes mean.
#pragma once

#include <functional>
#include <string>

namespace filecopy {

// Creates dir and its parents, private to the user. 0 or an errno.
int MakeFolders(const std::string& dir);

// Copies the rest of from to to, from where each stands. 0 or an errno.
int CopyBytes(int from, int to);

// Makes a new file at dest with what fill writes to its descriptor (0 or an errno), through a
// file that takes dest's name only when complete, so a half-written file is never found under
// that name. sync: the file and dest's folder are on disk before it returns. 0 or an errno.
int CreateWhole(const std::string& dest, bool sync, const std::function<int(int fd)>& fill);

// Copies the file at from to dest through a new file that takes dest's name only when
// complete, so a half copy is never found under that name. sync: the copy and dest's folder are
// on disk before it returns. 0 or an errno.
int CopyTo(const std::string& from, const std::string& dest, bool sync);

// Flushes the folder's entries to disk; best effort, as some file systems cannot.
void SyncFolder(const std::string& dir);

}  // namespace filecopy
