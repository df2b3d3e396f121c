// The ten most recently opened or saved files, entry 1 the newest.
#pragma once

#include <array>
#include <string>

namespace lumigrid {

class RecentFiles {
 public:
  static constexpr int kCount = 10;

  // Entry i (1..10); empty for a free entry or i out of range.
  const std::string& Entry(int i) const;
  void SetEntry(int i, std::string path);

  // Puts path at entry 1. An entry equal to it (exact text, letter case counts) moves up;
  // otherwise every entry moves one place down and entry 10 is dropped.
  void AddRecentFile(const std::string& path);

  // Menu label of entry i: "1)  path" as first built, "1)    path" once relabelled.
  std::string Label(int i) const;

 private:
  std::array<std::string, kCount> entries_;
  bool relabelled_ = false;
};

}  // namespace lumigrid
