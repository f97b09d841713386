// Creating, opening and saving dictionary files under a chosen name.
#include <memory>

#include "DictionaryDlg.h"
#include "FileDialog.h"
#include "Messages.h"
#include "SecondaryDialogs.h"
#include "Settings.h"
#include "WinApp.h"

namespace {
constexpr DWORD kFileDialogFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
}

void CDictionaryDlg::OnNewDictionary() {
  CNewDictDlg nameDlg;
  if (nameDlg.DoModal() != IDOK) return;
  if (nameDlg.m_strName.IsEmpty()) {
    AfxMessageBox(U8(msg::kNeedDictName));
    return;
  }
  CFileDialog fileDlg(FALSE, ".vkd", nameDlg.m_strName + ".vkd", kFileDialogFlags,
                      U8(msg::kSaveFilter));
  if (fileDlg.DoModal() != IDOK) return;
  const CString path = fileDlg.GetPathName();

  m_dict.Clear();
  m_dict.m_strName = nameDlg.m_strName;
  SaveDictionary(path);
  RememberLastPath(m_strIniPath, path);
  m_strDictLabel = m_dict.m_strName;
  ShowCount();
  m_listWords.ResetContent();
  m_strShownWord.Empty();
  m_strShownMeaning.Empty();
  UpdateData(FALSE);
  // A dictionary just created can be filled at once.
  UpdateMenuState();
}

void CDictionaryDlg::OnOpenDictionary() {
  CFileDialog fileDlg(TRUE, ".vkd", "*.vkd", kFileDialogFlags, U8(msg::kOpenFilter));
  if (fileDlg.DoModal() != IDOK) return;
  const CString path = fileDlg.GetPathName();
  m_listWords.ResetContent();
  // The open dictionary is replaced only by a file that has been read whole.
  auto book = std::make_unique<CDictData>();
  if (!ReadBook(path, *book)) return;
  m_dict.Clear();
  m_dict.m_strPath = path;
  TakeOverLoaded(path, *book);
}

void CDictionaryDlg::OnFileSaveAs() {
  CFileDialog fileDlg(FALSE, ".vkd", m_dict.m_strName + ".vkd", kFileDialogFlags,
                      U8(msg::kSaveFilter));
  if (fileDlg.DoModal() != IDOK) return;
  SaveDictionary(fileDlg.GetPathName());
}
