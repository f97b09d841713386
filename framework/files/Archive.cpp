#include "Archive.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <optional>

#include "Cp932.h"
#include "File.h"

namespace {

std::string Message(CArchiveException::Cause cause, std::uint64_t offset) {
  switch (cause) {
    case CArchiveException::endOfFile:
      return "unexpected end of file in the item at offset " + std::to_string(offset);
    case CArchiveException::badText:
      return "the string at offset " + std::to_string(offset) + " has no code page 932 form";
    default:
      return "archive used in the wrong direction or after closing";
  }
}

// UTF-16 text is converted in pieces of this many units as it arrives.
constexpr size_t kUtf16Piece = 4096;

bool IsHighSurrogate(char16_t unit) {
  return unit >= 0xD800 && unit <= 0xDBFF;
}

}  // namespace

CArchiveException::CArchiveException(Cause cause, std::uint64_t offset, bool lengthKnown,
                                     std::uint64_t announced, std::uint64_t fileEnd)
    : std::runtime_error(Message(cause, offset)),
      m_cause(cause),
      m_offset(offset),
      m_lengthKnown(lengthKnown),
      m_announced(announced),
      m_fileEnd(fileEnd) {}

CArchive::CArchive(CFile* file, UINT mode, int bufSize)
    : m_file(file), m_loading(mode == load), m_buffer(static_cast<size_t>(std::max(bufSize, 16))) {}

CArchive::~CArchive() {
  Abort();
}

void CArchive::CheckOpen() const {
  if (!m_file) throw CArchiveException(CArchiveException::generic, GetPosition(), false, 0, 0);
}

std::uint64_t CArchive::GetPosition() const {
  return m_loading ? m_filePos - (m_end - m_cur) : m_filePos + m_cur;
}

// ---- storing

void CArchive::Flush() {
  CheckOpen();
  if (m_loading || m_cur == 0) return;
  m_file->Write(m_buffer.data(), static_cast<UINT>(m_cur));
  m_filePos += m_cur;
  m_cur = 0;
}

void CArchive::Write(const void* data, UINT count) {
  CheckOpen();
  if (m_loading) throw CArchiveException(CArchiveException::generic, GetPosition(), false, 0, 0);
  const char* p = static_cast<const char*>(data);
  size_t left = count;
  const size_t room = m_buffer.size() - m_cur;
  if (left <= room) {
    std::memcpy(m_buffer.data() + m_cur, p, left);
    m_cur += left;
    return;
  }
  std::memcpy(m_buffer.data() + m_cur, p, room);
  m_cur += room;
  p += room;
  left -= room;
  Flush();
  // A long run goes straight to the file in whole buffers, without a copy through the buffer,
  // and only its tail waits in it: every write the file sees then starts at a multiple of the
  // buffer's size, so the system can keep the new file in large pages rather than splitting
  // them at each entry.
  const size_t whole = left - left % m_buffer.size();
  if (whole > 0) {
    m_file->Write(p, static_cast<UINT>(whole));
    m_filePos += whole;
    p += whole;
    left -= whole;
  }
  std::memcpy(m_buffer.data(), p, left);
  m_cur = left;
}

CArchive& CArchive::operator<<(const CString& text) {
  WriteString(text.Bytes());
  return *this;
}

void CArchive::WriteString(std::string_view bytes, const std::function<void(size_t)>& written) {
  const std::uint64_t n = bytes.size();
  // 0xFFFFFFFF in the 32-bit length is kept for a longer form that the format never defined:
  // a longer text is refused whole rather than written short.
  if (n > kLongestString)
    throw CArchiveException(CArchiveException::generic, GetPosition(), true, n, 0);
  unsigned char prefix[7];
  UINT size = 0;
  if (n < 0xFF) {
    prefix[size++] = static_cast<unsigned char>(n);
  } else if (n < 0xFFFE) {
    prefix[size++] = 0xFF;
    prefix[size++] = static_cast<unsigned char>(n & 0xFF);
    prefix[size++] = static_cast<unsigned char>(n >> 8);
  } else {
    prefix[size++] = 0xFF;
    prefix[size++] = 0xFF;
    prefix[size++] = 0xFF;
    for (int i = 0; i < 4; ++i) prefix[size++] = static_cast<unsigned char>(n >> (8 * i));
  }
  Write(prefix, size);
  // Write takes a 32-bit count; the text goes in pieces that fit it.
  const size_t most = written ? size_t{4} << 20 : 0x40000000;
  for (std::string_view rest = bytes; !rest.empty();) {
    const size_t piece = std::min(rest.size(), most);
    Write(rest.data(), static_cast<UINT>(piece));
    rest.remove_prefix(piece);
    if (written) written(bytes.size() - rest.size());
  }
}

