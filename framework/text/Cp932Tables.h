// The code page 932 tables, as glibc's iconv has them: made at build time by
// generate/MakeCp932Tables.cpp, for the converter in Cp932.cpp alone. They hold iconv's answers
// and nothing more; what the program adds or refuses beyond them is the converter's.
#pragma once

#include <cstdint>

#include "Cp932.h"

namespace cp932::table {

// In every table: no character, or no code. A character may also convert to nothing at all.
inline constexpr std::uint16_t kNone = 0xFFFF;
inline constexpr std::uint16_t kNothing = 0xFFFE;

// Double-byte codes: a row per lead byte (0x81-0x9F, then 0xE0-0xFC), a column per second byte
// from 0x40 up.
inline constexpr unsigned kLeads = 60;
inline constexpr unsigned kTrails = 0x100 - 0x40;
constexpr unsigned PairIndex(unsigned lead, unsigned trail) {
  return (lead <= 0x9F ? lead - 0x81 : lead - 0xE0 + 31) * kTrails + (trail - 0x40);
}

// The character of each single byte; a lead byte alone is none.
extern const std::uint16_t kSingle[256];
// The character of each double-byte code, at PairIndex.
extern const std::uint16_t kPairs[kLeads * kTrails];

// The code of each character of the Basic Multilingual Plane, a page of 256 at a time: the page
// of character c is kPages[kPageOf[c >> 8]], and page 0 has no codes. A code below 0x100 is one
// byte, else lead * 256 + trail.
extern const std::uint8_t kPageOf[256];
extern const std::uint16_t kPages[][256];
// Beyond the plane nothing has a code, and the characters from kDropped[0] to kDropped[1] (the
// tags, which glibc leaves out of every code page) convert to nothing.
extern const char32_t kDropped[2];

}  // namespace cp932::table
