// Registering, correcting and deleting entries.
#include <gtest/gtest.h>

#include "MainWindowHarness.h"
#include "VkdBytes.h"

namespace {

using Entries = std::vector<std::pair<std::u8string_view, std::u8string_view>>;

class EditTest : public ::testing::Test {
 public:
  // The word entry dialog, filled and confirmed.
  void Entry(std::u8string_view word, std::u8string_view meaning, bool continuous,
             bool expectEmptyFields = true) {
    ui.ExpectDialog(IDD_ADDWORD, [=](DialogScript& d) {
      if (expectEmptyFields) {
        EXPECT_EQ(d.Text(IDC_ENTRY_WORD), "");
        EXPECT_EQ(d.Text(IDC_ENTRY_MEANING), "");
      }
      d.Type(IDC_ENTRY_WORD, word);
      d.Type(IDC_ENTRY_MEANING, meaning);
      d.Check(IDC_CONTINUOUS, continuous);
      d.Press(IDOK);
    });
  }
  void Cancel() {
    ui.ExpectDialog(IDD_ADDWORD, [](DialogScript& d) { d.Press(IDCANCEL); });
  }
  void Added(std::u8string_view dict, std::u8string_view word) {
    const std::string text = Utf8(u8"辞書：") + Utf8(dict) + Utf8(u8" に\n単語：") + Utf8(word) +
                             Utf8(u8"\nを追加しました");
    ui.ExpectMessage(std::u8string(text.begin(), text.end()), u8"結果", MB_OK);
  }
  void SaveQuestion(MainWindowHarness& w, int answer) {
    const std::string q = w.Dlg().m_dict.m_strPath.ToUtf8() + Utf8(u8"\nに保存します。");
    ui.ExpectMessage(std::u8string(q.begin(), q.end()), u8"上書き確認", MB_OKCANCEL, answer);
  }
  std::vector<std::string> Words(MainWindowHarness& w) {
    std::vector<std::string> out;
    for (int i = 0; i < w.Dlg().m_dict.m_nCount; ++i)
      out.push_back(w.Dlg().m_dict.m_strWord[i].ToUtf8());
    return out;
  }

