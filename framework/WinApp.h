// CWinApp: the application object. It runs InitInstance, owns the main window pointer, and
// handles the commands that no window claims (the exit command and the help command).
#pragma once

#include "Afx.h"
#include "CString.h"

class CWnd;

// String resource holding the text of the help window.
constexpr UINT AFX_IDS_HELPTEXT = 0xEF00;

class CWinApp {
 public:
  CWinApp();
  CWinApp(const CWinApp&) = delete;
  CWinApp& operator=(const CWinApp&) = delete;
  virtual ~CWinApp();

  virtual BOOL InitInstance() { return FALSE; }
  // With run false, only answers whether the command would be handled.
  virtual bool OnCmdMsg(UINT id, bool run = true);
  void OnHelp();
  void OnAppExit();
  void Enable3dControls() {}
  CString AppName() const;

  CWnd* m_pMainWnd = nullptr;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
// The notice: the application's name as caption, exclamation icon, OK.
int AfxMessageBox(const CString& text, UINT type = MB_OK, UINT helpId = 0);
// Runs the application object's InitInstance; the process's exit code.
int AfxWinMain();
