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

 private:
  void AddItems(QWidget* menu, const std::vector<MenuItem>& items);

  QMenuBar* m_bar;
  std::function<void(int)> m_onCommand;
  std::map<int, QAction*> m_actions;
};
