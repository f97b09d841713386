// CSV (RFC 4180): word,meaning with CR LF line ends, quoted where needed, no header. Writes such
// records entry by entry and reads them into an Importer; it touches no files.
#pragma once

#include <memory>
#include <string>

#include "Formats.h"

namespace vkd {

std::unique_ptr<RecordWriter> MakeCsvWriter(Output& out);
bool ReadCsv(InputReader& in, Importer& importer, std::string& error);

}  // namespace vkd
