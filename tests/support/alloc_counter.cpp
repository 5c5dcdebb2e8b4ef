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

// Each allocator entry point counted, then passed on.
#define VM_COUNTED(name, params, args)                    \
  extern "C" void* __real_##name params;                  \
  extern "C" void* __wrap_##name params {                 \
    gAllocations.fetch_add(1, std::memory_order_relaxed); \
    return __real_##name args;                            \
  }
VM_COUNTED(malloc, (std::size_t n), (n))
VM_COUNTED(calloc, (std::size_t count, std::size_t n), (count, n))
VM_COUNTED(realloc, (void* p, std::size_t n), (p, n))
VM_COUNTED(_Znwm, (std::size_t n), (n))  // operator new
VM_COUNTED(_Znam, (std::size_t n), (n))  // operator new[]
