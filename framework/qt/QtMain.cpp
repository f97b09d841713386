#include "QtMain.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <cstdio>
#include <cstdlib>

#include "QtBackend.h"
#include "QtControls.h"
#include "QtDialogUnits.h"
#include "WinApp.h"

namespace {

bool HasDisplay() {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    const char* value = std::getenv(name);
    if (value && *value) return true;
  }
  return false;
}

void SayNoDisplay() {
  std::fputs(reinterpret_cast<const char*>(
                 u8"Vokari の画面を出せません。グラフィック画面（X11 か Wayland）が必要です。\n"
                 u8"デスクトップの中で起動するか、画面のない環境では\n"
                 u8"  xvfb-run -a vokari\n"
                 u8"のように仮想画面の中で起動してください。\n"
                 u8"\n"
                 u8"Vokari needs a graphical display (X11 or Wayland), and none was found\n"
                 u8"(DISPLAY and WAYLAND_DISPLAY are not set). Start it inside a desktop session,\n"
                 u8"or, on a machine without a screen, in a virtual one:\n"
                 u8"  xvfb-run -a vokari\n"),
             stderr);
}

// The interface is Japanese whatever the locale, so Qt's own buttons and dialogs are too.
void InstallJapanese(QApplication& app) {
  auto* translator = new QTranslator(&app);
  if (translator->load(QStringLiteral("qtbase_ja"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QApplication::installTranslator(translator);
}

void SetLook(QApplication& app) {
  QApplication::setApplicationName(QStringLiteral("Vokari"));
  if (const IconResource* icon = AfxFindIcon(128)) QApplication::setWindowIcon(WindowIcon(*icon));
  // Message boxes, menus and file dialogs in the same Japanese font as the dialogs.
  DialogTemplate plain{};
  plain.pointSize = 9;
  QApplication::setFont(DialogFont(plain));
  // Dates and sizes in the file dialogs read as the rest of the interface does.
  QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
  // The program ends when its main window's modal run ends, not when a window closes.
  app.setQuitOnLastWindowClosed(false);
}

}  // namespace

void SetUpApplication(QApplication& app) {
  SetLook(app);
  InstallJapanese(app);
}

int QtMain(int argc, char** argv) {
  if (!HasDisplay()) {
    SayNoDisplay();
    return 1;
  }
  QApplication app(argc, argv);
  SetUpApplication(app);
  QtBackend backend;
  AfxSetBackend(&backend);
  const int result = AfxWinMain();
  AfxSetBackend(nullptr);
  return result;
}
