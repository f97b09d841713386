#include "DictData.h"

void CDictData::Clear() {
  m_strName.Empty();
  m_strPath.Empty();
  m_nCount = 0;
  m_nCurrent = 0;
  for (int i = 0; i < MAX_WORDS; ++i) {
    m_strWord[i].Empty();
    m_strMeaning[i].Empty();
  }
}

bool CDictData::Append(const CString& word, const CString& meaning) {
  if (m_nCount >= MAX_WORDS) return false;
  m_strWord[m_nCount] = word;
  m_strMeaning[m_nCount] = meaning;
  ++m_nCount;
  return true;
}

void CDictData::Replace(int index, const CString& word, const CString& meaning) {
  m_strWord[index] = word;
  m_strMeaning[index] = meaning;
}

void CDictData::RemoveAt(int index) {
  --m_nCount;
  m_strWord[index] = m_strWord[m_nCount];
  m_strMeaning[index] = m_strMeaning[m_nCount];
}

bool CDictData::IsLive(int index) const {
  return index >= 0 && index < m_nCount;
}
