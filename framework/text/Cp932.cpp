#include "Cp932.h"

#include <iconv.h>

#include <memory>
#include <stdexcept>

namespace cp932 {
namespace {

// One direction of conversion, opened once per thread and reused: opening a converter costs
// more than converting a short string.
class Converter {
 public:
  Converter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {
    if (m_cd == reinterpret_cast<iconv_t>(-1))
      throw std::runtime_error("iconv: CP932 is not available");
  }
  ~Converter() { iconv_close(m_cd); }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Appends the converted form of data to out; false, with out as it was, on any invalid or
  // unconvertible input. maxGrowth bounds the output bytes per input byte, so that the whole
  // conversion is one call: an irreversible conversion is only ever counted by a call that
  // finishes, and it counts as a failure, so that a '?' is never invented.
  bool Append(std::string& out, const char* data, size_t size, size_t maxGrowth) {
    const size_t room = size * maxGrowth + 8;
    // The result is made in a buffer kept from call to call and then copied once: a string's
    // own room would be cleared first, and fresh memory for every long text costs more still.
    if (m_room < room) {
      m_scratch = std::make_unique_for_overwrite<char[]>(room);
      m_room = room;
    }
    iconv(m_cd, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
    char* in = const_cast<char*>(data);
    size_t inLeft = size;
    char* dst = m_scratch.get();
    size_t outLeft = room;
    const size_t r = iconv(m_cd, &in, &inLeft, &dst, &outLeft);
    const bool ok = r == 0 && inLeft == 0;
    if (ok) out.append(m_scratch.get(), room - outLeft);
    if (m_room > kKeptRoom) {  // a rare long text does not hold its room for good
      m_scratch.reset();
      m_room = 0;
    }
    return ok;
  }

 private:
  static constexpr size_t kKeptRoom = 1 << 20;
  iconv_t m_cd;
  std::unique_ptr<char[]> m_scratch;
  size_t m_room = 0;
};

Converter& FromUtf8Converter() {
  thread_local Converter c("CP932", "UTF-8");
  return c;
}
Converter& ToUtf8Converter() {
  thread_local Converter c("UTF-8", "CP932");
  return c;
}

// A conversion into a string of its own, sized to its result.
template <typename Append>
std::optional<std::string> Converted(Append append) {
  std::string out;
  if (!append(out)) return std::nullopt;
  return out;
}

// The converter stores ‾ (U+203E) as 0x7E, which every reader takes for '~': the text would
// change without a word. The code page has no overline, so it is refused like any character
// the code page lacks.
constexpr char16_t kOverline = 0x203E;
constexpr std::string_view kOverlineUtf8 = "\xE2\x80\xBE";

}  // namespace

bool AppendFromUtf8(std::string& out, std::string_view utf8) {
  // 0xE2 only ever starts a character, so this finds the overline and nothing else.
  if (utf8.find(kOverlineUtf8) != std::string_view::npos) return false;
  // A character takes no more bytes in code page 932 than in UTF-8.
  return FromUtf8Converter().Append(out, utf8.data(), utf8.size(), 1);
}

bool AppendToUtf8(std::string& out, std::string_view bytes) {
  // A single byte (half-width katakana) can take three bytes in UTF-8.
  return ToUtf8Converter().Append(out, bytes.data(), bytes.size(), 3);
}

std::optional<std::string> FromUtf8(std::string_view utf8) {
  return Converted([&](std::string& out) { return AppendFromUtf8(out, utf8); });
}

std::optional<std::string> ToUtf8(std::string_view bytes) {
  return Converted([&](std::string& out) { return AppendToUtf8(out, bytes); });
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
  thread_local Converter converter("CP932", "UTF-16LE");
  return Converted([&](std::string& out) {
    // Two bytes of UTF-16 never take more than two in code page 932.
    return converter.Append(out, reinterpret_cast<const char*>(utf16.data()), utf16.size() * 2, 1);
  });
}

}  // namespace cp932
