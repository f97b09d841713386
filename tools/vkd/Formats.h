// The text forms vkd exports and imports: TSV (with backslash escapes), CSV (RFC 4180) and
// JSON, each in UTF-8 or code page 932. Export turns a word book into bytes; import turns bytes
// into entries or a message naming the line. Neither touches files. Each format has a file of its
// own (Tsv, Csv, Json); Records holds what they share.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "DictData.h"

namespace vkd {

enum class Format { Tsv, Csv, Json };
enum class Encoding { Utf8, Cp932 };

std::optional<Format> ParseFormat(std::string_view name);
std::optional<Encoding> ParseEncoding(std::string_view name);

// An entry in code page 932 bytes, as the word book holds it.
struct Entry {
  std::string word;
  std::string meaning;
};

// What an import produced: the entries (and the name a JSON file carries), or the first
// problem found, as "line N: ...".
struct ImportResult {
  std::vector<Entry> entries;
  std::optional<std::string> name;
  std::string error;
  bool ok() const { return error.empty(); }
};

// The live entries of book in the given form. Fails (returning nullopt and a message in error)
// when some text cannot be written in the chosen encoding.
std::optional<std::string> Export(const CDictData& book, Format format, Encoding encoding,
                                  std::string& error);

// Parses input in the given form. Refuses malformed input, text that code page 932 cannot
// hold, and more than CDictData::MAX_WORDS entries.
ImportResult Import(std::string_view input, Format format, Encoding encoding);

}  // namespace vkd
