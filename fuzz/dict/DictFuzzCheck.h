// The property the dictionary fuzz target checks, shared with the corpus replay test: reading
// any bytes never crashes, and a book that reads back writes out to bytes that read back to
// the same book and write out again identically.
#pragma once

#include <cstddef>
#include <cstdint>

// Returns normally when the property holds; traps otherwise.
void CheckDictionaryBytes(const std::uint8_t* data, std::size_t size);
