// The 検索 menu: each option turns over when chosen, is remembered in the settings file at
// once, and refills the word list when it shows a search.
#include "DictionaryDlg.h"
#include "Settings.h"

void CDictionaryDlg::OnSearchFold() {
  m_bSearchFold = m_bSearchFold ? 0 : 1;
  StoreSearchFold(m_strIniPath, m_bSearchFold);
  ShowSearchOptions();
  if (m_bListShowsSearch) RefreshWordList();
}

void CDictionaryDlg::OnSearchMeanings() {
  m_bSearchMeanings = m_bSearchMeanings ? 0 : 1;
  StoreSearchMeanings(m_strIniPath, m_bSearchMeanings);
  ShowSearchOptions();
  if (m_bListShowsSearch) RefreshWordList();
}

void CDictionaryDlg::ShowSearchOptions() {
  CMenu* menu = GetMenu();
  if (!menu) return;
  menu->CheckMenuItem(ID_SEARCH_FOLD, m_bSearchFold ? MF_CHECKED : MF_UNCHECKED);
  menu->CheckMenuItem(ID_SEARCH_MEANINGS, m_bSearchMeanings ? MF_CHECKED : MF_UNCHECKED);
}
