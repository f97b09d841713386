#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "Archive.h"
#include "File.h"
#include "ReplaceFile.h"
#include "TempDir.h"

namespace {

namespace fs = std::filesystem;
constexpr UINT kLoad = CFile::modeReadWrite;
constexpr UINT kSave = CFile::modeCreate | CFile::modeWrite;

TEST(File, WhichOpensSucceed) {
  enum Setup { Missing, Existing, ReadOnly, WriteOnly, Directory, MissingDirectory };
  struct Case {
    const char* what;
    Setup setup;
    UINT flags;
    bool opens;
  } cases[] = {
      {"load of a missing file", Missing, kLoad, false},
      {"save of a new file", Missing, kSave, true},
      {"write without create of a missing file", Missing, CFile::modeWrite, false},
      {"read of a missing file", Missing, CFile::modeRead, false},
      {"load of an existing file", Existing, kLoad, true},
      {"save over an existing file", Existing, kSave, true},
      {"load of a read-only file", ReadOnly, kLoad, false},
      {"save over a read-only file", ReadOnly, kSave, false},
      {"plain read of a read-only file", ReadOnly, CFile::modeRead, true},
      {"save into a missing directory", MissingDirectory, kSave, false},
      {"load from a missing directory", MissingDirectory, kLoad, false},
      {"load of a directory", Directory, kLoad, false},
      {"save over a directory", Directory, kSave, false},
      {"read and write at once is no mode", Existing, CFile::modeWrite | CFile::modeReadWrite,
       false},
      {"create with read-write is no mode", Existing, CFile::modeCreate | kLoad, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    std::string path = dir.Path("book.vkd");
    switch (c.setup) {
      case Missing:
        break;
      case Existing:
        WriteBytes(path, "old");
        break;
      case ReadOnly:
        WriteBytes(path, "old");
        chmod(path.c_str(), 0444);
        break;
      case WriteOnly:
        WriteBytes(path, "old");
        chmod(path.c_str(), 0200);
        break;
      case Directory:
        fs::create_directory(path);
        break;
      case MissingDirectory:
        path = dir.Path("nowhere/book.vkd");
        break;
    }
    CFile file;
    EXPECT_EQ(file.Open(CString(path), c.flags), c.opens ? TRUE : FALSE);
    EXPECT_EQ(file.IsOpen(), c.opens);
    file.Abort();
    if (c.setup == Existing || c.setup == ReadOnly) {
      EXPECT_EQ(ReadBytes(path), "old");  // no open truncates or changes a file
    }
    EXPECT_FALSE(fs::exists(dir.path() / "nowhere"));
  }
}

TEST(File, PathsThatDoNotConvertFail) {
  TempDir dir;
  const CString cases[] = {
      CString(""),
      CString(dir.Path("bad\x81").c_str()),                   // a lead byte with no trail byte
      CString(dir.Path("bad\xA0x").c_str()),                  // not a character of the code page
      CString(dir.Path("bad\xED\x40")),                       // comes back as 0xFA5C: another name
      CString(dir.Path("bad") + std::string(1, '\0') + "x"),  // the system would stop at NUL
  };
  for (const auto& path : cases) {
    CFile file;
    EXPECT_FALSE(file.Open(path, kSave));
    EXPECT_FALSE(file.Open(path, kLoad));
    EXPECT_EQ(file.LastError(), path.IsEmpty() ? ENOENT : EILSEQ);
  }
  EXPECT_TRUE(dir.Entries().empty());
}

TEST(File, JapanesePathsAreConvertedToUtf8) {
  TempDir dir;
  const CString path = CString(dir.Path("").c_str()) + U8(u8"辞書.vkd");
  CFile file;
  ASSERT_TRUE(file.Open(path, kSave));
  file.Write("x", 1);
  file.Close();
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"\xE8\xBE\x9E\xE6\x9B\xB8.vkd"});
  ASSERT_TRUE(file.Open(path, kLoad));
  char c = 0;
  EXPECT_EQ(file.Read(&c, 1), 1u);
  EXPECT_EQ(c, 'x');
}

