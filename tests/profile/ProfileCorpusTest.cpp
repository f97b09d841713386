// Replays the profile fuzz target's corpus through the same round-trip check, so that every
// normal (and sanitizer) test run covers the inputs the fuzzer found interesting.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "ProfileRoundTrip.h"

TEST(ProfileCorpus, EveryInputKeepsTheRoundTripProperties) {
  const std::filesystem::path corpus = VOKARI_PROFILE_CORPUS;
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
    if (!entry.is_regular_file()) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(CheckProfileRoundTrip(bytes), "") << entry.path().filename();
    ++files;
  }
  EXPECT_GT(files, 0) << "no corpus in " << corpus;
}
