// Start-up as whole processes, each iteration one run from exec to exit:
//   bare/paint           the bare dialog (BareDialog.cpp), ending at its first paint
//   bare+read/ready      the bare dialog, then a read() of the 64 MiB dictionary file
//   vokari/paint/none    the program with no settings file, ending at its first paint
//   vokari/paint/64MiB   the program with a 64 MiB dictionary remembered in Vokari.ini
//   vokari/ready/64MiB   the same, ending once that dictionary is open and searchable
// The program is vokari_at_start (StartupProbe.cpp): the shipped program with ExitAtStart added.
// --other=PATH adds the same three runs of another build of vokari_at_start (an older tree,
// say), so that both are measured against the same baseline in one run.
// Runs on whatever display the environment names: under Xvfb with
//   xvfb-run -a -s "-screen 0 1280x1024x24" vokari_bench_startup
// or with QT_QPA_PLATFORM=offscreen.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "BenchBook.h"

namespace {

constexpr int kExitedAtStart = 42;  // as ExitAtStart.h

struct Dirs {
  std::filesystem::path root, none, remembered, book;
  Dirs() {
    const char* tmp = std::getenv("TMPDIR");
    std::string templ = std::string(tmp ? tmp : "/tmp") + "/vokari-startup-XXXXXX";
    if (!mkdtemp(templ.data())) std::abort();
    root = templ;
    none = root / "none";
    remembered = root / "remembered";
    std::filesystem::create_directories(none);
    std::filesystem::create_directories(remembered);
    book = root / "big.vkd";
    benchbook::Write(*benchbook::Make("big"), book.string());
    std::ofstream(remembered / "Vokari.ini")
        << "[General]\nLastFileOpen=1\nIfAddSave=0\nLastPath=" << book.string() << "\n";
  }
  ~Dirs() { std::filesystem::remove_all(root); }
};

Dirs* g_dirs = nullptr;

// Runs argv in dir and waits for it; false unless it ended through ExitAtStart. cpuSeconds
// gets the processor time the run took, user and system.
bool RunOnce(const std::filesystem::path& dir, const std::vector<std::string>& args,
             double& cpuSeconds) {
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  const pid_t pid = fork();
  if (pid < 0) return false;
  if (pid == 0) {
    if (chdir(dir.c_str()) != 0) _exit(127);
    execv(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  if (wait4(pid, &status, 0, &usage) != pid) return false;
  cpuSeconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
               static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
  return WIFEXITED(status) && WEXITSTATUS(status) == kExitedAtStart;
}

void Start(benchmark::State& state, const std::filesystem::path* dir,
           std::vector<std::string> args) {
  double cpu = 0;
  for (auto _ : state) {
    double once = 0;
    if (!RunOnce(*dir, args, once)) {
      state.SkipWithError("the program did not end at its start");
      break;
    }
    cpu += once;
  }
  // The processor time of one run: steadier than the wall clock on a busy machine.
  state.counters["cpu_ms"] = benchmark::Counter(cpu * 1000, benchmark::Counter::kAvgIterations);
}

void Register(const std::string& name, const std::filesystem::path* dir,
              std::vector<std::string> args) {
  benchmark::RegisterBenchmark(name.c_str(), Start, dir, std::move(args))
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime()
      ->MinTime(2.0);
}

void RegisterProgram(const std::string& name, const std::string& program) {
  Register(name + "/paint/none", &g_dirs->none, {program, "paint"});
  Register(name + "/paint/64MiB", &g_dirs->remembered, {program, "paint"});
  Register(name + "/ready/64MiB", &g_dirs->remembered, {program, "ready"});
}

}  // namespace

int main(int argc, char** argv) {
  std::string other;
  std::vector<char*> args;
  for (int i = 0; i < argc; ++i) {
    if (std::strncmp(argv[i], "--other=", 8) == 0)
      other = argv[i] + 8;
    else
      args.push_back(argv[i]);
  }
  Dirs dirs;
  g_dirs = &dirs;
  Register("bare/paint", &dirs.none, {BARE_DIALOG, "paint"});
  Register("bare+read/ready", &dirs.none, {BARE_DIALOG, "ready", dirs.book.string()});
  RegisterProgram("vokari", VOKARI_AT_START);
  if (!other.empty()) RegisterProgram("other", other);
  int benchArgc = static_cast<int>(args.size());
  benchmark::Initialize(&benchArgc, args.data());
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  g_dirs = nullptr;
  return 0;
}
