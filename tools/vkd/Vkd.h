// The vkd command line: show, check, export, import and search for dictionary files, written
// against streams so that tests can run it in-process. It reads and writes .vkd files only
// through CFile, CArchive and the dictionary reader and writer; it has no window.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace vkd {

// Exit statuses.
constexpr int kOk = 0;
constexpr int kFound = 1;    // check: the file is damaged; search: no word matched
constexpr int kTrouble = 2;  // bad usage, a file that cannot be read or written, refused input

// Runs vkd with args (without the program name). Standard input is used by "import -".
int Run(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
        std::ostream& err);

}  // namespace vkd
