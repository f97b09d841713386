#include "QtBackend.h"

#include <QMessageBox>

#include "QtFileDialog.h"
#include "QtHelpWindow.h"
#include "QtPeer.h"
#include "QtText.h"
#include "Wnd.h"

std::unique_ptr<IWindowPeer> QtBackend::CreatePeer(const DialogTemplate& tmpl, CWnd& wnd,
                                                   CWnd* owner) {
  return std::make_unique<QtPeer>(tmpl, wnd, WidgetOf(owner));
}

QWidget* QtBackend::WidgetOf(CWnd* wnd) {
  auto* peer = wnd ? dynamic_cast<QtPeer*>(wnd->Peer()) : nullptr;
  return peer ? peer->Dialog() : nullptr;
}

int QtBackend::MessageBox(CWnd* owner, const CString& text, const CString& caption, UINT type) {
  QMessageBox box(WidgetOf(owner));
  box.setWindowTitle(qttext::FromCp932(caption));
  box.setTextFormat(Qt::PlainText);
  box.setText(qttext::ToQtLines(qttext::FromCp932(text)));
  const bool exclamation = (type & MB_ICONMASK) == MB_ICONEXCLAMATION;
  box.setIcon(exclamation ? QMessageBox::Warning : QMessageBox::NoIcon);
  switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
      box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
      box.setDefaultButton(QMessageBox::Ok);
      break;
    case MB_YESNO:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      box.setDefaultButton(QMessageBox::Yes);
      break;
    default:
      box.setStandardButtons(QMessageBox::Ok);
      break;
  }
  switch (box.exec()) {
    case QMessageBox::Cancel: return IDCANCEL;
    case QMessageBox::Yes: return IDYES;
    case QMessageBox::No: return IDNO;
    default: return IDOK;
  }
}

bool QtBackend::FileDialog(CWnd* owner, const FileDialogRequest& request, CString& path) {
  return RunFileDialog(WidgetOf(owner), request, path);
}

void QtBackend::ShowHelp(CWnd* owner, const CString& text) {
  if (!m_help) m_help = new QtHelpWindow(WidgetOf(owner));
  static_cast<QtHelpWindow*>(m_help.data())->SetText(qttext::FromCp932(text));
  m_help->show();
  m_help->raise();
  m_help->activateWindow();
}

void QtBackend::CloseHelp() {
  if (m_help) m_help->close();
}

int QtBackend::GetSystemMetrics(int index) {
  return index == SM_CXICON || index == SM_CYICON ? 32 : 0;
}
