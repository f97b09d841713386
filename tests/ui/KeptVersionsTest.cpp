// The window's saves keep the version they replace (a save that replaces the file whole never
// fails for want of one), and a save cut short while rewriting in place is undone at the next load.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>

#include "BackupFolder.h"
#include "Backups.h"
#include "MainWindowHarness.h"
#include "RewriteJournal.h"
#include "VkdBytes.h"

namespace {

class KeptVersionsTest : public ::testing::Test {
 public:
  // A window with d.vkd (one entry) loaded and saved with a second entry.
  void LoadAddAndSave(MainWindowHarness& w, const TempDir& in, bool backupFails = false) {
    ASSERT_EQ(w.Dlg().LoadDictionary(in.Cp932Path("d.vkd")), 1);
    w.Dlg().m_dict.m_strWord[1] = "b";
    w.Dlg().m_dict.m_strMeaning[1] = "2";
    w.Dlg().m_dict.m_nCount = 2;
    ui.ExpectMessage(u8"保存した！", u8"Vokari", MB_OK);
    if (backupFails) ui.ExpectNotice(u8"前の版を残せなかったよ（保存はできたよ）");
    EXPECT_EQ(w.Dlg().SaveDictionary(in.Cp932Path("d.vkd")), 1);
  }
  std::vector<std::string> Kept(const MainWindowHarness& w, const std::string& path) {
    std::vector<std::string> bytes;
    for (const Backup& b : ListBackups(w.BackupRoot(), path)) bytes.push_back(ReadBytes(b.path));
    return bytes;
  }

