#include "DictionaryApp.h"

#include <memory>

#include "DictionaryDlg.h"

BOOL CDictionaryApp::InitInstance() {
  Enable3dControls();
  auto dlg = std::make_unique<CDictionaryDlg>();
  if (m_bStartFileGiven) dlg->OpenAtStart(m_strStartFile);
  m_pMainWnd = dlg.get();
  dlg->DoModal();
  m_pMainWnd = nullptr;
  dlg.reset();
  return FALSE;
}

bool CDictionaryApp::OnCmdMsg(UINT id, bool run) {
  if (id == ID_HELP) {
    if (run) OnHelp();
    return true;
  }
  return CWinApp::OnCmdMsg(id, run);
}