// ---- loading

UINT CArchive::Fill() {
  // Unread bytes move to the front and stay.
  const size_t unread = m_end - m_cur;
  if (unread > 0 && m_cur > 0) std::memmove(m_buffer.data(), m_buffer.data() + m_cur, unread);
  m_cur = 0;
  m_end = unread;
  const UINT n = m_file->Read(m_buffer.data() + m_end, static_cast<UINT>(m_buffer.size() - m_end));
  m_end += n;
  m_filePos += n;
  return n;
}

UINT CArchive::Read(void* data, UINT count) {
  CheckOpen();
  if (!m_loading) throw CArchiveException(CArchiveException::generic, GetPosition(), false, 0, 0);
  char* p = static_cast<char*>(data);
  size_t left = count;
  while (left > 0) {
    const size_t avail = m_end - m_cur;
    if (avail > 0) {
      const size_t take = std::min(left, avail);
      std::memcpy(p, m_buffer.data() + m_cur, take);
      m_cur += take;
      p += take;
      left -= take;
    } else if (left >= m_buffer.size()) {
      m_cur = m_end = 0;
      const UINT n = m_file->Read(p, static_cast<UINT>(left));
      m_filePos += n;
      p += n;
      left -= n;
      break;  // the file gives less than asked only at its end
    } else if (Fill() == 0) {
      break;
    }
  }
  return static_cast<UINT>(count - left);
}

bool CArchive::ReadFully(void* data, size_t count) {
  return Read(data, static_cast<UINT>(count)) == count;
}

void CArchive::ThrowEnd(std::uint64_t start, bool lengthKnown, std::uint64_t announced) const {
  // An end of file is only ever seen after everything the file held was taken in.
  throw CArchiveException(CArchiveException::endOfFile, start, lengthKnown, announced, m_filePos);
}

// The length of a string: one byte below 0xFF, else a 16-bit value below 0xFFFF, else a 32-bit
// value. Returns the raw 16-bit mark 0xFFFE as 0xFFFE + 2^32 so the caller can tell it apart.
std::uint64_t CArchive::ReadLength(std::uint64_t start) {
  unsigned char b[4];
  if (!ReadFully(b, 1)) ThrowEnd(start, false, 0);
  if (b[0] < 0xFF) return b[0];
  if (!ReadFully(b, 2)) ThrowEnd(start, false, 0);
  const unsigned w = b[0] | (b[1] << 8);
  if (w == 0xFFFE) return 0xFFFEull + (1ull << 32);
  if (w < 0xFFFF) return w;
  if (!ReadFully(b, 4)) ThrowEnd(start, false, 0);
  return std::uint64_t{b[0]} | (std::uint64_t{b[1]} << 8) | (std::uint64_t{b[2]} << 16) |
         (std::uint64_t{b[3]} << 24);
}

std::uint64_t CArchive::Backed() const {
  const std::uint64_t buffered = m_end - m_cur;
  const std::optional<std::uint64_t> length = m_file->GetLength();
  if (!length || *length < m_filePos) return buffered;
  return buffered + (*length - m_filePos);
}