  const std::string one = VkdFile("d", {{"a", "1"}});
  const std::string two = VkdFile("d", {{"a", "1"}, {"b", "2"}});
  TempDir dir;
  ScriptedUi ui;
};

TEST_F(KeptVersionsTest, ASaveOverAFileKeepsItsOldBytesUnlessTurnedOff) {
  struct Case {
    bool keep;
    bool inPlace;  // the folder takes no new files, so the file is rewritten in place
  } cases[] = {{true, false}, {false, false}, {true, true}, {false, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.keep << c.inPlace);
    TempDir folder;
    WriteBytes(folder / "d.vkd", one);
    if (c.inPlace) ::chmod(folder.path().c_str(), 0555);
    MainWindowHarness w(ui, folder.path());
    w.Dlg().m_bKeepBackups = c.keep;
    LoadAddAndSave(w, folder);
    EXPECT_EQ(ReadBytes(folder / "d.vkd"), two);
    // A link to a file rewritten in place would show the new bytes.
    EXPECT_EQ(Kept(w, folder.Path("d.vkd")),
              c.keep ? std::vector<std::string>{one} : std::vector<std::string>{});
    // The old content kept only for the rewrite went with it.
    EXPECT_FALSE(std::filesystem::exists(
        backupfolder::FolderFor(w.BackupRoot(), backupfolder::RealPath(folder.Path("d.vkd"))) +
        "/rewriting.vkd"));
    if (c.inPlace) continue;
    // Save as to a new file replaces nothing.
    ui.ExpectFileDialog(false, folder.Cp932Path("new.vkd"));
    ui.ExpectMessage(u8"保存した！", u8"Vokari", MB_OK);
    w.Command(ID_FILE_SAVE_AS);
    EXPECT_EQ(ReadBytes(folder / "new.vkd"), two);
    EXPECT_TRUE(Kept(w, folder.Path("new.vkd")).empty());
  }
}

// A save cut short while it rewrote the file in place is undone when the file is next loaded.
TEST_F(KeptVersionsTest, ALoadRollsBackASaveCutShortAndSaysSo) {
  WriteBytes(dir / "d.vkd", one);
  MainWindowHarness w(ui, dir.path());
  ASSERT_EQ(rewrite::Begin(w.BackupRoot(), dir.Path("d.vkd"), false, 0), 0);
  WriteBytes(dir / "d.vkd", two.substr(0, 5));
  ui.ExpectNotice(u8"前回の保存が途中で止まっていたので、保存する前の内容に戻したよ");
  ASSERT_EQ(w.Dlg().LoadDictionary(dir.Cp932Path("d.vkd")), 1);
  EXPECT_EQ(ReadBytes(dir / "d.vkd"), one);
}

TEST_F(KeptVersionsTest, ABackupThatCannotBeMadeIsToldOnceAndTheSaveGoesOn) {
  WriteBytes(dir / "d.vkd", one);
  WriteBytes(dir / "not-a-folder", "");
  MainWindowHarness w(ui, dir.path());
  setenv("XDG_DATA_HOME", dir.Path("not-a-folder").c_str(), 1);
  LoadAddAndSave(w, dir, true);
  ui.VerifyAllConsumed();
  EXPECT_EQ(ReadBytes(dir / "d.vkd"), two);
  // The next failure of the run is not told again.
  ui.ExpectMessage(u8"保存した！", u8"Vokari", MB_OK);
  EXPECT_EQ(w.Dlg().SaveDictionary(dir.Cp932Path("d.vkd")), 1);
}

// File ▸ 以前の版を開く: grayed without a file, a notice without versions, and a version chosen
// becomes the book, still the file's and changed, so that saving writes it back.
TEST_F(KeptVersionsTest, AVersionChosenIsOpenedAndSavedBack) {
  MainWindowHarness w(ui, dir.path());
  EXPECT_FALSE(w.MenuEnabled(ID_FILE_RESTORE));
  WriteBytes(dir / "d.vkd", one);
  ui.ExpectNotice(u8"この辞書の以前の版はまだないよ\n（上書き保存するたびに前の版が残ります）");
  ASSERT_EQ(w.Dlg().LoadDictionary(dir.Cp932Path("d.vkd")), 1);
  EXPECT_TRUE(w.MenuEnabled(ID_FILE_RESTORE));
  w.Command(ID_FILE_RESTORE);
  LoadAddAndSave(w, dir);  // keeps one
  ui.ExpectMessage(u8"保存した！", u8"Vokari", MB_OK);
  EXPECT_EQ(w.Dlg().SaveDictionary(dir.Cp932Path("d.vkd")), 1);  // keeps two
  // A damaged version, kept at 03:03:03 UTC: 12:03:03 in Tokyo.
  const std::string folder =
      backupfolder::FolderFor(w.BackupRoot(), backupfolder::RealPath(dir.Path("d.vkd")));
  WriteBytes(folder + "/20261208T030303.123Z.vkd", "\x05\x61");
  setenv("TZ", "JST-9", 1);
  tzset();
  ui.ExpectDialog(IDD_RESTORE, [&](DialogScript& d) {
    const ScriptedPeer::Control& list = d.Peer().At(IDC_VERSION_LIST);
    ASSERT_EQ(list.items.size(), 3u);
    EXPECT_EQ(list.selected, 0);
    EXPECT_TRUE(list.items[0].first.ToUtf8().ends_with(Utf8(u8"    登録数：2    14 バイト")));
    EXPECT_TRUE(list.items[1].first.ToUtf8().ends_with(Utf8(u8"    登録数：1    10 バイト")));
    EXPECT_EQ(list.items[2].first.ToUtf8(),
              Utf8(u8"2026/12/08 12:03:03    壊れています    2 バイト"));
    d.Select(IDC_VERSION_LIST, 2);
    d.Press(IDOK);  // says why and stays
    d.Select(IDC_VERSION_LIST, 1);
    d.Window().DispatchCommand(IDC_VERSION_LIST, LBN_DBLCLK);  // as OK
  });
  ui.ExpectNotice(u8"この版は壊れているので開けないよ");
  w.Command(ID_FILE_RESTORE);
  unsetenv("TZ");
  tzset();
  EXPECT_EQ(w.Text(IDC_COUNT_LABEL), Utf8(u8"登録数：1"));
  EXPECT_EQ(w.ListItems(), std::vector<std::string>{"a"});
  EXPECT_EQ(w.Dlg().m_dict.m_strPath, dir.Cp932Path("d.vkd"));
  EXPECT_TRUE(w.Dlg().m_bModified);
  EXPECT_EQ(ReadBytes(dir / "d.vkd"), two);
  ui.ExpectMessage(u8"保存した！", u8"Vokari", MB_OK);
  EXPECT_EQ(w.Dlg().SaveDictionary(dir.Cp932Path("d.vkd")), 1);
  EXPECT_EQ(ReadBytes(dir / "d.vkd"), one);
  EXPECT_FALSE(w.Dlg().m_bModified);
  // That save kept the version it replaced, too.
  EXPECT_EQ(Kept(w, dir.Path("d.vkd")).front(), two);
}

}  // namespace
