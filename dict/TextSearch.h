// CTextSearch: the search of the word list and of vkd search. It finds a search text in code
// page 932 text, moving by whole characters, so that a match never begins on the trail byte of
// a double-byte character. Exact (the default), it finds what CString::Find finds; folded, it
// compares through folding (Folding.h), so that kana, width and case do not count. It reads the
// text in place and never converts or copies it; it knows nothing of windows or files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "CString.h"

struct SearchOptions {
  bool fold = false;      // kana, width and case do not count
  bool meanings = false;  // an entry is found by its meaning too
};

class CTextSearch {
 public:
  explicit CTextSearch(const CString& text, SearchOptions options = {});

  // Byte index of the first match in text, or -1 when there is none. An empty search text is
  // found at 0 in every text.
  ptrdiff_t FindIn(std::string_view text) const;
  bool IsIn(const CString& text) const { return FindIn(text.Bytes()) >= 0; }
  // An entry is found when its word contains the search text or, with meanings searched, its
  // meaning does.
  bool Finds(const CString& word, const CString& meaning) const {
    return IsIn(word) || (m_options.meanings && IsIn(meaning));
  }

 private:
  ptrdiff_t FindExact(std::string_view text) const;
  ptrdiff_t FindFolded(std::string_view text) const;
  bool RestMatches(const unsigned char* s, size_t n, size_t i) const;
  bool MayStartInAscii(uint64_t eightBytes) const;

  SearchOptions m_options;
  std::string m_exact;
  std::vector<uint16_t> m_folded;  // the search text's folded characters
  // The ASCII bytes that fold to the first folded character, each repeated in all eight bytes
  // of a word; m_asciiFirstCount says how many there are (none, one, or a letter's two cases).
  uint64_t m_asciiFirst[2] = {0, 0};
  int m_asciiFirstCount = 0;
};
