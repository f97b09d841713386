// Finding the files a command names: dictionaries to read, and where output goes.
// Dictionaries are read and written only through dict/; standard input and output, descriptors
// and devices are read and written directly, and a regular output file is replaced only when
// complete.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "Context.h"
#include "DictIo.h"
#include "File.h"

namespace vkd {

// Whether st, the state of the file arg names, is a regular file's; false with a message that
// names a directory or another kind of file as such.
bool IsRegularFile(const std::string& arg, const struct stat& st, std::string& error);

// A path from the command line (UTF-8) as the program's code page 932 path.
std::optional<CString> DictPath(const std::string& arg);
std::string PathRefusal(const std::string& arg);

// Reads the dictionary arg ("-" for standard input) entry by entry with handler. A file that
// cannot be opened or read is reported here and gives nothing; otherwise the result says
// whether the file is sound. size (when given) gets the size of the whole input.
std::optional<DictIoResult> ReadEntries(const Context& c, const std::string& arg,
                                        DictEntryHandler& handler, std::uint64_t* size = nullptr);

// Where a command's output goes.
struct Destination {
  enum Kind {
    Standard,  // standard output: "-", /dev/stdout or another name of descriptor 1
    Direct,    // a terminal, a pipe, a device or another descriptor: written to as it is
    Replace,   // a regular file, new or replaced whole when the output is complete
  } kind = Standard;
  int fd = -1;             // Direct: the descriptor named, or -1 to open arg
  bool exists = false;     // Replace: the file is there already
  bool mustBeNew = false;  // Replace: the name must still be free when the output takes it
  std::string arg;
  std::string Name() const;  // for messages
};

// Whether the two paths name one existing file (the same file reached by two names, too).
bool SameFile(const std::string& a, const std::string& b);

// Where arg sends output; nullopt with a message for a directory or a path that cannot be used.
std::optional<Destination> ResolveOutput(const std::string& arg, std::string& error);
// Why writing to d failed, from the system's errno and its message: a name that another
// program took meanwhile is said as the name that exists.
std::string SaveFailure(const Destination& d, int osError, const std::string& detail);
// Opens d for writing; null with a message when that fails.
std::unique_ptr<CFile> OpenOutput(const Context& c, const Destination& d, std::string& error);

}  // namespace vkd
