#include "Cp932Encoder.h"

#include "Cp932.h"
#include "Text.h"

namespace vkd {
namespace {

bool IsContinuation(unsigned char b) {
  return (b & 0xC0) == 0x80;
}

// The code point of the well-formed UTF-8 character at p (before end) and its length in n;
// false for bytes that are not one. Overlong forms, surrogates and values past U+10FFFF are
// refused, as every strict reader refuses them.
bool Decode(const unsigned char* p, const unsigned char* end, char32_t& cp, size_t& n) {
  const unsigned char b = p[0];
  if (b < 0x80) {
    cp = b;
    n = 1;
    return true;
  }
  unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
  if (b >= 0xC2 && b <= 0xDF) {
    n = 2;
    cp = b & 0x1F;
  } else if (b >= 0xE0 && b <= 0xEF) {
    n = 3;
    cp = b & 0x0F;
    if (b == 0xE0) low = 0xA0;
    if (b == 0xED) high = 0x9F;
  } else if (b >= 0xF0 && b <= 0xF4) {
    n = 4;
    cp = b & 0x07;
    if (b == 0xF0) low = 0x90;
    if (b == 0xF4) high = 0x8F;
  } else {
    return false;
  }
  if (static_cast<size_t>(end - p) < n || p[1] < low || p[1] > high) return false;
  for (size_t i = 1; i < n; ++i) {
    if (!IsContinuation(p[i])) return false;
    cp = (cp << 6) | (p[i] & 0x3F);
  }
  return true;
}

std::string Utf8Of(char32_t cp) {
  std::string s;
  if (cp < 0x80) {
    s += static_cast<char>(cp);
  } else if (cp < 0x800) {
    s += static_cast<char>(0xC0 | (cp >> 6));
    s += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    s += static_cast<char>(0xE0 | (cp >> 12));
    s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    s += static_cast<char>(0x80 | (cp & 0x3F));
  }
  return s;
}

}  // namespace

// The code of one character's bytes: one byte as it is, two as lead * 256 + trail.
std::uint16_t Cp932Encoder::CodeOf(std::string_view bytes) {
  if (bytes.empty() || bytes.size() > 2) return kNone;
  std::uint16_t code = 0;
  for (unsigned char b : bytes) code = static_cast<std::uint16_t>((code << 8) | b);
  return code;
}

const Cp932Encoder::Page& Cp932Encoder::Fill(char32_t cp) {
  std::unique_ptr<Page>& page = m_pages[cp >> 8];
  page = std::make_unique<Page>();
  const char32_t first = cp & ~char32_t{0xFF};
  std::string bytes;
  for (char32_t c = first; c < first + 256; ++c) {
    bytes.clear();
    const bool surrogate = c >= 0xD800 && c <= 0xDFFF;
    const bool ok = !surrogate && AppendFromUtf8ByConverter(bytes, Utf8Of(c));
    (*page)[c - first] = ok ? CodeOf(bytes) : kNone;
  }
  return *page;
}

bool Cp932Encoder::Append(std::string& out, std::string_view utf8) {
  // No character takes more bytes in code page 932 than in UTF-8.
  if (m_room < utf8.size()) {
    m_scratch = std::make_unique_for_overwrite<char[]>(utf8.size());
    m_room = utf8.size();
  }
  auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
  const auto* end = p + utf8.size();
  char* dst = m_scratch.get();
  const Page& ascii = PageOf(0);
  while (p < end) {
    if (*p < 0x80 && ascii[*p] == *p) {  // ASCII, the same in both
      *dst++ = static_cast<char>(*p++);
      continue;
    }
    char32_t cp;
    size_t n;
    if (!Decode(p, end, cp, n)) return false;
    if (cp > 0xFFFF) {  // beyond the table: the code page has nothing there, but ask
      std::string bytes;
      if (!AppendFromUtf8ByConverter(bytes,
                                     std::string_view(reinterpret_cast<const char*>(p), n)) ||
          bytes.size() > n)
        return false;
      for (char c : bytes) *dst++ = c;
    } else {
      const std::uint16_t code = PageOf(cp)[cp & 0xFF];
      if (code == kNone) return false;
      if (code > 0xFF) *dst++ = static_cast<char>(code >> 8);
      *dst++ = static_cast<char>(code & 0xFF);
    }
    p += n;
  }
  out.append(m_scratch.get(), static_cast<size_t>(dst - m_scratch.get()));
  return true;
}

}  // namespace vkd
