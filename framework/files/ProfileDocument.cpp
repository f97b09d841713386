// Parsing and editing of profile text, line by line. Lines the program does not change keep their
// bytes; only the line ends become CR LF on output. Nothing is kept per line: every lookup walks
// the bytes, so ten million empty lines cost ten megabytes, not a gigabyte.
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
  line.text = text;
  std::string_view t = Trim(text);
  if (t.empty() || t.front() == ';') return line;
  if (t.front() == '[') {
    // A '[' line always starts a section, even without its ']', so that it can never be read
    // as a key of the section before it.
    std::string_view name = t.substr(1);
    name = name.substr(0, FindChar(name, ']'));
    line.kind = Kind::kSection;
    line.name = Trim(name);
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
  line.name = Trim(t.substr(0, eq));
  line.value = value;
  return line;
}

ProfileDocument ProfileDocument::Parse(std::string bytes) {
  // Every leading mark goes, not just one: a second one would otherwise be written out at the
  // start of the file and vanish on the next read, changing the first line.
  size_t marks = 0;
  while (std::string_view(bytes).substr(marks).starts_with(kBom)) marks += kBom.size();
  bytes.erase(0, marks);
  ProfileDocument doc;
  doc.m_text = std::move(bytes);
  return doc;
}

ProfileDocument::Span ProfileDocument::LineAt(size_t pos) const {
  Span span{pos, m_text.find_first_of("\r\n", pos), 0};
  if (span.end == std::string::npos) {
    span.end = span.next = m_text.size();
    return span;
  }
  span.next = span.end + 1;
  if (m_text[span.end] == '\r' && span.next < m_text.size() && m_text[span.next] == '\n')
    ++span.next;
  return span;
}

std::string ProfileDocument::Serialize() const {
  size_t size = 0;
  for (size_t pos = 0; pos < m_text.size(); pos = LineAt(pos).next) {
    const Span span = LineAt(pos);
    size += span.end - span.begin + 2;
  }
  std::string out;
  out.reserve(size);
  for (size_t pos = 0; pos < m_text.size();) {
    const Span span = LineAt(pos);
    out += Text(span);
    out += "\r\n";
    pos = span.next;
  }
  return out;
}

std::vector<ProfileDocument::Line> ProfileDocument::Lines() const {
  std::vector<Line> lines;
  for (size_t pos = 0; pos < m_text.size();) {
    const Span span = LineAt(pos);
    lines.push_back(LineOf(span));
    pos = span.next;
  }
  return lines;
}

std::optional<ProfileDocument::Span> ProfileDocument::FindSection(std::string_view section) const {
  for (size_t pos = 0; pos < m_text.size();) {
    const Span span = LineAt(pos);
    const Line line = LineOf(span);
    if (line.kind == Kind::kSection && profile::NamesEqual(line.name, section)) return span;
    pos = span.next;
  }
  return std::nullopt;
}

std::optional<std::string_view> ProfileDocument::Find(std::string_view section,
                                                      std::string_view key) const {
  section = Trim(section);
  key = Trim(key);
  // Only the first section of a name counts, for reading as for writing, so a write always
  // changes what a read sees.
  const std::optional<Span> header = FindSection(section);
  if (!header) return std::nullopt;
  for (size_t pos = header->next; pos < m_text.size();) {
    const Span span = LineAt(pos);
    const Line line = LineOf(span);
    if (line.kind == Kind::kSection) break;
    if (line.kind == Kind::kKey && profile::NamesEqual(line.name, key)) return line.value;
    pos = span.next;
  }
  return std::nullopt;
}

void ProfileDocument::InsertLine(size_t pos, std::string_view text) {
  std::string line(text);
  line += "\r\n";
  if (pos == m_text.size() && !m_text.empty() && m_text.back() != '\n' && m_text.back() != '\r')
    line.insert(0, "\r\n");
  m_text.insert(pos, line);
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
  const std::string entry = std::string(key) + "=" + std::string(value);
  const std::optional<Span> header = FindSection(section);
  if (!header) {
    // As the platform writes it: the new section follows the last line directly.
    InsertLine(m_text.size(), "[" + std::string(section) + "]");
    InsertLine(m_text.size(), entry);
    return true;
  }
  size_t insertAt = header->next;
  for (size_t pos = header->next; pos < m_text.size();) {
    const Span span = LineAt(pos);
    const Line line = LineOf(span);
    if (line.kind == Kind::kSection) break;
    if (line.kind == Kind::kKey) {
      if (profile::NamesEqual(line.name, key)) {
        const std::string replacement = std::string(line.name) + "=" + std::string(value);
        m_text.replace(span.begin, span.end - span.begin, replacement);
        return true;
      }
      insertAt = span.next;
    }
    pos = span.next;
  }
  InsertLine(insertAt, entry);
  return true;
}
