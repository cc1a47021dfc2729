#include "engine/control/displaystep.h"

namespace tarvik {

int clampDisplayIndex(int index) { return index < 0 || index > 6 ? 0 : index; }

int nextDisplayIndex(int index, const FieldSwitches& enabled) {
  // index may be -1 (NEXT holds the display by stepping back first).
  if (index < -1 || index > 6) index = 0;
  ++index;
  // In increasing order, so that a run of switched-off fields is passed in one step.
  for (int k = 1; k <= 6; ++k) {
    if (!enabled[k] && index == k) ++index;
  }
  return index > 6 ? 0 : index;
}

}  // namespace tarvik
