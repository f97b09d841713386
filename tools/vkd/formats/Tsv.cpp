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

// Decodes the escape at line[i], a backslash, into c; the bytes it takes, or 0 with why.
size_t Unescape(std::string_view line, size_t i, Encoding enc, char& c, std::string& why) {
  if (i + 1 >= line.size()) return why = Tr("backslash at the end of the line"), 0;
  const char e = line[i + 1];
  if (e == 'x' && enc == Encoding::Cp932) {  // a byte
    const int high = i + 2 < line.size() ? HexValue(line[i + 2]) : -1;
    const int low = i + 3 < line.size() ? HexValue(line[i + 3]) : -1;
    if (high < 0 || low < 0) return why = Tr("\\x must be followed by two hex digits"), 0;
    c = static_cast<char>(high * 16 + low);
    return 4;
  }
  c = e == '\\' ? '\\' : e == 't' ? '\t' : e == 'r' ? '\r' : e == 'n' ? '\n' : 0;
  if (!c) return why = Fmt(Tr("unknown escape \\%s"), {std::string(1, e)}), 0;
  return 2;
}

// Splits one line (without its line end) into its two fields, escapes decoded. It works in
// place, since decoding only shrinks the text, and the meaning takes the line's own memory, so
// a long line is never held twice. False with why.
bool SplitLine(std::string& line, Encoding enc, std::string fields[2], std::string& why) {
  size_t out = 0;  // the decoded bytes so far
  size_t run = 0;  // the start of the bytes not yet moved to out
  size_t tab = std::string::npos;
  for (size_t i = 0; i < line.size();) {
    const auto c = static_cast<unsigned char>(line[i]);
    if (c >= 0x80 || !kSpecial[c]) {
      i += c >= 0x80 && enc == Encoding::Cp932 ? CharLen(enc, line, i) : 1;
      continue;
    }
    std::memmove(line.data() + out, line.data() + run, i - run);
    out += i - run;
    if (c == '\t') {
      if (tab != std::string::npos)
        return why = Tr("more than one tab; expected word<TAB>meaning"), false;
      tab = out;
      ++i;
    } else if (c == '\r') {
      return why = Tr("a carriage return must be written \\r"), false;
    } else {  // a backslash
      const size_t n = Unescape(line, i, enc, line[out], why);
      if (!n) return false;
      ++out;
      i += n;
    }
    run = i;
  }
  std::memmove(line.data() + out, line.data() + run, line.size() - run);
  line.resize(out + line.size() - run);
  if (tab == std::string::npos) return why = Tr("no tab; expected word<TAB>meaning"), false;
  fields[0].assign(line, 0, tab);
  line.erase(0, tab);  // the meaning, after the tab's place
  fields[1].swap(line);
  return true;
}

}  // namespace

std::unique_ptr<RecordWriter> MakeTsvWriter(Encoding enc, Output& out) {
  return std::make_unique<TsvWriter>(enc, out);
}

bool ReadTsv(InputReader& in, Importer& importer, std::string& error) {
  std::string line, why, fields[2];
  size_t lineNo = 0;
  size_t blank = 0;  // the first of the blank lines just read; an error only if an entry follows
  while (in.ReadLine(line)) {
    ++lineNo;
    if (!line.empty() && line.back() == '\r') line.pop_back();  // CR LF files
    if (line.empty()) {
      if (!blank) blank = lineNo;
      continue;
    }
    if (blank) {
      error = LineLabel(blank) + Tr("empty line; expected word<TAB>meaning");
      return false;
    }
    if (!SplitLine(line, importer.encoding(), fields, why)) {
      error = LineLabel(lineNo) + why;
      return false;
    }
    if (!importer.Add(fields[0], fields[1], why)) {
      error = LineLabel(lineNo) + why;
      return false;
    }
  }
  return true;
}

}  // namespace vkd
