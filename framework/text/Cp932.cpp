#include "Cp932.h"

#include <cstdint>
#include <iterator>

#include "Cp932Tables.h"

namespace cp932 {
namespace {

using table::kNone;

constexpr std::uint16_t kReplacement = 0xFFFD;

// iconv stores ‾ (U+203E) as 0x7E, which every reader takes for '~': the text would change
// without a word. The code page has no overline, so it is refused like any character the code
// page lacks.
constexpr char32_t kOverline = 0x203E;

// The platform's single bytes and their characters.
struct PlatformSingle {
  unsigned char byte;
  char16_t c;
};
constexpr PlatformSingle kPlatformSingles[] = {
    {0x80, 0x0080}, {0xA0, 0xF8F0}, {0xFD, 0xF8F1}, {0xFE, 0xF8F2}, {0xFF, 0xF8F3}};

// The character that bytes[i] starts and its length in n: a lead byte takes the byte after it,
// when there is one. kNone when the bytes stand for no character.
std::uint16_t CharAt(std::string_view bytes, std::size_t i, Singles singles, std::size_t& n) {
  const auto b = static_cast<unsigned char>(bytes[i]);
  if (IsLeadByte(b) && i + 1 < bytes.size()) {
    n = 2;
    const auto trail = static_cast<unsigned char>(bytes[i + 1]);
    return trail < 0x40 ? kNone : table::kPairs[table::PairIndex(b, trail)];
  }
  n = 1;
  const std::uint16_t c = table::kSingle[b];
  if (c == kNone && singles == Singles::kPlatform)
    for (const PlatformSingle& s : kPlatformSingles)
      if (s.byte == b) return s.c;
  return c;
}

// The code of c (below 0x100 one byte, else two), kNothing, or kNone.
std::uint16_t CodeOf(char32_t c, Singles singles) {
  if (c > 0xFFFF)
    return c >= table::kDropped[0] && c <= table::kDropped[1] ? table::kNothing : kNone;
  if (c == kOverline) return kNone;
  const std::uint16_t code = table::kPages[table::kPageOf[c >> 8]][c & 0xFF];
  if (code == kNone && singles == Singles::kPlatform)
    for (const PlatformSingle& s : kPlatformSingles)
      if (s.c == c) return s.byte;
  return code;
}

constexpr bool IsSurrogate(char32_t c) {
  return c >= 0xD800 && c <= 0xDFFF;
}

// The code point of the well-formed UTF-8 character at p (before end) and its length in n;
// false for bytes that are not one. Overlong forms, surrogates and values past U+10FFFF are
// refused, as iconv refuses them.
bool DecodeUtf8(const unsigned char* p, const unsigned char* end, char32_t& c, std::size_t& n) {
  const unsigned char b = p[0];
  unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
  if (b < 0x80) {
    c = b;
    n = 1;
    return true;
  } else if (b >= 0xC2 && b <= 0xDF) {
    n = 2;
    c = b & 0x1F;
  } else if (b >= 0xE0 && b <= 0xEF) {
    n = 3;
    c = b & 0x0F;
    if (b == 0xE0) low = 0xA0;
    if (b == 0xED) high = 0x9F;
  } else if (b >= 0xF0 && b <= 0xF4) {
    n = 4;
    c = b & 0x07;
    if (b == 0xF0) low = 0x90;
    if (b == 0xF4) high = 0x8F;
  } else {
    return false;
  }
  if (static_cast<std::size_t>(end - p) < n || p[1] < low || p[1] > high) return false;
  for (std::size_t i = 1; i < n; ++i) {
    if ((p[i] & 0xC0) != 0x80) return false;
    c = (c << 6) | (p[i] & 0x3F);
  }
  return true;
}

// Appends to a string through a buffer of its own, so that a character costs no more than a
// store; Cancel puts the string back as it was.
class Appender {
 public:
  explicit Appender(std::string& out) : m_out(out), m_before(out.size()) {}
  ~Appender() { Flush(); }
  Appender(const Appender&) = delete;
  Appender& operator=(const Appender&) = delete;

