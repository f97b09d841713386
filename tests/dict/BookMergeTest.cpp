#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "BookMerge.h"

namespace {

// "a=1 b" stands for the entries (a, 1) and (b, "").
std::vector<std::string> Tokens(const std::string& s) {
  std::istringstream in(s);
  std::vector<std::string> out;
  for (std::string t; in >> t;) out.push_back(t);
  return out;
}

std::vector<EntryKey> Keys(const std::vector<std::string>& tokens) {
  std::vector<EntryKey> keys;
  for (const std::string& t : tokens) {
    const size_t eq = t.find('=');
    keys.push_back(eq == std::string::npos ? KeyOf(t, "")
                                           : KeyOf(t.substr(0, eq), t.substr(eq + 1)));
  }
  return keys;
}

std::string Join(const std::vector<std::string>& parts) {
  std::string s;
  for (const auto& p : parts) s += (s.empty() ? "" : " ") + p;
  return s;
}

struct DiffCase {
  const char* what;
  const char* a;
  const char* b;
  const char* expected;  // each entry with its mark: ' ', '-' or '+'
};

TEST(BookDiff, ComparesEntryPairsInOrder) {
  const DiffCase cases[] = {
      {"same", "a=1 b=2", "a=1 b=2", " a=1  b=2"},
      {"added", "a=1 b=2", "a=1 x=9 b=2 c=3", " a=1 +x=9  b=2 +c=3"},
      {"removed", "a=1 b=2 c=3", "b=2", "-a=1  b=2 -c=3"},
      {"changed meaning", "a=1 b=2 c=3", "a=1 b=9 c=3", " a=1 -b=2 +b=9  c=3"},
      {"same bytes split otherwise", "ab=c", "a=bc", "-ab=c +a=bc"},
      {"repeated words", "a=1 a=2 a=1", "a=1 a=1", " a=1 -a=2  a=1"},
      {"repeated entries", "a a", "a a a", " a  a +a"},
      {"reordered", "a=1 b=2", "b=2 a=1", "-a=1  b=2 +a=1"},
      {"from nothing", "", "a b", "+a +b"},
      {"to nothing", "a b", "", "-a -b"},
  };
  for (const auto& c : cases) {
    const auto ta = Tokens(c.a), tb = Tokens(c.b);
    std::vector<std::string> shown;
    int nextA = 0, nextB = 0;
    for (const DiffRun& r : DiffEntries(Keys(ta), Keys(tb))) {
      // Runs follow each other without gaps on both sides.
      EXPECT_EQ(r.a, nextA) << c.what;
      EXPECT_EQ(r.b, nextB) << c.what;
      for (int i = 0; i < r.count; ++i) {
        if (r.kind == DiffRun::Added)
          shown.push_back("+" + tb[r.b + i]);
        else
          shown.push_back((r.kind == DiffRun::Same ? " " : "-") + ta[r.a + i]);
      }
      if (r.kind != DiffRun::Added) nextA += r.count;
      if (r.kind != DiffRun::Removed) nextB += r.count;
    }
    EXPECT_EQ(Join(shown), c.expected) << c.what;
  }
}

struct MergeCase {
  const char* what;
  const char* base;
  const char* ours;
  const char* theirs;
  const char* expected;
  int fromTheirs;
  int conflicts;
};

TEST(BookMerge, MergesAsDiff3AndKeepsBothSidesOfAConflict) {
  const MergeCase cases[] = {
      {"nothing changed", "a b", "a b", "a b", "a b", 0, 0},
      {"ours added", "a b c", "a b c d", "a b c", "a b c d", 0, 0},
      {"theirs corrected", "a=1 b=2 c=3", "a=1 b=2 c=3", "a=1 b=9 c=3", "a=1 b=9 c=3", 1, 0},
      {"theirs deleted", "a b c", "a b c", "a c", "a c", 0, 0},
      {"both made the same change", "a b=1", "a b=2", "a b=2", "a b=2", 0, 0},
      {"both deleted the same", "a b c", "a c", "a c", "a c", 0, 0},
      {"changes apart", "a b c d e", "A b c d e", "a b c d E", "A b c d E", 1, 0},
      {"both added at the end", "a", "a x", "a y", "a x y", 1, 0},
      {"both added the same at the end", "a", "a x", "a x", "a x", 0, 0},
      {"both added in the middle", "a b", "a x b", "a y b", "a x y b", 1, 0},
      {"conflict", "a b=1 c", "a b=2 c", "a b=3 c", "a b=2 b=3 c", 1, 1},
      {"delete against change", "a b c", "a c", "a B c", "a B c", 1, 1},
      {"change against delete", "a b c", "a B c", "a c", "a B c", 0, 1},
      {"two conflicts", "a b c d e", "a B c D e", "a b2 c d2 e", "a B b2 c D d2 e", 2, 2},
      {"from an empty base", "", "x", "y", "x y", 1, 0},
  };
  for (const auto& c : cases) {
    const auto ours = Tokens(c.ours), theirs = Tokens(c.theirs);
    const MergePlan plan = MergeEntries(Keys(Tokens(c.base)), Keys(ours), Keys(theirs));
    std::vector<std::string> result;
    for (const MergePiece& p : plan.pieces)
      for (int i = 0; i < p.count; ++i)
        result.push_back((p.side == MergePiece::Ours ? ours : theirs)[p.first + i]);
    EXPECT_EQ(Join(result), c.expected) << c.what;
    EXPECT_EQ(plan.count, static_cast<int>(result.size())) << c.what;
    EXPECT_EQ(plan.fromTheirs, c.fromTheirs) << c.what;
    EXPECT_EQ(plan.conflicts, c.conflicts) << c.what;
  }
}

TEST(BookMerge, NameMergesAsOneEntry) {
  const struct {
    const char *base, *ours, *theirs;
    MergePiece::Side side;
    bool conflict;
  } cases[] = {
      {"n", "n", "n", MergePiece::Ours, false},   {"n", "o", "n", MergePiece::Ours, false},
      {"n", "n", "t", MergePiece::Theirs, false}, {"n", "x", "x", MergePiece::Ours, false},
      {"n", "o", "t", MergePiece::Ours, true},
  };
  for (const auto& c : cases) {
    const NameMerge m = MergeName(KeyOfName(c.base), KeyOfName(c.ours), KeyOfName(c.theirs));
    EXPECT_EQ(m.side, c.side) << c.ours << " " << c.theirs;
    EXPECT_EQ(m.conflict, c.conflict) << c.ours << " " << c.theirs;
  }
}

}  // namespace
