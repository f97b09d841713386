#include "QtFileDrop.h"

#include <QApplication>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <QWidget>
#include <algorithm>

#include "QtFileDialog.h"
#include "QtText.h"
#include "Wnd.h"

namespace {

bool OnlyLocalFiles(const QMimeData* data) {
  if (!data || !data->hasUrls()) return false;
  const QList<QUrl> urls = data->urls();
  return std::all_of(urls.begin(), urls.end(), [](const QUrl& url) { return url.isLocalFile(); });
}

}  // namespace

QtFileDrop::QtFileDrop(QWidget* window, CWnd& wnd) : QObject(window), m_window(window), m_wnd(wnd) {
  window->setAcceptDrops(true);
  window->installEventFilter(this);
  for (QWidget* inner : window->findChildren<QWidget*>()) inner->installEventFilter(this);
}

QString QtFileDrop::AcceptableFile(const QMimeData* data) const {
  if (!m_wnd.AcceptsDroppedFiles() || !data || !data->hasUrls()) return {};
  // A window that another modal window blocks takes nothing, as it takes no other input.
  QWidget* modal = QApplication::activeModalWidget();
  if (modal && modal != m_window) return {};
  const QList<QUrl> urls = data->urls();
  if (urls.size() != 1 || !urls.front().isLocalFile()) return {};
  const QString file = urls.front().toLocalFile();
  const QString extension = qttext::FromCp932(m_wnd.DroppedFileExtension());
  if (!file.endsWith(extension, Qt::CaseInsensitive) || QFileInfo(file).isDir()) return {};
  return file;
}

bool QtFileDrop::eventFilter(QObject*, QEvent* event) {
  switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
      break;
    default:
      return false;
  }
  auto* drop = static_cast<QDropEvent*>(event);
  const QString file = AcceptableFile(drop->mimeData());
  if (file.isEmpty()) {
    // Text goes on to the control as usual; local files that the window does not take (a
    // folder, another kind of file) would land in an edit as their address, so they stop here.
    if (!OnlyLocalFiles(drop->mimeData())) return false;
    drop->setDropAction(Qt::IgnoreAction);
    drop->ignore();
    return true;
  }
  drop->setDropAction(Qt::CopyAction);
  drop->accept();
  if (event->type() == QEvent::Drop) {
    // The file manager waits for the drop to end: the program's questions come after it.
    QPointer<QWidget> window = m_window;
    QTimer::singleShot(0, m_window, [this, window, file] {
      if (window) Deliver(file);
    });
  }
  return true;
}

void QtFileDrop::Deliver(const QString& file) {
  m_window->raise();
  m_window->activateWindow();
  CString path;
  if (ToProgramPath(m_window, file, path)) m_wnd.DispatchDropFiles(path);
}
