// What every vkd format shares: moving text between the book's code page 932 and the chosen
// encoding, the one writer that walks a book's entries record by record, and the one step that
// adds an imported entry. It knows no format's syntax; each format lays out its own records.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "DictData.h"
#include "Formats.h"

namespace vkd {

// Bytes of the character starting at i. In code page 932 a lead byte takes the next byte with
// it, so a trail byte such as 0x5C (the second half of katakana SO) is never read as a backslash.
size_t CharLen(Encoding enc, std::string_view s, size_t i);

// "line N: ", the start of every import message.
std::string LineLabel(size_t n);

// Book text (code page 932) in the output encoding; nullopt when it is not valid text.
std::optional<std::string> Encode(const std::string& bytes, Encoding enc);

// Book text in the output encoding; when it is not valid text, nullopt and a message naming
// what (such as "the name") in error.
std::optional<std::string> EncodeField(const CString& text, Encoding enc, const std::string& what,
                                       std::string& error);

// Imported text in the input encoding to code page 932; nullopt when it cannot be held.
std::optional<std::string> Decode(const std::string& text, Encoding enc);

// Why imported text was refused, for the given input encoding.
std::string CannotHold(Encoding enc);

// Lays out one record from an entry's index, word and meaning (both in the output encoding).
using RecordLayout =
    std::function<std::string(int index, const std::string& word, const std::string& meaning)>;

// head followed by one record per live entry of book, each laid out by layout. Fails (nullopt,
// with a message naming the entry and the field in error) when some text is not valid code
// page 932 in the chosen encoding.
std::optional<std::string> WriteRecords(const CDictData& book, Encoding enc,
                                        const RecordLayout& layout, std::string& error,
                                        std::string head = {});

// Adds the entry read at line lineNo (word and meaning in the input encoding) to result. False,
// with result.error set, when it would be one entry too many or code page 932 cannot hold it.
bool AddEntry(ImportResult& result, size_t lineNo, const std::string& word,
              const std::string& meaning, Encoding enc);

}  // namespace vkd
