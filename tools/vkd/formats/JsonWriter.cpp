#include "Escape.h"
#include "Json.h"

namespace vkd {
namespace {

constexpr SpecialBytes kSpecial = [] {
  SpecialBytes s{};
  for (int c = 0; c < 0x20; ++c) s[c] = true;
  s['"'] = s['\\'] = true;
  return s;
}();

// A lead byte without its trail byte (code page 932 only) is written as the plane-15 character
// that the reader takes for that byte, U+F0000 plus the byte.
void Escape(char c, std::string& out) {
  static const char* hex = "0123456789abcdef";
  if (static_cast<unsigned char>(c) >= 0x80) {
    out += "\\udb80\\udc";
    out += hex[(c >> 4) & 15];
    out += hex[c & 15];
    return;
  }
  switch (c) {
    case '"':
      out += "\\\"";
      break;
    case '\\':
      out += "\\\\";
      break;
    case '\n':
      out += "\\n";
      break;
    case '\r':
      out += "\\r";
      break;
    case '\t':
      out += "\\t";
      break;
    case '\b':
      out += "\\b";
      break;
    case '\f':
      out += "\\f";
      break;
    default:
      out += "\\u00";
      out += hex[(c >> 4) & 15];
      out += hex[c & 15];
  }
}

class JsonWriter : public RecordWriter {
 public:
  JsonWriter(Encoding enc, Output& out) : m_enc(enc), m_out(out) {}

  bool UsesName() const override { return true; }
  void Begin(std::string_view name) override {
    m_begun = true;
    std::string& b = m_out.Buffer();
    b += "{\"name\": ";
    String(b, name);
    b += ", \"entries\": [";
  }
  void Entry(int, std::string_view word, std::string_view meaning) override {
    std::string& b = m_out.Buffer();
    b += m_any ? ",\n  {\"word\": " : "\n  {\"word\": ";
    String(b, word);
    b += ", \"meaning\": ";
    String(b, meaning);
    b += '}';
    m_any = true;
    m_out.Written();
  }
  void End() override {
    if (!m_begun) Begin("");
    m_out.Append(m_any ? "\n]}\n" : "]}\n");
  }

 private:
  void String(std::string& b, std::string_view s) {
    b += '"';
    AppendEscaped(b, s, m_enc, kSpecial, Escape);
    b += '"';
  }

  Encoding m_enc;
  Output& m_out;
  bool m_any = false;
  bool m_begun = false;
};

}  // namespace

std::unique_ptr<RecordWriter> MakeJsonWriter(Encoding enc, Output& out) {
  return std::make_unique<JsonWriter>(enc, out);
}

}  // namespace vkd
