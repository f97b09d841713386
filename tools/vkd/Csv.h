// CSV (RFC 4180): word,meaning with CR LF line ends, quoted where needed, no header. Turns a
// book into such text and such text into entries; it touches no files.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "DictData.h"
#include "Formats.h"

namespace vkd {

std::optional<std::string> ExportCsv(const CDictData& book, Encoding enc, std::string& error);
ImportResult ImportCsv(std::string_view input, Encoding enc);

}  // namespace vkd
