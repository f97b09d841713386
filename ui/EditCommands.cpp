// Registering, correcting and deleting entries.
#include "Archive.h"
#include "DictionaryDlg.h"
#include "Messages.h"
#include "SecondaryDialogs.h"
#include "WinApp.h"

namespace {
// The word is checked before the meaning; a missing one gets its notice.
bool HasWordAndMeaning(const CAddWordDlg& dlg) {
  if (dlg.m_strWord.IsEmpty()) {
    AfxMessageBox(U8(msg::kNeedWord));
    return false;
  }
  if (dlg.m_strMeaning.IsEmpty()) {
    AfxMessageBox(U8(msg::kNeedMeaning));
    return false;
  }
  // The edit box takes pasted text of any length, the file holds no text longer than this.
  if (dlg.m_strMeaning.Bytes().size() > CArchive::kLongestString) {
    AfxMessageBox(U8(msg::kMeaningTooLong));
    return false;
  }
  return true;
}
}  // namespace

bool CDictionaryDlg::HasLiveCurrent() const {
  return m_dict.IsLive(m_dict.m_nCurrent);
}

// The dialog comes back after each entry while its check box was on at the last one added, and
// after a rejected entry only then. One save is offered for all the entries added.
void CDictionaryDlg::OnAddWord() {
  CAddWordDlg dlg;
  bool added = false;
  bool again = false;
  do {
    if (m_dict.m_nCount >= CDictData::MAX_WORDS) {
      AfxMessageBox(U8(msg::kBookFull));
      break;
    }
    dlg.m_strWord.Empty();
    dlg.m_strMeaning.Empty();
    if (dlg.DoModal() != IDOK) break;
    if (!HasWordAndMeaning(dlg)) continue;
    m_history.Append(m_dict, dlg.m_strWord, dlg.m_strMeaning);
    m_bModified = m_history.IsModified();
    UpdateUndoItems();
    CString result;
    result.Format(U8(msg::kAdded), m_dict.m_strName, dlg.m_strWord);
    MessageBox(result, U8(msg::kResultCaption), MB_OK);
    added = true;
    again = dlg.m_bContinuous != 0;
    ShowCount();
    UpdateData(FALSE);
  } while (again);
  if (m_bIfAddSave && added) ConfirmAndSave();
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
  if (dlg.DoModal() != IDOK || !HasWordAndMeaning(dlg)) return;
  m_history.Replace(m_dict, current, dlg.m_strWord, dlg.m_strMeaning);
  m_bModified = m_history.IsModified();
  UpdateUndoItems();
  // The panes show the entry as it now is; the search box keeps what the user typed there.
  m_strShownWord = dlg.m_strWord;
  m_strShownMeaning = dlg.m_strMeaning;
  SetDlgItemText(IDC_SHOWN_WORD, m_strShownWord);
  SetDlgItemText(IDC_SHOWN_MEANING, m_strShownMeaning);
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
  m_history.RemoveAt(m_dict, current);
  m_bModified = m_history.IsModified();
  UpdateUndoItems();
  MessageBox(U8(msg::kDeleted), CString(), MB_OK);
  RefreshWordList();
  if (m_bIfAddSave) ConfirmAndSave();
  ShowCount();
  // The deleted entry is gone from the panes, and none takes its place.
  ForgetCurrent();
  UpdateData(FALSE);
  UpdateMenuState();
}
