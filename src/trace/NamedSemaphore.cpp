#include "NamedSemaphore.h"

#include <fcntl.h>

#include <cerrno>
#include <ctime>

#include "IntMath.h"

bool TNamedSemaphore::Open(const std::string& Name) {
  Close();
  fSem = ::sem_open(Name.c_str(), 0);
  return IsOpen();
}

bool TNamedSemaphore::Create(const std::string& Name, unsigned InitialValue, bool Exclusive) {
  Close();
  fSem = ::sem_open(Name.c_str(), O_CREAT | (Exclusive ? O_EXCL : 0), 0600, InitialValue);
  return IsOpen();
}

void TNamedSemaphore::Close() {
  if (IsOpen()) ::sem_close(fSem);
  fSem = SEM_FAILED;
}

namespace {

timespec DeadlineAfter(int TimeoutMs) {
  timespec ts{};
  ::clock_gettime(CLOCK_MONOTONIC, &ts);
  ts.tv_sec += Div(TimeoutMs, 1000);
  ts.tv_nsec += static_cast<long>(TimeoutMs % 1000) * 1000000L;
  if (ts.tv_nsec >= 1000000000L) {
    ts.tv_sec += 1;
    ts.tv_nsec -= 1000000000L;
  }
  return ts;
}

}  // namespace

TWaitResult TNamedSemaphore::Wait(int TimeoutMs, bool RetryOnSignal) {
  if (!IsOpen()) return TWaitResult::Failed;
  const timespec deadline = DeadlineAfter(TimeoutMs < 0 ? 0 : TimeoutMs);
  for (;;) {
    if (::sem_clockwait(fSem, CLOCK_MONOTONIC, &deadline) == 0) return TWaitResult::Signaled;
    if (errno == ETIMEDOUT) return TWaitResult::TimedOut;
    if (errno != EINTR) return TWaitResult::Failed;
    if (!RetryOnSignal) return TWaitResult::Interrupted;
  }
}

bool TNamedSemaphore::Post() { return IsOpen() && ::sem_post(fSem) == 0; }

void TNamedSemaphore::Set() {
  int value = 0;
  if (!IsOpen() || ::sem_getvalue(fSem, &value) != 0) return;
  if (value <= 0) ::sem_post(fSem);
}

void TNamedSemaphore::Reset() {
  if (!IsOpen()) return;
  while (::sem_trywait(fSem) == 0) {
  }
}

void TNamedSemaphore::Unlink(const std::string& Name) { ::sem_unlink(Name.c_str()); }
