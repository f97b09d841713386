// A three-way merge of books' entry sequences, as diff3 merges lines: each side is compared with
// the common base, a stretch changed on one side only takes that side, the same change on both
// sides is taken once, and stretches changed differently on both sides keep both: ours, then
// theirs. No entry of either side is ever dropped by a conflict. Two sides that only added
// entries at the same place are no conflict: both additions are kept, ours first. It works on
// digests and says where each entry of the result comes from; it reads and writes no files.
#pragma once

#include <span>
#include <vector>

#include "BookDiff.h"

// Entries first .. first + count - 1 of one side, in the result one after the other.
struct MergePiece {
  enum Side { Ours, Theirs } side = Ours;
  int first = 0;
  int count = 0;
  bool operator==(const MergePiece&) const = default;
};

struct MergePlan {
  std::vector<MergePiece> pieces;
  int count = 0;       // entries in the result
  int fromTheirs = 0;  // of them, entries that only the other side had
  int conflicts = 0;   // stretches changed differently on both sides, kept both
};

MergePlan MergeEntries(std::span<const EntryKey> base, std::span<const EntryKey> ours,
                       std::span<const EntryKey> theirs);

// The name merges as one entry: a change on one side is taken; changed differently on both
// sides, ours is kept and the result counts as a conflict.
struct NameMerge {
  MergePiece::Side side = MergePiece::Ours;
  bool conflict = false;
};
NameMerge MergeName(const EntryKey& base, const EntryKey& ours, const EntryKey& theirs);
