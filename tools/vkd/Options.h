// One command's arguments: positional ones, option values by name and flags. ParseOptions
// knows only which names a command takes, not what they mean; ReadFormatOptions reads the two
// that export and import share.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "Formats.h"
#include "Text.h"

namespace vkd {

struct Options {
  std::vector<std::string> positional;
  std::map<std::string, std::string> values;
  std::set<std::string> flags;
  bool help = false;

  const std::string* Value(const std::string& name) const {
    auto it = values.find(name);
    return it == values.end() ? nullptr : &it->second;
  }
  bool Flag(const std::string& name) const { return flags.count(name) > 0; }
};

// Splits args into positional arguments (a lone "-" is one, and everything after "--"), the
// options in valued (as "--name value", "--name=value" or "-o value") and the flags in
// flagNames. False with a message for anything else.
bool ParseOptions(const std::vector<std::string>& args, const std::vector<std::string>& valued,
                  const std::vector<std::string>& flagNames, Options& o, std::string& error);

struct Context;

// The --format and --encoding options over the defaults given (format as taken from a file's
// extension, or nothing). An unknown value is reported and gives kTrouble; kOk otherwise.
int ReadFormatOptions(const Context& c, const Options& o, std::optional<Format>& format,
                      Encoding& encoding);

}  // namespace vkd
