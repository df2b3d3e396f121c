// Styled text as an RTF document that word processors read: Windows-1251 text written as
// \'hh escapes (\uN for characters the code page lacks), a colour table of every colour
// used, and \b for bold.
#pragma once

#include <string>

#include "optimize/styled_text.h"

namespace lumigrid {

std::string WriteRtf(const StyledText& text);

}  // namespace lumigrid
