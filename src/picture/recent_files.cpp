#include "picture/recent_files.h"

#include <algorithm>

namespace lumigrid {

namespace {
const std::string kEmpty;
}

const std::string& RecentFiles::Entry(int i) const {
  if (i < 1 || i > kCount) return kEmpty;
  return entries_[i - 1];
}

void RecentFiles::SetEntry(int i, std::string path) {
  if (i < 1 || i > kCount) return;
  entries_[i - 1] = std::move(path);
}

void RecentFiles::AddRecentFile(const std::string& path) {
  auto found = std::find(entries_.begin(), entries_.end(), path);
  // Without a match the last entry falls off the end.
  auto last = found == entries_.end() ? entries_.end() - 1 : found;
  std::rotate(entries_.begin(), last, last + 1);
  entries_.front() = path;
  relabelled_ = true;
}

std::string RecentFiles::Label(int i) const {
  return std::to_string(i) + (relabelled_ ? ")    " : ")  ") + Entry(i);
}

}  // namespace lumigrid
