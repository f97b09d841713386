#include "NativePath.h"

#include "Cp932.h"

namespace {

using Convert = std::optional<std::string> (*)(std::string_view);

// Bytes of the character that starts at bytes[i] in UTF-8, or one for a byte that starts none
// (a stray continuation byte, a byte UTF-8 never uses, a lead byte without its continuation).
size_t Utf8CharSize(std::string_view bytes, size_t i) {
  const auto b = static_cast<unsigned char>(bytes[i]);
  const size_t n = b >= 0xF8 ? 1 : b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
  if (n > bytes.size() - i) return 1;
  for (size_t k = 1; k < n; ++k)
    if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) return 1;
  return n;
}

size_t Cp932CharSize(std::string_view bytes, size_t i) {
  return cp932::IsLeadByte(static_cast<unsigned char>(bytes[i])) && i + 1 < bytes.size() ? 2 : 1;
}

// there(text), when back(there(text)) gives text again and text holds no NUL; otherwise the
// first character that fails the same test on its own goes into *problem.
std::optional<std::string> Exactly(std::string_view text, Convert there, Convert back,
                                   size_t (*charSize)(std::string_view, size_t),
                                   PathProblem* problem) {
  auto exact = [&](std::string_view part) -> std::optional<std::string> {
    if (part.find('\0') != std::string_view::npos) return std::nullopt;
    std::optional<std::string> converted = there(part);
    if (!converted) return std::nullopt;
    std::optional<std::string> again = back(*converted);
    if (!again || *again != part) return std::nullopt;
    return converted;
  };
  if (!text.empty()) {
    if (std::optional<std::string> whole = exact(text)) return whole;
  }
  if (problem) {
    *problem = PathProblem{};
    for (size_t i = 0; i < text.size(); i += charSize(text, i)) {
      const std::string_view one = text.substr(i, charSize(text, i));
      if (!exact(one)) {
        *problem = PathProblem{i, std::string(one)};
        break;
      }
    }
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> ToNativePath(const CString& path, PathProblem* problem) {
  return Exactly(path.Bytes(), cp932::ToUtf8, cp932::FromUtf8, Cp932CharSize, problem);
}

std::optional<CString> FromNativePath(std::string_view native, PathProblem* problem) {
  std::optional<std::string> bytes =
      Exactly(native, cp932::FromUtf8, cp932::ToUtf8, Utf8CharSize, problem);
  if (!bytes) return std::nullopt;
  return CString(std::move(*bytes));
}
