#include "Vkd.h"

#include <cerrno>
#include <cstring>
#include <iostream>
#include <new>

#include "Commands.h"
#include "Help.h"
#include "Messages.h"

#ifndef VKD_VERSION
#define VKD_VERSION "unknown"
#endif

namespace vkd {
namespace {

struct CommandSpec {
  const char* name;
  int (*run)(const Context&, const Options&);
  std::vector<std::string> valued;
  std::vector<std::string> flags;
};

const CommandSpec kCommands[] = {
    {"show", Show, {}, {}},
    {"check", Check, {}, {}},
    {"search", Search, {}, {}},
    {"export", Export, {"--format", "--encoding", "-o"}, {}},
    {"import",
     Import,
     {"--format", "--encoding", "-o", "--name"},
     {"--force", "--keep-line-breaks"}},
};

int Dispatch(const std::vector<std::string>& args, const Context& c) {
  if (args.empty()) {
    c.err << Usage();
    return kTrouble;
  }
  const std::string& command = args[0];
  if (command == "--help" || command == "-h" || command == "help") {
    c.out << Usage();
    return kOk;
  }
  if (command == "--version" || command == "-V") {
    c.out << "vkd " << VKD_VERSION << "\n";
    return kOk;
  }
  for (const auto& entry : kCommands) {
    if (command != entry.name) continue;
    Options o;
    std::string error;
    if (!ParseOptions({args.begin() + 1, args.end()}, entry.valued, entry.flags, o, error))
      return c.Error(Fmt(Tr("%s (see vkd %s --help)"), {error, command}));
    if (o.help) {
      c.out << *CommandHelp(command);
      return kOk;
    }
    try {
      return entry.run(c, o);
    } catch (const std::bad_alloc&) {
      // What was being replaced is left as it was: the new content is abandoned unwinding.
      return c.Error(Tr("not enough memory"));
    }
  }
  c.err << "vkd: " << Fmt(Tr("unknown command %s"), {command}) << "\n" << Usage();
  return kTrouble;
}

}  // namespace

int Run(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
        std::ostream& err) {
  const Context c{in, out, err};
  int status = Dispatch(args, c);
  // Output that never arrived is a failure, whatever the command thought (a full disk, a
  // closed pipe, /dev/full); a command that failed has said why already.
  errno = 0;
  if (!out.flush() && status != kTrouble) {
    const int error = errno;
    std::string message = Tr("cannot write to standard output");
    if (error) message += std::string(": ") + std::strerror(error);
    status = c.Error(message);
  }
  return status;
}

}  // namespace vkd
