#include "JsonSource.h"

#include <algorithm>
#include <cstring>

#include "Cp932.h"

namespace vkd {
namespace {

// Writes a byte pair in the parser's form at out and returns the end.
char* PutPair(char* out, unsigned lead, unsigned trail) {
  *out++ = static_cast<char>(trail < 0x80 ? kPairLowTrail : kPair);
  *out++ = static_cast<char>(lead);
  *out++ = static_cast<char>(trail | 0x80);
  return out;
}

// Writes a byte that is no pair's in the parser's form at out and returns the end; next is the
// byte after it (-1 at the end). A lead byte goes marked, and so does a byte that would begin a
// UTF-8 sequence with the byte after it, which then goes as it is.
char* PutByte(char* out, unsigned c, int next) {
  const bool marked =
      cp932::IsLeadByte(static_cast<unsigned char>(c)) ||
      (c >= 0xC2 && c <= 0xF4 && next >= 0 && IsContinuation(static_cast<char>(next)) &&
       !cp932::IsLeadByte(static_cast<unsigned char>(next)));
  if (marked) *out++ = static_cast<char>(kByte);
  *out++ = static_cast<char>(c);
  return out;
}

// The bytes of a UTF-8 sequence that starts at text[i], or 0 where none does.
size_t Utf8Length(std::string_view text, size_t i) {
  const auto c = static_cast<unsigned char>(text[i]);
  const size_t n = c >= 0xC2 && c < 0xE0   ? 2
                   : c >= 0xE0 && c < 0xF0 ? 3
                   : c >= 0xF0 && c < 0xF5 ? 4
                                           : 0;
  if (n == 0 || i + n > text.size()) return 0;
  for (size_t k = 1; k < n; ++k)
    if (!IsContinuation(text[i + k])) return 0;
  return n;
}

// The code page 932 bytes of the parser's form, and of the UTF-8 of \\u escapes in it.
bool AppendForm(std::string_view text, std::string& out) {
  const size_t at = out.size();
  out.resize(at + text.size());  // no character takes more bytes in code page 932 than here
  char* p = out.data() + at;
  for (size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    const size_t utf8 = c >= 0x80 ? Utf8Length(text, i) : 0;
    if (c == kPairLowTrail || c == kPair) {
      *p++ = text[i + 1];
      *p++ = static_cast<char>(c == kPair ? text[i + 2] : text[i + 2] & 0x7F);
      i += 3;
    } else if (c == kByte) {
      *p++ = text[i + 1];
      i += 2;
    } else if (utf8 == 4 && c == 0xF3 && static_cast<unsigned char>(text[i + 1]) >= 0xB0) {
      // a private-use character of plane 15, from a \u escape: the bytes it stands for
      const unsigned cp = ((c & 7u) << 18) | ((text[i + 1] & 0x3Fu) << 12) |
                          ((text[i + 2] & 0x3Fu) << 6) | (text[i + 3] & 0x3Fu);
      if (cp >= 0xF0100) *p++ = static_cast<char>((cp >> 8) & 0xFF);
      *p++ = static_cast<char>(cp & 0xFF);
      i += 4;
    } else if (utf8 > 0) {  // the UTF-8 of a \u escape
      const auto bytes = FromUtf8(text.substr(i, utf8));
      if (!bytes) return out.resize(at), false;
      p = std::copy(bytes->begin(), bytes->end(), p);
      i += utf8;
    } else {
      *p++ = static_cast<char>(c);
      ++i;
    }
  }
  out.resize(static_cast<size_t>(p - out.data()));
  return true;
}

// The form cannot be read backwards: go over whole characters from the start.
size_t FormWholeEnd(std::string_view bytes) {
  size_t i = 0;
  while (i < bytes.size() - 4) {
    const size_t utf8 = Utf8Length(bytes, i);
    i += utf8 > 0 ? utf8 : Cp932FormLength(bytes, i);
  }
  return i;
}

constexpr FieldText::Decoder kForm{AppendForm, FormWholeEnd};

}  // namespace

JsonSource::JsonSource(InputReader& in, Encoding enc)
    : m_in(in),
      m_enc(enc),
      m_base(enc == Encoding::Cp932),
      m_text(enc == Encoding::Cp932 ? FieldText(&kForm) : FieldText(enc)) {}

std::optional<std::string_view> JsonSource::Key() {
  if (m_state != FieldText::State::Whole) return std::nullopt;
  return m_text.Bytes().view();
}

bool JsonSource::TakeString(TextBuffer& out) {
  if (m_state != FieldText::State::Whole) return false;
  out.swap(m_text.Bytes());
  return true;
}

Position JsonSource::Last(bool withNext) {
  return Now(withNext).Last();
}

Position JsonSource::LastSolid(bool withNext) {
  return Now(withNext).LastSolid();
}

Progress JsonSource::Now(bool withNext) {
  const bool next = withNext && !AtEnd();
  Progress now = m_base;
  now.Over(std::string_view(m_start, static_cast<size_t>(m_next - m_start) + next));
  return now;
}

// Counts the window just used up and takes the next one; false at the end of the input. Out
// of line, so that the parser's path for each byte stays small enough to be inlined.
bool JsonSource::NextWindow() {
  for (;;) {
    Count(m_start, m_end);
    const char* next = m_end;
    if (m_digits.Dropping()) {
      const size_t n = m_digits.Drop(std::string_view(next, static_cast<size_t>(m_loaded - next)));
      Count(next, next + n);
      next += n;
    }
    if (next < m_loaded)
      SetWindow(next, m_loaded);
    else if (!(m_enc == Encoding::Utf8 ? LoadUtf8() : LoadCp932()))
      return SetWindow(next, next), false;
    if (m_next < m_end) return true;
  }
}

void JsonSource::Count(const char* begin, const char* end) {
  m_base.Over(std::string_view(begin, static_cast<size_t>(end - begin)));
  m_before += static_cast<size_t>(end - begin);
}

// UTF-8 input goes to the parser as it is, straight from the reader's buffer.
bool JsonSource::LoadUtf8() {
  const std::string_view ahead = m_in.Ahead();
  m_in.Skip(ahead.size());
  SetWindow(ahead.data(), ahead.data() + ahead.size());
  return !ahead.empty();
}

// Code page 932 input goes in the parser's form, a block of the reader's at a time.
bool JsonSource::LoadCp932() {
  const std::string_view ahead = m_in.Ahead();
  if (ahead.empty()) return false;
  if (m_window.size() < 2 * ahead.size() + 4) m_window.resize(2 * ahead.size() + 4);
  char* out = m_window.data();
  size_t i = 0;
  while (i < ahead.size()) {
    const auto c = static_cast<unsigned char>(ahead[i]);
    if (c < 0x80) {
      *out++ = static_cast<char>(c);
      ++i;
    } else if (i + 1 == ahead.size()) {
      break;  // the byte after it, which decides its form, is in the next block
    } else {
      const auto next = static_cast<unsigned char>(ahead[i + 1]);
      const bool pair = cp932::IsLeadByte(c) && cp932::IsTrailByte(next);
      out = pair ? PutPair(out, c, next) : PutByte(out, c, next);
      i += pair ? 2 : 1;
    }
  }
  m_in.Skip(i);
  if (i < ahead.size()) out = PutLastByte(out);
  SetWindow(m_window.data(), out);
  return true;
}

// The byte that ends a block, with the first byte of the next block if that is its trail.
char* JsonSource::PutLastByte(char* out) {
  const auto c = static_cast<unsigned>(m_in.Get());
  const int next = m_in.Peek();
  if (next >= 0 && cp932::IsLeadByte(static_cast<unsigned char>(c)) &&
      cp932::IsTrailByte(static_cast<unsigned char>(next)))
    return PutPair(out, c, static_cast<unsigned>(m_in.Get()));
  return PutByte(out, c, next);
}

// The window ends where digits are to be dropped.
void JsonSource::SetWindow(const char* begin, const char* end) {
  m_start = m_next = begin;
  m_loaded = end;
  m_end = begin + m_digits.Scan(std::string_view(begin, static_cast<size_t>(end - begin)));
}

}  // namespace vkd
