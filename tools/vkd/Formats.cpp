#include "Formats.h"

#include <cctype>
#include <cstdint>

#include "CString.h"
#include "Cp932.h"

namespace vkd {
namespace {

// Bytes of the character starting at i. In code page 932 a lead byte takes the next byte with
// it, so a trail byte such as 0x5C (the second half of katakana SO) is never read as a backslash.
size_t CharLen(Encoding enc, std::string_view s, size_t i) {
  if (enc == Encoding::Cp932 && cp932::IsLeadByte(static_cast<unsigned char>(s[i])) &&
      i + 1 < s.size())
    return 2;
  return 1;
}

std::string Line(size_t n) {
  return "line " + std::to_string(n) + ": ";
}

// Book text (code page 932) in the output encoding; nullopt when it is not valid text.
std::optional<std::string> Encode(const std::string& bytes, Encoding enc) {
  auto utf8 = cp932::ToUtf8(bytes);
  if (!utf8) return std::nullopt;
  if (enc == Encoding::Utf8) return utf8;
  return bytes;
}

// Imported text in the input encoding to code page 932; nullopt when it cannot be held.
std::optional<std::string> Decode(const std::string& text, Encoding enc) {
  if (enc == Encoding::Utf8) return cp932::FromUtf8(text);
  if (!cp932::ToUtf8(text)) return std::nullopt;
  return text;
}

std::string CannotHold(Encoding enc) {
  return enc == Encoding::Utf8 ? "text that is not UTF-8 or that code page 932 cannot hold"
                               : "text that is not valid code page 932";
}

// ---- TSV

std::string TsvEscape(const std::string& s, Encoding enc) {
  std::string out;
  for (size_t i = 0; i < s.size();) {
    const size_t len = CharLen(enc, s, i);
    if (len == 1 && s[i] == '\\')
      out += "\\\\";
    else if (len == 1 && s[i] == '\t')
      out += "\\t";
    else if (len == 1 && s[i] == '\r')
      out += "\\r";
    else if (len == 1 && s[i] == '\n')
      out += "\\n";
    else
      out.append(s, i, len);
    i += len;
  }
  return out;
}

ImportResult ImportTsv(std::string_view input, Encoding enc) {
  ImportResult r;
  size_t lineNo = 0;
  size_t pos = 0;
  while (pos < input.size()) {
    ++lineNo;
    size_t end = input.find('\n', pos);  // LF is never a trail byte
    if (end == std::string_view::npos) end = input.size();
    std::string_view line = input.substr(pos, end - pos);
    pos = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);  // tolerate CR LF files
    if (line.empty()) {
      r.error = Line(lineNo) + "empty line; expected word<TAB>meaning";
      return r;
    }
    std::string fields[2];
    int field = 0;
    for (size_t i = 0; i < line.size();) {
      const size_t len = CharLen(enc, line, i);
      const char c = line[i];
      if (len == 1 && c == '\t') {
        if (++field > 1) {
          r.error = Line(lineNo) + "more than one tab; expected word<TAB>meaning";
          return r;
        }
      } else if (len == 1 && c == '\\') {
        if (i + 1 >= line.size()) {
          r.error = Line(lineNo) + "backslash at the end of the line";
          return r;
        }
        const char e = line[i + 1];
        const char decoded = e == '\\'  ? '\\'
                             : e == 't' ? '\t'
                             : e == 'r' ? '\r'
                             : e == 'n' ? '\n'
                                        : 0;
        if (!decoded) {
          r.error = Line(lineNo) + "unknown escape \\" + std::string(1, e);
          return r;
        }
        fields[field] += decoded;
        i += 2;
        continue;
      } else if (len == 1 && c == '\r') {
        r.error = Line(lineNo) + "a carriage return must be written \\r";
        return r;
      } else {
        fields[field].append(line.substr(i, len));
      }
      i += len;
    }
    if (field != 1) {
      r.error = Line(lineNo) + "no tab; expected word<TAB>meaning";
      return r;
    }
    if (r.entries.size() == CDictData::MAX_WORDS) {
      r.error = Line(lineNo) + "more than " + std::to_string(CDictData::MAX_WORDS) + " entries";
      return r;
    }
    auto word = Decode(fields[0], enc);
    auto meaning = Decode(fields[1], enc);
    if (!word || !meaning) {
      r.error = Line(lineNo) + CannotHold(enc);
      return r;
    }
    r.entries.push_back({std::move(*word), std::move(*meaning)});
  }
  return r;
}

// ---- CSV (RFC 4180). The special bytes are all below 0x40, never trail bytes.

std::string CsvField(const std::string& s) {
  if (s.find_first_of(",\"\r\n") == std::string::npos) return s;
  std::string out = "\"";
  for (char c : s) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

ImportResult ImportCsv(std::string_view s, Encoding enc) {
  ImportResult r;
  size_t pos = 0;
  size_t line = 1;
  const size_t n = s.size();
  while (pos < n) {
    const size_t recordLine = line;
    std::vector<std::string> fields;
    for (;;) {
      std::string field;
      if (pos < n && s[pos] == '"') {
        ++pos;
        for (;;) {
          if (pos >= n) {
            r.error = Line(recordLine) + "a quoted field is not closed";
            return r;
          }
          const char c = s[pos];
          if (c == '"') {
            if (pos + 1 < n && s[pos + 1] == '"') {
              field += '"';
              pos += 2;
              continue;
            }
            ++pos;
            break;
          }
          if (c == '\n') ++line;
          field += c;
          ++pos;
        }
        if (pos < n && s[pos] != ',' && s[pos] != '\r' && s[pos] != '\n') {
          r.error = Line(line) + "text after the closing quote of a field";
          return r;
        }
      } else {
        while (pos < n && s[pos] != ',' && s[pos] != '\r' && s[pos] != '\n') {
          if (s[pos] == '"') {
            r.error = Line(line) + "a quote inside a field that does not begin with one";
            return r;
          }
          field += s[pos++];
        }
      }
      fields.push_back(std::move(field));
      if (pos < n && s[pos] == ',') {
        ++pos;
        continue;
      }
      break;
    }
    if (pos < n && s[pos] == '\r') {
      if (pos + 1 >= n || s[pos + 1] != '\n') {
        r.error = Line(line) + "a carriage return outside quotes";
        return r;
      }
      ++pos;
    }
    if (pos < n && s[pos] == '\n') {
      ++pos;
      ++line;
    }
    if (fields.size() != 2) {
      r.error = Line(recordLine) + "expected 2 fields (word,meaning), found " +
                std::to_string(fields.size());
      return r;
    }
    if (r.entries.size() == CDictData::MAX_WORDS) {
      r.error = Line(recordLine) + "more than " + std::to_string(CDictData::MAX_WORDS) + " entries";
      return r;
    }
    auto word = Decode(fields[0], enc);
    auto meaning = Decode(fields[1], enc);
    if (!word || !meaning) {
      r.error = Line(recordLine) + CannotHold(enc);
      return r;
    }
    r.entries.push_back({std::move(*word), std::move(*meaning)});
  }
  return r;
}

// ---- JSON

std::string JsonString(const std::string& s, Encoding enc) {
  static const char* hex = "0123456789abcdef";
  std::string out = "\"";
  for (size_t i = 0; i < s.size();) {
    const size_t len = CharLen(enc, s, i);
    const auto c = static_cast<unsigned char>(s[i]);
    if (len == 2)
      out.append(s, i, 2);
    else if (c == '"')
      out += "\\\"";
    else if (c == '\\')
      out += "\\\\";
    else if (c == '\n')
      out += "\\n";
    else if (c == '\r')
      out += "\\r";
    else if (c == '\t')
      out += "\\t";
    else if (c == '\b')
      out += "\\b";
    else if (c == '\f')
      out += "\\f";
    else if (c < 0x20)
      out += std::string("\\u00") + hex[c >> 4] + hex[c & 15];
    else
      out += static_cast<char>(c);
    i += len;
  }
  return out + "\"";
}

void AppendUtf8(std::string& out, std::uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// A small strict JSON reader for the one document shape vkd writes; other keys are skipped.
class JsonReader {
 public:
  JsonReader(std::string_view s, Encoding enc) : m_s(s), m_enc(enc) {}

  ImportResult Read() {
    ImportResult r;
    try {
      Expect('{');
      bool first = true;
      bool sawEntries = false;
      while (!Take('}')) {
        if (!first) Expect(',');
        first = false;
        const std::string key = String();
        Expect(':');
        if (key == "name") {
          r.name = Text(String(), "the name");
        } else if (key == "entries") {
          sawEntries = true;
          Entries(r.entries);
        } else {
          SkipValue();
        }
      }
      SkipSpace();
      if (m_pos != m_s.size()) Fail("text after the end of the document");
      if (!sawEntries) Fail("no \"entries\" in the document");
    } catch (const std::string& message) {
      r.entries.clear();
      r.error = message;
    }
    return r;
  }

 private:
  [[noreturn]] void Fail(const std::string& what) { throw Line(m_line) + what; }

  void SkipSpace() {
    while (m_pos < m_s.size()) {
      const char c = m_s[m_pos];
      if (c == '\n')
        ++m_line;
      else if (c != ' ' && c != '\t' && c != '\r')
        break;
      ++m_pos;
    }
  }
  bool Take(char c) {
    SkipSpace();
    if (m_pos < m_s.size() && m_s[m_pos] == c) {
      ++m_pos;
      return true;
    }
    return false;
  }
  void Expect(char c) {
    if (!Take(c)) Fail(std::string("expected '") + c + "'");
  }

  std::uint32_t Hex4() {
    if (m_pos + 4 > m_s.size()) Fail("a \\u escape needs four hex digits");
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) {
      const char c = m_s[m_pos++];
      v <<= 4;
      if (c >= '0' && c <= '9')
        v |= static_cast<std::uint32_t>(c - '0');
      else if (c >= 'a' && c <= 'f')
        v |= static_cast<std::uint32_t>(c - 'a' + 10);
      else if (c >= 'A' && c <= 'F')
        v |= static_cast<std::uint32_t>(c - 'A' + 10);
      else
        Fail("a \\u escape needs four hex digits");
    }
    return v;
  }

  // A string in the input encoding, escapes decoded (a \u escape gives that encoding's bytes).
  std::string String() {
    SkipSpace();
    if (m_pos >= m_s.size() || m_s[m_pos] != '"') Fail("expected a string");
    ++m_pos;
    std::string out;
    for (;;) {
      if (m_pos >= m_s.size()) Fail("a string is not closed");
      const size_t len = CharLen(m_enc, m_s, m_pos);
      const auto c = static_cast<unsigned char>(m_s[m_pos]);
      if (len == 2) {
        out.append(m_s.substr(m_pos, 2));
        m_pos += 2;
        continue;
      }
      ++m_pos;
      if (c == '"') return out;
      if (c < 0x20) Fail("a control character inside a string must be escaped");
      if (c != '\\') {
        out += static_cast<char>(c);
        continue;
      }
      if (m_pos >= m_s.size()) Fail("a string is not closed");
      const char e = m_s[m_pos++];
      switch (e) {
        case '"':
          out += '"';
          break;
        case '\\':
          out += '\\';
          break;
        case '/':
          out += '/';
          break;
        case 'b':
          out += '\b';
          break;
        case 'f':
          out += '\f';
          break;
        case 'n':
          out += '\n';
          break;
        case 'r':
          out += '\r';
          break;
        case 't':
          out += '\t';
          break;
        case 'u': {
          std::uint32_t cp = Hex4();
          if (cp >= 0xD800 && cp < 0xDC00) {
            if (m_pos + 2 > m_s.size() || m_s[m_pos] != '\\' || m_s[m_pos + 1] != 'u')
              Fail("a lone surrogate in a \\u escape");
            m_pos += 2;
            const std::uint32_t low = Hex4();
            if (low < 0xDC00 || low >= 0xE000) Fail("a lone surrogate in a \\u escape");
            cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
          } else if (cp >= 0xDC00 && cp < 0xE000) {
            Fail("a lone surrogate in a \\u escape");
          }
          std::string utf8;
          AppendUtf8(utf8, cp);
          if (m_enc == Encoding::Utf8) {
            out += utf8;
          } else {
            auto bytes = cp932::FromUtf8(utf8);
            if (!bytes) Fail("a \\u escape that code page 932 cannot hold");
            out += *bytes;
          }
          break;
        }
        default:
          Fail(std::string("unknown escape \\") + e);
      }
    }
  }

  std::string Text(const std::string& raw, const std::string& what) {
    auto text = Decode(raw, m_enc);
    if (!text) Fail(what + ": " + CannotHold(m_enc));
    return *text;
  }

  void Entries(std::vector<Entry>& entries) {
    Expect('[');
    if (Take(']')) return;
    do {
      const std::string label = "entry " + std::to_string(entries.size());
      if (entries.size() == CDictData::MAX_WORDS)
        Fail(label + ": more than " + std::to_string(CDictData::MAX_WORDS) + " entries");
      Expect('{');
      std::optional<std::string> word, meaning;
      bool first = true;
      while (!Take('}')) {
        if (!first) Expect(',');
        first = false;
        const std::string key = String();
        Expect(':');
        if (key == "word")
          word = Text(String(), label);
        else if (key == "meaning")
          meaning = Text(String(), label);
        else
          SkipValue();
      }
      if (!word) Fail(label + ": no \"word\"");
      if (!meaning) Fail(label + ": no \"meaning\"");
      entries.push_back({std::move(*word), std::move(*meaning)});
    } while (Take(','));
    Expect(']');
  }

  void SkipValue(int depth = 0) {
    if (depth > 64) Fail("nested too deeply");
    SkipSpace();
    if (m_pos >= m_s.size()) Fail("expected a value");
    const char c = m_s[m_pos];
    if (c == '"') {
      String();
    } else if (c == '{' || c == '[') {
      const char close = c == '{' ? '}' : ']';
      ++m_pos;
      if (Take(close)) return;
      do {
        if (c == '{') {
          String();
          Expect(':');
        }
        SkipValue(depth + 1);
      } while (Take(','));
      Expect(close);
    } else {
      const size_t start = m_pos;
      while (m_pos < m_s.size() && (std::isalnum(static_cast<unsigned char>(m_s[m_pos])) ||
                                    m_s[m_pos] == '-' || m_s[m_pos] == '+' || m_s[m_pos] == '.'))
        ++m_pos;
      if (m_pos == start) Fail("expected a value");
    }
  }

  std::string_view m_s;
  Encoding m_enc;
  size_t m_pos = 0;
  size_t m_line = 1;
};

}  // namespace

std::optional<Format> ParseFormat(std::string_view name) {
  if (name == "tsv") return Format::Tsv;
  if (name == "csv") return Format::Csv;
  if (name == "json") return Format::Json;
  return std::nullopt;
}

std::optional<Encoding> ParseEncoding(std::string_view name) {
  if (name == "utf-8" || name == "utf8") return Encoding::Utf8;
  if (name == "cp932" || name == "shift_jis" || name == "sjis") return Encoding::Cp932;
  return std::nullopt;
}

std::optional<std::string> Export(const CDictData& book, Format format, Encoding encoding,
                                  std::string& error) {
  auto encode = [&](const CString& text, const std::string& what) {
    auto out = Encode(text.Bytes(), encoding);
    if (!out) error = what + " is not valid code page 932 text";
    return out;
  };
  std::string out;
  if (format == Format::Json) {
    auto name = encode(book.m_strName, "the name");
    if (!name) return std::nullopt;
    out = "{\"name\": " + JsonString(*name, encoding) + ", \"entries\": [";
  }
  for (int i = 0; i < book.m_nCount && i < CDictData::MAX_WORDS; ++i) {
    const std::string label = "entry " + std::to_string(i) + ": the ";
    auto word = encode(book.m_strWord[i], label + "word");
    auto meaning = encode(book.m_strMeaning[i], label + "meaning");
    if (!word || !meaning) return std::nullopt;
    switch (format) {
      case Format::Tsv:
        out += TsvEscape(*word, encoding) + "\t" + TsvEscape(*meaning, encoding) + "\n";
        break;
      case Format::Csv:
        out += CsvField(*word) + "," + CsvField(*meaning) + "\r\n";
        break;
      case Format::Json:
        out += std::string(i == 0 ? "\n" : ",\n") + "  {\"word\": " + JsonString(*word, encoding) +
               ", \"meaning\": " + JsonString(*meaning, encoding) + "}";
        break;
    }
  }
  if (format == Format::Json) out += std::string(book.m_nCount > 0 ? "\n" : "") + "]}\n";
  return out;
}

ImportResult Import(std::string_view input, Format format, Encoding encoding) {
  switch (format) {
    case Format::Tsv:
      return ImportTsv(input, encoding);
    case Format::Csv:
      return ImportCsv(input, encoding);
    case Format::Json:
      return JsonReader(input, encoding).Read();
  }
  return {};
}

}  // namespace vkd
