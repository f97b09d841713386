// Loading a dictionary file into the word book and saving the word book to one, and the
// question before unsaved changes are dropped.
#include <memory>
#include <utility>

#include "BackupFolder.h"
#include "DictIo.h"
#include "DictionaryDlg.h"
#include "FileDialog.h"
#include "Memory.h"
#include "Messages.h"
#include "NativePath.h"
#include "RewriteJournal.h"
#include "SecondaryDialogs.h"
#include "Settings.h"
#include "WinApp.h"

// Reads path whole into book. A file that cannot be opened or is damaged gets its notice and
// leaves everything of the window as it was.
bool CDictionaryDlg::ReadBook(const CString& path, CDictData& book, UINT openFlags) {
  RollBackCutShortSave(path);
  const DictIoResult r = ReadDictionaryFile(m_file, path, book, openFlags);
  if (r.kind == DictIoResult::CannotOpen)
    AfxMessageBox(U8(msg::kCannotOpen));
  else if (!r.ok())
    AfxMessageBox(U8(msg::kDamaged));
  return r.ok();
}

// A save of path that was cut short while rewriting it in place is undone before it is read,
// and the user is told.
void CDictionaryDlg::RollBackCutShortSave(const CString& path) {
  const auto native = ToNativePath(path);
  if (!native) return;
  const rewrite::Recovery r = rewrite::Recover(backupfolder::Root(), *native);
  if (r.kind == rewrite::Recovery::RolledBack) AfxMessageBox(U8(msg::kRolledBack));
  if (r.kind == rewrite::Recovery::Failed) AfxMessageBox(U8(msg::kRollBackFailed));
}

// Empties the word book and hands the memory of its texts back to the system: a book can hold
// tens of megabytes, which would otherwise stay with the process after the next one is in.
void CDictionaryDlg::DropBook() {
  m_dict.Clear();
  AfxReturnFreedMemory();
}

// The effects of a load, once the file has been read whole: the name, the count and the live
// entries replace the word book's, the file becomes the book's, and no entry is current.
void CDictionaryDlg::TakeOverLoaded(const CString& path, CDictData& book) {
  TakeOverEntries(book);
  BelongTo(path);
  if (!m_dict.m_strName.IsEmpty()) RememberLastPath(m_strIniPath, path);
  ShowBook();
}

// The name, the count and the live entries of book replace the word book's, which then has
// no file, and the list is emptied.
void CDictionaryDlg::TakeOverEntries(CDictData& book) {
  m_listWords.ResetContent();
  m_bListShowsSearch = false;
  DropBook();
  // The texts move over rather than being copied: a book can hold tens of megabytes.
  m_dict.m_strName = std::move(book.m_strName);
  m_dict.m_nCount = book.m_nCount;
  for (int i = 0; i < book.m_nCount; ++i) {
    m_dict.m_strWord[i] = std::move(book.m_strWord[i]);
    m_dict.m_strMeaning[i] = std::move(book.m_strMeaning[i]);
  }
}

// The book is the file's at path, as it is now on disk, with no changes of its own.
void CDictionaryDlg::BelongTo(const CString& path) {
  m_dict.m_strPath = path;
  RememberBase(path);
  m_history.MarkSaved();
  m_bModified = false;
}

// The window shows the book it has just taken over: its name and count, and no current entry.
// Its history starts here.
void CDictionaryDlg::ShowBook() {
  m_history.Reset();
  m_strDictLabel = m_dict.m_strName;
  ShowCount();
  ForgetCurrent();
  UpdateData(FALSE);
  UpdateMenuState();
}

// The open dictionary, and the window showing it, are replaced only by a file that has been
// read whole.
int CDictionaryDlg::LoadDictionary(CString path) {
  auto book = std::make_unique<CDictData>();
  if (!ReadBook(path, *book)) return 0;
  TakeOverLoaded(path, *book);
  return 1;
}

// True when the file at path is the one last loaded or saved and another program has written
// it since (it still exists, but is another file or has another size or time).
bool CDictionaryDlg::ChangedByAnother(const CString& path) const {
  if (path != m_strStampPath || !m_stamp.exists) return false;
  const CFileStamp now = CFileStamp::Of(path);
  return now.exists && now != m_stamp;
}

int CDictionaryDlg::SaveDictionary(CString path) {
  if (path.IsEmpty()) return 1;
  if (ChangedByAnother(path)) {
    CChangedOutsideDlg question(this);
    switch (question.DoModal()) {
      case IDOK:
        return MergeAndSave(path);
      case IDYES:
        break;
      default:
        return 0;
    }
  }
  return SaveBook(path);
}

// Writes the book to path and takes the save over; a failure gets its notice.
int CDictionaryDlg::SaveBook(const CString& path) {
  const DictIoResult r = WriteBook(path, m_dict);
  if (!r.ok()) {
    AfxMessageBox(U8(r.kind == DictIoResult::CannotOpen ? msg::kCannotOpen : msg::kCannotSave));
    return 0;
  }
  TakeOverSaved(path);
  return 1;
}

// Writes book to path, first keeping the version it replaces when backups are on. A backup
// that cannot be made never stops the save; the first of a run is told after it.
DictIoResult CDictionaryDlg::WriteBook(const CString& path, const CDictData& book) {
  BackupOutcome backup;
  const DictIoResult r = WriteDictionaryFile(m_file, path, book, m_bKeepBackups ? &backup : nullptr,
                                             backupfolder::Root());
  if (m_bKeepBackups && backup.kind == BackupOutcome::Failed && !m_bBackupFailureTold) {
    m_bBackupFailureTold = true;
    m_bTellBackupFailure = true;
  }
  return r;
}

// The effects of a save, once the file is complete: it says so, the file becomes the book's,
// and the word list is refilled.
void CDictionaryDlg::TakeOverSaved(const CString& path) {
  MessageBox(U8(msg::kSaved));
  if (m_bTellBackupFailure) AfxMessageBox(U8(msg::kBackupFailed));
  m_bTellBackupFailure = false;
  BelongTo(path);
  RefreshWordList();
}

// The book as it is now is the version of the file at path.
void CDictionaryDlg::RememberBase(const CString& path) {
  m_strStampPath = path;
  m_stamp = CFileStamp::Of(path);
  m_base = DigestOf(m_dict);
}

void CDictionaryDlg::ConfirmAndSave() {
  CString question;
  question.Format(U8(msg::kConfirmSave), m_dict.m_strPath);
  if (MessageBox(question, U8(msg::kConfirmSaveCaption), MB_OKCANCEL) == IDOK)
    SaveDictionary(m_dict.m_strPath);
}

// Before the book is closed or replaced: with changes not yet saved, asks whether to save
// them. True when the caller may go on.
bool CDictionaryDlg::MayDropChanges() {
  if (!m_bModified) return true;
  switch (MessageBox(U8(msg::kUnsaved), CString(), MB_YESNOCANCEL | MB_ICONEXCLAMATION)) {
    case IDYES:
      return SaveBeforeDropping();
    case IDNO:
      return true;
    default:
      return false;
  }
}

// Saves to the book's file without the overwrite question, or through the save dialog when
// the book has no file yet. True only when the book was written.
bool CDictionaryDlg::SaveBeforeDropping() {
  CString path = m_dict.m_strPath;
  if (path.IsEmpty()) {
    CFileDialog fileDlg(FALSE, ".vkd", m_dict.m_strName + ".vkd",
                        OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, U8(msg::kSaveFilter));
    if (fileDlg.DoModal() != IDOK) return false;
    path = fileDlg.GetPathName();
  }
  return SaveDictionary(path) == 1 && !m_bModified;
}
