#include "ImportFuzzCheck.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "DictData.h"
#include "Formats.h"
#include "MemFile.h"
#include "Streams.h"

namespace {

using vkd::Encoding;
using vkd::Format;

void Require(bool condition) {
  if (!condition) __builtin_trap();
}

// Hands out its bytes in chunks of the given sizes in turn, as a pipe may.
class ChunkedFile : public CFile {
 public:
  ChunkedFile(std::string_view bytes, std::array<UINT, 3> chunks)
      : m_bytes(bytes), m_chunks(chunks) {}

  UINT Read(void* buffer, UINT count) override {
    const UINT n = static_cast<UINT>(
        std::min<size_t>({count, m_chunks[m_turn++ % m_chunks.size()], m_bytes.size() - m_pos}));
    std::memcpy(buffer, m_bytes.data() + m_pos, n);
    m_pos += n;
    return n;
  }
  void Close() override { m_open = false; }
  void Abort() override { m_open = false; }
  bool IsOpen() const override { return m_open; }

 private:
  std::string_view m_bytes;
  std::array<UINT, 3> m_chunks;
  size_t m_pos = 0;
  size_t m_turn = 0;
  bool m_open = true;
};

class BookSink : public vkd::EntrySink {
 public:
  bool Add(TextBuffer& word, TextBuffer& meaning, std::string&) override {
    Require(book->m_nCount < CDictData::MAX_WORDS);
    const int i = book->m_nCount++;
    book->m_strWord[i] = CString(word.Take());
    book->m_strMeaning[i] = CString(meaning.Take());
    return true;
  }
  std::unique_ptr<CDictData> book = std::make_unique<CDictData>();
};

struct Settings {
  Format format;
  Encoding encoding;
  bool keepLineBreaks;
  std::array<UINT, 3> chunks;
};

// The book the bytes make; none when they are refused, which always says why.
std::unique_ptr<CDictData> Import(const Settings& s, std::string_view bytes) {
  ChunkedFile file(bytes, s.chunks);
  BookSink sink;
  vkd::Importer importer(sink, s.encoding, s.keepLineBreaks);
  vkd::InputReader reader(file, s.encoding == Encoding::Utf8);
  std::string error;
  if (!vkd::ReadRecords(s.format, reader, importer, error)) {
    Require(!error.empty());
    return nullptr;
  }
  Require(importer.count() == sink.book->m_nCount);
  if (importer.name()) sink.book->m_strName = *importer.name();
  return std::move(sink.book);
}

// The field as the export writes it in the encoding; every field that came in as UTF-8 has a
// UTF-8 form.
std::string Encode(const CString& text, Encoding enc) {
  if (enc == Encoding::Cp932) return text.Bytes();
  std::string out;
  size_t bad = 0;
  Require(vkd::AppendUtf8(out, text.Bytes(), &bad));
  return out;
}

std::string Export(const Settings& s, const CDictData& book) {
  CMemFile file;
  vkd::Output out(file);
  auto writer = vkd::MakeWriter(s.format, s.encoding, out);
  if (writer->UsesName()) writer->Begin(Encode(book.m_strName, s.encoding));
  for (int i = 0; i < book.m_nCount; ++i)
    writer->Entry(i, Encode(book.m_strWord[i], s.encoding),
                  Encode(book.m_strMeaning[i], s.encoding));
  writer->End();
  out.Flush();
  return file.Bytes();
}

// The book goes out in the settings' format and back in as the same book and, exported again,
// the same bytes.
void CheckRoundTrip(const Settings& s, const CDictData& book) {
  const std::string exported = Export(s, book);
  const auto again = Import(s, exported);
  Require(again != nullptr);
  Require(again->m_nCount == book.m_nCount);
  if (s.format == Format::Json) Require(again->m_strName == book.m_strName);
  for (int i = 0; i < book.m_nCount; ++i) {
    Require(again->m_strWord[i] == book.m_strWord[i]);
    Require(again->m_strMeaning[i] == book.m_strMeaning[i]);
  }
  Require(Export(s, *again) == exported);
}

}  // namespace

void CheckImportBytes(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return;
  const Settings s{static_cast<Format>(data[0] % 3),
                   (data[0] / 3) % 2 ? Encoding::Cp932 : Encoding::Utf8,
                   (data[0] / 6) % 2 == 1,
                   {UINT{data[1]} + 1, UINT{data[2]} + 1, UINT{data[3]} * 64 + 1}};
  const std::string_view input(reinterpret_cast<const char*>(data) + 4, size - 4);
  // In code page 932 a book holds any bytes: the input itself, as the name and split into a
  // word and a meaning, goes out in each format and comes back as it was.
  if (s.encoding == Encoding::Cp932) {
    auto raw = std::make_unique<CDictData>();
    raw->m_strName = CString(std::string(input));
    raw->m_strWord[0] = CString(std::string(input.substr(0, input.size() / 2)));
    raw->m_strMeaning[0] = CString(std::string(input.substr(input.size() / 2)));
    raw->m_nCount = 1;
    for (const Format format : {Format::Tsv, Format::Csv, Format::Json})
      CheckRoundTrip({format, s.encoding, true, s.chunks}, *raw);
  }
  const auto book = Import(s, input);
  if (!book) return;
  Require(book->m_nCount >= 0 && book->m_nCount <= CDictData::MAX_WORDS);
  // Whatever format it came in, the book goes out and back in each one.
  for (const Format format : {Format::Tsv, Format::Csv, Format::Json})
    CheckRoundTrip({format, s.encoding, s.keepLineBreaks, s.chunks}, *book);
}
