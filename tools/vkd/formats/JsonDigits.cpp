#include "JsonDigits.h"

#include <cstdint>

namespace vkd {
namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

}  // namespace

// An integer part of 64 digits stays far below the largest double, and an exponent of two
// digits below the largest exponent, however many digits the fraction has.
size_t JsonDigits::Scan(std::string_view bytes) {
  for (size_t i = 0; i < bytes.size(); ++i) {
    const char c = bytes[i];
    if (m_inString) {
      if (m_escaped)
        m_escaped = false;
      else if (c == '\\')
        m_escaped = true;
      else if (c == '"')
        m_inString = false;
      continue;
    }
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
