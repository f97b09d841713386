// The versions kept of a dictionary file: how they are made, named, found and thinned; and the
// old content kept while a file is rewritten in place, put back after a rewrite cut short.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <map>

#include "BackupFolder.h"
#include "Backups.h"
#include "RewriteJournal.h"
#include "TempDir.h"

namespace {

constexpr std::int64_t kHour = 60 * 60 * 1000LL;
constexpr std::int64_t kDay = 24 * kHour;
// 2026-12-08 12:00:00 UTC, a Tuesday.
constexpr std::int64_t kNow = 1796731200000LL;

ino_t InodeOf(const std::string& path) {
  struct stat st {};
  stat(path.c_str(), &st);
  return st.st_ino;
}

TEST(BackupFolderTest, NamesAreUtcTimesThatReadBack) {
  EXPECT_EQ(backupfolder::NameAt(kNow + 7), "20261208T120000.007Z.vkd");
  EXPECT_EQ(backupfolder::TimeOf("20261208T120000.007Z.vkd"), kNow + 7);
  for (const char* other : {"20261208T120000.007Z.vkd.tmp", "20261308T120000.007Z.vkd",
                            "2026120xT120000.007Z.vkd", "20261208T120000.007Y.vkd", ""})
    EXPECT_EQ(backupfolder::TimeOf(other), std::nullopt) << other;
}

TEST(BackupFolderTest, OneFolderPerRealPath) {
  TempDir dir;
  WriteBytes(dir / "a.vkd", "x");
  std::filesystem::create_directory(dir / "sub");
  std::filesystem::create_symlink(dir / "a.vkd", dir / "sub" / "link.vkd");
  const std::string real = backupfolder::RealPath(dir.Path("a.vkd"));
  const std::string folder = backupfolder::FolderFor("/r", real);
  EXPECT_EQ(backupfolder::FolderFor("/r", backupfolder::RealPath(dir.Path("sub/link.vkd"))),
            folder);
  EXPECT_EQ(backupfolder::FolderFor("/r", backupfolder::RealPath(dir.Path("sub/../a.vkd"))),
            folder);
  EXPECT_TRUE(folder.starts_with("/r/a.vkd-")) << folder;
  EXPECT_EQ(folder.size(), std::string("/r/a.vkd-").size() + 8);
  EXPECT_NE(backupfolder::FolderFor("/r", dir.Path("b/a.vkd")), folder);
}

TEST(BackupsTest, ThinningKeepsRecentThenOnePerDayWeekAndMonth) {
  struct Case {
    const char* name;
    std::vector<std::int64_t> ages;  // newest first
    bool large;
    std::vector<size_t> gone;
  } cases[] = {
      {"all of today", {0, kHour, 23 * kHour}, false, {}},
      {"today up to 20", std::vector<std::int64_t>(22, kHour), false, {20, 21}},
      // Two days ago twice (at 08:00 and 06:00), once three days ago.
      {"one a day", {2 * kDay + 4 * kHour, 2 * kDay + 6 * kHour, 3 * kDay}, false, {1}},
      // 20 and 22 days ago lie in one week (Monday 16 to Sunday 22 November); 30 days in another.
      {"one a week", {20 * kDay, 22 * kDay, 30 * kDay}, false, {1}},
      // 100 and 110 days ago are both in August; 400 days is past a year.
      {"one a month", {100 * kDay, 110 * kDay, 400 * kDay}, false, {1, 2}},
      {"large keeps five", {0, 1, 2, 3, 4, 5, 6 * kDay}, true, {5, 6}},
      {"from the future", {-kHour}, false, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::int64_t> times;
    for (std::int64_t age : c.ages) times.push_back(kNow - age);
    EXPECT_EQ(BackupsToThin(times, kNow, c.large), c.gone);
  }
}

class KeepBackupTest : public ::testing::Test {
 public:
  std::string Root() const { return dir.Path("backups"); }
  std::string Book() const { return dir.Path("book.vkd"); }
  std::string Folder() const {
    return backupfolder::FolderFor(Root(), backupfolder::RealPath(Book()));
  }

  TempDir dir;
};

TEST_F(KeepBackupTest, ALinkOrACopyOfTheExactBytes) {
  WriteBytes(Book(), std::string("\x04name\0\0\0\0", 9));
  struct Case {
    bool inPlace;
    BackupOutcome::Kind kind;
  } cases[] = {{false, BackupOutcome::Linked}, {true, BackupOutcome::Copied}};
  std::int64_t at = kNow;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.inPlace);
    const BackupOutcome kept = KeepBackup(Root(), Book(), c.inPlace, at);
    ASSERT_EQ(kept.kind, c.kind) << kept.error;
    EXPECT_EQ(kept.path, Folder() + "/" + backupfolder::NameAt(at));
    EXPECT_EQ(ReadBytes(kept.path), ReadBytes(Book()));
    EXPECT_EQ(InodeOf(kept.path) == InodeOf(Book()), !c.inPlace);
    at += kHour;
  }
  EXPECT_EQ(ModeOf(Folder()), 0700u);
  const std::vector<Backup> all = ListBackups(Root(), Book());
  ASSERT_EQ(all.size(), 2u);
  EXPECT_EQ(all[0].timeMs, kNow + kHour);
  EXPECT_EQ(all[0].size, 9u);
  EXPECT_EQ(LatestBackup(Root(), Book())->path, all[0].path);
  // Two in one millisecond get names of their own.
  EXPECT_EQ(KeepBackup(Root(), Book(), false, kNow).path,
            Folder() + "/" + backupfolder::NameAt(kNow + 1));
}

