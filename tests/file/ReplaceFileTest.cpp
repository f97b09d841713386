#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
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
    PendingReplacement::SetUnnamedFilesForTesting(true);
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

// Where the file system allows, the new content is written unseen; elsewhere into a private
// temporary file beside the target. Either way nothing reaches the target before the commit.
TEST(ReplaceFile, NewContentIsUnseenOrPrivateUntilTheCommit) {
  NoFaults guard;
  for (bool unnamed : {true, false}) {
    SCOPED_TRACE(unnamed ? "unnamed" : "named");
    PendingReplacement::SetUnnamedFilesForTesting(unnamed);
    TempDir dir;
    const std::string target = dir.Path("book.vkd");
    WriteBytes(target, "old");
    chmod(target.c_str(), 0644);
    PendingReplacement r;
    ASSERT_TRUE(r.Begin(target));
    ASSERT_TRUE(r.Write("abc", 3));
    EXPECT_FALSE(r.Overwrite(2, "CD", 2));  // only over what was written
    ASSERT_TRUE(r.Overwrite(0, "A", 1));
    if (unnamed) {
      EXPECT_EQ(r.TempPath(), "");
      EXPECT_EQ(dir.Entries(), std::vector<std::string>{"book.vkd"});
    } else {
      EXPECT_EQ(fs::path(r.TempPath()).parent_path(), dir.path());
      EXPECT_EQ(ModeOf(r.TempPath()), 0600u);
    }
    EXPECT_EQ(ReadBytes(target), "old");
    ASSERT_TRUE(r.Commit());
    EXPECT_EQ(ReadBytes(target), "Abc");
    EXPECT_EQ(ModeOf(target), 0644u);
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"book.vkd"});
  }
}

// A new file that must stay new takes its name only while the name is free: what another
// program put there meanwhile is kept, and the new content goes.
TEST(ReplaceFile, ANewFileThatMustStayNewNeverReplaces) {
  NoFaults guard;
  for (bool unnamed : {true, false}) {
    for (bool taken : {false, true}) {
      SCOPED_TRACE(std::string(unnamed ? "unnamed" : "named") + (taken ? ", taken" : ", free"));
      PendingReplacement::SetUnnamedFilesForTesting(unnamed);
      TempDir dir;
      const std::string target = dir.Path("new.vkd");
      PendingReplacement r;
      r.KeepExisting();
      ASSERT_TRUE(r.Begin(target));
      ASSERT_TRUE(r.Write("mine", 4));
      if (taken) WriteBytes(target, "theirs");
      EXPECT_EQ(r.Commit(), !taken);
      if (taken) {
        EXPECT_EQ(r.LastError(), EEXIST);
      }
      EXPECT_EQ(ReadBytes(target), taken ? "theirs" : "mine");
      EXPECT_EQ(dir.Entries(), std::vector<std::string>{"new.vkd"});
    }
  }
}

