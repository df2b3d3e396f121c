#include "edit/selection.h"

#include <algorithm>

namespace lumigrid {

PixelRect RectBetween(PixelPoint a, PixelPoint b) {
  const int left = std::min(a.x, b.x), top = std::min(a.y, b.y);
  return {left, top, std::max(a.x, b.x) - left + 1, std::max(a.y, b.y) - top + 1};
}

PixelRect ClipToPicture(const PixelRect& r) {
  const int left = std::max(r.x, 0), top = std::max(r.y, 0);
  const int right = std::min(r.x + r.width, kPictureWidth);
  const int bottom = std::min(r.y + r.height, kPictureHeight);
  if (right <= left || bottom <= top) return {};
  return {left, top, right - left, bottom - top};
}

void PictureSelection::Select(const PixelRect& r) {
  Clear();
  rect_ = ClipToPicture(r);
}

void PictureSelection::Clear() {
  rect_ = {};
  floating_ = false;
  content_ = {};
}

MonoBitmap PictureSelection::Content(const PictureBytes& picture) const {
  if (floating_) return content_;
  return CopyFromPicture(picture, rect_.x, rect_.y, rect_.width, rect_.height);
}

PictureBytes PictureSelection::Picture() const {
  PictureBytes picture = under_;
  StampBitmap(picture, content_, rect_.x, rect_.y, StampMode::kOpaque);
  return picture;
}

PictureBytes PictureSelection::MoveTo(const PictureBytes& picture, PixelPoint to) {
  if (!Active()) return picture;
  if (!floating_) {
    content_ = Content(picture);
    under_ = picture;
    StampBitmap(under_, MonoBitmap(rect_.width, rect_.height), rect_.x, rect_.y,
                StampMode::kOpaque);
    floating_ = true;
  }
  rect_.x = to.x;
  rect_.y = to.y;
  return Picture();
}

PictureBytes PictureSelection::Float(const PictureBytes& picture, const MonoBitmap& content,
                                     PixelPoint to) {
  Clear();
  if (content.Empty()) return picture;
  content_ = content;
  under_ = picture;
  rect_ = {to.x, to.y, content.Width(), content.Height()};
  floating_ = true;
  return Picture();
}

PictureBytes PictureSelection::Remove(const PictureBytes& picture) {
  PictureBytes result = picture;
  if (floating_) {
    result = under_;
  } else if (Active()) {
    StampBitmap(result, MonoBitmap(rect_.width, rect_.height), rect_.x, rect_.y,
                StampMode::kOpaque);
  }
  Clear();
  return result;
}

}  // namespace lumigrid
