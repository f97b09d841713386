#include "Cp932.h"

#include <iconv.h>

#include <cerrno>
#include <stdexcept>

namespace cp932 {
namespace {

// One conversion through iconv; nullopt on any invalid or unconvertible input.
std::optional<std::string> Convert(const char* to, const char* from, const char* data,
                                   size_t size) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1))
    throw std::runtime_error("iconv: CP932 is not available");
  std::string out;
  out.resize(size * 2 + 8);
  char* in = const_cast<char*>(data);
  size_t inLeft = size;
  size_t done = 0;
  bool ok = true;
  while (inLeft > 0) {
    char* dst = out.data() + done;
    size_t outLeft = out.size() - done;
    size_t r = iconv(cd, &in, &inLeft, &dst, &outLeft);
    done = out.size() - outLeft;
    if (r == static_cast<size_t>(-1)) {
      if (errno == E2BIG) {
        out.resize(out.size() * 2);
        continue;
      }
      ok = false;
      break;
    }
    if (r != 0) {  // irreversible conversions count as failures: never invent a '?'
      ok = false;
      break;
    }
  }
  iconv_close(cd);
  if (!ok) return std::nullopt;
  out.resize(done);
  return out;
}

// The converter stores ‾ (U+203E) as 0x7E, which every reader takes for '~': the text would
// change without a word. The code page has no overline, so it is refused like any character
// the code page lacks.
constexpr char16_t kOverline = 0x203E;
constexpr std::string_view kOverlineUtf8 = "\xE2\x80\xBE";

}  // namespace

std::optional<std::string> FromUtf8(std::string_view utf8) {
  // 0xE2 only ever starts a character, so this finds the overline and nothing else.
  if (utf8.find(kOverlineUtf8) != std::string_view::npos) return std::nullopt;
  return Convert("CP932", "UTF-8", utf8.data(), utf8.size());
}

std::optional<std::string> ToUtf8(std::string_view bytes) {
  return Convert("UTF-8", "CP932", bytes.data(), bytes.size());
}

std::string ToUtf8Lossy(std::string_view bytes) {
  if (auto whole = ToUtf8(bytes)) return *whole;
  std::string out;
  size_t i = 0;
  while (i < bytes.size()) {
    size_t n = IsLeadByte(static_cast<unsigned char>(bytes[i])) && i + 1 < bytes.size() ? 2 : 1;
    if (auto part = ToUtf8(bytes.substr(i, n)))
      out += *part;
    else
      out += "\xEF\xBF\xBD";
    i += n;
  }
  return out;
}

std::optional<std::string> FromUtf16(std::u16string_view utf16) {
  if (utf16.find(kOverline) != std::u16string_view::npos) return std::nullopt;
  return Convert("CP932", "UTF-16LE", reinterpret_cast<const char*>(utf16.data()),
                 utf16.size() * 2);
}

}  // namespace cp932
