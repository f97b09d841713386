// Code page 932 (Shift-JIS with the Windows extensions) conversions, through glibc's iconv.
// Used only at the edges of the program: the screen, file system paths and tools. Dictionary
// text itself is never converted.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace cp932 {

// True for a byte that starts a double-byte character (0x81-0x9F, 0xE0-0xFC).
constexpr bool IsLeadByte(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// UTF-8 to code page 932. Empty when some character has no code page 932 form. The standard
// equivalents convert to the codes Japanese text means by them (〜 to 0x8160, ¥ to 0x5C, and so
// on), which read back as other characters; ‾ (U+203E) is refused, as it would become '~'.
std::optional<std::string> FromUtf8(std::string_view utf8);

// Code page 932 to UTF-8. Empty when the bytes are not valid code page 932.
std::optional<std::string> ToUtf8(std::string_view bytes);

// As FromUtf8 and ToUtf8, appending to out: for converting many strings into one buffer without
// a string of its own for each. False, with out as it was, when something does not convert.
bool AppendFromUtf8(std::string& out, std::string_view utf8);
bool AppendToUtf8(std::string& out, std::string_view bytes);

// Code page 932 to UTF-8 for display: bytes that do not convert become U+FFFD.
std::string ToUtf8Lossy(std::string_view bytes);

// UTF-16 code units to code page 932, as FromUtf8. Empty when something does not convert.
std::optional<std::string> FromUtf16(std::u16string_view utf16);

}  // namespace cp932
