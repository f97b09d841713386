// A full dictionary saved the way File ▸ Save saves it: SaveDictionary on the real main window
// (offscreen unless QT_QPA_PLATFORM says otherwise, its notice of the save answered at once), which
// writes the book to a new file, puts it in the old one's place, takes the save over and
// refills the word list; once with backups off and once with them on (the replaced version
// kept as a hard link under $XDG_DATA_HOME, which lies beside the book). Against it, a safe
// save of the same bytes done by hand: write a new file, fsync, rename it over the old name,
// fsync the folder. The window shows its first entry, as after a correction.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "BackupFolder.h"
#include "Backups.h"
#include "BenchBook.h"
#include "DictionaryDlg.h"
#include "QtBackend.h"
#include "ShownDialog.h"

namespace {

// The real backend, with every message box answered OK at once.
class AnsweringBackend : public QtBackend {
 public:
  int MessageBox(CWnd*, const CString&, const CString&, UINT) override { return IDOK; }
};

struct Setup {
  QTemporaryDir dir;
  std::string bookPath;   // the window's file
  std::string plainPath;  // the hand-made save's file
  std::string bytes;      // the window's file as it saves it
  CDictionaryDlg* dlg = nullptr;
};
Setup* g_setup = nullptr;

std::uint64_t InodeOf(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
}

bool g_notLinked = false;

// The window's save; with backups, checks that the replaced file was kept as a link to itself.
void WindowSave(bool backups) {
  CDictionaryDlg& dlg = *g_setup->dlg;
  dlg.m_bKeepBackups = backups ? 1 : 0;
  const std::uint64_t old = backups ? InodeOf(g_setup->bookPath) : 0;
  if (dlg.SaveDictionary(CString(g_setup->bookPath)) != 1) std::abort();
  if (!backups) return;
  const auto latest = LatestBackup(backupfolder::Root(), g_setup->bookPath);
  if (!latest || InodeOf(latest->path) != old) g_notLinked = true;
}

void WriteAll(int fd, const std::string& bytes) {
  for (size_t done = 0; done < bytes.size();) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n <= 0) std::abort();
    done += static_cast<size_t>(n);
  }
}

void PlainSafeSave() {
  const std::string temp = g_setup->plainPath + ".new";
  const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) std::abort();
  WriteAll(fd, g_setup->bytes);
  if (fsync(fd) != 0) std::abort();
  close(fd);
  if (rename(temp.c_str(), g_setup->plainPath.c_str()) != 0) std::abort();
  const int dir = open(g_setup->dir.path().toStdString().c_str(), O_RDONLY | O_DIRECTORY);
  if (dir < 0 || fsync(dir) != 0) std::abort();
  close(dir);
}

double ThreadCpuSeconds() {
  timespec ts{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

void CheckLinked(benchmark::State& state) {
  if (g_notLinked) state.SkipWithError("a backup was not a hard link to the replaced file");
}

void BM_SafeSavePlain(benchmark::State& state) {
  for (auto _ : state) PlainSafeSave();
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * g_setup->bytes.size()));
}
BENCHMARK(BM_SafeSavePlain)->Unit(benchmark::kMillisecond)->UseRealTime();

// Argument: backups off (0) or on (1).
void BM_WindowSave(benchmark::State& state) {
  for (auto _ : state) WindowSave(state.range(0) == 1);
  CheckLinked(state);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * g_setup->bytes.size()));
}
BENCHMARK(BM_WindowSave)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// The three saves in turn within each iteration, starting with another one each time, so that
// a machine busy with other work and the disk's own rhythm slow all of them alike. Reported as
// medians over the iterations, which a save that another program's burst slowed does not move:
// per save in milliseconds, wall time (*_ms) and the thread's processor time (*_cpu_ms); the
// window's saves against the hand-made one of the same iteration (off_*ratio, on_*ratio); and
// what backups add to a save (backup_cost, on against off of the same iteration, minus one).
struct Timed {
  double wall, cpu;
};

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

Timed TimeOne(void (*save)()) {
  const double cpu = ThreadCpuSeconds();
  const auto start = std::chrono::steady_clock::now();
  save();
  return {std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
          ThreadCpuSeconds() - cpu};
}

void BM_SaveAgainstPlain(benchmark::State& state) {
  void (*saves[3])() = {PlainSafeSave, [] { WindowSave(false); }, [] { WindowSave(true); }};
  std::vector<std::array<Timed, 3>> rounds;
  for (auto _ : state) {
    std::array<Timed, 3> round{};
    for (size_t k = 0; k < 3; ++k) {
      const size_t side = (rounds.size() + k) % 3;
      round[side] = TimeOne(saves[side]);
    }
    rounds.push_back(round);
  }
  CheckLinked(state);
  const auto over = [&](auto of) {
    std::vector<double> values;
    for (const auto& r : rounds) values.push_back(of(r));
    return Median(std::move(values));
  };
  const char* names[3] = {"plain", "off", "on"};
  for (size_t i = 0; i < 3; ++i) {
    const std::string name = names[i];
    state.counters[name + "_ms"] = over([i](const auto& r) { return r[i].wall * 1000; });
    state.counters[name + "_cpu_ms"] = over([i](const auto& r) { return r[i].cpu * 1000; });
    if (i == 0) continue;
    state.counters[name + "_ratio"] = over([i](const auto& r) { return r[i].wall / r[0].wall; });
    state.counters[name + "_cpu_ratio"] = over([i](const auto& r) { return r[i].cpu / r[0].cpu; });
  }
  state.counters["backup_cost"] = over([](const auto& r) { return r[2].wall / r[1].wall - 1; });
  state.counters["backup_cpu_cost"] = over([](const auto& r) { return r[2].cpu / r[1].cpu - 1; });
}
BENCHMARK(BM_SaveAgainstPlain)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(5);

// The window holds the full book as loaded from its file, its first entry shown.
void PrepareWindow(Setup& setup, CDictionaryDlg& dlg) {
  benchbook::Write(*benchbook::Make(), setup.bookPath);
  if (dlg.LoadDictionary(CString(setup.bookPath)) != 1) std::abort();
  dlg.m_dict.m_strPath = CString(setup.bookPath);
  dlg.m_dict.m_nCurrent = 0;
  dlg.m_strShownWord = dlg.m_dict.m_strWord[0];
  dlg.m_strShownMeaning = dlg.m_dict.m_strMeaning[0];
  dlg.UpdateData(FALSE);
  std::ifstream in(setup.bookPath, std::ios::binary);
  setup.bytes.assign(std::istreambuf_iterator<char>(in), {});
  PlainSafeSave();
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  Setup setup;
  // The settings file and the backups lie beside the book, on its file system.
  QDir::setCurrent(setup.dir.path());
  const QDir dir(setup.dir.path());
  qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral("data")).toUtf8());
  setup.bookPath = dir.filePath(QStringLiteral("book.vkd")).toStdString();
  setup.plainPath = dir.filePath(QStringLiteral("plain.vkd")).toStdString();
  AnsweringBackend backend;
  ShownDialog shown(argv, backend);
  CDictionaryDlg& dlg = shown.Dialog();
  setup.dlg = &dlg;
  g_setup = &setup;
  PrepareWindow(setup, dlg);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  g_setup = nullptr;
  return 0;
}
