// Parsing and editing of profile text, line by line. Lines the program does not change keep their
// bytes; only the line ends become CR LF on output.
#include "ProfileDocument.h"

#include "Cp932.h"

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

// Blanks are 0x20 and 0x09, which are never trail bytes, so trimming byte by byte is safe.
std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

char LowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Byte index of the first c that is a character of its own (not a trail byte), or npos.
size_t FindChar(std::string_view s, char c) {
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == c) return i;
    if (cp932::IsLeadByte(static_cast<unsigned char>(s[i]))) ++i;
  }
  return std::string_view::npos;
}

bool HasLineBreak(std::string_view s) {
  return s.find_first_of("\r\n") != std::string_view::npos;
}

// True when s ends in a lead byte without its trail byte: written before ']', that lead byte
// would swallow the bracket.
bool EndsInHalfCharacter(std::string_view s) {
  for (size_t i = 0; i < s.size(); ++i) {
    if (cp932::IsLeadByte(static_cast<unsigned char>(s[i])) && ++i == s.size()) return true;
  }
  return false;
}

}  // namespace

namespace profile {

bool NamesEqual(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (cp932::IsLeadByte(static_cast<unsigned char>(a[i]))) {
      // Both strings have the same lead byte here, so their characters stay aligned.
      if (a[i] != b[i]) return false;
      ++i;
      if (i < a.size() && a[i] != b[i]) return false;
    } else if (LowerAscii(a[i]) != LowerAscii(b[i])) {
      return false;
    }
  }
  return true;
}

std::uint32_t ParseInt(std::string_view text) {
  text = Trim(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  // Unsigned arithmetic wraps modulo 2^32, as the platform's conversion does.
  std::uint32_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') break;
    value = value * 10u + static_cast<std::uint32_t>(c - '0');
  }
  return negative ? 0u - value : value;
}

}  // namespace profile

ProfileDocument::Line ProfileDocument::ParseLine(std::string_view text) {
  Line line;
  line.text = std::string(text);
  std::string_view t = Trim(text);
  if (t.empty() || t.front() == ';') return line;
  if (t.front() == '[') {
    // A '[' line always starts a section, even without its ']', so that it can never be read
    // as a key of the section before it.
    std::string_view name = t.substr(1);
    name = name.substr(0, FindChar(name, ']'));
    line.kind = Kind::kSection;
    line.name = std::string(Trim(name));
    return line;
  }
  size_t eq = t.find('=');  // '=' is never a trail byte
  if (eq == std::string_view::npos) return line;
  std::string_view value = Trim(t.substr(eq + 1));
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  line.kind = Kind::kKey;
  line.name = std::string(Trim(t.substr(0, eq)));
  line.value = std::string(value);
  return line;
}

ProfileDocument ProfileDocument::Parse(std::string_view bytes) {
  ProfileDocument doc;
  // Every leading mark goes, not just one: a second one would otherwise be written out at the
  // start of the file and vanish on the next read, changing the first line.
  while (bytes.starts_with(kBom)) bytes.remove_prefix(kBom.size());
  while (!bytes.empty()) {
    size_t end = bytes.find_first_of("\r\n");
    if (end == std::string_view::npos) {
      doc.m_lines.push_back(ParseLine(bytes));
      break;
    }
    doc.m_lines.push_back(ParseLine(bytes.substr(0, end)));
    size_t next = end + 1;
    if (bytes[end] == '\r' && next < bytes.size() && bytes[next] == '\n') ++next;
    bytes.remove_prefix(next);
  }
  return doc;
}

std::string ProfileDocument::Serialize() const {
  std::string out;
  for (const Line& line : m_lines) {
    out += line.text;
    out += "\r\n";
  }
  return out;
}

size_t ProfileDocument::FindSection(std::string_view section) const {
  for (size_t i = 0; i < m_lines.size(); ++i) {
    if (m_lines[i].kind == Kind::kSection && profile::NamesEqual(m_lines[i].name, section)) {
      return i;
    }
  }
  return std::string_view::npos;
}

size_t ProfileDocument::SectionEnd(size_t header) const {
  size_t i = header + 1;
  while (i < m_lines.size() && m_lines[i].kind != Kind::kSection) ++i;
  return i;
}

std::optional<std::string_view> ProfileDocument::Find(std::string_view section,
                                                      std::string_view key) const {
  section = Trim(section);
  key = Trim(key);
  // Only the first section of a name counts, for reading as for writing, so a write always
  // changes what a read sees.
  size_t header = FindSection(section);
  if (header == std::string_view::npos) return std::nullopt;
  for (size_t i = header + 1, end = SectionEnd(header); i < end; ++i) {
    const Line& line = m_lines[i];
    if (line.kind == Kind::kKey && profile::NamesEqual(line.name, key)) return line.value;
  }
  return std::nullopt;
}

bool ProfileDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
  // Names are stored trimmed, as they read back.
  section = Trim(section);
  key = Trim(key);
  if (HasLineBreak(section) || HasLineBreak(key) || HasLineBreak(value) ||
      key.find('=') != std::string_view::npos ||
      (!key.empty() && (key.front() == ';' || key.front() == '[')) ||
      FindChar(section, ']') != std::string_view::npos || EndsInHalfCharacter(section)) {
    return false;
  }
  size_t header = FindSection(section);
  if (header == std::string_view::npos) {
    // A new section is set off from what comes before it by one blank line.
    if (!m_lines.empty() && !Trim(m_lines.back().text).empty()) m_lines.push_back(ParseLine(""));
    m_lines.push_back(ParseLine("[" + std::string(section) + "]"));
    m_lines.push_back(ParseLine(std::string(key) + "=" + std::string(value)));
    return true;
  }
  size_t insertAt = header + 1;
  for (size_t i = header + 1, end = SectionEnd(header); i < end; ++i) {
    Line& line = m_lines[i];
    if (line.kind != Kind::kKey) continue;
    if (profile::NamesEqual(line.name, key)) {
      line = ParseLine(line.name + "=" + std::string(value));
      return true;
    }
    insertAt = i + 1;
  }
  m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(insertAt),
                 ParseLine(std::string(key) + "=" + std::string(value)));
  return true;
}

bool ProfileDocument::RemoveKey(std::string_view section, std::string_view key) {
  section = Trim(section);
  key = Trim(key);
  // Every copy goes, so that the key really reads as missing afterwards.
  bool removed = false;
  bool inSection = false;
  std::vector<Line> kept;
  kept.reserve(m_lines.size());
  for (Line& line : m_lines) {
    if (line.kind == Kind::kSection) inSection = profile::NamesEqual(line.name, section);
    if (inSection && line.kind == Kind::kKey && profile::NamesEqual(line.name, key)) {
      removed = true;
      continue;
    }
    kept.push_back(std::move(line));
  }
  m_lines = std::move(kept);
  return removed;
}

bool ProfileDocument::RemoveSection(std::string_view section) {
  section = Trim(section);
  bool removed = false;
  bool inSection = false;
  std::vector<Line> kept;
  kept.reserve(m_lines.size());
  for (Line& line : m_lines) {
    if (line.kind == Kind::kSection) inSection = profile::NamesEqual(line.name, section);
    if (inSection) {
      removed = true;
      continue;
    }
    kept.push_back(std::move(line));
  }
  m_lines = std::move(kept);
  return removed;
}
