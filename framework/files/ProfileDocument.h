// ProfileDocument: a profile (INI) file held as its bytes, with the lookup and edit rules of the
// platform's profile functions. Lines are found by walking the bytes, so a document costs about
// what its file does however many lines it has. It works on bytes only: it opens no files and
// converts no text, so the file functions in Profile.h and the fuzz target share one parser.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class ProfileDocument {
 public:
  enum class Kind {
    kOther,    // blank line, comment, text before the first section, or a line without '='
    kSection,  // "[name]"
    kKey,      // "name=value"
  };
  // One line, as views into the document: valid until the document changes.
  struct Line {
    std::string_view text;  // the line's bytes without its line end, as in the file
    Kind kind = Kind::kOther;
    std::string_view name;   // section or key name, blanks trimmed, casing as in the file
    std::string_view value;  // key value, blanks trimmed and one pair of outer quotes removed
  };

  // Lines end at CR LF, LF or CR; UTF-8 byte-order marks at the start are dropped.
  static ProfileDocument Parse(std::string bytes);
  // Every line followed by CR LF; no byte-order mark.
  std::string Serialize() const;

  // Every line, parsed. For tests and the fuzzer: the lookups and edits walk the lines without
  // building this list.
  std::vector<Line> Lines() const;

  // The value of the first key named key in the first section named section (names trimmed and
  // compared without regard to ASCII case); nothing when the section or key is missing. Later
  // sections of the same name are never read (nor written).
  std::optional<std::string_view> Find(std::string_view section, std::string_view key) const;

  // Sets key to value in the first section named section: replaces the key's first line with
  // "key=value" (the file's casing of the key), or adds the line after the section's last key,
  // or appends the section at the end, right after the last line. False (and nothing changed)
  // when the names or the value could not be read back as written: a line break anywhere, '='
  // in the key, a key starting with ';' or '[', ']' in the section name or a section name
  // ending in half a character.
  bool Set(std::string_view section, std::string_view key, std::string_view value);

 private:
  // Where one line lies in m_text: its bytes are [begin, end), the next line starts at next.
  struct Span {
    size_t begin = 0;
    size_t end = 0;
    size_t next = 0;
  };
  // The line starting at pos (pos < size); the walk ends at m_text.size().
  Span LineAt(size_t pos) const;
  static Line ParseLine(std::string_view text);
  Line LineOf(const Span& span) const { return ParseLine(Text(span)); }
  std::string_view Text(const Span& span) const {
    return std::string_view(m_text).substr(span.begin, span.end - span.begin);
  }
  // The header of the first section named section, or nothing.
  std::optional<Span> FindSection(std::string_view section) const;
  // Inserts one line at pos (the start of a line, or the end), ending the last line first when
  // it has no line end of its own.
  void InsertLine(size_t pos, std::string_view text);

  std::string m_text;
};

namespace profile {

// Section and key names match without regard to ASCII case. Double-byte characters are compared
// whole, so a trail byte that happens to be an ASCII letter is never folded.
bool NamesEqual(std::string_view a, std::string_view b);

// The integer value of a profile text: blanks skipped, an optional sign, then decimal digits up
// to the first other character, wrapping modulo 2^32. No digits gives 0.
std::uint32_t ParseInt(std::string_view text);

}  // namespace profile
