#include "engine/journal/axisscale.h"

#include <algorithm>
#include <climits>

namespace tarvik {

AxisScale roundAxisScale(int largest, int maxSteps, int minSteps) {
  largest = std::max({largest, minSteps, 1});
  maxSteps = std::max(maxSteps, 1);
  for (long long power = 1; power <= INT_MAX / 5; power *= 10) {
    for (int factor : {1, 2, 5}) {
      const long long step = power * factor;
      if (step * maxSteps < largest) continue;
      AxisScale scale;
      scale.step = static_cast<int>(step);
      scale.steps = static_cast<int>((largest + step - 1) / step);
      return scale;
    }
  }
  return {largest, 1};
}

}  // namespace tarvik
