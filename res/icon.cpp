#include "res/icon.h"

namespace res {

// Defined in icon_data.cpp, generated at build time from res/icons/*.png.
extern const IconImage kAppIconImages[];
extern const size_t kAppIconImageCount;

std::span<const IconImage> AppIconImages() { return {kAppIconImages, kAppIconImageCount}; }

const IconImage& AppIconImage(int size) {
  std::span<const IconImage> all = AppIconImages();
  for (const IconImage& image : all) {
    if (image.size >= size) return image;
  }
  return all.back();
}

}  // namespace res
