#include "QtMnemonics.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QPointer>

#include "QtPeerDialog.h"

namespace {

bool IsAltLetter(const QKeyEvent& key) {
  if ((key.modifiers() & ~Qt::KeypadModifier) != Qt::AltModifier) return false;
  return (key.key() >= Qt::Key_A && key.key() <= Qt::Key_Z) ||
         (key.key() >= Qt::Key_0 && key.key() <= Qt::Key_9);
}

// The control of dialog that Alt+key reaches: a push button or check box with that mnemonic,
// or a label with that mnemonic and a buddy; hidden and disabled ones do not count.
QWidget* MnemonicTarget(QWidget* dialog, int key) {
  const QKeySequence wanted(QKeyCombination(Qt::AltModifier, static_cast<Qt::Key>(key)));
  for (QWidget* widget : dialog->findChildren<QWidget*>()) {
    if (widget->window() != dialog || !widget->isEnabled() || !widget->isVisibleTo(dialog))
      continue;
    QString text;
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
      text = button->text();
    } else if (auto* label = qobject_cast<QLabel*>(widget); label && label->buddy()) {
      text = label->text();
    } else {
      continue;
    }
    if (QKeySequence::mnemonic(text) == wanted) return widget;
  }
  return nullptr;
}

// What Qt itself does for a mnemonic that is not ambiguous.
void Activate(QWidget* target) {
  if (auto* label = qobject_cast<QLabel*>(target)) {
    label->buddy()->setFocus(Qt::ShortcutFocusReason);
    return;
  }
  auto* button = static_cast<QAbstractButton*>(target);
  if (button->focusPolicy() != Qt::NoFocus) button->setFocus(Qt::ShortcutFocusReason);
  button->window()->setAttribute(Qt::WA_KeyboardFocusChange);
  button->animateClick();
}

class ControlMnemonicsFirst : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress)
      return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    auto* key = static_cast<QKeyEvent*>(event);
    if (!widget || !IsAltLetter(*key)) return false;
    auto* dialog = dynamic_cast<QtPeerDialog*>(widget->window());
    QWidget* target = dialog ? MnemonicTarget(dialog, key->key()) : nullptr;
    if (!target) return false;
    // Claiming the override keeps the menu bar's shortcut from firing; the key press that
    // follows is then ours.
    event->accept();
    if (event->type() == QEvent::KeyPress) Activate(target);
    return true;
  }
};

}  // namespace

void InstallControlMnemonicsFirst() {
  // Owned by the application, so a later application gets a rule of its own.
  static QPointer<ControlMnemonicsFirst> installed;
  if (installed || !qApp) return;
  installed = new ControlMnemonicsFirst(qApp);
  qApp->installEventFilter(installed);
}
