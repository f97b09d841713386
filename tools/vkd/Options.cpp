#include "Options.h"

#include <algorithm>

#include "Messages.h"

namespace vkd {

bool ParseOptions(const std::vector<std::string>& args, const std::vector<std::string>& valued,
                  const std::vector<std::string>& flagNames, Options& o, std::string& error) {
  auto in = [](const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
  };
  bool optionsEnded = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (optionsEnded || a == "-" || a.empty() || a[0] != '-') {
      o.positional.push_back(a);
    } else if (a == "--") {
      optionsEnded = true;
    } else if (a == "--help" || a == "-h") {
      o.help = true;
    } else if (in(flagNames, a)) {
      o.flags.insert(a);
    } else {
      std::string name = a, value;
      const auto eq = a.find('=');
      const bool hasValue = eq != std::string::npos && a.starts_with("--");
      if (hasValue) {
        name = a.substr(0, eq);
        value = a.substr(eq + 1);
      }
      if (!in(valued, name)) {
        error = Fmt(Tr("unknown option %s"), {name});
        return false;
      }
      if (!hasValue) {
        if (i + 1 >= args.size()) {
          error = Fmt(Tr("option %s needs a value"), {name});
          return false;
        }
        value = args[++i];
      }
      o.values[name] = value;
    }
  }
  return true;
}

}  // namespace vkd
