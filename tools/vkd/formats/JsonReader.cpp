#include <rapidjson/error/error.h>
#include <rapidjson/reader.h>

#include <string>
#include <string_view>

#include "Json.h"
#include "JsonSource.h"
#include "Messages.h"

namespace vkd {
namespace {

std::string PositionLabel(Position at) {
  return Fmt(Tr("line %s, column %s: "), {std::to_string(at.line), std::to_string(at.column)});
}

// Follows the parser's events through the one document shape vkd reads, adding each entry as
// it closes. Anything else in the document is skipped.
class DocumentHandler : public rapidjson::BaseReaderHandler<rapidjson::UTF8<>, DocumentHandler> {
 public:
  DocumentHandler(JsonSource& source, Importer& importer)
      : m_source(source), m_importer(importer) {}

  const std::string& Error() const { return m_error; }

  // The events of rapidjson::Reader. The parser has taken a literal or a string when it tells
  // of it, but only looked at the character after a number and at a bracket.
  // The parser reads strings into the source, which keeps the next one whole only when told.
  bool Null() { return Scalar(false); }
  bool Bool(bool) { return Scalar(false); }
  // No number's value is used (and the source drops digits past the first few).
  bool Int(int) { return Scalar(true); }
  bool Uint(unsigned) { return Scalar(true); }
  bool Int64(int64_t) { return Scalar(true); }
  bool Uint64(uint64_t) { return Scalar(true); }
  bool Double(double) { return Scalar(true); }

  bool String(const char*, rapidjson::SizeType, bool) {
    m_withNext = false;
    m_source.KeepNextString(false);
    if (m_skip > 0 || m_key == Field::Other) return true;
    if (m_where == Where::Top && m_key == Field::Name) {
      std::string why;
      if (!Text(m_name, why) || !m_importer.SetName(m_name, why))
        return Fail(Fmt(Tr("the name: %s"), {why}));
      return true;
    }
    if (m_where == Where::Entry && (m_key == Field::Word || m_key == Field::Meaning)) {
      const bool word = m_key == Field::Word;
      std::string why;
      if (!Text(word ? m_word : m_meaning, why)) return Fail(EntryLabel() + why);
      (word ? m_hasWord : m_hasMeaning) = true;
      return true;
    }
    return Scalar(false);
  }

  bool StartObject() { return Open(true); }
  bool StartArray() { return Open(false); }

  bool Key(const char*, rapidjson::SizeType, bool) {
    // A key too long to be one of these, or that code page 932 cannot hold, is none of them.
    const std::string_view name = m_source.Key().value_or("\"");
    m_withNext = false;
    m_source.KeepNextString(false);
    if (m_skip > 0) return true;
    if (m_where == Where::Top)
      m_key = name == "name" ? Field::Name : name == "entries" ? Field::Entries : Field::Other;
    else if (m_where == Where::Entry)
      m_key = name == "word" ? Field::Word : name == "meaning" ? Field::Meaning : Field::Other;
    // A key that is used and given twice has no one meaning: neither is taken.
    if (m_key == Field::Other || m_key == Field::None) return true;
    const unsigned bit = 1u << static_cast<unsigned>(m_key);
    if (m_keysSeen & bit) {
      const std::string twice = Fmt(Tr("\"%s\" is given twice"), {std::string(name)});
      return Fail(m_where == Where::Entry ? EntryLabel() + twice : twice);
    }
    m_keysSeen |= bit;
    m_source.KeepNextString(m_key != Field::Entries);
    return true;
  }

  bool EndObject(rapidjson::SizeType) {
    m_withNext = true;
    m_source.KeepNextString(false);
    --m_depth;
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
    if (!m_importer.AddBytes(m_word, m_meaning, why)) return Fail(label + why);
    m_where = Where::Entries;
    return true;
  }

  bool EndArray(rapidjson::SizeType) {
    m_source.KeepNextString(false);
    --m_depth;
    if (m_skip > 0) return --m_skip, true;
    m_where = Where::Top;
    m_key = Field::None;
    return true;
  }

 private:
  static constexpr int kDeepest = 10000;
  enum class Where { Start, Top, Entries, Entry, Done };
  enum class Field { None, Name, Entries, Word, Meaning, Other };

  // The string just read into out; false with why.
  bool Text(TextBuffer& out, std::string& why) const {
    if (m_source.TakeString(out)) return true;
    const std::uint64_t overlong = m_source.Overlong();
    why = overlong > 0 ? TooLong(overlong) : CannotHold();
    return false;
  }
  std::string CannotHold() const {
    return m_importer.encoding() == Encoding::Utf8
               ? Tr("text that is not UTF-8 or that code page 932 cannot hold")
               : Tr("a \\u escape that code page 932 cannot hold");
  }
  std::string EntryLabel() const {
    return Fmt(Tr("entry %s: "), {std::to_string(m_importer.count())});
  }

