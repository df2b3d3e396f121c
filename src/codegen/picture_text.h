// The picture as text for the system clipboard: 128 lines, one per cell in the cell walk, each
// holding the cell's eight values as a listing's data line writes them ("0x01,...,0x80").
// Pasted into a program's source after a data directive, every line is a ready data line.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "picture/picture_buffer.h"

namespace lumigrid {

// Every line ends in "\n".
std::string PictureHexText(const PictureBytes& bytes);

// Reads such a text back: exactly 1024 values of "0x" and two hexadecimal digits in the cell
// walk, separated by a comma and/or blanks and line breaks. Anything else gives std::nullopt.
std::optional<PictureBytes> ParsePictureHexText(std::string_view text);

}  // namespace lumigrid
