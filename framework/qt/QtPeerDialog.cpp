#include "QtPeerDialog.h"

#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <utility>

namespace {
const char kMultiLine[] = "peerMultiLine";
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

// In a list with nothing selected, the first arrow key selects the item with the focus
// frame (the first one) instead of stepping past it.
bool QtPeerDialog::SelectFirst(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  const int key = static_cast<QKeyEvent*>(event)->key();
  if (key != Qt::Key_Down && key != Qt::Key_Up) return false;
  auto* list = qobject_cast<QListWidget*>(watched);
  if (!list || list->count() == 0 || !list->selectedItems().isEmpty()) return false;
  list->setCurrentRow(list->currentRow() >= 0 ? list->currentRow() : 0,
                      QItemSelectionModel::ClearAndSelect);
  return true;
}

bool QtPeerDialog::eventFilter(QObject* watched, QEvent* event) {
  if (SelectFirst(watched, event)) return true;
  if (!IsEnter(event)) return QDialog::eventFilter(watched, event);
  // A multi-line edit takes Enter as a line break; a focused push button presses itself.
  if (watched->property(kMultiLine).toBool()) return false;
  if (qobject_cast<QPushButton*>(watched)) return false;
  if (onDefault) onDefault();
  return true;
}

// The first paint is handled before its pixels are flushed to the screen; the work waiting for
// the window runs from the event loop just after, so the window is seen first.
bool QtPeerDialog::event(QEvent* event) {
  const bool handled = QDialog::event(event);
  if (event->type() == QEvent::Paint && afterFirstPaint) {
    QTimer::singleShot(0, this, std::exchange(afterFirstPaint, nullptr));
  }
  return handled;
}
