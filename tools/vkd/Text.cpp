#include "Text.h"

#include "Cp932.h"
#include "Cp932Encoder.h"

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

// The extra character whose UTF-8 form starts at i, if any.
const Extra* ExtraAt(std::string_view utf8, size_t i) {
  for (const auto& e : kExtras)
    if (utf8.substr(i, e.utf8.size()) == e.utf8) return &e;
  return nullptr;
}

const Extra* ExtraOf(unsigned char b) {
  for (const auto& e : kExtras)
    if (e.byte == b) return &e;
  return nullptr;
}

// Converts run (no extra bytes in it) and appends it; on failure, finds the first character
// that does not convert and either replaces it (lossy) or reports where it is.
bool AppendRun(std::string& out, std::string_view run, size_t base, bool lossy, size_t* bad) {
  if (run.empty() || cp932::AppendToUtf8(out, run)) return true;
  for (size_t i = 0; i < run.size();) {
    const size_t n = CharLen(Encoding::Cp932, run, i);
    if (cp932::AppendToUtf8(out, run.substr(i, n))) {
      // converted
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
  if (cp932::AppendToUtf8(out, bytes)) return true;  // the usual case, in one call
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

bool AppendFromUtf8(std::string& out, std::string_view utf8) {
  thread_local Cp932Encoder encoder;
  return encoder.Append(out, utf8);
}

bool AppendFromUtf8ByConverter(std::string& out, std::string_view utf8) {
  if (cp932::AppendFromUtf8(out, utf8)) return true;  // the usual case, in one call
  // Split at the extra characters, which no converter takes, and convert the pieces between.
  const size_t before = out.size();
  size_t start = 0;
  bool ok = true;
  for (size_t i = 0; ok && i < utf8.size(); ++i) {
    const Extra* extra = ExtraAt(utf8, i);
    if (!extra) continue;
    ok = cp932::AppendFromUtf8(out, utf8.substr(start, i - start));
    out += static_cast<char>(extra->byte);
    i += extra->utf8.size() - 1;
    start = i + 1;
  }
  if (ok && cp932::AppendFromUtf8(out, utf8.substr(start))) return true;
  out.resize(before);
  return false;
}

std::optional<std::string> FromUtf8(std::string_view utf8) {
  std::string out;
  if (!AppendFromUtf8(out, utf8)) return std::nullopt;
  return out;
}

}  // namespace vkd
