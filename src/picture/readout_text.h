// Texts of the position and code readout and of the toolbar hint.
#pragma once

#include <string>

#include "picture/geometry.h"
#include "picture/picture_buffer.h"

namespace lumigrid {

inline constexpr const char* kPositionLabelText = "Кристалл\n\nСтраница\n\nСегмент";

// "1\n\n2\n\n3": crystal, page and column group on lines 1, 3 and 5.
std::string PositionValuesText(const CellPlace& place);

// "0x3C,0x00,...": the cell's eight bytes, left column first.
std::string CodeFieldText(const CellBytes& bytes);

// "Кристалл — 1;  Страница — 2;  Сегмент  — 1"
std::string HintText(const CellPlace& place);

// "0x" and two upper-case hexadecimal digits.
std::string HexByte(uint8_t value);

}  // namespace lumigrid
