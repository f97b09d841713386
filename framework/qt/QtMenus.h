// The menu bar of a window, built from a menu template. Items call back with their command ID;
// items are found again by command ID to enable or gray them. It knows nothing of CWnd.
#pragma once

#include <QAction>
#include <QMenuBar>
#include <functional>
#include <map>

#include "Resources.h"

class QtMenuBar {
 public:
  QtMenuBar(const MenuTemplate& tmpl, QWidget* parent, std::function<void(int)> onCommand);

  QMenuBar* Widget() const { return m_bar; }
  QAction* Find(int command) const;
  // Sets an item's text; a part after a tab is its shortcut key ("Ctrl+Z"), which then works
  // anywhere in the window, before the focused control's own use of the key.
  static void SetText(QAction* action, const QString& text);

 private:
  void AddItems(QWidget* menu, const std::vector<MenuItem>& items);

  QMenuBar* m_bar;
  std::function<void(int)> m_onCommand;
  std::map<int, QAction*> m_actions;
};
