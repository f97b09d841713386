// Undo and redo in the window: each step brings back the exact bytes, and the unsaved-changes
// question knows the point the file holds.
#include <gtest/gtest.h>

#include "MainWindowHarness.h"
#include "VkdBytes.h"

namespace {

class UndoTest : public ::testing::Test {
 public:
  std::unique_ptr<MainWindowHarness> Loaded() {
    WriteBytes(dir / "d.vkd", kThree);
    auto w = std::make_unique<MainWindowHarness>(ui, dir.path());
    EXPECT_EQ(w->Dlg().LoadDictionary(dir.Cp932Path("d.vkd")), 1);
    w->Command(IDC_SEARCH);
    return w;
  }
  void Add(MainWindowHarness& w, const std::vector<std::u8string>& words) {
    for (size_t i = 0; i < words.size(); ++i) {
      const bool more = i + 1 < words.size();
      ui.ExpectDialog(IDD_ADDWORD, [word = words[i], more](DialogScript& d) {
        d.Type(IDC_ENTRY_WORD, word);
        d.Type(IDC_ENTRY_MEANING, u8"m");
        d.Check(IDC_CONTINUOUS, more);
        d.Press(IDOK);
      });
      ui.ExpectMessage(u8"辞書：d に\n単語：" + words[i] + u8"\nを追加しました", u8"結果", MB_OK);
    }
    w.Command(ID_WORD_ADD);
  }
  void Correct(MainWindowHarness& w, int item) {
    w.Select(item);
    ui.ExpectDialog(IDD_ADDWORD, [](DialogScript& d) {
      d.Type(IDC_ENTRY_WORD, u8"B");
      d.Press(IDOK);
    });
    ui.ExpectMessage(u8"単語：B\nを修正しました", u8"結果", MB_OK);
    w.Command(ID_WORD_MODIFY);
  }
  void Delete(MainWindowHarness& w, int item, std::u8string_view word) {
    w.Select(item);
    ui.ExpectMessage(
        u8"辞書：d から\n単語：" + std::u8string(word) + u8" を\n\n辞書から削除します。",
        u8"削除確認", MB_YESNO | MB_ICONEXCLAMATION, IDYES);
    ui.ExpectMessage(u8"ポイッてした！", u8"Vokari", MB_OK);
    w.Command(ID_WORD_DELETE);
  }
  std::string Saved(MainWindowHarness& w) {
    ui.ExpectMessage(u8"保存した！", u8"Vokari", MB_OK);
    EXPECT_EQ(w.Dlg().SaveDictionary(dir.Cp932Path("d.vkd")), 1);
    return ReadBytes(dir / "d.vkd");
  }
  std::string Item(MainWindowHarness& w, UINT id) { return w.Peer().MenuItemText(id); }

