#include "SecondaryDialogs.h"

void CAddWordDlg::DoDataExchange(CDataExchange* pDX) {
  DDX_Text(pDX, IDC_ENTRY_WORD, m_strWord);
  DDX_Text(pDX, IDC_ENTRY_MEANING, m_strMeaning);
  DDX_Check(pDX, IDC_CONTINUOUS, m_bContinuous);
}

void CNewDictDlg::DoDataExchange(CDataExchange* pDX) {
  DDX_Text(pDX, IDC_DICT_NAME, m_strName);
}

void CSettingsDlg::DoDataExchange(CDataExchange* pDX) {
  DDX_Check(pDX, IDC_LAST_FILE_OPEN, m_bLastFileOpen);
  DDX_Check(pDX, IDC_IF_ADD_SAVE, m_bIfAddSave);
  DDX_Check(pDX, IDC_KEEP_BACKUPS, m_bKeepBackups);
}

bool CChangedOutsideDlg::OnCmdMsg(UINT id, UINT code) {
  if (id == IDYES && code == BN_CLICKED) {
    EndDialog(IDYES);
    return true;
  }
  return CDialog::OnCmdMsg(id, code);
}
