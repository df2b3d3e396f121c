// Two pictures from the input (missing bytes are zero): the frame between them, played into
// the display model, must give the second picture, cost no more than a whole rewrite, and
// come back unchanged from its table.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "frames/frame_script.h"
#include "frames/frame_table.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace lumigrid;
  PictureBytes a{};
  PictureBytes b{};
  const size_t n = size < 2 * a.size() ? size : 2 * a.size();
  for (size_t i = 0; i < n; ++i) (i < a.size() ? a[i] : b[i - a.size()]) = data[i];

  const FrameScript script = MakeFrameScript({b}, {a, false});
  Ks0108Model model(a);
  model.Apply(FrameBusOps(script.frames.at(0)));
  if (model.Picture() != b) std::abort();
  if (FrameOperationCount(script.frames[0]) > kWholePictureOperations) std::abort();
  const auto decoded = DecodeFrameTable(EncodeFrameTable(script));
  if (!decoded || *decoded != script) std::abort();

  // Whatever the bytes, reading them as a table must not crash.
  (void)DecodeFrameTable({data, size});
  return 0;
}
