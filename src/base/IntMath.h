// The three integer rules the whole program follows. Every division,
// rounding and scaling in the graph goes through one of these.
#pragma once

#include <cmath>
#include <cstdint>

// Integer division truncating toward zero.
constexpr int32_t Div(int32_t a, int32_t b) { return a / b; }
constexpr int64_t Div64(int64_t a, int64_t b) { return a / b; }

// Nearest integer, halves to the even neighbour.
inline int64_t Round64(double x) {
  double r = std::nearbyint(x);  // default rounding mode: to nearest, ties to even
  if (!(r == r)) return 0;       // NaN
  if (r >= 9.2233720368547758e18) return INT64_MAX;
  if (r <= -9.2233720368547758e18) return INT64_MIN;
  return static_cast<int64_t>(r);
}
inline int32_t Round(double x) { return static_cast<int32_t>(Round64(x)); }

// A 64-bit result brought back into 32 bits, clamped at the ends rather
// than wrapped.
constexpr int32_t Saturate32(int64_t x) {
  return x > INT32_MAX ? INT32_MAX : x < INT32_MIN ? INT32_MIN : static_cast<int32_t>(x);
}

// a * b / c computed in 64 bits, rounded to nearest with halves away from
// zero. A zero divisor answers -1, as callers of the classic routine expect.
constexpr int32_t MulDiv(int32_t a, int32_t b, int32_t c) {
  if (c == 0) return -1;
  int64_t num = static_cast<int64_t>(a) * b;
  int64_t den = c;
  if (den < 0) {
    num = -num;
    den = -den;
  }
  int64_t q = num >= 0 ? (num + den / 2) / den : -((-num + den / 2) / den);
  return static_cast<int32_t>(q);
}
