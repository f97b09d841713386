// Loading a dictionary file into the word book and saving the word book to one.
#include <memory>
#include <utility>

#include "Archive.h"
#include "DictFile.h"
#include "DictionaryDlg.h"
#include "Messages.h"
#include "Profile.h"
#include "WinApp.h"

// Reads path whole into book. A file that cannot be opened or is damaged gets its notice and
// leaves everything of the window as it was.
bool CDictionaryDlg::ReadDictionaryFile(const CString& path, CDictData& book) {
  if (!m_file.Open(path, CFile::modeReadWrite)) {
    AfxMessageBox(U8(msg::kCannotOpen));
    return false;
  }
  bool read = false;
  try {
    CArchive ar(&m_file, CArchive::load);
    read = ReadDictionary(ar, book, nullptr);
    ar.Close();
    m_file.Close();
  } catch (...) {
    m_file.Abort();
    read = false;
  }
  if (!read) AfxMessageBox(U8(msg::kDamaged));
  return read;
}

// The effects of a load, once the file has been read whole: the name, the count and the live
// entries replace the word book's; its path and current entry stay.
void CDictionaryDlg::TakeOverLoaded(const CString& path, CDictData& book) {
  m_listWords.ResetContent();
  // The texts move over rather than being copied: a book can hold tens of megabytes.
  m_dict.m_strName = std::move(book.m_strName);
  m_dict.m_nCount = book.m_nCount;
  for (int i = 0; i < book.m_nCount; ++i) {
    m_dict.m_strWord[i] = std::move(book.m_strWord[i]);
    m_dict.m_strMeaning[i] = std::move(book.m_strMeaning[i]);
  }
  m_strDictLabel = m_dict.m_strName;
  ShowCount();
  if (!m_dict.m_strName.IsEmpty())
    WritePrivateProfileStringA("General", "LastPath", path, m_strIniPath);
  UpdateData(FALSE);
  UpdateMenuState();
}

int CDictionaryDlg::LoadDictionary(CString path) {
  auto book = std::make_unique<CDictData>();
  if (!ReadDictionaryFile(path, *book)) return 0;
  TakeOverLoaded(path, *book);
  return 1;
}

int CDictionaryDlg::SaveDictionary(CString path) {
  if (path.IsEmpty()) return 1;
  if (!m_file.Open(path, CFile::modeCreate | CFile::modeWrite)) {
    AfxMessageBox(U8(msg::kCannotOpen));
    return 0;
  }
  try {
    CArchive ar(&m_file, CArchive::store);
    WriteDictionary(ar, m_dict);
    ar.Close();
    m_file.Close();
  } catch (...) {
    // The old file stays as it was: the new content only replaces it when complete.
    m_file.Abort();
    AfxMessageBox(U8(msg::kCannotSave));
    return 0;
  }
  MessageBox(U8(msg::kSaved));
  m_dict.m_strPath = path;
  RefreshWordList();
  return 1;
}

void CDictionaryDlg::ConfirmAndSave() {
  CString question;
  question.Format(U8(msg::kConfirmSave), m_dict.m_strPath);
  if (MessageBox(question, U8(msg::kConfirmSaveCaption), MB_OKCANCEL) == IDOK)
    SaveDictionary(m_dict.m_strPath);
}
