#include "Vkd.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <functional>
#include <iostream>
#include <iterator>
#include <map>
#include <memory>
#include <optional>

#include "DictFile.h"
#include "DictIo.h"
#include "File.h"
#include "Formats.h"
#include "NativePath.h"

#ifndef VKD_VERSION
#define VKD_VERSION "unknown"
#endif

namespace vkd {
namespace {

const char* const kUsage =
    "usage: vkd COMMAND [OPTIONS]\n"
    "\n"
    "Looks into, checks, searches and converts Vokari dictionary files (.vkd).\n"
    "\n"
    "commands:\n"
    "  show FILE      the name, the count and every entry\n"
    "  check FILE     whether the file is sound; if not, what is wrong and where\n"
    "  export FILE    the entries as TSV, CSV or JSON\n"
    "  import IN      a new dictionary from TSV, CSV or JSON\n"
    "  search FILE TEXT   the words that contain TEXT\n"
    "\n"
    "  vkd COMMAND --help   help for one command\n"
    "  vkd --version        the version\n"
    "\n"
    "Entries are numbered from 0, as the program numbers them.\n"
    "Exit status: 0 success; 1 a damaged file (check) or no match (search); 2 trouble.\n";

const std::map<std::string, std::string> kCommandHelp = {
    {"show",
     "usage: vkd show FILE\n"
     "Prints the dictionary's name and entry count, then each entry: its index and word, and\n"
     "its meaning indented below, one line per line of the meaning. Output is UTF-8.\n"},
    {"check",
     "usage: vkd check FILE\n"
     "Reads the whole file as the program would. A sound file gives exit status 0 and a line\n"
     "with its entry count (and a note when bytes follow the last meaning, which the program\n"
     "ignores). A damaged file gives exit status 1 and one line naming the field, the entry\n"
     "and the byte offset of the damage.\n"},
    {"export",
     "usage: vkd export FILE [--format tsv|csv|json] [--encoding utf-8|cp932] [-o OUT]\n"
     "Writes the entries to OUT (atomically) or to standard output.\n"
     "  tsv   one line per entry, word<TAB>meaning; \\\\, \\t, \\r and \\n escaped; LF line ends\n"
     "  csv   RFC 4180: word,meaning with CR LF line ends, quoted where needed; no header\n"
     "  json  {\"name\": ..., \"entries\": [{\"word\": ..., \"meaning\": ...}, ...]}\n"
     "The default is tsv in UTF-8.\n"},
    {"import",
     "usage: vkd import IN --name NAME -o FILE [--format tsv|csv|json] [--encoding utf-8|cp932]\n"
     "                 [--force]\n"
     "Writes a new dictionary FILE from IN (\"-\" for standard input), atomically. NAME is the\n"
     "dictionary's name; a JSON input may carry it instead. Refuses more than 1024 entries,\n"
     "text that code page 932 cannot hold and malformed input, naming the line, and then\n"
     "writes nothing. An existing FILE is replaced only with --force.\n"},
    {"search",
     "usage: vkd search FILE TEXT\n"
     "Prints the index and the word of every entry whose word contains TEXT, matched as the\n"
     "program matches: byte for byte in code page 932, case-sensitive, by whole characters.\n"
     "Exit status 1 when no word matches.\n"},
};

// One command's arguments: positional ones and option values by name.
struct Options {
  std::vector<std::string> positional;
  std::map<std::string, std::string> values;
  bool force = false;
  bool help = false;
};

// Splits args into positional arguments and the options a command takes; false with a
// message for anything else.
bool ParseOptions(const std::vector<std::string>& args, const std::vector<std::string>& valued,
                  Options& o, std::string& error) {
  auto isValued = [&](const std::string& name) {
    for (const auto& v : valued)
      if (v == name) return true;
    return false;
  };
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--help" || a == "-h") {
      o.help = true;
    } else if (a == "--force" && isValued("--force")) {
      o.force = true;
    } else if (a.size() > 1 && a[0] == '-') {
      std::string name = a, value;
      const auto eq = a.find('=');
      bool hasValue = false;
      if (eq != std::string::npos && a.starts_with("--")) {
        name = a.substr(0, eq);
        value = a.substr(eq + 1);
        hasValue = true;
      }
      if (!isValued(name) || name == "--force") {
        error = "unknown option " + name;
        return false;
      }
      if (!hasValue) {
        if (i + 1 >= args.size()) {
          error = "option " + name + " needs a value";
          return false;
        }
        value = args[++i];
      }
      o.values[name] = value;
    } else {
      o.positional.push_back(a);
    }
  }
  return true;
}

