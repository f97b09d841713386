// CFileDialog: the common open and save dialog. Filters are in the framework's form,
// "description|pattern|...|". The dialog itself is the backend's.
#pragma once

#include "Afx.h"
#include "Backend.h"
#include "CString.h"

class CWnd;

class CFileDialog {
 public:
  CFileDialog(BOOL bOpenFileDialog, const CString& defExt = CString(),
              const CString& fileName = CString(), DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
              const CString& filter = CString(), CWnd* parent = nullptr);
  INT_PTR DoModal();
  CString GetPathName() const { return m_path; }
  const FileDialogRequest& Request() const { return m_request; }

  static std::vector<std::pair<CString, CString>> ParseFilter(const CString& filter);

 private:
  FileDialogRequest m_request;
  CWnd* m_parent;
  CString m_path;
};
