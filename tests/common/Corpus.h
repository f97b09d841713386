// Replaying a fuzz target's corpus in the normal test run: every file of a folder goes through
// the target's own check, each under its name.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "TempDir.h"

// Runs check(bytes, size) over each file in folder; returns how many there were.
template <typename Check>
int ReplayCorpus(const char* folder, Check check) {
  int replayed = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    SCOPED_TRACE(entry.path().string());
    const std::string bytes = ReadBytes(entry.path().string());
    check(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    ++replayed;
  }
  return replayed;
}
