// Text for the Text tool in an installed font, drawn by Qt without anti-aliasing into the same
// bitmap the built-in fonts give, so the tool places both alike.
#pragma once

#include <QFont>
#include <QString>

#include "edit/mono_bitmap.h"

namespace lumigrid {

// The font text is drawn with: `family` (Qt picks its nearest face when it is not installed)
// at pixel_size, held to 6..32, with anti-aliasing off.
QFont SystemTextFont(const QString& family, int pixel_size);

// Lines split at "\n", one line spacing of the font apart; other control characters are
// dropped. The bitmap covers each line's advance and its ink (an italic overhang or a
// descender is kept), at most kMaxTextBitmapSide pixels each way. Its top left corner is the
// first line's, moved left or up only where ink reaches past it. Empty when no line takes
// room. Drawing takes a while for a long text: render once per text, not per mouse move.
MonoBitmap RenderSystemFontText(const QString& family, int pixel_size, const QString& text);

}  // namespace lumigrid
