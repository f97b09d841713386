#include "RewriteJournal.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <optional>
#include <string_view>

#include "BackupFolder.h"
#include "File.h"
#include "FileCopy.h"
#include "TemporaryFile.h"

namespace rewrite {
namespace {

constexpr char kMagic[] = "vokari rewrite 1\n";
constexpr char kRecordName[] = "rewriting";
constexpr char kCopyName[] = "rewriting.vkd";  // not a version's name, so never listed as one

// What a record says: which file, as it was before the rewrite, and where its old content is.
struct Record {
  std::uint64_t size = 0;
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  std::string copy;  // a name in the record's folder
  std::string target;
};

struct Place {
  std::string real;
  std::string folder;
  std::string Record() const { return folder + "/" + kRecordName; }
};

Place PlaceOf(const std::string& root, const std::string& file) {
  Place p;
  p.real = backupfolder::RealPath(file);
  p.folder = backupfolder::FolderFor(root, p.real);
  return p;
}

std::string Format(const Record& r) {
  return std::string(kMagic) + "size " + std::to_string(r.size) + "\ndevice " +
         std::to_string(r.device) + "\ninode " + std::to_string(r.inode) + "\ncopy " + r.copy +
         "\ntarget " + r.target;
}

// One "key value" line of text at at, moving at past it.
bool Field(std::string_view text, size_t& at, std::string_view key, std::string_view& value) {
  const size_t end = text.find('\n', at);
  if (end == std::string_view::npos || text.substr(at, key.size() + 1) != std::string(key) + " ")
    return false;
  value = text.substr(at + key.size() + 1, end - at - key.size() - 1);
  at = end + 1;
  return true;
}

bool Number(std::string_view text, size_t& at, std::string_view key, std::uint64_t& n) {
  std::string_view v;
  if (!Field(text, at, key, v)) return false;
  const auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), n);
  return ec == std::errc() && end == v.data() + v.size();
}

// The target's path is last and runs to the end: a path may hold any byte but NUL.
std::optional<Record> Parse(std::string_view text) {
  Record r;
  std::string_view copy;
  size_t at = sizeof kMagic - 1;
  if (!text.starts_with(kMagic) || !Number(text, at, "size", r.size) ||
      !Number(text, at, "device", r.device) || !Number(text, at, "inode", r.inode) ||
      !Field(text, at, "copy", copy) || copy.empty() || copy.find('/') != std::string_view::npos ||
      text.substr(at, 7) != "target ")
    return std::nullopt;
  r.copy = copy;
  r.target = text.substr(at + 7);
  return r;
}

std::optional<Record> ReadRecord(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) return std::nullopt;
  std::string text;
  char buffer[4096];
  for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0 && text.size() < 65536;)
    text.append(buffer, static_cast<size_t>(n));
  close(fd);
  return Parse(text);
}

// Written whole under its name or not at all, and on disk before it returns.
int WriteRecord(const std::string& path, const Record& r) {
  const std::string text = Format(r);
  return filecopy::CreateWhole(path, true, [&text](int fd) {
    return write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size())
               ? 0
               : (errno ? errno : EIO);
  });
}

// The record goes first: a copy without a record is only a stray file, never a rollback.
void Drop(const Place& p, const Record& r) {
  unlink(p.Record().c_str());
  filecopy::SyncFolder(p.folder);
  if (r.copy == kCopyName) unlink((p.folder + "/" + r.copy).c_str());
}

