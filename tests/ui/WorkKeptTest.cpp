// Nothing the user did is lost: unsaved changes are asked about, failed commands leave the book
// as it was, and a file another program changed is not overwritten without a question.
#include <gtest/gtest.h>

#include "MainWindowHarness.h"
#include "VkdBytes.h"

namespace {

constexpr UINT kQuestion = MB_YESNOCANCEL | MB_ICONEXCLAMATION;

class WorkKeptTest : public ::testing::Test {
 public:
  // A window with a loaded dictionary d.vkd and one word added since.
  std::unique_ptr<MainWindowHarness> Changed() {
    WriteBytes(dir / "d.vkd", VkdFile("d", {{"a", "1"}}));
    auto w = std::make_unique<MainWindowHarness>(ui, dir.path());
    EXPECT_EQ(w->Dlg().LoadDictionary(dir.Cp932Path("d.vkd")), 1);
    ui.ExpectDialog(IDD_ADDWORD, [](DialogScript& d) {
      d.Type(IDC_ENTRY_WORD, u8"b");
      d.Type(IDC_ENTRY_MEANING, u8"2");
      d.Press(IDOK);
    });
    ui.ExpectMessage(u8"辞書：d に\n単語：b\nを追加しました", u8"結果", MB_OK);
    w->Command(ID_WORD_ADD);
    return w;
  }
  void Question(int answer) {
    ui.ExpectMessage(u8"変更が保存されていません。\n保存しますか？", u8"Vokari", kQuestion, answer);
  }

