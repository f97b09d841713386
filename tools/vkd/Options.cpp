#include "Options.h"

#include <algorithm>

#include "Context.h"
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

int ReadFormatOptions(const Context& c, const Options& o, std::optional<Format>& format,
                      Encoding& encoding) {
  if (const std::string* f = o.Value("--format")) {
    format = ParseFormat(*f);
    if (!format) return c.Error(Fmt(Tr("unknown format %s (tsv, csv or json)"), {*f}));
  }
  encoding = Encoding::Utf8;
  if (const std::string* e = o.Value("--encoding")) {
    const auto parsed = ParseEncoding(*e);
    if (!parsed) return c.Error(Fmt(Tr("unknown encoding %s (utf-8 or cp932)"), {*e}));
    encoding = *parsed;
  }
  return kOk;
}

}  // namespace vkd
