// The vkd command line: show, check, search, export and import for dictionary files, written
// against streams so that tests can run it in-process. Each command lives in a file of its own;
// this only parses the command line, dispatches and checks that standard output took
// everything. It has no window.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "Context.h"

namespace vkd {

// Runs vkd with args (without the program name). "-" names standard input (in) or output (out).
int Run(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
        std::ostream& err);

}  // namespace vkd
