// CArchive: reads or writes a file front to back through a buffer (4096 bytes by default), with
// the framework's length-prefixed string form and raw bytes. It raises CArchiveException at an
// early end of file and never reserves memory for more than the file still holds. A long string
// is read straight into its own storage, and a skipped one costs no more than the buffer; a long
// run is written straight from the caller's bytes in whole buffers, so that every write the
// file sees starts a whole number of buffers in. It does not own, open or close the file.
#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "Afx.h"
#include "CString.h"

class CFile;

// Raised by CArchive. For endOfFile and badText, offset is where the item began (a string's
// length prefix), announced the bytes it promised when its length was complete, and fileEnd
// where the data ended.
class CArchiveException : public std::runtime_error {
 public:
  enum Cause { generic = 1, endOfFile = 3, badText = 8 };
  CArchiveException(Cause cause, std::uint64_t offset, bool lengthKnown, std::uint64_t announced,
                    std::uint64_t fileEnd);
  Cause m_cause;
  std::uint64_t m_offset;
  bool m_lengthKnown;
  std::uint64_t m_announced;
  std::uint64_t m_fileEnd;
};

class CArchive {
 public:
  enum Mode { store = 0, load = 1 };
  // The longest string the string form can hold, in bytes.
  static constexpr std::uint64_t kLongestString = 0xFFFFFFFE;

  CArchive(CFile* file, UINT mode, int bufSize = 4096);
  // Abandons the archive without writing out its buffer, as Abort.
  ~CArchive();
  CArchive(const CArchive&) = delete;
  CArchive& operator=(const CArchive&) = delete;

  // Strings as a 1-, 3- or 7-byte length prefix and the bytes, no terminator. Loading also
  // takes the UTF-16 form marked by the 16-bit length 0xFFFE and converts it to code page 932.
  CArchive& operator<<(const CString& text);
  // Writes bytes in the string form, as << does for a CString holding them. Text longer than
  // kLongestString raises CArchiveException (generic) before anything of it is written. With
  // written, the bytes go a few MiB at a time, and written is told how many have gone after
  // each, so that the caller may give their memory back as they go.
  void WriteString(std::string_view bytes, const std::function<void(size_t)>& written = {});
  CArchive& operator>>(CString& text);
  // Reads past one string as >> does, with the same failures, keeping none of it.
  void SkipString();

  void Write(const void* data, UINT count);
  // Reads up to count bytes; fewer only at the end of the file.
  UINT Read(void* data, UINT count);

  // Bytes of the file before the next one read or written.
  std::uint64_t GetPosition() const;

  // Writes out the buffer (storing); may throw CFileException.
  void Flush();
  // Storing: writes out the buffer. The file stays open either way.
  void Close();
  // Detaches from the file without writing anything. Never throws.
  void Abort();

 private:
  void CheckOpen() const;
  UINT Fill();  // refills the buffer keeping unread bytes; returns the bytes added
  bool ReadFully(void* data, size_t count);
  std::uint64_t ReadLength(std::uint64_t start);
  // The string's bytes go to out; with no out they are only read past.
  void ReadString(std::string* out);
  void ReadExact(std::string* out, std::uint64_t count, std::uint64_t start);
  void ReadUtf16(std::string* out, std::uint64_t units, std::uint64_t start);
  // Bytes still to come: in the buffer and in the file after it, as far as the file knows.
  std::uint64_t Backed() const;
  [[noreturn]] void ThrowEnd(std::uint64_t start, bool lengthKnown, std::uint64_t announced) const;

  CFile* m_file;
  bool m_loading;
  std::vector<char> m_buffer;
  size_t m_cur = 0;             // next byte to read or write in the buffer
  size_t m_end = 0;             // loading: end of the valid bytes in the buffer
  std::uint64_t m_filePos = 0;  // bytes read from or written to the file
};
