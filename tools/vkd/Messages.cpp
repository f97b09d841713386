#include "Messages.h"

#include <libintl.h>
#include <unistd.h>

#include <climits>
#include <clocale>
#include <cstdlib>
#include <string>

#ifndef VKD_LOCALEDIR
#define VKD_LOCALEDIR "/usr/local/share/locale"
#endif
#ifndef VKD_LOCALEDIR_FROM_BIN
#define VKD_LOCALEDIR_FROM_BIN "../share/locale"
#endif

namespace vkd {
namespace {

constexpr const char* kDomain = "vkd";

// The catalogue beside the program (bin/../share/locale), so that a build tree and an install
// under any prefix find their own; the configured directory otherwise.
std::string LocaleDir() {
  char exe[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
  if (n > 0) {
    std::string dir(exe, static_cast<size_t>(n));
    dir.resize(dir.rfind('/') + 1);
    dir += VKD_LOCALEDIR_FROM_BIN;
    if (access(dir.c_str(), R_OK | X_OK) == 0) return dir;
  }
  return VKD_LOCALEDIR;
}

// The locale the environment asks for messages, by POSIX precedence.
const char* AskedLocale() {
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(name);
    if (value && *value) return value;
  }
  return nullptr;
}

}  // namespace

void SetUpMessages() {
  if (!std::setlocale(LC_ALL, "")) {
    // The asked-for locale is not installed. gettext reads its language from the locale, so
    // keep the language (ja_JP of ja_JP.UTF-8) through LANGUAGE, which it honours in any
    // locale but "C", and take C.UTF-8, which every current glibc has, for the rest.
    std::setlocale(LC_ALL, "C.UTF-8");
    const char* asked = AskedLocale();
    const char* language = std::getenv("LANGUAGE");
    if (asked && (!language || !*language)) {
      std::string lang(asked);
      lang = lang.substr(0, lang.find_first_of(".@"));
      setenv("LANGUAGE", lang.c_str(), 1);
    }
  }
  bindtextdomain(kDomain, LocaleDir().c_str());
  // Everything vkd prints is UTF-8, whatever the locale's own character set.
  bind_textdomain_codeset(kDomain, "UTF-8");
}

const char* Tr(const char* english) {
  return dgettext(kDomain, english);
}

const char* TrN(const char* singular, const char* plural, unsigned long n) {
  return dngettext(kDomain, singular, plural, n);
}

std::string Fmt(std::string_view text, std::initializer_list<std::string_view> args) {
  std::string out;
  size_t next = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      out += text[i];
      continue;
    }
    // %s takes the next argument; %N$s the Nth, so that a translation may reorder them.
    size_t n = next;
    size_t end = i + 1;
    if (end + 2 < text.size() && text[end] >= '1' && text[end] <= '9' && text[end + 1] == '$') {
      n = static_cast<size_t>(text[end] - '1');
      end += 2;
    } else if (end < text.size() && text[end] == 's') {
      ++next;
    }
    if (end < text.size() && text[end] == 's' && n < args.size()) {
      out += args.begin()[n];
      i = end;
    } else {
      out += '%';
    }
  }
  return out;
}

}  // namespace vkd
