#include "SharedAccess.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>

uint32_t SharedUserId() { return static_cast<uint32_t>(::geteuid()); }

bool IsPrivateObject(const struct stat& Status) {
  return S_ISREG(Status.st_mode) && Status.st_uid == ::geteuid() && (Status.st_mode & (S_IRWXG | S_IRWXO)) == 0;
}

bool IsProcessAlive(uint32_t ProcessId) {
  if (ProcessId == 0 || ProcessId > INT32_MAX) return false;
  return ::kill(static_cast<pid_t>(ProcessId), 0) == 0 || errno == EPERM;
}
