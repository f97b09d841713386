#include "Wnd.h"

#include <stdexcept>

#include "WinApp.h"

void CDataExchange::Fail(int controlId) {
  throw DataExchangeFailure{controlId};
}

void CDataExchange::Commit() {
  for (auto& store : m_pending) store();
  m_pending.clear();
}

namespace {

// The one text exchange: towards the control, or back into value. Text the code page cannot
// hold fails the exchange with the notice when the text is used, and leaves value as it was
// when it is only shown.
void ExchangeText(CDataExchange* pDX, int id, CString& value, bool used) {
  IWindowPeer* peer = pDX->m_pDlgWnd->Peer();
  if (!pDX->m_bSaveAndValidate) {
    peer->SetItemText(id, value);
    return;
  }
  CString text;
  if (!peer->GetItemText(id, text)) {
    if (!used) return;
    AfxMessageBox(AFX_IDP_PARSE_CHARS);
    pDX->Fail(id);
  }
  pDX->Defer([&value, text = std::move(text)]() mutable { value = std::move(text); });
}

}  // namespace

void DDX_Text(CDataExchange* pDX, int id, CString& value) {
  ExchangeText(pDX, id, value, true);
}

void DDX_ShownText(CDataExchange* pDX, int id, CString& value) {
  ExchangeText(pDX, id, value, false);
}

void DDX_Check(CDataExchange* pDX, int id, int& value) {
  IWindowPeer* peer = pDX->m_pDlgWnd->Peer();
  if (!pDX->m_bSaveAndValidate) {
    peer->SetCheck(id, value != 0 ? 1 : 0);  // a two-state box: any stored non-zero is checked
    return;
  }
  const int state = peer->GetCheck(id);
  pDX->Defer([&value, state] { value = state; });
}

void DDX_Control(CDataExchange* pDX, int id, CListBox& control) {
  if (!control.IsAttached()) control.Attach(pDX->m_pDlgWnd, id);
}

CWnd::~CWnd() = default;

void CWnd::SetDlgItemText(int id, const CString& text) {
  if (m_peer) m_peer->SetItemText(id, text);
}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate) {
  if (!m_peer) return FALSE;
  CDataExchange dx(this, bSaveAndValidate);
  try {
    DoDataExchange(&dx);
  } catch (const DataExchangeFailure& failure) {
    m_peer->FocusItem(failure.controlId);
    return FALSE;
  }
  dx.Commit();
  return TRUE;
}

int CWnd::MessageBox(const CString& text, const CString& caption, UINT type) {
  const CString title = caption.IsEmpty() ? AfxGetAppName() : caption;
  return AfxGetBackend().MessageBox(this, text, title, type);
}

CMenu* CWnd::GetMenu() {
  if (!m_peer || !m_peer->HasMenu()) return nullptr;
  if (!m_menu) m_menu = std::make_unique<CMenu>(this, false);
  return m_menu.get();
}

CMenu* CWnd::GetSystemMenu() {
  if (!m_peer || !m_peer->HasSystemMenu()) return nullptr;
  if (!m_systemMenu) m_systemMenu = std::make_unique<CMenu>(this, true);
  return m_systemMenu.get();
}

void CWnd::SetIcon(HICON icon) {
  if (m_peer) m_peer->SetIcon(icon);
}

BOOL CWnd::IsIconic() const {
  return m_peer && m_peer->IsIconic() ? TRUE : FALSE;
}

void CWnd::GetClientRect(CRect* rect) const {
  *rect = CRect{};
  if (m_peer) m_peer->GetClientSize(rect->right, rect->bottom);
}

BOOL CWnd::DrawIcon(int x, int y, HICON icon) {
  if (!m_peer) return FALSE;
  m_peer->DrawIcon(icon, x, y);
  return TRUE;
}

int GetSystemMetrics(int index) {
  return AfxGetBackend().GetSystemMetrics(index);
}

void CWnd::WinHelp(UINT command) {
  if (command == HELP_QUIT) AfxGetBackend().CloseHelp();
}

void CWnd::DragAcceptFiles(BOOL accept, const CString& extension) {
  m_bAcceptFiles = accept != FALSE;
  m_strDropExtension = extension;
}

void CWnd::DispatchCommand(UINT id, UINT code) {
  if (OnCmdMsg(id, code)) return;
  if (code == BN_CLICKED && AfxGetApp()) AfxGetApp()->OnCmdMsg(id);
}

bool CWnd::OnCmdMsg(UINT, UINT) {
  return false;
}

void CWnd::OnDestroy() {}

UINT CMenu::EnableMenuItem(UINT id, UINT flags) {
  IWindowPeer* peer = m_wnd->Peer();
  if (m_system || !peer) return static_cast<UINT>(-1);
  const bool was = peer->IsMenuItemEnabled(static_cast<int>(id));
  if (!peer->EnableMenuItem(static_cast<int>(id), (flags & MF_GRAYED) == 0))
    return static_cast<UINT>(-1);
  return was ? MF_ENABLED : MF_GRAYED;
}

BOOL CMenu::ModifyMenu(UINT id, UINT flags, UINT newId, const CString& text) {
  IWindowPeer* peer = m_wnd->Peer();
  if (m_system || !peer || (flags & MF_SEPARATOR) || newId != id) return FALSE;
  return peer->SetMenuItemText(static_cast<int>(id), text) ? TRUE : FALSE;
}

UINT CMenu::CheckMenuItem(UINT id, UINT flags) {
  IWindowPeer* peer = m_wnd->Peer();
  if (m_system || !peer) return static_cast<UINT>(-1);
  const bool was = peer->IsMenuItemChecked(static_cast<int>(id));
  if (!peer->CheckMenuItem(static_cast<int>(id), (flags & MF_CHECKED) != 0))
    return static_cast<UINT>(-1);
  return was ? MF_CHECKED : MF_UNCHECKED;
}

BOOL CMenu::AppendMenu(UINT flags, UINT id, const CString& text) {
  IWindowPeer* peer = m_wnd->Peer();
  if (!m_system || !peer) return FALSE;
  peer->AppendSystemMenuItem((flags & MF_SEPARATOR) ? 0 : static_cast<int>(id), text);
  return TRUE;
}

IWindowPeer& CListBox::Peer() const {
  if (!m_wnd || !m_wnd->Peer()) throw std::logic_error("list box is not attached");
  return *m_wnd->Peer();
}

void CListBox::ResetContent() {
  Peer().ListReset(m_id);
}
int CListBox::AddString(const CString& text) {
  return Peer().ListAddString(m_id, text);
}
int CListBox::GetCount() const {
  return Peer().ListGetCount(m_id);
}
int CListBox::GetCurSel() const {
  return Peer().ListGetCurSel(m_id);
}

int CListBox::SetCurSel(int index) {
  Peer().ListSetCurSel(m_id, index);
  return index < 0 ? LB_ERR : index;
}

void CListBox::GetText(int index, CString& text) const {
  text = Peer().ListGetText(m_id, index);
}

int CListBox::SetItemData(int index, INT_PTR data) {
  if (index < 0 || index >= GetCount()) return LB_ERR;
  Peer().ListSetItemData(m_id, index, data);
  return 0;
}

INT_PTR CListBox::GetItemData(int index) const {
  if (index < 0 || index >= GetCount()) return LB_ERR;
  return Peer().ListGetItemData(m_id, index);
}
