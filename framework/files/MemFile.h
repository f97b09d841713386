// CMemFile: a CFile over bytes in memory, for tests, fuzzing and tools that already hold a
// file's bytes. Reading gives the bytes it was made with; writing appends to its own buffer.
// It has no path, no lock and no disk behind it.
#pragma once

#include <cstddef>
#include <limits>
#include <string>
#include <string_view>
#include <utility>

#include "File.h"

class CMemFile : public CFile {
 public:
  explicit CMemFile(std::string_view bytes = {}) : m_bytes(bytes) {}
  // Reading starts again over bytes taken over rather than copied: for a whole file read into
  // memory.
  void Assign(std::string&& bytes) {
    m_bytes = std::move(bytes);
    m_readPos = 0;
  }

  UINT Read(void* buffer, UINT count) override;
  void Write(const void* buffer, UINT count) override;
  void Seek(std::uint64_t offset) override {
    m_readPos = offset < m_bytes.size() ? offset : m_bytes.size();
  }
  void Close() override { m_open = false; }
  void Abort() override { m_open = false; }
  bool IsOpen() const override { return m_open; }
  std::optional<std::uint64_t> GetLength() const override { return m_bytes.size(); }

  const std::string& Bytes() const { return m_bytes; }
  // Writes past this many bytes in total fail with ENOSPC, as on a full disk.
  void SetWriteLimit(size_t bytes) { m_writeLimit = bytes; }

 private:
  std::string m_bytes;
  size_t m_readPos = 0;
  size_t m_writeLimit = std::numeric_limits<size_t>::max();
  bool m_open = true;
};
