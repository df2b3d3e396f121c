// The methods of the update budget as the editor lists them, and which is cheapest.
#pragma once

#include <string>
#include <vector>

#include "frames/frame_budget.h"

namespace lumigrid {

struct BudgetMethod {
  const char* name;  // shown in the table
  MethodBudget TransitionBudget::*cost;
  bool start_line = false;  // leaves the display at TransitionBudget::start_line
};

// Every method ComputeFrameBudget gives, in the order shown.
const std::vector<BudgetMethod>& BudgetMethods();

// Whether a method's numbers are a valid choice for a transition: the skip map may leave out
// bytes that change, and the picture would then come out wrong.
bool BudgetMethodValid(const TransitionBudget& transition, int method);

// The valid methods of least bus time, by index (all of them on a tie).
std::vector<int> CheapestMethods(const TransitionBudget& transition);

// Nanoseconds as microseconds with three decimals: 1234567 -> "1234.567".
std::string MicrosecondsText(int64_t ns);

}  // namespace lumigrid
