// Owner of a named POSIX shared-memory map, mapped whole. Failures are
// reported by result; nothing raises.
//
// Another process of the same user may shrink the object while it is
// mapped; touching a page past the new end raises SIGBUS. Users of the
// view therefore ask IsWhole() before each stretch of access (after every
// wait). The gap between that check and the access is only open to this
// user's own processes: Open refuses objects anyone else could change.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class TSharedMap {
 public:
  TSharedMap() = default;
  ~TSharedMap() { Close(); }
  TSharedMap(const TSharedMap&) = delete;
  TSharedMap& operator=(const TSharedMap&) = delete;

  // Opens an existing map for reading and writing and maps all of it.
  // A map that is not this user's alone (see IsPrivateObject) is refused
  // with EACCES.
  bool Open(const std::string& Name);
  // Open in two steps, so the object can be looked at (ReadHead) before
  // it is mapped.
  bool OpenUnmapped(const std::string& Name);
  bool MapAll();
  // Creates a new map of Size zeroed bytes, owner-only; fails if the name exists.
  bool Create(const std::string& Name, uint32_t Size);
  void Close();
  bool IsOpen() const { return fView != nullptr; }
  uint8_t* View() const { return fView; }
  size_t Size() const { return fSize; }
  // Whether the object still holds every mapped byte.
  bool IsWhole() const;
  // Reads the first Count bytes through the handle, without mapping them
  // again; false when the object is shorter.
  bool ReadHead(void* Dest, size_t Count) const;

  static void Unlink(const std::string& Name);

 private:
  int fHandle = -1;
  uint8_t* fView = nullptr;
  size_t fSize = 0;
};
