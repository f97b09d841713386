// The files vkd reads and writes besides dictionaries opened by path: standard input and output
// as CFiles, descriptors written directly, and a buffered writer over any of them. None of these
// lock, replace or rename anything.
#pragma once

#include <array>
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>

#include "File.h"

namespace vkd {

// A CFile over a standard stream: reads from in, or writes to out. Closing leaves the stream
// open; a failed write throws CFileException as a file's would.
class StreamFile : public CFile {
 public:
  StreamFile(std::istream* in, std::ostream* out, std::string name)
      : m_in(in), m_out(out), m_name(std::move(name)) {}

  UINT Read(void* buffer, UINT count) override;
  void Write(const void* buffer, UINT count) override;
  void Close() override;
  void Abort() override { m_open = false; }
  bool IsOpen() const override { return m_open; }

  // Bytes read so far.
  std::uint64_t BytesRead() const { return m_read; }
  // Reads to the end and returns the bytes that were left.
  std::uint64_t Drain();

 private:
  std::istream* m_in;
  std::ostream* m_out;
  std::string m_name;
  std::uint64_t m_read = 0;
  bool m_open = true;
};

// A CFile over a descriptor it owns, read and written directly with read() and write(): for a
// terminal, a pipe or a device named as an output, and for an import's input file.
class FdFile : public CFile {
 public:
  FdFile(int fd, std::string name) : m_fd(fd), m_name(std::move(name)) {}
  ~FdFile() override;

  UINT Read(void* buffer, UINT count) override;
  void Write(const void* buffer, UINT count) override;
  void Close() override;
  void Abort() override;
  bool IsOpen() const override { return m_fd >= 0; }

 private:
  int m_fd;
  std::string m_name;
};

// Collects output in a large buffer and writes it to a file in few calls.
class Output {
 public:
  explicit Output(CFile& file) : m_file(file) { m_buffer.reserve(kChunk + 4096); }

  // The buffer itself, for appending to; call Written after.
  std::string& Buffer() { return m_buffer; }
  void Append(std::string_view text) {
    m_buffer.append(text);
    Written();
  }
  // Writes out a full buffer. Throws CFileException.
  void Written() {
    if (m_buffer.size() >= kChunk) Flush();
  }
  void Flush();

 private:
  static constexpr size_t kChunk = 256 * 1024;
  CFile& m_file;
  std::string m_buffer;
};

// Reads an input in large blocks, by byte or a block at a time.
class InputReader {
 public:
  // Skips a UTF-8 byte-order mark at the start when skipBom is set.
  InputReader(CFile& file, bool skipBom);

  // The next byte, or -1 at the end. Throws CFileException.
  int Peek() {
    return m_pos < m_end || Refill() ? static_cast<unsigned char>(m_buffer[m_pos]) : -1;
  }
  int Get() {
    const int c = Peek();
    if (c >= 0) ++m_pos;
    return c;
  }
  // The bytes read but not yet taken, reading more first when there are none; empty at the end
  // of the input. They stay valid until the next call that reads. Skip takes the first n.
  std::string_view Ahead() {
    if (m_pos == m_end && !Refill()) return {};
    return std::string_view(m_buffer).substr(m_pos, m_end - m_pos);
  }
  void Skip(size_t n) { m_pos += n; }

 private:
  bool Refill();
  // The next block into buffer; its size, 0 at the end.
  size_t NextBlock(std::string& buffer);

  CFile& m_file;
  std::string m_buffer;
  std::string m_next;  // a block that follows bytes not yet taken
  size_t m_pos = 0;
  size_t m_end = 0;
  bool m_eof = false;
};

}  // namespace vkd
