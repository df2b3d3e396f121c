// Two-colour PNG images written in memory with libpng, for pictures shown outside the editor.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "picture/rgb.h"

namespace lumigrid::cli {

// A width x height PNG whose pixel (x, y) takes colours[lit(x, y)]. No time or text chunks, so
// the same pixels always give the same bytes. nullopt when libpng fails.
std::optional<std::string> EncodeTwoColourPng(int width, int height,
                                              const std::array<Rgb, 2>& colours,
                                              const std::function<bool(int x, int y)>& lit);

}  // namespace lumigrid::cli
