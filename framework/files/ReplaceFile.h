// PendingReplacement: replaces a file's content atomically. The new bytes go to a new file in
// the target's directory (unnamed where the file system allows it, see TemporaryFile.h), which
// Commit flushes to disk and gives the target's name; until then the old file is untouched, and
// Abort (or the destructor) discards the new content. A replacement that is killed leaves
// nothing, or a temporary file that the next replacement of the same target removes. Where the
// directory refuses new files, an already open target can instead be rewritten in place. It
// does no locking of the target and no permission policy of its own beyond keeping the target's
// mode and owner: callers decide who may replace what.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "TextBuffer.h"

class PendingReplacement {
 public:
  PendingReplacement() = default;
  ~PendingReplacement() { Abort(); }
  PendingReplacement(const PendingReplacement&) = delete;
  PendingReplacement& operator=(const PendingReplacement&) = delete;

  // Creates the new file in the directory of the target. A symbolic link is followed to the
  // file it names, so the link itself survives the replacement. False (with LastError set) when
  // the directory is missing, refuses new files or has no write permission bit at all (a
  // read-only directory, refused even for root as a read-only file is).
  bool Begin(const std::string& nativeTarget);
  // Instead of a new file: Commit rewrites the open regular file fd itself (write, fsync),
  // keeping everything about it but its content. The bytes wait in memory until then, and
  // Commit first makes room for them, so a failure before or at that point leaves the old
  // content whole. fd stays the caller's and must be open for writing.
  bool BeginInPlace(int fd);
  // Commit then gives the new file the target's name only while that name is still free, and
  // fails with EEXIST when something has taken it meanwhile. For a new file only.
  void KeepExisting() { m_keepExisting = true; }
  bool KeepsExisting() const { return m_keepExisting; }
  // Appends bytes to the new content. False on a write error (a full disk, say); the
  // replacement can then only be aborted.
  bool Write(const void* data, size_t size);
  // Writes bytes over part of the new content already written (a count known only at the end,
  // say). False when they would reach past what was written, or on a write error.
  bool Overwrite(std::uint64_t offset, const void* data, size_t size);
  // Flushes the new file, gives it the target's permission bits and owner where permitted (or
  // 0666 less the umask for a new file), puts it in the target's place and flushes the
  // directory. False when any of that fails before the new file took the target's place: the
  // old file is then intact and the new content discarded.
  bool Commit();
  // Discards the new content; the target stays as it was. Safe to call at any time.
  void Abort();
  // Runs once in the next Commit, when the target exists: after the new content is complete and
  // on disk and before it takes the target's name, or, in place, before the first old byte is
  // overwritten. The old file is whole meanwhile. It gets whether the rewrite is in place; it
  // must not throw, and its outcome does not change the commit's.
  void BeforeReplacing(std::function<void(bool inPlace)> hook) {
    m_beforeReplacing = std::move(hook);
  }
  // In place only, once in the next Commit: before runs after the BeforeReplacing hook and just
  // before the first old byte is overwritten, and an error it returns (an errno) fails the
  // commit with the old content untouched; after runs when the rewrite is over, done when the
  // whole new content is on disk, else it stopped part-way. Neither may throw.
  void GuardInPlace(std::function<int()> before, std::function<void(bool done)> after) {
    m_guardBefore = std::move(before);
    m_guardAfter = std::move(after);
  }

  bool IsActive() const { return m_fd >= 0 || m_inPlaceFd >= 0; }
  bool IsInPlace() const { return m_inPlaceFd >= 0; }
  // The file that Commit replaces: the target with symbolic links followed.
  const std::string& Target() const { return m_target; }
  // The new file's name beside the target; empty while it is unnamed.
  const std::string& TempPath() const { return m_temp; }
  // The errno of the last failure.
  int LastError() const { return m_error; }

  // Test seams, process-wide. A write limit makes writes fail with ENOSPC once a replacement
  // has received that many bytes (the part that fits is written, as on a full disk); nullopt
  // lifts it. A commit fault makes the next commits fail at the given step. Without unnamed
  // files every replacement uses a named temporary file, as on file systems that lack them.
  enum class CommitFault { None, Sync, Rename };
  static void SetWriteLimitForTesting(std::optional<std::uint64_t> bytes);
  static void SetCommitFaultForTesting(CommitFault fault);
  static void SetUnnamedFilesForTesting(bool allowed);

 private:
  bool Fail(int error);
  bool Room(size_t size, size_t& allowed);
  int KeepModeAndOwner();
  int PutInPlace();
  int PutInFreeName();
  int CommitInPlace();
  void RunBeforeReplacing(bool inPlace);

  int m_fd = -1;         // the new file
  int m_inPlaceFd = -1;  // the target itself, when rewritten in place (not ours to close)
  TextBuffer m_pending;  // in place: the new content until Commit
  std::string m_target;
  std::string m_temp;
  std::uint64_t m_written = 0;
  bool m_failed = false;
  bool m_keepExisting = false;
  int m_error = 0;
  std::function<void(bool)> m_beforeReplacing;
  std::function<int()> m_guardBefore;
  std::function<void(bool)> m_guardAfter;
};

// Replaces the file at nativeTarget with bytes, atomically. False when anything fails, and then
// the old file is as it was.
bool ReplaceFileContents(const std::string& nativeTarget, std::string_view bytes);
