// Watches the largest single allocation made through operator new while it lives, to prove
// that a reader does not reserve memory for lengths a file only announces. Replaces the global
// operator new of the test program that links it.
#pragma once

#include <cstddef>

class LargestAllocation {
 public:
  LargestAllocation();
  ~LargestAllocation();
  std::size_t Largest() const;
};
