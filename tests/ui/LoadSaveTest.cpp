// Loading a dictionary file into the main window and saving it back, with real files.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "MainWindowHarness.h"
#include "Profile.h"
#include "ReplaceFile.h"
#include "VkdBytes.h"

namespace {

class LoadSaveTest : public ::testing::Test {
 protected:
  std::string IniValue(const char* key) {
    char buf[300] = {};
    GetPrivateProfileStringA("General", key, "<missing>", buf, sizeof buf,
                             dir.Cp932Path("Vokari.ini"));
    return buf;
  }
  TempDir dir;
  ScriptedUi ui;
};

const std::string kTwoEntries =
    VkdFile(Sjis(u8"英単語"), {{"cat", Sjis(u8"ねこ")}, {"dog", Sjis(u8"いぬ\r\n犬")}});

TEST_F(LoadSaveTest, LoadShowsNameAndCountAndRemembersThePath) {
  WriteBytes(dir / "a.vkd", kTwoEntries);
  MainWindowHarness w(ui, dir.path());
  w.Dlg().m_strShownWord = "shown";
  w.Dlg().m_strShownMeaning = "kept";
  w.Dlg().UpdateData(FALSE);
  w.Command(IDC_SEARCH);
  ASSERT_EQ(w.ListItems().size(), 0u);
  w.Dlg().m_dict.m_nCurrent = 7;
  for (int time = 0; time < 2; ++time) {  // the same file twice in a row
    EXPECT_EQ(w.Dlg().LoadDictionary(dir.Cp932Path("a.vkd")), 1);
    EXPECT_EQ(w.Text(IDC_DICT_LABEL), Utf8(u8"英単語"));
    EXPECT_EQ(w.Text(IDC_COUNT_LABEL), Utf8(u8"登録数：2"));
    EXPECT_EQ(w.Dlg().m_dict.m_strMeaning[1].Bytes(), Sjis(u8"いぬ\r\n犬"));
    EXPECT_TRUE(w.ListItems().empty());
    // The panes never show an entry of another book; the file becomes the book's.
    EXPECT_EQ(w.Text(IDC_SHOWN_WORD), "");
    EXPECT_EQ(w.Text(IDC_SHOWN_MEANING), "");
    EXPECT_EQ(w.Dlg().m_dict.m_strPath, dir.Cp932Path("a.vkd"));
    EXPECT_TRUE(w.MenuEnabled(ID_WORD_ADD));
    EXPECT_FALSE(w.MenuEnabled(ID_WORD_DELETE));
    EXPECT_EQ(IniValue("LastPath"), dir.Cp932Path("a.vkd").Bytes());
  }
}

TEST_F(LoadSaveTest, AFileWithAnEmptyNameLoadsButIsNotRemembered) {
  WriteBytes(dir / "n.vkd", VkdFile("", {{"a", "1"}, {"b", "2"}, {"c", "3"}}));
  MainWindowHarness w(ui, dir.path());
  EXPECT_EQ(w.Dlg().LoadDictionary(dir.Cp932Path("n.vkd")), 1);
  EXPECT_EQ(w.Text(IDC_DICT_LABEL), "");
  EXPECT_EQ(w.Text(IDC_COUNT_LABEL), Utf8(u8"登録数：3"));
  EXPECT_EQ(w.Dlg().m_dict.m_strWord[2], "c");
  EXPECT_FALSE(w.MenuEnabled(ID_WORD_ADD));
  EXPECT_FALSE(std::filesystem::exists(dir / "Vokari.ini"));
}

// Files that cannot be opened, and a damaged file, leave the window as it was. Which damage the
// reader finds, and where, is the reader's own test; here it fails only after it has read a name,
// a count and a word, which must not reach the open book.
TEST_F(LoadSaveTest, AFailedLoadLeavesEverythingAsItWas) {
  const std::string good = VkdFile("d", {{"w", "m"}});
  struct Case {
    const char* name;
    std::string bytes;
    bool readOnly;
    const char8_t* notice;
  };
  const Case cases[] = {
      {"missing", "", false, u8"ファイルが開けないよ"},
      {"read-only", good, true, u8"ファイルが開けないよ"},
      {"ends before a meaning", good.substr(0, 8), false, u8"ファイルが壊れてるよ"},
  };
  for (const Case& c : cases) {
    const auto file = dir / "f.vkd";
    std::filesystem::remove(file);
    if (std::string(c.name) != "missing") WriteBytes(file, c.bytes);
    if (c.readOnly) ::chmod(file.c_str(), 0444);
    MainWindowHarness w(ui, dir.path());
    w.SetEntries(u8"old", {{u8"x", u8"1"}, {u8"y", u8"2"}});
    w.Dlg().m_strDictLabel = "old";
    w.Dlg().m_strCountLabel = "count";
    w.Dlg().m_strShownWord = "x";
    w.Dlg().UpdateData(FALSE);
    w.Dlg().UpdateMenuState();
    w.Command(IDC_SEARCH);
    ui.ExpectNotice(c.notice);
    EXPECT_EQ(w.Dlg().LoadDictionary(dir.Cp932Path("f.vkd")), 0) << c.name;
    EXPECT_EQ(w.Dlg().m_dict.m_strName, "old") << c.name;
    EXPECT_EQ(w.Dlg().m_dict.m_nCount, 2) << c.name;
    EXPECT_EQ(w.Dlg().m_dict.m_strWord[0], "x") << c.name;
    EXPECT_EQ(w.Text(IDC_DICT_LABEL), "old") << c.name;
    EXPECT_EQ(w.Text(IDC_COUNT_LABEL), "count") << c.name;
    EXPECT_EQ(w.ListItems(), (std::vector<std::string>{"x", "y"})) << c.name;
    EXPECT_TRUE(w.MenuEnabled(ID_WORD_ADD)) << c.name;
    EXPECT_FALSE(w.Dlg().m_file.IsOpen()) << c.name;
    ui.VerifyAllConsumed();
    if (c.readOnly) ::chmod(file.c_str(), 0644);
  }
  EXPECT_FALSE(std::filesystem::exists(dir / "Vokari.ini"));
}

TEST_F(LoadSaveTest, SaveWritesTheFileThenSaysSoThenRefills) {
  WriteBytes(dir / "big.vkd", std::string(5000, 'z'));  // longer than what replaces it
  MainWindowHarness w(ui, dir.path());
  w.SetEntries(u8"英単語", {{u8"cat", u8"ねこ"}, {u8"dog", u8"いぬ\r\n犬"}});
  w.Dlg().m_dict.m_nCount = 1;
  w.Dlg().m_dict.m_strWord[1] = "left behind";  // slots past the count never reach the file
  w.TypeSearch(u8"c");
  ui.ClearEvents();
  ui.ExpectMessage(u8"保存した！", u8"Vokari", MB_OK);
  EXPECT_EQ(w.Dlg().SaveDictionary(dir.Cp932Path("big.vkd")), 1);
  EXPECT_EQ(ReadBytes(dir / "big.vkd"), VkdFile(Sjis(u8"英単語"), {{"cat", Sjis(u8"ねこ")}}));
  EXPECT_EQ(w.Dlg().m_dict.m_strPath, dir.Cp932Path("big.vkd"));
  EXPECT_EQ(ui.Events(), (std::vector<std::string>{"message:" + Utf8(u8"保存した！"), "list-reset",
                                                   "list-add:cat"}));
  EXPECT_FALSE(std::filesystem::exists(dir / "Vokari.ini")) << "a save wrote LastPath";
}

TEST_F(LoadSaveTest, ConfirmAndSaveAsksFirst) {
  MainWindowHarness w(ui, dir.path());
  w.SetEntries(u8"d", {{u8"a", u8"b"}});
  const CString path = dir.Cp932Path("c.vkd");
  w.Dlg().m_dict.m_strPath = path;
  const std::string question = path.ToUtf8() + Utf8(u8"\nに保存します。");
  const std::u8string q8(question.begin(), question.end());

  ui.ExpectMessage(q8, u8"上書き確認", MB_OKCANCEL, IDCANCEL);
  w.Command(ID_FILE_SAVE);
  EXPECT_FALSE(std::filesystem::exists(dir / "c.vkd")) << "Cancel wrote the file";

  ui.ExpectMessage(q8, u8"上書き確認", MB_OKCANCEL, IDOK);
  ui.ExpectMessage(u8"保存した！", u8"Vokari", MB_OK);
  w.Command(ID_FILE_SAVE);
  EXPECT_EQ(ReadBytes(dir / "c.vkd"), VkdFile("d", {{"a", "b"}}));

  // No file yet: the question's first line is empty and OK does nothing more.
  w.Dlg().m_dict.m_strPath.Empty();
  ui.ExpectMessage(u8"\nに保存します。", u8"上書き確認", MB_OKCANCEL, IDOK);
  w.Command(ID_FILE_SAVE);
  EXPECT_EQ(w.Dlg().SaveDictionary(CString()), 1);
}

TEST_F(LoadSaveTest, AFailedSaveKeepsTheOldFileAndThePath) {
  const std::string old = VkdFile("old", {{"o", "p"}});
  WriteBytes(dir / "keep.vkd", old);
  MainWindowHarness w(ui, dir.path());
  w.SetEntries(u8"new", {{u8"long", std::u8string(20000, u8'x')}});
  w.Dlg().m_dict.m_strPath = "before";

  ui.ExpectNotice(u8"ファイルが開けないよ");
  EXPECT_EQ(w.Dlg().SaveDictionary(dir.Cp932Path("no/such/dir.vkd")), 0);
  EXPECT_EQ(w.Dlg().m_dict.m_strPath, "before");

  PendingReplacement::SetWriteLimitForTesting(100);  // the disk fills up mid-write
  ui.ExpectNotice(u8"保存できなかったよ");
  const int result = w.Dlg().SaveDictionary(dir.Cp932Path("keep.vkd"));
  PendingReplacement::SetWriteLimitForTesting(std::nullopt);
  EXPECT_EQ(result, 0);
  EXPECT_EQ(ReadBytes(dir / "keep.vkd"), old);
  EXPECT_EQ(w.Dlg().m_dict.m_strPath, "before");
  EXPECT_FALSE(w.Dlg().m_file.IsOpen());
  size_t files = 0;
  for (auto& e : std::filesystem::directory_iterator(dir.path())) files += e.is_regular_file();
  EXPECT_EQ(files, 1u) << "a temporary file was left behind";

  ::chmod((dir / "keep.vkd").c_str(), 0444);
  ui.ExpectNotice(u8"ファイルが開けないよ");
  EXPECT_EQ(w.Dlg().SaveDictionary(dir.Cp932Path("keep.vkd")), 0);
  EXPECT_EQ(ReadBytes(dir / "keep.vkd"), old);
}

}  // namespace
