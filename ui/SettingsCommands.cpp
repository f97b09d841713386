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
  m_strReopenPath = stored.lastPath;
  m_bKeepBackups = stored.keepBackups;
  m_bSearchFold = stored.searchFold;
  m_bSearchMeanings = stored.searchMeanings;
}

// The reopening that start-up does once the window shows: the file named on the command line,
// else the remembered one. The book takes a path only when its file loads.
void CDictionaryDlg::ReopenAtStart() {
  if (m_bStartFileGiven) {
    LoadDictionary(m_strStartFile);
    return;
  }
  if (m_strReopenPath.IsEmpty()) return;
  if (LoadDictionary(m_strReopenPath) == 0) ForgetLastPath(m_strIniPath);
}

void CDictionaryDlg::OpenAtStart(const CString& path) {
  m_strStartFile = path;
  m_bStartFileGiven = true;
}

void CDictionaryDlg::OnSettings() {
  CSettingsDlg dlg;
  dlg.m_bLastFileOpen = m_bLastFileOpen;
  dlg.m_bIfAddSave = m_bIfAddSave;
  dlg.m_bKeepBackups = m_bKeepBackups;
  if (dlg.DoModal() != IDOK) return;
  StoreOptions(m_strIniPath, dlg.m_bLastFileOpen, dlg.m_bIfAddSave);
  // Written only when changed, so that a settings file stays as it was while it is on.
  if (dlg.m_bKeepBackups != m_bKeepBackups) StoreKeepBackups(m_strIniPath, dlg.m_bKeepBackups);
  m_bLastFileOpen = dlg.m_bLastFileOpen;
  m_bIfAddSave = dlg.m_bIfAddSave;
  m_bKeepBackups = dlg.m_bKeepBackups;
}
