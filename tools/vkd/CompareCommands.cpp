// diff and merge: two books compared entry by entry, and two changed copies of one book merged
// over their common version. Each book is read once for the digests of its entries, and again
// only for the entries printed or written, one at a time.
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "Archive.h"
#include "BookIndex.h"
#include "BookMerge.h"
#include "Commands.h"
#include "Damage.h"
#include "Escape.h"
#include "Files.h"
#include "MemFile.h"
#include "Messages.h"
#include "Streams.h"
#include "Tsv.h"

namespace vkd {
namespace {

// A book named on the command line, indexed, with the file it is read from again.
struct Input {
  std::string arg;
  std::unique_ptr<CFile> file;
  BookIndex index;
};

// Reads a whole file into memory, for an input that the output is about to replace.
std::unique_ptr<CFile> ReadIntoMemory(const CString& path, int& error) {
  CFile disk;
  if (!disk.Open(path, CFile::modeRead)) return error = disk.LastError(), nullptr;
  std::string bytes;
  if (const auto size = disk.GetLength()) bytes.reserve(*size);
  char buffer[64 * 1024];
  try {
    for (UINT n; (n = disk.Read(buffer, sizeof buffer)) > 0;) bytes.append(buffer, n);
  } catch (const CFileException& e) {
    return error = e.m_lOsError, nullptr;
  }
  disk.Close();
  auto memory = std::make_unique<CMemFile>();
  memory->Assign(std::move(bytes));
  return memory;
}

// Indexes arg; false once the trouble is told.
bool OpenInput(const Context& c, const std::string& arg, bool intoMemory, Input& in) {
  in.arg = arg;
  const auto path = DictPath(arg);
  if (!path) return c.Error(PathRefusal(arg)), false;
  DictIoResult r;
  if (intoMemory) {
    in.file = ReadIntoMemory(*path, r.osError);
    if (in.file)
      r = IndexOpenDictionary(*in.file, in.index);
    else
      r.kind = DictIoResult::CannotOpen;
  } else {
    in.file = std::make_unique<CFile>();
    r = IndexDictionaryFile(*in.file, *path, in.index);
  }
  if (r.kind == DictIoResult::CannotOpen)
    return c.Error(Fmt(Tr("cannot open %s: %s"), {arg, std::strerror(r.osError)})), false;
  if (r.kind == DictIoResult::OutOfMemory)
    return c.Error(Fmt(Tr("%s: not enough memory to read it"), {arg})), false;
  if (!r.ok()) return c.Error(arg + ": " + DescribeDamage(r.damage)), false;
  return true;
}

bool Fetch(const Context& c, Input& in, int i, CString& word, CString& meaning) {
  if (FetchEntry(*in.file, in.index, i, word, meaning)) return true;
  c.Error(Fmt(Tr("%s changed while it was read"), {in.arg}));
  return false;
}

// One line of a diff: an entry of the first book (' ' or '-') or of the second ('+'), with the
// positions it stands at in both.
struct Line {
  char mark;
  int a, b;
};

std::vector<Line> Lines(const std::vector<DiffRun>& runs) {
  std::vector<Line> lines;
  for (const DiffRun& r : runs)
    for (int i = 0; i < r.count; ++i) {
      if (r.kind == DiffRun::Same) lines.push_back({' ', r.a + i, r.b + i});
      if (r.kind == DiffRun::Removed) lines.push_back({'-', r.a + i, r.b});
      if (r.kind == DiffRun::Added) lines.push_back({'+', r.a, r.b + i});
    }
  return lines;
}

// "-U N": the context lines around each change.
bool ContextLines(const Context& c, const Options& o, size_t& context) {
  context = 3;
  const std::string* value = o.Value("-U");
  if (!value) return true;
  if (value->empty() || value->find_first_not_of("0123456789") != std::string::npos ||
      value->size() > 6)
    return c.Error(Fmt(Tr("-U takes a number of lines, not %s"), {*value})), false;
  context = std::stoul(*value);
  return true;
}

class DiffPrinter {
 public:
  DiffPrinter(const Context& c, Input& a, Input& b, Output& out)
      : m_c(c), m_a(a), m_b(b), m_out(out), m_writer(MakeTsvWriter(Encoding::Utf8, out)) {}

