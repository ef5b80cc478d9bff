// A picture strip (equal-width images side by side) as an image list, for
// the controls that show one image per item or tab.
#pragma once

#include <cstdint>

namespace vorn {

class Picture;

// The strip cut into images of item_width pixels; null when the strip is
// missing, the width is 0 or the platform refuses. The caller owns the list.
void* MakePictureStripImageList(const Picture* strip, uint32_t item_width) noexcept;

}  // namespace vorn
