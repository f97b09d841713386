// ScriptedPeer: a window without a screen. It keeps each control's text, check state and list
// items, the menu's enabled and checked states and the system menu, so that tests can read what
// the user would see.
#pragma once

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "Backend.h"

class ScriptedUi;

class ScriptedPeer : public IWindowPeer {
 public:
  struct Control {
    ControlKind kind = ControlKind::Static;
    CString text;
    bool unconvertible = false;  // the user typed text the code page cannot hold
    int check = 0;
    bool visible = true;
    std::vector<std::pair<CString, INT_PTR>> items;
    int selected = -1;
  };

  ScriptedPeer(ScriptedUi& ui, const DialogTemplate& tmpl, CWnd& wnd);

  bool GetItemText(int id, CString& text) override;
  void SetItemText(int id, const CString& text) override;
  int GetCheck(int id) override { return At(id).check; }
  void SetCheck(int id, int state) override { At(id).check = state; }
  void ShowItem(int id, bool show) override { At(id).visible = show; }
  void FocusItem(int id) override { m_focus = id; }

  void ListReset(int id) override;
  int ListAddString(int id, const CString& text) override;
  int ListGetCount(int id) override { return static_cast<int>(At(id).items.size()); }
  int ListGetCurSel(int id) override { return At(id).selected; }
  void ListSetCurSel(int id, int index) override;
  CString ListGetText(int id, int index) override;
  void ListSetItemData(int id, int index, INT_PTR data) override;
  INT_PTR ListGetItemData(int id, int index) override;

  bool HasMenu() override { return !m_menu.empty(); }
  bool EnableMenuItem(int command, bool enabled) override;
  bool IsMenuItemEnabled(int command) override;
  bool SetMenuItemText(int command, const CString& text) override;
  // An item's text as the program last set it (UTF-8); empty while it has its template's.
  std::string MenuItemText(int command) const;
  bool CheckMenuItem(int command, bool checked) override;
  bool IsMenuItemChecked(int command) override { return m_checked.count(command) != 0; }
  bool HasSystemMenu() override { return m_hasSystemMenu; }
  void AppendSystemMenuItem(int command, const CString& text) override;

  void SetIcon(HICON icon) override { m_icon = icon; }
  bool IsIconic() override { return m_iconic; }
  void GetClientSize(int& width, int& height) override;
  void DrawIcon(HICON icon, int x, int y) override;

  int RunModal(std::function<void()> afterFirstShow) override;
  void EndModal(int result) override;

  // For tests.
  Control& At(int id);
  bool Has(int id) const { return m_controls.count(id) != 0; }
  int Focus() const { return m_focus; }
  int TemplateId() const { return m_templateId; }
  bool Ended() const { return m_ended; }
  int Result() const { return m_result; }
  std::vector<std::pair<int, CString>> SystemMenu() const { return m_systemMenu; }
  HICON Icon() const { return m_icon; }
  void SetIconic(bool iconic, int width, int height);
  struct DrawnIcon {
    HICON icon;
    int x, y;
  };
  std::vector<DrawnIcon> drawn;

 private:
  ScriptedUi& m_ui;
  CWnd& m_wnd;
  int m_templateId;
  std::map<int, Control> m_controls;
  std::map<int, bool> m_menu;
  std::map<int, CString> m_menuText;
  std::set<int> m_checked;
  bool m_hasSystemMenu;
  std::vector<std::pair<int, CString>> m_systemMenu;
  HICON m_icon = nullptr;
  bool m_iconic = false;
  int m_width = 0, m_height = 0;
  int m_focus = 0;
  bool m_ended = false;
  int m_result = IDCANCEL;
};
