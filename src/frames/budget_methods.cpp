#include "frames/budget_methods.h"

#include <algorithm>

namespace lumigrid {

const std::vector<BudgetMethod>& BudgetMethods() {
  static const std::vector<BudgetMethod> methods{
      {"целиком", &TransitionBudget::whole},
      {"по карте обходов", &TransitionBudget::skip_map},
      {"сценарий кадров", &TransitionBudget::script},
      // What the exported frame table plays: registers carried over, scrolling where cheaper.
      {"сценарий с прокруткой", &TransitionBudget::scrolling, true},
  };
  return methods;
}

bool BudgetMethodValid(const TransitionBudget& transition, int method) {
  const auto& methods = BudgetMethods();
  if (method < 0 || method >= static_cast<int>(methods.size())) return false;
  return methods[static_cast<std::size_t>(method)].cost != &TransitionBudget::skip_map ||
         transition.skip_map_missed == 0;
}

std::vector<int> CheapestMethods(const TransitionBudget& transition) {
  const auto& methods = BudgetMethods();
  std::vector<int> cheapest;
  int64_t least = 0;
  for (int m = 0; m < static_cast<int>(methods.size()); ++m) {
    if (!BudgetMethodValid(transition, m)) continue;
    const int64_t time = (transition.*methods[static_cast<std::size_t>(m)].cost).bus_time_ns;
    if (cheapest.empty() || time < least) {
      cheapest = {m};
      least = time;
    } else if (time == least) {
      cheapest.push_back(m);
    }
  }
  return cheapest;
}

std::string MicrosecondsText(int64_t ns) {
  const std::string fraction = std::to_string(ns % 1000);
  return std::to_string(ns / 1000) + "." + std::string(3 - fraction.size(), '0') + fraction;
}

}  // namespace lumigrid
