// What every import shares: the "line N: " that starts its messages, and the Importer that turns
// each record read into an entry of the book. It knows no format's syntax.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "DictData.h"
#include "FieldText.h"
#include "Text.h"
#include "TextBuffer.h"

namespace vkd {

// "line N: ", the start of every import message.
std::string LineLabel(size_t n);
// Why a text of so many bytes cannot be a dictionary's, for one longer than a dictionary holds.
std::string TooLong(std::uint64_t bytes);

// Where an Importer puts each entry it made.
class EntrySink {
 public:
  virtual ~EntrySink() = default;
  // Keeps an entry given as code page 932 bytes, and may take them. False, with why in error,
  // when it cannot.
  virtual bool Add(TextBuffer& word, TextBuffer& meaning, std::string& error) = 0;
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

  // Makes an entry from a word and a meaning read whole (and not yet finished) and hands it to
  // the sink, which may take their bytes. False, with why in error, when it would be one entry
  // too many, its text cannot be held or is longer than a dictionary holds, or the sink cannot
  // keep it.
  bool Add(FieldText& word, FieldText& meaning, std::string& error);
  // As Add, for word and meaning already in code page 932.
  bool AddBytes(TextBuffer& word, TextBuffer& meaning, std::string& error);
  // The name a JSON document carries, in code page 932; it is taken.
  bool SetName(TextBuffer& bytes, std::string& error);
  const std::optional<CString>& name() const { return m_name; }
  CString TakeName() { return std::move(*m_name); }

 private:
  bool Room(std::string& error) const;
  // Finishes a field read whole; false with why when it cannot be a dictionary's text.
  static bool Finish(FieldText& field, std::string& error);
  bool Keep(TextBuffer& word, TextBuffer& meaning, std::string& error);

  EntrySink& m_sink;
  Encoding m_enc;
  bool m_keepLineBreaks;
  int m_count = 0;
  std::optional<CString> m_name;
};

}  // namespace vkd
