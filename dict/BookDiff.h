// Comparing two books' entry sequences: each entry stands for its (word, meaning) pair through a
// 128-bit digest, and the two sequences are compared by a longest common subsequence, so that
// repeated words need no special care. It works on digests only and reads no files.
#pragma once

#include <compare>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

// One entry's (word, meaning) pair, or a name, as a digest: equal digests are taken for equal
// texts.
struct EntryKey {
  std::uint64_t low = 0;
  std::uint64_t high = 0;
  auto operator<=>(const EntryKey&) const = default;
};

EntryKey KeyOf(std::string_view word, std::string_view meaning);
EntryKey KeyOfName(std::string_view name);

// A stretch of the comparison: entries a .. a + count - 1 of the first sequence are the same as
// b .. b + count - 1 of the second, or only in the first (Removed, b is where they would stand in
// the second) or only in the second (Added, a likewise).
struct DiffRun {
  enum Kind { Same, Removed, Added } kind = Same;
  int a = 0;
  int b = 0;
  int count = 0;
  bool operator==(const DiffRun&) const = default;
};

// The runs that turn a into b, in order; a change comes as its removals, then its additions.
std::vector<DiffRun> DiffEntries(std::span<const EntryKey> a, std::span<const EntryKey> b);
