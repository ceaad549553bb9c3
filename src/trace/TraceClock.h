// Time and identity of a trace record: the processor's cycle counter, the
// local date and time as a day count, and the calling thread's number.
#pragma once

#include <cstdint>

// The time-stamp counter on x86-64, a nanosecond steady clock elsewhere.
uint64_t ReadCycleCounter();

// Local date and time as days since 30 December 1899, the time of day as
// the fraction.
double LocalDateTimeStamp();

// The kernel's number of the calling thread, cached per thread.
uint32_t CurrentThreadId();
