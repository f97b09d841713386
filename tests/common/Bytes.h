// Helpers for writing expected file bytes in tests: hex text to bytes, and little-endian
// integers.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

// "02 61 62" -> the three bytes; blanks are ignored.
inline std::string Hex(const std::string& text) {
  std::string out;
  int high = -1;
  for (char c : text) {
    int v;
    if (c >= '0' && c <= '9')
      v = c - '0';
    else if (c >= 'A' && c <= 'F')
      v = c - 'A' + 10;
    else if (c >= 'a' && c <= 'f')
      v = c - 'a' + 10;
    else if (c == ' ')
      continue;
    else
      throw std::invalid_argument("bad hex");
    if (high < 0) {
      high = v;
    } else {
      out.push_back(static_cast<char>(high * 16 + v));
      high = -1;
    }
  }
  return out;
}

inline std::string Le32(std::uint32_t v) {
  std::string out;
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
  return out;
}

inline std::string Le16(std::uint16_t v) {
  return std::string{static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)};
}
