// What every import shares: the "line N: " that starts its messages, and the Importer that turns
// each record read into an entry of the book. It knows no format's syntax.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "DictData.h"
#include "Text.h"

namespace vkd {

// "line N: ", the start of every import message.
std::string LineLabel(size_t n);

// Where an Importer puts each entry it made.
class EntrySink {
 public:
  virtual ~EntrySink() = default;
  // Keeps an entry given as code page 932 bytes, and may move from them. False, with why in
  // error, when it cannot.
  virtual bool Add(std::string& word, std::string& meaning, std::string& error) = 0;
};

// Turns each record read into an entry, as code page 932 text, and hands it to a sink. Meanings
// have their line breaks stored as CR LF, as the program's window stores them, unless asked to
// keep them. It allows no more than a book's MAX_WORDS entries. It knows nothing of where an
// entry stood in the input: the reader puts that before the message.
class Importer {
 public:
  Importer(EntrySink& sink, Encoding enc, bool keepLineBreaks)
      : m_sink(sink), m_enc(enc), m_keepLineBreaks(keepLineBreaks) {}

  Encoding encoding() const { return m_enc; }
  // The entries handed over so far.
  int count() const { return m_count; }

  // Makes an entry from word and meaning in the input encoding and hands it to the sink; both
  // may be swapped with other strings. False, with why in error, when it would be one entry too
  // many, its text cannot be held or is longer than a dictionary holds, or the sink cannot keep
  // it.
  bool Add(std::string& word, std::string& meaning, std::string& error);
  // As Add, for word and meaning already in code page 932; the sink may move from them.
  bool AddBytes(std::string& word, std::string& meaning, std::string& error);
  // The name a JSON document carries, in code page 932; it may be moved from.
  bool SetName(std::string& bytes, std::string& error);
  const std::optional<CString>& name() const { return m_name; }

 private:
  bool Room(std::string& error) const;
  // The text as code page 932 bytes in bytes; text is changed and swapped with bytes.
  bool Decode(std::string& text, std::string& bytes, std::string& error) const;
  bool Keep(std::string& word, std::string& meaning, std::string& error);

  EntrySink& m_sink;
  Encoding m_enc;
  bool m_keepLineBreaks;
  int m_count = 0;
  std::optional<CString> m_name;
  std::string m_word, m_meaning;  // kept from entry to entry with their room
};

}  // namespace vkd
