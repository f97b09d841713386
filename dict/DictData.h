// CDictData: the word book in memory, a plain record of a name, a file path and up to MAX_WORDS
// entries (a word and its meaning). Its only operation is Clear; the main window reads and
// assigns the fields directly. It knows nothing of files or windows.
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
};
