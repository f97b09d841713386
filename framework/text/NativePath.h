// Paths in the program are code page 932 text; the file system takes UTF-8. A path is used only
// when its two forms name each other exactly: some characters convert one way only (〜 U+301C
// becomes 0x8160, which reads back as ～ U+FF5E; also −, ¥, ‖ and others), and a path through
// such a conversion would name another file. Both functions convert and then convert back, and
// refuse the path when that does not give the same bytes.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "CString.h"

// Why a path was refused: the first character that has no form on the other side, or whose
// form names another character (or a NUL byte, which would cut the path short). character
// holds its bytes as they stand in the path given (UTF-8 for FromNativePath, code page 932 for
// ToNativePath); offset is where it starts. Both are empty and 0 for an empty path.
struct PathProblem {
  std::size_t offset = 0;
  std::string character;
};

// The file system's form of a path; nothing (and *problem filled, when given) when the path is
// empty or has no exact UTF-8 form.
std::optional<std::string> ToNativePath(const CString& path, PathProblem* problem = nullptr);

// The program's form of a file system path (from a file dialog, the current directory, a
// command line); nothing (and *problem filled) when it is empty or has no exact code page 932
// form.
std::optional<CString> FromNativePath(std::string_view native, PathProblem* problem = nullptr);
