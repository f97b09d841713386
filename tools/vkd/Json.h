// JSON: {"name": ..., "entries": [{"word": ..., "meaning": ...}, ...]}. Writes that document
// from a book and reads it back strictly, skipping keys it does not know; it touches no files.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "DictData.h"
#include "Formats.h"

namespace vkd {

std::optional<std::string> ExportJson(const CDictData& book, Encoding enc, std::string& error);
ImportResult ImportJson(std::string_view input, Encoding enc);

}  // namespace vkd
