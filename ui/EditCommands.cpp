// Registering, correcting and deleting entries.
#include "DictionaryDlg.h"
#include "Messages.h"
#include "SecondaryDialogs.h"
#include "WinApp.h"

bool CDictionaryDlg::HasLiveCurrent() const {
  return m_dict.m_nCurrent >= 0 && m_dict.m_nCurrent < m_dict.m_nCount;
}

void CDictionaryDlg::OnAddWord() {
  if (m_dict.m_nCount >= CDictData::MAX_WORDS) {
    AfxMessageBox(U8(msg::kBookFull));
    return;
  }
  CAddWordDlg dlg;
  int repeat = 0;
  int added = 0;
  do {
    dlg.m_strWord.Empty();
    dlg.m_strMeaning.Empty();
    if (dlg.DoModal() != IDOK) {
      repeat = 0;
      break;
    }
    if (dlg.m_strWord.IsEmpty()) {
      AfxMessageBox(U8(msg::kNeedWord));
    } else if (dlg.m_strMeaning.IsEmpty()) {
      AfxMessageBox(U8(msg::kNeedMeaning));
    } else {
      const int slot = m_dict.m_nCount;
      m_dict.m_strWord[slot] = dlg.m_strWord;
      m_dict.m_strMeaning[slot] = dlg.m_strMeaning;
      m_dict.m_nCount++;
      m_bModified = true;
      CString result;
      result.Format(U8(msg::kAdded), m_dict.m_strName, dlg.m_strWord);
      MessageBox(result, U8(msg::kResultCaption), MB_OK);
      repeat = dlg.m_bContinuous;
      added = 1;
      ShowCount();
      UpdateData(FALSE);
      if (repeat && m_dict.m_nCount >= CDictData::MAX_WORDS) {
        AfxMessageBox(U8(msg::kBookFull));
        repeat = 0;
      }
    }
  } while (repeat);
  if (m_bIfAddSave && added == 1) ConfirmAndSave();
}

void CDictionaryDlg::OnModifyWord() {
  if (!HasLiveCurrent()) {
    AfxMessageBox(U8(msg::kSelectWord));
    return;
  }
  const int current = m_dict.m_nCurrent;
  CAddWordDlg dlg;
  dlg.m_strWord = m_dict.m_strWord[current];
  dlg.m_strMeaning = m_dict.m_strMeaning[current];
  if (dlg.DoModal() != IDOK) return;
  if (dlg.m_strWord.IsEmpty()) {
    AfxMessageBox(U8(msg::kNeedWord));
    return;
  }
  if (dlg.m_strMeaning.IsEmpty()) {
    AfxMessageBox(U8(msg::kNeedMeaning));
    return;
  }
  m_dict.m_strWord[current] = dlg.m_strWord;
  m_dict.m_strMeaning[current] = dlg.m_strMeaning;
  m_bModified = true;
  // The panes show the entry as it now is.
  m_strShownWord = dlg.m_strWord;
  m_strShownMeaning = dlg.m_strMeaning;
  UpdateData(FALSE);
  CString result;
  result.Format(U8(msg::kModified), dlg.m_strWord);
  MessageBox(result, U8(msg::kResultCaption), MB_OK);
  if (m_bIfAddSave) ConfirmAndSave();
}

void CDictionaryDlg::OnDeleteWord() {
  if (!HasLiveCurrent()) {
    AfxMessageBox(U8(msg::kSelectWord));
    return;
  }
  const int current = m_dict.m_nCurrent;
  CString question;
  question.Format(U8(msg::kConfirmDelete), m_dict.m_strName, m_dict.m_strWord[current]);
  if (MessageBox(question, U8(msg::kConfirmDeleteCaption), MB_YESNO | MB_ICONEXCLAMATION) != IDYES)
    return;
  m_dict.m_nCount--;
  // The last live entry moves into the hole; its old slot keeps its texts, outside the book.
  m_dict.m_strWord[current] = m_dict.m_strWord[m_dict.m_nCount];
  m_dict.m_strMeaning[current] = m_dict.m_strMeaning[m_dict.m_nCount];
  m_bModified = true;
  MessageBox(U8(msg::kDeleted), CString(), MB_OK);
  RefreshWordList();
  if (m_bIfAddSave) ConfirmAndSave();
  ShowCount();
  // The deleted entry is gone from the panes, and none takes its place.
  ForgetCurrent();
  UpdateData(FALSE);
  UpdateMenuState();
}