// Readers share a file; a writer (or the main window's read-write load) has it alone. A new file
// locks nothing until it has its name, so saves of new files never refuse each other, and two
// saves of one new file never mix: the later one replaces the earlier one whole.
TEST(File, WhoMayOpenAFileAlreadyOpenHere) {
  struct Case {
    const char* what;
    bool exists;
    UINT first;
    UINT second;
    const char* secondName;
    bool secondOpens;
  } cases[] = {
      {"load then load", true, kLoad, kLoad, "book.vkd", false},
      {"load then save", true, kLoad, kSave, "book.vkd", false},
      {"save then load", true, kSave, kLoad, "book.vkd", false},
      {"save then save", true, kSave, kSave, "book.vkd", false},
      {"read then load", true, CFile::modeRead, kLoad, "book.vkd", false},
      {"save then read", true, kSave, CFile::modeRead, "book.vkd", false},
      {"read then read", true, CFile::modeRead, CFile::modeRead, "book.vkd", true},
      {"two saves of one new file", false, kSave, kSave, "book.vkd", true},
      {"saves of two new files in one folder", false, kSave, kSave, "other.vkd", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    const CString path(dir.Path("book.vkd"));
    if (c.exists) WriteBytes(dir.Path("book.vkd"), "old");
    CFile first, second;
    ASSERT_TRUE(first.Open(path, c.first));
    EXPECT_EQ(second.Open(CString(dir.Path(c.secondName)), c.second), c.secondOpens);
    if (!c.secondOpens) {
      EXPECT_EQ(second.LastError(), EWOULDBLOCK);
      first.Close();
      EXPECT_TRUE(second.Open(path, c.second));  // free again once the first is closed
      continue;
    }
    if (c.first == kSave) first.Write("first", 5);
    if (c.second == kSave) second.Write("2nd", 3);
    second.Close();
    first.Close();
    if (!c.exists) {
      EXPECT_EQ(ReadBytes(dir.Path("book.vkd")), "first");
    }
  }
  // A new file that another save made meanwhile is replaced only while nobody holds it.
  TempDir dir;
  const CString path(dir.Path("book.vkd"));
  CFile late, early, holder;
  ASSERT_TRUE(late.Open(path, kSave));
  ASSERT_TRUE(early.Open(path, kSave));
  early.Write("early", 5);
  early.Close();
  ASSERT_TRUE(holder.Open(path, kLoad));
  late.Write("late", 4);
  EXPECT_THROW(late.Close(), CFileException);
  EXPECT_EQ(ReadBytes(dir.Path("book.vkd")), "early");
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"book.vkd"});
}

// Another process's reader lets readers in and keeps writers out; its writer keeps everyone out.
TEST(File, LockHeldByAnotherProcess) {
  const UINT plainRead = CFile::modeRead;
  struct Case {
    UINT held;
    std::vector<std::pair<UINT, bool>> opens;  // flags and whether the open succeeds
  } cases[] = {
      {kLoad, {{kLoad, false}, {kSave, false}, {plainRead, false}}},
      {plainRead, {{kLoad, false}, {kSave, false}, {plainRead, true}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.held);
    TempDir dir;
    const std::string native = dir.Path("book.vkd");
    WriteBytes(native, "old");
    int ready[2], release[2];
    ASSERT_EQ(pipe(ready), 0);
    ASSERT_EQ(pipe(release), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      alarm(30);          // never outlive a broken test
      close(release[1]);  // else the child's own copy keeps its read below from ever ending
      close(ready[0]);
      CFile held;
      const char ok = held.Open(CString(native), c.held) ? 'y' : 'n';
      (void)!write(ready[1], &ok, 1);
      char byte;
      (void)!read(release[0], &byte, 1);  // returns when the parent closes its end
      _exit(0);
    }
    close(ready[1]);
    close(release[0]);
    char ok = 0;
    ASSERT_EQ(read(ready[0], &ok, 1), 1);
    ASSERT_EQ(ok, 'y');
    for (const auto& [flags, opens] : c.opens) {
      CFile file;
      EXPECT_EQ(file.Open(CString(native), flags), opens ? TRUE : FALSE) << flags;
    }
    close(release[1]);
    int status = 0;
    waitpid(child, &status, 0);
    close(ready[0]);
    CFile file;
    EXPECT_TRUE(file.Open(CString(native), kLoad));
  }
}

// A folder that takes no new files (no write permission bit: refused to root as well) still
// lets an existing, writable file be saved: rewritten in place, so the file keeps its mode, its
// owner and its hard links. A new file cannot be made there.
TEST(File, SaveIntoAFolderThatRefusesNewFilesRewritesInPlace) {
  TempDir dir;
  fs::create_directory(dir.path() / "locked");
  const std::string native = dir.Path("locked/book.vkd");
  WriteBytes(native, std::string(50, 'o'));
  ASSERT_EQ(link(native.c_str(), dir.Path("locked/twin.vkd").c_str()), 0);
  chmod(dir.Path("locked").c_str(), 0555);
  CFile file;
  ASSERT_TRUE(file.Open(CString(native), kSave));
  file.Write("new", 3);
  EXPECT_EQ(ReadBytes(native), std::string(50, 'o'));  // not before the close
  file.Close();
  EXPECT_EQ(ReadBytes(dir.Path("locked/twin.vkd")), "new");  // the same file, not a new one
  EXPECT_FALSE(file.Open(CString(dir.Path("locked/new.vkd")), kSave));
  EXPECT_EQ(file.LastError(), EACCES);
}

TEST(File, SaveReplacesOnlyAtClose) {
  TempDir dir;
  const std::string native = dir.Path("book.vkd");
  WriteBytes(native, std::string(5000, 'o'));
  CFile file;
  ASSERT_TRUE(file.Open(CString(native), kSave));
  file.Write("new", 3);
  EXPECT_EQ(ReadBytes(native), std::string(5000, 'o'));  // never truncated meanwhile
  file.Close();
  EXPECT_EQ(ReadBytes(native), "new");
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"book.vkd"});
}

