// Choices kept between runs, with their defaults.
#pragma once

#include <array>
#include <string>

#include "picture/listing_options.h"

namespace lumigrid {

struct Settings {
  int window_x = 20;
  int window_y = 20;
  ListingOptions convert;  // the conversion panel's state
  int style_menu = 2;      // 0 "Стандартный", 1..5 the themes
  int anime_delay = 4;     // index into the animation delay list ("200")
  int count_byte = 1;      // minimum run of the identical-byte scan
  bool auto_scan = true;
  std::array<std::string, 10> recent_files;
  // The transforms of the menu "Рисунок".
  bool wrap_shift = false;  // "Сдвиг по кругу": a shift brings the pixels in at the other edge

  friend bool operator==(const Settings&, const Settings&) = default;
};

// A stored window coordinate outside -20..3000 is replaced by 10.
constexpr int CorrectWindowCoordinate(int v) { return (v < -20 || v > 3000) ? 10 : v; }

}  // namespace lumigrid
