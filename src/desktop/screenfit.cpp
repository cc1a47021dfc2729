#include "desktop/screenfit.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace tarvik::app {
namespace {

// How far apart two rectangles are along one axis (0 when they overlap).
std::int64_t gap(int aStart, int aEnd, int bStart, int bEnd) {
  if (aEnd <= bStart) return std::int64_t{bStart} - aEnd;
  if (bEnd <= aStart) return std::int64_t{aStart} - bEnd;
  return 0;
}

std::int64_t squaredDistance(const ScreenRect& a, const ScreenRect& b) {
  const std::int64_t dx = gap(a.left, a.right(), b.left, b.right());
  const std::int64_t dy = gap(a.top, a.bottom(), b.top, b.bottom());
  return dx * dx + dy * dy;
}

// start moved just far enough that [start, start + length) lies within
// [lo, lo + room); keeps to lo when it does not fit.
int clampInto(int start, int length, int lo, int room) {
  return std::max(lo, std::min(start, lo + room - length));
}

}  // namespace

bool reachable(const ScreenRect& window, std::span<const ScreenRect> screens) {
  const int strip = std::min(window.height, kReachableStrip);
  const int needed = std::min(window.width, kReachableStrip);
  return std::any_of(screens.begin(), screens.end(), [&](const ScreenRect& s) {
    const int shown = std::min(window.right(), s.right()) - std::max(window.left, s.left);
    return window.top >= s.top && window.top + strip <= s.bottom() && shown >= needed;
  });
}

ScreenPoint fitOnScreens(const ScreenRect& window, std::span<const ScreenRect> screens) {
  if (screens.empty() || reachable(window, screens)) return {window.left, window.top};
  const ScreenRect* nearest = &screens.front();
  std::int64_t best = std::numeric_limits<std::int64_t>::max();
  for (const ScreenRect& s : screens) {
    const std::int64_t d = squaredDistance(window, s);
    if (d < best) best = d, nearest = &s;
  }
  return {clampInto(window.left, window.width, nearest->left, nearest->width),
          clampInto(window.top, window.height, nearest->top, nearest->height)};
}

ScreenRect centredWithin(int width, int height, const ScreenRect& area) {
  const int w = std::clamp(width, 0, std::max(area.width, 0));
  const int h = std::clamp(height, 0, std::max(area.height, 0));
  return {area.left + (area.width - w) / 2, area.top + (area.height - h) / 2, w, h};
}

ScreenRect keptWithin(const ScreenRect& window, const ScreenRect& area) {
  const int w = std::clamp(window.width, 0, std::max(area.width, 0));
  const int h = std::clamp(window.height, 0, std::max(area.height, 0));
  return {clampInto(window.left, w, area.left, area.width), clampInto(window.top, h, area.top, area.height),
          w, h};
}

}  // namespace tarvik::app
