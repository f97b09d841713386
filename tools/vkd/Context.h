// What every vkd command is given and shares: the three standard streams, the exit statuses and
// reporting an error. It knows no command and no file.
#pragma once

#include <iosfwd>
#include <string>

#include "File.h"

namespace vkd {

// Exit statuses.
constexpr int kOk = 0;
constexpr int kDamaged = 1;     // check, show, search, export: the file is damaged
constexpr int kNoMatch = 1;     // search: no word matched
constexpr int kDiffers = 1;     // diff: the books differ; merge: conflicts kept both sides
constexpr int kNoVersions = 1;  // backups: no earlier version of the file is kept
constexpr int kTrouble = 2;     // bad usage, a file that cannot be read or written, refused input

struct Context {
  std::istream& in;
  std::ostream& out;
  std::ostream& err;

  // Writes "vkd: message" to the error stream and returns kTrouble.
  int Error(const std::string& message) const;
};

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

}  // namespace vkd
