#include "Vkd.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iostream>
#include <new>
#include <string_view>
#include <vector>

#include "BackupFolder.h"
#include "Commands.h"
#include "Help.h"
#include "Messages.h"
#include "RewriteJournal.h"

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
    {"search", Search, {}, {"--fold", "--meanings"}},
    {"export", Export, {"--format", "--encoding", "-o"}, {}},
    {"import",
     Import,
     {"--format", "--encoding", "-o", "--name"},
     {"--force", "--keep-line-breaks"}},
    {"diff", Diff, {"-U"}, {"--stat"}},
    {"merge", Merge, {"-o"}, {}},
    {"backups", Backups, {}, {}},
};

// Edits (insertions, deletions, substitutions and swaps of neighbours) from a to b.
size_t Distance(std::string_view a, std::string_view b) {
  std::vector<std::vector<size_t>> d(a.size() + 1, std::vector<size_t>(b.size() + 1));
  for (size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
  for (size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
  for (size_t i = 1; i <= a.size(); ++i) {
    for (size_t j = 1; j <= b.size(); ++j) {
      d[i][j] = std::min(
          {d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1)});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
        d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
    }
  }
  return d[a.size()][b.size()];
}

// The command a slip of the keyboard most likely meant: at most two edits away, and fewer
// than half its letters; null when none is that close.
const char* Meant(std::string_view typed) {
  const char* best = nullptr;
  size_t bestDistance = 3;
  for (const auto& entry : kCommands) {
    const std::string_view name = entry.name;
    const size_t distance = Distance(typed, name);
    if (distance < bestDistance && distance * 2 < name.size()) {
      best = entry.name;
      bestDistance = distance;
    }
  }
  return best;
}

// Before a command opens the files it names: a rewrite of one of them that was cut short is
// rolled back, and said so.
void RollBackCutShortRewrites(const Context& c, const Options& o) {
  std::vector<std::string> named = o.positional;
  if (const std::string* out = o.Value("-o")) named.push_back(*out);
  const std::string root = backupfolder::Root();
  for (const std::string& arg : named) {
    if (arg == "-" || arg.empty()) continue;
    const rewrite::Recovery r = rewrite::Recover(root, arg);
    if (r.kind == rewrite::Recovery::RolledBack)
      c.err << "vkd: "
            << Fmt(Tr("%s: an earlier rewrite was cut short; its old content is back"), {arg})
            << "\n";
    else if (r.kind == rewrite::Recovery::Failed)
      c.err << "vkd: "
            << Fmt(Tr("%s: an earlier rewrite was cut short and its old content could not be "
                      "put back: %s"),
                   {arg, std::strerror(r.error)})
            << "\n";
  }
}

// A mistyped command: what was wrong, the likely command, and one line of usage.
int UnknownCommand(const Context& c, const std::string& command) {
  c.err << "vkd: " << Fmt(Tr("unknown command %s"), {command}) << "\n";
  if (const char* meant = Meant(command))
    c.err << "vkd: " << Fmt(Tr("did you mean %s?"), {meant}) << "\n";
  c.err << Tr("Usage: vkd COMMAND [OPTIONS] (vkd --help lists the commands)") << "\n";
  return kTrouble;
}

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
    RollBackCutShortRewrites(c, o);
    try {
      return entry.run(c, o);
    } catch (const std::bad_alloc&) {
      // What was being replaced is left as it was: the new content is abandoned unwinding.
      return c.Error(Tr("not enough memory"));
    }
  }
  return UnknownCommand(c, command);
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
