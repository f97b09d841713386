#include <cstddef>
#include <iterator>
#include <nlohmann/json.hpp>
#include <optional>

#include "Json.h"
#include "Messages.h"

namespace vkd {
namespace {

// Gives the parser the input byte by byte as UTF-8 and keeps the position (line and column,
// counted in characters) of what it has taken. A code page 932 input is handed over with each
// non-ASCII character, valid or not, as one private-use character of plane 15 that ToBytes
// turns back into the same bytes: the parser sees UTF-8 and every byte of the input survives.
// (A \u escape of a plane-15 character in such an input reads as those bytes too.)
class JsonSource {
 public:
  struct Position {
    size_t line = 1;
    size_t column = 0;
  };

  JsonSource(InputReader& in, Encoding enc) : m_in(in), m_enc(enc) {}

  // UTF-8 input goes to the parser as it is, straight from the reader's buffer.
  bool AtEnd() {
    if (m_enc == Encoding::Utf8) return m_in.Peek() < 0;
    return m_next == m_size && !Load();
  }
  char Current() {
    if (m_enc == Encoding::Utf8) return static_cast<char>(m_in.Peek());
    return m_pending[m_next];
  }
  void Advance() {
    if (m_enc == Encoding::Cp932) {
      ++m_next;
      return;
    }
    const int c = m_in.Get();
    if ((c & 0xC0) != 0x80) Step(c);  // columns count characters, not bytes
  }

  // Where the last character taken was, and the last one that was not a blank.
  Position Last() const { return m_last; }
  Position LastSolid() const { return m_solid; }

  // A string from the parser as bytes in the input encoding. False for a \u escape that code
  // page 932 cannot hold.
  bool ToBytes(std::string& text) const {
    if (m_enc == Encoding::Utf8) return true;
    std::string out;
    for (size_t i = 0; i < text.size();) {
      const auto c = static_cast<unsigned char>(text[i]);
      const size_t n = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
      if (n == 1) {
        out += static_cast<char>(c);
      } else if (n == 4 && c == 0xF3 && static_cast<unsigned char>(text[i + 1]) >= 0xB0) {
        const unsigned cp = ((c & 7u) << 18) | ((text[i + 1] & 0x3Fu) << 12) |
                            ((text[i + 2] & 0x3Fu) << 6) | (text[i + 3] & 0x3Fu);
        if (cp >= 0xF0100) out += static_cast<char>((cp >> 8) & 0xFF);
        out += static_cast<char>(cp & 0xFF);
      } else {
        auto bytes = FromUtf8(std::string_view(text).substr(i, n));
        if (!bytes) return false;
        out += *bytes;
      }
      i += n;
    }
    text = std::move(out);
    return true;
  }

 private:
  // The next character of a code page 932 input into m_pending.
  bool Load() {
    const int c = m_in.Get();
    if (c < 0) return false;
    m_next = 0;
    m_size = 1;
    m_pending[0] = static_cast<char>(c);
    Step(c);
    if (c >= 0x80) {
      unsigned cp = 0xF0000 + static_cast<unsigned>(c);
      const int trail = m_in.Peek();
      if (cp932IsLead(c) && trail >= 0 && IsTrailByte(static_cast<unsigned char>(trail)))
        cp = 0xF0000 + ((static_cast<unsigned>(c) << 8) | static_cast<unsigned>(m_in.Get()));
      m_pending[0] = static_cast<char>(0xF0 | (cp >> 18));
      m_pending[1] = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
      m_pending[2] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      m_pending[3] = static_cast<char>(0x80 | (cp & 0x3F));
      m_size = 4;
    }
    return true;
  }

