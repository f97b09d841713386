#include "Tsv.h"

#include <cstring>

#include "Escape.h"
#include "Messages.h"

namespace vkd {
namespace {

constexpr SpecialBytes kSpecial = [] {
  SpecialBytes s{};
  s['\\'] = s['\t'] = s['\r'] = s['\n'] = true;
  return s;
}();

constexpr char kHex[] = "0123456789abcdef";

// A lead byte without its trail byte (code page 932 only) is written \xHH.
void Escape(char c, std::string& out) {
  if (static_cast<unsigned char>(c) >= 0x80) {
    out += "\\x";
    out += kHex[(c >> 4) & 15];
    out += kHex[c & 15];
    return;
  }
  out += c == '\\' ? "\\\\" : c == '\t' ? "\\t" : c == '\r' ? "\\r" : "\\n";
}

// The value of a hex digit, or -1.
int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

class TsvWriter : public RecordWriter {
 public:
  TsvWriter(Encoding enc, Output& out) : m_enc(enc), m_out(out) {}
  void Entry(int, std::string_view word, std::string_view meaning) override {
    std::string& b = m_out.Buffer();
    AppendEscaped(b, word, m_enc, kSpecial, Escape);
    b += '\t';
    AppendEscaped(b, meaning, m_enc, kSpecial, Escape);
    b += '\n';
    m_out.Written();
  }

 private:
  Encoding m_enc;
  Output& m_out;
};

// Reads lines of word<TAB>meaning straight into the two fields, escapes decoded as the bytes
// come, so that no line is ever held as it was read.
class TsvReader {
 public:
  TsvReader(InputReader& in, Encoding enc)
      : m_in(in), m_enc(enc), m_fields{FieldText(enc), FieldText(enc)} {}

  enum class Line { None, Empty, Entry, Bad };
  // The next line without its line end (LF, or CR LF), into Word and Meaning, or why it is bad.
  Line Next(std::string& why);
  FieldText& Word() { return m_fields[0]; }
  FieldText& Meaning() { return m_fields[1]; }

 private:
  // Takes the bytes that are no tab, CR, LF or backslash (a pair's trail byte never is one);
  // false when the next byte is one of those or the input has ended.
  bool TakeRun(FieldText& field);
  // Decodes the escape after a backslash, which was taken.
  bool Unescape(FieldText& field, std::string& why);
  // Whether a CR just taken ends the line, with the LF after it, or stands in it.
  bool EndsLine() {
    const int next = m_in.Peek();
    if (next == '\n') m_in.Get();
    return next < 0 || next == '\n';
  }

  InputReader& m_in;
  Encoding m_enc;
  FieldText m_fields[2];
};

bool TsvReader::TakeRun(FieldText& field) {
  const std::string_view ahead = m_in.Ahead();
  size_t i = 0;
  while (i < ahead.size()) {
    const auto c = static_cast<unsigned char>(ahead[i]);
    if (c < 0x80 && kSpecial[c]) break;
    if (c < 0x80 || m_enc != Encoding::Cp932 || !cp932::IsLeadByte(c)) {
      ++i;
    } else if (i + 1 < ahead.size()) {
      i += cp932::IsTrailByte(static_cast<unsigned char>(ahead[i + 1])) ? 2 : 1;
    } else {  // whether a trail byte follows is for the next block to tell
      field.append(ahead.substr(0, i));
      m_in.Skip(i);
      field.push_back(static_cast<char>(m_in.Get()));
      const int next = m_in.Peek();
      if (next >= 0 && cp932::IsTrailByte(static_cast<unsigned char>(next)))
        field.push_back(static_cast<char>(m_in.Get()));
      return true;
    }
  }
  field.append(ahead.substr(0, i));
  m_in.Skip(i);
  return i > 0;
}

bool TsvReader::Unescape(FieldText& field, std::string& why) {
  const int e = m_in.Get();
  if (e < 0 || e == '\n' || (e == '\r' && EndsLine()))
    return why = Tr("backslash at the end of the line"), false;
  if (e == 'x' && m_enc == Encoding::Cp932) {  // a byte
    int digits[2];
    for (int& d : digits) {
      d = m_in.Peek() >= 0 ? HexValue(static_cast<char>(m_in.Peek())) : -1;
      if (d < 0) return why = Tr("\\x must be followed by two hex digits"), false;
      m_in.Get();
    }
    field.push_back(static_cast<char>(digits[0] * 16 + digits[1]));
    return true;
  }
  const char c = e == '\\' ? '\\' : e == 't' ? '\t' : e == 'r' ? '\r' : e == 'n' ? '\n' : 0;
  if (!c)
    return why = Fmt(Tr("unknown escape \\%s"), {std::string(1, static_cast<char>(e))}), false;
  field.push_back(c);
  return true;
}

TsvReader::Line TsvReader::Next(std::string& why) {
  if (m_in.Peek() < 0) return Line::None;
  Word().Begin();
  Meaning().Begin();
  int field = 0;
  bool empty = true;
  for (;;) {
    if (TakeRun(m_fields[field])) {
      empty = false;
      continue;
    }
    const int c = m_in.Get();
    if (c < 0 || c == '\n' || (c == '\r' && EndsLine())) break;
    empty = false;
    if (c == '\r') return why = Tr("a carriage return must be written \\r"), Line::Bad;
    if (c == '\t') {
      if (field == 1) return why = Tr("more than one tab; expected word<TAB>meaning"), Line::Bad;
      field = 1;
    } else if (!Unescape(m_fields[field], why)) {
      return Line::Bad;
    }
  }
  if (empty) return Line::Empty;
  if (field == 0) return why = Tr("no tab; expected word<TAB>meaning"), Line::Bad;
  return Line::Entry;
}

}  // namespace

std::unique_ptr<RecordWriter> MakeTsvWriter(Encoding enc, Output& out) {
  return std::make_unique<TsvWriter>(enc, out);
}

bool ReadTsv(InputReader& in, Importer& importer, std::string& error) {
  TsvReader reader(in, importer.encoding());
  std::string why;
  size_t lineNo = 0;
  size_t blank = 0;  // the first of the blank lines just read; an error only if an entry follows
  for (;;) {
    const TsvReader::Line line = reader.Next(why);
    if (line == TsvReader::Line::None) return true;
    ++lineNo;
    if (line == TsvReader::Line::Empty) {
      if (!blank) blank = lineNo;
      continue;
    }
    if (blank) {
      error = LineLabel(blank) + Tr("empty line; expected word<TAB>meaning");
      return false;
    }
    if (line == TsvReader::Line::Bad || !importer.Add(reader.Word(), reader.Meaning(), why)) {
      error = LineLabel(lineNo) + why;
      return false;
    }
  }
}

}  // namespace vkd
