#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "ReplaceFile.h"
#include "TempDir.h"

namespace {

namespace fs = std::filesystem;

// Clears the process-wide fault seams whatever a test did.
struct NoFaults {
  ~NoFaults() {
    PendingReplacement::SetWriteLimitForTesting(std::nullopt);
    PendingReplacement::SetCommitFaultForTesting(PendingReplacement::CommitFault::None);
  }
};

TEST(ReplaceFile, PermissionsOfReplacedAndNewFiles) {
  struct Case {
    const char* what;
    bool exists;
    mode_t oldMode;
    mode_t umaskBits;
    mode_t expected;
  } cases[] = {
      {"existing 0640 keeps its mode", true, 0640, 022, 0640},
      {"existing 0755 keeps its mode", true, 0755, 077, 0755},
      {"existing 0604 keeps its mode", true, 0604, 022, 0604},
      {"new file under umask 022", false, 0, 022, 0644},
      {"new file under umask 077", false, 0, 077, 0600},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    const std::string target = dir.Path("book.vkd");
    if (c.exists) {
      WriteBytes(target, "old");
      chmod(target.c_str(), c.oldMode);
    }
    const mode_t saved = umask(c.umaskBits);
    ASSERT_TRUE(ReplaceFileContents(target, "new content"));
    umask(saved);
    EXPECT_EQ(ReadBytes(target), "new content");
    EXPECT_EQ(ModeOf(target), c.expected);
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"book.vkd"});
  }
}

TEST(ReplaceFile, TemporaryFileIsPrivateAndBesideTheTarget) {
  TempDir dir;
  const std::string target = dir.Path("book.vkd");
  WriteBytes(target, "old");
  chmod(target.c_str(), 0644);
  PendingReplacement r;
  ASSERT_TRUE(r.Begin(target));
  EXPECT_EQ(fs::path(r.TempPath()).parent_path(), dir.path());
  EXPECT_EQ(ModeOf(r.TempPath()), 0600u);
  ASSERT_TRUE(r.Write("abc", 3));
  EXPECT_EQ(ReadBytes(target), "old");  // nothing reaches the target before the commit
  ASSERT_TRUE(r.Commit());
  EXPECT_EQ(ReadBytes(target), "abc");
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"book.vkd"});
}

TEST(ReplaceFile, FailuresLeaveTheOldFileAndNoTemporaryFile) {
  NoFaults guard;
  const std::string oldBytes(10000, 'o');
  const std::string newBytes(20000, 'n');
  struct Case {
    const char* what;
    std::optional<std::uint64_t> writeLimit;
    PendingReplacement::CommitFault fault;
    bool writeFails;
  } cases[] = {
      {"disk full at the first byte", 0, PendingReplacement::CommitFault::None, true},
      {"disk full half-way", 12345, PendingReplacement::CommitFault::None, true},
      {"disk full one byte short", 19999, PendingReplacement::CommitFault::None, true},
      {"flush to disk fails", std::nullopt, PendingReplacement::CommitFault::Sync, false},
      {"rename fails", std::nullopt, PendingReplacement::CommitFault::Rename, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    const std::string target = dir.Path("book.vkd");
    WriteBytes(target, oldBytes);
    chmod(target.c_str(), 0640);
    PendingReplacement::SetWriteLimitForTesting(c.writeLimit);
    PendingReplacement::SetCommitFaultForTesting(c.fault);
    PendingReplacement r;
    ASSERT_TRUE(r.Begin(target));
    EXPECT_EQ(r.Write(newBytes.data(), newBytes.size()), !c.writeFails);
    if (c.writeFails) {
      EXPECT_EQ(r.LastError(), ENOSPC);
      EXPECT_FALSE(r.Write("x", 1));  // a failed replacement stays failed
    }
    EXPECT_FALSE(r.Commit());
    EXPECT_EQ(ReadBytes(target), oldBytes);
    EXPECT_EQ(ModeOf(target), 0640u);
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"book.vkd"});
    PendingReplacement::SetWriteLimitForTesting(std::nullopt);
    PendingReplacement::SetCommitFaultForTesting(PendingReplacement::CommitFault::None);
  }
}

TEST(ReplaceFile, AbortAndDestructorRemoveTheTemporaryFile) {
  TempDir dir;
  const std::string target = dir.Path("book.vkd");
  WriteBytes(target, "old");
  {
    PendingReplacement r;
    ASSERT_TRUE(r.Begin(target));
    ASSERT_TRUE(r.Write("new", 3));
    EXPECT_EQ(dir.Entries().size(), 2u);
  }
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"book.vkd"});
  PendingReplacement r;
  ASSERT_TRUE(r.Begin(target));
  r.Abort();
  EXPECT_FALSE(r.Commit());
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"book.vkd"});
  EXPECT_EQ(ReadBytes(target), "old");
}

TEST(ReplaceFile, SymbolicLinksStayLinks) {
  struct Case {
    const char* what;
    const char* linkText;  // relative to the link's directory unless absolute
    bool targetExists;
  } cases[] = {
      {"relative link to an existing file", "real/book.vkd", true},
      {"link to a link", "hop", true},
      {"dangling link creates the file it names", "real/book.vkd", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    fs::create_directory(dir.path() / "real");
    const std::string real = dir.Path("real/book.vkd");
    if (c.targetExists) {
      WriteBytes(real, "old");
      chmod(real.c_str(), 0600);
    }
    fs::create_symlink("real/book.vkd", dir.path() / "hop");
    fs::create_symlink(c.linkText, dir.path() / "link.vkd");
    ASSERT_TRUE(ReplaceFileContents(dir.Path("link.vkd"), "new"));
    EXPECT_TRUE(fs::is_symlink(dir.path() / "link.vkd"));
    EXPECT_EQ(fs::read_symlink(dir.path() / "link.vkd"), c.linkText);
    EXPECT_EQ(ReadBytes(real), "new");
    if (c.targetExists) {
      EXPECT_EQ(ModeOf(real), 0600u);
    }
    EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"hop", "link.vkd", "real"}));
  }
}

TEST(ReplaceFile, MissingDirectoryFailsAtBegin) {
  TempDir dir;
  PendingReplacement r;
  EXPECT_FALSE(r.Begin(dir.Path("no/such/dir/book.vkd")));
  EXPECT_EQ(r.LastError(), ENOENT);
  EXPECT_FALSE(r.Begin(""));
  EXPECT_FALSE(fs::exists(dir.path() / "no"));
}

}  // namespace
