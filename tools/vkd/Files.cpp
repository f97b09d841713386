// Finding the files a command names: dictionaries to read, and where output goes.
#include "Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ostream>

#include "BackupFolder.h"
#include "Messages.h"
#include "NativePath.h"
#include "RewriteJournal.h"
#include "Streams.h"

namespace vkd {
namespace {

std::string OpenFailure(const std::string& arg, int error) {
  std::string why = std::strerror(error);
  if (error == EWOULDBLOCK) why = Tr("it is open in another program");
  if (error == EACCES) why = Tr("it is read-only or not accessible");
  return Fmt(Tr("cannot open %s: %s"), {arg, why});
}

// Refuses what is not a regular file before anything opens it, so that a FIFO, a device or a
// directory is named as such rather than read.
bool IsRegularOrMissing(const std::string& arg, std::string& error) {
  struct stat st {};
  return stat(arg.c_str(), &st) != 0 || IsRegularFile(arg, st, error);
}

bool AllDigits(std::string_view s) {
  return !s.empty() && s.find_first_not_of("0123456789") == std::string_view::npos;
}

// The descriptor a path names (/dev/stdout, /dev/fd/N, /proc/self/fd/N, or a link to one of
// them). Opening such a path anew would open the file behind the descriptor from its start, and
// replacing it would rename over that file: it is written through the descriptor instead.
std::optional<int> DescriptorOf(std::string path) {
  const std::string own = "/proc/" + std::to_string(getpid()) + "/fd/";
  for (int hops = 0; hops < 40; ++hops) {
    if (path == "/dev/stdin") return 0;
    if (path == "/dev/stdout") return 1;
    if (path == "/dev/stderr") return 2;
    for (const std::string& prefix : {std::string("/dev/fd/"), std::string("/proc/self/fd/"),
                                      std::string("/proc/thread-self/fd/"), own}) {
      if (path.starts_with(prefix) && AllDigits(std::string_view(path).substr(prefix.size())))
        return std::stoi(path.substr(prefix.size()));
    }
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return std::nullopt;
    char target[4096];
    const ssize_t n = readlink(path.c_str(), target, sizeof target - 1);
    if (n <= 0) return std::nullopt;
    std::string next(target, static_cast<size_t>(n));
    if (next[0] != '/') next = path.substr(0, path.rfind('/') + 1) + next;
    path = next;
  }
  return std::nullopt;
}

}  // namespace

bool IsRegularFile(const std::string& arg, const struct stat& st, std::string& error) {
  if (S_ISREG(st.st_mode)) return true;
  error = S_ISDIR(st.st_mode)
              ? Fmt(Tr("%s is a directory"), {arg})
              : Fmt(Tr("%s is not a regular file (\"-\" reads standard input)"), {arg});
  return false;
}

std::optional<CString> DictPath(const std::string& arg) {
  return FromNativePath(arg);
}

// Why arg cannot name a dictionary: the character that has no exact code page 932 form (some
// characters convert one way only, and the path would name another file).
std::string PathRefusal(const std::string& arg) {
  PathProblem problem;
  FromNativePath(arg, &problem);
  if (problem.character.empty())
    return Fmt(Tr("%s: the path cannot be written in code page 932"), {arg});
  if (problem.character.size() == 1 && static_cast<unsigned char>(problem.character[0]) >= 0x80) {
    // A byte that begins no UTF-8 character: named by its value, as it cannot be shown.
    char hex[8];
    std::snprintf(hex, sizeof hex, "\\x%02X", static_cast<unsigned char>(problem.character[0]));
    return Fmt(Tr("%s: the byte %s at byte %s is not UTF-8"),
               {arg, hex, std::to_string(problem.offset)});
  }
  return Fmt(Tr("%s: the character %s at byte %s has no exact code page 932 form"),
             {arg, problem.character, std::to_string(problem.offset)});
}

std::optional<DictIoResult> ReadEntries(const Context& c, const std::string& arg,
                                        DictEntryHandler& handler, std::uint64_t* size) {
  DictIoResult r;
  if (arg == "-") {
    StreamFile in(&c.in, nullptr, Tr("standard input"));
    r = ReadOpenDictionaryEntries(in, handler);
    try {
      if (size) *size = in.BytesRead() + in.Drain();
    } catch (const CFileException& e) {
      c.Error(e.what());
      return std::nullopt;
    }
  } else {
    std::string error;
    if (!IsRegularOrMissing(arg, error)) return c.Error(error), std::nullopt;
    const auto path = DictPath(arg);
    if (!path) return c.Error(PathRefusal(arg)), std::nullopt;
    CFile file;
    r = ReadDictionaryFileEntries(file, *path, handler);
    struct stat st {};
    if (size) *size = stat(arg.c_str(), &st) == 0 ? static_cast<std::uint64_t>(st.st_size) : 0;
  }
  if (r.kind == DictIoResult::CannotOpen) return c.Error(OpenFailure(arg, r.osError)), std::nullopt;
  if (r.kind == DictIoResult::OutOfMemory)
    return c.Error(Fmt(Tr("%s: not enough memory to read it"), {arg})), std::nullopt;
  return r;
}

std::string Destination::Name() const {
  return kind == Standard ? Tr("standard output") : arg;
}

bool SameFile(const std::string& a, const std::string& b) {
  struct stat sa {
  }, sb{};
  return stat(a.c_str(), &sa) == 0 && stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
         sa.st_ino == sb.st_ino;
}

std::optional<Destination> ResolveOutput(const std::string& arg, std::string& error) {
  Destination d;
  d.arg = arg;
  if (arg == "-") return d;
  if (const auto fd = DescriptorOf(arg)) {
    if (*fd != 1) {
      d.kind = Destination::Direct;
      d.fd = *fd;
    }
    return d;
  }
  struct stat st {};
  if (stat(arg.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
    if (S_ISDIR(st.st_mode)) return error = Fmt(Tr("%s is a directory"), {arg}), std::nullopt;
    d.kind = Destination::Direct;
    return d;
  }
  d.kind = Destination::Replace;
  d.exists = stat(arg.c_str(), &st) == 0;
  if (!DictPath(arg)) {
    error = PathRefusal(arg);
    return std::nullopt;
  }
  return d;
}

std::string SaveFailure(const Destination& d, int osError, const std::string& detail) {
  if (osError == EEXIST && d.mustBeNew)
    return Fmt(Tr("%s exists; use --force to replace it"), {d.arg});
  return detail.empty() ? Fmt(Tr("cannot write %s"), {d.Name()}) : detail;
}

std::unique_ptr<CFile> OpenOutput(const Context& c, const Destination& d, std::string& error) {
  switch (d.kind) {
    case Destination::Standard:
      return std::make_unique<StreamFile>(nullptr, &c.out, d.Name());
    case Destination::Direct: {
      // Written as it is: never truncated, renamed or replaced.
      const int fd = d.fd >= 0 ? fcntl(d.fd, F_DUPFD_CLOEXEC, 3)
                               : open(d.arg.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
      if (fd < 0) return error = OpenFailure(d.arg, errno), nullptr;
      struct stat st {};
      if (d.fd < 0 && fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {  // it changed meanwhile
        close(fd);
        return error = OpenFailure(d.arg, EAGAIN), nullptr;
      }
      return std::make_unique<FdFile>(fd, d.arg);
    }
    case Destination::Replace:
      break;
  }
  auto file = std::make_unique<CFile>();
  const UINT mode = CFile::modeCreate | CFile::modeWrite | (d.mustBeNew ? CFile::modeNoReplace : 0);
  if (!file->Open(*DictPath(d.arg), mode)) {
    const int osError = file->LastError();
    return error = osError == EEXIST && d.mustBeNew ? SaveFailure(d, osError, "")
                                                    : OpenFailure(d.arg, osError),
           nullptr;
  }
  // A rewrite in place keeps the old content until the new one is on disk.
  GuardSaveAtClose(*file, backupfolder::Root(), nullptr);
  return file;
}

}  // namespace vkd
