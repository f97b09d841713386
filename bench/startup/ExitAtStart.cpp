#include "ExitAtStart.h"

#include <QGuiApplication>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#ifdef BENCH_HAVE_XCB
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>
#endif

namespace {

// Waits until the X server has handled every request sent so far, the paint included.
void SyncWithDisplay() {
#ifdef BENCH_HAVE_XCB
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  if (!x11 || !x11->connection()) return;
  xcb_connection_t* c = x11->connection();
  std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
#endif
}

}  // namespace

// The filter sees the window's first paint before the window does, so the call queued here
// runs before anything the window queues while painting.
bool ExitAtStart::eventFilter(QObject* watched, QEvent* event) {
  if (!m_armed && event->type() == QEvent::Paint && watched->isWidgetType() &&
      static_cast<QWidget*>(watched)->isWindow()) {
    m_armed = true;
    QTimer::singleShot(0, this, [this] { AfterPaint(); });
  }
  return false;
}

void ExitAtStart::AfterPaint() {
  SyncWithDisplay();
  if (m_mode == Paint) Exit();
  // Queued behind what the paint queued: runs once that has run.
  QTimer::singleShot(0, this, [this] {
    if (m_whenReady) m_whenReady();
    SyncWithDisplay();
    Exit();
  });
}

void ExitAtStart::Exit() {
  std::fflush(nullptr);
  std::_Exit(kExitedAtStart);
}
