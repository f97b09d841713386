// A test's u8 literals as the byte strings the code under test deals in: UTF-8 (what a command
// line or a display carries) and code page 932 (what the program holds).
#pragma once

#include <string>
#include <string_view>

#include "CString.h"

inline std::string Utf8(std::u8string_view text) {
  return std::string(text.begin(), text.end());
}

inline std::string Sjis(std::u8string_view text) {
  return CString::FromU8(text).Bytes();
}
