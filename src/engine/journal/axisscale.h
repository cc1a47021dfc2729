#pragma once
// The scale of a bar chart's value axis: round steps (1, 2 or 5 times a
// power of ten) from 0 to the first step at or above the largest value,
// with at most a few steps, so that every label is a number a reader
// takes in at a glance.

namespace tarvik {

struct AxisScale {
  int step = 1;
  int steps = 1;  // the axis runs from 0 to step * steps
  int top() const { return step * steps; }
};

// largest: the highest bar (0 or more). At least minSteps steps of 1 for
// small values, never more than maxSteps.
AxisScale roundAxisScale(int largest, int maxSteps = 5, int minSteps = 4);

}  // namespace tarvik
