#include "JsonDigits.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace vkd {
namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// The offset of the first c in bytes from i on, or bytes.size().
size_t Find(std::string_view bytes, char c, size_t i) {
  if (i >= bytes.size()) return bytes.size();  // an empty window may have no data at all
  const void* p = std::memchr(bytes.data() + i, c, bytes.size() - i);
  return p ? static_cast<size_t>(static_cast<const char*>(p) - bytes.data()) : bytes.size();
}

}  // namespace

// An integer part of 64 digits stays far below the largest double, and an exponent of two
// digits below the largest exponent, however many digits the fraction has.
size_t JsonDigits::Scan(std::string_view bytes) {
  // Inside strings it leaps from one quote or backslash to the next (memchr), remembering where
  // each next one is.
  size_t quote = Find(bytes, '"', 0), backslash = Find(bytes, '\\', 0);
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (m_inString) {
      if (m_escaped) {
        m_escaped = false;
        continue;
      }
      if (quote < i) quote = Find(bytes, '"', i);
      if (backslash < i) backslash = Find(bytes, '\\', i);
      i = std::min(quote, backslash);
      if (i == bytes.size()) break;
      if (bytes[i] == '"')
        m_inString = false;
      else
        m_escaped = true;
      continue;
    }
    const char c = bytes[i];
    if (IsDigit(c)) {
      if (m_run == Run::None) {
        m_run = RunAfter();
        m_digits = 0;
      }
      const size_t longest = m_run == Run::Integer ? 64 : m_run == Run::Exponent ? 2 : SIZE_MAX;
      if (++m_digits > longest) {
        m_dropping = true;
        return i;
      }
      continue;
    }
    m_run = Run::None;
    m_inString = c == '"';
    m_beforeLast = m_last;
    m_last = c;
  }
  return bytes.size();
}

size_t JsonDigits::Drop(std::string_view bytes) {
  size_t n = 0;
  while (n < bytes.size() && IsDigit(bytes[n])) ++n;
  if (n < bytes.size()) m_dropping = false;
  return n;
}

JsonDigits::Run JsonDigits::RunAfter() const {
  if (m_last == '.') return Run::Fraction;
  const bool afterE = m_last == 'e' || m_last == 'E';
  const bool afterSignedE =
      (m_last == '+' || m_last == '-') && (m_beforeLast == 'e' || m_beforeLast == 'E');
  return afterE || afterSignedE ? Run::Exponent : Run::Integer;
}

}  // namespace vkd
