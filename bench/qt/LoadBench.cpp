// A dictionary loaded the way the window loads it at start: LoadDictionary on the real main
// window (on screen, offscreen unless QT_QPA_PLATFORM says otherwise), which reads the whole
// file into a new book, takes it over, writes "LastPath" to the settings file and shows the
// name and the count. Against it, a plain read() of the same file into a freshly allocated
// buffer. Argument 0: both sides start each iteration with no book or buffer and memory new to
// the process, as the start-up's load does. Argument 1: both load over what the previous
// iteration loaded and drop it inside the timing (the window its old book, with the memory
// handed back; the plain side its old buffer), as File ▸ 開く does. "minflt" counts the page
// faults of one load.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <filesystem>

#include "BenchBook.h"
#include "DictionaryDlg.h"
#include "Memory.h"
#include "QtBackend.h"
#include "QtMain.h"
#include "QtPeer.h"
#include "VokariResources.h"
#include "WinApp.h"

namespace {

class BenchApp : public CWinApp {};

struct Setup {
  QTemporaryDir dir;
  std::string bookPath;
  size_t bytes = 0;
  CDictionaryDlg* dlg = nullptr;
};
Setup* g_setup = nullptr;

// Drops the window's book and gives its memory back, as before a load at start.
void EmptyWindow() {
  auto empty = std::make_unique<CDictData>();
  g_setup->dlg->m_dict = std::move(*empty);
  empty.reset();
  benchmem::ReturnFreedMemory();
}

void BM_WindowLoad(benchmark::State& state) {
  const bool over = state.range(0) == 1;
  if (over && g_setup->dlg->LoadDictionary(CString(g_setup->bookPath)) != 1) std::abort();
  long faults = 0;
  for (auto _ : state) {
    if (!over) {
      state.PauseTiming();
      EmptyWindow();
      state.ResumeTiming();
    }
    const long before = benchmem::MinorFaults();
    if (g_setup->dlg->LoadDictionary(CString(g_setup->bookPath)) != 1) std::abort();
    faults += benchmem::MinorFaults() - before;
  }
  state.counters["minflt"] =
      benchmark::Counter(static_cast<double>(faults), benchmark::Counter::kAvgIterations);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * g_setup->bytes));
  QFile ini(QDir(g_setup->dir.path()).filePath(QStringLiteral("Vokari.ini")));
  if (!ini.open(QIODevice::ReadOnly) || !ini.readAll().contains("LastPath="))
    state.SkipWithError("the load wrote no LastPath");
}
BENCHMARK(BM_WindowLoad)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReadPlain(benchmark::State& state) {
  const bool over = state.range(0) == 1;
  std::unique_ptr<char[]> previous;
  long faults = 0;
  for (auto _ : state) {
    const long before = benchmem::MinorFaults();
    const int fd = open(g_setup->bookPath.c_str(), O_RDONLY);
    if (fd < 0) std::abort();
    std::unique_ptr<char[]> buffer(new char[g_setup->bytes]);
    size_t done = 0;
    while (done < g_setup->bytes) {
      const ssize_t n = read(fd, buffer.get() + done, g_setup->bytes - done);
      if (n <= 0) std::abort();
      done += static_cast<size_t>(n);
    }
    close(fd);
    benchmark::DoNotOptimize(buffer[done - 1]);
    if (over) previous = std::move(buffer);
    faults += benchmem::MinorFaults() - before;
    if (over) continue;
    state.PauseTiming();
    buffer.reset();
    benchmem::ReturnFreedMemory();  // the buffer may come from the heap the window's book left
    state.ResumeTiming();
  }
  state.counters["minflt"] =
      benchmark::Counter(static_cast<double>(faults), benchmark::Counter::kAvgIterations);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * g_setup->bytes));
}
BENCHMARK(BM_ReadPlain)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  Setup setup;
  // The main window's settings file is in the current directory; the book lies beside it.
  QDir::setCurrent(setup.dir.path());
  setup.bookPath = QDir(setup.dir.path()).filePath(QStringLiteral("book.vkd")).toStdString();
  benchbook::Write(*benchbook::Make(), setup.bookPath);
  setup.bytes = std::filesystem::file_size(setup.bookPath);
  RegisterVokariResources();
  int qtArgc = 1;
  QApplication app(qtArgc, argv);
  SetUpApplication(app);
  QtBackend backend;
  AfxSetBackend(&backend);
  BenchApp winApp;
  CDictionaryDlg dlg;
  dlg.Create();
  dynamic_cast<QtPeer*>(dlg.Peer())->Dialog()->show();
  QApplication::processEvents();
  setup.dlg = &dlg;
  g_setup = &setup;
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  g_setup = nullptr;
  return 0;
}
