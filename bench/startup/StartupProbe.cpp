// The program as it ships, ending at its start: the same resources, application object and
// start-up, with ExitAtStart watching from the moment the application begins.
//   vokari_at_start paint    ends when the main window is first painted
//   vokari_at_start ready    ends once the start-up's queued work (reopening the remembered
//                            dictionary) has run as well
#include <QApplication>

#include "DictionaryApp.h"
#include "ExitAtStart.h"
#include "QtMain.h"
#include "VokariResources.h"

namespace {

ExitAtStart::Mode g_mode = ExitAtStart::Paint;

class StartupProbeApp : public CDictionaryApp {
 public:
  BOOL InitInstance() override {
    qApp->installEventFilter(new ExitAtStart(g_mode));
    return CDictionaryApp::InitInstance();
  }
};

StartupProbeApp theApp;

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || !ExitAtStart::ParseMode(argv[1], g_mode)) return 2;
  RegisterVokariResources();
  return QtMain(1, argv);
}
