// The properties the profile fuzz target checks on any input, shared with the test that replays
// the fuzz corpus. It reports the first broken property; it does not touch files.
#pragma once

#include <string>
#include <string_view>

// Parses bytes, asks for every section and key the text names, serializes, parses again, and
// edits "General"/"LastPath"; empty when every answer held, else what went wrong.
std::string CheckProfileRoundTrip(std::string_view bytes);
