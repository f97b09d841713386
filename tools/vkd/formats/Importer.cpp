#include "Importer.h"

#include <algorithm>
#include <cstring>

#include "Archive.h"
#include "Messages.h"

namespace vkd {
namespace {

// The bytes that storing text's line breaks as CR LF adds: one for each LF without a CR before
// it and each CR without an LF after it.
size_t LoneBreaks(std::string_view text) {
  const char* begin = text.data();
  const char* end = begin + text.size();
  size_t lone = 0;
  for (const char* p = begin; (p = static_cast<const char*>(std::memchr(p, '\n', end - p))); ++p)
    lone += p == begin || p[-1] != '\r';
  for (const char* p = begin; (p = static_cast<const char*>(std::memchr(p, '\r', end - p))); ++p)
    lone += p + 1 == end || p[1] != '\n';
  return lone;
}

// A lone LF or CR becomes CR LF, where the text is: it grows by the bytes added, and is moved
// up from its end, so a long text is never held twice. Neither byte is ever a trail byte, so
// the bytes are walked one by one in either encoding.
void StoreLineBreaks(TextBuffer& text) {
  const size_t n = text.size();
  const size_t added = LoneBreaks(text.view());
  if (added == 0) return;
  text.resize(n + added);
  char* p = text.data();
  char after = 0;  // the byte that stood after p[i]
  // Bytes before i that still move; none once all the added ones have been put in.
  for (size_t i = n, to = n + added; to > i;) {
    const char c = p[--i];
    const bool lone = (c == '\n' && (i == 0 || p[i - 1] != '\r')) || (c == '\r' && after != '\n');
    if (lone) {
      p[--to] = '\n';
      p[--to] = '\r';
    } else {
      p[--to] = c;
    }
    after = c;
  }
}

// Whether the text is no longer than a dictionary file holds; else why in error.
bool Fits(const TextBuffer& text, std::string& error) {
  if (text.size() <= CArchive::kLongestString) return true;
  error = TooLong(text.size());
  return false;
}

}  // namespace

std::string LineLabel(size_t n) {
  return Fmt(Tr("line %s: "), {std::to_string(n)});
}

std::string TooLong(std::uint64_t bytes) {
  return Fmt(Tr("text of %s bytes; a dictionary holds at most %s bytes in one text"),
             {std::to_string(bytes), std::to_string(CArchive::kLongestString)});
}

bool Importer::Finish(FieldText& field, std::string& error) {
  switch (field.Finish()) {
    case FieldText::State::Whole:
      return true;
    case FieldText::State::Overlong:
      error = TooLong(field.Length());
      return false;
    default:
      error = Tr("text that is not UTF-8 or that code page 932 cannot hold");
      return false;
  }
}

bool Importer::Room(std::string& error) const {
  if (m_count < CDictData::MAX_WORDS) return true;
  error = Fmt(Tr("more than %s entries"), {std::to_string(CDictData::MAX_WORDS)});
  return false;
}

bool Importer::Add(FieldText& word, FieldText& meaning, std::string& error) {
  return Room(error) && Finish(word, error) && Finish(meaning, error) &&
         Keep(word.Bytes(), meaning.Bytes(), error);
}

bool Importer::AddBytes(TextBuffer& word, TextBuffer& meaning, std::string& error) {
  return Room(error) && Keep(word, meaning, error);
}

bool Importer::Keep(TextBuffer& word, TextBuffer& meaning, std::string& error) {
  if (!m_keepLineBreaks) StoreLineBreaks(meaning);
  if (!Fits(word, error) || !Fits(meaning, error) || !m_sink.Add(word, meaning, error))
    return false;
  ++m_count;
  return true;
}

bool Importer::SetName(TextBuffer& bytes, std::string& error) {
  if (!Fits(bytes, error)) return false;
  m_name = CString(bytes.Take());
  return true;
}

}  // namespace vkd
