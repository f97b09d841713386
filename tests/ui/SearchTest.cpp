// Filling the word list from the search text and choosing the current entry by selection.
#include <gtest/gtest.h>

#include "MainWindowHarness.h"
#include "VkdBytes.h"

namespace {

using Entries = std::vector<std::pair<std::u8string_view, std::u8string_view>>;

class SearchTest : public ::testing::Test {
 protected:
  TempDir dir;
  ScriptedUi ui;
};

TEST_F(SearchTest, ListsTheWordsThatContainTheSearchText) {
  struct Case {
    const char* name;
    Entries entries;
    std::u8string_view search;
    std::vector<std::string> listed;
  };
  const Case cases[] = {
      {"empty text lists all in entry order with duplicates",
       {{u8"b", u8"1"}, {u8"a", u8"2"}, {u8"b", u8"3"}, {u8"", u8"4"}},
       u8"",
       {"b", "a", "b", ""}},
      {"case-sensitive containment",
       {{u8"Cat", u8"1"}, {u8"concatenate", u8"2"}, {u8"cat", u8"3"}},
       u8"cat",
       {"concatenate", "cat"}},
      {"a text only in a meaning lists nothing", {{u8"dog", u8"cat"}}, u8"cat", {}},
      {"backslash does not match the second byte of so",
       {{u8"ソ", u8"1"}, {u8"a\\b", u8"2"}},
       u8"\\",
       {"a\\b"}},
      {"japanese inside a word",
       {{u8"英単語", u8"1"}, {u8"単語帳", u8"2"}, {u8"辞書", u8"3"}},
       u8"単語",
       {Utf8(u8"英単語"), Utf8(u8"単語帳")}},
      {"spaces count", {{u8"a cat", u8"1"}, {u8"acat", u8"2"}}, u8" cat", {"a cat"}},
      {"an empty word book lists nothing", {}, u8"", {}},
  };
  for (const Case& c : cases) {
    MainWindowHarness w(ui, dir.path());
    w.SetEntries(u8"d", c.entries);
    w.TypeSearch(c.search);
    w.Command(IDC_SEARCH);
    EXPECT_EQ(w.ListItems(), c.listed) << c.name;
    EXPECT_EQ(w.Peer().At(IDC_WORD_LIST).selected, -1) << c.name;
  }
}

TEST_F(SearchTest, SearchLeavesCurrentEntryAndShownTextsAlone) {
  MainWindowHarness w(ui, dir.path());
  w.SetEntries(u8"d", {{u8"a", u8"1"}, {u8"b", u8"2"}});
  w.Dlg().m_dict.m_nCurrent = 1;
  w.TypeInto(IDC_SHOWN_WORD, u8"typed word");
  w.TypeInto(IDC_SHOWN_MEANING, u8"typed meaning");
  w.Dlg().m_dict.m_strName = "";
  w.Dlg().UpdateMenuState();
  w.Dlg().m_dict.m_strName = "d";
  w.Command(IDC_SEARCH);
  EXPECT_EQ(w.Dlg().m_dict.m_nCurrent, 1);
  EXPECT_EQ(w.Text(IDC_SHOWN_WORD), "typed word");
  EXPECT_EQ(w.Text(IDC_SHOWN_MEANING), "typed meaning");
  EXPECT_FALSE(w.MenuEnabled(ID_WORD_ADD)) << "a search changed the menu";
}

TEST_F(SearchTest, EachItemSelectsTheEntryItWasListedFor) {
  const Entries entries = {{u8"concatenate", u8"連結する"},
                           {u8"cat", u8"ねこ"},
                           {u8"dog", u8"いぬ"},
                           {u8"cat", u8"ネコ科"},
                           {u8"ソ", u8"音階"}};
  MainWindowHarness w(ui, dir.path());
  w.SetEntries(u8"d", entries);
  w.Command(IDC_SEARCH);
  ASSERT_EQ(w.ListItems().size(), entries.size());
  for (int item : {1, 0, 3, 2, 4, 1}) {
    w.Select(item);
    EXPECT_EQ(w.Dlg().m_dict.m_nCurrent, item);
    EXPECT_EQ(w.Text(IDC_SHOWN_WORD), Utf8(entries[item].first)) << item;
    EXPECT_EQ(w.Text(IDC_SHOWN_MEANING), Utf8(entries[item].second)) << item;
    EXPECT_TRUE(w.MenuEnabled(ID_WORD_DELETE));
    EXPECT_TRUE(w.MenuEnabled(ID_WORD_MODIFY));
  }
  // Filtered: the items stand for entries 0, 1 and 3.
  w.TypeSearch(u8"cat");
  w.Command(IDC_SEARCH);
  ASSERT_EQ(w.ListItems(), (std::vector<std::string>{"concatenate", "cat", "cat"}));
  w.Select(2);
  EXPECT_EQ(w.Dlg().m_dict.m_nCurrent, 3);
  EXPECT_EQ(w.Text(IDC_SHOWN_MEANING), Utf8(u8"ネコ科"));
}

TEST_F(SearchTest, AnEmptyWordFromAFileSelectsItsOwnEntry) {
  MainWindowHarness w(ui, dir.path());
  w.SetEntries(u8"d", {{u8"a", u8"1"}, {u8"", u8"empty word"}});
  w.Command(IDC_SEARCH);
  w.Select(1);
  EXPECT_EQ(w.Dlg().m_dict.m_nCurrent, 1);
  EXPECT_EQ(w.Text(IDC_SHOWN_MEANING), "empty word");
  EXPECT_TRUE(w.MenuEnabled(ID_WORD_DELETE)) << "an entry with an empty word is current too";
}

TEST_F(SearchTest, AnItemLeftFromBeforeACorrectionShowsTheNewWord) {
  MainWindowHarness w(ui, dir.path());
  w.SetEntries(u8"d", {{u8"x", u8"old"}, {u8"z", u8"other"}});
  w.Command(IDC_SEARCH);
  w.Dlg().m_dict.m_strWord[0] = "y";
  w.Dlg().m_dict.m_strMeaning[0] = "new";
  w.Select(1);
  w.Select(0);
  EXPECT_EQ(w.ListItems()[0], "x");
  EXPECT_EQ(w.Dlg().m_dict.m_nCurrent, 0);
  EXPECT_EQ(w.Text(IDC_SHOWN_WORD), "y");
  EXPECT_EQ(w.Text(IDC_SHOWN_MEANING), "new");
}

TEST_F(SearchTest, NoSelectedItemChangesNothing) {
  MainWindowHarness w(ui, dir.path());
  w.SetEntries(u8"d", {{u8"a", u8"1"}, {u8"b", u8"2"}});
  w.Command(IDC_SEARCH);
  w.Select(1);
  w.Select(-1);
  EXPECT_EQ(w.Dlg().m_dict.m_nCurrent, 1);
  EXPECT_EQ(w.Text(IDC_SHOWN_WORD), "b");
}

TEST_F(SearchTest, RefreshReadsTheSearchBoxAsItStands) {
  MainWindowHarness w(ui, dir.path());
  w.SetEntries(u8"d", {{u8"apple", u8"1"}, {u8"banana", u8"2"}});
  w.Dlg().m_strSearch = "apple";  // assigned but never shown: the box wins
  w.TypeSearch(u8"nan");
  w.Command(IDC_SEARCH);
  EXPECT_EQ(w.ListItems(), std::vector<std::string>{"banana"});
  EXPECT_EQ(w.Dlg().m_strSearch, "nan");
  w.TypeSearch(u8"p");  // typing alone does not change the list
  EXPECT_EQ(w.ListItems(), std::vector<std::string>{"banana"});
}

// The 検索 menu: each option turns over when chosen, is written to the settings file at once,
// and a list that shows a search is refilled with it; a list emptied by a load is not.
TEST_F(SearchTest, SearchOptionsTurnOverAreRememberedAndRefill) {
  const Entries entries = {{u8"ネコ", u8"cat"}, {u8"Cat", u8"ねこ"}, {u8"dog", u8"いぬ"}};
  struct Case {
    const char* name;
    std::string ini;
    bool shown;  // the list shows a search when the options are chosen, not the load after it
    std::vector<UINT> chosen;
    bool fold, meanings;
    std::string iniAfter;
    std::vector<std::string> listed;
  };
  const std::string neko = Utf8(u8"ネコ");
  const Case cases[] = {
      {"both off, as always", "", true, {}, false, false, "", {}},
      {"fold", "", true, {ID_SEARCH_FOLD}, true, false, "[General]\r\nSearchFold=1\r\n", {neko}},
      {"meanings",
       "",
       true,
       {ID_SEARCH_MEANINGS},
       false,
       true,
       "[General]\r\nSearchMeanings=1\r\n",
       {"Cat"}},
      {"both",
       "",
       true,
       {ID_SEARCH_MEANINGS, ID_SEARCH_FOLD},
       true,
       true,
       "[General]\r\nSearchMeanings=1\r\nSearchFold=1\r\n",
       {neko, "Cat"}},
      {"fold twice is off again and written so",
       "",
       true,
       {ID_SEARCH_FOLD, ID_SEARCH_FOLD},
       false,
       false,
       "[General]\r\nSearchFold=0\r\n",
       {}},
      {"read at start",
       "[General]\r\nSearchFold=1\r\nSearchMeanings=1\r\n",
       true,
       {},
       true,
       true,
       "",
       {neko, "Cat"}},
      {"7 counts as on and turns off",
       "[General]\r\nSearchFold=7\r\n",
       true,
       {ID_SEARCH_FOLD},
       false,
       false,
       "[General]\r\nSearchFold=0\r\n",
       {}},
      {"a search, then a load: the list stays empty",
       "",
       false,
       {ID_SEARCH_FOLD},
       true,
       false,
       "[General]\r\nLastPath=" + dir.Cp932Path("d.vkd").Bytes() + "\r\nSearchFold=1\r\n",
       {}},
  };
  for (const Case& c : cases) {
    std::filesystem::remove(dir / "Vokari.ini");
    if (!c.ini.empty()) WriteBytes(dir / "Vokari.ini", c.ini);
    MainWindowHarness w(ui, dir.path());
    w.SetEntries(u8"d", entries);
    w.TypeSearch(u8"ねこ");
    w.Command(IDC_SEARCH);
    if (!c.shown) {
      WriteBytes(dir / "d.vkd", VkdFile("d", {{Sjis(u8"ネコ"), "cat"}}));
      ASSERT_EQ(w.Dlg().LoadDictionary(dir.Cp932Path("d.vkd")), 1);
    }
    for (UINT id : c.chosen) w.Command(id);
    EXPECT_EQ(w.Peer().IsMenuItemChecked(ID_SEARCH_FOLD), c.fold) << c.name;
    EXPECT_EQ(w.Peer().IsMenuItemChecked(ID_SEARCH_MEANINGS), c.meanings) << c.name;
    const std::string ini =
        std::filesystem::exists(dir / "Vokari.ini") ? ReadBytes(dir / "Vokari.ini") : std::string();
    EXPECT_EQ(ini, c.iniAfter.empty() ? c.ini : c.iniAfter) << c.name;
    EXPECT_EQ(w.ListItems(), c.listed) << c.name;
  }
}

}  // namespace
