#include "LargestAllocation.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<bool> g_watching{false};
std::atomic<std::size_t> g_largest{0};
std::atomic<std::size_t> g_ceiling{0};  // 0: none

void Note(std::size_t size) {
  if (!g_watching.load(std::memory_order_relaxed)) return;
  std::size_t seen = g_largest.load(std::memory_order_relaxed);
  while (size > seen && !g_largest.compare_exchange_weak(seen, size)) {
  }
}

void* Allocate(std::size_t size) {
  Note(size);
  const std::size_t ceiling = g_ceiling.load(std::memory_order_relaxed);
  if (ceiling && size > ceiling) throw std::bad_alloc();
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
}  // namespace

AllocationCeiling::AllocationCeiling(std::size_t bytes) {
  g_ceiling = bytes;
}
AllocationCeiling::~AllocationCeiling() {
  g_ceiling = 0;
}

LargestAllocation::LargestAllocation() {
  g_largest = 0;
  g_watching = true;
}
LargestAllocation::~LargestAllocation() {
  g_watching = false;
}
std::size_t LargestAllocation::Largest() const {
  return g_largest;
}

void* operator new(std::size_t size) {
  return Allocate(size);
}
void* operator new[](std::size_t size) {
  return Allocate(size);
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete[](void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
  std::free(p);
}
