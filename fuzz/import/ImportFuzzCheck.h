// The property the import fuzz target checks, shared with the corpus replay test. The first
// bytes choose the format, the encoding, whether line breaks are kept and the sizes of the
// chunks the rest arrives in; the rest is imported. A refused input says why, an accepted one
// holds at most a book's entries, and exporting it in each format and importing that gives the
// same book and, exported again, the same bytes. In code page 932 the input bytes themselves,
// made a book, come back so too.
#pragma once

#include <cstddef>
#include <cstdint>

// Returns normally when the property holds; traps otherwise.
void CheckImportBytes(const std::uint8_t* data, std::size_t size);
