// Menus, the stand-in system menu and icons of QtPeer.
#include <QAction>
#include <QIcon>
#include <QMenu>
#include <QShortcut>

#include "QtControls.h"
#include "QtMenus.h"
#include "QtPeer.h"
#include "QtText.h"
#include "Wnd.h"

bool QtPeer::EnableMenuItem(int command, bool enabled) {
  QAction* action = m_menuBar ? m_menuBar->Find(command) : nullptr;
  if (!action) return false;
  action->setEnabled(enabled);
  return true;
}

bool QtPeer::IsMenuItemEnabled(int command) {
  QAction* action = m_menuBar ? m_menuBar->Find(command) : nullptr;
  return action && action->isEnabled();
}

bool QtPeer::SetMenuItemText(int command, const CString& text) {
  QAction* action = m_menuBar ? m_menuBar->Find(command) : nullptr;
  if (!action) return false;
  QtMenuBar::SetText(action, qttext::FromCp932(text));
  return true;
}

bool QtPeer::CheckMenuItem(int command, bool checked) {
  QAction* action = m_menuBar ? m_menuBar->Find(command) : nullptr;
  if (!action) return false;
  action->setCheckable(true);
  action->setChecked(checked);
  return true;
}

bool QtPeer::IsMenuItemChecked(int command) {
  QAction* action = m_menuBar ? m_menuBar->Find(command) : nullptr;
  return action && action->isChecked();
}

bool QtPeer::HasSystemMenu() {
  return (m_tmpl.styles & style::SystemMenu) != 0;
}

// The window manager's own menu cannot take items from a program here, so the appended items
// live in a menu of the window's own, opened with Alt+Space or the client area's context menu.
void QtPeer::AppendSystemMenuItem(int command, const CString& text) {
  if (!m_systemMenu) {
    m_systemMenu = new QMenu(m_dialog);
    auto* shortcut = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Space), m_dialog);
    QObject::connect(shortcut, &QShortcut::activated, m_dialog,
                     [this] { ShowSystemMenu(m_client->mapToGlobal(QPoint(0, 0)), true); });
  }
  if (command == 0) {
    m_systemMenu->addSeparator();
    return;
  }
  QAction* action = m_systemMenu->addAction(qttext::FromCp932(text));
  const UINT id = static_cast<UINT>(command);
  QObject::connect(action, &QAction::triggered, m_dialog,
                   [this, id] { m_wnd.DispatchSysCommand(id); });
}

// From the keyboard the first item is highlighted at once, so that Enter chooses it.
void QtPeer::ShowSystemMenu(QPoint globalPos, bool fromKeyboard) {
  if (!m_systemMenu || m_systemMenu->isEmpty()) return;
  m_systemMenu->popup(globalPos);
  if (!fromKeyboard) return;
  for (QAction* action : m_systemMenu->actions()) {
    if (!action->isSeparator() && action->isEnabled()) {
      m_systemMenu->setActiveAction(action);
      break;
    }
  }
}

void QtPeer::SetIcon(HICON icon) {
  // The desktop picks the size it needs from the icon's set of images.
  if (!icon) return;
  m_dialog->setWindowIcon(WindowIcon(*icon));
}

bool QtPeer::IsIconic() {
  return m_dialog->isMinimized();
}

void QtPeer::GetClientSize(int& width, int& height) {
  width = m_client->width();
  height = m_client->height();
}

// A minimized window here has no client area of its own to paint: the desktop shows the
// window icon (SetIcon) in the task bar instead. So there is nothing to draw.
void QtPeer::DrawIcon(HICON, int, int) {}
