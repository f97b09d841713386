// A full word book (1024 entries with 64 KiB meanings, about 64 MiB) read and written through
// CFile, CArchive and the dictionary reader and writer, each next to the same bytes moved with
// plain read() and write()+fsync(). Files live in $TMPDIR (or /tmp). The window's whole load,
// with its settings write, is measured in bench/qt (LoadBench).
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "BenchBook.h"
#include "DictIo.h"
#include "File.h"
#include "Memory.h"

namespace {

// The benchmark's files: a dictionary written once through the writer, and its bytes.
struct Fixture {
  std::filesystem::path dir;
  std::string bookPath;
  std::string bytes;
  std::unique_ptr<CDictData> book = benchbook::Make();

  Fixture() {
    const char* tmp = std::getenv("TMPDIR");
    std::string templ = std::string(tmp ? tmp : "/tmp") + "/vokari-bench-XXXXXX";
    if (!mkdtemp(templ.data())) std::abort();
    dir = templ;
    bookPath = (dir / "book.vkd").string();
    Save(bookPath);
    CFile file;
    if (!file.Open(CString(bookPath), CFile::modeRead)) std::abort();
    bytes.resize(std::filesystem::file_size(bookPath));
    file.Read(bytes.data(), static_cast<UINT>(bytes.size()));
  }
  ~Fixture() { std::filesystem::remove_all(dir); }

  void Save(const std::string& path) const { benchbook::Write(*book, path); }
};

Fixture& Files() {
  static Fixture fixture;
  return fixture;
}

// Each iteration reads into memory new to the process on both sides: the plain buffer is
// mapped afresh, and the word book's freed heap is given back to the system before the next
// read. The "minflt" counter shows the page faults that costs, per read. Argument 0 leaves the
// giving back out of the timing, 1 times it too (2048 frees and a trim against one unmap).
template <class ReadOnce>
void TimeReads(benchmark::State& state, size_t bytes, ReadOnce readOnce) {
  long faults = 0;
  for (auto _ : state) {
    const long before = benchmem::MinorFaults();
    auto memory = readOnce();
    faults += benchmem::MinorFaults() - before;
    if (state.range(0) == 0) state.PauseTiming();
    memory.reset();
    benchmem::ReturnFreedMemory();
    if (state.range(0) == 0) state.ResumeTiming();
  }
  state.counters["minflt"] =
      benchmark::Counter(static_cast<double>(faults), benchmark::Counter::kAvgIterations);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}

void ReadDictionaryFile(benchmark::State& state) {
  Fixture& f = Files();
  TimeReads(state, f.bytes.size(), [&f] {
    CFile file;
    auto book = std::make_unique<CDictData>();
    const bool ok = ReadDictionaryFile(file, CString(f.bookPath), *book, CFile::modeReadWrite).ok();
    if (!ok || book->m_nCount != CDictData::MAX_WORDS) std::abort();
    benchmark::DoNotOptimize(book->m_strMeaning[1023].GetLength());
    return book;
  });
}

void ReadPlain(benchmark::State& state) {
  Fixture& f = Files();
  TimeReads(state, f.bytes.size(), [&f] {
    const int fd = open(f.bookPath.c_str(), O_RDONLY);
    if (fd < 0) std::abort();
    std::unique_ptr<char[]> buffer(new char[f.bytes.size()]);
    size_t done = 0;
    while (done < f.bytes.size()) {
      const ssize_t n = read(fd, buffer.get() + done, f.bytes.size() - done);
      if (n <= 0) std::abort();
      done += static_cast<size_t>(n);
    }
    close(fd);
    benchmark::DoNotOptimize(buffer[done - 1]);
    return buffer;
  });
}

void WriteDictionaryFile(benchmark::State& state) {
  Fixture& f = Files();
  const std::string path = (f.dir / "written.vkd").string();
  for (auto _ : state) f.Save(path);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * f.bytes.size()));
}

void WritePlain(benchmark::State& state) {
  Fixture& f = Files();
  const std::string path = (f.dir / "plain.vkd").string();
  for (auto _ : state) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) std::abort();
    size_t done = 0;
    while (done < f.bytes.size()) {
      const ssize_t n = write(fd, f.bytes.data() + done, f.bytes.size() - done);
      if (n <= 0) std::abort();
      done += static_cast<size_t>(n);
    }
    if (fsync(fd) != 0) std::abort();
    close(fd);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * f.bytes.size()));
}

BENCHMARK(ReadDictionaryFile)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ReadPlain)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(WriteDictionaryFile)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(WritePlain)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