  static bool cp932IsLead(int c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

  void Step(int c) {
    if (m_newLine) {
      ++m_last.line;
      m_last.column = 0;
      m_newLine = false;
    }
    ++m_last.column;
    m_newLine = c == '\n';
    if (c != ' ' && c != '\t' && c != '\r' && c != '\n') m_solid = m_last;
  }

  InputReader& m_in;
  Encoding m_enc;
  char m_pending[4] = {};
  size_t m_next = 0;
  size_t m_size = 0;
  Position m_last;
  Position m_solid;
  bool m_newLine = false;
};

// The parser's view of a JsonSource: an input iterator of chars.
class JsonIterator {
 public:
  using iterator_category = std::input_iterator_tag;
  using value_type = char;
  using difference_type = std::ptrdiff_t;
  using pointer = const char*;
  using reference = char;

  explicit JsonIterator(JsonSource* source = nullptr) : m_source(source) {}
  char operator*() const { return m_source->Current(); }  // only when not at the end
  JsonIterator& operator++() {
    m_source->Advance();
    return *this;
  }
  JsonIterator operator++(int) {
    JsonIterator before = *this;
    ++*this;
    return before;
  }
  bool operator==(const JsonIterator& other) const { return AtEnd() == other.AtEnd(); }
  bool operator!=(const JsonIterator& other) const { return !(*this == other); }

 private:
  bool AtEnd() const { return !m_source || m_source->AtEnd(); }
  JsonSource* m_source;
};

using Json = nlohmann::json;

// Follows the parser's events through the one document shape vkd reads, adding each entry as
// it closes. Anything else in the document is skipped.
class DocumentHandler : public nlohmann::json_sax<Json> {
 public:
  DocumentHandler(JsonSource& source, Importer& importer)
      : m_source(source), m_importer(importer) {}

  const std::string& Error() const { return m_error; }

  bool null() override { return Scalar(); }
  bool boolean(bool) override { return Scalar(); }
  bool number_integer(number_integer_t) override { return Scalar(); }
  bool number_unsigned(number_unsigned_t) override { return Scalar(); }
  bool number_float(number_float_t, const string_t&) override { return Scalar(); }
  bool binary(binary_t&) override { return Scalar(); }

  bool string(string_t& text) override {
    if (m_skip > 0 || m_key == Key::Other) return true;
    if (m_where == Where::Top && m_key == Key::Name) {
      std::string why;
      if (!Text(text) || !m_importer.SetName(text, why))
        return Fail(Fmt(Tr("the name: %s"), {why.empty() ? CannotHold() : why}));
      return true;
    }
    if (m_where == Where::Entry && (m_key == Key::Word || m_key == Key::Meaning)) {
      if (!Text(text)) return Fail(EntryLabel() + CannotHold());
      (m_key == Key::Word ? m_word : m_meaning) = std::move(text);
      return true;
    }
    return Scalar();
  }

  bool start_object(std::size_t) override { return Open(true); }
  bool start_array(std::size_t) override { return Open(false); }

  bool key(string_t& name) override {
    if (m_skip > 0) return true;
    if (m_where == Where::Top)
      m_key = name == "name" ? Key::Name : name == "entries" ? Key::Entries : Key::Other;
    else if (m_where == Where::Entry)
      m_key = name == "word" ? Key::Word : name == "meaning" ? Key::Meaning : Key::Other;
    return true;
  }

  bool end_object() override {
    if (m_skip > 0) return --m_skip, true;
    if (m_where == Where::Top) {
      m_where = Where::Done;
      return m_sawEntries || Fail(Tr("no \"entries\" in the document"));
    }
    // An entry ends.
    if (!m_word) return Fail(EntryLabel() + Tr("no \"word\""));
    if (!m_meaning) return Fail(EntryLabel() + Tr("no \"meaning\""));
    std::string why;
    if (!m_importer.Add(*m_word, *m_meaning, why)) return Fail(EntryLabel() + why);
    m_where = Where::Entries;
    return true;
  }

  bool end_array() override {
    if (m_skip > 0) return --m_skip, true;
    m_where = Where::Top;
    m_key = Key::None;
    return true;
  }

  bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception& e) override {
    // "[json.exception.parse_error.101] parse error at line 1, column 2: what": keep the what.
    std::string what = e.what();
    const auto start = what.find("parse error");
    const auto colon = what.find(": ", start == std::string::npos ? 0 : start);
    if (colon != std::string::npos) what = what.substr(colon + 2);
    // "; last read: '<the token>'" can be a whole long string: leave it out.
    const auto lastRead = what.find("; last read: '");
    if (lastRead != std::string::npos) {
      const auto expected = what.rfind("'; expected");
      what =
          what.substr(0, lastRead) +
          (expected != std::string::npos && expected > lastRead ? what.substr(expected + 1) : "");
    }
    return Fail(what, m_source.Last());
  }

 private:
  enum class Where { Start, Top, Entries, Entry, Done };
  enum class Key { None, Name, Entries, Word, Meaning, Other };

  bool Text(std::string& text) const { return m_source.ToBytes(text); }
  std::string CannotHold() const {
    return m_importer.encoding() == Encoding::Utf8
               ? Tr("text that is not UTF-8 or that code page 932 cannot hold")
               : Tr("a \\u escape that code page 932 cannot hold");
  }
  std::string EntryLabel() const {
    return Fmt(Tr("entry %s: "), {std::to_string(m_importer.count())});
  }

  // A value that is not a string, or a string where none belongs.
  bool Scalar() {
    if (m_skip > 0) return true;
    switch (m_where) {
      case Where::Start:
        return Fail(Tr("expected an object"));
      case Where::Top:
        if (m_key == Key::Name) return Fail(Tr("\"name\" must be a string"));
        if (m_key == Key::Entries) return Fail(Tr("\"entries\" must be an array"));
        return true;
      case Where::Entries:
        return Fail(EntryLabel() + Tr("expected an object"));
      case Where::Entry:
        if (m_key == Key::Word || m_key == Key::Meaning)
          return Fail(EntryLabel() + Fmt(Tr("\"%s\" must be a string"),
                                         {m_key == Key::Word ? "word" : "meaning"}));
        return true;
      case Where::Done:
        break;
    }
    return true;
  }

  bool Open(bool object) {
    if (m_skip > 0) return ++m_skip, true;
    if (m_where == Where::Start) {
      if (!object) return Fail(Tr("expected an object"));
      m_where = Where::Top;
      return true;
    }
    if (m_where == Where::Top && m_key == Key::Entries && !object) {
      m_where = Where::Entries;
      m_sawEntries = true;
      return true;
    }
    if (m_where == Where::Entries && object) {
      m_where = Where::Entry;
      m_key = Key::None;
      m_word.reset();
      m_meaning.reset();
      return true;
    }
    if ((m_where == Where::Top && m_key == Key::Other) ||
        (m_where == Where::Entry && m_key == Key::Other)) {
      m_skip = 1;
      return true;
    }
    return Scalar();
  }

  bool Fail(const std::string& why) { return Fail(why, m_source.LastSolid()); }
  bool Fail(const std::string& why, JsonSource::Position at) {
    if (m_error.empty()) {
      m_error =
          Fmt(Tr("line %s, column %s: "), {std::to_string(at.line), std::to_string(at.column)}) +
          why;
    }
    return false;
  }

  JsonSource& m_source;
  Importer& m_importer;
  Where m_where = Where::Start;
  Key m_key = Key::None;
  int m_skip = 0;  // depth inside a value being skipped
  bool m_sawEntries = false;
  std::optional<std::string> m_word, m_meaning;
  std::string m_error;
};

}  // namespace

bool ReadJson(InputReader& in, Importer& importer, std::string& error) {
  JsonSource source(in, importer.encoding());
  DocumentHandler handler(source, importer);
  const bool ok = Json::sax_parse(JsonIterator(&source), JsonIterator(), &handler);
  if (ok) return true;
  error = handler.Error();
  return false;
}

}  // namespace vkd
