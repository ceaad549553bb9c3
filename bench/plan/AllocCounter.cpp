#include "AllocCounter.h"

#include <atomic>
#include <cstddef>

// The C library's own entry points: the definitions below take the place of
// malloc, calloc and realloc for the whole process (Qt's libraries included)
// and hand each call on after counting it.
extern "C" {
void* __libc_malloc(size_t Size);
void* __libc_calloc(size_t Count, size_t Size);
void* __libc_realloc(void* Block, size_t Size);
}

namespace {
std::atomic<uint64_t> gAllocations{0};
}

extern "C" void* malloc(size_t Size) {
  gAllocations.fetch_add(1, std::memory_order_relaxed);
  return __libc_malloc(Size);
}

extern "C" void* calloc(size_t Count, size_t Size) {
  gAllocations.fetch_add(1, std::memory_order_relaxed);
  return __libc_calloc(Count, Size);
}

extern "C" void* realloc(void* Block, size_t Size) {
  gAllocations.fetch_add(1, std::memory_order_relaxed);
  return __libc_realloc(Block, Size);
}

uint64_t HeapAllocations() { return gAllocations.load(std::memory_order_relaxed); }
