#include "Records.h"

#include <cstring>

#include "Messages.h"

namespace vkd {
namespace {

// A lone LF or CR becomes CR LF. Neither byte is ever a trail byte, so the bytes are walked
// one by one in either encoding.
void StoreLineBreaks(std::string& text) {
  // Most meanings already hold CR LF pairs only, or no line break at all: leave those alone.
  size_t lone = 0;
  for (;;) {
    lone = text.find_first_of("\r\n", lone);
    if (lone == std::string::npos) return;
    if (text[lone] == '\n' || lone + 1 == text.size() || text[lone + 1] != '\n') break;
    lone += 2;
  }
  std::string out(text, 0, lone);
  out.reserve(text.size() + text.size() / 16);
  for (size_t i = lone; i < text.size();) {
    const size_t next = text.find_first_of("\r\n", i);
    if (next == std::string::npos) {
      out.append(text, i);
      break;
    }
    out.append(text, i, next - i);
    out += "\r\n";
    i = next + (text[next] == '\r' && next + 1 < text.size() && text[next + 1] == '\n' ? 2 : 1);
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
