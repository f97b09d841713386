// Replays the dictionary fuzz corpus through the fuzz target's own check, so that the normal
// (sanitized) test run covers every input the fuzzer kept.
#include <gtest/gtest.h>

#include "Corpus.h"
#include "DictFuzzCheck.h"

namespace {

TEST(DictCorpus, EveryInputReadsWithoutCrashing) {
  EXPECT_GE(ReplayCorpus(VOKARI_DICT_CORPUS, CheckDictionaryBytes),
            5);  // the corpus is really there
}

}  // namespace
