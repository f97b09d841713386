#include "EditHistory.h"

#include <utility>

std::size_t EditHistory::Step::Bytes() const {
  return word.Bytes().size() + meaning.Bytes().size() + oldWord.Bytes().size() +
         oldMeaning.Bytes().size();
}

void EditHistory::Reset(bool saved) {
  m_steps.clear();
  m_done = 0;
  m_dropped = 0;
  m_held = 0;
  m_saved = saved ? 0 : -1;
}

// A new step ends the steps taken back; if the file holds one of those, no step reaches it
// any more.
void EditHistory::Record(Step step) {
  while (m_steps.size() > m_done) {
    m_held -= m_steps.back().Bytes();
    m_steps.pop_back();
  }
  if (m_saved > Position()) m_saved = -1;
  m_held += step.Bytes();
  m_steps.push_back(std::move(step));
  ++m_done;
  while (m_held > m_limit && !m_steps.empty()) {
    m_held -= m_steps.front().Bytes();
    m_steps.pop_front();
    --m_done;
    ++m_dropped;
    if (m_saved >= 0 && m_saved < m_dropped) m_saved = -1;
  }
}

int EditHistory::Append(CDictData& book, const CString& word, const CString& meaning) {
  if (!book.Append(word, meaning)) return -1;
  Record({Kind::Add, book.m_nCount - 1, word, meaning, {}, {}});
  return book.m_nCount - 1;
}

int EditHistory::Replace(CDictData& book, int index, const CString& word, const CString& meaning) {
  Step step{Kind::Correct, index, word, meaning, book.m_strWord[index], book.m_strMeaning[index]};
  book.Replace(index, word, meaning);
  Record(std::move(step));
  return index;
}

void EditHistory::RemoveAt(CDictData& book, int index) {
  Step step{Kind::Delete, index, book.m_strWord[index], book.m_strMeaning[index], {}, {}};
  book.RemoveAt(index);
  Record(std::move(step));
}

int EditHistory::Undo(CDictData& book) {
  const Step& s = m_steps[--m_done];
  switch (s.kind) {
    case Kind::Add:
      book.RemoveAt(book.m_nCount - 1);
      return -1;
    case Kind::Correct:
      book.Replace(s.index, s.oldWord, s.oldMeaning);
      return s.index;
    case Kind::Delete:
      // The entry that moved into the hole goes back to the end, the deleted one to its place.
      if (book.IsLive(s.index)) {
        const CString movedWord = book.m_strWord[s.index];
        const CString movedMeaning = book.m_strMeaning[s.index];
        book.Append(movedWord, movedMeaning);
        book.Replace(s.index, s.word, s.meaning);
      } else {
        book.Append(s.word, s.meaning);
      }
      return s.index;
  }
  return -1;
}

int EditHistory::Redo(CDictData& book) {
  const Step& s = m_steps[m_done++];
  switch (s.kind) {
    case Kind::Add:
      book.Append(s.word, s.meaning);
      return book.m_nCount - 1;
    case Kind::Correct:
      book.Replace(s.index, s.word, s.meaning);
      return s.index;
    case Kind::Delete:
      book.RemoveAt(s.index);
      return -1;
  }
  return -1;
}
