#include "Tsv.h"

#include "Records.h"

namespace vkd {
namespace {

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

}  // namespace

std::optional<std::string> ExportTsv(const CDictData& book, Encoding enc, std::string& error) {
  return WriteRecords(
      book, enc,
      [enc](int, const std::string& word, const std::string& meaning) {
        return TsvEscape(word, enc) + "\t" + TsvEscape(meaning, enc) + "\n";
      },
      error);
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
      r.error = LineLabel(lineNo) + "empty line; expected word<TAB>meaning";
      return r;
    }
    std::string fields[2];
    int field = 0;
    for (size_t i = 0; i < line.size();) {
      const size_t len = CharLen(enc, line, i);
      const char c = line[i];
      if (len == 1 && c == '\t') {
        if (++field > 1) {
          r.error = LineLabel(lineNo) + "more than one tab; expected word<TAB>meaning";
          return r;
        }
      } else if (len == 1 && c == '\\') {
        if (i + 1 >= line.size()) {
          r.error = LineLabel(lineNo) + "backslash at the end of the line";
          return r;
        }
        const char e = line[i + 1];
        const char decoded = e == '\\'  ? '\\'
                             : e == 't' ? '\t'
                             : e == 'r' ? '\r'
                             : e == 'n' ? '\n'
                                        : 0;
        if (!decoded) {
          r.error = LineLabel(lineNo) + "unknown escape \\" + std::string(1, e);
          return r;
        }
        fields[field] += decoded;
        i += 2;
        continue;
      } else if (len == 1 && c == '\r') {
        r.error = LineLabel(lineNo) + "a carriage return must be written \\r";
        return r;
      } else {
        fields[field].append(line.substr(i, len));
      }
      i += len;
    }
    if (field != 1) {
      r.error = LineLabel(lineNo) + "no tab; expected word<TAB>meaning";
      return r;
    }
    if (!AddEntry(r, lineNo, fields[0], fields[1], enc)) return r;
  }
  return r;
}

}  // namespace vkd
