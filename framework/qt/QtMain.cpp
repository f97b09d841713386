#include "QtMain.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <cstdio>
#include <cstdlib>

#include "AfxRes.h"
#include "QtBackend.h"
#include "QtControls.h"
#include "QtDialogUnits.h"
#include "QtText.h"
#include "Resources.h"
#include "WinApp.h"

namespace {

bool HasDisplay() {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    const char* value = std::getenv(name);
    if (value && *value) return true;
  }
  return false;
}

// Before any window exists, so straight to the standard error in UTF-8.
void SayNoDisplay() {
  if (const std::u8string_view* text = AfxFindString(AFX_IDS_NO_DISPLAY))
    std::fwrite(text->data(), 1, text->size(), stderr);
}

// The interface is Japanese whatever the locale, so Qt's own buttons and dialogs are too.
void InstallJapanese(QApplication& app) {
  auto* translator = new QTranslator(&app);
  if (translator->load(QStringLiteral("qtbase_ja"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QApplication::installTranslator(translator);
}

void SetLook(QApplication& app) {
  QApplication::setApplicationName(qttext::FromCp932(AfxGetAppName()));
  // Under Wayland the windows announce the desktop entry's name, so that the desktop finds
  // its icon and groups them with their launcher. X11's WM_CLASS keeps the application name.
  QGuiApplication::setDesktopFileName(qttext::FromResource(AFX_IDS_DESKTOP_ID));
  if (const CWinApp* a = AfxGetApp()) {
    if (const IconResource* icon = AfxFindIcon(a->IconId()))
      QApplication::setWindowIcon(WindowIcon(*icon));
  }
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
