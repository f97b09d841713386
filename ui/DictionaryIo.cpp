// Loading a dictionary file into the word book and saving the word book to one.
#include <memory>
#include <utility>

#include "DictIo.h"
#include "DictionaryDlg.h"
#include "Messages.h"
#include "Settings.h"
#include "WinApp.h"

// Reads path whole into book. A file that cannot be opened or is damaged gets its notice and
// leaves everything of the window as it was.
bool CDictionaryDlg::ReadBook(const CString& path, CDictData& book) {
  const DictIoResult r = ReadDictionaryFile(m_file, path, book, CFile::modeReadWrite);
  if (r.kind == DictIoResult::CannotOpen)
    AfxMessageBox(U8(msg::kCannotOpen));
  else if (!r.ok())
    AfxMessageBox(U8(msg::kDamaged));
  return r.ok();
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
  if (!m_dict.m_strName.IsEmpty()) RememberLastPath(m_strIniPath, path);
  UpdateData(FALSE);
  UpdateMenuState();
}

int CDictionaryDlg::LoadDictionary(CString path) {
  auto book = std::make_unique<CDictData>();
  if (!ReadBook(path, *book)) return 0;
  TakeOverLoaded(path, *book);
  return 1;
}

int CDictionaryDlg::SaveDictionary(CString path) {
  if (path.IsEmpty()) return 1;
  const DictIoResult r = WriteDictionaryFile(m_file, path, m_dict);
  if (!r.ok()) {
    AfxMessageBox(U8(r.kind == DictIoResult::CannotOpen ? msg::kCannotOpen : msg::kCannotSave));
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
