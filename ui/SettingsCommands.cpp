// Reading the settings at start and the settings dialog.
#include "DictionaryDlg.h"
#include "Profile.h"
#include "SecondaryDialogs.h"
#include "Settings.h"

void CDictionaryDlg::LoadSettings() {
  m_strIniPath = SettingsFilePath();
  m_dict.Clear();
  m_bLastFileOpen =
      static_cast<int>(GetPrivateProfileIntA("General", "LastFileOpen", 0, m_strIniPath));
  m_bIfAddSave = static_cast<int>(GetPrivateProfileIntA("General", "IfAddSave", 0, m_strIniPath));
  if (m_bLastFileOpen) {
    char lastPath[260] = {};
    if (GetPrivateProfileStringA("General", "LastPath", "", lastPath, sizeof lastPath,
                                 m_strIniPath) > 1)
      m_dict.m_strPath = CString(lastPath);
  }
  if (!m_dict.m_strPath.IsEmpty()) {
    if (LoadDictionary(m_dict.m_strPath) == 0)
      WritePrivateProfileStringA("General", "LastPath", "", m_strIniPath);
  }
}

void CDictionaryDlg::OnSettings() {
  CSettingsDlg dlg;
  dlg.m_bLastFileOpen = m_bLastFileOpen;
  dlg.m_bIfAddSave = m_bIfAddSave;
  if (dlg.DoModal() != IDOK) return;
  WriteProfileNumber("General", "LastFileOpen", dlg.m_bLastFileOpen, m_strIniPath);
  WriteProfileNumber("General", "IfAddSave", dlg.m_bIfAddSave, m_strIniPath);
  m_bLastFileOpen = dlg.m_bLastFileOpen;
  m_bIfAddSave = dlg.m_bIfAddSave;
}
