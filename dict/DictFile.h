// Reading and writing a word book in the dictionary file form: the name, the entry count as four
// little-endian bytes, then the word and the meaning of every live entry, each as an archive
// string. These work on an archive the caller opened; they neither open files nor touch the
// window.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>

#include "Archive.h"
#include "DictData.h"

// What went wrong in a dictionary file, and where.
struct DictReadError {
  enum Kind { EndOfFile, BadCount, BadText, ReadFailure } kind = EndOfFile;
  std::string field;            // "name", "count", "word" or "meaning"
  int entry = -1;               // the entry of a word or meaning; -1 for the name and the count
  std::uint64_t offset = 0;     // where the field begins
  std::uint64_t announced = 0;  // bytes the field promised (for BadCount: the raw count)
  std::uint64_t fileSize = 0;   // where the file ended (EndOfFile only)
  bool lengthKnown = false;     // EndOfFile: the length prefix itself was complete
  std::string detail;           // ReadFailure: the system's message

  // Makes a message from its English text, each %s standing for the next of args; one that
  // translates the text may take the args in another order.
  using Say = std::string (*)(const char* english, std::initializer_list<std::string_view> args);
  static std::string InEnglish(const char* english, std::initializer_list<std::string_view> args);

  // One line, e.g. "the word of entry 3 announces 40 bytes at offset 57, and the file ends at
  // 80", each of its parts made by say.
  std::string Describe(Say say = InEnglish) const;
};

// Writes the name, the count and entries 0 to count - 1. Slots past the count are never
// written. File errors come through as CFileException.
void WriteDictionary(CArchive& ar, const CDictData& book);

// The buffer of the archive that whole dictionary files are written through. A megabyte at a
// time, each starting at a whole megabyte into the file, lets the system keep the new file in
// large pages: writing, flushing and later dropping it then costs a fraction of what it does in
// runs split at every entry.
inline constexpr int kDictWriteBuffer = 1024 * 1024;

// Writes a dictionary to a replacement file (see CFile::Overwrite) entry by entry, holding none
// of it: the name and a count of 0 first, each entry as it comes, and at Finish the real count
// over the first. The bytes are those WriteDictionary writes for the same book. File errors come
// through as CFileException. It neither opens nor closes the file.
class DictEntryWriter {
 public:
  DictEntryWriter(CFile& file, std::string_view name);
  // Appends an entry; false, writing nothing, when the book already has MAX_WORDS entries.
  // written is told, as CArchive::WriteString tells it, how much of the word or the meaning
  // has gone.
  bool Add(std::string_view word, std::string_view meaning,
           const std::function<void(std::string_view field, size_t)>& written = {});
  // Writes out the entries still buffered, then the count.
  void Finish();

 private:
  CFile& m_file;
  CArchive m_ar;
  std::uint64_t m_countAt = 0;
  int m_count = 0;
};

// Reads a dictionary into book, field by field as it goes. The caller passes a cleared book and
// keeps it only when this returns true; on false, error (when given) says what and where, and
// book holds whatever had been read. Never throws for a damaged or unreadable file. A count
// outside 0 to MAX_WORDS is damage; bytes after the last meaning are ignored.
bool ReadDictionary(CArchive& ar, CDictData& book, DictReadError* error);

// Receives a dictionary's fields in file order as ReadDictionaryEntries reads them. The strings
// handed over are the reader's own and are reused for the next entry, so a handler may move
// from them. A handler must not throw; it stops the reading by returning false.
class DictEntryHandler {
 public:
  virtual ~DictEntryHandler() = default;
  virtual bool OnName(CString& /*name*/) { return true; }
  virtual bool OnCount(int /*count*/) { return true; }
  virtual bool OnEntry(int index, CString& word, CString& meaning) = 0;
  // False: the texts are read past, not kept (OnName and OnEntry then get empty strings).
  virtual bool KeepsText() const { return true; }
  // False: the meanings alone are read past (OnEntry then gets an empty meaning).
  virtual bool KeepsMeanings() const { return KeepsText(); }
};

// Reads a dictionary entry by entry, in the same order and with the same verdict as
// ReadDictionary, holding one entry at a time: for going through a large file in little
// memory. True when the file is sound or the handler stopped the reading.
bool ReadDictionaryEntries(CArchive& ar, DictEntryHandler& handler, DictReadError* error);

// Keeps only the count and reads past every text: read with it, a file gets the verdict that
// ReadDictionary would give, in no more memory than the archive's buffer.
class DictEntryCounter : public DictEntryHandler {
 public:
  bool OnCount(int count) override {
    m_count = count;
    return true;
  }
  bool OnEntry(int, CString&, CString&) override { return true; }
  bool KeepsText() const override { return false; }
  int Count() const { return m_count; }

 private:
  int m_count = 0;
};
