#include "KeptVersions.h"

#include <cerrno>

#include "DictFile.h"
#include "NativePath.h"

std::vector<KeptVersion> ListKeptVersions(const std::string& root, const std::string& file) {
  std::vector<KeptVersion> versions;
  for (Backup& backup : ListBackups(root, file)) {
    KeptVersion v;
    v.backup = std::move(backup);
    DictEntryCounter counter;
    CFile in;
    if (const auto path = FromNativePath(v.backup.path)) {
      v.verdict = ReadDictionaryFileEntries(in, *path, counter);
    } else {
      v.verdict.kind = DictIoResult::CannotOpen;
      v.verdict.osError = EILSEQ;
    }
    if (v.verdict.ok()) v.count = counter.Count();
    versions.push_back(std::move(v));
  }
  return versions;
}
