// show, check and search: each goes through a dictionary entry by entry and prints as it goes,
// so memory stays at one entry's worth whatever the file's size.
#include <fstream>
#include <ostream>

#include "Commands.h"
#include "Damage.h"
#include "Files.h"
#include "Messages.h"
#include "Streams.h"
#include "Text.h"
#include "TextSearch.h"

namespace vkd {
namespace {

// Prints to standard output through a large buffer. A write that fails stops the reading and
// is kept for the command to report.
class Printer : public DictEntryHandler {
 public:
  explicit Printer(const Context& c)
      : m_file(nullptr, &c.out, Tr("standard output")), m_out(m_file) {}

  // Writes out what is left; false (with the message kept) when writing failed.
  bool Finish() {
    if (m_error.empty()) Guard([&] { m_out.Flush(); });
    return m_error.empty();
  }
  const std::string& WriteError() const { return m_error; }
  // Forgets what was not yet written out.
  void Discard() { m_out.Buffer().clear(); }

 protected:
  template <typename F>
  bool Guard(F f) {
    return CatchWriteError(f, m_error);
  }
  std::string& Buffer() { return m_out.Buffer(); }
  void Written() { m_out.Written(); }

 private:
  StreamFile m_file;
  Output m_out;
  std::string m_error;
};

// Ends a command that read with a Printer: damage, then a failed write, then success.
int Finish(const Context& c, const std::string& arg, const DictIoResult& r, Printer& p,
           int status = kOk) {
  const bool written = p.Finish();
  if (!r.ok()) return ReportDamage(c, arg, r.damage);
  if (!written) return c.Error(p.WriteError());
  return status;
}

class ShowPrinter : public Printer {
 public:
  using Printer::Printer;
  bool OnName(CString& name) override {
    return Guard([&] {
      Buffer() += Tr("Name: ");
      AppendUtf8Lossy(Buffer(), name.Bytes());
      Buffer() += '\n';
    });
  }
  bool OnCount(int count) override {
    return Guard([&] { Buffer() += Fmt(Tr("Entries: %s"), {std::to_string(count)}) + "\n"; });
  }
  bool OnEntry(int i, CString& word, CString& meaning) override {
    return Guard([&] {
      std::string& b = Buffer();
      b += std::to_string(i);
      b += '\t';
      AppendUtf8Lossy(b, word.Bytes());
      b += '\n';
      // The meaning one line per line, indented; a CR before a line's LF is the line end too.
      m_text.clear();
      AppendUtf8Lossy(m_text, meaning.Bytes());
      for (size_t pos = 0; pos <= m_text.size();) {
        size_t end = m_text.find('\n', pos);
        if (end == std::string::npos) end = m_text.size();
        const size_t stop = end > pos && m_text[end - 1] == '\r' ? end - 1 : end;
        b += '\t';
        b.append(m_text, pos, stop - pos);
        b += '\n';
        pos = end + 1;
      }
      Written();
    });
  }

 private:
  std::string m_text;
};

class SearchPrinter : public Printer {
 public:
  SearchPrinter(const Context& c, const CString& text, SearchOptions options)
      : Printer(c), m_search(text, options), m_meanings(options.meanings) {}
  bool OnEntry(int i, CString& word, CString& meaning) override {
    if (!m_search.Finds(word, meaning)) return true;
    m_any = true;
    return Guard([&] {
      Buffer() += std::to_string(i) + "\t";
      AppendUtf8Lossy(Buffer(), word.Bytes());
      Buffer() += '\n';
      Written();
    });
  }
  bool Any() const { return m_any; }
  bool KeepsMeanings() const override { return m_meanings; }

 private:
  CTextSearch m_search;
  bool m_meanings;
  bool m_any = false;
};

// Whether the regular file arg begins as text does: no NUL and no control character but tabs
// and line ends. A dictionary never does, as its entry count holds zero bytes.
bool LooksLikeText(const std::string& arg) {
  if (arg == "-") return false;
  std::ifstream in(arg, std::ios::binary);
  char block[512];
  in.read(block, sizeof block);
  const std::streamsize n = in.gcount();
  if (n <= 0) return false;
  for (std::streamsize i = 0; i < n; ++i) {
    const auto b = static_cast<unsigned char>(block[i]);
    if ((b < 0x20 && b != '\t' && b != '\n' && b != '\r') || b == 0x7F) return false;
  }
  return true;
}

// A text file given where a dictionary belongs: likely what import turns into one.
int NotADictionary(const Context& c, const std::string& arg) {
  return c.Error(Fmt(Tr("%s is text, not a dictionary; to make a dictionary of it: %s"),
                     {arg, "vkd import " + arg + " --name NAME -o FILE.vkd"}));
}

}  // namespace

int Show(const Context& c, const Options& o) {
  if (o.positional.size() != 1) return c.Error(Tr("show takes one FILE (see vkd show --help)"));
  const std::string& arg = o.positional[0];
  ShowPrinter printer(c);
  const auto r = ReadEntries(c, arg, printer);
  if (!r) return kTrouble;
  // A file refused already in its name or count has printed nothing yet.
  if (!r->ok() && r->damage.entry < 0 && LooksLikeText(arg)) {
    printer.Discard();
    return NotADictionary(c, arg);
  }
  return Finish(c, arg, *r, printer);
}

int Search(const Context& c, const Options& o) {
  if (o.positional.size() != 2)
    return c.Error(Tr("search takes FILE and TEXT (see vkd search --help)"));
  CString text;
  if (!CString::FromUtf8(o.positional[1], text))
    return c.Error(Tr("TEXT cannot be written in code page 932"));
  SearchOptions options;
  options.fold = o.Flag("--fold");
  options.meanings = o.Flag("--meanings");
  SearchPrinter printer(c, text, options);
  const auto r = ReadEntries(c, o.positional[0], printer);
  if (!r) return kTrouble;
  return Finish(c, o.positional[0], *r, printer, printer.Any() ? kOk : kNoMatch);
}

int Check(const Context& c, const Options& o) {
  if (o.positional.size() != 1) return c.Error(Tr("check takes one FILE (see vkd check --help)"));
  const std::string& arg = o.positional[0];
  DictEntryCounter counter;
  std::uint64_t size = 0;
  const auto r = ReadEntries(c, arg, counter, &size);
  if (!r) return kTrouble;
  if (!r->ok()) {
    c.out << arg << ": " << DescribeDamage(r->damage) << "\n";
    return kDamaged;
  }
  c.out << arg << ": "
        << Fmt(TrN("sound, %s entry", "sound, %s entries",
                   static_cast<unsigned long>(counter.Count())),
               {std::to_string(counter.Count())});
  if (size > r->end) {
    c.out << Fmt(Tr("; %s bytes after the last meaning at offset %s are ignored"),
                 {std::to_string(size - r->end), std::to_string(r->end)});
  }
  c.out << "\n";
  return kOk;
}

}  // namespace vkd
