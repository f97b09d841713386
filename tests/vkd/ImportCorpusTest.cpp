// Replays the import fuzz corpus through the fuzz target's own check, so that the normal
// (sanitized) test run covers every input the fuzzer kept.
#include <gtest/gtest.h>

#include "Corpus.h"
#include "ImportFuzzCheck.h"

namespace {

TEST(ImportCorpus, EveryInputKeepsTheImportProperties) {
  EXPECT_GE(ReplayCorpus(VOKARI_IMPORT_CORPUS, CheckImportBytes), 5);  // the corpus is really there
}

}  // namespace
