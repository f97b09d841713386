// The text of one field as a reader takes it in: its bytes are turned into code page 932 a
// piece at a time as they come (from UTF-8, or from the JSON reader's form), so that a field is
// held in about the size a dictionary stores it and never first in the size it was read in.
// Past the longest text a dictionary holds it only counts, and a field that is not used keeps
// only its first bytes. It knows no format's syntax.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "Text.h"
#include "TextBuffer.h"

namespace vkd {

class FieldText {
 public:
  // How the bytes taken in become code page 932. append appends the code page 932 bytes of a
  // piece, false for bytes it cannot turn; wholeEnd tells where the last whole character that
  // starts before the last four bytes ends (no character takes more than four).
  struct Decoder {
    bool (*append)(std::string_view piece, std::string& out);
    size_t (*wholeEnd)(std::string_view bytes);
  };
  enum class State { Whole, Cut, Bad, Overlong };

  // The bytes of enc's text; code page 932 needs no decoder.
  explicit FieldText(Encoding enc);
  explicit FieldText(const Decoder* decoder) : m_decoder(decoder) {}

  // Empties it for a new field, used whole or (a key, or a value not used) only its first bytes.
  void Begin(bool whole = true);
  void push_back(char c) {
    if (m_put == m_end) MakeRoom();
    *m_put++ = c;
  }
  void append(std::string_view bytes);
  // Takes back the last byte given.
  void pop_back() { --m_put; }
  // Turns the rest into code page 932 and tells what the field came to: Whole, Cut (more than
  // its first bytes were given to a field not used whole), Bad (bytes the decoder cannot turn)
  // or Overlong (more than a dictionary holds in one text).
  State Finish();
  // The code page 932 bytes, after Finish of a Whole field or of a Cut one's first bytes.
  TextBuffer& Bytes() { return m_text; }
  // The code page 932 bytes there were, also past what was kept of an overlong field.
  std::uint64_t Length() const { return m_dropped + m_done; }

 private:
  // Turns the bytes after m_done, up to the last whole character or (last) all of them, into
  // code page 932.
  void Convert(bool last);
  [[gnu::noinline]] void MakeRoom();

  const Decoder* m_decoder;
  // Code page 932 up to m_done, then the bytes as they were given up to m_put. Once m_done is
  // more than a dictionary holds, those bytes are counted in m_dropped instead.
  TextBuffer m_text;
  char* m_put = nullptr;
  char* m_end = nullptr;
  size_t m_done = 0;
  std::uint64_t m_dropped = 0;
  bool m_whole = true;
  bool m_cut = false;
  bool m_bad = false;
  std::string m_piece;  // a piece as it is turned into code page 932
};

}  // namespace vkd
