// QtBackend: the framework's backend on Qt 6 Widgets. It builds a QtPeer for each window and
// shows message boxes, file dialogs and the help window. It needs a QApplication that already
// exists; it does not create one (QtMain does).
#pragma once

#include <QPointer>
#include <QWidget>

#include "Backend.h"

class QtBackend : public IBackend {
 public:
  std::unique_ptr<IWindowPeer> CreatePeer(const DialogTemplate& tmpl, CWnd& wnd,
                                          CWnd* owner) override;
  int MessageBox(CWnd* owner, const CString& text, const CString& caption, UINT type) override;
  bool FileDialog(CWnd* owner, const FileDialogRequest& request, CString& path) override;
  void ShowHelp(CWnd* owner, const CString& text) override;
  void CloseHelp() override;
  int GetSystemMetrics(int index) override;

  // The window of a CWnd, when it has one on screen.
  static QWidget* WidgetOf(CWnd* wnd);
  QWidget* HelpWindow() const { return m_help; }

 private:
  QPointer<QWidget> m_help;
};
