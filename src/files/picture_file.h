// The ".chr" picture file: the 1024 display-memory bytes of one picture in cell walk order
// (cell 1 byte 1 .. cell 128 byte 8), nothing else.
#pragma once

#include <optional>
#include <string>

#include "picture/picture_buffer.h"

namespace lumigrid {

// Reads the first 1024 bytes of the file; a shorter file leaves the rest clear, an empty one
// is a blank picture. Neither size nor content nor extension is checked. nullopt when the
// file cannot be opened for reading.
std::optional<PictureBytes> ReadPictureFile(const std::string& utf8_path);

// Writes exactly the 1024 bytes, replacing the file only once the write is complete.
bool WritePictureFile(const std::string& utf8_path, const PictureBytes& bytes);

}  // namespace lumigrid
