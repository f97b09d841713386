#include "Formats.h"

#include <algorithm>
#include <cctype>

#include "Csv.h"
#include "Json.h"
#include "Tsv.h"

namespace vkd {

std::optional<Format> ParseFormat(std::string_view name) {
  if (name == "tsv") return Format::Tsv;
  if (name == "csv") return Format::Csv;
  if (name == "json") return Format::Json;
  return std::nullopt;
}

std::optional<Format> FormatOfPath(std::string_view path) {
  const auto dot = path.rfind('.');
  if (dot == std::string_view::npos || path.find('/', dot) != std::string_view::npos)
    return std::nullopt;
  std::string ext(path.substr(dot + 1));
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return ParseFormat(ext);
}

std::optional<Encoding> ParseEncoding(std::string_view name) {
  if (name == "utf-8" || name == "utf8") return Encoding::Utf8;
  if (name == "cp932" || name == "shift_jis" || name == "sjis") return Encoding::Cp932;
  return std::nullopt;
}

std::unique_ptr<RecordWriter> MakeWriter(Format format, Encoding encoding, Output& out) {
  switch (format) {
    case Format::Csv:
      return MakeCsvWriter(out);
    case Format::Json:
      return MakeJsonWriter(encoding, out);
    case Format::Tsv:
      break;
  }
  return MakeTsvWriter(encoding, out);
}

bool ReadRecords(Format format, InputReader& in, Importer& importer, std::string& error) {
  switch (format) {
    case Format::Csv:
      return ReadCsv(in, importer, error);
    case Format::Json:
      return ReadJson(in, importer, error);
    case Format::Tsv:
      break;
  }
  return ReadTsv(in, importer, error);
}

}  // namespace vkd
