// The word book's own operations: clearing and the edits.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "DictData.h"

namespace {

TEST(WordBookTest, ClearEmptiesEverySlot) {
  auto book = std::make_unique<CDictData>();
  book->m_strName = "n";
  book->m_strPath = "p";
  book->m_nCount = 3;
  book->m_nCurrent = 2;
  for (int i : {0, 5, 1023}) {
    book->m_strWord[i] = "w";
    book->m_strMeaning[i] = "m";
  }
  book->Clear();
  EXPECT_TRUE(book->m_strName.IsEmpty());
  EXPECT_TRUE(book->m_strPath.IsEmpty());
  EXPECT_EQ(book->m_nCount, 0);
  EXPECT_EQ(book->m_nCurrent, 0);
  for (int i = 0; i < CDictData::MAX_WORDS; ++i) {
    ASSERT_TRUE(book->m_strWord[i].IsEmpty()) << i;
    ASSERT_TRUE(book->m_strMeaning[i].IsEmpty()) << i;
  }
}

// Each slot as its word followed by its meaning, live or not.
std::vector<std::string> Slots(const CDictData& book, int n) {
  std::vector<std::string> out;
  for (int i = 0; i < n; ++i)
    out.push_back(book.m_strWord[i].Bytes() + book.m_strMeaning[i].Bytes());
  return out;
}

TEST(WordBookTest, EditsKeepTheSlotsBeyondTheCount) {
  struct Case {
    const char* name;
    std::function<void(CDictData&)> edit;
    int count;
    std::vector<std::string> slots;
  };
  const Case cases[] = {
      {"remove in the middle: the last moves in and its slot keeps its texts",
       [](CDictData& b) { b.RemoveAt(1); },
       4,
       {"a1", "e5", "c3", "d4", "e5", ""}},
      {"remove the last: nothing moves",
       [](CDictData& b) { b.RemoveAt(4); },
       4,
       {"a1", "b2", "c3", "d4", "e5", ""}},
      {"remove the only one",
       [](CDictData& b) {
         b.m_nCount = 1;
         b.RemoveAt(0);
       },
       0,
       {"a1", "b2", "c3", "d4", "e5", ""}},
      {"append after a remove overwrites the slot left behind",
       [](CDictData& b) {
         b.RemoveAt(0);
         b.Append("f", "6");
       },
       5,
       {"e5", "b2", "c3", "d4", "f6", ""}},
      {"append",
       [](CDictData& b) { EXPECT_TRUE(b.Append("f", "6")); },
       6,
       {"a1", "b2", "c3", "d4", "e5", "f6"}},
      {"replace",
       [](CDictData& b) { b.Replace(2, "x", "9"); },
       5,
       {"a1", "b2", "x9", "d4", "e5", ""}},
  };
  for (const Case& c : cases) {
    auto book = std::make_unique<CDictData>();
    for (const char* entry : {"a1", "b2", "c3", "d4", "e5"})
      book->Append(CString(entry, 1), CString(entry + 1, 1));
    book->m_nCurrent = 3;
    c.edit(*book);
    EXPECT_EQ(book->m_nCount, c.count) << c.name;
    EXPECT_EQ(Slots(*book, 6), c.slots) << c.name;
    EXPECT_EQ(book->m_nCurrent, 3) << c.name << ": the current index is the window's";
  }
}

TEST(WordBookTest, AFullBookTakesNoMoreAndOnlyLiveIndexesAreLive) {
  auto book = std::make_unique<CDictData>();
  for (int i = 0; i < CDictData::MAX_WORDS; ++i) ASSERT_TRUE(book->Append("w", "m")) << i;
  EXPECT_FALSE(book->Append("x", "y"));
  EXPECT_EQ(book->m_nCount, CDictData::MAX_WORDS);
  EXPECT_EQ(book->m_strWord[CDictData::MAX_WORDS - 1], "w");
  book->m_nCount = 2;
  const std::pair<int, bool> live[] = {{-1, false}, {0, true}, {1, true}, {2, false}};
  for (auto [index, isLive] : live) EXPECT_EQ(book->IsLive(index), isLive) << index;
}

}  // namespace
