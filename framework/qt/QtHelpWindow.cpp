#include "QtHelpWindow.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "QtText.h"

QtHelpWindow::QtHelpWindow(QWidget* owner) : QWidget(owner, Qt::Window) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(qttext::FromU8(u8"Vokari ヘルプ"));
  auto* layout = new QVBoxLayout(this);
  m_text = new QPlainTextEdit(this);
  m_text->setReadOnly(true);
  m_text->setTabChangesFocus(true);
  layout->addWidget(m_text);
  auto* close = new QPushButton(qttext::FromU8(u8"閉じる"), this);
  connect(close, &QPushButton::clicked, this, &QWidget::close);
  layout->addWidget(close, 0, Qt::AlignRight);
  resize(560, 420);
}

void QtHelpWindow::SetText(const QString& text) {
  m_text->setPlainText(qttext::ToQtLines(text));
}

QString QtHelpWindow::Text() const {
  return m_text->toPlainText();
}
