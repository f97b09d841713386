// A window's accelerators as Qt shortcuts: each key runs its command (or moves the focus), shows
// beside the menu item of its command, and runs only while that item is enabled. No key fires
// while an input method is composing text in the window. It decides nothing about the commands.
#pragma once

#include <QAction>
#include <QWidget>
#include <functional>

#include "Resources.h"

struct QtKeyTargets {
  QWidget* window;
  std::function<QWidget*(int id)> control;        // null when the window has no such control
  std::function<QAction*(int command)> menuItem;  // null when the menu has no such item
  std::function<void(int command)> run;
  std::function<void(int id)> focus;
};

void InstallAccelerators(const AcceleratorTable& table, const QtKeyTargets& targets);

// The Qt key sequence of an accelerator.
QKeySequence KeyOf(const Accelerator& key);

// True while an input method shows uncommitted text in the widget that has the focus.
bool InputMethodComposing();