// A replacement killed while writing leaves nothing where the file system has unnamed files;
// elsewhere its temporary file goes at the next replacement of the same target, and nothing
// else does: not a live replacement's, not another target's, not the user's own files.
TEST(ReplaceFile, AKilledReplacementLeavesNothingBehind) {
  NoFaults guard;
  for (bool unnamed : {true, false}) {
    SCOPED_TRACE(unnamed ? "unnamed" : "named");
    PendingReplacement::SetUnnamedFilesForTesting(unnamed);
    TempDir dir;
    const std::string target = dir.Path("book.vkd");
    WriteBytes(target, "old");
    const std::vector<std::string> others = {".book.vkd.backup", ".other.vkd.Ab12Cd.tmp"};
    for (const auto& name : others) WriteBytes(dir.Path(name), "keep");
    PendingReplacement live;  // a replacement in progress, here: its temporary file is locked
    ASSERT_TRUE(live.Begin(target));
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {  // dies half-way through, as under kill -9: no destructor runs
      PendingReplacement r;
      _exit(r.Begin(target) && r.Write("half", 4) ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_EQ(status, 0);
    EXPECT_EQ(dir.Entries().size(), 1 + others.size() + (unnamed ? 0 : 2));
    ASSERT_TRUE(ReplaceFileContents(target, "new"));
    EXPECT_EQ(ReadBytes(target), "new");
    EXPECT_EQ(dir.Entries().size(), 1 + others.size() + (unnamed ? 0 : 1));  // the live one's
    live.Abort();
    EXPECT_EQ(dir.Entries().size(), 1 + others.size());
    for (const auto& name : others) EXPECT_EQ(ReadBytes(dir.Path(name)), "keep");
  }
}

// A folder that refuses new files still lets an open file be rewritten: in place, keeping the
// file's identity (and with it its hard links), and only once the whole new content is there.
TEST(ReplaceFile, InPlaceRewriteKeepsTheFileAndWaitsForTheCommit) {
  NoFaults guard;
  TempDir dir;
  const std::string target = dir.Path("book.vkd");
  WriteBytes(target, std::string(5000, 'o'));
  ASSERT_EQ(link(target.c_str(), dir.Path("twin.vkd").c_str()), 0);
  const int fd = open(target.c_str(), O_WRONLY);
  ASSERT_GE(fd, 0);
  // A guard that refuses (the old content could not be kept) stops the rewrite before it begins.
  for (int refusal : {EACCES, 0}) {
    for (bool fails : {true, false}) {
      SCOPED_TRACE(testing::Message() << refusal << fails);
      PendingReplacement::SetWriteLimitForTesting(fails ? std::optional<std::uint64_t>(2)
                                                        : std::nullopt);
      PendingReplacement r;
      ASSERT_TRUE(r.BeginInPlace(fd));
      EXPECT_EQ(r.Write("new", 3), !fails);
      EXPECT_EQ(r.Overwrite(0, "N", 1), !fails);
      std::string before, after = "not run";
      r.GuardInPlace([&] { return before = ReadBytes(target), refusal; },
                     [&](bool done) { after = done ? ReadBytes(target) : "stopped"; });
      EXPECT_EQ(ReadBytes(target), std::string(5000, 'o'));
      EXPECT_EQ(r.Commit(), !fails && !refusal);
      EXPECT_EQ(before, fails ? "" : std::string(5000, 'o'));
      EXPECT_EQ(after, fails || refusal ? "not run" : "New");
      EXPECT_EQ(r.LastError(), fails ? ENOSPC : refusal);
    }
  }
  close(fd);
  EXPECT_EQ(ReadBytes(dir.Path("twin.vkd")), "New");
  EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"book.vkd", "twin.vkd"}));
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
    for (bool unnamed : {true, false}) {
      SCOPED_TRACE(c.what + std::string(unnamed ? ", unnamed" : ", named"));
      PendingReplacement::SetUnnamedFilesForTesting(unnamed);
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
}

TEST(ReplaceFile, AbortAndDestructorRemoveTheTemporaryFile) {
  NoFaults guard;
  for (bool unnamed : {true, false}) {
    SCOPED_TRACE(unnamed ? "unnamed" : "named");
    PendingReplacement::SetUnnamedFilesForTesting(unnamed);
    TempDir dir;
    const std::string target = dir.Path("book.vkd");
    WriteBytes(target, "old");
    {
      PendingReplacement r;
      ASSERT_TRUE(r.Begin(target));
      ASSERT_TRUE(r.Write("new", 3));
      EXPECT_EQ(dir.Entries().size(), unnamed ? 1u : 2u);
    }
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"book.vkd"});
    PendingReplacement r;
    ASSERT_TRUE(r.Begin(target));
    r.Abort();
    EXPECT_FALSE(r.Commit());
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"book.vkd"});
    EXPECT_EQ(ReadBytes(target), "old");
  }
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
