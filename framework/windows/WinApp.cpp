#include "WinApp.h"

#include "Backend.h"
#include "Resources.h"
#include "Wnd.h"

namespace {
CWinApp* g_app = nullptr;
}

CWinApp::CWinApp(int iconId) : m_nIconId(iconId) {
  g_app = this;
}

CWinApp::~CWinApp() {
  if (g_app == this) g_app = nullptr;
}

bool CWinApp::OnCmdMsg(UINT id, bool run) {
  if (id != ID_APP_EXIT) return false;
  if (run) OnAppExit();
  return true;
}

void CWinApp::OnHelp() {
  CString text;
  text.LoadString(AFX_IDS_HELPTEXT);
  AfxGetBackend().ShowHelp(m_pMainWnd, text);
}

// Closing the main window the way its close box does: the dialog turns it into IDCANCEL.
void CWinApp::OnAppExit() {
  if (m_pMainWnd) m_pMainWnd->DispatchCommand(IDCANCEL);
}

CString AfxGetAppName() {
  if (const VersionInfo* v = AfxGetVersionInfo()) return CString::FromU8(v->internalName);
  CString title;
  title.LoadString(AFX_IDS_APP_TITLE);
  return title;
}

CWinApp* AfxGetApp() {
  return g_app;
}
CWnd* AfxGetMainWnd() {
  return g_app ? g_app->m_pMainWnd : nullptr;
}

int AfxMessageBox(const CString& text, UINT type) {
  return AfxGetBackend().MessageBox(AfxGetMainWnd(), text, AfxGetAppName(),
                                    type | MB_ICONEXCLAMATION);
}

int AfxMessageBox(UINT idPrompt, UINT type) {
  CString text;
  text.LoadString(idPrompt);
  return AfxMessageBox(text, type);
}

int AfxWinMain() {
  if (!g_app) return 1;
  g_app->InitInstance();
  return 0;
}
