// Paths in the program are code page 932 text; the file system takes UTF-8.
#pragma once

#include <optional>
#include <string>

#include "CString.h"
#include "Cp932.h"

// The file system's form of a path, or nothing when it cannot be converted.
inline std::optional<std::string> ToNativePath(const CString& path) {
  if (path.IsEmpty()) return std::nullopt;
  return cp932::ToUtf8(path.Bytes());
}
