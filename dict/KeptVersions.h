// The kept versions of a dictionary file (Backups.h), each read through as the program reads a
// dictionary (DictIo.h), so that one can tell which can be opened: its entry count, or why it is
// no dictionary. Listing, not restoring: it changes nothing on disk and holds no entry's text.
#pragma once

#include <string>
#include <vector>

#include "Backups.h"
#include "DictIo.h"

struct KeptVersion {
  Backup backup;
  DictIoResult verdict;  // Ok, or why the version cannot be opened
  int count = 0;         // the entries it holds, when sound
};

// The versions of the dictionary file at file (the file system's form; the file itself may be
// gone) kept under root, newest first, each with its verdict.
std::vector<KeptVersion> ListKeptVersions(const std::string& root, const std::string& file);
