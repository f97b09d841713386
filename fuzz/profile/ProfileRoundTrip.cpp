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

// Every name the document mentions, as written and in upper case, plus the program's own key.
std::vector<Query> QueriesFor(const ProfileDocument& doc) {
  std::vector<Query> queries = {{"General", "LastPath"}, {"general", "LASTPATH"}};
  std::string section;
  for (const ProfileDocument::Line& line : doc.Lines()) {
    if (line.kind == ProfileDocument::Kind::kSection) section = line.name;
    if (line.kind != ProfileDocument::Kind::kKey) continue;
    queries.push_back({section, line.name});
    std::string upperSection = section, upperKey = line.name;
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

}  // namespace

std::string CheckProfileRoundTrip(std::string_view bytes) {
  ProfileDocument doc = ProfileDocument::Parse(bytes);
  const std::vector<Query> queries = QueriesFor(doc);
  if (std::string e = CheckReparse("parse", doc, queries); !e.empty()) return e;
  const Answers original = Ask(doc, queries);

  auto isLastPath = [](const Query& q) {
    return profile::NamesEqual(q.section, "General") && profile::NamesEqual(q.key, "LastPath");
  };
  auto isGeneral = [](const Query& q) { return profile::NamesEqual(q.section, "General"); };

  // A value with a double-byte character whose trail byte is ']' and one whose trail is 'a'.
  const std::string value =
      "C:\\d\x83]\x83"
      "a.vkd";
  ProfileDocument edited = doc;
  if (!edited.Set("General", "LastPath", value)) return "set: refused a plain value";
  std::string e = Compare("set", queries, original, Ask(edited, queries), isLastPath, value);
  if (e.empty()) e = CheckReparse("set", edited, queries);
  if (!e.empty()) return e;

  edited.RemoveKey("general", "lastpath");
  e = Compare("remove key", queries, original, Ask(edited, queries), isLastPath, std::nullopt);
  if (e.empty()) e = CheckReparse("remove key", edited, queries);
  if (!e.empty()) return e;

  edited = doc;
  edited.RemoveSection("GENERAL");
  e = Compare("remove section", queries, original, Ask(edited, queries), isGeneral, std::nullopt);
  if (e.empty()) e = CheckReparse("remove section", edited, queries);
  return e;
}
