// The JSON reader's input: the bytes of an InputReader as the parser reads them, and the line
// and column of what it has taken. Of JSON's syntax it knows only where a number's digits run
// longer than any value needs (JsonDigits).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "JsonDigits.h"
#include "Streams.h"
#include "Text.h"

namespace vkd {

inline bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}
// A UTF-8 byte that goes on a character begun before it.
inline bool IsContinuation(char c) {
  return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// A line and a column, counted in characters; column 0 is before the first character.
struct Position {
  size_t line = 1;
  size_t column = 0;
};

// How far the parser has read: the position of the last character taken and of the last one
// that was not a blank. Moves over whole runs of bytes at once; it keeps none of them.
class Progress {
 public:
  Position Last() const { return m_last; }
  Position LastSolid() const { return m_solid; }

  // Moves past bytes taken after the last ones.
  void Over(std::string_view bytes) {
    // The bytes up to the last one that is not a blank end with the last such character.
    size_t solid = bytes.size();
    while (solid > 0 && IsBlank(bytes[solid - 1])) --solid;
    if (solid > 0) {
      Count(bytes.substr(0, solid));
      m_solid = m_last;
    }
    Count(bytes.substr(solid));
  }

 private:
  // Counts characters line by line; a line feed is the last character of its line.
  void Count(std::string_view bytes) {
    while (!bytes.empty()) {
      const size_t lf = bytes.find('\n');
      const size_t n = lf == std::string_view::npos ? bytes.size() : lf + 1;
      size_t characters = 0;
      for (size_t i = 0; i < n; ++i) characters += !IsContinuation(bytes[i]);
      if (characters > 0) {
        if (m_newLine) m_last = {m_last.line + 1, 0};
        m_newLine = false;
        m_last.column += characters;
      }
      if (lf == std::string_view::npos) return;
      m_newLine = true;
      bytes.remove_prefix(n);
    }
  }

  Position m_last;
  Position m_solid;
  bool m_newLine = false;
};

// Gives RapidJSON's reader its input as UTF-8, a window of bytes at a time (the reader's stream:
// Peek, Take, Tell), and tells the position of what it has taken, counting a window's characters
// once it is used up and the rest only when asked. A code page 932 input is handed over with each
// non-ASCII character, valid or not, as one private-use character of plane 15 that TakeString
// turns back into the same bytes: the parser sees UTF-8 and every byte of the input survives.
// (A \u escape of a plane-15 character in such an input reads as those bytes too.) The digits
// of a number past the first few are counted as taken but never handed over.
class JsonSource {
 public:
  using Ch = char;

  JsonSource(InputReader& in, Encoding enc) : m_in(in), m_enc(enc) {}

  // The parser's reading: a pointer compare and a load but at the end of a window, where the
  // next one is taken. '\0' at the end of the input.
  char Peek() { return m_next < m_end || NextWindow() ? *m_next : '\0'; }
  char Take() { return m_next < m_end || NextWindow() ? *m_next++ : '\0'; }
  size_t Tell() const { return m_before + static_cast<size_t>(m_next - m_start); }
  // The last byte taken, if it is still in the window; -1 otherwise.
  int LastTaken() const { return m_next > m_start ? static_cast<unsigned char>(m_next[-1]) : -1; }
  // Writing into the input, which it is never asked to do (no rapidjson::kParseInsituFlag).
  char* PutBegin() { return nullptr; }
  void Put(char) {}
  void Flush() {}
  size_t PutEnd(char*) { return 0; }
  // Whether the whole input was taken (a '\0' from Peek may be a byte of the input).
  bool AtEnd() { return m_next == m_end && !NextWindow(); }

  // Where the last character taken was, and the last one that was not a blank; withNext counts
  // the next character too, as if taken.
  Position Last(bool withNext);
  Position LastSolid(bool withNext);
  // Sets out to the code page 932 bytes of a string the parser has finished with, and gives
  // the memory of a long one back as it goes (its bytes are then gone). False for text that
  // code page 932 cannot hold.
  bool TakeString(std::string_view parsed, std::string& out) const;

 private:
  // Appends the code page 932 bytes of UTF-8 text (in plane-15 form for a code page 932 input).
  bool AppendBytes(std::string_view text, std::string& out) const;
  Progress Now(bool withNext);
  // Out of line, so that the parser's path for each byte stays small enough to be inlined.
  [[gnu::noinline]] bool NextWindow();
  bool LoadUtf8();
  bool LoadCp932();
  char* PutLastLead(char* out);
  void SetWindow(const char* begin, const char* end);
  void Count(const char* begin, const char* end);

  InputReader& m_in;
  Encoding m_enc;
  std::string m_window;  // a code page 932 input's current window
  // The window: the parser has taken the bytes from m_start to m_next, and m_base is the
  // position at m_start, m_before the bytes before it. The bytes loaded run on to m_loaded,
  // past m_end where digits are dropped.
  const char* m_start = nullptr;
  const char* m_next = nullptr;
  const char* m_end = nullptr;
  const char* m_loaded = nullptr;
  JsonDigits m_digits;
  Progress m_base;
  size_t m_before = 0;
};

}  // namespace vkd