// How each failure of a replacement leaves the old file is the replacement's own test; here, that
// a save fails by throwing the system's error, whether writing or closing, and Abort ends it.
TEST(File, FailedSavesThrowAndAbortEndsThem) {
  struct Reset {
    ~Reset() {
      PendingReplacement::SetWriteLimitForTesting(std::nullopt);
      PendingReplacement::SetCommitFaultForTesting(PendingReplacement::CommitFault::None);
    }
  } reset;
  const std::string old(7000, 'o');
  struct Case {
    const char* what;
    std::optional<std::uint64_t> limit;
    PendingReplacement::CommitFault fault;
  } cases[] = {
      {"disk full while writing", 100, PendingReplacement::CommitFault::None},
      {"rename fails at close", std::nullopt, PendingReplacement::CommitFault::Rename},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    const std::string native = dir.Path("book.vkd");
    WriteBytes(native, old);
    PendingReplacement::SetWriteLimitForTesting(c.limit);
    PendingReplacement::SetCommitFaultForTesting(c.fault);
    CFile file;
    bool thrown = false;
    // As the main window saves: archive and file closed in order, Abort on a file error.
    try {
      ASSERT_TRUE(file.Open(CString(native), kSave));
      CArchive ar(&file, CArchive::store);
      for (int i = 0; i < 20; ++i) ar << CString(std::string(1000, 'n'));
      ar.Close();
      file.Close();
    } catch (const CFileException& e) {
      thrown = true;
      EXPECT_NE(e.m_lOsError, 0);
      file.Abort();
    }
    EXPECT_TRUE(thrown);
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(ReadBytes(native), old);
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"book.vkd"});
    PendingReplacement::SetWriteLimitForTesting(std::nullopt);
    PendingReplacement::SetCommitFaultForTesting(PendingReplacement::CommitFault::None);
    EXPECT_TRUE(file.Open(CString(native), kLoad));  // the lock went with the failure
  }
}

TEST(File, AbortAndDestructorDiscardAnUnclosedSave) {
  TempDir dir;
  const std::string native = dir.Path("book.vkd");
  WriteBytes(native, "old");
  {
    CFile file;
    ASSERT_TRUE(file.Open(CString(native), kSave));
    file.Write("new", 3);
  }
  CFile file;
  ASSERT_TRUE(file.Open(CString(native), kSave));
  file.Write("new", 3);
  file.Abort();
  EXPECT_EQ(ReadBytes(native), "old");
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"book.vkd"});
}

TEST(File, ReadGivesFewerBytesOnlyAtTheEnd) {
  TempDir dir;
  const std::string native = dir.Path("book.vkd");
  WriteBytes(native, std::string(10000, 'r'));
  CFile file;
  ASSERT_TRUE(file.Open(CString(native), kLoad));
  std::string buf(8000, '\0');
  EXPECT_EQ(file.Read(buf.data(), 8000), 8000u);
  EXPECT_EQ(file.Read(buf.data(), 8000), 2000u);
  EXPECT_EQ(file.Read(buf.data(), 8000), 0u);
  EXPECT_THROW(CFile().Read(buf.data(), 1), CFileException);
}

}  // namespace
