// A file rewritten in place survives the rewrite being cut short: before the first old byte is
// overwritten, the old content is copied into the file's backups folder (BackupFolder.h) and a
// record of the rewrite is put beside the copy, both on disk; once the new content is on disk
// the record goes. An open that finds a record left behind puts the old content back first, as
// a database rolls back a hot journal. It knows nothing of what the bytes mean.
#pragma once

#include <cstdint>
#include <string>

#include "Backups.h"

class CFile;

namespace rewrite {

// Before the file at file (a dictionary file about to be rewritten in place) is touched: keeps
// its old content under root, as a kept version when keepVersion (which *kept, when given, then
// describes), else as a copy that End removes, and records the rewrite. 0, or the errno that
// must stop the rewrite: EACCES with no root (nowhere to keep it), EBUSY while a record of an
// earlier rewrite is still there, else why the copy or the record could not be made.
int Begin(const std::string& root, const std::string& file, bool keepVersion, std::int64_t nowMs,
          BackupOutcome* kept = nullptr);

// After the rewrite that Begin recorded: done (the new content is whole and on disk) drops the
// record and a copy that is no version; otherwise the old content is put back at once.
void End(const std::string& root, const std::string& file, bool done);

// What an open found of an earlier rewrite of its file.
struct Recovery {
  enum Kind {
    None,        // no unfinished rewrite (or one that is not this file's any more: forgotten)
    RolledBack,  // the rewrite was cut short, and the old content is back
    Failed,      // the rewrite was cut short and the old content could not be put back
  } kind = None;
  int error = 0;  // Failed: why
};

// Before the file at file is opened: rolls back a rewrite of it that was cut short. A record
// whose copy is not whole (the rewrite never began) or whose file has been replaced by another
// since is dropped and the file left as it is; a file that someone holds locked is being
// written right now and is left alone. Never throws.
Recovery Recover(const std::string& root, const std::string& file);

}  // namespace rewrite

// Makes file, just opened for writing, safe to save: when Close rewrites it in place, the
// rewrite is recorded and the old content kept first (rewrite::Begin, which may refuse it), and
// when Close replaces it whole, the version it replaces is kept under root if keep is given.
// *keep (when given, and it must outlive the Close) says how keeping the version went; a
// version that cannot be kept fails only a rewrite in place, never a whole replacement.
void GuardSaveAtClose(CFile& file, const std::string& root, BackupOutcome* keep);
