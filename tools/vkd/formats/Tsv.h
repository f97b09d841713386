// TSV: one line per entry, word<TAB>meaning, with \\, \t, \r and \n escaped and LF line ends; in
// code page 932 a lead byte without its trail byte before an escape is written \xHH.
// Writes such lines entry by entry and reads them into an Importer; it touches no files.
#pragma once

#include <memory>
#include <string>

#include "Formats.h"

namespace vkd {

std::unique_ptr<RecordWriter> MakeTsvWriter(Encoding enc, Output& out);
bool ReadTsv(InputReader& in, Importer& importer, std::string& error);

}  // namespace vkd
