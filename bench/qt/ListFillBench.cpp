// Filling the main window's word list with 1024 words: through the program's own search
// (RefreshWordList: the framework's list box, the peer and the code page conversion) against
// putting the same words into the same QListWidget directly. Runs offscreen.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QTemporaryDir>

#include "DictionaryDlg.h"
#include "QtBackend.h"
#include "QtMain.h"
#include "QtPeer.h"
#include "QtText.h"
#include "VokariResources.h"
#include "WinApp.h"

namespace {

class BenchApp : public CWinApp {};

// The real main window with a full word book of Japanese words, built once.
struct MainWindow {
  CDictionaryDlg dlg;
  QStringList shown;  // the same words, converted once, for the direct fill

  MainWindow() {
    dlg.Create();
    dlg.m_dict.m_strName = CString("bench");
    for (int i = 0; i < CDictData::MAX_WORDS; ++i) {
      CString word;
      word.Format(U8(u8"単語%d番目のことば"), i);
      dlg.m_dict.m_strWord[i] = word;
      shown << qttext::FromCp932(word);
    }
    dlg.m_dict.m_nCount = CDictData::MAX_WORDS;
  }
  QListWidget* List() const {
    return qobject_cast<QListWidget*>(dynamic_cast<QtPeer*>(dlg.Peer())->Control(IDC_WORD_LIST));
  }
};

MainWindow* g_window = nullptr;

void BM_RefreshWordList(benchmark::State& state) {
  for (auto _ : state) {
    g_window->dlg.RefreshWordList();
    benchmark::DoNotOptimize(g_window->List()->count());
  }
  if (g_window->List()->count() != CDictData::MAX_WORDS) state.SkipWithError("list not filled");
}
BENCHMARK(BM_RefreshWordList)->Unit(benchmark::kMicrosecond);

void BM_QListWidgetDirect(benchmark::State& state) {
  QListWidget* list = g_window->List();
  for (auto _ : state) {
    list->clear();
    for (const QString& word : g_window->shown) list->addItem(word);
    benchmark::DoNotOptimize(list->count());
  }
}
BENCHMARK(BM_QListWidgetDirect)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // The main window reads its settings file from the current directory: give it an empty one.
  QTemporaryDir dir;
  QDir::setCurrent(dir.path());
  RegisterVokariResources();
  int qtArgc = 1;
  QApplication app(qtArgc, argv);
  SetUpApplication(app);
  QtBackend backend;
  AfxSetBackend(&backend);
  BenchApp winApp;
  MainWindow window;
  g_window = &window;
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  g_window = nullptr;
  return 0;
}
