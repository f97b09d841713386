// The history's bound on the texts it holds.
#include <gtest/gtest.h>

#include "EditHistory.h"

namespace {

TEST(EditHistoryTest, TheOldestStepsGoWhenTheTextsPassTheLimit) {
  CDictData book;
  EditHistory history(100);
  const CString meaning(std::string(39, 'm'));
  for (const char* word : {"a", "b", "c"}) history.Append(book, word, meaning);
  EXPECT_EQ(history.Steps(), 2u);
  EXPECT_EQ(history.HeldBytes(), 80u);
  EXPECT_TRUE(history.IsModified());
  history.Undo(book);
  history.Undo(book);
  EXPECT_FALSE(history.CanUndo());
  EXPECT_EQ(book.m_nCount, 1);
  EXPECT_TRUE(history.IsModified()) << "the saved point went with the oldest step";
  // A step larger than the whole limit is not kept at all.
  history.Redo(book);
  history.Replace(book, 0, "big", CString(std::string(200, 'x')));
  EXPECT_EQ(history.Steps(), 0u);
  EXPECT_EQ(history.HeldBytes(), 0u);
}

}  // namespace
