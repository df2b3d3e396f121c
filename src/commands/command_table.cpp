#include "commands/command_table.h"

namespace lumigrid {

void CommandTable::RegisterRange(int first, int last, const std::function<void(int)>& handler) {
  for (int n = first; n <= last; ++n) {
    Register(n, [handler, n] { handler(n); });
  }
}

bool CommandTable::Dispatch(int number) const {
  if (gate_ && !gate_(number)) return false;
  const auto it = handlers_.find(number);
  if (it == handlers_.end()) return false;
  // A copy: the handler may register or replace handlers while it runs.
  const Handler handler = it->second;
  handler();
  return true;
}

}  // namespace lumigrid
