// The main window's start, housekeeping, menu state and data exchange.
#include <gtest/gtest.h>

#include "MainWindowHarness.h"
#include "Messages.h"

namespace {

class MainWindowTest : public ::testing::Test {
 protected:
  TempDir dir;
  ScriptedUi ui;
};

TEST_F(MainWindowTest, FirstStartShowsAnEmptyWindowAndWritesNothing) {
  MainWindowHarness w(ui, dir.path());
  EXPECT_EQ(w.Text(IDC_DICT_LABEL), Utf8(u8"--読み込まれていません--"));
  EXPECT_EQ(w.Text(IDC_COUNT_LABEL), "");
  EXPECT_EQ(w.Text(IDC_SHOWN_WORD), "");
  EXPECT_EQ(w.Text(IDC_SHOWN_MEANING), "");
  EXPECT_EQ(w.Text(IDC_SEARCH_TEXT), "");
  EXPECT_FALSE(w.MenuEnabled(ID_WORD_ADD));
  EXPECT_FALSE(w.MenuEnabled(ID_WORD_DELETE));
  EXPECT_FALSE(w.MenuEnabled(ID_WORD_MODIFY));
  for (UINT always :
       std::initializer_list<UINT>{ID_DICT_NEW, IDC_OPEN_DICT, ID_FILE_SAVE, ID_FILE_SAVE_AS,
                                   ID_APP_EXIT, ID_SETTINGS, ID_VERSION_INFO})
    EXPECT_TRUE(w.MenuEnabled(always)) << always;
  EXPECT_TRUE(w.Peer().At(ID_HELP).visible) << "the help button stays hidden";
  EXPECT_FALSE(w.Peer().At(IDOK).visible);
  const auto sysMenu = w.Peer().SystemMenu();
  ASSERT_EQ(sysMenu.size(), 2u);
  EXPECT_EQ(sysMenu[0].first, 0);
  EXPECT_EQ(sysMenu[1].first, IDM_ABOUTBOX);
  EXPECT_EQ(sysMenu[1].second.ToUtf8(), Utf8(u8"Vokari のバージョン情報(&A)..."));
  EXPECT_EQ(w.Peer().Icon(), AfxFindIcon(IDR_MAINFRAME));
  EXPECT_NE(w.Peer().Icon(), nullptr);
  EXPECT_TRUE(w.Dlg().AcceptsDroppedFiles());
  EXPECT_EQ(w.Dlg().DroppedFileExtension(), ".vkd");
  EXPECT_EQ(w.Dlg().m_dict.m_nCount, 0);
  EXPECT_EQ(w.Dlg().m_bLastFileOpen, 0);
  EXPECT_EQ(w.Dlg().m_bIfAddSave, 0);
  EXPECT_FALSE(std::filesystem::exists(dir / "Vokari.ini"));
}

TEST_F(MainWindowTest, VersionDialogFromMenuAndSystemMenu) {
  MainWindowHarness w(ui, dir.path());
  const auto about = [](DialogScript& d) {
    EXPECT_EQ(d.Text(IDOK), "OK");
    d.Press(IDOK);
  };
  ui.ExpectDialog(IDD_ABOUTBOX, about);
  w.Command(ID_VERSION_INFO);
  ui.ExpectDialog(IDD_ABOUTBOX, about);
  w.Dlg().DispatchSysCommand(IDM_ABOUTBOX);
  ui.ExpectDialog(IDD_ABOUTBOX, [](DialogScript& d) { d.Press(IDCANCEL); });
  w.Dlg().DispatchSysCommand(IDM_ABOUTBOX | 0x3);  // the low bits are the system's own
  w.Dlg().DispatchSysCommand(0xF020);              // another system command: nothing of ours
  ui.VerifyAllConsumed();
}

// Every way of ending returns from the modal run with the cancel result, asks nothing, and
// closes the help window on the way out.
TEST_F(MainWindowTest, EveryWayOfEndingClosesWithoutAQuestion) {
  const std::vector<std::pair<const char*, std::function<void(DialogScript&)>>> ways = {
      {"close button or Escape", [](DialogScript& d) { d.Press(IDCANCEL); }},
      {"File > Exit", [](DialogScript& d) { d.Press(ID_APP_EXIT); }},
      {"after help and unsaved changes",
       [](DialogScript& d) {
         auto& dlg = static_cast<CDictionaryDlg&>(d.Window());
         dlg.m_dict.m_strName = "x";
         dlg.m_dict.m_nCount = 1;
         d.Press(ID_HELP);
         d.Press(ID_APP_EXIT);
       }},
  };
  for (const auto& [name, action] : ways) {
    const auto old = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    {
      CDictionaryApp app;
      RegisterVokariResources();
      ui.ClearEvents();
      ui.ExpectDialog(IDD_VOKARI_DIALOG, action);
      EXPECT_EQ(app.InitInstance(), FALSE) << name;
      ui.VerifyAllConsumed();
      ASSERT_FALSE(ui.Events().empty());
      EXPECT_EQ(ui.Events().back(), "help-quit") << name;
      EXPECT_EQ(app.m_pMainWnd, nullptr);
    }
    std::filesystem::current_path(old);
    EXPECT_FALSE(std::filesystem::exists(dir / "Vokari.ini")) << name;
  }
}

TEST_F(MainWindowTest, MenuStateFollowsNameAndCurrentEntry) {
  MainWindowHarness w(ui, dir.path());
  w.SetEntries(u8"", {{u8"w", u8"m"}});
  struct Case {
    const char* name;
    int current;
    bool add, edit;
  };
  const Case cases[] = {{"", -1, false, false},
                        {"d", -1, true, false},
                        {"", 0, false, true},
                        {"d", 0, true, true},
                        {"d", 1, true, false}};
  for (const Case& c : cases) {
    w.Dlg().m_dict.m_strName = c.name;
    w.Dlg().m_dict.m_nCurrent = c.current;
    w.TypeInto(IDC_SHOWN_WORD, u8"control text is not looked at");
    w.Dlg().UpdateMenuState();
    EXPECT_EQ(w.MenuEnabled(ID_WORD_ADD), c.add) << c.name << "/" << c.current;
    EXPECT_EQ(w.MenuEnabled(ID_WORD_DELETE), c.edit) << c.name << "/" << c.current;
    EXPECT_EQ(w.MenuEnabled(ID_WORD_MODIFY), c.edit) << c.name << "/" << c.current;
  }
}

TEST_F(MainWindowTest, ReadingBackTakesEveryBoundControlLabelsIncluded) {
  MainWindowHarness w(ui, dir.path());
  w.TypeInto(IDC_DICT_LABEL, u8"ラベル");
  w.TypeInto(IDC_COUNT_LABEL, u8"登録数：9");
  w.TypeInto(IDC_SHOWN_WORD, u8"単語");
  w.TypeInto(IDC_SHOWN_MEANING, u8"一行目\r\n二行目");
  w.TypeInto(IDC_SEARCH_TEXT, u8"検索");
  w.Dlg().m_strCountLabel = "lost";
  ASSERT_TRUE(w.Dlg().UpdateData(TRUE));
  EXPECT_EQ(w.Dlg().m_strDictLabel.ToUtf8(), Utf8(u8"ラベル"));
  EXPECT_EQ(w.Dlg().m_strCountLabel.ToUtf8(), Utf8(u8"登録数：9"));
  EXPECT_EQ(w.Dlg().m_strShownWord.ToUtf8(), Utf8(u8"単語"));
  EXPECT_EQ(w.Dlg().m_strShownMeaning.Bytes(), Sjis(u8"一行目\r\n二行目"));
  EXPECT_EQ(w.Dlg().m_strSearch.ToUtf8(), Utf8(u8"検索"));
  EXPECT_TRUE(w.Dlg().m_listWords.IsAttached());
}

TEST_F(MainWindowTest, UnusableSearchTextIsRefusedWhereItWasTyped) {
  MainWindowHarness w(ui, dir.path());
  w.SetEntries(u8"d", {{u8"cat", u8"ねこ"}});
  w.Dlg().m_strSearch = "before";
  w.Peer().At(IDC_SEARCH_TEXT).unconvertible = true;
  ui.ExpectNotice(u8"使えない文字が入ってるよ");
  w.Command(IDC_SEARCH);
  EXPECT_EQ(w.Dlg().m_strSearch, "before");
  EXPECT_EQ(w.Peer().Focus(), IDC_SEARCH_TEXT);
  EXPECT_TRUE(w.ListItems().empty());
}

TEST_F(MainWindowTest, MinimizedWindowCentresItsIcon) {
  MainWindowHarness w(ui, dir.path());
  struct Case {
    int width, height, x, y;
  };
  // (client - icon + 1) / 2, truncated toward zero.
  const Case cases[] = {{160, 100, 64, 34}, {33, 32, 1, 0}, {20, 10, -5, -10}, {32, 31, 0, 0}};
  for (const Case& c : cases) {
    w.Peer().drawn.clear();
    w.Peer().SetIconic(true, c.width, c.height);
    w.Dlg().DispatchPaint();
    ASSERT_EQ(w.Peer().drawn.size(), 1u);
    EXPECT_EQ(w.Peer().drawn[0].x, c.x) << c.width;
    EXPECT_EQ(w.Peer().drawn[0].y, c.y) << c.height;
    EXPECT_EQ(w.Peer().drawn[0].icon, AfxFindIcon(IDR_MAINFRAME));
  }
  w.Peer().drawn.clear();
  w.Peer().SetIconic(false, 100, 100);
  w.Dlg().DispatchPaint();
  EXPECT_TRUE(w.Peer().drawn.empty());
  EXPECT_EQ(w.Dlg().OnQueryDragIcon(), AfxFindIcon(IDR_MAINFRAME));
}

}  // namespace
