// Searching a full word book (1024 entries with 64 KiB meanings, about 64 MiB) for a text that
// stands nowhere in it, words and meanings, against two baselines over the same bytes: a walk
// that steps character by character and compares each character with the search text's first
// (the least a search that never starts on a trail byte does), and memmem, which may start
// anywhere. Argument 0 is the usual bench book (ASCII meanings), 1 the same sizes in Japanese
// text. BM_AgainstWalk times the walk, the exact and the folded search in turn in each
// iteration on the thread's processor clock, for ratios that a busy machine disturbs less.
#include <benchmark/benchmark.h>
#include <string.h>

#include <ctime>
#include <memory>
#include <string>

#include "BenchBook.h"
#include "Cp932.h"
#include "Memory.h"
#include "TextSearch.h"

namespace {

// The usual bench book, or one of the same sizes whose meanings are Japanese text.
std::unique_ptr<CDictData> MakeBook(bool japanese) {
  auto book = benchbook::Make();
  if (!japanese) return book;
  const std::string line = U8(u8"ねこ、いぬ、とり、さかな。カタカナの単語とＡＢＣも。\r\n").Bytes();
  for (int i = 0; i < book->m_nCount; ++i) {
    std::string meaning;
    while (meaning.size() + line.size() <= benchbook::kMeaningSize) meaning += line;
    meaning.append(benchbook::kMeaningSize - meaning.size(), ' ');
    book->m_strMeaning[i] = CString(std::move(meaning));
  }
  return book;
}

const CDictData& Book(benchmark::State& state) {
  static const std::unique_ptr<CDictData> books[2] = {MakeBook(false), MakeBook(true)};
  return *books[state.range(0)];
}

// Stands nowhere in either book, folded or not.
const CString& Needle() {
  static const CString needle = U8(u8"ぞう");
  return needle;
}

size_t BookBytes(const CDictData& book) {
  size_t bytes = 0;
  for (int i = 0; i < book.m_nCount; ++i)
    bytes += static_cast<size_t>(book.m_strWord[i].GetLength() + book.m_strMeaning[i].GetLength());
  return bytes;
}

// The baseline: each character compared with the needle's first, nothing more.
size_t Walk(const std::string& text, const std::string& needle) {
  const auto* s = reinterpret_cast<const unsigned char*>(text.data());
  const auto first = static_cast<unsigned char>(needle[0]);
  const auto second = static_cast<unsigned char>(needle[1]);
  size_t candidates = 0;
  for (size_t i = 0, n = text.size(); i < n;) {
    const bool lead = cp932::IsLeadByte(s[i]);
    if (s[i] == first && (!lead || (i + 1 < n && s[i + 1] == second))) ++candidates;
    i += lead ? 2 : 1;
  }
  return candidates;
}

size_t WalkBook(const CDictData& book) {
  size_t candidates = 0;
  for (int i = 0; i < book.m_nCount; ++i) {
    candidates += Walk(book.m_strWord[i].Bytes(), Needle().Bytes());
    candidates += Walk(book.m_strMeaning[i].Bytes(), Needle().Bytes());
  }
  return candidates;
}

size_t MemmemBook(const CDictData& book) {
  size_t found = 0;
  const std::string& needle = Needle().Bytes();
  for (int i = 0; i < book.m_nCount; ++i) {
    for (const CString* s : {&book.m_strWord[i], &book.m_strMeaning[i]})
      found += memmem(s->GetString(), s->Bytes().size(), needle.data(), needle.size()) != nullptr;
  }
  return found;
}

size_t SearchBook(const CDictData& book, SearchOptions options) {
  const CTextSearch search(Needle(), options);
  size_t found = 0;
  for (int i = 0; i < book.m_nCount; ++i)
    found += search.Finds(book.m_strWord[i], book.m_strMeaning[i]);
  return found;
}

template <class Run>
void Time(benchmark::State& state, Run run) {
  const CDictData& book = Book(state);
  for (auto _ : state) benchmark::DoNotOptimize(run(book));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * BookBytes(book)));
}

void BM_Walk(benchmark::State& state) {
  Time(state, WalkBook);
}
void BM_Memmem(benchmark::State& state) {
  Time(state, MemmemBook);
}
void BM_Exact(benchmark::State& state) {
  Time(state, [](const CDictData& b) { return SearchBook(b, {.meanings = true}); });
}
// The peak resident size grows by nothing: the meanings are read where they lie.
void BM_Folded(benchmark::State& state) {
  benchmem::ResetPeak();
  const long before = benchmem::StatusKiB("VmHWM");
  Time(state, [](const CDictData& b) { return SearchBook(b, {.fold = true, .meanings = true}); });
  state.counters["peak_growth_KiB"] = static_cast<double>(benchmem::StatusKiB("VmHWM") - before);
}
void BM_FoldedWords(benchmark::State& state) {
  Time(state, [](const CDictData& b) { return SearchBook(b, {.fold = true}); });
}
BENCHMARK(BM_Walk)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Memmem)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Exact)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Folded)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FoldedWords)->Arg(0)->Unit(benchmark::kMicrosecond);

double ThreadMillis() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

void BM_AgainstWalk(benchmark::State& state) {
  const CDictData& book = Book(state);
  double walk = 0, exact = 0, folded = 0;
  for (auto _ : state) {
    double start = ThreadMillis();
    benchmark::DoNotOptimize(WalkBook(book));
    double end = ThreadMillis();
    walk += end - start;
    benchmark::DoNotOptimize(SearchBook(book, {.meanings = true}));
    start = ThreadMillis();
    exact += start - end;
    benchmark::DoNotOptimize(SearchBook(book, {.fold = true, .meanings = true}));
    folded += ThreadMillis() - start;
  }
  const auto perIteration = benchmark::Counter::kAvgIterations;
  state.counters["walk_ms"] = benchmark::Counter(walk, perIteration);
  state.counters["exact_ms"] = benchmark::Counter(exact, perIteration);
  state.counters["folded_ms"] = benchmark::Counter(folded, perIteration);
  state.counters["exact_ratio"] = exact / walk;
  state.counters["folded_ratio"] = folded / walk;
}
BENCHMARK(BM_AgainstWalk)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
