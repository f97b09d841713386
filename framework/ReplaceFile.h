// PendingReplacement: replaces a file's content atomically. The new bytes go to a temporary file
// beside the target, which Commit flushes to disk and renames over the target; until then the old
// file is untouched, and Abort (or the destructor) removes the temporary file. It does no locking
// and no permission policy of its own beyond keeping the target's mode: callers decide who may
// replace what.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

class PendingReplacement {
 public:
  PendingReplacement() = default;
  ~PendingReplacement() { Abort(); }
  PendingReplacement(const PendingReplacement&) = delete;
  PendingReplacement& operator=(const PendingReplacement&) = delete;

  // Creates the temporary file (mode 0600) in the directory of the target. A symbolic link is
  // followed to the file it names, so the link itself survives the replacement. False (with
  // LastError set) when the directory is missing or not writable.
  bool Begin(const std::string& nativeTarget);
  // Appends bytes to the temporary file. False on a write error (a full disk, say); the
  // replacement can then only be aborted.
  bool Write(const void* data, size_t size);
  // Flushes the temporary file, gives it the target's permission bits (or 0666 less the umask
  // for a new file), renames it over the target and flushes the directory. False when any of
  // that fails before the rename took effect: the old file is then intact and the temporary
  // file removed.
  bool Commit();
  // Removes the temporary file; the target stays as it was. Safe to call at any time.
  void Abort();

  bool IsActive() const { return m_fd >= 0; }
  // The file that Commit replaces: the target with symbolic links followed.
  const std::string& Target() const { return m_target; }
  const std::string& TempPath() const { return m_temp; }
  // The errno of the last failure.
  int LastError() const { return m_error; }

  // Test seams, process-wide. A write limit makes writes fail with ENOSPC once a replacement
  // has received that many bytes (the part that fits is written, as on a full disk); nullopt
  // lifts it. A commit fault makes the next commits fail at the given step.
  enum class CommitFault { None, Sync, Rename };
  static void SetWriteLimitForTesting(std::optional<std::uint64_t> bytes);
  static void SetCommitFaultForTesting(CommitFault fault);

 private:
  bool Fail(int error);

  int m_fd = -1;
  std::string m_target;
  std::string m_temp;
  std::uint64_t m_written = 0;
  bool m_failed = false;
  int m_error = 0;
};

// Replaces the file at nativeTarget with bytes, atomically. False when anything fails, and then
// the old file is as it was.
bool ReplaceFileContents(const std::string& nativeTarget, std::string_view bytes);
