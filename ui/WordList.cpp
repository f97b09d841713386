// Searching the words and choosing the current entry by selecting one.
#include "DictionaryDlg.h"
#include "TextSearch.h"

void CDictionaryDlg::RefreshWordList() {
  m_listWords.ResetContent();
  m_bListShowsSearch = false;
  if (!UpdateData(TRUE)) return;
  m_bListShowsSearch = true;
  const CTextSearch search(m_strSearch,
                           {.fold = m_bSearchFold != 0, .meanings = m_bSearchMeanings != 0});
  for (int i = 0; i < m_dict.m_nCount; ++i) {
    if (search.Finds(m_dict.m_strWord[i], m_dict.m_strMeaning[i])) {
      // Each item remembers its entry, so that selecting it picks that very entry even when
      // another word contains the same text.
      const int item = m_listWords.AddString(m_dict.m_strWord[i]);
      m_listWords.SetItemData(item, i);
    }
  }
}

void CDictionaryDlg::OnSelchangeWordList() {
  if (!UpdateData(TRUE)) return;
  const int item = m_listWords.GetCurSel();
  if (item == LB_ERR) return;
  const INT_PTR entry = m_listWords.GetItemData(item);
  if (entry >= 0 && entry < m_dict.m_nCount) m_dict.m_nCurrent = static_cast<int>(entry);
  if (m_dict.m_nCurrent >= 0 && m_dict.m_nCurrent < CDictData::MAX_WORDS) {
    m_strShownWord = m_dict.m_strWord[m_dict.m_nCurrent];
    m_strShownMeaning = m_dict.m_strMeaning[m_dict.m_nCurrent];
  }
  UpdateMenuState();
  UpdateData(FALSE);
}
