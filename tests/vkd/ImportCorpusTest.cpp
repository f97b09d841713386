// Replays the import fuzz corpus through the fuzz target's own check, so that the normal
// (sanitized) test run covers every input the fuzzer kept.
#include <gtest/gtest.h>

#include <filesystem>

#include "ImportFuzzCheck.h"
#include "TempDir.h"

namespace {

TEST(ImportCorpus, EveryInputKeepsTheImportProperties) {
  int replayed = 0;
  for (const auto& entry : std::filesystem::directory_iterator(VOKARI_IMPORT_CORPUS)) {
    SCOPED_TRACE(entry.path().string());
    const std::string bytes = ReadBytes(entry.path().string());
    CheckImportBytes(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    ++replayed;
  }
  EXPECT_GE(replayed, 5);  // the corpus is really there
}

}  // namespace
