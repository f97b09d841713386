#include "Archive.h"

#include <algorithm>
#include <cstring>
#include <limits>

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

// The step in which long strings are read past the small buffer.
constexpr size_t kDirectChunk = 64 * 1024;

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
  if (left >= m_buffer.size()) {
    // A long run gains nothing from a copy through the buffer; the file sees the same bytes.
    m_file->Write(p, static_cast<UINT>(left));
    m_filePos += left;
    return;
  }
  std::memcpy(m_buffer.data(), p, left);
  m_cur = left;
}

CArchive& CArchive::operator<<(const CString& text) {
  const std::string& bytes = text.Bytes();
  const std::uint64_t n = bytes.size();
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
  Write(bytes.data(), static_cast<UINT>(n));
  return *this;
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

void CArchive::ReadExact(std::string& out, std::uint64_t count, std::uint64_t start) {
  out.clear();
  std::uint64_t left = count;
  while (left > 0) {
    const size_t avail = m_end - m_cur;
    if (avail > 0) {
      const size_t take = static_cast<size_t>(std::min<std::uint64_t>(left, avail));
      out.append(m_buffer.data() + m_cur, take);
      m_cur += take;
      left -= take;
    } else if (left >= m_buffer.size()) {
      // A long string bypasses the small buffer through a larger one. The string grows only by
      // what has really been read, so a length the file does not back costs nothing extra.
      if (m_scratch.empty()) m_scratch.resize(kDirectChunk);
      const auto chunk = static_cast<UINT>(std::min<std::uint64_t>(left, m_scratch.size()));
      const UINT n = m_file->Read(m_scratch.data(), chunk);
      m_filePos += n;
      out.append(m_scratch.data(), n);
      left -= n;
      if (n < chunk) ThrowEnd(start, true, count);
    } else if (Fill() == 0) {
      ThrowEnd(start, true, count);
    }
  }
}

CArchive& CArchive::operator>>(CString& text) {
  CheckOpen();
  if (!m_loading) throw CArchiveException(CArchiveException::generic, GetPosition(), false, 0, 0);
  const std::uint64_t start = GetPosition();
  std::uint64_t length = ReadLength(start);
  if (length <= std::numeric_limits<std::uint32_t>::max()) {
    std::string bytes;
    ReadExact(bytes, length, start);
    text = CString(std::move(bytes));
    return *this;
  }
  // The UTF-16 form: after the mark comes a count of UTF-16 units with a prefix of its own
  // (in which 0xFFFE is just a length), then the units, little-endian.
  length = ReadLength(start);
  if (length > std::numeric_limits<std::uint32_t>::max()) length = 0xFFFE;
  std::string bytes;
  ReadExact(bytes, length * 2, start);
  std::u16string units(static_cast<size_t>(length), u'\0');
  for (size_t i = 0; i < units.size(); ++i) {
    units[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                     (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
  }
  auto converted = cp932::FromUtf16(units);
  if (!converted) throw CArchiveException(CArchiveException::badText, start, true, length * 2, 0);
  text = CString(std::move(*converted));
  return *this;
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
