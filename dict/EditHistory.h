// EditHistory: the edits made to a word book, so that each can be taken back and done again.
// Every add, correction and delete goes through it as one step, which keeps the texts needed
// to bring the book's live entries back to exactly what they were. The texts it holds are
// bounded (64 MiB unless told otherwise): past that the oldest steps go. It knows where the
// book's file stands, so that a book undone back to what was saved counts as unchanged. It
// knows nothing of files or windows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>

#include "CString.h"
#include "DictData.h"

class EditHistory {
 public:
  static constexpr std::size_t kDefaultLimit = 64u * 1024 * 1024;

  explicit EditHistory(std::size_t limitBytes = kDefaultLimit) : m_limit(limitBytes) {}

  // Forgets every step. saved: the book is now as its file holds it (after a load or New);
  // otherwise no point of the new history is (a book restored from an earlier version).
  void Reset(bool saved = true);
  // The book is now as its file holds it.
  void MarkSaved() { m_saved = Position(); }
  // The book differs from what its file held at the last Reset or MarkSaved.
  bool IsModified() const { return m_saved != Position(); }

  // The edits, made to book and kept as steps. Each returns the index of the entry it changed.
  // Append gives -1, changing nothing, when the book is full.
  int Append(CDictData& book, const CString& word, const CString& meaning);
  int Replace(CDictData& book, int index, const CString& word, const CString& meaning);
  // The last live entry moves into the hole, as CDictData::RemoveAt does.
  void RemoveAt(CDictData& book, int index);

  bool CanUndo() const { return m_done > 0; }
  bool CanRedo() const { return m_done < m_steps.size(); }
  // Takes back the last step done, or does again the last one taken back. The index of the
  // entry it concerns, or -1 when that entry is no longer in the book. Only for a book that has
  // had no other edits since.
  int Undo(CDictData& book);
  int Redo(CDictData& book);

  enum class Kind { Add, Correct, Delete };
  // What the next Undo or Redo would do: its kind and the word it names (an added or corrected
  // entry's word as the step left it, a deleted entry's word).
  Kind UndoKind() const { return m_steps[m_done - 1].kind; }
  const CString& UndoWord() const { return Named(m_steps[m_done - 1]); }
  Kind RedoKind() const { return m_steps[m_done].kind; }
  const CString& RedoWord() const { return Named(m_steps[m_done]); }

  // The bytes of text the steps hold.
  std::size_t HeldBytes() const { return m_held; }
  std::size_t Steps() const { return m_steps.size(); }

 private:
  struct Step {
    Kind kind;
    int index;
    // Add: the entry added. Correct: the entry after, then before. Delete: the entry deleted.
    CString word, meaning;
    CString oldWord, oldMeaning;
    std::size_t Bytes() const;
  };
  static const CString& Named(const Step& s) { return s.word; }
  void Record(Step step);
  std::int64_t Position() const { return m_dropped + static_cast<std::int64_t>(m_done); }

  std::size_t m_limit;
  std::deque<Step> m_steps;
  std::size_t m_done = 0;      // steps done; the ones after are taken back
  std::int64_t m_dropped = 0;  // steps that went for want of room, before the first kept
  std::int64_t m_saved = 0;    // the position the file holds; -1: none the history can reach
  std::size_t m_held = 0;
};
