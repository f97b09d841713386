#include "QtMenus.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>

#include "QtKeys.h"
#include "QtText.h"

namespace {

// The item of bar whose mnemonic is letter, when exactly one has it.
QAction* OnlyItemWith(QMenuBar* bar, QChar letter) {
  QAction* found = nullptr;
  for (QAction* action : bar->actions()) {
    const QString text = action->text();
    const qsizetype amp = text.indexOf(QLatin1Char('&'));
    if (amp < 0 || amp + 1 >= text.size() || text[amp + 1].toUpper() != letter.toUpper()) continue;
    if (found) return nullptr;
    found = action;
  }
  return found;
}

// In menu mode (Alt pressed and released), a letter goes to the item of the bar that has it, as
// on the platform the program was written for: an item without a menu (設定) runs at once
// instead of waiting for Enter, and a letter typed with Shift (? for ヘルプ) counts as well.
// Qt itself only highlights such an item and ignores letters typed with Shift.
class BarLetters : public QObject {
 public:
  explicit BarLetters(QMenuBar* bar) : QObject(bar), m_bar(bar) { bar->installEventFilter(this); }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    const Qt::KeyboardModifiers others =
        key->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
    if (key->text().size() != 1 || others != Qt::NoModifier) return false;
    QAction* item = OnlyItemWith(m_bar, key->text().front());
    if (!item || !item->isEnabled()) return false;
    if (item->menu()) {
      if (!(key->modifiers() & Qt::ShiftModifier)) return false;
      // Qt opens the menu itself for the same letter without Shift.
      QKeyEvent plain(QEvent::KeyPress, key->key(), Qt::NoModifier, key->text());
      QApplication::sendEvent(m_bar, &plain);
      return true;
    }
    // Leaving menu mode first gives the focus back to the window's control.
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(m_bar, &escape);
    item->trigger();
    return true;
  }

 private:
  QMenuBar* m_bar;
};

// A shortcut of the menu goes to the menu before the focused control: an edit would otherwise
// take Ctrl+Z as its own undo, as the platform the program was written for never lets it.
class MenuKeysFirst : public QObject {
 public:
  explicit MenuKeysFirst(QMenuBar* bar) : QObject(bar), m_bar(bar) {
    QApplication::instance()->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* target, QEvent* event) override {
    // A key typed while an input method composes belongs to the composition.
    if (event->type() != QEvent::ShortcutOverride || InputMethodComposing()) return false;
    auto* widget = qobject_cast<QWidget*>(target);
    if (!widget || widget->window() != m_bar->window()) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const QKeySequence pressed(key->keyCombination());
    for (QAction* action : m_bar->findChildren<QAction*>()) {
      if (!action->shortcut().isEmpty() && action->shortcut() == pressed && action->isEnabled()) {
        event->ignore();
        return true;
      }
    }
    return false;
  }

 private:
  QMenuBar* m_bar;
};

}  // namespace

void QtMenuBar::SetText(QAction* action, const QString& text) {
  action->setText(text);
  const qsizetype tab = text.indexOf(QLatin1Char('\t'));
  action->setShortcut(tab < 0 ? QKeySequence() : QKeySequence(text.mid(tab + 1)));
}

QtMenuBar::QtMenuBar(const MenuTemplate& tmpl, QWidget* parent, std::function<void(int)> onCommand)
    : m_bar(new QMenuBar(parent)), m_onCommand(std::move(onCommand)) {
  // The menu belongs to the window, also where the desktop could host it elsewhere.
  m_bar->setNativeMenuBar(false);
  AddItems(m_bar, tmpl.items);
  new BarLetters(m_bar);
  new MenuKeysFirst(m_bar);
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
    // Qt turns a checkable item over as it is chosen; here the command alone sets the mark, so
    // the item is turned back first.
    auto* action = new QAction(menu);
    SetText(action, text);
    const int command = item.command;
    QObject::connect(
        action, &QAction::triggered, m_bar,
        [this, action, command](bool checked) {
          if (action->isCheckable()) action->setChecked(!checked);
          m_onCommand(command);
        },
        menu == m_bar ? Qt::QueuedConnection : Qt::AutoConnection);
    menu->addAction(action);
    m_actions.emplace(command, action);
  }
}
