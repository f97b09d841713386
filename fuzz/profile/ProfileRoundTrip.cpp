// Round-trip properties of ProfileDocument: writing a document out and reading it back changes
// no answer, and an edit of one key changes the answers for that key only.
#include "ProfileRoundTrip.h"

#include <optional>
#include <utility>
#include <vector>

#include "ProfileDocument.h"

namespace {

struct Query {
  std::string section;
  std::string key;
};
using Answers = std::vector<std::optional<std::string>>;

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// Every name the document mentions, as written and in upper case, plus the program's own key.
std::vector<Query> QueriesFor(const ProfileDocument& doc) {
  std::vector<Query> queries = {{"General", "LastPath"}, {"general", "LASTPATH"}};
  std::string section;
  for (const ProfileDocument::Line& line : doc.Lines()) {
    if (line.kind == ProfileDocument::Kind::kSection) section = line.name;
    if (line.kind != ProfileDocument::Kind::kKey) continue;
    queries.push_back({section, std::string(line.name)});
    std::string upperSection = section, upperKey(line.name);
    for (char& c : upperSection) c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
    for (char& c : upperKey) c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
    queries.push_back({upperSection, upperKey});
    if (queries.size() > 200) break;  // enough to cover a file; keeps big inputs fast
  }
  return queries;
}

Answers Ask(const ProfileDocument& doc, const std::vector<Query>& queries) {
  Answers answers;
  for (const Query& q : queries) {
    std::optional<std::string_view> v = doc.Find(q.section, q.key);
    answers.push_back(v ? std::optional<std::string>(std::string(*v)) : std::nullopt);
  }
  return answers;
}

std::string Describe(const char* step, const Query& q) {
  return std::string(step) + ": answer changed for [" + q.section + "] " + q.key;
}

// Compares answers after an edit: queries that touches() must give expected, others must not
// have changed.
template <typename Touches>
std::string Compare(const char* step, const std::vector<Query>& queries, const Answers& before,
                    const Answers& after, Touches touches,
                    const std::optional<std::string>& expected) {
  for (size_t i = 0; i < queries.size(); ++i) {
    const std::optional<std::string>& want = touches(queries[i]) ? expected : before[i];
    if (after[i] != want) return Describe(step, queries[i]);
  }
  return {};
}

// Serializing and parsing again must give the same lines and the same answers.
std::string CheckReparse(const char* step, const ProfileDocument& doc,
                         const std::vector<Query>& queries) {
  std::string text = doc.Serialize();
  ProfileDocument again = ProfileDocument::Parse(text);
  if (again.Serialize() != text) return std::string(step) + ": serialization not stable";
  if (again.Lines().size() != doc.Lines().size()) return std::string(step) + ": line count";
  return Compare(
      step, queries, Ask(doc, queries), Ask(again, queries), [](const Query&) { return false; },
      std::nullopt);
}

// Sets section/key to value in a copy of doc: either the edit is refused and nothing changed, or
// that key reads value and no other answer changed.
std::string CheckSet(const ProfileDocument& doc, const std::vector<Query>& queries,
                     const Answers& original, std::string_view section, std::string_view key,
                     const std::string& value) {
  ProfileDocument edited = doc;
  if (!edited.Set(section, key, value)) {
    return edited.Serialize() == doc.Serialize() ? std::string() : "refused set changed text";
  }
  std::optional<std::string_view> read = edited.Find(section, key);
  if (!read || *read != value) return "set: value does not read back";
  auto touched = [&](const Query& q) {
    return profile::NamesEqual(Trim(q.section), Trim(section)) &&
           profile::NamesEqual(Trim(q.key), Trim(key));
  };
  std::string e = Compare("set", queries, original, Ask(edited, queries), touched, value);
  return e.empty() ? CheckReparse("set", edited, queries) : e;
}

}  // namespace

std::string CheckProfileRoundTrip(std::string_view bytes) {
  ProfileDocument doc = ProfileDocument::Parse(std::string(bytes));
  const std::vector<Query> queries = QueriesFor(doc);
  if (std::string e = CheckReparse("parse", doc, queries); !e.empty()) return e;
  const Answers original = Ask(doc, queries);

  auto isLastPath = [](const Query& q) {
    return profile::NamesEqual(q.section, "General") && profile::NamesEqual(q.key, "LastPath");
  };

  // A value with a double-byte character whose trail byte is ']' and one whose trail is 'a'.
  const std::string value =
      "C:\\d\x83]\x83"
      "a.vkd";
  ProfileDocument edited = doc;
  if (!edited.Set("General", "LastPath", value)) return "set: refused a plain value";
  std::string e = Compare("set", queries, original, Ask(edited, queries), isLastPath, value);
  if (e.empty()) e = CheckReparse("set", edited, queries);
  if (!e.empty()) return e;

  // Names the fuzzer chose: the last key the text names, and a section named by the input's
  // first bytes.
  std::string lastSection;
  std::optional<std::string> lastKey;
  for (const ProfileDocument::Line& line : doc.Lines()) {
    if (line.kind == ProfileDocument::Kind::kSection) lastSection = line.name;
    if (line.kind == ProfileDocument::Kind::kKey) lastKey = std::string(line.name);
  }
  if (lastKey) {
    e = CheckSet(doc, queries, original, lastSection, *lastKey, "v=1 'q'");
    if (!e.empty()) return "last key " + e;
  }
  e = CheckSet(doc, queries, original, bytes.substr(0, 8), "K", "1");
  return e.empty() ? e : "input section " + e;
}
