#include "BookMerge.h"

#include <algorithm>

namespace {

// For each base entry, the entry of the other side it is matched with, or -1.
std::vector<int> Matches(std::span<const EntryKey> base, std::span<const EntryKey> side) {
  std::vector<int> match(base.size(), -1);
  for (const DiffRun& r : DiffEntries(base, side))
    if (r.kind == DiffRun::Same)
      for (int i = 0; i < r.count; ++i) match[r.a + i] = r.b + i;
  return match;
}

bool Equal(std::span<const EntryKey> x, std::span<const EntryKey> y) {
  return std::ranges::equal(x, y);
}

class Planner {
 public:
  explicit Planner(MergePlan& plan) : m_plan(plan) {}

  void Take(MergePiece::Side side, int first, int count) {
    if (count == 0) return;
    m_plan.count += count;
    if (side == MergePiece::Theirs) m_plan.fromTheirs += count;
    auto& pieces = m_plan.pieces;
    if (!pieces.empty() && pieces.back().side == side &&
        pieces.back().first + pieces.back().count == first)
      pieces.back().count += count;
    else
      pieces.push_back({side, first, count});
  }

  // One stretch that is not the same on all three: base [b0, b1), ours [o0, o1), theirs
  // [t0, t1).
  void Resolve(std::span<const EntryKey> base, std::span<const EntryKey> ours,
               std::span<const EntryKey> theirs, int b0, int b1, int o0, int o1, int t0, int t1) {
    const auto b = base.subspan(b0, b1 - b0), o = ours.subspan(o0, o1 - o0),
               t = theirs.subspan(t0, t1 - t0);
    if (Equal(o, b)) {
      Take(MergePiece::Theirs, t0, t1 - t0);
    } else if (Equal(t, b) || Equal(o, t)) {
      Take(MergePiece::Ours, o0, o1 - o0);
    } else {
      if (!b.empty()) ++m_plan.conflicts;
      Take(MergePiece::Ours, o0, o1 - o0);
      Take(MergePiece::Theirs, t0, t1 - t0);
    }
  }

 private:
  MergePlan& m_plan;
};

}  // namespace

MergePlan MergeEntries(std::span<const EntryKey> base, std::span<const EntryKey> ours,
                       std::span<const EntryKey> theirs) {
  const std::vector<int> mo = Matches(base, ours), mt = Matches(base, theirs);
  MergePlan plan;
  Planner planner(plan);
  const int n = static_cast<int>(base.size());
  int i = 0, j = 0, k = 0;
  while (i < n || j < static_cast<int>(ours.size()) || k < static_cast<int>(theirs.size())) {
    // A run that all three share.
    int same = 0;
    while (i + same < n && mo[i + same] == j + same && mt[i + same] == k + same) ++same;
    planner.Take(MergePiece::Ours, j, same);
    i += same, j += same, k += same;
    // The next base entry that both sides kept closes the stretch that differs.
    int next = i;
    while (next < n && (mo[next] < 0 || mt[next] < 0)) ++next;
    const int oursEnd = next < n ? mo[next] : static_cast<int>(ours.size());
    const int theirsEnd = next < n ? mt[next] : static_cast<int>(theirs.size());
    planner.Resolve(base, ours, theirs, i, next, j, oursEnd, k, theirsEnd);
    i = next, j = oursEnd, k = theirsEnd;
  }
  return plan;
}

NameMerge MergeName(const EntryKey& base, const EntryKey& ours, const EntryKey& theirs) {
  if (ours == base && theirs != base) return {MergePiece::Theirs, false};
  return {MergePiece::Ours, ours != base && theirs != base && ours != theirs};
}
