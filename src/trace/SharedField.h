// Header fields other processes change: read and written whole, with the
// ordering a flag that publishes other fields needs.
#pragma once

#include <atomic>
#include <cstdint>

inline uint32_t LoadShared(uint32_t& Field) { return std::atomic_ref<uint32_t>(Field).load(std::memory_order_acquire); }

inline void StoreShared(uint32_t& Field, uint32_t Value) {
  std::atomic_ref<uint32_t>(Field).store(Value, std::memory_order_release);
}
