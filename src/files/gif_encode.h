// Pictures as a looping GIF animation, written in memory with giflib: the sequence of the
// animation panel or of lumigrid-cli render --gif.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "picture/picture_render.h"

namespace lumigrid {

// GIF delays count hundredths of a second: the delay in milliseconds to the nearest, at least 1.
int GifDelayCentiseconds(int delay_ms);

// Every picture drawn in the look (see RenderPicture), each shown for delay_ms, looping for
// ever. Frames after the first store only the rectangle that changed. std::nullopt for no
// pictures or when giflib fails.
std::optional<std::string> EncodeGifAnimation(const std::vector<PictureBytes>& pictures,
                                              RenderLook look, int scale, int delay_ms);

}  // namespace lumigrid