// The commands, each given its parsed options; holds the three streams. It does no parsing of
// the command line itself.
class Command {
 public:
  Command(std::istream& in, std::ostream& out, std::ostream& err)
      : m_in(in), m_out(out), m_err(err) {}

  // Writes "vkd: message" to the error stream and returns the status to exit with, kTrouble.
  int ReportError(const std::string& message) {
    m_err << "vkd: " << message << "\n";
    return kTrouble;
  }

  // A path from the command line (UTF-8) as the program's code page 932 path.
  std::optional<CString> Path(const std::string& arg) {
    CString path;
    if (!CString::FromUtf8(arg, path)) return std::nullopt;
    return path;
  }

  std::string OpenFailure(const std::string& arg, int error) {
    std::string why = std::strerror(error);
    if (error == EWOULDBLOCK) why = "it is open in another program";
    if (error == EACCES) why = "it is read-only or not accessible";
    return "cannot open " + arg + ": " + why;
  }

  // Runs a whole-file read of the dictionary at arg. A file that cannot be opened, or not read
  // for want of memory, is reported here and gives nothing; otherwise the result says whether
  // the file is sound.
  std::optional<DictIoResult> ReadWhole(
      const std::string& arg, const std::function<DictIoResult(CFile&, const CString&)>& read) {
    auto path = Path(arg);
    if (!path) {
      m_err << "vkd: " << arg << ": the path cannot be written in code page 932\n";
      return std::nullopt;
    }
    CFile file;
    const DictIoResult r = read(file, *path);
    if (r.kind == DictIoResult::CannotOpen) {
      m_err << "vkd: " << OpenFailure(arg, r.osError) << "\n";
      return std::nullopt;
    }
    if (r.kind == DictIoResult::OutOfMemory) {
      m_err << "vkd: " << arg << ": not enough memory to read it\n";
      return std::nullopt;
    }
    return r;
  }

  // Reads the whole dictionary at arg for commands that need an undamaged one. When it cannot be
  // opened or is damaged, reports why and returns null with status kTrouble or kFound.
  std::unique_ptr<CDictData> LoadUndamagedDictionary(const std::string& arg, int& status) {
    auto book = std::make_unique<CDictData>();
    const auto r = ReadWhole(arg, [&](CFile& file, const CString& path) {
      return ReadDictionaryFile(file, path, *book);
    });
    if (r && r->ok()) return book;
    if (r) m_err << "vkd: " << arg << " is damaged: " << r->damage.Describe() << "\n";
    status = r ? kFound : kTrouble;
    return nullptr;
  }

  // Replaces the file at arg with bytes through the program's own atomic save.
  bool Save(const std::string& arg, const std::function<void(CFile&)>& write) {
    auto path = Path(arg);
    if (!path) {
      ReportError(arg + ": the path cannot be written in code page 932");
      return false;
    }
    CFile file;
    if (!file.Open(*path, CFile::modeCreate | CFile::modeWrite)) {
      ReportError(OpenFailure(arg, file.LastError()));
      return false;
    }
    try {
      write(file);
      file.Close();
    } catch (const CFileException& e) {
      file.Abort();
      ReportError(e.what());
      return false;
    }
    return true;
  }

