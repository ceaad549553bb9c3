// Basic value types shared by every layer: integer points and rectangles in
// graph or device pixels, and point lists.
#pragma once

#include <cstdint>
#include <limits>
#include <vector>

constexpr int32_t MaxInt = std::numeric_limits<int32_t>::max();

struct TPoint {
  int32_t X = 0;
  int32_t Y = 0;

  constexpr TPoint() = default;
  constexpr TPoint(int32_t x, int32_t y) : X(x), Y(y) {}

  friend constexpr bool operator==(const TPoint&, const TPoint&) = default;
  constexpr TPoint operator+(const TPoint& o) const { return {X + o.X, Y + o.Y}; }
  constexpr TPoint operator-(const TPoint& o) const { return {X - o.X, Y - o.Y}; }
};

// Left <= X < Right and Top <= Y < Bottom: right and bottom edges are outside.
struct TRect {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;

  constexpr TRect() = default;
  constexpr TRect(int32_t l, int32_t t, int32_t r, int32_t b) : Left(l), Top(t), Right(r), Bottom(b) {}
  constexpr TRect(const TPoint& tl, const TPoint& br) : Left(tl.X), Top(tl.Y), Right(br.X), Bottom(br.Y) {}

  friend constexpr bool operator==(const TRect&, const TRect&) = default;

  constexpr int32_t Width() const { return Right - Left; }
  constexpr int32_t Height() const { return Bottom - Top; }
  constexpr TPoint TopLeft() const { return {Left, Top}; }
  constexpr TPoint BottomRight() const { return {Right, Bottom}; }
  // Zero or negative width or height.
  constexpr bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
  constexpr bool Contains(const TPoint& p) const { return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom; }
  constexpr TRect Offset(int32_t dx, int32_t dy) const { return {Left + dx, Top + dy, Right + dx, Bottom + dy}; }
};

// The inverted rectangle that stands for "nothing yet" in bounds searches.
constexpr TRect InvertedRect{MaxInt, MaxInt, -MaxInt, -MaxInt};

using TPoints = std::vector<TPoint>;

// Shift-state bits of a mouse or key event.
enum TShiftStateBit : uint8_t {
  ssShift = 0x01,
  ssAlt = 0x02,
  ssCtrl = 0x04,
  ssLeft = 0x08,
  ssRight = 0x10,
  ssMiddle = 0x20,
  ssDouble = 0x40,
};
using TShiftState = uint8_t;

enum TMouseButton { mbLeft, mbRight, mbMiddle };
