// Reading the settings at start and the settings dialog.
#include "DictionaryDlg.h"
#include "SecondaryDialogs.h"
#include "Settings.h"

void CDictionaryDlg::LoadSettings() {
  m_strIniPath = SettingsFilePath();
  m_dict.Clear();
  const StoredSettings stored = ReadSettings(m_strIniPath);
  m_bLastFileOpen = stored.lastFileOpen;
  m_bIfAddSave = stored.ifAddSave;
  // The book takes the remembered path only when its file loads.
  if (!stored.lastPath.IsEmpty()) {
    if (LoadDictionary(stored.lastPath) == 0) ForgetLastPath(m_strIniPath);
  }
}

void CDictionaryDlg::OnSettings() {
  CSettingsDlg dlg;
  dlg.m_bLastFileOpen = m_bLastFileOpen;
  dlg.m_bIfAddSave = m_bIfAddSave;
  if (dlg.DoModal() != IDOK) return;
  StoreOptions(m_strIniPath, dlg.m_bLastFileOpen, dlg.m_bIfAddSave);
  m_bLastFileOpen = dlg.m_bLastFileOpen;
  m_bIfAddSave = dlg.m_bIfAddSave;
}
