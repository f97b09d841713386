// TSV: one line per entry, word<TAB>meaning, with \\, \t, \r and \n escaped and LF line ends.
// Turns a book into such text and such text into entries; it touches no files.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "DictData.h"
#include "Formats.h"

namespace vkd {

std::optional<std::string> ExportTsv(const CDictData& book, Encoding enc, std::string& error);
ImportResult ImportTsv(std::string_view input, Encoding enc);

}  // namespace vkd
