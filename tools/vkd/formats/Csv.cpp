#include "Csv.h"

#include <array>

#include "Messages.h"

// The special bytes of CSV are all below 0x40, never trail bytes, so the text is read and written
// byte by byte in either encoding.

namespace vkd {
namespace {

constexpr std::array<bool, 256> Stops(std::string_view bytes) {
  std::array<bool, 256> stop{};
  for (char c : bytes) stop[static_cast<unsigned char>(c)] = true;
  return stop;
}
constexpr auto kPlainStops = Stops(",\"\r\n");
constexpr auto kQuotedStops = Stops("\"\n");

void AppendField(std::string& out, std::string_view s) {
  if (s.find_first_of(",\"\r\n") == std::string_view::npos) {
    out += s;
    return;
  }
  out += '"';
  for (size_t start = 0;;) {
    const size_t q = s.find('"', start);
    if (q == std::string_view::npos) {
      out.append(s, start);
      break;
    }
    out.append(s, start, q + 1 - start);
    out += '"';
    start = q + 1;
  }
  out += '"';
}

class CsvWriter : public RecordWriter {
 public:
  explicit CsvWriter(Output& out) : m_out(out) {}
  void Entry(int, std::string_view word, std::string_view meaning) override {
    std::string& b = m_out.Buffer();
    AppendField(b, word);
    b += ',';
    AppendField(b, meaning);
    b += "\r\n";
    m_out.Written();
  }

 private:
  Output& m_out;
};

// Reads records one by one, keeping the line number for messages.
class CsvReader {
 public:
  explicit CsvReader(InputReader& in) : m_in(in) {}

  bool Read(Importer& importer, std::string& error) {
    size_t blank = 0;  // the first blank line just read; an error only if a record follows
    FieldText fields[2]{FieldText(importer.encoding()), FieldText(importer.encoding())};
    while (m_in.Peek() >= 0) {
      const size_t recordLine = m_line;
      if (m_in.Peek() == '\r' || m_in.Peek() == '\n') {
        if (!LineEnd(error)) return false;
        if (!blank) blank = recordLine;
        continue;
      }
      if (blank) return Fail(error, blank, Tr("empty line; expected word,meaning"));
      // A third field is refused as it begins, before anything of it is read.
      fields[0].Begin();
      fields[1].Begin();
      if (!Field(fields[0], error)) return false;
      if (m_in.Peek() != ',')
        return Fail(error, recordLine,
                    Fmt(Tr("expected 2 fields (word,meaning), found %s"), {"1"}));
      m_in.Get();
      if (!Field(fields[1], error)) return false;
      if (m_in.Peek() == ',')
        return Fail(error, recordLine, Tr("more than 2 fields; expected word,meaning"));
      if (!LineEnd(error)) return false;
      std::string why;
      if (!importer.Add(fields[0], fields[1], why)) return Fail(error, recordLine, why);
    }
    return true;
  }

 private:
  bool Fail(std::string& error, size_t line, const std::string& why) {
    error = LineLabel(line) + why;
    return false;
  }

  bool Field(FieldText& field, std::string& error) {
    if (m_in.Peek() != '"') {
      if (AppendUntil(field, kPlainStops) == '"')
        return Fail(error, m_line, Tr("a quote inside a field that does not begin with one"));
      return true;
    }
    const size_t start = m_line;
    m_in.Get();
    for (;;) {
      const int c = AppendUntil(field, kQuotedStops);
      if (c < 0) return Fail(error, start, Tr("a quoted field is not closed"));
      m_in.Get();
      if (c == '"' && m_in.Peek() != '"') break;  // the closing quote
      if (c == '"') m_in.Get();                   // a doubled quote stands for one
      if (c == '\n') ++m_line;
      field.push_back(static_cast<char>(c));
    }
    const int c = m_in.Peek();
    if (c >= 0 && c != ',' && c != '\r' && c != '\n')
      return Fail(error, m_line, Tr("text after the closing quote of a field"));
    return true;
  }

  // Appends to field the bytes before the next one that stop marks, and returns that byte (not
  // taken), or -1 at the end of the input.
  int AppendUntil(FieldText& field, const std::array<bool, 256>& stop) {
    for (;;) {
      const std::string_view ahead = m_in.Ahead();
      if (ahead.empty()) return -1;
      size_t n = 0;
      while (n < ahead.size() && !stop[static_cast<unsigned char>(ahead[n])]) ++n;
      field.append(ahead.substr(0, n));
      m_in.Skip(n);
      if (n < ahead.size()) return static_cast<unsigned char>(ahead[n]);
    }
  }

  // The end of a record: CR LF, LF, or the end of the input.
  bool LineEnd(std::string& error) {
    if (m_in.Peek() == '\r') {
      m_in.Get();
      if (m_in.Peek() != '\n') return Fail(error, m_line, Tr("a carriage return outside quotes"));
    }
    if (m_in.Peek() == '\n') {
      m_in.Get();
      ++m_line;
    }
    return true;
  }

  InputReader& m_in;
  size_t m_line = 1;
};

}  // namespace

std::unique_ptr<RecordWriter> MakeCsvWriter(Output& out) {
  return std::make_unique<CsvWriter>(out);
}

bool ReadCsv(InputReader& in, Importer& importer, std::string& error) {
  return CsvReader(in).Read(importer, error);
}

}  // namespace vkd
