// Small helpers over paths held as UTF-8 text: extension, file part, ASCII lower case.
#pragma once

#include <string>
#include <string_view>

namespace lumigrid {

// The text after the last "." of path, provided no "\" or "/" follows that "."; empty when
// there is no such ".". The "." itself is not part of the result.
std::string PathExtension(std::string_view path);

// Lower-cases A..Z only; every other byte (UTF-8 sequences included) is kept as it is.
std::string LowerAscii(std::string_view text);

// True when the lower-cased extension of path equals lower_ext (given without the ".").
bool HasExtension(std::string_view path, std::string_view lower_ext);

// The text after the last "\" or "/" of path; the whole path when it has neither.
std::string PathFilePart(std::string_view path);

}  // namespace lumigrid
