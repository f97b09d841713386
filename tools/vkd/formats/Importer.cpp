#include "Importer.h"

#include <algorithm>
#include <cstring>

#include "Archive.h"
#include "Messages.h"

namespace vkd {
namespace {

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

// Whether the text is no longer than a dictionary file holds; else why in error.
bool Fits(std::string_view text, std::string& error) {
  if (text.size() <= CArchive::kLongestString) return true;
  error = Fmt(Tr("text of %s bytes; a dictionary holds at most %s bytes in one text"),
              {std::to_string(text.size()), std::to_string(CArchive::kLongestString)});
  return false;
}

}  // namespace

std::string LineLabel(size_t n) {
  return Fmt(Tr("line %s: "), {std::to_string(n)});
}

// UTF-8 is turned into code page 932 in place, a piece at a time: no character takes more bytes
// in code page 932, so each piece's bytes fit where it was read from, and a long text is never
// held twice.
bool Importer::Decode(std::string& text, std::string& bytes, std::string& error) const {
  if (m_enc == Encoding::Utf8) {
    constexpr size_t kPiece = 64 * 1024;
    std::string piece;
    size_t written = 0;
    for (size_t at = 0; at < text.size();) {
      size_t end = std::min(text.size(), at + kPiece);
      while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) ++end;
      piece.clear();
      if (!AppendFromUtf8(piece, std::string_view(text).substr(at, end - at))) {
        error = Tr("text that is not UTF-8 or that code page 932 cannot hold");
        return false;
      }
      std::memcpy(text.data() + written, piece.data(), piece.size());
      written += piece.size();
      at = end;
    }
    text.resize(written);
  }
  bytes.swap(text);
  return true;
}

bool Importer::Room(std::string& error) const {
  if (m_count < CDictData::MAX_WORDS) return true;
  error = Fmt(Tr("more than %s entries"), {std::to_string(CDictData::MAX_WORDS)});
  return false;
}

bool Importer::Add(std::string& word, std::string& meaning, std::string& error) {
  return Room(error) && Decode(word, m_word, error) && Decode(meaning, m_meaning, error) &&
         Keep(m_word, m_meaning, error);
}

bool Importer::AddBytes(std::string& word, std::string& meaning, std::string& error) {
  return Room(error) && Keep(word, meaning, error);
}

bool Importer::Keep(std::string& word, std::string& meaning, std::string& error) {
  if (!m_keepLineBreaks) StoreLineBreaks(meaning);
  if (!Fits(word, error) || !Fits(meaning, error) || !m_sink.Add(word, meaning, error))
    return false;
  ++m_count;
  return true;
}

bool Importer::SetName(std::string& bytes, std::string& error) {
  if (!Fits(bytes, error)) return false;
  m_name = CString(std::move(bytes));
  return true;
}

}  // namespace vkd
