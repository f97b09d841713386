// ProfileDocument: a profile (INI) file held as its lines, with the lookup and edit rules of the
// platform's profile functions. It works on bytes only: it opens no files and converts no text,
// so the file functions in Profile.h and the fuzz target share one parser.
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
  struct Line {
    std::string text;  // the line's bytes without its line end, as in the file
    Kind kind = Kind::kOther;
    std::string name;   // section or key name, blanks trimmed, casing as in the file
    std::string value;  // key value, blanks trimmed and one pair of outer quotes removed
  };

  // Splits bytes at CR LF, LF or CR; UTF-8 byte-order marks at the start are dropped.
  static ProfileDocument Parse(std::string_view bytes);
  // Every line followed by CR LF; no byte-order mark.
  std::string Serialize() const;

  const std::vector<Line>& Lines() const { return m_lines; }

  // The value of the first key named key in the first section named section (names trimmed and
  // compared without regard to ASCII case); nothing when the section or key is missing. Later
  // sections of the same name are never read (nor written).
  std::optional<std::string_view> Find(std::string_view section, std::string_view key) const;

  // Sets key to value in the first section named section: replaces the key's first line with
  // "key=value" (the file's casing of the key), or adds the line after the section's last key,
  // or appends the section at the end. False (and nothing changed) when the names or the value
  // could not be read back as written: a line break anywhere, '=' in the key, a key starting
  // with ';' or '[', ']' in the section name or a section name ending in half a character.
  // A new section follows one blank line when the document does not already end in one.
  bool Set(std::string_view section, std::string_view key, std::string_view value);
  // Removes every line of key in every section named section. True when something went.
  bool RemoveKey(std::string_view section, std::string_view key);
  // Removes every section named section with all its lines. True when something went.
  bool RemoveSection(std::string_view section);

 private:
  static Line ParseLine(std::string_view text);
  // Index of the header of the first section named section, or npos.
  size_t FindSection(std::string_view section) const;
  // One past the last line of the section whose header is at index header.
  size_t SectionEnd(size_t header) const;

  std::vector<Line> m_lines;
};

namespace profile {

// Section and key names match without regard to ASCII case. Double-byte characters are compared
// whole, so a trail byte that happens to be an ASCII letter is never folded.
bool NamesEqual(std::string_view a, std::string_view b);

// The integer value of a profile text: blanks skipped, an optional sign, then decimal digits up
// to the first other character, wrapping modulo 2^32. No digits gives 0.
std::uint32_t ParseInt(std::string_view text);

}  // namespace profile
