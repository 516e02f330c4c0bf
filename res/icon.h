// The application icon (resource 128) as PNG images in several sizes. Hosts
// hand these to their toolkit; the Windows build also embeds res/icons/quorvex.ico.
#pragma once

#include <cstddef>
#include <span>

namespace res {

struct IconImage {
  int size;  // width and height in pixels
  const unsigned char* png;
  size_t length;
};

// All sizes, smallest first.
std::span<const IconImage> AppIconImages();

// The image to scale down for a wanted size: the smallest that is at least
// `size` pixels, or the largest when none is big enough.
const IconImage& AppIconImage(int size);

}  // namespace res
