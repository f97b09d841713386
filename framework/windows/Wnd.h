// CWnd: a window of the program as its logic sees it: data exchange, command routing through a
// command table, message boxes, menus and icons. Everything visible goes through the window's
// peer (Backend.h); CWnd itself draws nothing.
#pragma once

#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "Afx.h"
#include "Backend.h"
#include "CString.h"

class CWnd;
class CMenu;

// One entry of a command table: a command ID (code 0) or a control notification.
template <class T>
struct CommandEntry {
  UINT id;
  UINT code;
  void (T::*handler)();
};

// Runs the first entry of table that matches; false when none does.
template <class T>
bool RouteCommand(T* self, std::span<const CommandEntry<T>> table, UINT id, UINT code) {
  for (const CommandEntry<T>& e : table) {
    if (e.id == id && e.code == code) {
      (self->*e.handler)();
      return true;
    }
  }
  return false;
}

// The state of one UpdateData call. In the reading direction values are collected first and
// stored only when every control could be read, so a failure stores nothing.
class CDataExchange {
 public:
  CDataExchange(CWnd* wnd, BOOL save) : m_pDlgWnd(wnd), m_bSaveAndValidate(save) {}
  CWnd* m_pDlgWnd;
  BOOL m_bSaveAndValidate;

  void Defer(std::function<void()> store) { m_pending.push_back(std::move(store)); }
  [[noreturn]] void Fail(int controlId);
  void Commit();

 private:
  std::vector<std::function<void()>> m_pending;
};

struct DataExchangeFailure {
  int controlId;
};

class CListBox;

void DDX_Text(CDataExchange* pDX, int id, CString& value);
// For a control whose text is only shown, never stored or used: text the code page cannot hold
// leaves value as it was instead of failing the exchange.
void DDX_ShownText(CDataExchange* pDX, int id, CString& value);
void DDX_Check(CDataExchange* pDX, int id, int& value);
void DDX_Control(CDataExchange* pDX, int id, CListBox& control);

class CMenu {
 public:
  CMenu(CWnd* wnd, bool system) : m_wnd(wnd), m_system(system) {}
  // Returns the previous state (MF_ENABLED or MF_GRAYED), or -1 when there is no such item.
  UINT EnableMenuItem(UINT id, UINT flags);
  // Returns the previous state (MF_CHECKED or MF_UNCHECKED), or -1 when there is no such item.
  UINT CheckMenuItem(UINT id, UINT flags);
  BOOL AppendMenu(UINT flags, UINT id = 0, const CString& text = CString());
  // Gives item id (MF_BYCOMMAND) a new text, keeping its command (newId must be id). A text
  // after a tab names the item's shortcut key, as in the menu template.
  BOOL ModifyMenu(UINT id, UINT flags, UINT newId, const CString& text);

 private:
  CWnd* m_wnd;
  bool m_system;
};

class CWnd {
 public:
  CWnd() = default;
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;
  virtual ~CWnd();

  IWindowPeer* Peer() const { return m_peer.get(); }

  BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
  // Sets the text of control id alone; every other control keeps what it shows.
  void SetDlgItemText(int id, const CString& text);
  int MessageBox(const CString& text, const CString& caption = CString(), UINT type = MB_OK);
  CMenu* GetMenu();
  CMenu* GetSystemMenu();
  // The window's icon, which the desktop shows at every size it needs.
  void SetIcon(HICON icon);
  BOOL IsIconic() const;
  // The client area, at the origin; empty without a peer.
  void GetClientRect(CRect* rect) const;
  // Draws icon with its top left corner at (x, y) of the client area.
  BOOL DrawIcon(int x, int y, HICON icon);
  void WinHelp(UINT command);
  // Files dropped on the window reach OnDropFiles; by default a window takes none. With an
  // extension (".vkd"), only a single file whose name ends in it, in either case, is taken.
  void DragAcceptFiles(BOOL accept = TRUE, const CString& extension = CString());
  bool AcceptsDroppedFiles() const { return m_bAcceptFiles; }
  const CString& DroppedFileExtension() const { return m_strDropExtension; }

  // Entry points for the peer: the user chose a command, a control notified, or a system-menu
  // item was chosen. Commands no table claims go on to the application.
  void DispatchCommand(UINT id, UINT code = BN_CLICKED);
  void DispatchSysCommand(UINT id) { OnSysCommand(id); }
  void DispatchPaint() { OnPaint(); }
  // A file dropped on the window, as a full path in code page 932.
  void DispatchDropFiles(const CString& path) { OnDropFiles(path); }

  virtual bool OnCmdMsg(UINT id, UINT code);
  virtual void DoDataExchange(CDataExchange*) {}
  virtual void OnSysCommand(UINT) {}
  virtual void OnDestroy();
  virtual void OnPaint() {}
  virtual HICON OnQueryDragIcon() { return nullptr; }
  virtual void OnDropFiles(const CString&) {}

 protected:
  std::unique_ptr<IWindowPeer> m_peer;

 private:
  std::unique_ptr<CMenu> m_menu;
  std::unique_ptr<CMenu> m_systemMenu;
  bool m_bAcceptFiles = false;
  CString m_strDropExtension;
};

// The size of a screen element (SM_CXICON, ...), as the backend measures it.
int GetSystemMetrics(int index);

class CListBox {
 public:
  void Attach(CWnd* wnd, int id) {
    m_wnd = wnd;
    m_id = id;
  }
  bool IsAttached() const { return m_wnd != nullptr; }
  void ResetContent();
  int AddString(const CString& text);
  int GetCount() const;
  int GetCurSel() const;
  int SetCurSel(int index);
  void GetText(int index, CString& text) const;
  int SetItemData(int index, INT_PTR data);
  INT_PTR GetItemData(int index) const;

 private:
  IWindowPeer& Peer() const;
  CWnd* m_wnd = nullptr;
  int m_id = 0;
};
