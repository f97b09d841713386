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
