// The program's main window on the Qt backend, created and shown (offscreen unless
// QT_QPA_PLATFORM says otherwise), for benchmarks that time what the window does. It owns the
// Qt application, the program object and the window; the backend stays the caller's, so that a
// benchmark can answer the window's questions itself. It times and measures nothing.
#pragma once

#include <QApplication>
#include <optional>

#include "DictionaryDlg.h"
#include "WinApp.h"

class QtBackend;

class ShownDialog {
 public:
  ShownDialog(char** argv, QtBackend& backend);
  CDictionaryDlg& Dialog() { return *m_dlg; }

 private:
  class App : public CWinApp {};

  int m_argc = 1;
  std::optional<QApplication> m_app;
  std::optional<App> m_winApp;
  std::optional<CDictionaryDlg> m_dlg;
};
