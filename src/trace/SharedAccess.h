// Which shared objects this process may trust, and whether the process
// that owns one still runs. Named objects live in the world-writable
// /dev/shm, where another local user may create a name first; only an
// object of this user that nobody else can open is used.
#pragma once

#include <sys/stat.h>

#include <cstdint>

// The user the shared objects' names and owners are checked against.
uint32_t SharedUserId();

// A regular file owned by this user without group or other access.
bool IsPrivateObject(const struct stat& Status);

// Whether the process exists (also when it belongs to someone else).
bool IsProcessAlive(uint32_t ProcessId);
