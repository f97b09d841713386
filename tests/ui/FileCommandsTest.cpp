// New, Open and Save as.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "FileDialog.h"
#include "MainWindowHarness.h"
#include "VkdBytes.h"

namespace {

class FileCommandsTest : public ::testing::Test {
 public:
  void NameDialog(std::u8string_view name, int button = IDOK) {
    ui.ExpectDialog(IDD_NEWDICT, [=](DialogScript& d) {
      EXPECT_EQ(d.Text(IDC_DICT_NAME), "");
      d.Type(IDC_DICT_NAME, name);
      d.Press(button);
    });
  }
  // A file dialog that proposes `proposed` and answers with `file` in dir (empty: Cancel).
  void FileDialog(bool open, std::u8string_view proposed, const std::string& file) {
    std::optional<CString> answer;
    if (!file.empty()) answer = dir.Cp932Path(file);
    const std::string expected = Utf8(proposed);
    ui.ExpectFileDialog(open, answer, [open, expected](const FileDialogRequest& r) {
      EXPECT_EQ(r.fileName.ToUtf8(), expected);
      EXPECT_EQ(r.defaultExtension, "vkd");
      EXPECT_EQ(r.flags, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT);
      ASSERT_EQ(r.filters.size(), 1u);
      EXPECT_EQ(r.filters[0].first.ToUtf8(), Utf8(open ? u8"辞書データ(*.vkd)" : u8"辞書データ"));
      EXPECT_EQ(r.filters[0].second, "*.vkd");
    });
  }
  std::string Ini() { return ReadBytes(dir / "Vokari.ini"); }

