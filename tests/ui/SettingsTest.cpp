// The settings file at start, and the settings dialog.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "MainWindowHarness.h"
#include "VkdBytes.h"

namespace {

class SettingsTest : public ::testing::Test {
 protected:
  void WriteIni(const std::string& text) { WriteBytes(dir / "Vokari.ini", text); }
  std::string Ini() { return ReadBytes(dir / "Vokari.ini"); }

  TempDir dir;
  ScriptedUi ui;
};

TEST_F(SettingsTest, SettingsPathIsTheStartDirectory) {
  MainWindowHarness w(ui, dir.path());
  EXPECT_EQ(w.Dlg().m_strIniPath, dir.Cp932Path("Vokari.ini"));
  // At the root the directory already ends with a separator, and none is removed.
  const auto old = std::filesystem::current_path();
  std::filesystem::current_path("/");
  {
    MainWindowHarness root(ui, "/", false);
    root.Dlg().LoadSettings();
    EXPECT_EQ(root.Dlg().m_strIniPath, "//Vokari.ini");
  }
  std::filesystem::current_path(old);
}

TEST_F(SettingsTest, StartUpReopensTheLastDictionaryWhenAsked) {
  const std::string book = VkdFile("d", {{"w", "m"}});
  const std::string path = (dir / "last.vkd").string();
  struct Case {
    const char* name;
    std::string ini;
    bool fileExists;
    bool loaded;
    const char8_t* notice;
    std::string iniAfter;  // empty: unchanged
  };
  const std::string on = "[General]\r\nLastFileOpen=1\r\nLastPath=" + path + "\r\n";
  const Case cases[] = {
      {"no settings file", "", true, false, nullptr, ""},
      {"on, file there", on, true, true, nullptr, ""},
      {"7 counts as on", "[General]\r\nLastFileOpen=7\r\nLastPath=" + path + "\r\n", true, true,
       nullptr, ""},
      {"off with a valid path", "[General]\r\nLastFileOpen=0\r\nLastPath=" + path + "\r\n", true,
       false, nullptr, ""},
      {"one-byte path is neither used nor changed", "[General]\r\nLastFileOpen=1\r\nLastPath=x\r\n",
       true, false, nullptr, ""},
      {"missing remembered file", on, false, false, u8"ファイルが開けないよ",
       "[General]\r\nLastFileOpen=1\r\nLastPath=\r\n"},
      {"over-long path is cut and then forgotten",
       "[General]\r\nLastFileOpen=1\r\nLastPath=/" + std::string(299, 'a') + "\r\n", true, false,
       u8"ファイルが開けないよ", "[General]\r\nLastFileOpen=1\r\nLastPath=\r\n"},
  };
  for (const Case& c : cases) {
    std::filesystem::remove(dir / "Vokari.ini");
    std::filesystem::remove(dir / "last.vkd");
    if (!c.ini.empty()) WriteIni(c.ini);
    if (c.fileExists) WriteBytes(dir / "last.vkd", book);
    if (c.notice) ui.ExpectNotice(c.notice);
    MainWindowHarness w(ui, dir.path());
    ui.VerifyAllConsumed();
    EXPECT_EQ(w.Dlg().m_dict.m_nCount, c.loaded ? 1 : 0) << c.name;
    EXPECT_EQ(w.Text(IDC_DICT_LABEL), c.loaded ? "d" : Utf8(u8"--読み込まれていません--"))
        << c.name;
    EXPECT_EQ(w.MenuEnabled(ID_WORD_ADD), c.loaded) << c.name;
    EXPECT_TRUE(w.ListItems().empty()) << c.name;
    if (c.ini.empty())
      EXPECT_FALSE(std::filesystem::exists(dir / "Vokari.ini")) << c.name;
    else
      EXPECT_EQ(Ini(), c.iniAfter.empty() ? c.ini : c.iniAfter) << c.name;
  }
}

// The reopening waits for the window: its notice comes over the shown window, with the same
// settings write as before.
TEST_F(SettingsTest, TheReopeningComesOnceTheWindowIsShown) {
  WriteBytes(dir / "last.vkd", VkdString("d") + VkdCount(4));
  WriteIni("[General]\r\nLastFileOpen=1\r\nLastPath=" + dir.Cp932Path("last.vkd").Bytes() + "\r\n");
  const auto old = std::filesystem::current_path();
  std::filesystem::current_path(dir.path());
  {
    CDictionaryApp app;
    RegisterVokariResources();
    ui.ClearEvents();
    ui.ExpectNotice(u8"ファイルが壊れてるよ");
    ui.ExpectDialog(IDD_VOKARI_DIALOG, [](DialogScript& d) { d.Press(IDCANCEL); });
    app.InitInstance();
    ui.VerifyAllConsumed();
    ASSERT_GE(ui.Events().size(), 3u);
    EXPECT_EQ(std::vector<std::string>(ui.Events().begin(), ui.Events().begin() + 3),
              (std::vector<std::string>{"shown:102", "message:" + Utf8(u8"ファイルが壊れてるよ"),
                                        "dialog:102"}));
  }
  std::filesystem::current_path(old);
  EXPECT_EQ(Ini(), "[General]\r\nLastFileOpen=1\r\nLastPath=\r\n");
}

TEST_F(SettingsTest, DialogShowsAndStoresBothOptions) {
  MainWindowHarness w(ui, dir.path());
  ui.ExpectDialog(IDD_SETTINGS, [](DialogScript& d) {
    EXPECT_EQ(d.CheckState(IDC_LAST_FILE_OPEN), 0);
    EXPECT_EQ(d.CheckState(IDC_IF_ADD_SAVE), 0);
    d.Check(IDC_LAST_FILE_OPEN, true);
    d.Press(IDCANCEL);
  });
  w.Command(ID_SETTINGS);
  EXPECT_FALSE(std::filesystem::exists(dir / "Vokari.ini")) << "Cancel wrote settings";
  EXPECT_EQ(w.Dlg().m_bLastFileOpen, 0);

  ui.ExpectDialog(IDD_SETTINGS, [](DialogScript& d) { d.Press(IDOK); });
  w.Command(ID_SETTINGS);
  EXPECT_EQ(Ini(), "[General]\r\nLastFileOpen=0\r\nIfAddSave=0\r\n");

  ui.ExpectDialog(IDD_SETTINGS, [](DialogScript& d) {
    d.Check(IDC_IF_ADD_SAVE, true);
    d.Press(IDOK);
  });
  w.Command(ID_SETTINGS);
  EXPECT_EQ(Ini(), "[General]\r\nLastFileOpen=0\r\nIfAddSave=1\r\n");
  EXPECT_EQ(w.Dlg().m_bIfAddSave, 1);

  // Keeping backups is on until turned off, and only then written.
  ui.ExpectDialog(IDD_SETTINGS, [](DialogScript& d) {
    EXPECT_EQ(d.CheckState(IDC_KEEP_BACKUPS), 1);
    d.Check(IDC_KEEP_BACKUPS, false);
    d.Press(IDOK);
  });
  w.Command(ID_SETTINGS);
  EXPECT_EQ(Ini(), "[General]\r\nLastFileOpen=0\r\nIfAddSave=1\r\nKeepBackups=0\r\n");
  MainWindowHarness again(ui, dir.path());
  EXPECT_EQ(again.Dlg().m_bKeepBackups, 0);
}

TEST_F(SettingsTest, AStoredSevenShowsChecked) {
  WriteIni("[General]\r\nLastFileOpen=0\r\nIfAddSave=7\r\n");
  MainWindowHarness w(ui, dir.path());
  EXPECT_EQ(w.Dlg().m_bIfAddSave, 7);
  ui.ExpectDialog(IDD_SETTINGS, [](DialogScript& d) {
    EXPECT_EQ(d.CheckState(IDC_IF_ADD_SAVE), 1);
    d.Press(IDOK);
  });
  w.Command(ID_SETTINGS);
  EXPECT_EQ(Ini(), "[General]\r\nLastFileOpen=0\r\nIfAddSave=1\r\n");
}

TEST_F(SettingsTest, IfAddSaveFromTheFileDrivesTheSaveOffers) {
  WriteIni("[General]\r\nIfAddSave=1\r\n");
  MainWindowHarness w(ui, dir.path());
  w.SetEntries(u8"d", {});
  w.Dlg().m_dict.m_strPath = "p";
  ui.ExpectDialog(IDD_ADDWORD, [](DialogScript& d) {
    d.Type(IDC_ENTRY_WORD, u8"w");
    d.Type(IDC_ENTRY_MEANING, u8"m");
    d.Press(IDOK);
  });
  ui.ExpectMessage(u8"辞書：d に\n単語：w\nを追加しました", u8"結果", MB_OK);
  ui.ExpectMessage(u8"p\nに保存します。", u8"上書き確認", MB_OKCANCEL, IDCANCEL);
  w.Command(ID_WORD_ADD);
  EXPECT_EQ(w.Dlg().m_dict.m_nCount, 1);
}

TEST_F(SettingsTest, AnUnwritableDirectoryFailsSilently) {
  // Root may write into any directory whatever its mode; /proc refuses everybody.
  ::chmod(dir.path().c_str(), 0555);
  const bool privileged = ::access(dir.path().c_str(), W_OK) == 0;
  const std::filesystem::path where = privileged ? std::filesystem::path("/proc") : dir.path();
  {
    MainWindowHarness w(ui, where);
    ui.ExpectDialog(IDD_SETTINGS, [](DialogScript& d) {
      d.Check(IDC_LAST_FILE_OPEN, true);
      d.Press(IDOK);
    });
    w.Command(ID_SETTINGS);
    EXPECT_EQ(w.Dlg().m_bLastFileOpen, 1) << "the choice holds for the run";
  }
  EXPECT_FALSE(std::filesystem::exists(where / "Vokari.ini"));
  ::chmod(dir.path().c_str(), 0755);
}

}  // namespace
