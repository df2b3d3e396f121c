// The selection tool's rectangle of pixels. Dragging it lifts its pixels off the picture (their
// place becomes unlit) and drops them where the drag ends; while they float, the picture they
// were lifted from is kept, so moving them again uncovers what they lay on.
#pragma once

#include "edit/mono_bitmap.h"
#include "picture/geometry.h"

namespace lumigrid {

// Pixels x .. x + width - 1 across and y .. y + height - 1 down.
struct PixelRect {
  int x = 0, y = 0, width = 0, height = 0;
  bool Empty() const { return width <= 0 || height <= 0; }
  bool Contains(PixelPoint p) const {
    return p.x >= x && p.x < x + width && p.y >= y && p.y < y + height;
  }
  friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// The box with corners a and b, both included.
PixelRect RectBetween(PixelPoint a, PixelPoint b);
// The part of r on the picture (empty when none is).
PixelRect ClipToPicture(const PixelRect& r);

class PictureSelection {
 public:
  bool Active() const { return !rect_.Empty(); }
  bool Floating() const { return floating_; }
  // Where the selection lies; a floating one may reach past the picture.
  const PixelRect& Rect() const { return rect_; }

  // Selects the part of r on the picture; a floating selection is dropped first.
  void Select(const PixelRect& r);
  // Nothing selected; floating pixels stay where they are in the picture.
  void Clear();

  // The selected pixels: the floating ones, or those of `picture` in the rectangle.
  MonoBitmap Content(const PictureBytes& picture) const;
  // While floating: the picture under the pixels with them where they are now.
  PictureBytes Picture() const;

  // The picture with the selected pixels moved so that their top left corner is at `to`.
  // The first move lifts them off `picture`, which then lies under them until they are dropped.
  PictureBytes MoveTo(const PictureBytes& picture, PixelPoint to);
  // The picture with `content` floating at `to` over it (a paste); a floating selection is
  // dropped first and the pasted pixels become the selection.
  PictureBytes Float(const PictureBytes& picture, const MonoBitmap& content, PixelPoint to);
  // The picture without the selected pixels, and nothing selected: floating pixels uncover
  // what they lay on, fixed ones leave unlit pixels.
  PictureBytes Remove(const PictureBytes& picture);

 private:
  PixelRect rect_;
  bool floating_ = false;
  MonoBitmap content_;    // while floating
  PictureBytes under_{};  // the picture under floating pixels
};

}  // namespace lumigrid