void CArchive::ReadExact(std::string* out, std::uint64_t count, std::uint64_t start) {
  if (out) {
    out->clear();
    // Room for the whole string at once when the file holds it, so each byte is copied once;
    // a length the file does not back gets only what the file has left.
    out->reserve(static_cast<size_t>(std::min(count, Backed())));
  }
  std::uint64_t left = count;
  while (left > 0) {
    const size_t avail = m_end - m_cur;
    if (avail > 0) {
      const size_t take = static_cast<size_t>(std::min<std::uint64_t>(left, avail));
      if (out) out->append(m_buffer.data() + m_cur, take);
      m_cur += take;
      left -= take;
    } else if (out && left >= m_buffer.size()) {
      // Straight from the file into the string. Past the reserved room the string doubles, so
      // it only ever grows by what has really arrived.
      const size_t have = out->size();
      const std::uint64_t room =
          std::max<std::uint64_t>(out->capacity() - have, std::max(have, m_buffer.size()));
      const auto chunk = static_cast<UINT>(
          std::min<std::uint64_t>({left, room, std::numeric_limits<UINT>::max()}));
      out->resize(have + chunk);
      const UINT n = m_file->Read(out->data() + have, chunk);
      out->resize(have + n);
      m_filePos += n;
      left -= n;
      if (n < chunk) ThrowEnd(start, true, count);
    } else if (Fill() == 0) {
      ThrowEnd(start, true, count);
    }
  }
}

// The UTF-16 form is converted piece by piece as its bytes arrive, so neither the units nor a
// second copy of the text are held. Text the code page cannot hold makes the string bad text,
// but only once all its bytes are there: a file that ends early is an end of file first.
void CArchive::ReadUtf16(std::string* out, std::uint64_t units, std::uint64_t start) {
  const std::uint64_t count = units * 2;
  if (out) {
    out->clear();
    out->reserve(static_cast<size_t>(std::min(count, Backed())));  // never more than the units
  }
  std::u16string piece;
  piece.reserve(kUtf16Piece);
  bool bad = false;
  for (std::uint64_t left = count; left > 0;) {
    if (m_end - m_cur < 2) {
      Fill();
      if (m_end - m_cur < 2) ThrowEnd(start, true, count);
    }
    const unsigned char* b = reinterpret_cast<const unsigned char*>(m_buffer.data() + m_cur);
    piece.push_back(static_cast<char16_t>(b[0] | (b[1] << 8)));
    m_cur += 2;
    left -= 2;
    if (piece.size() < kUtf16Piece && left > 0) continue;
    // A high surrogate waits for its pair in the next piece.
    const bool hold = left > 0 && IsHighSurrogate(piece.back());
    const std::u16string_view ready(piece.data(), piece.size() - (hold ? 1 : 0));
    if (!bad) {
      std::optional<std::string> converted = cp932::FromUtf16(ready);
      bad = !converted;
      if (converted && out) out->append(*converted);
    }
    piece.erase(0, ready.size());
  }
  if (bad) throw CArchiveException(CArchiveException::badText, start, true, count, 0);
}

void CArchive::ReadString(std::string* out) {
  CheckOpen();
  if (!m_loading) throw CArchiveException(CArchiveException::generic, GetPosition(), false, 0, 0);
  const std::uint64_t start = GetPosition();
  std::uint64_t length = ReadLength(start);
  if (length <= std::numeric_limits<std::uint32_t>::max()) {
    ReadExact(out, length, start);
    return;
  }
  // The UTF-16 form: after the mark comes a count of UTF-16 units with a prefix of its own
  // (in which 0xFFFE is just a length), then the units, little-endian.
  length = ReadLength(start);
  if (length > std::numeric_limits<std::uint32_t>::max()) length = 0xFFFE;
  ReadUtf16(out, length, start);
}

CArchive& CArchive::operator>>(CString& text) {
  std::string bytes;
  ReadString(&bytes);
  text = CString(std::move(bytes));
  return *this;
}

void CArchive::SkipString() {
  ReadString(nullptr);
}

void CArchive::Close() {
  if (!m_file) return;
  if (!m_loading) Flush();
  m_file = nullptr;
  m_cur = m_end = 0;
}

void CArchive::Abort() {
  m_file = nullptr;
  m_cur = m_end = 0;
}
