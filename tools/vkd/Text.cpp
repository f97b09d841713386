#include "Text.h"

namespace vkd {

constexpr auto kPlatform = cp932::Singles::kPlatform;

bool AppendUtf8(std::string& out, std::string_view bytes, size_t* badOffset) {
  return cp932::AppendToUtf8(out, bytes, kPlatform, badOffset);
}

void AppendUtf8Lossy(std::string& out, std::string_view bytes) {
  if (cp932::AppendToUtf8(out, bytes, kPlatform)) return;  // the usual case, in one call
  // A lead byte takes only a trail byte with it, so that what follows a broken pair shows.
  for (size_t i = 0, n = 0; i < bytes.size(); i += n) {
    n = CharLen(Encoding::Cp932, bytes, i);
    if (!cp932::AppendToUtf8(out, bytes.substr(i, n), kPlatform)) out += "\xEF\xBF\xBD";
  }
}

bool AppendFromUtf8(std::string& out, std::string_view utf8) {
  return cp932::AppendFromUtf8(out, utf8, kPlatform);
}

std::optional<std::string> FromUtf8(std::string_view utf8) {
  std::string out;
  if (!AppendFromUtf8(out, utf8)) return std::nullopt;
  return out;
}

}  // namespace vkd
