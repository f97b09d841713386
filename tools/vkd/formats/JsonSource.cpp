#include "JsonSource.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>

#include "Cp932.h"

namespace vkd {
namespace {

// Writes a code point of plane 15 (four bytes) as UTF-8 at out and returns the end.
char* PutPlane15(char* out, unsigned code) {
  const unsigned cp = 0xF0000 + code;
  *out++ = static_cast<char>(0xF0 | (cp >> 18));
  *out++ = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
  *out++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
  *out++ = static_cast<char>(0x80 | (cp & 0x3F));
  return out;
}

}  // namespace

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

bool JsonSource::AppendBytes(std::string_view text, std::string& out) const {
  if (m_enc == Encoding::Utf8) return AppendFromUtf8(out, text);
  const size_t at = out.size();
  out.resize(at + text.size());  // no character takes more bytes in code page 932 than in UTF-8
  char* p = out.data() + at;
  for (size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    const size_t n = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    if (n == 1) {
      *p++ = static_cast<char>(c);
    } else if (n == 4 && c == 0xF3 && static_cast<unsigned char>(text[i + 1]) >= 0xB0) {
      const unsigned cp = ((c & 7u) << 18) | ((text[i + 1] & 0x3Fu) << 12) |
                          ((text[i + 2] & 0x3Fu) << 6) | (text[i + 3] & 0x3Fu);
      if (cp >= 0xF0100) *p++ = static_cast<char>((cp >> 8) & 0xFF);
      *p++ = static_cast<char>(cp & 0xFF);
    } else {
      const auto bytes = FromUtf8(text.substr(i, n));
      if (!bytes) return out.resize(at), false;
      p = std::copy(bytes->begin(), bytes->end(), p);
    }
    i += n;
  }
  out.resize(static_cast<size_t>(p - out.data()));
  return true;
}

// A long string goes over a piece at a time, and the pieces done are given back to the system:
// the parser has taken the string off its stack before it tells of it, so those bytes are dead,
// and a long string is held about once rather than twice.
bool JsonSource::TakeString(std::string_view parsed, std::string& out) const {
  constexpr size_t kPiece = 1 << 20;
  out.clear();
  if (parsed.size() > 2 * kPiece) {
    // Room for at most two bytes a character, taking memory only as it is written.
    size_t most = 0;
    for (const char c : parsed)
      most += IsContinuation(c) ? 0 : static_cast<unsigned char>(c) < 0x80 ? 1 : 2;
    out.reserve(most + kPiece + 4);  // each piece asks for room for its own size first
  }
  const auto page = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
  auto released = (reinterpret_cast<uintptr_t>(parsed.data()) + page - 1) & ~(page - 1);
  for (size_t at = 0; at < parsed.size();) {
    size_t end = std::min(parsed.size(), at + kPiece);
    while (end < parsed.size() && IsContinuation(parsed[end])) ++end;  // whole characters
    if (!AppendBytes(parsed.substr(at, end - at), out)) return false;
    at = end;
    const auto done = reinterpret_cast<uintptr_t>(parsed.data() + at) & ~(page - 1);
    if (parsed.size() > 2 * kPiece && done > released) {
      madvise(reinterpret_cast<void*>(released), done - released, MADV_DONTNEED);
      released = done;
    }
  }
  return true;
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

// Code page 932 input goes in its plane-15 form, a block of the reader's at a time.
bool JsonSource::LoadCp932() {
  const std::string_view ahead = m_in.Ahead();
  if (ahead.empty()) return false;
  if (m_window.size() < 4 * ahead.size()) m_window.resize(4 * ahead.size());
  char* out = m_window.data();
  size_t i = 0;
  while (i < ahead.size()) {
    const auto c = static_cast<unsigned char>(ahead[i]);
    if (c < 0x80) {
      *out++ = static_cast<char>(c);
      ++i;
    } else if (!cp932::IsLeadByte(c)) {
      out = PutPlane15(out, c);
      ++i;
    } else if (i + 1 == ahead.size()) {
      break;  // its trail byte may be in the next block
    } else {
      const auto trail = static_cast<unsigned char>(ahead[i + 1]);
      const bool pair = cp932::IsTrailByte(trail);
      out = PutPlane15(out, pair ? (c << 8) | trail : c);
      i += pair ? 2 : 1;
    }
  }
  m_in.Skip(i);
  if (i < ahead.size()) out = PutLastLead(out);
  SetWindow(m_window.data(), out);
  return true;
}

// The lead byte that ends a block, with the first byte of the next block if that is its trail.
char* JsonSource::PutLastLead(char* out) {
  const auto lead = static_cast<unsigned>(m_in.Get());
  const int trail = m_in.Peek();
  if (trail >= 0 && cp932::IsTrailByte(static_cast<unsigned char>(trail)))
    return PutPlane15(out, (lead << 8) | static_cast<unsigned>(m_in.Get()));
  return PutPlane15(out, lead);
}

// The window ends where digits are to be dropped.
void JsonSource::SetWindow(const char* begin, const char* end) {
  m_start = m_next = begin;
  m_loaded = end;
  m_end = begin + m_digits.Scan(std::string_view(begin, static_cast<size_t>(end - begin)));
}

}  // namespace vkd
