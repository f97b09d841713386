// Files dragged from a file manager onto a window. The window, and every control in it (whose
// own handling would take a dropped file's name as text), accepts a drag of one local file with
// the extension its CWnd asks for, and hands the path to the CWnd once the drop is over; other
// local files are refused everywhere in it, so that no edit takes their address as text. It
// opens nothing itself; what a dropped file means is the program's.
#pragma once

#include <QObject>
#include <QString>

class CWnd;
class QMimeData;
class QWidget;

class QtFileDrop : public QObject {
 public:
  // Watches window and every widget inside it at the time of the call.
  QtFileDrop(QWidget* window, CWnd& wnd);

  // The one file of data that the window takes, or an empty string.
  QString AcceptableFile(const QMimeData* data) const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Deliver(const QString& file);

  QWidget* m_window;
  CWnd& m_wnd;
};
