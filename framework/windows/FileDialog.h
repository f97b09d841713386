// CFileDialog: the common open and save dialog. Filters are in the framework's form,
// "description|pattern|...|". Without a folder of the caller's it starts where the last file
// chosen in this run lay. The dialog itself is the backend's.
#pragma once

#include "Afx.h"
#include "Backend.h"
#include "CString.h"

class CWnd;

class CFileDialog {
 public:
  CFileDialog(BOOL bOpenFileDialog, const CString& defExt = CString(),
              const CString& fileName = CString(),
              DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
              const CString& filter = CString(), CWnd* parent = nullptr);
  // The folder the dialog starts in.
  void SetInitialDir(const CString& folder) { m_request.initialDir = folder; }
  INT_PTR DoModal();
  CString GetPathName() const { return m_path; }
  const FileDialogRequest& Request() const { return m_request; }

  static std::vector<std::pair<CString, CString>> ParseFilter(const CString& filter);
  // The folder part of path: what comes before its last '/' ("/" for a file at the root);
  // empty for a name without a folder.
  static CString FolderOf(const CString& path);

 private:
  FileDialogRequest m_request;
  CWnd* m_parent;
  CString m_path;
};