  // A value that is not a string, or a string where none belongs; withNext as for Fail.
  bool Scalar(bool withNext) {
    m_withNext = withNext;
    m_source.KeepNextString(false);
    if (m_skip > 0) return true;
    switch (m_where) {
      case Where::Start:
        return Fail(Tr("expected an object"));
      case Where::Top:
        if (m_key == Field::Name) return Fail(Tr("\"name\" must be a string"));
        if (m_key == Field::Entries) return Fail(Tr("\"entries\" must be an array"));
        return true;
      case Where::Entries:
        return Fail(EntryLabel() + Tr("expected an object"));
      case Where::Entry:
        if (m_key == Field::Word || m_key == Field::Meaning)
          return Fail(EntryLabel() + Fmt(Tr("\"%s\" must be a string"),
                                         {m_key == Field::Word ? "word" : "meaning"}));
        return true;
      case Where::Done:
        break;
    }
    return true;
  }

  // The parser keeps a few bytes for each array and object open, so their depth is bounded.
  bool Open(bool object) {
    m_withNext = true;
    m_source.KeepNextString(false);
    if (++m_depth > kDeepest)
      return Fail(Fmt(Tr("more than %s arrays and objects inside one another"),
                      {std::to_string(kDeepest)}));
    if (m_skip > 0) return ++m_skip, true;
    if (m_where == Where::Start) {
      if (!object) return Fail(Tr("expected an object"));
      m_where = Where::Top;
      return true;
    }
    if (m_where == Where::Top && m_key == Field::Entries && !object) {
      m_where = Where::Entries;
      m_sawEntries = true;
      return true;
    }
    if (m_where == Where::Entries && object) {
      m_where = Where::Entry;
      m_key = Field::None;
      m_hasWord = m_hasMeaning = false;
      m_keysSeen &= ~((1u << static_cast<unsigned>(Field::Word)) |
                      (1u << static_cast<unsigned>(Field::Meaning)));
      return true;
    }
    if ((m_where == Where::Top && m_key == Field::Other) ||
        (m_where == Where::Entry && m_key == Field::Other)) {
      m_skip = 1;
      return true;
    }
    return Scalar(true);
  }

  // At the last character taken that is not a blank, with the one looked at when m_withNext.
  bool Fail(const std::string& why) { return Fail(why, m_source.LastSolid(m_withNext)); }
  bool Fail(const std::string& why, Position at) {
    if (m_error.empty()) m_error = PositionLabel(at) + why;
    return false;
  }

