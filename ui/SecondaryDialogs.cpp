#include "SecondaryDialogs.h"

#include "Messages.h"
#include "WinApp.h"

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

void CRestoreDlg::DoDataExchange(CDataExchange* pDX) {
  DDX_Control(pDX, IDC_VERSION_LIST, m_listVersions);
}

BOOL CRestoreDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  int first = -1;
  for (const Row& row : m_rows) {
    const int at = m_listVersions.AddString(row.text);
    if (first < 0 && row.whyNot.IsEmpty()) first = at;
  }
  if (first >= 0) m_listVersions.SetCurSel(first);
  return TRUE;
}

void CRestoreDlg::OnOK() {
  const int chosen = m_listVersions.GetCurSel();
  if (chosen < 0 || chosen >= static_cast<int>(m_rows.size())) {
    AfxMessageBox(U8(msg::kChooseVersion));
    return;
  }
  if (!m_rows[chosen].whyNot.IsEmpty()) {
    AfxMessageBox(m_rows[chosen].whyNot);
    return;
  }
  m_nChosen = chosen;
  CDialog::OnOK();
}

bool CRestoreDlg::OnCmdMsg(UINT id, UINT code) {
  if (id == IDC_VERSION_LIST && code == LBN_DBLCLK) {
    OnOK();
    return true;
  }
  return CDialog::OnCmdMsg(id, code);
}

bool CChangedOutsideDlg::OnCmdMsg(UINT id, UINT code) {
  if (id == IDYES && code == BN_CLICKED) {
    EndDialog(IDYES);
    return true;
  }
  return CDialog::OnCmdMsg(id, code);
}
