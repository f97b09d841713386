#include "QtTestSupport.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QInputMethodEvent>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "QtMain.h"
#include "VokariResources.h"

namespace {

class TestApp : public CWinApp {};

// One QApplication for the whole run, made the way QtMain makes the program's.
class QtEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt's file dialog keeps its state in the user's configuration; the tests keep theirs
    // apart, so that they neither change the user's nor depend on it.
    std::string config = (std::filesystem::temp_directory_path() / "vokari-qt-XXXXXX").string();
    if (mkdtemp(config.data())) {
      m_configHome = config;
      qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(config));
    }
    RegisterVokariResources();
    m_app = new QApplication(m_argc, m_argv);
    SetUpApplication(*m_app);
    m_backend = new QtBackend;
    AfxSetBackend(m_backend);
    m_winApp = new TestApp;
  }
  void TearDown() override {
    delete m_winApp;
    AfxSetBackend(nullptr);
    delete m_backend;
    delete m_app;
    if (!m_configHome.empty()) std::filesystem::remove_all(m_configHome);
  }
  static QtBackend* m_backend;

 private:
  int m_argc = 1;
  char m_name[16] = "vokari_qt_tests";
  char* m_argv[2] = {m_name, nullptr};
  QApplication* m_app = nullptr;
  TestApp* m_winApp = nullptr;
  std::string m_configHome;
};
QtBackend* QtEnvironment::m_backend = nullptr;

[[maybe_unused]] ::testing::Environment* const g_environment =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace

QtBackend& QtTest::Backend() {
  return *QtEnvironment::m_backend;
}

bool RecordingDialog::OnCmdMsg(UINT id, UINT code) {
  commands.emplace_back(id, code);
  if (onCommand) onCommand(id, code);
  if (endOnOkCancel) return CDialog::OnCmdMsg(id, code);
  return true;
}

void RecordingDialog::DoDataExchange(CDataExchange* pDX) {
  for (auto& [id, value] : texts) DDX_Text(pDX, id, value);
  for (auto& [id, value] : checks) DDX_Check(pDX, id, value);
}

CString& RecordingDialog::Text(int id) {
  auto it = std::find_if(texts.begin(), texts.end(), [id](const auto& t) { return t.first == id; });
  if (it == texts.end()) throw std::logic_error("control is not bound");
  return it->second;
}

bool RecordingDialog::Received(UINT id, UINT code) const {
  return std::find(commands.begin(), commands.end(), std::make_pair(id, code)) != commands.end();
}

void WhenModal(std::function<void(QWidget*)> action) {
  auto* timer = new QTimer;
  timer->setInterval(10);
  QWidget* before = QApplication::activeModalWidget();
  auto waited = std::make_shared<int>(0);
  QObject::connect(timer, &QTimer::timeout, [timer, before, waited, action = std::move(action)] {
    QWidget* modal = QApplication::activeModalWidget();
    // Keys only reach a dialog once it is the active window; on a loaded machine that can come
    // well after it is shown.
    const bool ready = modal && modal != before && modal->isVisible() && modal->isActiveWindow();
    if (!ready) {
      if (++*waited == 1000) {  // ten seconds: give up rather than hang the run
        timer->stop();
        timer->deleteLater();
        ADD_FAILURE() << "no new active modal dialog appeared";
        if (auto* dialog = qobject_cast<QDialog*>(modal); dialog && modal != before)
          dialog->done(IDCANCEL);
      }
      return;
    }
    timer->stop();
    timer->deleteLater();
    action(modal);
  });
  timer->start();
}

void Type(QWidget* w, const QString& text) {
  QInputMethodEvent event;
  event.setCommitString(text);
  QApplication::sendEvent(w, &event);
}

void ShowActive(QWidget* window) {
  window->show();
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window));
}

void Settle() {
  QApplication::processEvents();
}
