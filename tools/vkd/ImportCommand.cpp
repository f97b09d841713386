// import: a new dictionary from TSV, CSV or JSON. The whole input is read and checked before
// anything is written, so a refused input writes nothing.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ostream>

#include "Command.h"
#include "Formats.h"
#include "Messages.h"

namespace vkd {
namespace {

// The input: standard input for "-", else a regular file, opened without blocking so that a
// FIFO or a device is refused rather than waited on.
std::unique_ptr<CFile> OpenInput(const Context& c, const std::string& arg, std::string& error) {
  if (arg == "-") return std::make_unique<StreamFile>(&c.in, nullptr, Tr("standard input"));
  const int fd = open(arg.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return error = Fmt(Tr("cannot read %s: %s"), {arg, std::strerror(errno)}), nullptr;
  struct stat st {};
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    error = S_ISDIR(st.st_mode)
                ? Fmt(Tr("%s is a directory"), {arg})
                : Fmt(Tr("%s is not a regular file (\"-\" reads standard input)"), {arg});
    return nullptr;
  }
  fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  return std::make_unique<FdFile>(fd, arg);
}

}  // namespace

int Import(const Context& c, const Options& o) {
  if (o.positional.size() != 1) return c.Error(Tr("import takes one IN (see vkd import --help)"));
  const std::string& inArg = o.positional[0];
  const std::string* outArg = o.Value("-o");
  if (!outArg) return c.Error(Tr("import needs -o FILE"));
  std::optional<Format> format = inArg == "-" ? std::nullopt : FormatOfPath(inArg);
  Encoding encoding;
  if (ReadFormatOptions(c, o, format, encoding) != kOk) return kTrouble;
  std::optional<CString> name;
  if (const std::string* n = o.Value("--name")) {
    auto bytes = FromUtf8(*n);
    if (!bytes) return c.Error(Tr("the name cannot be written in code page 932"));
    name = CString(std::move(*bytes));
  }
  std::string error;
  const auto destination = ResolveOutput(*outArg, error);
  if (!destination) return c.Error(error);
  if (destination->exists && !o.Flag("--force"))
    return c.Error(Fmt(Tr("%s exists; use --force to replace it"), {*outArg}));

  auto input = OpenInput(c, inArg, error);
  if (!input) return c.Error(error);
  auto book = std::make_unique<CDictData>();
  Importer importer(*book, encoding, o.Flag("--keep-line-breaks"));
  bool read = false;
  try {
    InputReader reader(*input, encoding == Encoding::Utf8);
    read = ReadRecords(format.value_or(Format::Tsv), reader, importer, error);
  } catch (const CFileException& e) {
    return c.Error(e.what());
  }
  input->Close();
  if (!read) return c.Error(Fmt(Tr("%s: %s; nothing was written"), {inArg, error}));
  if (!name) name = importer.name();
  if (!name) return c.Error(Tr("import needs --name NAME"));
  book->m_strName = *name;

  auto file = OpenOutput(c, *destination, error);
  if (!file) return c.Error(error);
  const DictIoResult written = WriteOpenDictionary(*file, *book);
  if (!written.ok()) {
    return c.Error(written.detail.empty() ? Fmt(Tr("cannot write %s"), {destination->Name()})
                                          : written.detail);
  }
  const auto n = static_cast<unsigned long>(book->m_nCount);
  c.err << "vkd: "
        << Fmt(TrN("wrote %s entry to %s", "wrote %s entries to %s", n),
               {std::to_string(n), destination->Name()})
        << "\n";
  return kOk;
}

}  // namespace vkd
