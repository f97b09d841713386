// Ends a program at its start, the same way for the bare dialog and for the program: at the
// first paint of a window, from the event loop once that paint has been handled and flushed,
// after a round trip to the X server (when there is one) so that the pixels have reached it.
// "paint" ends there; "ready" first lets the work already queued behind the paint run (the
// program's reopening of its dictionary), then runs the given extra work, then ends. The exit
// code kExitedAtStart tells the driver that the program got that far.
#pragma once

#include <QEvent>
#include <QObject>
#include <QWidget>
#include <cstring>
#include <functional>

constexpr int kExitedAtStart = 42;

class ExitAtStart : public QObject {
 public:
  enum Mode { Paint, Ready };

  // False for a mode name it does not know.
  static bool ParseMode(const char* name, Mode& mode) {
    if (name && std::strcmp(name, "paint") == 0)
      mode = Paint;
    else if (name && std::strcmp(name, "ready") == 0)
      mode = Ready;
    else
      return false;
    return true;
  }

  ExitAtStart(Mode mode, std::function<void()> whenReady = {})
      : m_mode(mode), m_whenReady(std::move(whenReady)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void AfterPaint();
  [[noreturn]] void Exit();

  Mode m_mode;
  std::function<void()> m_whenReady;
  bool m_armed = false;
};
