// The earlier versions of a dictionary file: kept just before a save replaces the file (a hard
// link to the old file where the backups folder is on the same file system and the file is
// replaced whole, else a copy), listed newest first, and thinned after each one kept. The
// folder and the names are BackupFolder.h's. It reads no dictionary content: counts and damage
// are the caller's business (DictIo.h).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// One kept version.
struct Backup {
  std::string path;  // the file system's form
  std::int64_t timeMs = 0;
  std::uint64_t size = 0;
};

// What became of the backup of one save.
struct BackupOutcome {
  enum Kind {
    None,    // no existing file was replaced, so nothing needed keeping
    Linked,  // kept as a hard link to the replaced file
    Copied,  // kept as a copy
    Failed,  // could not be kept; error says why (the save went on)
  } kind = None;
  int error = 0;
  std::string path;
};

// Keeps the file at oldFile (the real path of a dictionary file about to be replaced) as a new
// version under root, then thins that file's versions. inPlace: the file is about to be
// rewritten in place, so the version must be a copy, on disk before this returns. Never throws.
BackupOutcome KeepBackup(const std::string& root, const std::string& oldFile, bool inPlace,
                         std::int64_t nowMs);

// The versions of the dictionary file at file kept under root, newest first.
std::vector<Backup> ListBackups(const std::string& root, const std::string& file);
// The newest of them.
std::optional<Backup> LatestBackup(const std::string& root, const std::string& file);

// Which of the versions kept at timesNewestFirst go at nowMs: all of the last 24 hours up to
// 20, then one a day for the last 14 days, one a week for the last 8 weeks and one a month for
// the last 12 months, the newest of each; older ones go. large (a file over 16 MiB): the newest
// 5 only. Indices into the list, ascending.
std::vector<size_t> BackupsToThin(const std::vector<std::int64_t>& timesNewestFirst,
                                  std::int64_t nowMs, bool large);

// Above this size only the last few versions of a file are kept.
inline constexpr std::uint64_t kLargeBackup = 16u * 1024 * 1024;
