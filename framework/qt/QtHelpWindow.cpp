#include "QtHelpWindow.h"

#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

#include "AfxRes.h"
#include "QtText.h"

QtHelpWindow::QtHelpWindow(QWidget* owner) : QWidget(owner, Qt::Window) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(qttext::FromResource(AFX_IDS_HELP_CAPTION));
  auto* layout = new QVBoxLayout(this);
  m_text = new QPlainTextEdit(this);
  m_text->setReadOnly(true);
  m_text->setTabChangesFocus(true);
  m_text->setAccessibleName(windowTitle());
  layout->addWidget(m_text);
  auto* close = new QPushButton(qttext::FromResource(AFX_IDS_HELP_CLOSE), this);
  connect(close, &QPushButton::clicked, this, &QWidget::close);
  layout->addWidget(close, 0, Qt::AlignRight);
  resize(560, 420);
}

// Escape closes it, as it does the program's dialogs.
void QtHelpWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

void QtHelpWindow::SetText(const QString& text) {
  m_text->setPlainText(qttext::ToQtLines(text));
}

QString QtHelpWindow::Text() const {
  return m_text->toPlainText();
}

// Beside the owner on its right when the screen has room there, otherwise over its middle, and
// always inside the screen.
void QtHelpWindow::PlaceBeside(const QWidget* owner) {
  if (!owner) return;
  const QRect frame = owner->window()->frameGeometry();
  QPoint at(frame.right() + 8, frame.top());
  const QScreen* screen = owner->window()->screen();
  if (screen) {
    const QRect area = screen->availableGeometry();
    if (at.x() + width() > area.right()) at = frame.center() - QPoint(width() / 2, height() / 2);
    at.setX(std::clamp(at.x(), area.left(), std::max(area.left(), area.right() - width())));
    at.setY(std::clamp(at.y(), area.top(), std::max(area.top(), area.bottom() - height())));
  }
  move(at);
}
