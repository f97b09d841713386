#include "BookDiff.h"

// The state on the stack rather than allocated for every entry.
#define XXH_STATIC_LINKING_ONLY
#include <xxhash.h>

#include <algorithm>

EntryKey KeyOf(std::string_view word, std::string_view meaning) {
  // The word's length goes first, so that no split of the same bytes between word and meaning
  // gives the same digest.
  XXH3_state_t state;
  XXH3_128bits_reset(&state);
  const std::uint64_t length = word.size();
  XXH3_128bits_update(&state, &length, sizeof length);
  XXH3_128bits_update(&state, word.data(), word.size());
  XXH3_128bits_update(&state, meaning.data(), meaning.size());
  const XXH128_hash_t h = XXH3_128bits_digest(&state);
  return {h.low64, h.high64};
}

EntryKey KeyOfName(std::string_view name) {
  const XXH128_hash_t h = XXH3_128bits(name.data(), name.size());
  return {h.low64, h.high64};
}

namespace {

void Push(std::vector<DiffRun>& runs, DiffRun::Kind kind, int a, int b) {
  if (!runs.empty() && runs.back().kind == kind) {
    ++runs.back().count;
    return;
  }
  runs.push_back({kind, a, b, 1});
}

// The longest common subsequence of the middle stretches, by the table of suffix lengths
// (books hold at most a few thousand entries, so n * m stays small).
void DiffMiddle(std::span<const EntryKey> a, std::span<const EntryKey> b, int a0, int b0,
                std::vector<DiffRun>& runs) {
  const size_t n = a.size(), m = b.size();
  std::vector<std::uint32_t> table((n + 1) * (m + 1), 0);
  auto at = [&](size_t i, size_t j) -> std::uint32_t& { return table[i * (m + 1) + j]; };
  for (size_t i = n; i-- > 0;)
    for (size_t j = m; j-- > 0;)
      at(i, j) = a[i] == b[j] ? at(i + 1, j + 1) + 1 : std::max(at(i + 1, j), at(i, j + 1));
  size_t i = 0, j = 0;
  while (i < n || j < m) {
    const int ai = a0 + static_cast<int>(i), bj = b0 + static_cast<int>(j);
    if (i < n && j < m && a[i] == b[j] && at(i, j) == at(i + 1, j + 1) + 1) {
      Push(runs, DiffRun::Same, ai, bj);
      ++i, ++j;
    } else if (j == m || (i < n && at(i + 1, j) >= at(i, j + 1))) {
      Push(runs, DiffRun::Removed, ai, bj);
      ++i;
    } else {
      Push(runs, DiffRun::Added, ai, bj);
      ++j;
    }
  }
}

}  // namespace

std::vector<DiffRun> DiffEntries(std::span<const EntryKey> a, std::span<const EntryKey> b) {
  // The common beginning and end are matched directly; only the stretch between needs the table.
  size_t head = 0;
  while (head < a.size() && head < b.size() && a[head] == b[head]) ++head;
  size_t tail = 0;
  while (tail < a.size() - head && tail < b.size() - head &&
         a[a.size() - 1 - tail] == b[b.size() - 1 - tail])
    ++tail;
  std::vector<DiffRun> runs;
  if (head) runs.push_back({DiffRun::Same, 0, 0, static_cast<int>(head)});
  DiffMiddle(a.subspan(head, a.size() - head - tail), b.subspan(head, b.size() - head - tail),
             static_cast<int>(head), static_cast<int>(head), runs);
  if (tail) {
    const int a1 = static_cast<int>(a.size() - tail), b1 = static_cast<int>(b.size() - tail);
    if (!runs.empty() && runs.back().kind == DiffRun::Same)
      runs.back().count += static_cast<int>(tail);
    else
      runs.push_back({DiffRun::Same, a1, b1, static_cast<int>(tail)});
  }
  return runs;
}
