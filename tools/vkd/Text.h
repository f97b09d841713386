// Text between the book's code page 932 and UTF-8 as vkd moves it: the framework's converter
// with the platform's five single bytes taken (0x80 to U+0080; 0xA0, 0xFD, 0xFE and 0xFF to
// U+F8F0 to U+F8F3), so that every book exports and reads back byte for byte. It knows no file
// format.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "Cp932.h"

namespace vkd {

enum class Encoding { Utf8, Cp932 };

// A UTF-8 byte that goes on a character begun before it.
inline bool IsContinuation(char c) {
  return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Bytes of the character starting at i: in code page 932 a lead byte takes a trail byte with it,
// so that the trail byte 0x5C of katakana SO is never read as a backslash.
inline size_t CharLen(Encoding enc, std::string_view s, size_t i) {
  if (enc == Encoding::Cp932 && cp932::IsLeadByte(static_cast<unsigned char>(s[i])) &&
      i + 1 < s.size() && cp932::IsTrailByte(static_cast<unsigned char>(s[i + 1])))
    return 2;
  return 1;
}

// Appends the UTF-8 form of code page 932 bytes to out. When some bytes are mapped by no table,
// returns false, with out as it was, and the offset of the first of them in *badOffset.
bool AppendUtf8(std::string& out, std::string_view bytes, size_t* badOffset);

// As AppendUtf8, for display: bytes that no table maps become U+FFFD.
void AppendUtf8Lossy(std::string& out, std::string_view bytes);

// Appends the code page 932 form of UTF-8 text to out; false, with out as it was, for bytes that
// are not UTF-8 or a character that the code page cannot hold.
bool AppendFromUtf8(std::string& out, std::string_view utf8);

// UTF-8 to code page 932; nullopt for bytes that are not UTF-8 or a character that the code
// page cannot hold.
std::optional<std::string> FromUtf8(std::string_view utf8);

}  // namespace vkd
