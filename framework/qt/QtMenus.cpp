#include "QtMenus.h"

#include <QMenu>

#include "QtText.h"

QtMenuBar::QtMenuBar(const MenuTemplate& tmpl, QWidget* parent, std::function<void(int)> onCommand)
    : m_bar(new QMenuBar(parent)), m_onCommand(std::move(onCommand)) {
  // The menu belongs to the window, also where the desktop could host it elsewhere.
  m_bar->setNativeMenuBar(false);
  AddItems(m_bar, tmpl.items);
}

QAction* QtMenuBar::Find(int command) const {
  auto it = m_actions.find(command);
  return it == m_actions.end() ? nullptr : it->second;
}

void QtMenuBar::AddItems(QWidget* menu, const std::vector<MenuItem>& items) {
  for (const MenuItem& item : items) {
    const QString text = qttext::FromU8(item.text);
    if (!item.children.empty()) {
      auto* popup = new QMenu(text, menu);
      AddItems(popup, item.children);
      menu->addAction(popup->menuAction());
      continue;
    }
    if (item.command == 0 && item.text.empty()) {
      auto* separator = new QAction(menu);
      separator->setSeparator(true);
      menu->addAction(separator);
      continue;
    }
    // A command on the bar itself (設定) runs directly, without a popup. Chosen from the
    // keyboard, it waits until the menu bar has handed the focus back; a dialog it opens would
    // otherwise return the focus to a menu bar still waiting for keys.
    auto* action = new QAction(text, menu);
    const int command = item.command;
    QObject::connect(
        action, &QAction::triggered, m_bar, [this, command] { m_onCommand(command); },
        menu == m_bar ? Qt::QueuedConnection : Qt::AutoConnection);
    menu->addAction(action);
    m_actions.emplace(command, action);
  }
}
