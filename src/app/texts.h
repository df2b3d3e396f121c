// Texts the whole program shares.
#pragma once

namespace lumigrid {

// The main window's title is this prefix followed by the current buffer's file path.
inline constexpr const char* kTitlePrefix = "Lumigrid v 3.8  —  ";

}  // namespace lumigrid
