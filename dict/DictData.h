// CDictData: the word book in memory, a record of a name, a file path and up to MAX_WORDS
// entries (a word and its meaning), with the edits made to it: append, replace, remove, and
// Clear. Entries 0 to m_nCount - 1 are live; slots past them may keep the strings a removal
// left behind. The fields stay public for reading and for loading. It knows nothing of files or
// windows.
#pragma once

#include "CString.h"

class CDictData {
 public:
  static constexpr int MAX_WORDS = 1024;

  CString m_strName;
  CString m_strPath;
  CString m_strWord[MAX_WORDS];
  CString m_strMeaning[MAX_WORDS];
  int m_nCount = 0;
  int m_nCurrent = 0;

  // Empties the name, the path and all 1024 slots (also those left behind by deletes), and
  // sets the count and the current index to 0.
  void Clear();
  // Stores word and meaning in slot m_nCount and counts it; false, nothing changed, when full.
  bool Append(const CString& word, const CString& meaning);
  // Replaces the word and the meaning of live entry index.
  void Replace(int index, const CString& word, const CString& meaning);
  // Removes live entry index: the last live entry moves into its slot, whose old strings stay.
  void RemoveAt(int index);
  // Whether index names a live entry (0 <= index < m_nCount).
  bool IsLive(int index) const;
};