  const std::string kThree = VkdFile("d", {{"a", "1"}, {"b", "2"}, {"c", "3"}});
  TempDir dir;
  ScriptedUi ui;
};

TEST_F(UndoTest, EachStepUndoneAndRedoneGivesTheExactBytes) {
  struct Case {
    const char* name;
    std::function<void(UndoTest&, MainWindowHarness&)> step;
    std::string after;
    const char8_t* undoItem;
    std::string shownAfterUndo;  // the current entry's word, "" for none
  } cases[] = {
      {"add", [](UndoTest& t, MainWindowHarness& w) { t.Add(w, {u8"x"}); },
       VkdFile("d", {{"a", "1"}, {"b", "2"}, {"c", "3"}, {"x", "m"}}),
       u8"元に戻す：x の登録\tCtrl+Z", ""},
      {"correct", [](UndoTest& t, MainWindowHarness& w) { t.Correct(w, 1); },
       VkdFile("d", {{"a", "1"}, {"B", "2"}, {"c", "3"}}), u8"元に戻す：B の修正\tCtrl+Z", "b"},
      {"delete in the middle", [](UndoTest& t, MainWindowHarness& w) { t.Delete(w, 0, u8"a"); },
       VkdFile("d", {{"c", "3"}, {"b", "2"}}), u8"元に戻す：a の削除\tCtrl+Z", "a"},
      {"delete the last", [](UndoTest& t, MainWindowHarness& w) { t.Delete(w, 2, u8"c"); },
       VkdFile("d", {{"a", "1"}, {"b", "2"}}), u8"元に戻す：c の削除\tCtrl+Z", "c"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto w = Loaded();
    EXPECT_FALSE(w->MenuEnabled(ID_EDIT_UNDO));
    EXPECT_EQ(Item(*w, ID_EDIT_UNDO), Utf8(u8"元に戻す(&U)\tCtrl+Z"));
    c.step(*this, *w);
    EXPECT_EQ(Item(*w, ID_EDIT_UNDO), Utf8(c.undoItem));
    EXPECT_EQ(Saved(*w), c.after);
    w->Command(ID_EDIT_UNDO);
    EXPECT_EQ(w->Text(IDC_SHOWN_WORD), c.shownAfterUndo);
    EXPECT_EQ(w->Text(IDC_COUNT_LABEL), Utf8(u8"登録数：3"));
    EXPECT_EQ(w->ListItems(), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_TRUE(w->MenuEnabled(ID_EDIT_REDO));
    EXPECT_FALSE(w->MenuEnabled(ID_EDIT_UNDO));
    EXPECT_EQ(Saved(*w), kThree);
    w->Command(ID_EDIT_REDO);
    EXPECT_EQ(Saved(*w), c.after);
    ui.VerifyAllConsumed();
  }
}

TEST_F(UndoTest, ThreeWordsOfOneContinuousAddAreThreeSteps) {
  auto w = Loaded();
  Add(*w, {u8"x", u8"y", u8"z"});
  for (const char* word : {"z", "y", "x"}) {
    EXPECT_EQ(Item(*w, ID_EDIT_UNDO), Utf8(u8"元に戻す：") + word + Utf8(u8" の登録\tCtrl+Z"));
    w->Command(ID_EDIT_UNDO);
    EXPECT_EQ(Item(*w, ID_EDIT_REDO), Utf8(u8"やり直し：") + word + Utf8(u8" の登録\tCtrl+Y"));
  }
  EXPECT_EQ(w->Text(IDC_COUNT_LABEL), Utf8(u8"登録数：3"));
  EXPECT_FALSE(w->MenuEnabled(ID_EDIT_UNDO));
}

TEST_F(UndoTest, TheUnsavedChangesQuestionKnowsTheSavedPoint) {
  auto w = Loaded();
  Delete(*w, 0, u8"a");
  w->Command(ID_EDIT_UNDO);
  EXPECT_FALSE(w->Dlg().m_bModified) << "back to what the file holds";
  w->Command(ID_EDIT_REDO);
  EXPECT_TRUE(w->Dlg().m_bModified);
  Saved(*w);
  w->Command(ID_EDIT_UNDO);
  EXPECT_TRUE(w->Dlg().m_bModified) << "the saved file has the delete";
  // A new step after an undo past the saved point: the file's state is out of reach.
  Correct(*w, 0);
  w->Command(ID_EDIT_UNDO);
  EXPECT_TRUE(w->Dlg().m_bModified);
  ui.ExpectMessage(u8"変更が保存されていません。\n保存しますか？", u8"Vokari",
                   MB_YESNOCANCEL | MB_ICONEXCLAMATION, IDCANCEL);
  w->Command(IDCANCEL);
  // A load starts a new history.
  EXPECT_EQ(w->Dlg().LoadDictionary(dir.Cp932Path("d.vkd")), 1);
  EXPECT_FALSE(w->MenuEnabled(ID_EDIT_UNDO));
  EXPECT_FALSE(w->MenuEnabled(ID_EDIT_REDO));
}

TEST_F(UndoTest, WithIfAddSaveAnUndoOffersTheSave) {
  auto w = Loaded();
  Delete(*w, 0, u8"a");
  w->Dlg().m_bIfAddSave = 1;
  const std::string question = dir.Cp932Path("d.vkd").ToUtf8() + Utf8(u8"\nに保存します。");
  ui.ExpectMessage(std::u8string(question.begin(), question.end()), u8"上書き確認", MB_OKCANCEL,
                   IDCANCEL);
  w->Command(ID_EDIT_UNDO);
}

}  // namespace
