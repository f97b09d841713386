// CWinApp: the application object. It runs InitInstance, owns the main window pointer, and
// handles the commands that no window claims (the exit command and the help command).
#pragma once

#include "Afx.h"
#include "AfxRes.h"
#include "CString.h"

class CWnd;

class CWinApp {
 public:
  // iconId: the icon resource that stands for the application on the desktop; 0 for none.
  explicit CWinApp(int iconId = 0);
  CWinApp(const CWinApp&) = delete;
  CWinApp& operator=(const CWinApp&) = delete;
  virtual ~CWinApp();

  virtual BOOL InitInstance() { return FALSE; }
  // With run false, only answers whether the command would be handled.
  virtual bool OnCmdMsg(UINT id, bool run = true);
  void OnHelp();
  void OnAppExit();
  void Enable3dControls() {}
  int IconId() const { return m_nIconId; }

  CWnd* m_pMainWnd = nullptr;
  // The folder of the last file chosen in a file dialog of this run (CFileDialog's).
  CString m_strLastFileFolder;

 private:
  int m_nIconId;
};

CWinApp* AfxGetApp();
// The application's name: the version block's internal name, else the AFX_IDS_APP_TITLE string.
CString AfxGetAppName();
CWnd* AfxGetMainWnd();
// The notice: the application's name as caption, exclamation icon, OK.
int AfxMessageBox(const CString& text, UINT type = MB_OK);
// The same with the text of string resource idPrompt.
int AfxMessageBox(UINT idPrompt, UINT type = MB_OK);
// Runs the application object's InitInstance; the process's exit code.
int AfxWinMain();
