#include "QtKeys.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QShortcut>

namespace {

// Remembers which object shows uncommitted input-method text, and keeps shortcuts from taking
// keys away from it: a key typed while composing belongs to the composition.
class CompositionWatch : public QObject {
 public:
  using QObject::QObject;
  bool Composing() const { return m_composing && m_composing == QApplication::focusObject(); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::InputMethod) {
      const bool preedit = !static_cast<QInputMethodEvent*>(event)->preeditString().isEmpty();
      if (preedit)
        m_composing = watched;
      else if (m_composing == watched)
        m_composing = nullptr;
    } else if (event->type() == QEvent::ShortcutOverride && Composing()) {
      event->accept();
      return true;
    }
    return false;
  }

 private:
  QPointer<QObject> m_composing;
};

CompositionWatch* Watch() {
  // Owned by the application, so a later application gets a watch of its own.
  static QPointer<CompositionWatch> watch;
  if (!watch && qApp) {
    watch = new CompositionWatch(qApp);
    qApp->installEventFilter(watch);
  }
  return watch;
}

Qt::Key QtKey(int key) {
  if (key == vk::Delete) return Qt::Key_Delete;
  if (key >= vk::F1 && key < vk::F1 + 12) return static_cast<Qt::Key>(Qt::Key_F1 + (key - vk::F1));
  return static_cast<Qt::Key>(key);  // letters and digits: their ASCII capitals, as in Qt
}

}  // namespace

QKeySequence KeyOf(const Accelerator& key) {
  Qt::KeyboardModifiers modifiers;
  if (key.modifiers & vk::Control) modifiers |= Qt::ControlModifier;
  if (key.modifiers & vk::Shift) modifiers |= Qt::ShiftModifier;
  if (key.modifiers & vk::Alt) modifiers |= Qt::AltModifier;
  return QKeySequence(QKeyCombination(modifiers, QtKey(key.key)));
}

bool InputMethodComposing() {
  const CompositionWatch* watch = Watch();
  return watch && watch->Composing();
}

void InstallAccelerators(const AcceleratorTable& table, const QtKeyTargets& targets) {
  Watch();
  for (const Accelerator& key : table.keys) {
    QWidget* scope = key.control ? targets.control(key.control) : targets.window;
    if (!scope) continue;
    auto* shortcut = new QShortcut(KeyOf(key), scope);
    shortcut->setContext(key.control && key.command ? Qt::WidgetWithChildrenShortcut
                                                    : Qt::WindowShortcut);
    QAction* item = key.command ? targets.menuItem(key.command) : nullptr;
    if (item) {
      // Shown beside the item; the item itself takes the key only while its menu is open.
      item->setShortcut(KeyOf(key));
      item->setShortcutContext(Qt::WidgetShortcut);
    }
    const int command = key.command;
    const int control = key.control;
    QObject::connect(shortcut, &QShortcut::activated, scope, [targets, item, command, control] {
      if (InputMethodComposing()) return;
      if (!command) {
        targets.focus(control);
        return;
      }
      if (!item || item->isEnabled()) targets.run(command);
    });
  }
}
