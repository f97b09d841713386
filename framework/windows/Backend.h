// The one way from the framework down to the screen. A backend builds a peer for each window
// from its template and shows message boxes, file dialogs and help. Peers call back into their
// CWnd (DispatchCommand, DispatchSysCommand) when the user acts. Two backends exist: the Qt one
// for real windows and the scripted one that tests drive.
#pragma once

#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "Afx.h"
#include "CString.h"
#include "Resources.h"

class CWnd;

class IWindowPeer {
 public:
  virtual ~IWindowPeer() = default;

  // Control text. GetItemText fails when the user typed text that has no code page 932 form;
  // an unchanged control gives back exactly the bytes it was given.
  virtual bool GetItemText(int id, CString& text) = 0;
  virtual void SetItemText(int id, const CString& text) = 0;
  virtual int GetCheck(int id) = 0;
  virtual void SetCheck(int id, int state) = 0;
  virtual void ShowItem(int id, bool show) = 0;
  virtual void FocusItem(int id) = 0;

  // List boxes. Program calls never send a selection notification.
  virtual void ListReset(int id) = 0;
  virtual int ListAddString(int id, const CString& text) = 0;
  virtual int ListGetCount(int id) = 0;
  virtual int ListGetCurSel(int id) = 0;
  virtual void ListSetCurSel(int id, int index) = 0;
  virtual CString ListGetText(int id, int index) = 0;
  virtual void ListSetItemData(int id, int index, INT_PTR data) = 0;
  virtual INT_PTR ListGetItemData(int id, int index) = 0;

  // The window's menu (from its template) and its system menu.
  virtual bool HasMenu() = 0;
  virtual bool EnableMenuItem(int command, bool enabled) = 0;  // false: no such item
  virtual bool IsMenuItemEnabled(int command) = 0;
  virtual bool SetMenuItemText(int command, const CString& text) = 0;  // false: no such item
  // A check mark beside an item. Choosing an item never sets or clears it by itself.
  virtual bool CheckMenuItem(int command, bool checked) = 0;  // false: no such item
  virtual bool IsMenuItemChecked(int command) = 0;
  virtual bool HasSystemMenu() = 0;
  virtual void AppendSystemMenuItem(int command, const CString& text) = 0;  // 0: separator

  // Icons and minimized painting.
  virtual void SetIcon(HICON icon) = 0;
  virtual bool IsIconic() = 0;
  virtual void GetClientSize(int& width, int& height) = 0;
  virtual void DrawIcon(HICON icon, int x, int y) = 0;

  // Modal loop: RunModal returns the value given to EndModal. afterFirstShow (when given) runs
  // once inside the loop, as soon as the window is on screen.
  virtual int RunModal(std::function<void()> afterFirstShow) = 0;
  virtual void EndModal(int result) = 0;
};

struct FileDialogRequest {
  bool open = true;
  CString defaultExtension;  // without the dot
  CString fileName;          // proposed name (or pattern) in the name box
  CString initialDir;        // the folder it starts in; empty: the current directory
  DWORD flags = 0;
  std::vector<std::pair<CString, CString>> filters;  // description, pattern
};

class IBackend {
 public:
  virtual ~IBackend() = default;
  virtual std::unique_ptr<IWindowPeer> CreatePeer(const DialogTemplate& tmpl, CWnd& wnd,
                                                  CWnd* owner) = 0;
  // type holds the buttons (MB_TYPEMASK) and the icon (MB_ICONMASK); returns IDOK, IDCANCEL,
  // IDYES or IDNO.
  virtual int MessageBox(CWnd* owner, const CString& text, const CString& caption, UINT type) = 0;
  // True with the chosen full path on OK.
  virtual bool FileDialog(CWnd* owner, const FileDialogRequest& request, CString& path) = 0;
  virtual void ShowHelp(CWnd* owner, const CString& text) = 0;
  virtual void CloseHelp() = 0;
  virtual int GetSystemMetrics(int index) = 0;
};

void AfxSetBackend(IBackend* backend);
IBackend& AfxGetBackend();