  TempDir dir;
  ScriptedUi ui;
};

TEST_F(EditTest, AddOneEntryWithAndWithoutTheSaveOffer) {
  for (int ifAddSave : {0, 1}) {
    MainWindowHarness w(ui, dir.path());
    w.SetEntries(u8"英単語", {{u8"a", u8"1"}});
    w.Dlg().m_dict.m_strPath = dir.Cp932Path("e.vkd");
    w.Dlg().m_bIfAddSave = ifAddSave;
    Entry(u8"cat", u8"ねこ\r\n猫", false);
    Added(u8"英単語", u8"cat");
    if (ifAddSave) SaveQuestion(w, IDCANCEL);
    w.Command(ID_WORD_ADD);
    EXPECT_EQ(Words(w), (std::vector<std::string>{"a", "cat"}));
    EXPECT_EQ(w.Dlg().m_dict.m_strMeaning[1].Bytes(), Sjis(u8"ねこ") + "\r\n" + Sjis(u8"猫"));
    EXPECT_EQ(w.Text(IDC_COUNT_LABEL), Utf8(u8"登録数：2"));
    EXPECT_TRUE(w.ListItems().empty()) << "adding refreshed the list";
    EXPECT_FALSE(std::filesystem::exists(dir / "e.vkd"));
  }
}

TEST_F(EditTest, ThreeInARowThenCancelOffersOneSave) {
  MainWindowHarness w(ui, dir.path());
  w.SetEntries(u8"d", {});
  w.Dlg().m_dict.m_strPath = dir.Cp932Path("d.vkd");
  w.Dlg().m_bIfAddSave = 1;
  w.TypeSearch(u8"o");
  w.Command(IDC_SEARCH);  // read into its member, so the adds' data exchange keeps it
  const std::u8string_view words[] = {u8"one", u8"two", u8"three"};
  for (auto word : words) {
    Entry(word, u8"m", true);
    Added(u8"d", word);
  }
  Cancel();
  SaveQuestion(w, IDOK);
  ui.ExpectMessage(u8"保存した！", u8"Vokari", MB_OK);
  w.Command(ID_WORD_ADD);
  EXPECT_EQ(Words(w), (std::vector<std::string>{"one", "two", "three"}));
  EXPECT_EQ(ReadBytes(dir / "d.vkd"), VkdFile("d", {{"one", "m"}, {"two", "m"}, {"three", "m"}}));
  EXPECT_EQ(w.ListItems(), (std::vector<std::string>{"one", "two"})) << "the save's refresh";
}

TEST_F(EditTest, RejectedEntries) {
  struct Case {
    const char* name;
    std::function<void(EditTest&)> script;
    std::vector<std::string> words;
  };
  const Case cases[] = {
      {"empty word at the first showing ends the command, even when checked",
       [](EditTest& t) {
         t.Entry(u8"", u8"m", true);
         t.ui.ExpectNotice(u8"単語名は入力しないと！");
       },
       {}},
      {"both empty: only the word's notice",
       [](EditTest& t) {
         t.Entry(u8"", u8"", false);
         t.ui.ExpectNotice(u8"単語名は入力しないと！");
       },
       {}},
      {"empty meaning after a continuous add shows the dialog again, emptied",
       [](EditTest& t) {
         t.Entry(u8"a", u8"1", true);
         t.Added(u8"d", u8"a");
         t.Entry(u8"lost", u8"", true);
         t.ui.ExpectNotice(u8"意味も入れないと！");
         t.Entry(u8"b", u8"2", false);
         t.Added(u8"d", u8"b");
       },
       {"a", "b"}},
      {"unchecking then an empty field brings it back once more",
       [](EditTest& t) {
         t.Entry(u8"a", u8"1", true);
         t.Added(u8"d", u8"a");
         t.Entry(u8"", u8"2", false);
         t.ui.ExpectNotice(u8"単語名は入力しないと！");
         t.ui.ExpectDialog(IDD_ADDWORD, [](DialogScript& d) {
           EXPECT_EQ(d.CheckState(IDC_CONTINUOUS), 0);
           d.Type(IDC_ENTRY_WORD, u8"b");
           d.Type(IDC_ENTRY_MEANING, u8"2");
           d.Press(IDOK);
         });
         t.Added(u8"d", u8"b");
       },
       {"a", "b"}},
      {"a word already there is added again; blanks are a word",
       [](EditTest& t) {
         t.Entry(u8"x", u8"1", true);
         t.Added(u8"d", u8"x");
         t.Entry(u8"x", u8"2", true);
         t.Added(u8"d", u8"x");
         t.Entry(u8"  ", u8"3", false);
         t.Added(u8"d", u8"  ");
       },
       {"x", "x", "  "}},
  };
  for (const Case& c : cases) {
    MainWindowHarness w(ui, dir.path());
    w.SetEntries(u8"d", {});
    w.Dlg().m_bIfAddSave = c.words.empty() ? 1 : 0;  // nothing added: no offer
    c.script(*this);
    w.Command(ID_WORD_ADD);
    ui.VerifyAllConsumed();
    EXPECT_EQ(Words(w), c.words) << c.name;
  }
}

TEST_F(EditTest, AFullWordBookTakesNoMore) {
  MainWindowHarness w(ui, dir.path());
  w.SetEntries(u8"d", {});
  w.Dlg().m_dict.m_nCount = CDictData::MAX_WORDS;
  ui.ExpectNotice(u8"これ以上は登録できないよ（1024語まで）");
  w.Command(ID_WORD_ADD);
  EXPECT_EQ(w.Dlg().m_dict.m_nCount, CDictData::MAX_WORDS);

  // A continuous add that fills the last slot stops there.
  w.Dlg().m_dict.m_nCount = CDictData::MAX_WORDS - 2;
  w.Dlg().m_bIfAddSave = 0;
  Entry(u8"w1022", u8"m", true);
  Added(u8"d", u8"w1022");
  Entry(u8"w1023", u8"m", true);
  Added(u8"d", u8"w1023");
  ui.ExpectNotice(u8"これ以上は登録できないよ（1024語まで）");
  w.Command(ID_WORD_ADD);
  EXPECT_EQ(w.Dlg().m_dict.m_nCount, CDictData::MAX_WORDS);
  EXPECT_EQ(w.Dlg().m_dict.m_strWord[1023], "w1023");
  EXPECT_EQ(w.Text(IDC_COUNT_LABEL), Utf8(u8"登録数：1024"));
}

TEST_F(EditTest, Modify) {
  struct Case {
    const char* name;
    std::u8string_view word, meaning;
    int result;
    const char8_t* notice;
    std::string storedWord;
  };
  const Case cases[] = {
      {"cancel", u8"new", u8"m", IDCANCEL, nullptr, "old"},
      {"emptied word", u8"", u8"m", IDOK, u8"単語名は入力しないと！", "old"},
      {"emptied meaning", u8"new", u8"", IDOK, u8"意味も入れないと！", "old"},
      {"ok without changes", u8"old", u8"meaning", IDOK, nullptr, "old"},
      {"changed", u8"new", u8"新しい\r\n意味", IDOK, nullptr, "new"},
  };
  for (const Case& c : cases) {
    MainWindowHarness w(ui, dir.path());
    w.SetEntries(u8"d", {{u8"a", u8"1"}, {u8"old", u8"meaning"}});
    w.Dlg().m_dict.m_strPath = "p";
    w.Dlg().m_bIfAddSave = 1;
    w.Command(IDC_SEARCH);
    w.Select(1);
    w.TypeSearch(u8"typed, not searched");
    ui.ExpectDialog(IDD_ADDWORD, [&c](DialogScript& d) {
      EXPECT_EQ(d.Text(IDC_ENTRY_WORD), "old");
      EXPECT_EQ(d.Text(IDC_ENTRY_MEANING), "meaning");
      EXPECT_EQ(d.CheckState(IDC_CONTINUOUS), 0);
      d.Type(IDC_ENTRY_WORD, c.word);
      d.Type(IDC_ENTRY_MEANING, c.meaning);
      d.Press(c.result);
    });
    const bool changes = c.result == IDOK && !c.notice;
    if (c.notice) ui.ExpectNotice(c.notice);
    if (changes) {
      const std::string text = Utf8(u8"単語：") + Utf8(c.word) + Utf8(u8"\nを修正しました");
      ui.ExpectMessage(std::u8string(text.begin(), text.end()), u8"結果", MB_OK);
      ui.ExpectMessage(u8"p\nに保存します。", u8"上書き確認", MB_OKCANCEL, IDCANCEL);
    }
    w.Command(ID_WORD_MODIFY);
    ui.VerifyAllConsumed();
    EXPECT_EQ(w.Dlg().m_dict.m_strWord[1].ToUtf8(), c.storedWord) << c.name;
    EXPECT_EQ(w.Text(IDC_SHOWN_WORD), c.storedWord) << c.name << ": the panes show the entry";
    EXPECT_EQ(w.Dlg().m_bModified, changes) << c.name;
    EXPECT_EQ(w.ListItems()[1], "old") << c.name;
    EXPECT_EQ(w.Text(IDC_SEARCH_TEXT), "typed, not searched") << c.name;
  }
}

TEST_F(EditTest, DeleteMovesTheLastEntryIntoTheHole) {
  MainWindowHarness w(ui, dir.path());
  w.SetEntries(u8"d",
               {{u8"a", u8"1"}, {u8"b", u8"2"}, {u8"c", u8"3"}, {u8"d", u8"4"}, {u8"e", u8"5"}});
  w.Command(IDC_SEARCH);
  w.Select(1);
  ui.ExpectMessage(u8"辞書：d から\n単語：b を\n\n辞書から削除します。", u8"削除確認",
                   MB_YESNO | MB_ICONEXCLAMATION, IDNO);
  w.Command(ID_WORD_DELETE);
  EXPECT_EQ(Words(w), (std::vector<std::string>{"a", "b", "c", "d", "e"}));

  ui.ExpectMessage(u8"辞書：d から\n単語：b を\n\n辞書から削除します。", u8"削除確認",
                   MB_YESNO | MB_ICONEXCLAMATION, IDYES);
  ui.ExpectMessage(u8"ポイッてした！", u8"Vokari", MB_OK);
  w.Command(ID_WORD_DELETE);
  EXPECT_EQ(Words(w), (std::vector<std::string>{"a", "e", "c", "d"}));
  EXPECT_EQ(w.Dlg().m_dict.m_strWord[4], "e") << "the vacated slot keeps its text";
  EXPECT_EQ(w.ListItems(), (std::vector<std::string>{"a", "e", "c", "d"}));
  EXPECT_EQ(w.Text(IDC_COUNT_LABEL), Utf8(u8"登録数：4"));
  // The deleted entry leaves the panes, and no other entry becomes current.
  EXPECT_EQ(w.Text(IDC_SHOWN_WORD), "");
  EXPECT_EQ(w.Text(IDC_SHOWN_MEANING), "");
  EXPECT_FALSE(w.MenuEnabled(ID_WORD_DELETE));
  EXPECT_FALSE(w.MenuEnabled(ID_WORD_MODIFY));
  ui.ExpectNotice(u8"単語を選んでね");
  w.Command(ID_WORD_DELETE);
  EXPECT_EQ(Words(w), (std::vector<std::string>{"a", "e", "c", "d"}));
}

TEST_F(EditTest, DeleteAndModifyNeedALiveCurrentEntry) {
  MainWindowHarness w(ui, dir.path());
  w.SetEntries(u8"d", {{u8"only", u8"1"}});
  w.Dlg().m_bIfAddSave = 1;
  w.Dlg().m_dict.m_strPath = "p";
  w.Command(IDC_SEARCH);
  w.Select(0);
  ui.ExpectMessage(u8"辞書：d から\n単語：only を\n\n辞書から削除します。", u8"削除確認",
                   MB_YESNO | MB_ICONEXCLAMATION, IDYES);
  ui.ExpectMessage(u8"ポイッてした！", u8"Vokari", MB_OK);
  ui.ExpectMessage(u8"p\nに保存します。", u8"上書き確認", MB_OKCANCEL, IDCANCEL);
  w.Command(ID_WORD_DELETE);
  EXPECT_EQ(w.Dlg().m_dict.m_nCount, 0);
  EXPECT_EQ(w.Dlg().m_dict.m_strWord[0], "only");
  EXPECT_FALSE(w.MenuEnabled(ID_WORD_DELETE));
  for (UINT command : {ID_WORD_DELETE, ID_WORD_MODIFY}) {
    ui.ExpectNotice(u8"単語を選んでね");
    w.Command(command);
    EXPECT_EQ(w.Dlg().m_dict.m_nCount, 0);
    EXPECT_EQ(w.Dlg().m_dict.m_strWord[0], "only");
  }
}

}  // namespace
