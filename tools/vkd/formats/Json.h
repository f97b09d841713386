// JSON: {"name": ..., "entries": [{"word": ..., "meaning": ...}, ...]}. Writes the document
// entry by entry; reads it with RapidJSON's reader (events, not a whole tree), naming the
// line and column of any problem. Other keys are skipped. It touches no files.
#pragma once

#include <memory>
#include <string>

#include "Formats.h"

namespace vkd {

std::unique_ptr<RecordWriter> MakeJsonWriter(Encoding enc, Output& out);
bool ReadJson(InputReader& in, Importer& importer, std::string& error);

}  // namespace vkd
