// The text forms vkd exports and imports: TSV (with backslash escapes), CSV (RFC 4180) and
// JSON, each in UTF-8 or code page 932. A writer lays out records one entry at a time into an
// Output; a reader takes records from an InputReader into an Importer one at a time. Neither
// opens files. Each format has a file of its own (Tsv, Csv, Json); Escape and Importer hold what
// they share.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "Importer.h"
#include "Streams.h"
#include "Text.h"

namespace vkd {

enum class Format { Tsv, Csv, Json };

std::optional<Format> ParseFormat(std::string_view name);
// The format a file name's extension (.tsv, .csv, .json, in any case) stands for.
std::optional<Format> FormatOfPath(std::string_view path);
std::optional<Encoding> ParseEncoding(std::string_view name);

// Lays out a book's records. The texts it is given are already in the output encoding.
class RecordWriter {
 public:
  virtual ~RecordWriter() = default;
  // Whether the dictionary's name is part of the output (given to Begin).
  virtual bool UsesName() const { return false; }
  virtual void Begin(std::string_view /*name*/) {}
  virtual void Entry(int index, std::string_view word, std::string_view meaning) = 0;
  virtual void End() {}
};

std::unique_ptr<RecordWriter> MakeWriter(Format format, Encoding encoding, Output& out);

// Reads every record of in into importer. False, with the first problem as "line N: ..." (and
// for JSON "line N, column M: ...") in error, for malformed input or an entry refused.
bool ReadRecords(Format format, InputReader& in, Importer& importer, std::string& error);

}  // namespace vkd