// Puts the recorded old content back into fd (the target, open for writing and ours alone).
Recovery Settle(const Place& p, int fd) {
  Recovery out;
  const auto record = ReadRecord(p.Record());
  if (!record || record->target != p.real) return out;  // another file's, by the hash
  struct stat st {};
  if (fstat(fd, &st) != 0) return {Recovery::Failed, errno};
  const int copy = open((p.folder + "/" + record->copy).c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
  struct stat kept {};
  const bool whole = copy >= 0 && fstat(copy, &kept) == 0 &&
                     static_cast<std::uint64_t>(kept.st_size) == record->size;
  // Another file under the name now, or a copy cut short (the rewrite never began): the file
  // is what someone made it, and is left so.
  if (st.st_dev != record->device || st.st_ino != record->inode || !whole) {
    if (copy >= 0) close(copy);
    Drop(p, *record);
    return out;
  }
  int error = lseek(fd, 0, SEEK_SET) == 0 ? filecopy::CopyBytes(copy, fd) : errno;
  close(copy);
  if (!error && ftruncate(fd, static_cast<off_t>(record->size)) != 0) error = errno;
  if (!error && fsync(fd) != 0) error = errno;
  if (error) return {Recovery::Failed, error};
  Drop(p, *record);
  return {Recovery::RolledBack, 0};
}

}  // namespace

int Begin(const std::string& root, const std::string& file, bool keepVersion, std::int64_t nowMs,
          BackupOutcome* kept) {
  if (kept) *kept = BackupOutcome{BackupOutcome::Failed, EACCES, {}};
  if (root.empty()) return EACCES;
  try {
    const Place p = PlaceOf(root, file);
    struct stat st {};
    if (lstat(p.Record().c_str(), &st) == 0) return EBUSY;
    if (stat(p.real.c_str(), &st) != 0) return errno;
    Record r{static_cast<std::uint64_t>(st.st_size), static_cast<std::uint64_t>(st.st_dev),
             static_cast<std::uint64_t>(st.st_ino), kCopyName, p.real};
    if (keepVersion) {
      const BackupOutcome outcome = KeepBackup(root, p.real, true, nowMs);
      if (kept) *kept = outcome;
      if (outcome.kind != BackupOutcome::Copied) return outcome.error ? outcome.error : EIO;
      r.copy = outcome.path.substr(outcome.path.rfind('/') + 1);
    } else if (const int error = filecopy::MakeFolders(p.folder)) {
      return error;
    } else if (const int copied = filecopy::CopyTo(p.real, p.folder + "/" + kCopyName, true)) {
      return copied;
    }
    // A folder made just now must be found again after the machine stops, too.
    filecopy::SyncFolder(root);
    filecopy::SyncFolder(tempfile::DirectoryOf(root));
    return WriteRecord(p.Record(), r);
  } catch (const std::exception&) {
    return ENOMEM;
  }
}

void End(const std::string& root, const std::string& file, bool done) {
  try {
    const Place p = PlaceOf(root, file);
    const auto record = ReadRecord(p.Record());
    if (!record || record->target != p.real) return;
    if (done) return Drop(p, *record);
    // The writer holds the file's lock, so its own second descriptor may write.
    const int fd = open(p.real.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return;
    Settle(p, fd);
    close(fd);
  } catch (const std::exception&) {
  }
}

Recovery Recover(const std::string& root, const std::string& file) {
  if (root.empty()) return {};
  try {
    const Place p = PlaceOf(root, file);
    struct stat st {};
    if (lstat(p.Record().c_str(), &st) != 0) return {};
    const int fd = open(p.real.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return errno == ENOENT ? Recovery{} : Recovery{Recovery::Failed, errno};
    Recovery out;
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && flock(fd, LOCK_EX | LOCK_NB) == 0)
      out = Settle(p, fd);
    close(fd);  // drops the lock
    return out;
  } catch (const std::exception&) {
    return {Recovery::Failed, ENOMEM};
  }
}

}  // namespace rewrite

void GuardSaveAtClose(CFile& file, const std::string& root, BackupOutcome* keep) {
  if (keep) *keep = BackupOutcome();
  file.BeforeReplacing([root, keep](const std::string& oldPath, bool inPlace) {
    if (keep && !inPlace) *keep = KeepBackup(root, oldPath, false, backupfolder::NowMs());
  });
  file.GuardInPlace(
      [root, keep](const std::string& path) {
        return rewrite::Begin(root, path, keep != nullptr, backupfolder::NowMs(), keep);
      },
      [root](const std::string& path, bool done) { rewrite::End(root, path, done); });
}
