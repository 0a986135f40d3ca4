#include "imagecore/image_arith.h"

#include <cstddef>

namespace {

size_t pixel_count(const image* img)
{
    return static_cast<size_t>(img->width) * static_cast<size_t>(img->height);
}

}  // namespace

void binarize_image(image* img, int value)
{
    int* pixels = img->pixels;
    const size_t n = pixel_count(img);
    for (size_t i = 0; i < n; ++i)
        pixels[i] = pixels[i] != 0 ? value : 0;
}
