#pragma once
// Where a top-level window goes so that the user can reach it: a window
// placed from saved coordinates after the screens changed (a monitor
// unplugged, a smaller resolution) would otherwise stay out of sight.
// Plain C++, shared by the desktop front ends; they hand in the screens.

#include <span>

namespace tarvik::app {

struct ScreenRect {
  int left = 0, top = 0, width = 0, height = 0;
  int right() const { return left + width; }
  int bottom() const { return top + height; }
  bool operator==(const ScreenRect&) const = default;
};

struct ScreenPoint {
  int left = 0, top = 0;
  bool operator==(const ScreenPoint&) const = default;
};

// How much of a window's top strip (where its title bar is) must show on a
// screen for the window to count as reachable there.
inline constexpr int kReachableStrip = 24;

// True when some screen shows the window's top strip: the strip lies within
// the screen's height and at least kReachableStrip pixels of its width (all
// of a narrower window) lie within the screen's width.
bool reachable(const ScreenRect& window, std::span<const ScreenRect> screens);

// The window's top-left corner: where it is when it is reachable (or when
// there are no screens to go to); else moved onto the screen nearest to it,
// just far enough to lie inside that screen whole (a window larger than the
// screen keeps to its left and top edges).
ScreenPoint fitOnScreens(const ScreenRect& window, std::span<const ScreenRect> screens);

// A window frame width by height, made no larger than the work area and
// centred on it: where a large window opens the first time, its bottom
// edge and the taskbar both in reach.
ScreenRect centredWithin(int width, int height, const ScreenRect& area);

// The frame made no larger than the work area and moved just far enough to
// lie inside it whole.
ScreenRect keptWithin(const ScreenRect& window, const ScreenRect& area);

}  // namespace tarvik::app