  int Show(const Options& o) {
    if (o.positional.size() != 1) return ReportError("show takes one FILE (see vkd show --help)");
    int status = kOk;
    auto book = LoadUndamagedDictionary(o.positional[0], status);
    if (!book) return status;
    m_out << "Name: " << book->m_strName.ToUtf8() << "\n";
    m_out << "Entries: " << book->m_nCount << "\n";
    for (int i = 0; i < book->m_nCount; ++i) {
      m_out << i << "\t" << book->m_strWord[i].ToUtf8() << "\n";
      std::string meaning = book->m_strMeaning[i].ToUtf8();
      size_t pos = 0;
      while (pos <= meaning.size()) {
        size_t end = meaning.find('\n', pos);
        if (end == std::string::npos) end = meaning.size();
        std::string line = meaning.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        m_out << "\t" << line << "\n";
        pos = end + 1;
      }
    }
    return kOk;
  }

  int Check(const Options& o) {
    if (o.positional.size() != 1) return ReportError("check takes one FILE (see vkd check --help)");
    const std::string& arg = o.positional[0];
    int count = 0;
    // Only the verdict is wanted: scanning keeps one string in memory, not the whole book.
    const auto r = ReadWhole(arg, [&](CFile& file, const CString& path) {
      return ScanDictionaryFile(file, path, &count);
    });
    if (!r) return kTrouble;
    if (!r->ok()) {
      m_out << arg << ": " << r->damage.Describe() << "\n";
      return kFound;
    }
    const std::uint64_t end = r->end;
    m_out << arg << ": sound, " << count << (count == 1 ? " entry" : " entries");
    struct stat st {};
    if (auto native = ToNativePath(*Path(arg));
        native && stat(native->c_str(), &st) == 0 && static_cast<std::uint64_t>(st.st_size) > end) {
      m_out << "; " << (static_cast<std::uint64_t>(st.st_size) - end)
            << " bytes after the last meaning at offset " << end << " are ignored";
    }
    m_out << "\n";
    return kOk;
  }

  bool FormatAndEncoding(const Options& o, Format& format, Encoding& encoding) {
    format = Format::Tsv;
    encoding = Encoding::Utf8;
    if (auto it = o.values.find("--format"); it != o.values.end()) {
      auto f = ParseFormat(it->second);
      if (!f) return ReportError("unknown format " + it->second + " (tsv, csv or json)"), false;
      format = *f;
    }
    if (auto it = o.values.find("--encoding"); it != o.values.end()) {
      auto e = ParseEncoding(it->second);
      if (!e) return ReportError("unknown encoding " + it->second + " (utf-8 or cp932)"), false;
      encoding = *e;
    }
    return true;
  }

  int Export(const Options& o) {
    if (o.positional.size() != 1)
      return ReportError("export takes one FILE (see vkd export --help)");
    Format format;
    Encoding encoding;
    if (!FormatAndEncoding(o, format, encoding)) return kTrouble;
    int status = kOk;
    auto book = LoadUndamagedDictionary(o.positional[0], status);
    if (!book) return status;
    std::string error;
    auto text = vkd::Export(*book, format, encoding, error);
    if (!text) return ReportError(o.positional[0] + ": " + error + "; try --encoding cp932");
    auto outPath = o.values.find("-o");
    if (outPath == o.values.end()) {
      m_out << *text;
      return m_out.good() ? kOk : ReportError("cannot write to standard output");
    }
    const bool saved = Save(outPath->second, [&](CFile& file) {
      file.Write(text->data(), static_cast<UINT>(text->size()));
    });
    return saved ? kOk : kTrouble;
  }

