// The command line of the program: `vokari [FILE]`, `--help` and `--version`. It decides what a
// start asks for and prints the answers that need no window; it opens no file and shows nothing.
#pragma once

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "CString.h"

struct StartRequest {
  enum Kind { OpenWindow, ShowHelp, ShowVersion, UsageError };
  Kind kind = OpenWindow;
  bool hasFile = false;
  // The file to open at start, made absolute from the start-up directory, in code page 932;
  // empty when its name has no exact code page 932 form (one that names this file and no other).
  CString file;
  std::string problem;  // what is wrong with a UsageError
};

// args without the program's name. A relative FILE is taken from startDir.
StartRequest ParseCommandLine(const std::vector<std::string>& args,
                              const std::filesystem::path& startDir);

// Prints the help, the version or the usage error of a request that needs no window, and
// returns the exit status: 0, or 2 for a usage error.
int AnswerWithoutWindow(const StartRequest& request, std::ostream& out, std::ostream& err);
