// What comparing and merging need to know of a book without holding its text: the digest of its
// name and of each entry (BookDigest, a few bytes an entry), and for a file also the name itself
// and where each entry begins, so that the few entries a diff or a merge takes can be read again
// one by one (BookIndex). Files are read front to back holding one entry at a time.
#pragma once

#include <cstdint>
#include <vector>

#include "BookDiff.h"
#include "DictData.h"
#include "DictIo.h"
#include "File.h"

struct BookDigest {
  EntryKey name;
  std::vector<EntryKey> entries;
};

// The digest of the live entries of a book in memory.
BookDigest DigestOf(const CDictData& book);

struct BookIndex {
  CString name;
  BookDigest digest;
  std::vector<std::uint64_t> starts;  // where each entry's word begins in the file

  int count() const { return static_cast<int>(starts.size()); }
};

// Opens path for reading and indexes the whole dictionary. On Ok the file stays open for
// FetchEntry and the caller closes it; on any other result it is closed.
DictIoResult IndexDictionaryFile(CFile& file, const CString& path, BookIndex& index);
// The same on a file that is already open (a CMemFile, say).
DictIoResult IndexOpenDictionary(CFile& file, BookIndex& index);

// Reads entry i of an indexed file again. False when the bytes there are no longer that entry
// (another program changed the file meanwhile) or cannot be read.
bool FetchEntry(CFile& file, const BookIndex& index, int i, CString& word, CString& meaning);
