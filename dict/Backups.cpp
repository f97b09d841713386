#include "Backups.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <set>
#include <system_error>

#include "BackupFolder.h"
#include "FileCopy.h"

namespace {

constexpr std::int64_t kDay = 24 * 60 * 60 * 1000LL;
constexpr int kRecentKept = 20;
constexpr int kLargeKept = 5;

// A free name for a version kept at nowMs: two saves in one millisecond get the next one.
std::string FreeName(const std::string& folder, std::int64_t nowMs) {
  for (int i = 0; i < 1000; ++i) {
    const std::string path = folder + "/" + backupfolder::NameAt(nowMs + i);
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0 && errno == ENOENT) return path;
  }
  return std::string();
}

// The versions in folder, newest first.
std::vector<Backup> ListFolder(const std::string& folder) {
  std::vector<Backup> out;
  DIR* listing = opendir(folder.c_str());
  if (!listing) return out;
  while (const dirent* entry = readdir(listing)) {
    const auto time = backupfolder::TimeOf(entry->d_name);
    if (!time) continue;
    Backup b;
    b.path = folder + "/" + entry->d_name;
    b.timeMs = *time;
    struct stat st {};
    if (stat(b.path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
    b.size = static_cast<std::uint64_t>(st.st_size);
    out.push_back(std::move(b));
  }
  closedir(listing);
  std::sort(out.begin(), out.end(),
            [](const Backup& a, const Backup& b) { return a.timeMs > b.timeMs; });
  return out;
}

void Thin(const std::string& folder, std::int64_t nowMs, bool large) {
  std::vector<Backup> kept = ListFolder(folder);
  std::vector<std::int64_t> times;
  for (const Backup& b : kept) times.push_back(b.timeMs);
  for (size_t i : BackupsToThin(times, nowMs, large)) unlink(kept[i].path.c_str());
}

std::int64_t MonthOf(std::int64_t timeMs) {
  const time_t seconds = static_cast<time_t>(timeMs / 1000);
  struct tm utc {};
  gmtime_r(&seconds, &utc);
  return static_cast<std::int64_t>(utc.tm_year) * 12 + utc.tm_mon;
}

// Floor division, for times before 1970 too.
std::int64_t DayOf(std::int64_t timeMs) {
  return timeMs >= 0 ? timeMs / kDay : -((-timeMs + kDay - 1) / kDay);
}

}  // namespace

std::vector<size_t> BackupsToThin(const std::vector<std::int64_t>& timesNewestFirst,
                                  std::int64_t nowMs, bool large) {
  std::vector<size_t> gone;
  int recent = 0;
  int keptInAll = 0;
  std::set<std::int64_t> days, weeks, months;
  for (size_t i = 0; i < timesNewestFirst.size(); ++i) {
    const std::int64_t t = timesNewestFirst[i];
    const std::int64_t age = nowMs - t;
    bool keep = false;
    if (age < kDay)
      keep = recent++ < kRecentKept;
    else if (age < 14 * kDay)
      keep = days.insert(DayOf(t)).second;
    else if (age < 56 * kDay)
      keep =
          weeks.insert((DayOf(t) + 3) / 7).second;  // weeks from Monday; 1970-01-01 was a Thursday
    else if (age < 365 * kDay)
      keep = months.insert(MonthOf(t)).second;
    if (keep && large) keep = keptInAll < kLargeKept;
    if (keep)
      ++keptInAll;
    else
      gone.push_back(i);
  }
  return gone;
}

BackupOutcome KeepBackup(const std::string& root, const std::string& oldFile, bool inPlace,
                         std::int64_t nowMs) {
  BackupOutcome out;
  out.kind = BackupOutcome::Failed;
  try {
    if (root.empty()) {
      out.error = ENOENT;
      return out;
    }
    const std::string real = backupfolder::RealPath(oldFile);
    const std::string folder = backupfolder::FolderFor(root, real);
    struct stat st {};
    if (stat(real.c_str(), &st) != 0) {
      out.error = errno;
      return out;
    }
    out.error = filecopy::MakeFolders(folder);
    if (out.error) return out;
    out.path = FreeName(folder, nowMs);
    if (out.path.empty()) {
      out.error = EEXIST;
      return out;
    }
    // A link would be rewritten with the file itself.
    if (!inPlace && link(real.c_str(), out.path.c_str()) == 0) {
      out.kind = BackupOutcome::Linked;
    } else {
      out.error = filecopy::CopyTo(real, out.path, inPlace);
      if (out.error) return out;
      out.kind = BackupOutcome::Copied;
    }
    out.error = 0;
    Thin(folder, nowMs, static_cast<std::uint64_t>(st.st_size) > kLargeBackup);
  } catch (const std::exception&) {
    out.kind = BackupOutcome::Failed;
    out.error = ENOMEM;
  }
  return out;
}

std::vector<Backup> ListBackups(const std::string& root, const std::string& file) {
  if (root.empty()) return {};
  return ListFolder(backupfolder::FolderFor(root, backupfolder::RealPath(file)));
}

std::optional<Backup> LatestBackup(const std::string& root, const std::string& file) {
  std::vector<Backup> all = ListBackups(root, file);
  if (all.empty()) return std::nullopt;
  return all.front();
}
