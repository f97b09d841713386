// The JSON reader's input: the bytes of an InputReader as the parser reads them, and the line
// and column of what it has taken. Of JSON's syntax it knows only where a number's digits run
// longer than any value needs (JsonDigits).
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "FieldText.h"
#include "JsonDigits.h"
#include "Streams.h"
#include "Text.h"
#include "TextBuffer.h"

namespace vkd {

inline bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// A line and a column, counted in characters; column 0 is before the first character.
struct Position {
  size_t line = 1;
  size_t column = 0;
};

// The marks that begin a code page 932 character in the form the parser is given (JsonSource):
// a byte pair whose trail byte is below 0x80 (carried with its high bit set) or not, and a byte
// carried alone. No UTF-8 text holds these bytes.
inline constexpr unsigned char kPairLowTrail = 0xF8;
inline constexpr unsigned char kPair = 0xF9;
inline constexpr unsigned char kByte = 0xFA;

// The bytes a character of the parser's code page 932 form starts at text[i] takes.
inline size_t Cp932FormLength(std::string_view text, size_t i) {
  const auto c = static_cast<unsigned char>(text[i]);
  const size_t n = c == kPairLowTrail || c == kPair ? 3 : c == kByte ? 2 : 1;
  return std::min(n, text.size() - i);
}

// How far the parser has read: the position of the last character taken and of the last one
// that was not a blank. Moves over whole runs of bytes at once; it keeps none of them. cp932:
// the bytes are the parser's code page 932 form, else UTF-8.
class Progress {
 public:
  explicit Progress(bool cp932 = false) : m_cp932(cp932) {}
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
  size_t Characters(std::string_view bytes) const {
    size_t characters = 0;
    if (m_cp932) {
      for (size_t i = 0; i < bytes.size(); i += Cp932FormLength(bytes, i)) ++characters;
    } else {
      for (const char c : bytes) characters += !IsContinuation(c);
    }
    return characters;
  }
  // Counts characters line by line; a line feed is the last character of its line.
  void Count(std::string_view bytes) {
    while (!bytes.empty()) {
      const size_t lf = bytes.find('\n');
      const size_t n = lf == std::string_view::npos ? bytes.size() : lf + 1;
      const size_t characters = Characters(bytes.substr(0, n));
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
  bool m_cp932;
};

// Gives RapidJSON's reader its input as UTF-8, a window of bytes at a time (the reader's stream:
// Peek, Take, Tell), and tells the position of what it has taken, counting a window's characters
// once it is used up and the rest only when asked. A code page 932 input is handed over in a form
// that no UTF-8 holds and the parser, not checking UTF-8, copies as it stands: a byte pair as a
// mark (kPair, kPairLowTrail) and its two bytes with the trail's high bit set, a lead byte
// without its trail and a one-byte character that a UTF-8 continuation byte follows as kByte and
// the byte, any other byte as it is. The digits of a number past the first few are counted as
// taken but never handed over.
//
// The parser writes each string it reads back to the source (rapidjson::kParseInsituFlag), which
// turns it into code page 932 a piece at a time as it comes: the form into the same bytes, the
// UTF-8 of \u escapes into code page 932 (a private-use character of plane 15 into its bytes),
// and UTF-8 input into code page 932. So a string is held about once, in the size a dictionary
// stores it. A string the reader does not use keeps no more than a key's first bytes.
class JsonSource {
 public:
  using Ch = char;

  JsonSource(InputReader& in, Encoding enc);

  // The parser's reading: a pointer compare and a load but at the end of a window, where the
  // next one is taken. '\0' at the end of the input.
  char Peek() { return m_next < m_end || NextWindow() ? *m_next : '\0'; }
  char Take() { return m_next < m_end || NextWindow() ? *m_next++ : '\0'; }
  size_t Tell() const { return m_before + static_cast<size_t>(m_next - m_start); }
  // The last byte taken, if it is still in the window; -1 otherwise.
  int LastTaken() const { return m_next > m_start ? static_cast<unsigned char>(m_next[-1]) : -1; }
  // Whether the whole input was taken (a '\0' from Peek may be a byte of the input).
  bool AtEnd() { return m_next == m_end && !NextWindow(); }

  // The parser's writing of a string, ended by a byte 0 of its own. The pointer it is given is
  // never read: the string is the source's (Key, TakeString).
  char* PutBegin() {
    m_text.Begin(m_keepNext);
    return nullptr;
  }
  void Put(char c) { m_text.push_back(c); }
  void Flush() {}
  size_t PutEnd(char*) {
    m_text.pop_back();  // the parser's byte 0
    m_state = m_text.Finish();
    return 1;
  }
  // Whether the next string the parser reads is used whole; else only its first bytes are kept.
  void KeepNextString(bool keep) { m_keepNext = keep; }

  // Where the last character taken was, and the last one that was not a blank; withNext counts
  // the next character too, as if taken.
  Position Last(bool withNext);
  Position LastSolid(bool withNext);
  // The code page 932 bytes of the string last read, if it was not used whole and is short, as
  // a key is; nullopt for a longer one or one that code page 932 cannot hold.
  std::optional<std::string_view> Key();
  // Sets out to the code page 932 bytes of the string last read, used whole. False for text
  // that code page 932 cannot hold or that is longer than a dictionary holds (Overlong).
  bool TakeString(TextBuffer& out);
  // The code page 932 bytes of the string last read when they were more than a dictionary
  // holds; 0 when they were not.
  std::uint64_t Overlong() const {
    return m_state == FieldText::State::Overlong ? m_text.Length() : 0;
  }

 private:
  Progress Now(bool withNext);
  // Out of line, so that the parser's path for each byte stays small enough to be inlined.
  [[gnu::noinline]] bool NextWindow();
  bool LoadUtf8();
  bool LoadCp932();
  char* PutLastByte(char* out);
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
  FieldText m_text;  // the string the parser writes
  FieldText::State m_state = FieldText::State::Whole;
  bool m_keepNext = false;
};

}  // namespace vkd
