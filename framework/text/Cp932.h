// Code page 932 (Shift-JIS with the Windows extensions) conversions, through tables made from
// glibc's iconv when the program is built, so they give exactly what iconv gives. Used only at
// the edges of the program: the screen, file system paths and tools. Dictionary text itself is
// never converted.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace cp932 {

// True for a byte that starts a double-byte character (0x81-0x9F, 0xE0-0xFC).
constexpr bool IsLeadByte(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// True for a byte that may follow a lead byte.
constexpr bool IsTrailByte(unsigned char b) {
  return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
}

// The single bytes 0x80, 0xA0, 0xFD, 0xFE and 0xFF, which glibc's table leaves out and the
// original platform's maps (to U+0080 and U+F8F0 to U+F8F3): refused, as the window refuses
// them, or taken, as vkd takes them so that every book exports and reads back byte for byte.
enum class Singles { kRefused, kPlatform };

// UTF-8 to code page 932. Empty when the text is not UTF-8 or some character has no code page
// 932 form. The standard equivalents convert to the codes Japanese text means by them (〜 to
// 0x8160, ¥ to 0x5C, and so on), which read back as other characters; ‾ (U+203E) is refused, as
// it would become '~'.
std::optional<std::string> FromUtf8(std::string_view utf8);

// Code page 932 to UTF-8. Empty when the bytes are not valid code page 932.
std::optional<std::string> ToUtf8(std::string_view bytes);

// As FromUtf8 and ToUtf8, appending to out: for converting many strings into one buffer without
// a string of its own for each. False, with out as it was, when something does not convert;
// then *badOffset, when given, is where the first character that does not convert starts.
bool AppendFromUtf8(std::string& out, std::string_view utf8, Singles singles = Singles::kRefused);
bool AppendToUtf8(std::string& out, std::string_view bytes, Singles singles = Singles::kRefused,
                  std::size_t* badOffset = nullptr);

// Code page 932 to UTF-8 for display: a lead byte takes the byte after it, and bytes that do not
// convert become U+FFFD.
std::string ToUtf8Lossy(std::string_view bytes);
// The same to UTF-16 at out, which has room for bytes.size() units; returns the units written.
std::size_t ToUtf16Lossy(std::string_view bytes, char16_t* out);

// UTF-16 code units to code page 932, as FromUtf8. Empty when something does not convert.
std::optional<std::string> FromUtf16(std::u16string_view utf16);

}  // namespace cp932
