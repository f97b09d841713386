// A full word book (1024 entries with 64 KiB meanings, about 64 MiB) read and written through
// CFile, CArchive and the dictionary reader and writer, each next to the same bytes moved with
// plain read() and write()+fsync(). Files live in $TMPDIR (or /tmp).
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "DictIo.h"
#include "File.h"

namespace {

constexpr size_t kMeaningSize = 64 * 1024;

std::unique_ptr<CDictData> MakeBook() {
  auto book = std::make_unique<CDictData>();
  book->m_strName = "bench";
  book->m_nCount = CDictData::MAX_WORDS;
  for (int i = 0; i < CDictData::MAX_WORDS; ++i) {
    book->m_strWord[i] = CString("word" + std::to_string(i));
    std::string meaning(kMeaningSize, 'a');
    for (size_t j = 0; j < meaning.size(); j += 61) meaning[j] = static_cast<char>('a' + i % 26);
    book->m_strMeaning[i] = CString(std::move(meaning));
  }
  return book;
}

// The benchmark's files: a dictionary written once through the writer, and its bytes.
struct Fixture {
  std::filesystem::path dir;
  std::string bookPath;
  std::string bytes;
  std::unique_ptr<CDictData> book = MakeBook();

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

  void Save(const std::string& path) const {
    CFile file;
    if (!WriteDictionaryFile(file, CString(path), *book).ok()) std::abort();
  }
};

Fixture& Files() {
  static Fixture fixture;
  return fixture;
}

void ReadDictionaryFile(benchmark::State& state) {
  Fixture& f = Files();
  for (auto _ : state) {
    CFile file;
    auto book = std::make_unique<CDictData>();
    const bool ok = ReadDictionaryFile(file, CString(f.bookPath), *book, CFile::modeReadWrite).ok();
    if (!ok || book->m_nCount != CDictData::MAX_WORDS) std::abort();
    benchmark::DoNotOptimize(book->m_strMeaning[1023].GetLength());
    // Giving the memory back is not reading, and costs the two sides very differently
    // (2048 frees against one unmap): with argument 0 both leave it out, with 1 both count it.
    if (state.range(0) == 0) state.PauseTiming();
    book.reset();
    if (state.range(0) == 0) state.ResumeTiming();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * f.bytes.size()));
}

void ReadPlain(benchmark::State& state) {
  Fixture& f = Files();
  for (auto _ : state) {
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
    if (state.range(0) == 0) state.PauseTiming();
    buffer.reset();
    if (state.range(0) == 0) state.ResumeTiming();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * f.bytes.size()));
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