TEST_F(KeepBackupTest, KeepingThinsDatedVersionsAndLeavesOtherFilesAlone) {
  WriteBytes(Book(), "new");
  std::filesystem::create_directories(Folder());
  for (std::int64_t age : {kHour, 2 * kDay, 2 * kDay + kHour, 500 * kDay})
    WriteBytes(Folder() + "/" + backupfolder::NameAt(kNow - age), "old");
  WriteBytes(Folder() + "/notes.txt", "mine");
  ASSERT_EQ(KeepBackup(Root(), Book(), false, kNow).kind, BackupOutcome::Linked);
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(Folder()))
    names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{backupfolder::NameAt(kNow - 2 * kDay),
                                             backupfolder::NameAt(kNow - kHour),
                                             backupfolder::NameAt(kNow), "notes.txt"}));
}

TEST_F(KeepBackupTest, AFolderThatCannotBeMadeFailsWithoutThrowing) {
  WriteBytes(Book(), "x");
  WriteBytes(dir / "file", "");
  for (const std::string& root : {dir.Path("file") + "/backups", std::string()}) {
    const BackupOutcome kept = KeepBackup(root, Book(), false, kNow);
    EXPECT_EQ(kept.kind, BackupOutcome::Failed) << root;
    EXPECT_NE(kept.error, 0);
  }
}

// A rewrite stopped at each point, as a kill would stop it, then the next open. The old content
// comes back unless the rewrite never began or the file is no longer the one rewritten.
TEST_F(KeepBackupTest, ARewriteCutShortIsRolledBackAtTheNextOpen) {
  const std::string oldBytes(7000, 'o');
  const std::string newBytes(5000, 'n');
  enum Stop {
    CopyCutShort,
    BeforeRewrite,
    MidRewrite,
    AfterRewrite,
    Done,
    WriteFailed,
    Replaced,
    HeldByAWriter
  };
  struct Case {
    const char* name;
    Stop stop;
    rewrite::Recovery::Kind kind;
    const char* after;  // "old", "new", "half" (half the new bytes over the old) or "other"
  } cases[] = {
      {"killed while copying", CopyCutShort, rewrite::Recovery::None, "old"},
      {"killed after the copy", BeforeRewrite, rewrite::Recovery::RolledBack, "old"},
      {"killed mid-rewrite", MidRewrite, rewrite::Recovery::RolledBack, "old"},
      {"killed before the record went", AfterRewrite, rewrite::Recovery::RolledBack, "old"},
      {"finished", Done, rewrite::Recovery::None, "new"},
      {"a write failed mid-rewrite", WriteFailed, rewrite::Recovery::None, "old"},
      {"replaced by another program", Replaced, rewrite::Recovery::None, "other"},
      {"still being written", HeldByAWriter, rewrite::Recovery::None, "half"},
  };
  std::string half = oldBytes;
  half.replace(0, newBytes.size() / 2, newBytes.substr(0, newBytes.size() / 2));
  const std::map<std::string, std::string> contents = {
      {"old", oldBytes}, {"new", newBytes}, {"half", half}, {"other", "other"}};
  for (bool keepVersion : {false, true}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(testing::Message() << c.name << (keepVersion ? ", backups on" : ""));
      std::filesystem::remove_all(Root());
      WriteBytes(Book(), oldBytes);
      ASSERT_EQ(rewrite::Begin(Root(), Book(), keepVersion, kNow), 0);
      EXPECT_EQ(rewrite::Begin(Root(), Book(), keepVersion, kNow), EBUSY);
      const int fd = open(Book().c_str(), O_WRONLY);
      if (c.stop == CopyCutShort) {
        for (const auto& e : std::filesystem::directory_iterator(Folder()))
          if (e.path().filename() != "rewriting") std::filesystem::resize_file(e.path(), 100);
      }
      if (c.stop == MidRewrite || c.stop == WriteFailed || c.stop == Replaced ||
          c.stop == HeldByAWriter) {
        ASSERT_EQ(pwrite(fd, newBytes.data(), newBytes.size() / 2, 0), 2500);
      }
      if (c.stop == AfterRewrite || c.stop == Done) {
        ASSERT_EQ(pwrite(fd, newBytes.data(), newBytes.size(), 0), 5000);
        ASSERT_EQ(ftruncate(fd, static_cast<off_t>(newBytes.size())), 0);
      }
      if (c.stop == Done || c.stop == WriteFailed) rewrite::End(Root(), Book(), c.stop == Done);
      if (c.stop == Replaced) {
        WriteBytes(dir / "other", "other");
        std::filesystem::rename(dir / "other", Book());
      }
      if (c.stop == HeldByAWriter) {
        ASSERT_EQ(flock(fd, LOCK_EX), 0);
      }
      EXPECT_EQ(rewrite::Recover(Root(), Book()).kind, c.kind);
      EXPECT_EQ(ReadBytes(Book()), contents.at(c.after));
      close(fd);
      // Nothing is left of the rewrite but the version kept.
      if (c.stop == HeldByAWriter) {
        EXPECT_EQ(rewrite::Recover(Root(), Book()).kind, rewrite::Recovery::RolledBack);
      }
      size_t files = 0;
      for (const auto& e : std::filesystem::directory_iterator(Folder())) files += e.exists();
      EXPECT_EQ(files, keepVersion ? 1u : 0u);
      EXPECT_EQ(ListBackups(Root(), Book()).size(), keepVersion ? 1u : 0u);
    }
  }
  // With nowhere to keep the old content, a rewrite in place is refused.
  EXPECT_EQ(rewrite::Begin(std::string(), Book(), false, kNow), EACCES);
}

}  // namespace
