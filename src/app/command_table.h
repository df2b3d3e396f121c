// Maps a command number to the handler that owns it. A number without a handler does nothing.
#pragma once

#include <functional>
#include <map>
#include <vector>

namespace lumigrid {

class CommandTable {
 public:
  using Handler = std::function<void()>;

  void Register(int number, Handler handler) { handlers_[number] = std::move(handler); }
  void RegisterRange(int first, int last, const std::function<void(int)>& handler);

  // Runs the handler of number; returns false when there is none.
  bool Dispatch(int number) const;

 private:
  std::map<int, Handler> handlers_;
};

}  // namespace lumigrid