  void Code(std::uint16_t code) {
    if (code == table::kNothing) return;
    Room(2);
    if (code > 0xFF) *m_next++ = static_cast<char>(code >> 8);
    *m_next++ = static_cast<char>(code & 0xFF);
  }
  void Utf8(std::uint16_t c) {
    Room(3);
    if (c < 0x80) {
      *m_next++ = static_cast<char>(c);
    } else if (c < 0x800) {
      *m_next++ = static_cast<char>(0xC0 | (c >> 6));
      *m_next++ = static_cast<char>(0x80 | (c & 0x3F));
    } else {
      *m_next++ = static_cast<char>(0xE0 | (c >> 12));
      *m_next++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      *m_next++ = static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  bool Cancel() {
    m_next = m_buffer;
    m_out.resize(m_before);
    return false;
  }

 private:
  void Room(std::size_t n) {
    if (static_cast<std::size_t>(std::end(m_buffer) - m_next) < n) Flush();
  }
  void Flush() {
    m_out.append(m_buffer, static_cast<std::size_t>(m_next - m_buffer));
    m_next = m_buffer;
  }

  std::string& m_out;
  std::size_t m_before;
  char m_buffer[1024];
  char* m_next = m_buffer;
};

}  // namespace

bool AppendFromUtf8(std::string& out, std::string_view utf8, Singles singles) {
  // No character takes more bytes in code page 932 than in UTF-8, so the room is made once.
  const std::size_t before = out.size();
  out.resize(before + utf8.size());
  char* dst = out.data() + before;
  const std::uint16_t* ascii = table::kPages[table::kPageOf[0]];
  const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
  const auto* end = p + utf8.size();
  while (p < end) {
    if (*p < 0x80 && ascii[*p] == *p) {  // the same in both
      *dst++ = static_cast<char>(*p++);
      continue;
    }
    char32_t c;
    std::size_t n = 1;
    const std::uint16_t code = DecodeUtf8(p, end, c, n) ? CodeOf(c, singles) : kNone;
    p += n;
    if (code >= table::kNothing) {
      if (code == table::kNothing) continue;
      out.resize(before);
      return false;
    }
    if (code > 0xFF) *dst++ = static_cast<char>(code >> 8);
    *dst++ = static_cast<char>(code & 0xFF);
  }
  out.resize(static_cast<std::size_t>(dst - out.data()));
  return true;
}

bool AppendToUtf8(std::string& out, std::string_view bytes, Singles singles,
                  std::size_t* badOffset) {
  Appender to(out);
  for (std::size_t i = 0, n = 0; i < bytes.size(); i += n) {
    const std::uint16_t c = CharAt(bytes, i, singles, n);
    if (c == kNone) {
      if (badOffset) *badOffset = i;
      return to.Cancel();
    }
    to.Utf8(c);
  }
  return true;
}

std::optional<std::string> FromUtf8(std::string_view utf8) {
  std::string out;
  if (!AppendFromUtf8(out, utf8)) return std::nullopt;
  return out;
}

std::optional<std::string> ToUtf8(std::string_view bytes) {
  std::string out;
  if (!AppendToUtf8(out, bytes)) return std::nullopt;
  return out;
}

std::string ToUtf8Lossy(std::string_view bytes) {
  std::string out;
  {
    Appender to(out);
    for (std::size_t i = 0, n = 0; i < bytes.size(); i += n) {
      const std::uint16_t c = CharAt(bytes, i, Singles::kRefused, n);
      to.Utf8(c == kNone ? kReplacement : c);
    }
  }
  return out;
}

std::size_t ToUtf16Lossy(std::string_view bytes, char16_t* out) {
  char16_t* to = out;
  for (std::size_t i = 0, n = 0; i < bytes.size(); i += n) {
    const std::uint16_t c = CharAt(bytes, i, Singles::kRefused, n);
    *to++ = static_cast<char16_t>(c == kNone ? kReplacement : c);
  }
  return static_cast<std::size_t>(to - out);
}

std::optional<std::string> FromUtf16(std::u16string_view utf16) {
  std::string out;
  {
    Appender to(out);
    for (std::size_t i = 0; i < utf16.size(); ++i) {
      char32_t c = utf16[i];
      if (IsSurrogate(c)) {  // a pair of them, high then low, or nothing
        const char32_t low = i + 1 < utf16.size() ? utf16[i + 1] : 0;
        if (c > 0xDBFF || !IsSurrogate(low) || low < 0xDC00) return std::nullopt;
        c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
        ++i;
      }
      const std::uint16_t code = CodeOf(c, Singles::kRefused);
      if (code == kNone) return std::nullopt;
      to.Code(code);
    }
  }
  return out;
}

}  // namespace cp932
