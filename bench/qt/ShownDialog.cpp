#include "ShownDialog.h"

#include "QtBackend.h"
#include "QtMain.h"
#include "QtPeer.h"
#include "VokariResources.h"

ShownDialog::ShownDialog(char** argv, QtBackend& backend) {
  RegisterVokariResources();
  m_app.emplace(m_argc, argv);
  SetUpApplication(*m_app);
  AfxSetBackend(&backend);
  m_winApp.emplace();
  m_dlg.emplace();
  m_dlg->Create();
  dynamic_cast<QtPeer*>(m_dlg->Peer())->Dialog()->show();
  QApplication::processEvents();
}
