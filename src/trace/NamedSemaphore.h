// Owner of a named POSIX semaphore, standing in for the channel's events
// and for its cross-process mutex. Failures are reported by result;
// nothing raises. Like TSharedMap, an existing semaphore is used only when
// it is this user's alone: another user's could be held forever or
// posted at will.
#pragma once

#include <semaphore.h>

#include <string>

enum class TWaitResult { Signaled, TimedOut, Interrupted, Failed };

class TNamedSemaphore {
 public:
  TNamedSemaphore() = default;
  ~TNamedSemaphore() { Close(); }
  TNamedSemaphore(const TNamedSemaphore&) = delete;
  TNamedSemaphore& operator=(const TNamedSemaphore&) = delete;

  // Opens an existing semaphore; one that is not this user's alone is
  // refused with EACCES.
  bool Open(const std::string& Name);
  // Creates the semaphore owner-only. Exclusive creation fails when the
  // name exists; otherwise an existing one is opened as by Open.
  bool Create(const std::string& Name, unsigned InitialValue, bool Exclusive);
  void Close();
  bool IsOpen() const { return fSem != SEM_FAILED; }

  // Waits at most TimeoutMs. With RetryOnSignal false a signal ends the
  // wait early with Interrupted, so a loop can look at its stop flag.
  TWaitResult Wait(int TimeoutMs, bool RetryOnSignal = true);
  bool Post();
  // Event semantics: signalled at most once, however often it is set.
  void Set();
  // Forgets pending signals.
  void Reset();

  static void Unlink(const std::string& Name);

 private:
  sem_t* fSem = SEM_FAILED;
};
