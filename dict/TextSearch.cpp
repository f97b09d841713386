#include "TextSearch.h"

#include <string.h>

#include <cstring>

#include "Cp932.h"
#include "Folding.h"

namespace {

constexpr uint64_t kOnes = 0x0101010101010101ULL;
constexpr uint64_t kHighBits = 0x8080808080808080ULL;

bool HasZeroByte(uint64_t x) {
  return ((x - kOnes) & ~x & kHighBits) != 0;
}

bool IsLead(char c) {
  return cp932::IsLeadByte(static_cast<unsigned char>(c));
}

}  // namespace

CTextSearch::CTextSearch(const CString& text, SearchOptions options)
    : m_options(options), m_exact(text.Bytes()) {
  if (!options.fold) return;
  const auto* s = reinterpret_cast<const unsigned char*>(m_exact.data());
  for (size_t i = 0; i < m_exact.size();) m_folded.push_back(folding::Next(s, m_exact.size(), i));
  if (m_folded.empty()) return;
  for (unsigned b = 0; b < 0x80; ++b) {
    if (folding::kSingle[b] == m_folded.front() && m_asciiFirstCount < 2)
      m_asciiFirst[m_asciiFirstCount++] = kOnes * b;
  }
}

ptrdiff_t CTextSearch::FindIn(std::string_view text) const {
  return m_options.fold ? FindFolded(text) : FindExact(text);
}

// Candidates come from memmem; one is kept when it starts a character. Every byte that is not
// a lead byte ends a character, so the bytes between the last such byte (or a place known to
// start a character) and the candidate are whole pairs exactly when their count is even.
ptrdiff_t CTextSearch::FindExact(std::string_view text) const {
  const size_t m = m_exact.size();
  if (m == 0) return 0;
  const char* s = text.data();
  const size_t n = text.size();
  size_t known = 0;  // starts a character
  for (size_t from = 0; from + m <= n;) {
    const void* hit = memmem(s + from, n - from, m_exact.data(), m);
    if (!hit) return -1;
    const size_t p = static_cast<size_t>(static_cast<const char*>(hit) - s);
    size_t q = p;
    while (q > known && IsLead(s[q - 1])) --q;
    if ((p - q) % 2 == 0) return static_cast<ptrdiff_t>(p);
    known = from = p + 1;  // p is a trail byte, so the next character starts after it
  }
  return -1;
}

bool CTextSearch::MayStartInAscii(uint64_t eightBytes) const {
  for (int k = 0; k < m_asciiFirstCount; ++k)
    if (HasZeroByte(eightBytes ^ m_asciiFirst[k])) return true;
  return false;
}

// Character by character, except that eight ASCII bytes at a time are passed over when none of
// them can begin a match: each ASCII byte is a character of its own.
ptrdiff_t CTextSearch::FindFolded(std::string_view text) const {
  if (m_folded.empty()) return 0;
  const auto* s = reinterpret_cast<const unsigned char*>(text.data());
  const size_t n = text.size();
  const uint16_t first = m_folded.front();
  for (size_t i = 0; i < n;) {
    if (n - i >= 8) {
      uint64_t eight;
      std::memcpy(&eight, s + i, 8);
      if ((eight & kHighBits) == 0 && !MayStartInAscii(eight)) {
        i += 8;
        continue;
      }
    }
    const size_t start = i;
    if (folding::Next(s, n, i) == first && RestMatches(s, n, i))
      return static_cast<ptrdiff_t>(start);
  }
  return -1;
}

bool CTextSearch::RestMatches(const unsigned char* s, size_t n, size_t i) const {
  for (size_t k = 1; k < m_folded.size(); ++k) {
    if (i == n || folding::Next(s, n, i) != m_folded[k]) return false;
  }
  return true;
}