  void Headers() { m_out.Append("--- " + m_a.arg + "\n+++ " + m_b.arg + "\n"); }

  void Name() {
    m_out.Append("@@ name @@\n");
    for (const auto& [mark, name] : {std::pair{'-', &m_a.index.name}, {'+', &m_b.index.name}}) {
      std::string& b = m_out.Buffer();
      b += mark;
      AppendText(name->Bytes());
      b += '\n';
      m_out.Written();
    }
  }

  // The lines [lo, hi) as one hunk.
  bool Hunk(const std::vector<Line>& lines, size_t lo, size_t hi) {
    int aLines = 0, bLines = 0;
    for (size_t i = lo; i < hi; ++i) {
      aLines += lines[i].mark != '+';
      bLines += lines[i].mark != '-';
    }
    // Entries are numbered from 0, as everywhere in vkd.
    auto range = [](int start, int n) { return std::to_string(start) + "," + std::to_string(n); };
    m_out.Append("@@ -" + range(lines[lo].a, aLines) + " +" + range(lines[lo].b, bLines) + " @@\n");
    for (size_t i = lo; i < hi; ++i) {
      const Line& l = lines[i];
      Input& from = l.mark == '+' ? m_b : m_a;
      if (!Fetch(m_c, from, l.mark == '+' ? l.b : l.a, m_word, m_meaning)) return false;
      m_utf8Word.clear();
      m_utf8Meaning.clear();
      AppendUtf8Lossy(m_utf8Word, m_word.Bytes());
      AppendUtf8Lossy(m_utf8Meaning, m_meaning.Bytes());
      m_out.Buffer() += l.mark;
      m_writer->Entry(0, m_utf8Word, m_utf8Meaning);
    }
    return true;
  }

 private:
  // A name in the TSV form of a field.
  void AppendText(std::string_view cp932) {
    static constexpr SpecialBytes kSpecial = [] {
      SpecialBytes s{};
      s['\\'] = s['\t'] = s['\r'] = s['\n'] = true;
      return s;
    }();
    std::string utf8;
    AppendUtf8Lossy(utf8, cp932);
    AppendEscaped(m_out.Buffer(), utf8, Encoding::Utf8, kSpecial, [](char ch, std::string& s) {
      s += ch == '\\' ? "\\\\" : ch == '\t' ? "\\t" : ch == '\r' ? "\\r" : "\\n";
    });
  }

