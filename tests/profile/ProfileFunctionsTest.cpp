// The profile functions against real files in a temporary directory: files as the platform
// writes them, hand-made oddities, the exact bytes written, and writes that must fail.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "CString.h"
#include "Cp932.h"
#include "LargestAllocation.h"
#include "Profile.h"
#include "TempDir.h"

namespace fs = std::filesystem;

namespace {

class ProfileFiles : public ::testing::Test {
 protected:
  std::string ReadString(const char* key, DWORD size = 260, const char* def = "") {
    std::string buffer(size + 1, '#');
    DWORD n = GetPrivateProfileStringA("General", key, def, buffer.data(), size, m_ini.c_str());
    EXPECT_LT(n, size);
    EXPECT_EQ(buffer[n], '\0');
    return buffer.substr(0, n);
  }

  TempDir m_tmp;
  const fs::path m_dir = m_tmp.path();
  const std::string m_ini = m_tmp.Path("Vokari.ini");
};

TEST_F(ProfileFiles, ReadsIntegers) {
  WriteBytes(m_ini,
             "[General]\r\nSeven=7\r\nPlus=+1\r\nMinus=-1\r\nTail=42A\r\nLetter=B\r\n"
             "Wrap=4294967297\r\nBlanks= 12 \r\nQuoted=\"5\"\r\nEmpty=\r\nMax=4294967295\r\n"
             "WrapDown=-4294967297\r\nTwoSigns=--1\r\nHex=0x10\r\nGap=1 2\r\nSpaceSign=- 1\r\n");
  const struct {
    const char* key;
    int def;
    UINT expected;
  } cases[] = {
      {"Seven", 0, 7},
      {"Plus", 0, 1},
      {"Minus", 0, 0xFFFFFFFFu},
      {"Tail", 0, 42},
      {"Letter", 9, 0},
      {"Wrap", 0, 1},
      {"Blanks", 0, 12},
      {"Quoted", 0, 5},
      {"Empty", 9, 0},
      {"Missing", 9, 9},
      {"Missing", -2, 0xFFFFFFFEu},
      {"Max", 0, 4294967295u},
      {"WrapDown", 0, 0xFFFFFFFFu},
      {"TwoSigns", 9, 0},
      {"Hex", 0, 0},
      {"Gap", 0, 1},
      {"SpaceSign", 9, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.key);
    EXPECT_EQ(GetPrivateProfileIntA("General", c.key, c.def, m_ini.c_str()), c.expected);
  }
  EXPECT_EQ(static_cast<int>(GetPrivateProfileIntA("General", "Minus", 0, m_ini.c_str())), -1);
  EXPECT_EQ(GetPrivateProfileIntA("Other", "Seven", 3, m_ini.c_str()), 3u);
  EXPECT_EQ(GetPrivateProfileIntA("General", "Seven", 3, (m_dir / "none.ini").c_str()), 3u);
}

TEST_F(ProfileFiles, ReadsStringsCutToTheBuffer) {
  const std::string longPath = "C:\\" + std::string(297, 'p');
  ASSERT_EQ(longPath.size(), 300u);
  WriteBytes(m_ini, "[General]\r\nLastPath=" + longPath + "\r\nShort=ab\r\n");

  EXPECT_EQ(ReadString("LastPath"), longPath.substr(0, 259));
  EXPECT_EQ(ReadString("Short", 3), "ab");
  EXPECT_EQ(ReadString("Short", 2), "a");
  EXPECT_EQ(ReadString("Short", 1), "");
  EXPECT_EQ(ReadString("Missing"), "");
  EXPECT_EQ(ReadString("Missing", 260, "dflt"), "dflt");
  EXPECT_EQ(ReadString("Missing", 3, "dflt"), "df");
  EXPECT_EQ(ReadString("Missing", 260, "default  "), "default");  // trailing spaces go

  char untouched = 'x';
  EXPECT_EQ(GetPrivateProfileStringA("General", "Short", "", &untouched, 0, m_ini.c_str()), 0u);
  EXPECT_EQ(untouched, 'x');
  EXPECT_EQ(GetPrivateProfileStringA("General", "Short", "", nullptr, 10, m_ini.c_str()), 0u);
}

TEST_F(ProfileFiles, MissingFileGivesDefaults) {
  EXPECT_EQ(GetPrivateProfileIntA("General", "LastFileOpen", 0, m_ini.c_str()), 0u);
  EXPECT_EQ(ReadString("LastPath", 260, "d"), "d");
  EXPECT_FALSE(fs::exists(m_ini));
}

TEST_F(ProfileFiles, WritesFileSectionAndKeysInOrder) {
  ASSERT_TRUE(WritePrivateProfileStringA("General", "LastFileOpen", "0", m_ini.c_str()));
  ASSERT_TRUE(WritePrivateProfileStringA("General", "IfAddSave", "0", m_ini.c_str()));
  EXPECT_EQ(ReadBytes(m_ini), "[General]\r\nLastFileOpen=0\r\nIfAddSave=0\r\n");

  ASSERT_TRUE(WritePrivateProfileStringA("general", "lastfileopen", "1", m_ini.c_str()));
  EXPECT_EQ(ReadBytes(m_ini), "[General]\r\nLastFileOpen=1\r\nIfAddSave=0\r\n");
  EXPECT_EQ(GetPrivateProfileIntA("General", "LastFileOpen", 0, m_ini.c_str()), 1u);
}

TEST_F(ProfileFiles, WriteKeepsEverythingElse) {
  const struct {
    const char* name;
    std::string before;
    const char* key;
    const char* value;
    std::string after;
  } cases[] = {
      {"append after the last key when another section follows",
       "[General]\r\nLastFileOpen=1\r\n\r\n[Window]\r\nx=10\r\n", "LastPath", "C:\\d.vkd",
       "[General]\r\nLastFileOpen=1\r\nLastPath=C:\\d.vkd\r\n\r\n[Window]\r\nx=10\r\n"},
      {"replace a key in a hand-made file",
       "\xEF\xBB\xBF; mine\n[Window]\nx = 1\n[ general ]\n  LASTPATH = \"old\"  \nIfAddSave=1",
       "LastPath", "",
       "; mine\r\n[Window]\r\nx = 1\r\n[ general ]\r\nLASTPATH=\r\nIfAddSave=1\r\n"},
      {"CR-only file", "[General]\rIfAddSave=1\r[Other]\rLastPath=x\r", "LastPath", "y",
       "[General]\r\nIfAddSave=1\r\nLastPath=y\r\n[Other]\r\nLastPath=x\r\n"},
      {"new section at the end", "[Other]\r\nk=v", "LastFileOpen", "1",
       "[Other]\r\nk=v\r\n[General]\r\nLastFileOpen=1\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    WriteBytes(m_ini, c.before);
    ASSERT_TRUE(WritePrivateProfileStringA("General", c.key, c.value, m_ini.c_str()));
    EXPECT_EQ(ReadBytes(m_ini), c.after);
    EXPECT_EQ(ReadString(c.key), c.value);
  }
}

TEST_F(ProfileFiles, KeepsCodePage932BytesInValuesAndPaths) {
  // The directory has a Japanese name: the code page 932 path must reach the file system as
  // UTF-8, and the value's bytes must be stored unconverted.
  const std::string dirName = reinterpret_cast<const char*>(u8"辞書");
  ASSERT_TRUE(fs::create_directory(m_dir / dirName));
  const CString path = CString((m_dir.string() + "/")) + CString::FromU8(u8"辞書/設定.ini");
  const CString value = CString::FromU8(u8"C:\\単語\\表ソ.vkd");  // 0x5C trail bytes

  ASSERT_TRUE(WritePrivateProfileStringA("General", "LastPath", value, path));
  EXPECT_EQ(ReadBytes((m_dir / dirName / reinterpret_cast<const char*>(u8"設定.ini")).string()),
            "[General]\r\nLastPath=" + value.Bytes() + "\r\n");
  char buffer[260];
  DWORD n = GetPrivateProfileStringA("General", "LastPath", "", buffer, sizeof buffer, path);
  EXPECT_EQ(std::string(buffer, n), value.Bytes());
}

TEST_F(ProfileFiles, FailedWritesReturnFalseAndChangeNothing) {
  EXPECT_FALSE(WritePrivateProfileStringA("General", "k", "1", (m_dir / "no/Vokari.ini").c_str()));
  EXPECT_FALSE(fs::exists(m_dir / "no"));

  EXPECT_FALSE(WritePrivateProfileStringA("General", "k", "a\r\nb", m_ini.c_str()));
  EXPECT_FALSE(WritePrivateProfileStringA("General", "k=j", "1", m_ini.c_str()));
  EXPECT_FALSE(WritePrivateProfileStringA(nullptr, "k", "1", m_ini.c_str()));
  EXPECT_FALSE(WritePrivateProfileStringA("General", nullptr, "1", m_ini.c_str()));
  EXPECT_FALSE(WritePrivateProfileStringA("General", "k", nullptr, m_ini.c_str()));
  EXPECT_FALSE(WritePrivateProfileStringA("General", "k", "1", nullptr));
  EXPECT_FALSE(fs::exists(m_ini));

  // A path with bytes that are not code page 932 has no file system form.
  EXPECT_FALSE(WritePrivateProfileStringA("General", "k", "1", (m_dir / "\x85\x40.ini").c_str()));

  // A file where the directory should be.
  WriteBytes((m_dir / "plain").string(), "");
  EXPECT_FALSE(WritePrivateProfileStringA("General", "k", "1", (m_dir / "plain/x.ini").c_str()));

  // A directory where the file should be.
  ASSERT_TRUE(fs::create_directory(m_dir / "dir.ini"));
  EXPECT_FALSE(WritePrivateProfileStringA("General", "k", "1", (m_dir / "dir.ini").c_str()));

  // A file without any write permission bit is read-only, even for root.
  const std::string before = "[General]\r\nk=0\r\n";
  WriteBytes(m_ini, before);
  fs::permissions(m_ini, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  EXPECT_FALSE(WritePrivateProfileStringA("General", "k", "1", m_ini.c_str()));
  EXPECT_EQ(ReadBytes(m_ini), before);
  EXPECT_EQ(GetPrivateProfileIntA("General", "k", 5, m_ini.c_str()), 0u);
}

// Settings that are not a regular file read as missing and are never written: nothing blocks (a
// FIFO), reads forever (/dev/zero) or throws (a directory). A child that an alarm ends runs them,
// so a hang fails the test instead of stopping the suite.
TEST_F(ProfileFiles, NonRegularFilesReadAsMissingAndAreNotWritten) {
  ASSERT_TRUE(fs::create_directory(m_dir / "dir.ini"));
  ASSERT_EQ(mkfifo((m_dir / "fifo.ini").c_str(), 0600), 0);
  fs::create_symlink("/dev/zero", m_dir / "zero.ini");
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    alarm(10);
    int wrong = 0;
    try {
      for (const char* name : {"dir.ini", "fifo.ini", "zero.ini"}) {
        const std::string ini = (m_dir / name).string();
        wrong += GetPrivateProfileIntA("General", "IfAddSave", 7, ini.c_str()) != 7u;
        wrong += WritePrivateProfileStringA("General", "IfAddSave", "1", ini.c_str()) != FALSE;
      }
    } catch (...) {
      wrong = 99;
    }
    _exit(wrong);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_TRUE(fs::is_directory(m_dir / "dir.ini"));
  EXPECT_TRUE(fs::is_fifo(m_dir / "fifo.ini"));
}

// Reading and writing a settings file costs a small multiple of its size, whatever its lines.
TEST_F(ProfileFiles, MemoryFollowsTheFileSize) {
  const std::string lines(1 << 20, '\n');
  WriteBytes(m_ini, lines);
  LargestAllocation watch;
  EXPECT_EQ(GetPrivateProfileIntA("General", "IfAddSave", 3, m_ini.c_str()), 3u);
  EXPECT_TRUE(WritePrivateProfileStringA("General", "IfAddSave", "1", m_ini.c_str()));
  EXPECT_LT(watch.Largest(), 3 * lines.size());
}

TEST_F(ProfileFiles, ReadOnlyDirectoryFailsSilentlyEvenForRoot) {
  const fs::path locked = m_dir / "locked";
  ASSERT_TRUE(fs::create_directory(locked));
  const std::string ini = (locked / "Vokari.ini").string();
  WriteBytes(ini, "[General]\r\nIfAddSave=0\r\n");
  fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec);
  // As on the platform, a read-only directory is refused to root too.
  EXPECT_FALSE(WritePrivateProfileStringA("General", "IfAddSave", "1", ini.c_str()));
  EXPECT_FALSE(WritePrivateProfileStringA("General", "New", "1", (locked / "n.ini").c_str()));
  EXPECT_EQ(ReadBytes(ini), "[General]\r\nIfAddSave=0\r\n");
  EXPECT_FALSE(fs::exists(locked / "n.ini"));
}

TEST_F(ProfileFiles, ReadOnlyFileSystemFailsSilentlyEvenForRoot) {
  // /proc refuses new files to everyone, root included: a directory nobody can write into.
  if (!fs::is_directory("/proc/self")) GTEST_SKIP() << "no /proc on this system";
  EXPECT_FALSE(WritePrivateProfileStringA("General", "IfAddSave", "1", "/proc/self/Vokari.ini"));
  EXPECT_FALSE(fs::exists("/proc/self/Vokari.ini"));
}

TEST_F(ProfileFiles, CurrentDirectory) {
  const fs::path before = fs::current_path();
  const std::string dirName = reinterpret_cast<const char*>(u8"作業");
  ASSERT_TRUE(fs::create_directory(m_dir / dirName));
  fs::current_path(m_dir / dirName);
  const std::string expected = *cp932::FromUtf8(fs::current_path().string());

  char buffer[260];
  DWORD n = GetCurrentDirectoryA(sizeof buffer, buffer);
  EXPECT_EQ(n, expected.size());
  EXPECT_EQ(std::string(buffer), expected);

  // One byte short of the terminator: the needed size comes back and the buffer is untouched.
  std::string small(expected.size(), '#');
  EXPECT_EQ(GetCurrentDirectoryA(static_cast<DWORD>(small.size()), small.data()),
            expected.size() + 1);
  EXPECT_EQ(small, std::string(expected.size(), '#'));
  EXPECT_EQ(GetCurrentDirectoryA(0, nullptr), expected.size() + 1);

  // A directory whose name has no code page 932 form (an emoji) gives 0, and so does one whose
  // form reads back as another directory (〜 would come back as ～).
  for (const char8_t* name : {u8"\U0001F600", u8"a\u301Cb"}) {
    const std::string native = reinterpret_cast<const char*>(name);
    ASSERT_TRUE(fs::create_directory(m_dir / native));
    fs::current_path(m_dir / native);
    EXPECT_EQ(GetCurrentDirectoryA(sizeof buffer, buffer), 0u) << native;
  }
  fs::current_path(before);
}

}  // namespace
