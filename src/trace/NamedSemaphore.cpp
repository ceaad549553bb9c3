#include "NamedSemaphore.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <ctime>

#include "IntMath.h"
#include "SharedAccess.h"

namespace {

// The C library keeps a named semaphore "/NAME" as the file sem.NAME in
// /dev/shm and gives no handle to it, so its owner is read from there.
std::string SemaphoreFile(const std::string& Name) {
  return "/dev/shm/sem." + Name.substr(!Name.empty() && Name[0] == '/' ? 1 : 0);
}

bool StatPrivate(const std::string& Path, struct stat& Status) {
  if (::lstat(Path.c_str(), &Status) != 0) return false;
  if (IsPrivateObject(Status)) return true;
  errno = EACCES;
  return false;
}

}  // namespace

// Nobody else may rename or remove this user's file in the sticky /dev/shm,
// so a file that is private before sem_open and is the same file after it
// is the one sem_open mapped.
bool TNamedSemaphore::Open(const std::string& Name) {
  Close();
  struct stat before {};
  if (!StatPrivate(SemaphoreFile(Name), before)) return false;
  sem_t* sem = ::sem_open(Name.c_str(), 0);
  if (sem == SEM_FAILED) return false;
  struct stat after {};
  if (!StatPrivate(SemaphoreFile(Name), after) || after.st_ino != before.st_ino || after.st_dev != before.st_dev) {
    ::sem_close(sem);
    errno = EACCES;
    return false;
  }
  fSem = sem;
  return true;
}

bool TNamedSemaphore::Create(const std::string& Name, unsigned InitialValue, bool Exclusive) {
  Close();
  fSem = ::sem_open(Name.c_str(), O_CREAT | O_EXCL, 0600, InitialValue);
  if (IsOpen() || Exclusive || errno != EEXIST) return IsOpen();
  return Open(Name);
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
