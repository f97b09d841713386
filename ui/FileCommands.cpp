// Creating, opening and saving dictionary files under a chosen name.
#include <memory>

#include "DictIo.h"
#include "DictionaryDlg.h"
#include "FileDialog.h"
#include "Messages.h"
#include "SecondaryDialogs.h"
#include "Settings.h"
#include "WinApp.h"

namespace {
constexpr DWORD kFileDialogFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;

// A file dialog starts in the folder of the open dictionary's file; without one, the framework
// starts it where the last file was chosen.
void StartBesideBook(CFileDialog& dlg, const CString& bookPath) {
  if (!bookPath.IsEmpty()) dlg.SetInitialDir(CFileDialog::FolderOf(bookPath));
}
}  // namespace

void CDictionaryDlg::OnNewDictionary() {
  if (!MayDropChanges()) return;
  CNewDictDlg nameDlg;
  if (nameDlg.DoModal() != IDOK) return;
  if (nameDlg.m_strName.IsEmpty()) {
    AfxMessageBox(U8(msg::kNeedDictName));
    return;
  }
  CFileDialog fileDlg(FALSE, ".vkd", nameDlg.m_strName + ".vkd", kFileDialogFlags,
                      U8(msg::kSaveFilter));
  StartBesideBook(fileDlg, m_dict.m_strPath);
  if (fileDlg.DoModal() != IDOK) return;
  const CString path = fileDlg.GetPathName();

  // Only a dictionary whose file was written replaces the open one.
  auto book = std::make_unique<CDictData>();
  book->m_strName = nameDlg.m_strName;
  const DictIoResult written = WriteBook(path, *book);
  if (!written.ok()) {
    AfxMessageBox(
        U8(written.kind == DictIoResult::CannotOpen ? msg::kCannotOpen : msg::kCannotSave));
    return;
  }
  DropBook();
  m_dict.m_strName = nameDlg.m_strName;
  TakeOverSaved(path);  // its refill leaves the list empty
  RememberLastPath(m_strIniPath, path);
  // A dictionary just created can be filled at once.
  ShowBook();
}

void CDictionaryDlg::OnOpenDictionary() {
  if (!MayDropChanges()) return;
  CFileDialog fileDlg(TRUE, ".vkd", "*.vkd", kFileDialogFlags, U8(msg::kOpenFilter));
  StartBesideBook(fileDlg, m_dict.m_strPath);
  if (fileDlg.DoModal() != IDOK) return;
  LoadDictionary(fileDlg.GetPathName());
}

// A file dropped on the window opens as one chosen with File ▸ 開く.
void CDictionaryDlg::OpenDroppedFile(const CString& path) {
  if (MayDropChanges()) LoadDictionary(path);
}

void CDictionaryDlg::OnFileSaveAs() {
  CFileDialog fileDlg(FALSE, ".vkd", m_dict.m_strName + ".vkd", kFileDialogFlags,
                      U8(msg::kSaveFilter));
  StartBesideBook(fileDlg, m_dict.m_strPath);
  if (fileDlg.DoModal() != IDOK) return;
  SaveDictionary(fileDlg.GetPathName());
}
