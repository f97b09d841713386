// A search in the main window as the user sees it: the window on screen, a search text typed,
// and an entry with a 64 KiB meaning shown in the panes. The program's refresh
// (RefreshWordList: data exchange, the framework's list box, the peer) fills the word list with
// all 1024 words; the bare fill does what a plain Qt program would do with the same words in
// code page 932: take the search text from the box, match each word and convert the matching
// ones to UTF-16 for the same QListWidget. Argument 0 times the fill alone (the repaint runs
// outside the timing), 1 times the fill and the repaint that follows it. BM_RefreshAgainstBare
// runs both in turn for a ratio that a busy machine disturbs less.
// Runs offscreen unless QT_QPA_PLATFORM says otherwise.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <ctime>
#include <utility>

#include "DictionaryDlg.h"
#include "QtBackend.h"
#include "QtMain.h"
#include "QtPeer.h"
#include "QtText.h"
#include "VokariResources.h"
#include "WinApp.h"

namespace {

class BenchApp : public CWinApp {};

constexpr int kMeaningBytes = 64 * 1024;

// Lines of Japanese text with CR LF breaks, exactly bytes long.
CString LongMeaning(int bytes) {
  std::string text;
  for (int line = 0; text.size() < static_cast<size_t>(bytes); ++line) {
    CString one;
    one.Format(U8(u8"%d行目：ねこ、いぬ、とり、さかな。English text too.\r\n"), line);
    text += one.Bytes();
  }
  text.resize(static_cast<size_t>(bytes));
  return CString(std::move(text));
}

// The real main window on screen, with a full word book, the search text 番目 (which every
// word contains) and the first entry, with its long meaning, selected and shown.
struct MainWindow {
  CDictionaryDlg dlg;
  QtPeer* peer = nullptr;

  MainWindow() {
    dlg.Create();
    peer = dynamic_cast<QtPeer*>(dlg.Peer());
    dlg.m_dict.m_strName = CString("bench");
    for (int i = 0; i < CDictData::MAX_WORDS; ++i) {
      dlg.m_dict.m_strWord[i].Format(U8(u8"単語%d番目のことば"), i);
      dlg.m_dict.m_strMeaning[i].Format(U8(u8"%d番目の意味"), i);
    }
    dlg.m_dict.m_strMeaning[0] = LongMeaning(kMeaningBytes);
    dlg.m_dict.m_nCount = CDictData::MAX_WORDS;
    peer->Dialog()->show();
    Settle();
    ComboBox()->lineEdit()->setText(qttext::FromU8(u8"番目"));
    dlg.RefreshWordList();
    List()->setCurrentRow(0);  // as a click: the program shows the entry
    Settle();
  }
  static void Settle() {
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
  }
  QListWidget* List() const { return qobject_cast<QListWidget*>(peer->Control(IDC_WORD_LIST)); }
  QComboBox* ComboBox() const { return qobject_cast<QComboBox*>(peer->Control(IDC_SEARCH_TEXT)); }
  bool MeaningShown() const {
    auto* edit = qobject_cast<QPlainTextEdit*>(peer->Control(IDC_SHOWN_MEANING));
    return edit->document()->characterCount() > kMeaningBytes / 2;
  }
};

MainWindow* g_window = nullptr;

// Repaints inside or outside the timing, as the argument asks.
void Repaint(benchmark::State& state) {
  if (state.range(0) == 0) state.PauseTiming();
  MainWindow::Settle();
  if (state.range(0) == 0) state.ResumeTiming();
}

void Check(benchmark::State& state) {
  if (g_window->List()->count() != CDictData::MAX_WORDS || !g_window->MeaningShown())
    state.SkipWithError("list not filled or meaning not shown");
}

void ProgramFill() {
  g_window->dlg.RefreshWordList();
  benchmark::DoNotOptimize(g_window->List()->count());
}

void BareFill() {
  QListWidget* list = g_window->List();
  const CDictData& book = g_window->dlg.m_dict;
  list->clear();
  const CString search = qttext::ToCp932(g_window->ComboBox()->currentText()).value_or(CString());
  for (int i = 0; i < book.m_nCount; ++i) {
    if (book.m_strWord[i].Find(search, 0) >= 0) list->addItem(qttext::FromCp932(book.m_strWord[i]));
  }
  benchmark::DoNotOptimize(list->count());
}

void BM_RefreshWordList(benchmark::State& state) {
  for (auto _ : state) {
    ProgramFill();
    Repaint(state);
  }
  Check(state);
}
BENCHMARK(BM_RefreshWordList)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_BareFill(benchmark::State& state) {
  for (auto _ : state) {
    BareFill();
    Repaint(state);
  }
  Check(state);
}
BENCHMARK(BM_BareFill)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// Processor time of this thread, in microseconds.
double ThreadMicros() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e6 + static_cast<double>(t.tv_nsec) / 1e3;
}

// Both fills in turn within each iteration, each on the thread's processor clock, so that a
// machine busy with other work slows both alike; "ratio" is the refresh's time over the bare
// fill's. The argument says whether the repaint counts, as above.
void BM_RefreshAgainstBare(benchmark::State& state) {
  double program = 0, bare = 0;
  for (auto _ : state) {
    for (auto [fill, total] : {std::pair{&ProgramFill, &program}, std::pair{&BareFill, &bare}}) {
      const double start = ThreadMicros();
      fill();
      if (state.range(0) == 1) MainWindow::Settle();
      *total += ThreadMicros() - start;
      if (state.range(0) == 0) MainWindow::Settle();
    }
  }
  Check(state);
  const auto perIteration = benchmark::Counter::kAvgIterations;
  state.counters["program_us"] = benchmark::Counter(program, perIteration);
  state.counters["bare_us"] = benchmark::Counter(bare, perIteration);
  state.counters["ratio"] = program / bare;
}
BENCHMARK(BM_RefreshAgainstBare)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

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
