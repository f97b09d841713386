#include "Csv.h"

#include <vector>

#include "Records.h"

// The special bytes of CSV are all below 0x40, never trail bytes, so the text is read and written
// byte by byte in either encoding.

namespace vkd {
namespace {

std::string CsvField(const std::string& s) {
  if (s.find_first_of(",\"\r\n") == std::string::npos) return s;
  std::string out = "\"";
  for (char c : s) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

}  // namespace

std::optional<std::string> ExportCsv(const CDictData& book, Encoding enc, std::string& error) {
  return WriteRecords(
      book, enc,
      [](int, const std::string& word, const std::string& meaning) {
        return CsvField(word) + "," + CsvField(meaning) + "\r\n";
      },
      error);
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
            r.error = LineLabel(recordLine) + "a quoted field is not closed";
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
          r.error = LineLabel(line) + "text after the closing quote of a field";
          return r;
        }
      } else {
        while (pos < n && s[pos] != ',' && s[pos] != '\r' && s[pos] != '\n') {
          if (s[pos] == '"') {
            r.error = LineLabel(line) + "a quote inside a field that does not begin with one";
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
        r.error = LineLabel(line) + "a carriage return outside quotes";
        return r;
      }
      ++pos;
    }
    if (pos < n && s[pos] == '\n') {
      ++pos;
      ++line;
    }
    if (fields.size() != 2) {
      r.error = LineLabel(recordLine) + "expected 2 fields (word,meaning), found " +
                std::to_string(fields.size());
      return r;
    }
    if (!AddEntry(r, recordLine, fields[0], fields[1], enc)) return r;
  }
  return r;
}

}  // namespace vkd
