// What every vkd command shares: the three standard streams, reporting an error, and finding
// the files named on the command line. Dictionaries are read and written only through dict/;
// standard input and output, descriptors and devices are read and written directly, and a
// regular output file is replaced only when complete.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>

#include "DictIo.h"
#include "File.h"
#include "Formats.h"
#include "Options.h"

namespace vkd {

// Exit statuses.
constexpr int kOk = 0;
constexpr int kFound = 1;    // check: the file is damaged; search: no word matched
constexpr int kTrouble = 2;  // bad usage, a file that cannot be read or written, refused input

struct Context {
  std::istream& in;
  std::ostream& out;
  std::ostream& err;

  // Writes "vkd: message" to the error stream and returns kTrouble.
  int Error(const std::string& message) const;
};

// A path from the command line (UTF-8) as the program's code page 932 path.
std::optional<CString> DictPath(const std::string& arg);
std::string PathRefusal(const std::string& arg);

// Reads the dictionary arg ("-" for standard input) entry by entry with handler. A file that
// cannot be opened or read is reported here and gives nothing; otherwise the result says
// whether the file is sound. size (when given) gets the size of the whole input.
std::optional<DictIoResult> ReadEntries(const Context& c, const std::string& arg,
                                        DictEntryHandler& handler, std::uint64_t* size = nullptr);

// The --format and --encoding options over the defaults given (format as taken from a file's
// extension, or nothing). An unknown value is reported and gives kTrouble; kOk otherwise.
int ReadFormatOptions(const Context& c, const Options& o, std::optional<Format>& format,
                      Encoding& encoding);

// Runs write; a CFileException it raises becomes false with its message in error.
template <typename F>
bool CatchWriteError(F write, std::string& error) {
  try {
    write();
    return true;
  } catch (const CFileException& e) {
    error = e.what();
    return false;
  }
}

// Reports that arg is damaged and returns kFound.
int ReportDamage(const Context& c, const std::string& arg, const DictReadError& damage);

// One English (or translated) line on what is wrong in a dictionary file and where.
std::string DescribeDamage(const DictReadError& e);

// Where a command's output goes.
struct Destination {
  enum Kind {
    Standard,  // standard output: "-", /dev/stdout or another name of descriptor 1
    Direct,    // a terminal, a pipe, a device or another descriptor: written to as it is
    Replace,   // a regular file, new or replaced whole when the output is complete
  } kind = Standard;
  int fd = -1;          // Direct: the descriptor named, or -1 to open arg
  bool exists = false;  // Replace: the file is there already
  std::string arg;
  std::string Name() const;  // for messages
};

// Where arg sends output; nullopt with a message for a directory or a path that cannot be used.
std::optional<Destination> ResolveOutput(const std::string& arg, std::string& error);
// Opens d for writing; null with a message when that fails.
std::unique_ptr<CFile> OpenOutput(const Context& c, const Destination& d, std::string& error);

int Show(const Context& c, const Options& o);
int Check(const Context& c, const Options& o);
int Search(const Context& c, const Options& o);
int Export(const Context& c, const Options& o);
int Import(const Context& c, const Options& o);

}  // namespace vkd
