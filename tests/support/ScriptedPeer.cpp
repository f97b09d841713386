#include "ScriptedPeer.h"

#include <gtest/gtest.h>

#include "ScriptedUi.h"

namespace {
void CollectCommands(const std::vector<MenuItem>& items, std::map<int, bool>& out) {
  for (const MenuItem& item : items) {
    if (item.command != 0) out[item.command] = true;
    CollectCommands(item.children, out);
  }
}
}  // namespace

ScriptedPeer::ScriptedPeer(ScriptedUi& ui, const DialogTemplate& tmpl, CWnd& wnd)
    : m_ui(ui),
      m_wnd(wnd),
      m_templateId(tmpl.id),
      m_hasSystemMenu((tmpl.styles & style::SystemMenu) != 0) {
  for (const ControlTemplate& c : tmpl.controls) {
    Control& control = m_controls[c.id];
    control.kind = c.kind;
    control.text = CString::FromU8(c.text);
    control.visible = (c.styles & style::Hidden) == 0;
  }
  if (tmpl.menuId != 0)
    if (const MenuTemplate* menu = AfxFindMenu(tmpl.menuId)) CollectCommands(menu->items, m_menu);
}

ScriptedPeer::Control& ScriptedPeer::At(int id) {
  auto it = m_controls.find(id);
  if (it == m_controls.end()) {
    ADD_FAILURE() << "template " << m_templateId << " has no control " << id;
    return m_controls[id];
  }
  return it->second;
}

bool ScriptedPeer::GetItemText(int id, CString& text) {
  const Control& c = At(id);
  if (c.unconvertible) return false;
  text = c.text;
  return true;
}

void ScriptedPeer::SetItemText(int id, const CString& text) {
  Control& c = At(id);
  c.text = text;
  c.unconvertible = false;
}

void ScriptedPeer::ListReset(int id) {
  At(id).items.clear();
  At(id).selected = -1;
  m_ui.Log("list-reset");
}

int ScriptedPeer::ListAddString(int id, const CString& text) {
  Control& c = At(id);
  c.items.emplace_back(text, 0);
  m_ui.Log("list-add:" + text.ToUtf8());
  return static_cast<int>(c.items.size()) - 1;
}

void ScriptedPeer::ListSetCurSel(int id, int index) {
  Control& c = At(id);
  c.selected = index >= 0 && index < static_cast<int>(c.items.size()) ? index : -1;
}

CString ScriptedPeer::ListGetText(int id, int index) {
  Control& c = At(id);
  if (index < 0 || index >= static_cast<int>(c.items.size())) {
    ADD_FAILURE() << "list " << id << " has no item " << index;
    return CString();
  }
  return c.items[index].first;
}

void ScriptedPeer::ListSetItemData(int id, int index, INT_PTR data) {
  Control& c = At(id);
  if (index >= 0 && index < static_cast<int>(c.items.size())) c.items[index].second = data;
}

INT_PTR ScriptedPeer::ListGetItemData(int id, int index) {
  Control& c = At(id);
  if (index < 0 || index >= static_cast<int>(c.items.size())) return LB_ERR;
  return c.items[index].second;
}

bool ScriptedPeer::EnableMenuItem(int command, bool enabled) {
  auto it = m_menu.find(command);
  if (it == m_menu.end()) return false;
  it->second = enabled;
  return true;
}

bool ScriptedPeer::SetMenuItemText(int command, const CString& text) {
  if (m_menu.count(command) == 0) return false;
  m_menuText[command] = text;
  return true;
}

std::string ScriptedPeer::MenuItemText(int command) const {
  auto it = m_menuText.find(command);
  return it == m_menuText.end() ? std::string() : it->second.ToUtf8();
}

bool ScriptedPeer::IsMenuItemEnabled(int command) {
  auto it = m_menu.find(command);
  return it != m_menu.end() && it->second;
}

bool ScriptedPeer::CheckMenuItem(int command, bool checked) {
  if (m_menu.count(command) == 0) return false;
  if (checked)
    m_checked.insert(command);
  else
    m_checked.erase(command);
  return true;
}

void ScriptedPeer::AppendSystemMenuItem(int command, const CString& text) {
  m_systemMenu.emplace_back(command, text);
}

void ScriptedPeer::GetClientSize(int& width, int& height) {
  width = m_width;
  height = m_height;
}

void ScriptedPeer::DrawIcon(HICON icon, int x, int y) {
  drawn.push_back({icon, x, y});
}

void ScriptedPeer::SetIconic(bool iconic, int width, int height) {
  m_iconic = iconic;
  m_width = width;
  m_height = height;
}

int ScriptedPeer::RunModal(std::function<void()> afterFirstShow) {
  m_ui.Log("shown:" + std::to_string(m_templateId));
  if (afterFirstShow) afterFirstShow();
  if (m_ended) return m_result;
  return m_ui.RunDialog(*this, m_wnd, m_templateId);
}

void ScriptedPeer::EndModal(int result) {
  m_ended = true;
  m_result = result;
}
