#include "Text.h"

#include "Cp932.h"

namespace vkd {
namespace {

// The single bytes glibc leaves out, with their UTF-8 forms from the platform's table.
struct Extra {
  unsigned char byte;
  std::string_view utf8;
};
constexpr Extra kExtras[] = {
    {0x80, "\xC2\x80"},     {0xA0, "\xEF\xA3\xB0"}, {0xFD, "\xEF\xA3\xB1"},
    {0xFE, "\xEF\xA3\xB2"}, {0xFF, "\xEF\xA3\xB3"},
};

const Extra* ExtraOf(unsigned char b) {
  for (const auto& e : kExtras)
    if (e.byte == b) return &e;
  return nullptr;
}

// Converts run (no extra bytes in it) and appends it; on failure, finds the first character
// that does not convert and either replaces it (lossy) or reports where it is.
bool AppendRun(std::string& out, std::string_view run, size_t base, bool lossy, size_t* bad) {
  if (run.empty()) return true;
  if (auto whole = cp932::ToUtf8(run)) {
    out += *whole;
    return true;
  }
  for (size_t i = 0; i < run.size();) {
    const size_t n = CharLen(Encoding::Cp932, run, i);
    if (auto part = cp932::ToUtf8(run.substr(i, n))) {
      out += *part;
    } else if (lossy) {
      out += "\xEF\xBF\xBD";
    } else {
      if (bad) *bad = base + i;
      return false;
    }
    i += n;
  }
  return true;
}

bool Append(std::string& out, std::string_view bytes, bool lossy, size_t* bad) {
  if (auto whole = cp932::ToUtf8(bytes)) {  // the usual case, in one call
    out += *whole;
    return true;
  }
  size_t start = 0;
  for (size_t i = 0; i < bytes.size();) {
    const size_t n = CharLen(Encoding::Cp932, bytes, i);
    const Extra* extra = n == 1 ? ExtraOf(static_cast<unsigned char>(bytes[i])) : nullptr;
    if (extra) {
      if (!AppendRun(out, bytes.substr(start, i - start), start, lossy, bad)) return false;
      out += extra->utf8;
      start = i + 1;
    }
    i += n;
  }
  return AppendRun(out, bytes.substr(start), start, lossy, bad);
}

}  // namespace

bool AppendUtf8(std::string& out, std::string_view bytes, size_t* badOffset) {
  return Append(out, bytes, false, badOffset);
}

void AppendUtf8Lossy(std::string& out, std::string_view bytes) {
  Append(out, bytes, true, nullptr);
}

std::optional<std::string> FromUtf8(std::string_view utf8) {
  if (auto whole = cp932::FromUtf8(utf8)) return whole;
  // Split at the extra characters, which no converter takes, and convert the pieces between.
  std::string out;
  size_t start = 0;
  for (size_t i = 0; i < utf8.size(); ++i) {
    for (const auto& e : kExtras) {
      if (utf8.substr(i, e.utf8.size()) != e.utf8) continue;
      auto piece = cp932::FromUtf8(utf8.substr(start, i - start));
      if (!piece) return std::nullopt;
      out += *piece;
      out += static_cast<char>(e.byte);
      i += e.utf8.size() - 1;
      start = i + 1;
      break;
    }
  }
  auto rest = cp932::FromUtf8(utf8.substr(start));
  if (!rest) return std::nullopt;
  return out + *rest;
}

}  // namespace vkd
