// Watches the largest single allocation made through operator new while it lives, to prove
// that a reader does not reserve memory for lengths a file only announces. Replaces the global
// operator new of the test program that links it, which can also be made to run out of memory.
#pragma once

#include <cstddef>

// While it lives, a single allocation larger than its ceiling fails with std::bad_alloc, as it
// would where memory has run out.
class AllocationCeiling {
 public:
  explicit AllocationCeiling(std::size_t bytes);
  ~AllocationCeiling();
};

class LargestAllocation {
 public:
  LargestAllocation();
  ~LargestAllocation();
  std::size_t Largest() const;
};
