// The help window: a small window beside the program showing the help text. It does not block
// the program's windows and is closed with the main window.
#pragma once

#include <QWidget>

class QPlainTextEdit;

class QtHelpWindow : public QWidget {
 public:
  explicit QtHelpWindow(QWidget* owner);
  void SetText(const QString& text);
  QString Text() const;
  void PlaceBeside(const QWidget* owner);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QPlainTextEdit* m_text;
};
