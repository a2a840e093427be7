#pragma once
// The rules of the two-axis review as plain code: stepping through the second-axis cycles.
enum class CycleStep { First, Previous, Next, Last };

// The cycle (1-based) a cycle button leads to from `current` among `count` cycles: previous on
// the first and next on the last stay where they are.
int SteppedCycle(int current, int count, CycleStep step);
