#include "Records.h"

#include "CString.h"
#include "Cp932.h"

namespace vkd {

size_t CharLen(Encoding enc, std::string_view s, size_t i) {
  if (enc == Encoding::Cp932 && cp932::IsLeadByte(static_cast<unsigned char>(s[i])) &&
      i + 1 < s.size())
    return 2;
  return 1;
}

std::string LineLabel(size_t n) {
  return "line " + std::to_string(n) + ": ";
}

std::optional<std::string> Encode(const std::string& bytes, Encoding enc) {
  auto utf8 = cp932::ToUtf8(bytes);
  if (!utf8) return std::nullopt;
  if (enc == Encoding::Utf8) return utf8;
  return bytes;
}

std::optional<std::string> EncodeField(const CString& text, Encoding enc, const std::string& what,
                                       std::string& error) {
  auto out = Encode(text.Bytes(), enc);
  if (!out) error = what + " is not valid code page 932 text";
  return out;
}

std::optional<std::string> Decode(const std::string& text, Encoding enc) {
  if (enc == Encoding::Utf8) return cp932::FromUtf8(text);
  if (!cp932::ToUtf8(text)) return std::nullopt;
  return text;
}

std::string CannotHold(Encoding enc) {
  return enc == Encoding::Utf8 ? "text that is not UTF-8 or that code page 932 cannot hold"
                               : "text that is not valid code page 932";
}

std::optional<std::string> WriteRecords(const CDictData& book, Encoding enc,
                                        const RecordLayout& layout, std::string& error,
                                        std::string head) {
  std::string out = std::move(head);
  for (int i = 0; i < book.m_nCount && i < CDictData::MAX_WORDS; ++i) {
    const std::string label = "entry " + std::to_string(i) + ": the ";
    // Both fields are tried, so when both are bad the message names the meaning.
    auto word = EncodeField(book.m_strWord[i], enc, label + "word", error);
    auto meaning = EncodeField(book.m_strMeaning[i], enc, label + "meaning", error);
    if (!word || !meaning) return std::nullopt;
    out += layout(i, *word, *meaning);
  }
  return out;
}

bool AddEntry(ImportResult& result, size_t lineNo, const std::string& word,
              const std::string& meaning, Encoding enc) {
  if (result.entries.size() == CDictData::MAX_WORDS) {
    result.error =
        LineLabel(lineNo) + "more than " + std::to_string(CDictData::MAX_WORDS) + " entries";
    return false;
  }
  auto w = Decode(word, enc);
  auto m = Decode(meaning, enc);
  if (!w || !m) {
    result.error = LineLabel(lineNo) + CannotHold(enc);
    return false;
  }
  result.entries.push_back({std::move(*w), std::move(*m)});
  return true;
}

}  // namespace vkd
