// Counts the heap allocations the whole process makes (malloc, calloc and
// realloc, which operator new and Qt's containers end in), so that a case
// can report allocations per object.
#pragma once

#include <cstdint>

uint64_t HeapAllocations();
