#include "QtBackend.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>

#include "QtFileDialog.h"
#include "QtHelpWindow.h"
#include "QtPeer.h"
#include "QtText.h"
#include "Wnd.h"

namespace {
// A short text makes a narrow box, and the window manager then has no room left for the
// caption beside its buttons. A spacer keeps the box wide enough to show it.
void KeepCaptionVisible(QMessageBox& box) {
  auto* grid = qobject_cast<QGridLayout*>(box.layout());
  if (!grid) return;
  const int width = QFontMetrics(box.font()).horizontalAdvance(box.windowTitle()) + 140;
  grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                grid->rowCount(), 0, 1, grid->columnCount());
}
}  // namespace

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
      box.setDefaultButton((type & MB_DEFMASK) == MB_DEFBUTTON2 ? QMessageBox::No
                                                                : QMessageBox::Yes);
      break;
    case MB_YESNOCANCEL:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
      box.setDefaultButton((type & MB_DEFMASK) == MB_DEFBUTTON2 ? QMessageBox::No
                                                                : QMessageBox::Yes);
      break;
    default:
      box.setStandardButtons(QMessageBox::Ok);
      break;
  }
  KeepCaptionVisible(box);
  switch (box.exec()) {
    case QMessageBox::Cancel:
      return IDCANCEL;
    case QMessageBox::Yes:
      return IDYES;
    case QMessageBox::No:
      return IDNO;
    default:
      return IDOK;
  }
}

bool QtBackend::FileDialog(CWnd* owner, const FileDialogRequest& request, CString& path) {
  return RunFileDialog(WidgetOf(owner), request, path);
}

void QtBackend::ShowHelp(CWnd* owner, const CString& text) {
  if (!m_help) {
    QWidget* ownerWidget = WidgetOf(owner);
    auto* help = new QtHelpWindow(ownerWidget);
    help->PlaceBeside(ownerWidget);
    m_help = help;
  }
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
