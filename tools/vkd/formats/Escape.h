// Escaping text byte by byte, as every format writes it, without ever touching the trail byte of
// a double-byte character. It knows no format's syntax.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "Text.h"

namespace vkd {

// The single bytes (all below 0x80) that a format writes otherwise.
using SpecialBytes = std::array<bool, 128>;

// Appends s to out, each special byte through escape(byte, out) and everything else as it is. In
// code page 932 a double-byte character is never split, so its trail byte is never escaped; and
// a lead byte without its trail byte that stands right before a special byte goes through
// escape too, since the backslash of the escape that follows would read as its trail byte.
template <typename Escape>
void AppendEscaped(std::string& out, std::string_view s, Encoding enc, const SpecialBytes& special,
                   Escape escape) {
  size_t run = 0;
  for (size_t i = 0; i < s.size();) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (c >= 0x80) {
      const size_t n = enc == Encoding::Cp932 ? CharLen(enc, s, i) : 1;
      if (n == 1 && enc == Encoding::Cp932 && cp932::IsLeadByte(c) && i + 1 < s.size() &&
          static_cast<unsigned char>(s[i + 1]) < 0x80 &&
          special[static_cast<unsigned char>(s[i + 1])]) {
        out.append(s, run, i - run);
        escape(static_cast<char>(c), out);
        run = i + 1;
      }
      i += n;
      continue;
    }
    if (special[c]) {
      out.append(s, run, i - run);
      escape(static_cast<char>(c), out);
      run = i + 1;
    }
    ++i;
  }
  out.append(s, run, s.size() - run);
}

}  // namespace vkd
