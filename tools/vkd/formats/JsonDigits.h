// Where the digits of a JSON number grow longer than any value needs. The import uses no
// number's value, but RapidJSON refuses numbers that a double cannot hold (1e400, a 400-digit
// integer), so the source drops the digits past the first few of a run before the parser sees
// them. It follows strings only as far as needed to tell their digits from a number's, and
// leaves every other fault of the text to the parser.
#pragma once

#include <cstddef>
#include <string_view>

namespace vkd {

class JsonDigits {
 public:
  // Reads on through bytes; the offset of the first digit to be dropped, or bytes.size().
  size_t Scan(std::string_view bytes);
  // How many bytes at the start of bytes are digits still to be dropped.
  size_t Drop(std::string_view bytes);
  bool Dropping() const { return m_dropping; }

 private:
  enum class Run : unsigned char { None, Integer, Fraction, Exponent };
  Run RunAfter() const;

  bool m_inString = false;
  bool m_escaped = false;
  bool m_dropping = false;
  Run m_run = Run::None;
  size_t m_digits = 0;
  char m_last = 0, m_beforeLast = 0;  // the last two bytes outside strings that are no digits
};

}  // namespace vkd
