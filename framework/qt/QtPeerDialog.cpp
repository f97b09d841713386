#include "QtPeerDialog.h"

#include <QKeyEvent>
#include <QPushButton>

namespace {
const char kMultiLine[] = "vokariMultiLine";
}

void QtPeerDialog::WatchEnter(QWidget* control, bool multiLine) {
  control->setProperty(kMultiLine, multiLine);
  control->installEventFilter(this);
  // The line edit of a combo box and the viewports of lists get the keys themselves.
  for (QWidget* inner : control->findChildren<QWidget*>()) {
    inner->setProperty(kMultiLine, multiLine);
    inner->installEventFilter(this);
  }
}

bool QtPeerDialog::IsEnter(QEvent* event) const {
  if (event->type() != QEvent::KeyPress) return false;
  const int key = static_cast<QKeyEvent*>(event)->key();
  return key == Qt::Key_Return || key == Qt::Key_Enter;
}

bool QtPeerDialog::eventFilter(QObject* watched, QEvent* event) {
  if (!IsEnter(event)) return QDialog::eventFilter(watched, event);
  // A multi-line edit takes Enter as a line break; a focused push button presses itself.
  if (watched->property(kMultiLine).toBool()) return false;
  if (qobject_cast<QPushButton*>(watched)) return false;
  if (onDefault) onDefault();
  return true;
}