  TempDir dir;
  ScriptedUi ui;
};

TEST_F(FileCommandsTest, CancelAnywhereChangesNothing) {
  const std::vector<std::pair<const char*, std::function<void(FileCommandsTest&)>>> cases = {
      {"new: name dialog", [](FileCommandsTest& t) { t.NameDialog(u8"x", IDCANCEL); }},
      {"new: empty name",
       [](FileCommandsTest& t) {
         t.NameDialog(u8"");
         t.ui.ExpectNotice(u8"辞書名は入力しないと！");
       }},
      {"new: file dialog",
       [](FileCommandsTest& t) {
         t.NameDialog(u8"x");
         t.FileDialog(false, u8"x.vkd", "");
       }},
      {"open", [](FileCommandsTest& t) { t.FileDialog(true, u8"*.vkd", ""); }},
      {"save as", [](FileCommandsTest& t) { t.FileDialog(false, u8"old.vkd", ""); }},
  };
  const UINT commands[] = {ID_DICT_NEW, ID_DICT_NEW, ID_DICT_NEW, IDC_OPEN_DICT, ID_FILE_SAVE_AS};
  for (size_t i = 0; i < cases.size(); ++i) {
    MainWindowHarness w(ui, dir.path());
    w.SetEntries(u8"old", {{u8"a", u8"1"}});
    w.Dlg().m_dict.m_strPath = "old path";
    w.Command(IDC_SEARCH);
    cases[i].second(*this);
    w.Command(commands[i]);
    ui.VerifyAllConsumed();
    EXPECT_EQ(w.Dlg().m_dict.m_strName, "old") << cases[i].first;
    EXPECT_EQ(w.Dlg().m_dict.m_nCount, 1) << cases[i].first;
    EXPECT_EQ(w.Dlg().m_dict.m_strPath, "old path") << cases[i].first;
    EXPECT_EQ(w.ListItems().size(), 1u) << cases[i].first;
    EXPECT_TRUE(std::filesystem::is_empty(dir.path())) << cases[i].first;
  }
}

TEST_F(FileCommandsTest, NewWritesAnEmptyNamedDictionaryAndRemembersIt) {
  MainWindowHarness w(ui, dir.path());
  w.TypeSearch(u8"kept");
  NameDialog(u8"英単語");
  FileDialog(false, u8"英単語.vkd", Utf8(u8"英単語.vkd"));
  ui.ExpectMessage(u8"保存した！", u8"Vokari", MB_OK);
  w.Command(ID_DICT_NEW);
  EXPECT_EQ(ReadBytes(dir / Utf8(u8"英単語.vkd")),
            std::string("\x06\x89\x70\x92\x50\x8C\xEA\x00\x00\x00\x00", 11));
  EXPECT_EQ(w.Text(IDC_DICT_LABEL), Utf8(u8"英単語"));
  EXPECT_EQ(w.Text(IDC_COUNT_LABEL), Utf8(u8"登録数：0"));
  EXPECT_EQ(w.Text(IDC_SEARCH_TEXT), "kept");
  EXPECT_EQ(w.Dlg().m_dict.m_strPath, dir.Cp932Path(Utf8(u8"英単語.vkd")));
  EXPECT_EQ(Ini(), "[General]\r\nLastPath=" + dir.Cp932Path(Utf8(u8"英単語.vkd")).Bytes() + "\r\n");
  // Ready to be filled at once; nothing shown to delete or correct.
  EXPECT_TRUE(w.MenuEnabled(ID_WORD_ADD));
  EXPECT_FALSE(w.MenuEnabled(ID_WORD_DELETE));
  EXPECT_FALSE(w.MenuEnabled(ID_WORD_MODIFY));
}

TEST_F(FileCommandsTest, NewAfterAShownEntryEmptiesTheEdits) {
  MainWindowHarness w(ui, dir.path());
  w.SetEntries(u8"old", {{u8"a", u8"1"}});
  w.Command(IDC_SEARCH);
  w.Select(0);
  NameDialog(u8"n");
  FileDialog(false, u8"n.vkd", "n.vkd");
  ui.ExpectMessage(u8"保存した！", u8"Vokari", MB_OK);
  w.Command(ID_DICT_NEW);
  EXPECT_EQ(w.Text(IDC_SHOWN_WORD), "");
  EXPECT_EQ(w.Text(IDC_SHOWN_MEANING), "");
  EXPECT_TRUE(w.ListItems().empty());
  EXPECT_EQ(w.Dlg().m_dict.m_nCount, 0);
  EXPECT_FALSE(w.MenuEnabled(ID_WORD_DELETE));
}

TEST_F(FileCommandsTest, OpenReplacesTheDictionaryAndEmptiesThePanes) {
  WriteBytes(dir / "b.vkd", VkdFile("b", {{"x", "1"}, {"y", "2"}, {"z", "3"}}));
  MainWindowHarness w(ui, dir.path());
  w.SetEntries(u8"a", {{u8"shown", u8"meaning"}, {u8"q", u8"r"}});
  w.Command(IDC_SEARCH);
  w.Select(1);
  FileDialog(true, u8"*.vkd", "b.vkd");
  w.Command(IDC_OPEN_DICT);
  EXPECT_EQ(w.Text(IDC_DICT_LABEL), "b");
  EXPECT_EQ(w.Text(IDC_COUNT_LABEL), Utf8(u8"登録数：3"));
  EXPECT_TRUE(w.ListItems().empty());
  EXPECT_EQ(w.Text(IDC_SHOWN_WORD), "");
  EXPECT_EQ(w.Text(IDC_SHOWN_MEANING), "");
  EXPECT_FALSE(w.MenuEnabled(ID_WORD_MODIFY)) << "no entry of the new book is current";
  EXPECT_EQ(w.Dlg().m_dict.m_strPath, dir.Cp932Path("b.vkd"));
  EXPECT_EQ(w.Dlg().m_dict.m_strWord[2], "z");
  EXPECT_TRUE(w.Dlg().m_dict.m_strWord[3].IsEmpty()) << "the old book's slots survived";
  EXPECT_EQ(Ini(), "[General]\r\nLastPath=" + dir.Cp932Path("b.vkd").Bytes() + "\r\n");
}

TEST_F(FileCommandsTest, AFailedOpenKeepsTheOpenDictionary) {
  WriteBytes(dir / "ro.vkd", VkdFile("ro", {}));
  ::chmod((dir / "ro.vkd").c_str(), 0444);
  WriteBytes(dir / "bad.vkd", VkdString("bad") + VkdCount(2));
  const std::pair<std::string, const char8_t*> cases[] = {
      {"missing.vkd", u8"ファイルが開けないよ"},
      {"ro.vkd", u8"ファイルが開けないよ"},
      {"bad.vkd", u8"ファイルが壊れてるよ"},
  };
  for (const auto& [file, notice] : cases) {
    MainWindowHarness w(ui, dir.path());
    w.SetEntries(u8"a", {{u8"w", u8"m"}});
    w.Dlg().m_dict.m_strPath = dir.Cp932Path("a.vkd");
    w.Dlg().m_strDictLabel = "a";
    w.Dlg().UpdateData(FALSE);
    w.Command(IDC_SEARCH);
    w.Select(0);
    FileDialog(true, u8"*.vkd", file);
    ui.ExpectNotice(notice);
    w.Command(IDC_OPEN_DICT);
    ui.VerifyAllConsumed();
    EXPECT_EQ(w.Dlg().m_dict.m_strName, "a") << file;
    EXPECT_EQ(w.Dlg().m_dict.m_nCount, 1) << file;
    EXPECT_EQ(w.Dlg().m_dict.m_strPath, dir.Cp932Path("a.vkd")) << file;
    EXPECT_EQ(w.Text(IDC_DICT_LABEL), "a") << file;
    EXPECT_EQ(w.Text(IDC_SHOWN_WORD), "w") << file;
    EXPECT_EQ(w.ListItems(), std::vector<std::string>{"w"}) << file;
    EXPECT_TRUE(w.MenuEnabled(ID_WORD_ADD)) << file;
  }
  EXPECT_FALSE(std::filesystem::exists(dir / "a.vkd")) << "something saved over the old path";
  EXPECT_FALSE(std::filesystem::exists(dir / "Vokari.ini"));
}

TEST_F(FileCommandsTest, SaveAsRedirectsLaterSavesButNotTheRememberedPath) {
  WriteBytes(dir / "Vokari.ini", "[General]\r\nLastPath=/first.vkd\r\n");
  MainWindowHarness w(ui, dir.path());
  w.SetEntries(u8"X", {{u8"a", u8"1"}});
  w.Dlg().m_dict.m_strPath = dir.Cp932Path("X.vkd");
  FileDialog(false, u8"X.vkd", "other.vkd");
  ui.ExpectMessage(u8"保存した！", u8"Vokari", MB_OK);
  w.Command(ID_FILE_SAVE_AS);
  EXPECT_EQ(ReadBytes(dir / "other.vkd"), VkdFile("X", {{"a", "1"}}));
  EXPECT_EQ(w.Dlg().m_dict.m_strPath, dir.Cp932Path("other.vkd"));
  EXPECT_EQ(Ini(), "[General]\r\nLastPath=/first.vkd\r\n");
  EXPECT_EQ(w.ListItems(), std::vector<std::string>{"a"});

  // With no dictionary the dialog proposes just the extension.
  MainWindowHarness fresh(ui, dir.path());
  FileDialog(false, u8".vkd", "empty.vkd");
  ui.ExpectMessage(u8"保存した！", u8"Vokari", MB_OK);
  fresh.Command(ID_FILE_SAVE_AS);
  EXPECT_EQ(ReadBytes(dir / "empty.vkd"), std::string(5, '\0'));
}

// The file dialogs start in the folder of the open dictionary's file, else in the folder where
// the last file was chosen in this run, else in the current directory.
TEST_F(FileCommandsTest, FileDialogsStartBesideTheDictionaryOrWhereAFileWasLastChosen) {
  std::filesystem::create_directory(dir / "other");
  WriteBytes(dir / "other" / "b.vkd", VkdFile("b", {}));
  MainWindowHarness w(ui, dir.path());
  struct Step {
    const char* what;
    UINT command;
    std::string startsIn;    // "" : the current directory
    std::string chosen;      // "" : Cancel
    bool loadFirst = false;  // other/b.vkd becomes the open dictionary first
  };
  const Step steps[] = {
      {"nothing chosen yet", IDC_OPEN_DICT, "", "sub/missing.vkd"},
      {"where the last file was chosen", ID_FILE_SAVE_AS, "sub", ""},
      {"a cancelled dialog leaves it", ID_FILE_SAVE_AS, "sub", ""},
      {"beside the open dictionary", IDC_OPEN_DICT, "other", "", true},
      {"New too", ID_DICT_NEW, "other", ""},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    if (step.loadFirst) {
      ASSERT_EQ(w.Dlg().LoadDictionary(dir.Cp932Path("other/b.vkd")), 1);
    }
    if (step.command == ID_DICT_NEW) NameDialog(u8"n");
    std::optional<CString> answer;
    if (!step.chosen.empty()) answer = dir.Cp932Path(step.chosen);
    const CString startsIn = step.startsIn.empty() ? CString() : dir.Cp932Path(step.startsIn);
    ui.ExpectFileDialog(step.command == IDC_OPEN_DICT, answer,
                        [&](const FileDialogRequest& r) { EXPECT_EQ(r.initialDir, startsIn); });
    if (answer) ui.ExpectNotice(u8"ファイルが開けないよ");
    w.Command(step.command);
    ui.VerifyAllConsumed();
  }
  EXPECT_EQ(CFileDialog::FolderOf("/a.vkd"), "/");
  EXPECT_EQ(CFileDialog::FolderOf("a.vkd"), "");
}

}  // namespace
