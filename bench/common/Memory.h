// What the benchmarks measure of memory: the minor page faults of the process so far, its
// resident size now and at its peak, and a way to give freed heap memory back to the system
// so that the next allocation meets new pages, as a freshly mapped buffer does.
#pragma once

#include <malloc.h>
#include <sys/resource.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

namespace benchmem {

inline long MinorFaults() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_minflt;
}

inline void ReturnFreedMemory() {
  malloc_trim(0);
}

// A field of /proc/self/status in KiB (VmRSS, VmHWM); -1 when it cannot be read.
inline long StatusKiB(const char* field) {
  std::ifstream status("/proc/self/status");
  const std::string prefix = std::string(field) + ":";
  for (std::string line; std::getline(status, line);) {
    if (line.compare(0, prefix.size(), prefix) == 0) return std::stol(line.substr(prefix.size()));
  }
  return -1;
}

// Starts a new peak: VmHWM is set back to the resident size of now.
inline bool ResetPeak() {
  std::FILE* f = std::fopen("/proc/self/clear_refs", "w");
  if (!f) return false;
  const bool ok = std::fputs("5", f) >= 0;
  return std::fclose(f) == 0 && ok;
}

}  // namespace benchmem
