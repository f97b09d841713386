#include "Dialog.h"

#include <stdexcept>

#include "WinApp.h"

void CDialog::CreatePeer() {
  const DialogTemplate* tmpl = AfxFindDialog(m_templateId);
  if (!tmpl) throw std::logic_error("no dialog template " + std::to_string(m_templateId));
  CWnd* owner = m_pParentWnd;
  if (!owner && AfxGetMainWnd() != this) owner = AfxGetMainWnd();
  m_ended = false;
  m_result = IDCANCEL;
  m_peer = AfxGetBackend().CreatePeer(*tmpl, *this, owner);
}

INT_PTR CDialog::DoModal() {
  CreatePeer();
  OnInitDialog();
  const int result = m_ended ? m_result : m_peer->RunModal([this] { OnFirstShown(); });
  OnDestroy();
  m_peer.reset();
  return result;
}

BOOL CDialog::Create() {
  CreatePeer();
  const BOOL result = OnInitDialog();
  // Without a modal run the window counts as shown once it is initialised.
  if (!m_ended) OnFirstShown();
  return result;
}

void CDialog::EndDialog(int result) {
  m_ended = true;
  m_result = result;
  if (m_peer) m_peer->EndModal(result);
}

BOOL CDialog::OnInitDialog() {
  UpdateData(FALSE);
  // The help button is hidden in templates and shown when the application handles help.
  if (AfxGetApp() && AfxGetApp()->OnCmdMsg(ID_HELP, false)) {
    const DialogTemplate* tmpl = AfxFindDialog(m_templateId);
    for (const ControlTemplate& c : tmpl->controls)
      if (c.id == static_cast<int>(ID_HELP)) m_peer->ShowItem(c.id, true);
  }
  return TRUE;
}

void CDialog::OnOK() {
  if (!UpdateData(TRUE)) return;
  EndDialog(IDOK);
}

void CDialog::OnCancel() {
  EndDialog(IDCANCEL);
}

bool CDialog::OnCmdMsg(UINT id, UINT code) {
  if (code != BN_CLICKED) return false;
  if (id == static_cast<UINT>(IDOK)) {
    OnOK();
    return true;
  }
  if (id == static_cast<UINT>(IDCANCEL)) {
    OnCancel();
    return true;
  }
  return false;
}