  JsonSource& m_source;
  Importer& m_importer;
  Where m_where = Where::Start;
  Field m_key = Field::None;
  int m_skip = 0;   // depth inside a value being skipped
  int m_depth = 0;  // arrays and objects open
  bool m_sawEntries = false;
  unsigned m_keysSeen = 0;  // the used keys met so far in the document and in the entry, by Field
  bool m_hasWord = false, m_hasMeaning = false;
  bool m_withNext = false;               // the event was told with the parser at its last character
  TextBuffer m_name, m_word, m_meaning;  // in code page 932
  std::string m_error;
};

// What a syntax error found at the parser's next character c (-1 at the end of the input).
std::string Found(int c) {
  if (c < 0) return "unexpected end of input";
  if (c == '"') return "unexpected string literal";
  if (c == '-' || (c >= '0' && c <= '9')) return "unexpected number literal";
  if (c == '{' || c == '}' || c == '[' || c == ']' || c == ':' || c == ',')
    return std::string("unexpected '") + static_cast<char>(c) + "'";
  return "invalid literal";
}

// The control character c must be escaped.
std::string ControlCharacter(int c) {
  static const char* const names[32] = {"NUL", "SOH", "STX", "ETX", "EOT", "ENQ", "ACK", "BEL",
                                        "BS",  "HT",  "LF",  "VT",  "FF",  "CR",  "SO",  "SI",
                                        "DLE", "DC1", "DC2", "DC3", "DC4", "NAK", "SYN", "ETB",
                                        "CAN", "EM",  "SUB", "ESC", "FS",  "GS",  "RS",  "US"};
  static const char hex[] = "0123456789ABCDEF";
  const std::string code = std::string("00") + hex[c >> 4] + hex[c & 15];
  std::string text = "invalid string: control character U+" + code + " (" + names[c] +
                     ") must be escaped to \\u" + code;
  const char* shortForm = c == 8    ? "b"
                          : c == 9  ? "t"
                          : c == 10 ? "n"
                          : c == 12 ? "f"
                          : c == 13 ? "r"
                                    : nullptr;
  if (shortForm) text += std::string(" or \\") + shortForm;
  return text;
}

// The message for a syntax error the parser stopped at, with c its next character as for Found
// and last the one before (-1 when not known): what was being read, what was found there, and
// what was expected.
std::string SyntaxMessage(rapidjson::ParseErrorCode code, int c, int last) {
  const char* context = "value";
  std::string found;
  const char* expected = nullptr;
  switch (code) {
    case rapidjson::kParseErrorDocumentRootNotSingular:
      found = Found(c);
      expected = "end of input";
      break;
    case rapidjson::kParseErrorObjectMissName:
      context = "object key";
      found = Found(c);
      expected = "string literal";
      break;
    case rapidjson::kParseErrorObjectMissColon:
      context = "object separator";
      found = Found(c);
      expected = "':'";
      break;
    case rapidjson::kParseErrorObjectMissCommaOrCurlyBracket:
      context = "object";
      found = Found(c);
      expected = "'}'";
      break;
    case rapidjson::kParseErrorArrayMissCommaOrSquareBracket:
      context = "array";
      found = Found(c);
      expected = "']'";
      break;
    case rapidjson::kParseErrorStringUnicodeEscapeInvalidHex:
      found = "invalid string: '\\u' must be followed by 4 hex digits";
      break;
    case rapidjson::kParseErrorStringUnicodeSurrogateInvalid:
      found = "invalid string: surrogate U+D800..U+DBFF must be followed by U+DC00..U+DFFF";
      break;
    case rapidjson::kParseErrorStringEscapeInvalid:      // also for a control character
    case rapidjson::kParseErrorStringMissQuotationMark:  // also for a byte 0
    case rapidjson::kParseErrorStringInvalidEncoding:
      found = c >= 0 && c < 0x20 ? ControlCharacter(c)
              : code == rapidjson::kParseErrorStringEscapeInvalid
                  ? "invalid string: forbidden character after backslash"
              : code == rapidjson::kParseErrorStringMissQuotationMark
                  ? "invalid string: missing closing quote"
                  : "invalid string: ill-formed UTF-8 byte";
      break;
    case rapidjson::kParseErrorNumberMissFraction:
      found = "invalid number; expected digit after '.'";
      break;
    case rapidjson::kParseErrorNumberMissExponent:
      found = "invalid number; expected '+', '-', or digit after exponent";
      break;
    default:  // no document, no value where one belongs, or a broken one
      if (last == '-') {
        found = "invalid number; expected digit after '-'";
      } else if ((last >= 'a' && last <= 'z') || c < 0 || c == '}' || c == ']' || c == ':' ||
                 c == ',') {
        found = last >= 'a' && last <= 'z' ? "invalid literal" : Found(c);
        if (found != "invalid literal") expected = "'[', '{', or a literal";
      } else {
        found = "invalid literal";
        expected = "'[', '{', or a literal";
      }
      break;
  }
  std::string message = std::string("syntax error while parsing ") + context + " - " + found;
  if (expected) message += std::string("; expected ") + expected;
  return message;
}

}  // namespace

bool ReadJson(InputReader& in, Importer& importer, std::string& error) {
  JsonSource source(in, importer.encoding());
  DocumentHandler handler(source, importer);
  rapidjson::Reader reader;
  // The source's code page 932 form is no UTF-8, and is copied as it stands. The parser writes
  // the strings it reads back to the source.
  constexpr unsigned kFlags = rapidjson::kParseIterativeFlag | rapidjson::kParseInsituFlag;
  const rapidjson::ParseResult result =
      importer.encoding() == Encoding::Cp932
          ? reader.Parse<kFlags>(source, handler)
          : reader.Parse<kFlags | rapidjson::kParseValidateEncodingFlag>(source, handler);
  if (result.Code() == rapidjson::kParseErrorTermination) {
    error = handler.Error();
    return false;
  }
  // The parser takes a byte 0 for the end of the input; the input has none outside a string.
  const bool ended = source.AtEnd();
  if (!result.IsError() && ended) return true;
  const int next = ended ? -1 : static_cast<unsigned char>(source.Peek());
  const auto code =
      result.IsError() ? result.Code() : rapidjson::kParseErrorDocumentRootNotSingular;
  error = PositionLabel(source.Last(true)) + SyntaxMessage(code, next, source.LastTaken());
  return false;
}

}  // namespace vkd
