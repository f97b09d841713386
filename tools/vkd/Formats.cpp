#include "Formats.h"

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

std::optional<Encoding> ParseEncoding(std::string_view name) {
  if (name == "utf-8" || name == "utf8") return Encoding::Utf8;
  if (name == "cp932" || name == "shift_jis" || name == "sjis") return Encoding::Cp932;
  return std::nullopt;
}

std::optional<std::string> Export(const CDictData& book, Format format, Encoding encoding,
                                  std::string& error) {
  switch (format) {
    case Format::Tsv:
      return ExportTsv(book, encoding, error);
    case Format::Csv:
      return ExportCsv(book, encoding, error);
    case Format::Json:
      return ExportJson(book, encoding, error);
  }
  return std::nullopt;
}

ImportResult Import(std::string_view input, Format format, Encoding encoding) {
  switch (format) {
    case Format::Tsv:
      return ImportTsv(input, encoding);
    case Format::Csv:
      return ImportCsv(input, encoding);
    case Format::Json:
      return ImportJson(input, encoding);
  }
  return {};
}

}  // namespace vkd
