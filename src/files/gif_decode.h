// GIF images with giflib, frame by frame: each frame is laid on the logical screen as a viewer
// shows it (transparent pixels, disposal of the frame before) and the whole screen is handed row
// by row to the picture conversion. Transparent parts count as white.
#pragma once

#include <cstdio>

#include "files/image_frames.h"

namespace lumigrid {

// Reads the GIF from the start of `file`. Refused: not a GIF; data cut short or damaged, or no
// colour table (undecodable); a screen beyond IsImportableSize (too large); beyond the bounds
// of image_frames.h (unsupported, naming the bound).
DecodedFrames DecodeGif(std::FILE* file, const FramesRequest& request);

}  // namespace lumigrid
