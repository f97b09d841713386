#include "CommandLine.h"

#include "NativePath.h"

#ifndef VOKARI_VERSION
#define VOKARI_VERSION "unknown"
#endif

namespace {

constexpr int kUsageStatus = 2;

const char* const kUsage = "Usage: vokari [FILE]\n";

const char* const kHelp =
    "Usage: vokari [FILE]\n"
    "Keeps dictionaries of your own words and their meanings, each in a .vkd file.\n"
    "\n"
    "Opens FILE at start, as File > Open does; without FILE, the dictionary of the last\n"
    "run is reopened when the settings ask for it. A relative FILE is taken from the\n"
    "directory Vokari starts in, where it also keeps its settings file, Vokari.ini.\n"
    "\n"
    "  --help     show this help and exit\n"
    "  --version  show the version and exit\n"
    "  --         take the next argument as FILE even if it starts with '-'\n"
    "\n"
    "Exit status: 0, or 2 for a mistake on the command line.\n"
    "Vokari needs a graphical display; --help and --version do not.\n";

StartRequest Problem(std::string what) {
  StartRequest r;
  r.kind = StartRequest::UsageError;
  r.problem = std::move(what);
  return r;
}

}  // namespace

StartRequest ParseCommandLine(const std::vector<std::string>& args,
                              const std::filesystem::path& startDir) {
  std::vector<std::string> files;
  bool optionsEnd = false;
  for (const std::string& arg : args) {
    if (optionsEnd || arg.empty() || arg[0] != '-') {
      files.push_back(arg);
    } else if (arg == "--") {
      optionsEnd = true;
    } else if (arg == "--help" || arg == "--version") {
      StartRequest r;
      r.kind = arg == "--help" ? StartRequest::ShowHelp : StartRequest::ShowVersion;
      return r;
    } else {
      return Problem("unknown option '" + arg + "'");
    }
  }
  if (files.size() > 1) return Problem("only one FILE can be opened");
  StartRequest r;
  if (files.empty()) return r;
  r.hasFile = true;
  // The path is kept as given apart from the directory in front: "..", links and all.
  const std::filesystem::path full = startDir / std::filesystem::path(files.front());
  // Only an exact form names the same file: 〜 or ¥ would come back as another character.
  if (std::optional<CString> path = FromNativePath(full.string())) r.file = *path;
  return r;
}

int AnswerWithoutWindow(const StartRequest& request, std::ostream& out, std::ostream& err) {
  switch (request.kind) {
    case StartRequest::ShowHelp:
      out << kHelp;
      return 0;
    case StartRequest::ShowVersion:
      out << "vokari " << VOKARI_VERSION << "\n";
      return 0;
    case StartRequest::UsageError:
      err << "vokari: " << request.problem << "\n"
          << kUsage << "Try 'vokari --help' for more information.\n";
      return kUsageStatus;
    case StartRequest::OpenWindow:
      break;
  }
  return 0;
}
