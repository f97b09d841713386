#include "MemFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

UINT CMemFile::Read(void* buffer, UINT count) {
  if (!m_open) throw CFileException("read from a closed memory file", EBADF);
  const size_t n = std::min<size_t>(count, m_bytes.size() - m_readPos);
  if (n > 0) std::memcpy(buffer, m_bytes.data() + m_readPos, n);
  m_readPos += n;
  return static_cast<UINT>(n);
}

void CMemFile::Write(const void* buffer, UINT count) {
  if (!m_open) throw CFileException("write to a closed memory file", EBADF);
  const size_t room = m_writeLimit > m_bytes.size() ? m_writeLimit - m_bytes.size() : 0;
  m_bytes.append(static_cast<const char*>(buffer), std::min<size_t>(count, room));
  if (count > room) throw CFileException("memory file is full", ENOSPC);
}
