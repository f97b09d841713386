// The QDialog behind every window, and the keyboard rules of dialogs: Enter presses the default
// button (except in multi-line edits and on a focused push button), Escape and the close box
// ask the window for IDCANCEL instead of closing it. Whether the window really ends is the
// program's decision (EndDialog).
#pragma once

#include <QDialog>
#include <functional>

class QtPeerDialog : public QDialog {
 public:
  QtPeerDialog(QWidget* owner, Qt::WindowFlags flags) : QDialog(owner, flags) {}

  std::function<void()> onCancel;         // Escape, the close box
  std::function<void()> onDefault;        // Enter outside multi-line edits and push buttons
  std::function<void()> afterFirstPaint;  // once, when the first paint has reached the screen

  void reject() override {
    if (onCancel) onCancel();
  }

  // Watches one control (and its inner widgets) for Enter.
  void WatchEnter(QWidget* control, bool multiLine);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  bool event(QEvent* event) override;

 private:
  bool IsEnter(QEvent* event) const;
  bool SelectFirst(QObject* watched, QEvent* event);
};
