// CDictionaryApp: the application object. It runs the main window once, modally, and ends the
// program when the window ends. It also answers the help command. It reads no command line
// itself: main() hands it the file to open at start.
#pragma once

#include "CString.h"
#include "WinApp.h"
#include "resource.h"

class CDictionaryApp : public CWinApp {
 public:
  CDictionaryApp() : CWinApp(IDR_MAINFRAME) {}
  BOOL InitInstance() override;
  bool OnCmdMsg(UINT id, bool run = true) override;

  // The main window opens this file at start instead of the remembered one (see
  // CDictionaryDlg::OpenAtStart).
  void OpenAtStart(const CString& path) {
    m_strStartFile = path;
    m_bStartFileGiven = true;
  }

 private:
  CString m_strStartFile;
  bool m_bStartFileGiven = false;
};
