// import: a new dictionary from TSV, CSV or JSON. A refused input writes nothing: a named file
// is written unseen as the input is read and takes its name only once all of it was taken, and
// any other output gets the book only after the whole input was read.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ostream>

#include "BackupFolder.h"
#include "Backups.h"
#include "Commands.h"
#include "DictFile.h"
#include "Files.h"
#include "Formats.h"
#include "Messages.h"
#include "RewriteJournal.h"

namespace vkd {
namespace {

// The input: standard input for "-", else a regular file, opened without blocking so that a
// FIFO or a device is refused rather than waited on.
std::unique_ptr<CFile> OpenInput(const Context& c, const std::string& arg, std::string& error) {
  if (arg == "-") return std::make_unique<StreamFile>(&c.in, nullptr, Tr("standard input"));
  const int fd = open(arg.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return error = Fmt(Tr("cannot read %s: %s"), {arg, std::strerror(errno)}), nullptr;
  struct stat st {};
  fstat(fd, &st);  // left empty, it is no regular file
  if (!IsRegularFile(arg, st, error)) {
    close(fd);
    return nullptr;
  }
  fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  return std::make_unique<FdFile>(fd, arg);
}

// Keeps the entries in a book in memory, to be written whole at the end: for an output that
// cannot be written over afterwards, or a name that only the input gives.
class BookSink : public EntrySink {
 public:
  // The book keeps every string to the end, each in just the memory its text needs.
  bool Add(TextBuffer& word, TextBuffer& meaning, std::string&) override {
    const int i = m_book->m_nCount++;
    m_book->m_strWord[i] = CString(word.Take());
    m_book->m_strMeaning[i] = CString(meaning.Take());
    return true;
  }
  CDictData& Book() { return *m_book; }

 private:
  std::unique_ptr<CDictData> m_book = std::make_unique<CDictData>();
};

// Writes each entry to the new file as it comes, holding none of them. The file only takes the
// output's place when it is closed, so an input refused halfway still writes nothing.
class FileSink : public EntrySink {
 public:
  FileSink(CFile& file, const CString& name) : m_writer(file, name.Bytes()) {}
  bool Add(TextBuffer& word, TextBuffer& meaning, std::string& error) override {
    try {
      // What has gone is given back, as a rewrite in place holds the new file in memory.
      m_writer.Add(word.view(), meaning.view(), [&](std::string_view field, size_t n) {
        (field.data() == word.data() ? word : meaning).ReleaseBefore(n);
      });
      return true;
    } catch (const CFileException& e) {
      m_writeError = e.what();
      error = e.what();
      return false;
    }
  }
  void Finish() { m_writer.Finish(); }
  // The message of a write that failed; empty when none did.
  const std::string& WriteError() const { return m_writeError; }

 private:
  DictEntryWriter m_writer;
  std::string m_writeError;
};

struct ImportSettings {
  std::string in;
  std::optional<Format> format;
  Encoding encoding = Encoding::Utf8;
  bool keepLineBreaks = false;
  std::optional<CString> name;
};

// Reads the whole input into importer. False with the message in error.
bool ReadInput(const Context& c, const ImportSettings& s, Importer& importer, std::string& error) {
  auto input = OpenInput(c, s.in, error);
  if (!input) return false;
  try {
    InputReader reader(*input, s.encoding == Encoding::Utf8);
    if (!ReadRecords(s.format.value_or(Format::Tsv), reader, importer, error)) {
      error = Fmt(Tr("%s: %s; nothing was written"), {s.in, error});
      return false;
    }
  } catch (const CFileException& e) {
    error = e.what();
    return false;
  }
  input->Close();
  return true;
}

// The version an import replaces is kept as the window keeps the ones its saves replace. The
// outcome is read after Close, so it lives as long as the process.
BackupOutcome& KeepReplacedVersion(CFile& file) {
  static BackupOutcome outcome;
  GuardSaveAtClose(file, backupfolder::Root(), &outcome);
  return outcome;
}

int Wrote(const Context& c, const Destination& d, int count, const BackupOutcome& backup) {
  if (backup.kind == BackupOutcome::Failed)
    c.err << "vkd: "
          << Fmt(Tr("could not keep the version of %s that was replaced: %s"),
                 {d.Name(), std::strerror(backup.error)})
          << "\n";
  const auto n = static_cast<unsigned long>(count);
  c.err << "vkd: "
        << Fmt(TrN("wrote %s entry to %s", "wrote %s entries to %s", n),
               {std::to_string(n), d.Name()})
        << "\n";
  return kOk;
}

// A named new file with the name known: the entries go to it as they are read.
int ImportStreaming(const Context& c, const ImportSettings& s, const Destination& d) {
  std::string error;
  auto file = OpenOutput(c, d, error);
  if (!file) return c.Error(error);
  const BackupOutcome& backup = KeepReplacedVersion(*file);
  try {
    FileSink sink(*file, *s.name);
    Importer importer(sink, s.encoding, s.keepLineBreaks);
    if (!ReadInput(c, s, importer, error)) {
      file->Abort();
      return c.Error(sink.WriteError().empty() ? error : sink.WriteError());
    }
    sink.Finish();
    file->Close();
    return Wrote(c, d, importer.count(), backup);
  } catch (const CFileException& e) {
    file->Abort();
    return c.Error(SaveFailure(d, e.m_lOsError, e.what()));
  }
}

// Anywhere else: the book is held until the input is read, then written whole.
int ImportWhole(const Context& c, const ImportSettings& s, const Destination& d) {
  BookSink sink;
  Importer importer(sink, s.encoding, s.keepLineBreaks);
  std::string error;
  if (!ReadInput(c, s, importer, error)) return c.Error(error);
  CDictData& book = sink.Book();
  if (s.name)
    book.m_strName = *s.name;
  else if (importer.name())
    book.m_strName = importer.TakeName();
  else
    return c.Error(Tr("import needs --name NAME"));

  auto file = OpenOutput(c, d, error);
  if (!file) return c.Error(error);
  const BackupOutcome& backup = KeepReplacedVersion(*file);
  const DictIoResult written = WriteOpenDictionary(*file, book);
  if (!written.ok()) return c.Error(SaveFailure(d, written.osError, written.detail));
  return Wrote(c, d, book.m_nCount, backup);
}

}  // namespace

int Import(const Context& c, const Options& o) {
  if (o.positional.size() != 1) return c.Error(Tr("import takes one IN (see vkd import --help)"));
  ImportSettings s;
  s.in = o.positional[0];
  const std::string* outArg = o.Value("-o");
  if (!outArg) return c.Error(Tr("import needs -o FILE"));
  s.format = s.in == "-" ? std::nullopt : FormatOfPath(s.in);
  if (ReadFormatOptions(c, o, s.format, s.encoding) != kOk) return kTrouble;
  s.keepLineBreaks = o.Flag("--keep-line-breaks");
  if (const std::string* n = o.Value("--name")) {
    auto bytes = FromUtf8(*n);
    if (!bytes) return c.Error(Tr("the name cannot be written in code page 932"));
    s.name = CString(std::move(*bytes));
  }
  // Only a JSON document can carry a name of its own.
  if (!s.name && s.format.value_or(Format::Tsv) != Format::Json)
    return c.Error(Tr("import needs --name NAME"));
  std::string error;
  auto destination = ResolveOutput(*outArg, error);
  if (!destination) return c.Error(error);
  if (destination->exists && !o.Flag("--force"))
    return c.Error(Fmt(Tr("%s exists; use --force to replace it"), {*outArg}));
  // Another import may take the name while this one reads: the output takes it only if free.
  destination->mustBeNew = destination->kind == Destination::Replace && !o.Flag("--force");
  if (destination->kind == Destination::Replace && s.name)
    return ImportStreaming(c, s, *destination);
  return ImportWhole(c, s, *destination);
}

}  // namespace vkd
