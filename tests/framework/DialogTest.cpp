// Data exchange and command routing of the framework's dialogs, through the scripted backend.
#include <gtest/gtest.h>

#include "Dialog.h"
#include "FileDialog.h"
#include "MainWindowHarness.h"
#include "WinApp.h"
#include "resource.h"

namespace {

// A word-entry-shaped dialog with a command table of its own.
class ProbeDlg : public CDialog {
 public:
  ProbeDlg() : CDialog(IDD_ADDWORD) {}
  void DoDataExchange(CDataExchange* pDX) override {
    DDX_Text(pDX, IDC_ENTRY_WORD, word);
    DDX_Text(pDX, IDC_ENTRY_MEANING, meaning);
    DDX_Check(pDX, IDC_CONTINUOUS, check);
  }
  bool OnCmdMsg(UINT id, UINT code) override {
    static const CommandEntry<ProbeDlg> table[] = {
        {IDC_CONTINUOUS, BN_CLICKED, &ProbeDlg::OnToggle},
        {IDC_ENTRY_WORD, 5, &ProbeDlg::OnOther},
    };
    return RouteCommand<ProbeDlg>(this, table, id, code) || CDialog::OnCmdMsg(id, code);
  }
  void OnToggle() { ++toggles; }
  void OnOther() { ++others; }
  CString word, meaning;
  int check = 0;
  int toggles = 0, others = 0;
};

class FrameworkDialogTest : public ::testing::Test {
 protected:
  void SetUp() override { RegisterVokariResources(); }
  ScriptedUi ui;
  CDictionaryApp app;
};

TEST_F(FrameworkDialogTest, OkReadsEveryBoundControlBack) {
  ProbeDlg dlg;
  dlg.word = "old";
  dlg.check = 1;
  ui.ExpectDialog(IDD_ADDWORD, [](DialogScript& d) {
    EXPECT_EQ(d.Text(IDC_ENTRY_WORD), "old");  // shown on opening
    EXPECT_EQ(d.CheckState(IDC_CONTINUOUS), 1);
    d.Type(IDC_ENTRY_WORD, u8"犬");
    d.Type(IDC_ENTRY_MEANING, u8"いぬ\r\ndog");
    d.Check(IDC_CONTINUOUS, false);
    d.Press(IDOK);
  });
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_EQ(dlg.word.ToUtf8(), Utf8(u8"犬"));
  EXPECT_EQ(dlg.meaning.Bytes(), Sjis(u8"いぬ") + "\r\ndog");
  EXPECT_EQ(dlg.check, 0);
}

TEST_F(FrameworkDialogTest, CancelLeavesFieldsUntouched) {
  for (int cancelId : {IDCANCEL}) {
    ProbeDlg dlg;
    dlg.word = "keep";
    ui.ExpectDialog(IDD_ADDWORD, [cancelId](DialogScript& d) {
      d.Type(IDC_ENTRY_WORD, u8"changed");
      d.Press(cancelId);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.word, "keep");
  }
}

TEST_F(FrameworkDialogTest, UnconvertibleTextStoresNothingAndKeepsTheDialogOpen) {
  ProbeDlg dlg;
  dlg.word = "w0";
  dlg.meaning = "m0";
  ui.ExpectDialog(IDD_ADDWORD, [this, &dlg](DialogScript& d) {
    d.Type(IDC_ENTRY_WORD, u8"new");
    d.Type(IDC_ENTRY_MEANING, u8"smile 😀");
    ui.ExpectNotice(u8"使えない文字が入ってるよ");
    d.Press(IDOK);
    EXPECT_FALSE(d.Peer().Ended()) << "the dialog closed on unusable text";
    EXPECT_EQ(d.Peer().Focus(), IDC_ENTRY_MEANING);
    EXPECT_EQ(dlg.word, "w0") << "a control read before the failing one was stored";
    d.Type(IDC_ENTRY_MEANING, u8"smile");
    d.Press(IDOK);
  });
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_EQ(dlg.word, "new");
  EXPECT_EQ(dlg.meaning, "smile");
}

TEST_F(FrameworkDialogTest, CommandTableRoutesByIdAndCode) {
  ProbeDlg dlg;
  ui.ExpectDialog(IDD_ADDWORD, [&dlg](DialogScript& d) {
    d.Press(IDC_CONTINUOUS);
    d.Window().DispatchCommand(IDC_ENTRY_WORD, 5);
    d.Window().DispatchCommand(IDC_ENTRY_WORD, 6);  // no entry: ignored
    d.Window().DispatchCommand(IDC_CONTINUOUS, 6);
    EXPECT_EQ(dlg.toggles, 1);
    EXPECT_EQ(dlg.others, 1);
    d.Press(IDCANCEL);
  });
  dlg.DoModal();
}

TEST_F(FrameworkDialogTest, UnclaimedCommandsTakeTheirFrameworkWay) {
  // Help goes to the application, exit closes the main window with IDCANCEL.
  ProbeDlg mainWnd;
  app.m_pMainWnd = &mainWnd;
  ui.ExpectDialog(IDD_ADDWORD, [this](DialogScript& d) {
    d.Press(ID_HELP);
    EXPECT_EQ(ui.Events().back(), "help");
    d.Press(ID_APP_EXIT);
    EXPECT_TRUE(d.Peer().Ended());
    EXPECT_EQ(d.Peer().Result(), IDCANCEL);
  });
  EXPECT_EQ(mainWnd.DoModal(), IDCANCEL);
  app.m_pMainWnd = nullptr;
}

TEST(FileDialogTest, FilterSplitsByCharacters) {
  // 0x83 0x7C is a katakana whose second byte is the bar.
  const CString katakanaWithBar(std::string("\x83\x7C"));
  const auto filters = CFileDialog::ParseFilter(katakanaWithBar + "|*.vkd|");
  ASSERT_EQ(filters.size(), 1u);
  EXPECT_EQ(filters[0].first, katakanaWithBar);
  EXPECT_EQ(filters[0].second, "*.vkd");
  const auto two = CFileDialog::ParseFilter(U8(u8"辞書データ(*.vkd)|*.vkd|All|*.*|"));
  ASSERT_EQ(two.size(), 2u);
  EXPECT_EQ(two[0].first.ToUtf8(), Utf8(u8"辞書データ(*.vkd)"));
  EXPECT_EQ(two[1].second, "*.*");
  EXPECT_TRUE(CFileDialog::ParseFilter("").empty());
}

}  // namespace
