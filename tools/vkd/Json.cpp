#include "Json.h"

#include <cctype>
#include <cstdint>
#include <vector>

#include "Cp932.h"
#include "Records.h"

namespace vkd {
namespace {

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
  [[noreturn]] void Fail(const std::string& what) { throw LineLabel(m_line) + what; }

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

std::optional<std::string> ExportJson(const CDictData& book, Encoding enc, std::string& error) {
  auto name = EncodeField(book.m_strName, enc, "the name", error);
  if (!name) return std::nullopt;
  auto out = WriteRecords(
      book, enc,
      [enc](int i, const std::string& word, const std::string& meaning) {
        return std::string(i == 0 ? "\n" : ",\n") + "  {\"word\": " + JsonString(word, enc) +
               ", \"meaning\": " + JsonString(meaning, enc) + "}";
      },
      error, "{\"name\": " + JsonString(*name, enc) + ", \"entries\": [");
  if (out) *out += std::string(book.m_nCount > 0 ? "\n" : "") + "]}\n";
  return out;
}

ImportResult ImportJson(std::string_view input, Encoding enc) {
  return JsonReader(input, enc).Read();
}

}  // namespace vkd
