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
#include <chrono>
#include <ctime>
#include <filesystem>

#include "BenchBook.h"
#include "DictionaryDlg.h"
#include "Memory.h"
#include "QtBackend.h"
#include "ShownDialog.h"

namespace {

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

// The two sides of the comparison. Prepare runs outside the timing before each load.
struct WindowSide {
  bool over;
  void Prepare() {
    if (!over) EmptyWindow();
  }
  void Load() {
    if (g_setup->dlg->LoadDictionary(CString(g_setup->bookPath)) != 1) std::abort();
  }
};

struct PlainSide {
  bool over;
  std::unique_ptr<char[]> previous;
  void Prepare() {
    if (over) return;
    previous.reset();
    benchmem::ReturnFreedMemory();  // the buffer may come from the heap the window's book left
  }
  void Load() {
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
    previous = std::move(buffer);
    if (over) benchmem::ReturnFreedMemory();  // as the window gives back its old book
  }
};

void CheckLastPath(benchmark::State& state) {
  QFile ini(QDir(g_setup->dir.path()).filePath(QStringLiteral("Vokari.ini")));
  if (!ini.open(QIODevice::ReadOnly) || !ini.readAll().contains("LastPath="))
    state.SkipWithError("the load wrote no LastPath");
}

template <class Side>
void TimeLoads(benchmark::State& state, Side side) {
  if (side.over) side.Load();  // something to load over
  long faults = 0;
  for (auto _ : state) {
    state.PauseTiming();
    side.Prepare();
    state.ResumeTiming();
    const long before = benchmem::MinorFaults();
    side.Load();
    faults += benchmem::MinorFaults() - before;
  }
  state.counters["minflt"] =
      benchmark::Counter(static_cast<double>(faults), benchmark::Counter::kAvgIterations);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * g_setup->bytes));
}

void BM_WindowLoad(benchmark::State& state) {
  TimeLoads(state, WindowSide{state.range(0) == 1});
  CheckLastPath(state);
}
BENCHMARK(BM_WindowLoad)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReadPlain(benchmark::State& state) {
  TimeLoads(state, PlainSide{state.range(0) == 1, nullptr});
}
BENCHMARK(BM_ReadPlain)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// Both sides in turn within each iteration, so that a machine busy with other work slows both
// alike. "ratio" compares the wall-clock times (the settings write waits for the disk),
// "cpu_ratio" the processor times of the thread.
void BM_LoadAgainstPlain(benchmark::State& state) {
  const bool over = state.range(0) == 1;
  WindowSide window{over};
  PlainSide plain{over, nullptr};
  if (over) {
    window.Load();
    plain.Load();
  }
  double wall[2] = {}, cpu[2] = {};
  const auto timed = [&](int side, auto load) {
    const auto start = std::chrono::steady_clock::now();
    const std::clock_t cpuStart = std::clock();
    load();
    cpu[side] += static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    wall[side] += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  };
  for (auto _ : state) {
    window.Prepare();
    timed(0, [&] { window.Load(); });
    plain.Prepare();
    timed(1, [&] { plain.Load(); });
  }
  CheckLastPath(state);
  const auto perIteration = benchmark::Counter::kAvgIterations;
  state.counters["window_ms"] = benchmark::Counter(wall[0] * 1000, perIteration);
  state.counters["plain_ms"] = benchmark::Counter(wall[1] * 1000, perIteration);
  state.counters["ratio"] = wall[0] / wall[1];
  state.counters["cpu_ratio"] = cpu[0] / cpu[1];
}
BENCHMARK(BM_LoadAgainstPlain)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  Setup setup;
  // The main window's settings file is in the current directory; the book lies beside it.
  QDir::setCurrent(setup.dir.path());
  setup.bookPath = QDir(setup.dir.path()).filePath(QStringLiteral("book.vkd")).toStdString();
  benchbook::Write(*benchbook::Make(), setup.bookPath);
  setup.bytes = std::filesystem::file_size(setup.bookPath);
  QtBackend backend;
  ShownDialog shown(argv, backend);
  CDictionaryDlg& dlg = shown.Dialog();
  setup.dlg = &dlg;
  g_setup = &setup;
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  g_setup = nullptr;
  return 0;
}
