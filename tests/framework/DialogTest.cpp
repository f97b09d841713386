// Data exchange and command routing of the framework's dialogs, through the scripted backend,
// with probe resources of the test's own.
#include <gtest/gtest.h>

#include <vector>

#include "AfxRes.h"
#include "Dialog.h"
#include "FileDialog.h"
#include "ScriptedPeer.h"
#include "ScriptedUi.h"
#include "TestText.h"
#include "WinApp.h"

namespace {

enum : int { IDD_PROBE = 1, IDC_PROBE_WORD = 10, IDC_PROBE_MEANING = 11, IDC_PROBE_TOGGLE = 12 };

// One dialog and the framework's strings, without a version block: the application's name
// comes from the string table.
const ResourceSet& ProbeResources() {
  using namespace style;
  using K = ControlKind;
  static const std::vector<DialogTemplate> dialogs = {
      {IDD_PROBE,
       u8"probe",
       160,
       120,
       u8"",
       9,
       Caption | SystemMenu | ModalFrame,
       0,
       {
           {IDC_PROBE_WORD, K::Edit, AutoHScroll | Border | TabStop, 7, 7, 140, 14, u8""},
           {IDC_PROBE_MEANING, K::Edit, MultiLine | WantReturn | Border | TabStop, 7, 25, 140, 50,
            u8""},
           {IDC_PROBE_TOGGLE, K::CheckBox, TabStop, 7, 80, 60, 10, u8"toggle"},
           {IDOK, K::PushButton, DefaultButton | TabStop, 7, 98, 50, 14, u8"OK"},
           {IDCANCEL, K::PushButton, TabStop, 60, 98, 50, 14, u8"Cancel"},
       }},
  };
  static const std::vector<StringResource> strings = {
      {AFX_IDS_APP_TITLE, u8"Probe"},
      {AFX_IDP_PARSE_CHARS, u8"変換できない文字です"},
      {AFX_IDS_HELPTEXT, u8"probe help"},
  };
  static const ResourceSet set = {dialogs, {}, strings, {}, nullptr};
  return set;
}

// Answers the help command, as an application with help does.
class ProbeApp : public CWinApp {
 public:
  bool OnCmdMsg(UINT id, bool run) override {
    if (id != ID_HELP) return CWinApp::OnCmdMsg(id, run);
    if (run) OnHelp();
    return true;
  }
};

// A dialog with text, multi-line text and a check box bound, and a command table of its own.
class ProbeDlg : public CDialog {
 public:
  ProbeDlg() : CDialog(IDD_PROBE) {}
  void DoDataExchange(CDataExchange* pDX) override {
    DDX_Text(pDX, IDC_PROBE_WORD, word);
    DDX_Text(pDX, IDC_PROBE_MEANING, meaning);
    DDX_Check(pDX, IDC_PROBE_TOGGLE, check);
  }
  bool OnCmdMsg(UINT id, UINT code) override {
    static const CommandEntry<ProbeDlg> table[] = {
        {IDC_PROBE_TOGGLE, BN_CLICKED, &ProbeDlg::OnToggle},
        {IDC_PROBE_WORD, 5, &ProbeDlg::OnOther},
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
  void SetUp() override { AfxSetResources(ProbeResources()); }
  void TearDown() override { AfxSetResources({}); }
  ScriptedUi ui;
  ProbeApp app;
};

TEST_F(FrameworkDialogTest, OkReadsEveryBoundControlBack) {
  ProbeDlg dlg;
  dlg.word = "old";
  dlg.check = 1;
  ui.ExpectDialog(IDD_PROBE, [](DialogScript& d) {
    EXPECT_EQ(d.Text(IDC_PROBE_WORD), "old");  // shown on opening
    EXPECT_EQ(d.CheckState(IDC_PROBE_TOGGLE), 1);
    d.Type(IDC_PROBE_WORD, u8"犬");
    d.Type(IDC_PROBE_MEANING, u8"いぬ\r\ndog");
    d.Check(IDC_PROBE_TOGGLE, false);
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
    ui.ExpectDialog(IDD_PROBE, [cancelId](DialogScript& d) {
      d.Type(IDC_PROBE_WORD, u8"changed");
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
  ui.ExpectDialog(IDD_PROBE, [this, &dlg](DialogScript& d) {
    d.Type(IDC_PROBE_WORD, u8"new");
    d.Type(IDC_PROBE_MEANING, u8"smile 😀");
    ui.ExpectMessage(u8"変換できない文字です", u8"Probe", MB_OK | MB_ICONEXCLAMATION);
    d.Press(IDOK);
    EXPECT_FALSE(d.Peer().Ended()) << "the dialog closed on unusable text";
    EXPECT_EQ(d.Peer().Focus(), IDC_PROBE_MEANING);
    EXPECT_EQ(dlg.word, "w0") << "a control read before the failing one was stored";
    d.Type(IDC_PROBE_MEANING, u8"smile");
    d.Press(IDOK);
  });
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_EQ(dlg.word, "new");
  EXPECT_EQ(dlg.meaning, "smile");
}

TEST_F(FrameworkDialogTest, CommandTableRoutesByIdAndCode) {
  ProbeDlg dlg;
  ui.ExpectDialog(IDD_PROBE, [&dlg](DialogScript& d) {
    d.Press(IDC_PROBE_TOGGLE);
    d.Window().DispatchCommand(IDC_PROBE_WORD, 5);
    d.Window().DispatchCommand(IDC_PROBE_WORD, 6);  // no entry: ignored
    d.Window().DispatchCommand(IDC_PROBE_TOGGLE, 6);
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
  ui.ExpectDialog(IDD_PROBE, [this](DialogScript& d) {
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
