#include "Records.h"

#include <cstring>

#include "Messages.h"

namespace vkd {
namespace {

// A lone LF or CR becomes CR LF. Neither byte is ever a trail byte, so the bytes are walked
// one by one in either encoding.
// Whether text holds an LF without a CR before it or a CR without an LF after it.
bool HasLoneBreak(std::string_view text) {
  const char* begin = text.data();
  const char* end = begin + text.size();
  for (const char* p = begin; (p = static_cast<const char*>(std::memchr(p, '\n', end - p))); ++p)
    if (p == begin || p[-1] != '\r') return true;
  for (const char* p = begin; (p = static_cast<const char*>(std::memchr(p, '\r', end - p))); ++p)
    if (p + 1 == end || p[1] != '\n') return true;
  return false;
}

// A lone LF or CR becomes CR LF. Neither byte is ever a trail byte, so the bytes are walked
// one by one in either encoding.
void StoreLineBreaks(std::string& text) {
  if (!HasLoneBreak(text)) return;
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c != '\r' && c != '\n') {
      out += c;
      continue;
    }
    out += "\r\n";
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
  }
  text = std::move(out);
}

}  // namespace

std::string LineLabel(size_t n) {
  return Fmt(Tr("line %s: "), {std::to_string(n)});
}

bool Importer::Decode(std::string& text, std::string& error) const {
  if (m_enc == Encoding::Cp932) return true;  // the bytes are stored as they are
  auto bytes = FromUtf8(text);
  if (!bytes) {
    error = Tr("text that is not UTF-8 or that code page 932 cannot hold");
    return false;
  }
  text = std::move(*bytes);
  return true;
}

bool Importer::Add(std::string& word, std::string& meaning, std::string& error) {
  if (m_book.m_nCount == CDictData::MAX_WORDS) {
    error = Fmt(Tr("more than %s entries"), {std::to_string(CDictData::MAX_WORDS)});
    return false;
  }
  if (!Decode(word, error) || !Decode(meaning, error)) return false;
  if (!m_keepLineBreaks) StoreLineBreaks(meaning);
  // The book keeps every string to the end: hold no more memory than the text needs.
  word.shrink_to_fit();
  meaning.shrink_to_fit();
  const int i = m_book.m_nCount++;
  m_book.m_strWord[i] = CString(std::move(word));
  m_book.m_strMeaning[i] = CString(std::move(meaning));
  return true;
}

bool Importer::SetName(std::string& name, std::string& error) {
  if (!Decode(name, error)) return false;
  m_name = CString(std::move(name));
  return true;
}

}  // namespace vkd
