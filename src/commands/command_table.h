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

  // The handler of number, or an empty one: lets a later owner of the number fall back on it.
  Handler Find(int number) const {
    const auto it = handlers_.find(number);
    return it == handlers_.end() ? Handler() : it->second;
  }

  // Asked before every command; a command it refuses is dropped, not queued.
  void SetGate(std::function<bool(int number)> gate) { gate_ = std::move(gate); }

  // Runs the handler of number; returns false when there is none or the gate refused it.
  bool Dispatch(int number) const;

 private:
  std::map<int, Handler> handlers_;
  std::function<bool(int)> gate_;
};

}  // namespace lumigrid