  TempDir dir;
  ScriptedUi ui;
};

TEST_F(WorkKeptTest, UnsavedChangesAreAskedAboutBeforeClosingOrReplacing) {
  const std::string saved = VkdFile("d", {{"a", "1"}, {"b", "2"}});
  const std::string old = VkdFile("d", {{"a", "1"}});
  WriteBytes(dir / "e.vkd", VkdFile("e", {}));
  constexpr UINT kDrop = 0;  // e.vkd dropped on the window
  struct Case {
    const char* name;
    UINT command;
    int answer;
    bool goesOn;  // the window closes, or the next dialog of the command comes
    const std::string& file;
    int count = 2;  // entries of the book afterwards
  } cases[] = {
      {"close, yes", IDCANCEL, IDYES, true, saved},
      {"close, no", IDCANCEL, IDNO, true, old},
      {"close, cancel", IDCANCEL, IDCANCEL, false, old},
      {"exit, yes", ID_APP_EXIT, IDYES, true, saved},
      {"open, no", IDC_OPEN_DICT, IDNO, true, old},
      {"open, cancel", IDC_OPEN_DICT, IDCANCEL, false, old},
      {"new, yes", ID_DICT_NEW, IDYES, true, saved},
      {"new, cancel", ID_DICT_NEW, IDCANCEL, false, old},
      {"drop, no", kDrop, IDNO, true, old, 0},
      {"drop, cancel", kDrop, IDCANCEL, false, old},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto w = Changed();
    Question(c.answer);
    if (c.answer == IDYES) ui.ExpectMessage(u8"保存した！", u8"Vokari", MB_OK);
    if (c.goesOn && c.command == IDC_OPEN_DICT) ui.ExpectFileDialog(true, std::nullopt);
    if (c.goesOn && c.command == ID_DICT_NEW)
      ui.ExpectDialog(IDD_NEWDICT, [](DialogScript& d) { d.Press(IDCANCEL); });
    if (c.command == kDrop)
      w->Dlg().DispatchDropFiles(dir.Cp932Path("e.vkd"));
    else
      w->Command(c.command);
    ui.VerifyAllConsumed();
    const bool closing = c.command == IDCANCEL || c.command == ID_APP_EXIT;
    EXPECT_EQ(w->Dlg().HasEnded(), closing && c.goesOn);
    EXPECT_EQ(ReadBytes(dir / "d.vkd"), c.file);
    EXPECT_EQ(w->Dlg().m_dict.m_nCount, c.count);
  }
  // Nothing changed, nothing asked.
  MainWindowHarness w(ui, dir.path());
  w.Command(IDCANCEL);
  EXPECT_TRUE(w.Dlg().HasEnded());
}

TEST_F(WorkKeptTest, AnswerYesWithoutAFileAsksForOneAndAFailedSaveKeepsTheWindow) {
  for (bool chooses : {true, false}) {
    MainWindowHarness w(ui, dir.path());
    w.SetEntries(u8"n", {});
    w.Dlg().m_bModified = true;
    Question(IDYES);
    ui.ExpectFileDialog(false,
                        chooses ? std::optional(dir.Cp932Path("no/such/n.vkd")) : std::nullopt);
    if (chooses) ui.ExpectNotice(u8"ファイルが開けないよ");
    w.Command(IDCANCEL);
    ui.VerifyAllConsumed();
    EXPECT_FALSE(w.Dlg().HasEnded()) << chooses;
    EXPECT_TRUE(w.Dlg().m_bModified);
  }
}

TEST_F(WorkKeptTest, AFailedNewKeepsTheOpenDictionary) {
  WriteBytes(dir / "d.vkd", VkdFile("d", {{"a", "1"}}));
  WriteBytes(dir / "Vokari.ini",
             "[General]\r\nLastFileOpen=1\r\nLastPath=" + dir.Cp932Path("d.vkd").Bytes() + "\r\n");
  const std::string ini = ReadBytes(dir / "Vokari.ini");
  MainWindowHarness w(ui, dir.path());
  w.Command(IDC_SEARCH);
  ui.ExpectDialog(IDD_NEWDICT, [](DialogScript& d) {
    d.Type(IDC_DICT_NAME, u8"x/y");
    d.Press(IDOK);
  });
  ui.ExpectFileDialog(false, dir.Cp932Path("x/y.vkd"));
  ui.ExpectNotice(u8"ファイルが開けないよ");
  w.Command(ID_DICT_NEW);
  ui.VerifyAllConsumed();
  EXPECT_EQ(w.Dlg().m_dict.m_strName, "d");
  EXPECT_EQ(w.Dlg().m_dict.m_strPath, dir.Cp932Path("d.vkd"));
  EXPECT_EQ(w.ListItems(), std::vector<std::string>{"a"});
  EXPECT_EQ(ReadBytes(dir / "Vokari.ini"), ini);
}

TEST_F(WorkKeptTest, AFailedReopenLeavesNoPathBehind) {
  WriteBytes(dir / "bad.vkd", VkdString("bad") + VkdCount(3));
  WriteBytes(dir / "Vokari.ini", "[General]\r\nLastFileOpen=1\r\nLastPath=" +
                                     dir.Cp932Path("bad.vkd").Bytes() + "\r\n");
  ui.ExpectNotice(u8"ファイルが壊れてるよ");
  MainWindowHarness w(ui, dir.path());
  EXPECT_TRUE(w.Dlg().m_dict.m_strPath.IsEmpty());
  ui.ExpectMessage(u8"\nに保存します。", u8"上書き確認", MB_OKCANCEL, IDOK);
  w.Command(ID_FILE_SAVE);
  EXPECT_EQ(ReadBytes(dir / "bad.vkd"), VkdString("bad") + VkdCount(3));
}

TEST_F(WorkKeptTest, TextTypedIntoTheShownEntryNeverBlocks) {
  MainWindowHarness w(ui, dir.path());
  w.SetEntries(u8"d", {{u8"a", u8"1"}, {u8"b", u8"2"}});
  w.Command(IDC_SEARCH);
  w.Select(0);
  for (int pane : {IDC_SHOWN_WORD, IDC_SHOWN_MEANING}) {
    w.Peer().At(pane).unconvertible = true;
    w.Command(IDC_SEARCH);
    w.Select(1);
    EXPECT_EQ(w.ListItems().size(), 2u) << pane;
    EXPECT_EQ(w.Text(IDC_SHOWN_WORD), "b") << pane;
  }
  // The search text is used, so it still gets the notice.
  w.Peer().At(IDC_SEARCH_TEXT).unconvertible = true;
  ui.ExpectNotice(u8"使えない文字が入ってるよ");
  w.Command(IDC_SEARCH);
}

TEST_F(WorkKeptTest, AFileChangedByAnotherProgramIsMergedOverwrittenOrLeft) {
  // The window loaded d: a=1 and added b=2; another program then wrote theirs.
  const struct {
    const char* what;
    int answer;
    std::string theirs;
    std::string file;       // afterwards
    const char8_t* notice;  // after a merge
    std::vector<std::string> list;
  } cases[] = {
      {"don't save",
       IDCANCEL,
       VkdFile("d", {{"a", "1"}, {"z", "9"}}),
       VkdFile("d", {{"a", "1"}, {"z", "9"}}),
       nullptr,
       {}},
      {"overwrite",
       IDYES,
       VkdFile("d", {{"z", "9"}}),
       VkdFile("d", {{"a", "1"}, {"b", "2"}}),
       nullptr,
       {"a", "b"}},
      {"merge, both added",
       IDOK,
       VkdFile("e", {{"a", "1"}, {"z", "9"}}),
       VkdFile("e", {{"a", "1"}, {"b", "2"}, {"z", "9"}}),
       u8"ほかのコピーから1語を取り込みました。\n両方を残した衝突：0",
       {"a", "b", "z"}},
      // Next to our addition, their delete is a conflict that keeps the entry.
      {"merge, theirs deleted",
       IDOK,
       VkdFile("d", {}),
       VkdFile("d", {{"a", "1"}, {"b", "2"}}),
       u8"ほかのコピーから0語を取り込みました。\n両方を残した衝突：1",
       {"a", "b"}},
      {"merge, both corrected",
       IDOK,
       VkdFile("d", {{"a", "5"}}),
       VkdFile("d", {{"a", "1"}, {"b", "2"}, {"a", "5"}}),
       u8"ほかのコピーから1語を取り込みました。\n両方を残した衝突：1",
       {"a", "b", "a"}},
  };
  for (const auto& c : cases) {
    auto w = Changed();
    WriteBytes(dir / "d.vkd", c.theirs);
    ui.ExpectDialog(IDD_CHANGED_OUTSIDE, [&](DialogScript& d) { d.Press(c.answer); });
    if (c.answer != IDCANCEL) ui.ExpectMessage(u8"保存した！", u8"Vokari", MB_OK);
    if (c.notice) ui.ExpectNotice(c.notice);
    w->Dlg().SaveDictionary(w->Dlg().m_dict.m_strPath);
    ui.VerifyAllConsumed();
    EXPECT_EQ(ReadBytes(dir / "d.vkd"), c.file) << c.what;
    EXPECT_EQ(w->Dlg().m_bModified, c.answer == IDCANCEL) << c.what;
    if (c.answer == IDCANCEL) continue;
    EXPECT_EQ(w->ListItems(), c.list) << c.what;
    if (c.notice) {  // the merged book is shown with no current entry
      EXPECT_EQ(w->Text(IDC_COUNT_LABEL), Utf8(u8"登録数：") + std::to_string(c.list.size()))
          << c.what;
      EXPECT_EQ(w->Dlg().m_dict.m_nCurrent, -1) << c.what;
    }
    // Saved, the file is the book's again: the next save asks nothing.
    ui.ExpectMessage(u8"保存した！", u8"Vokari", MB_OK);
    w->Dlg().SaveDictionary(w->Dlg().m_dict.m_strPath);
    EXPECT_EQ(ReadBytes(dir / "d.vkd"), c.file) << c.what;
  }
}

TEST_F(WorkKeptTest, AMergeThatWouldOverfillTheBookSavesNothing) {
  auto w = Changed();
  std::vector<std::pair<std::string, std::string>> many{{"a", "1"}};
  for (int i = 0; i < 1023; ++i) many.push_back({"w" + std::to_string(i), ""});
  const std::string theirs = VkdFile("d", many);
  WriteBytes(dir / "d.vkd", theirs);
  ui.ExpectDialog(IDD_CHANGED_OUTSIDE, [](DialogScript& d) { d.Press(IDOK); });
  ui.ExpectNotice(u8"統合すると1024語を超えるので保存しなかったよ");
  w->Dlg().SaveDictionary(w->Dlg().m_dict.m_strPath);
  EXPECT_EQ(ReadBytes(dir / "d.vkd"), theirs);
  EXPECT_EQ(w->Dlg().m_dict.m_nCount, 2);
  EXPECT_TRUE(w->Dlg().m_bModified);
}

}  // namespace
