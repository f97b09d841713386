#include "Streams.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <istream>
#include <ostream>

#include "Messages.h"

namespace vkd {
namespace {

[[noreturn]] void Throw(const char* what, const std::string& name, int error) {
  throw CFileException(Fmt(Tr(what), {name, std::strerror(error)}), error);
}

}  // namespace

UINT StreamFile::Read(void* buffer, UINT count) {
  if (!m_in) throw CFileException(m_name, EBADF);
  m_in->read(static_cast<char*>(buffer), count);
  const auto n = static_cast<UINT>(m_in->gcount());
  if (m_in->bad()) Throw(N_("cannot read %s: %s"), m_name, errno ? errno : EIO);
  m_read += n;
  return n;
}

std::uint64_t StreamFile::Drain() {
  char scratch[65536];
  std::uint64_t n = 0;
  while (UINT got = Read(scratch, sizeof scratch)) n += got;
  return n;
}

void StreamFile::Write(const void* buffer, UINT count) {
  if (!m_out) throw CFileException(m_name, EBADF);
  errno = 0;
  if (!m_out->write(static_cast<const char*>(buffer), count))
    Throw(N_("cannot write to %s: %s"), m_name, errno ? errno : EIO);
}

void StreamFile::Close() {
  m_open = false;
  errno = 0;
  if (m_out && !m_out->flush()) Throw(N_("cannot write to %s: %s"), m_name, errno ? errno : EIO);
}

FdFile::~FdFile() {
  Abort();
}

UINT FdFile::Read(void* buffer, UINT count) {
  char* p = static_cast<char*>(buffer);
  UINT done = 0;
  while (done < count) {
    const ssize_t n = read(m_fd, p + done, count - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) Throw(N_("cannot read %s: %s"), m_name, errno);
    if (n == 0) break;
    done += static_cast<UINT>(n);
  }
  return done;
}

void FdFile::Write(const void* buffer, UINT count) {
  const char* p = static_cast<const char*>(buffer);
  UINT done = 0;
  while (done < count) {
    const ssize_t n = write(m_fd, p + done, count - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) Throw(N_("cannot write to %s: %s"), m_name, errno);
    done += static_cast<UINT>(n);
  }
}

void FdFile::Close() {
  if (m_fd < 0) return;
  const int fd = m_fd;
  m_fd = -1;
  if (close(fd) != 0 && errno != EINTR) Throw(N_("cannot write to %s: %s"), m_name, errno);
}

void FdFile::Abort() {
  if (m_fd >= 0) close(m_fd);
  m_fd = -1;
}

void Output::Flush() {
  if (m_buffer.empty()) return;
  m_file.Write(m_buffer.data(), static_cast<UINT>(m_buffer.size()));
  m_buffer.clear();
}

namespace {
constexpr size_t kBlock = 256 * 1024;
}  // namespace

InputReader::InputReader(CFile& file, bool skipBom) : m_file(file) {
  if (!skipBom) return;
  while (m_end - m_pos < 3 && Refill()) {  // a pipe may give fewer bytes at first
  }
  if (m_end - m_pos >= 3 && m_buffer.compare(m_pos, 3, "\xEF\xBB\xBF") == 0) m_pos += 3;
}

size_t InputReader::NextBlock(std::string& buffer) {
  if (buffer.size() < kBlock) buffer.resize(kBlock);
  return m_file.Read(buffer.data(), static_cast<UINT>(kBlock));
}

bool InputReader::Refill() {
  if (m_eof) return false;
  if (m_pos == m_end) {  // the usual case: the next block simply takes this one's place
    m_pos = 0;
    m_end = NextBlock(m_buffer);
    m_eof = m_end == 0;
    return !m_eof;
  }
  // Unread bytes move to the front and stay, and the next block follows them.
  const size_t n = NextBlock(m_next);
  if (n == 0) return m_eof = true, false;
  std::memmove(m_buffer.data(), m_buffer.data() + m_pos, m_end - m_pos);
  m_end -= m_pos;
  m_pos = 0;
  if (m_buffer.size() < m_end + n) m_buffer.resize(std::max(m_buffer.size() * 2, m_end + n));
  std::memcpy(m_buffer.data() + m_end, m_next.data(), n);
  m_end += n;
  return true;
}

}  // namespace vkd