  const Context& m_c;
  Input& m_a;
  Input& m_b;
  Output& m_out;
  std::unique_ptr<RecordWriter> m_writer;
  CString m_word, m_meaning;
  std::string m_utf8Word, m_utf8Meaning;
};

// Prints the hunks of lines, each change with context lines around it; changes closer than
// twice the context share a hunk.
bool PrintHunks(DiffPrinter& printer, const std::vector<Line>& lines, size_t context) {
  size_t done = 0;
  for (size_t i = 0; i < lines.size();) {
    if (lines[i].mark == ' ') {
      ++i;
      continue;
    }
    size_t last = i, j = i + 1;
    for (; j < lines.size() && (lines[j].mark != ' ' || j - last <= 2 * context); ++j)
      if (lines[j].mark != ' ') last = j;
    const size_t lo = std::max(done, i >= context ? i - context : 0);
    const size_t hi = std::min(lines.size(), last + context + 1);
    if (!printer.Hunk(lines, lo, hi)) return false;
    done = i = hi;
  }
  return true;
}

// Whether arg names the same file as d, an existing regular output.
bool SameFile(const std::string& arg, const Destination& d) {
  struct stat in {
  }, out{};
  return d.kind == Destination::Replace && d.exists && stat(arg.c_str(), &in) == 0 &&
         stat(d.arg.c_str(), &out) == 0 && in.st_dev == out.st_dev && in.st_ino == out.st_ino;
}

void WriteCount(CArchive& ar, int count) {
  const auto n = static_cast<std::uint32_t>(count);
  const unsigned char bytes[4] = {static_cast<unsigned char>(n), static_cast<unsigned char>(n >> 8),
                                  static_cast<unsigned char>(n >> 16),
                                  static_cast<unsigned char>(n >> 24)};
  ar.Write(bytes, 4);
}

}  // namespace

int Diff(const Context& c, const Options& o) {
  if (o.positional.size() != 2) return c.Error(Tr("diff takes two FILEs (see vkd diff --help)"));
  size_t context;
  if (!ContextLines(c, o, context)) return kTrouble;
  Input a, b;
  if (!OpenInput(c, o.positional[0], false, a) || !OpenInput(c, o.positional[1], false, b))
    return kTrouble;
  const std::vector<Line> lines =
      Lines(DiffEntries(a.index.digest.entries, b.index.digest.entries));
  int added = 0, removed = 0;
  for (const Line& l : lines) {
    added += l.mark == '+';
    removed += l.mark == '-';
  }
  const bool nameChanged = a.index.digest.name != b.index.digest.name;
  if (!added && !removed && !nameChanged) return kOk;
  if (o.Flag("--stat")) {
    c.out << Fmt(nameChanged ? Tr("%s added, %s removed, name changed")
                             : Tr("%s added, %s removed"),
                 {std::to_string(added), std::to_string(removed)})
          << "\n";
    return kDiffers;
  }
  std::string error;
  const auto destination = ResolveOutput("-", error);
  auto file = OpenOutput(c, *destination, error);
  if (!file) return c.Error(error);
  Output out(*file);
  DiffPrinter printer(c, a, b, out);
  try {
    printer.Headers();
    if (nameChanged) printer.Name();
    if (!PrintHunks(printer, lines, context)) return kTrouble;
    out.Flush();
  } catch (const CFileException& e) {
    return c.Error(e.what());
  }
  return kDiffers;
}

int Merge(const Context& c, const Options& o) {
  const std::string* outArg = o.Value("-o");
  if (o.positional.size() != 3 || !outArg)
    return c.Error(Tr("merge takes BASE OURS THEIRS -o OUT (see vkd merge --help)"));
  std::string error;
  const auto destination = ResolveOutput(*outArg, error);
  if (!destination) return c.Error(error);
  Input base, ours, theirs;
  Input* inputs[] = {&base, &ours, &theirs};
  for (int i = 0; i < 3; ++i)
    if (!OpenInput(c, o.positional[i], SameFile(o.positional[i], *destination), *inputs[i]))
      return kTrouble;
  const MergePlan plan = MergeEntries(base.index.digest.entries, ours.index.digest.entries,
                                      theirs.index.digest.entries);
  const NameMerge name =
      MergeName(base.index.digest.name, ours.index.digest.name, theirs.index.digest.name);
  if (plan.count > CDictData::MAX_WORDS)
    return c.Error(Fmt(Tr("the merged book would hold %s entries, more than 1024; nothing written"),
                       {std::to_string(plan.count)}));
  auto file = OpenOutput(c, *destination, error);
  if (!file) return c.Error(error);
  try {
    CArchive ar(file.get(), CArchive::store, 64 * 1024);
    ar << (name.side == MergePiece::Ours ? ours : theirs).index.name;
    WriteCount(ar, plan.count);
    CString word, meaning;
    for (const MergePiece& p : plan.pieces)
      for (int i = 0; i < p.count; ++i) {
        if (!Fetch(c, p.side == MergePiece::Ours ? ours : theirs, p.first + i, word, meaning)) {
          file->Abort();
          return kTrouble;
        }
        ar << word << meaning;
      }
    ar.Close();
    file->Close();  // a regular file takes its new content only now
  } catch (const CFileException& e) {
    file->Abort();
    return c.Error(e.what());
  }
  const int conflicts = plan.conflicts + (name.conflict ? 1 : 0);
  if (!conflicts) return kOk;
  c.err << "vkd: "
        << Fmt(TrN("%s conflict; both sides' entries kept",
                   "%s conflicts; both sides' entries kept", conflicts),
               {std::to_string(conflicts)})
        << "\n";
  return kDiffers;
}

}  // namespace vkd
