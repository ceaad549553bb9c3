// Owner of a named POSIX shared-memory map, mapped whole. Failures are
// reported by result; nothing raises.
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
  bool Open(const std::string& Name);
  // Creates a new map of Size zeroed bytes, owner-only; fails if the name exists.
  bool Create(const std::string& Name, uint32_t Size);
  void Close();
  bool IsOpen() const { return fView != nullptr; }
  uint8_t* View() const { return fView; }
  size_t Size() const { return fSize; }

  static void Unlink(const std::string& Name);

 private:
  bool MapAll();

  int fHandle = -1;
  uint8_t* fView = nullptr;
  size_t fSize = 0;
};
