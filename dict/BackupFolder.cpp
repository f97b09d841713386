#include "BackupFolder.h"

#include <limits.h>
#include <stdlib.h>
#include <time.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace backupfolder {
namespace {

constexpr size_t kMaxBaseName = 200;

// FNV-1a, 32 bits: stable across builds and machines, which std::hash is not.
std::uint32_t Hash(std::string_view bytes) {
  std::uint32_t h = 2166136261u;
  for (unsigned char c : bytes) {
    h ^= c;
    h *= 16777619u;
  }
  return h;
}

std::string BaseNameOf(const std::string& path) {
  const auto slash = path.rfind('/');
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  if (name.size() <= kMaxBaseName) return name;
  size_t cut = kMaxBaseName;
  while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;
  return name.substr(0, cut);
}

}  // namespace

std::string Root() {
  const char* data = std::getenv("XDG_DATA_HOME");
  if (data && data[0] == '/') return std::string(data) + "/vokari/backups";
  const char* home = std::getenv("HOME");
  if (home && home[0] == '/') return std::string(home) + "/.local/share/vokari/backups";
  return std::string();
}

std::string RealPath(const std::string& file) {
  char resolved[PATH_MAX];
  if (realpath(file.c_str(), resolved)) return resolved;
  std::error_code ec;
  const auto absolute = std::filesystem::absolute(file, ec);
  return ec ? file : absolute.lexically_normal().string();
}

std::string FolderFor(const std::string& root, const std::string& realFile) {
  char hash[9];
  std::snprintf(hash, sizeof hash, "%08x", static_cast<unsigned>(Hash(realFile)));
  return root + "/" + BaseNameOf(realFile) + "-" + hash;
}

std::string NameAt(std::int64_t timeMs) {
  const time_t seconds = static_cast<time_t>(timeMs / 1000);
  struct tm utc {};
  gmtime_r(&seconds, &utc);
  char name[96];
  std::snprintf(name, sizeof name, "%04d%02d%02dT%02d%02d%02d.%03dZ.vkd", utc.tm_year + 1900,
                utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec,
                static_cast<int>(timeMs % 1000));
  return name;
}

std::optional<std::int64_t> TimeOf(std::string_view name) {
  // YYYYMMDDTHHMMSS.mmmZ.vkd
  if (name.size() != 24) return std::nullopt;
  int digits[17];
  int n = 0;
  for (size_t i = 0; i < name.size(); ++i) {
    const char c = name[i];
    const bool digit = c >= '0' && c <= '9';
    const bool wanted = i < 8 || (i >= 9 && i < 15) || (i >= 16 && i < 19);
    if (wanted != digit) return std::nullopt;
    if (digit) digits[n++] = c - '0';
  }
  if (name.substr(8, 1) != "T" || name.substr(15, 1) != "." || name.substr(19) != "Z.vkd")
    return std::nullopt;
  auto number = [&](int from, int count) {
    int v = 0;
    for (int i = from; i < from + count; ++i) v = v * 10 + digits[i];
    return v;
  };
  struct tm utc {};
  utc.tm_year = number(0, 4) - 1900;
  utc.tm_mon = number(4, 2) - 1;
  utc.tm_mday = number(6, 2);
  utc.tm_hour = number(8, 2);
  utc.tm_min = number(10, 2);
  utc.tm_sec = number(12, 2);
  if (utc.tm_mon > 11 || utc.tm_mday < 1 || utc.tm_mday > 31 || utc.tm_hour > 23 ||
      utc.tm_min > 59 || utc.tm_sec > 60)
    return std::nullopt;
  const time_t seconds = timegm(&utc);
  return static_cast<std::int64_t>(seconds) * 1000 + number(14, 3);
}

std::int64_t NowMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

}  // namespace backupfolder
