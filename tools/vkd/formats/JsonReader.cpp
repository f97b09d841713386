#include <algorithm>
#include <cstddef>
#include <iterator>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "Json.h"
#include "Messages.h"

namespace vkd {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}
// A UTF-8 byte that goes on a character begun before it.
bool IsContinuation(char c) {
  return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}
bool IsLeadByte(unsigned c) {
  return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// Writes a code point of plane 15 (four bytes) as UTF-8 at out and returns the end.
char* PutPlane15(char* out, unsigned code) {
  const unsigned cp = 0xF0000 + code;
  *out++ = static_cast<char>(0xF0 | (cp >> 18));
  *out++ = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
  *out++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
  *out++ = static_cast<char>(0x80 | (cp & 0x3F));
  return out;
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

// Gives the parser its input as UTF-8, a window of bytes at a time, and tells the position of
// what it has taken, counting only when asked. A code page 932 input is handed over with each
// non-ASCII character, valid or not, as one private-use character of plane 15 that ToBytes
// turns back into the same bytes: the parser sees UTF-8 and every byte of the input survives.
// (A \u escape of a plane-15 character in such an input reads as those bytes too.)
class JsonSource {
 public:
  JsonSource(InputReader& in, Encoding enc) : m_in(in), m_enc(enc) {}

  // The parser's reading, through JsonIterator: a pointer compare and increment but at the end
  // of a window.
  bool AtEnd() { return m_next == m_end && !NextWindow(); }
  char Current() const { return *m_next; }
  void Advance() { ++m_next; }

  // Where the last character taken was, and the last one that was not a blank.
  Position Last() const { return Now().Last(); }
  Position LastSolid() const { return Now().LastSolid(); }
  // Sets out to a string from the parser as bytes in the input encoding. False for a \u escape
  // that code page 932 cannot hold.
  bool ToBytes(const std::string& text, std::string& out) const {
    if (m_enc == Encoding::Utf8) {
      out.assign(text);
      return true;
    }
    out.resize(text.size());  // no character takes more bytes in code page 932 than in UTF-8
    char* p = out.data();
    for (size_t i = 0; i < text.size();) {
      const auto c = static_cast<unsigned char>(text[i]);
      const size_t n = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
      if (n == 1) {
        *p++ = static_cast<char>(c);
      } else if (n == 4 && c == 0xF3 && static_cast<unsigned char>(text[i + 1]) >= 0xB0) {
        const unsigned cp = ((c & 7u) << 18) | ((text[i + 1] & 0x3Fu) << 12) |
                            ((text[i + 2] & 0x3Fu) << 6) | (text[i + 3] & 0x3Fu);
        if (cp >= 0xF0100) *p++ = static_cast<char>((cp >> 8) & 0xFF);
        *p++ = static_cast<char>(cp & 0xFF);
      } else {
        const auto bytes = FromUtf8(std::string_view(text).substr(i, n));
        if (!bytes) return false;
        p = std::copy(bytes->begin(), bytes->end(), p);
      }
      i += n;
    }
    out.resize(static_cast<size_t>(p - out.data()));
    return true;
  }

 private:
  // The position at the parser's next byte.
  Progress Now() const {
    Progress now = m_base;
    now.Over(std::string_view(m_start, static_cast<size_t>(m_next - m_start)));
    return now;
  }

  // Counts the window just used up and takes the next one; false at the end of the input. Out
  // of line, so that the parser's path for each byte stays small enough to be inlined.
  [[gnu::noinline]] bool NextWindow() {
    m_base.Over(std::string_view(m_start, static_cast<size_t>(m_end - m_start)));
    m_start = m_next = m_end;
    return m_enc == Encoding::Utf8 ? LoadUtf8() : LoadCp932();
  }

  // UTF-8 input goes to the parser as it is, straight from the reader's buffer.
  bool LoadUtf8() {
    const std::string_view ahead = m_in.Ahead();
    m_in.Skip(ahead.size());
    SetWindow(ahead.data(), ahead.data() + ahead.size());
    return !ahead.empty();
  }

  // Code page 932 input goes in its plane-15 form, a block of the reader's at a time.
  bool LoadCp932() {
    const std::string_view ahead = m_in.Ahead();
    if (ahead.empty()) return false;
    if (m_window.size() < 4 * ahead.size()) m_window.resize(4 * ahead.size());
    char* out = m_window.data();
    size_t i = 0;
    while (i < ahead.size()) {
      const auto c = static_cast<unsigned char>(ahead[i]);
      if (c < 0x80) {
        *out++ = static_cast<char>(c);
        ++i;
      } else if (!IsLeadByte(c)) {
        out = PutPlane15(out, c);
        ++i;
      } else if (i + 1 == ahead.size()) {
        break;  // its trail byte may be in the next block
      } else {
        const auto trail = static_cast<unsigned char>(ahead[i + 1]);
        const bool pair = IsTrailByte(trail);
        out = PutPlane15(out, pair ? (c << 8) | trail : c);
        i += pair ? 2 : 1;
      }
    }
    m_in.Skip(i);
    if (i < ahead.size()) out = PutLastLead(out);
    SetWindow(m_window.data(), out);
    return true;
  }

  // The lead byte that ends a block, with the first byte of the next block if that is its trail.
  char* PutLastLead(char* out) {
    const auto lead = static_cast<unsigned>(m_in.Get());
    const int trail = m_in.Peek();
    if (trail >= 0 && IsTrailByte(static_cast<unsigned char>(trail)))
      return PutPlane15(out, (lead << 8) | static_cast<unsigned>(m_in.Get()));
    return PutPlane15(out, lead);
  }

  void SetWindow(const char* begin, const char* end) {
    m_start = m_next = begin;
    m_end = end;
  }

  InputReader& m_in;
  Encoding m_enc;
  std::string m_window;  // a code page 932 input's current window
  // The window: the parser has taken the bytes from m_start to m_next, and m_base is the
  // position at m_start.
  const char* m_start = nullptr;
  const char* m_next = nullptr;
  const char* m_end = nullptr;
  Progress m_base;
};

// The parser's view of a JsonSource: an input iterator of chars. Copies share the source's
// reading position.
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
      std::string name, why;
      if (!Text(text, name) || !m_importer.SetName(name, why))
        return Fail(Fmt(Tr("the name: %s"), {why.empty() ? CannotHold() : why}));
      return true;
    }
    if (m_where == Where::Entry && (m_key == Key::Word || m_key == Key::Meaning)) {
      // Copied, not moved: both strings keep their room for the next entry.
      const bool word = m_key == Key::Word;
      if (!Text(text, word ? m_word : m_meaning)) return Fail(EntryLabel() + CannotHold());
      (word ? m_hasWord : m_hasMeaning) = true;
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
    if (!m_hasWord) return Fail(EntryLabel() + Tr("no \"word\""));
    if (!m_hasMeaning) return Fail(EntryLabel() + Tr("no \"meaning\""));
    const std::string label = EntryLabel();
    std::string why;
    if (!m_importer.Add(m_word, m_meaning, why)) return Fail(label + why);
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

  bool Text(const std::string& text, std::string& out) const { return m_source.ToBytes(text, out); }
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
      m_hasWord = m_hasMeaning = false;
      return true;
    }
    if ((m_where == Where::Top && m_key == Key::Other) ||
        (m_where == Where::Entry && m_key == Key::Other)) {
      m_skip = 1;
      return true;
    }
    return Scalar();
  }

  static std::string PositionLabel(Position at) {
    return Fmt(Tr("line %s, column %s: "), {std::to_string(at.line), std::to_string(at.column)});
  }
  bool Fail(const std::string& why) { return Fail(why, m_source.LastSolid()); }
  bool Fail(const std::string& why, Position at) {
    if (m_error.empty()) m_error = PositionLabel(at) + why;
    return false;
  }

  JsonSource& m_source;
  Importer& m_importer;
  Where m_where = Where::Start;
  Key m_key = Key::None;
  int m_skip = 0;  // depth inside a value being skipped
  bool m_sawEntries = false;
  bool m_hasWord = false, m_hasMeaning = false;
  std::string m_word, m_meaning;  // in the input encoding
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
