#include "tests/support/alloc_counter.h"

#include <atomic>
#include <cstddef>

namespace {
std::atomic<long> gAllocations{0};
}  // namespace

namespace vmtest {
long Allocations() {
  return gAllocations.load(std::memory_order_relaxed);
}
}  // namespace vmtest

extern "C" {
void* __real_malloc(std::size_t n);
void* __real_calloc(std::size_t count, std::size_t n);
void* __real_realloc(void* p, std::size_t n);
void* __real__Znwm(std::size_t n);
void* __real__Znam(std::size_t n);

void* __wrap_malloc(std::size_t n) {
  gAllocations.fetch_add(1, std::memory_order_relaxed);
  return __real_malloc(n);
}
void* __wrap_calloc(std::size_t count, std::size_t n) {
  gAllocations.fetch_add(1, std::memory_order_relaxed);
  return __real_calloc(count, n);
}
void* __wrap_realloc(void* p, std::size_t n) {
  gAllocations.fetch_add(1, std::memory_order_relaxed);
  return __real_realloc(p, n);
}
void* __wrap__Znwm(std::size_t n) {
  gAllocations.fetch_add(1, std::memory_order_relaxed);
  return __real__Znwm(n);
}
void* __wrap__Znam(std::size_t n) {
  gAllocations.fetch_add(1, std::memory_order_relaxed);
  return __real__Znam(n);
}
}