  int Import(const Options& o) {
    if (o.positional.size() != 1) return ReportError("import takes one IN (see vkd import --help)");
    Format format;
    Encoding encoding;
    if (!FormatAndEncoding(o, format, encoding)) return kTrouble;
    auto target = o.values.find("-o");
    if (target == o.values.end()) return ReportError("import needs -o FILE");
    const std::string& inArg = o.positional[0];
    std::string input;
    if (inArg == "-") {
      input.assign(std::istreambuf_iterator<char>(m_in), {});
    } else {
      std::ifstream file(inArg, std::ios::binary);
      if (!file) return ReportError("cannot read " + inArg + ": " + std::strerror(errno));
      input.assign(std::istreambuf_iterator<char>(file), {});
    }
    ImportResult result = vkd::Import(input, format, encoding);
    if (!result.ok()) return ReportError(inArg + ": " + result.error + "; nothing was written");
    auto book = std::make_unique<CDictData>();
    if (auto name = o.values.find("--name"); name != o.values.end()) {
      if (!CString::FromUtf8(name->second, book->m_strName))
        return ReportError("the name cannot be written in code page 932");
    } else if (result.name) {
      book->m_strName = CString(*result.name);
    } else {
      return ReportError("import needs --name NAME");
    }
    for (auto& e : result.entries) {
      book->m_strWord[book->m_nCount] = CString(std::move(e.word));
      book->m_strMeaning[book->m_nCount] = CString(std::move(e.meaning));
      ++book->m_nCount;
    }
    const std::string& outArg = target->second;
    struct stat st {};
    auto outPath = Path(outArg);
    auto native = outPath ? ToNativePath(*outPath) : std::nullopt;
    if (!o.force && native && stat(native->c_str(), &st) == 0)
      return ReportError(outArg + " exists; use --force to replace it");
    if (!outPath) return ReportError(outArg + ": the path cannot be written in code page 932");
    CFile file;
    const DictIoResult written = WriteDictionaryFile(file, *outPath, *book);
    if (written.kind == DictIoResult::CannotOpen)
      return ReportError(OpenFailure(outArg, written.osError));
    if (!written.ok())
      return ReportError(written.detail.empty() ? "cannot write " + outArg : written.detail);
    m_err << "vkd: wrote " << book->m_nCount << " entries to " << outArg << "\n";
    return kOk;
  }

  int Search(const Options& o) {
    if (o.positional.size() != 2)
      return ReportError("search takes FILE and TEXT (see vkd search --help)");
    CString text;
    if (!CString::FromUtf8(o.positional[1], text))
      return ReportError("TEXT cannot be written in code page 932");
    int status = kOk;
    auto book = LoadUndamagedDictionary(o.positional[0], status);
    if (!book) return status;
    bool any = false;
    for (int i = 0; i < book->m_nCount; ++i) {
      if (book->m_strWord[i].Find(text, 0) >= 0) {
        m_out << i << "\t" << book->m_strWord[i].ToUtf8() << "\n";
        any = true;
      }
    }
    return any ? kOk : kFound;
  }

 private:
  std::istream& m_in;
  std::ostream& m_out;
  std::ostream& m_err;
};

}  // namespace

int Run(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
        std::ostream& err) {
  if (args.empty()) {
    err << kUsage;
    return kTrouble;
  }
  const std::string& command = args[0];
  if (command == "--help" || command == "-h" || command == "help") {
    out << kUsage;
    return kOk;
  }
  if (command == "--version") {
    out << "vkd " << VKD_VERSION << "\n";
    return kOk;
  }
  const auto help = kCommandHelp.find(command);
  if (help == kCommandHelp.end()) {
    err << "vkd: unknown command " << command << "\n" << kUsage;
    return kTrouble;
  }
  std::vector<std::string> valued;
  if (command == "export") valued = {"--format", "--encoding", "-o"};
  if (command == "import") valued = {"--format", "--encoding", "-o", "--name", "--force"};
  Options o;
  std::string error;
  Command c(in, out, err);
  if (!ParseOptions({args.begin() + 1, args.end()}, valued, o, error))
    return c.ReportError(error + " (see vkd " + command + " --help)");
  if (o.help) {
    out << help->second;
    return kOk;
  }
  if (command == "show") return c.Show(o);
  if (command == "check") return c.Check(o);
  if (command == "export") return c.Export(o);
  if (command == "import") return c.Import(o);
  return c.Search(o);
}

}  // namespace vkd
