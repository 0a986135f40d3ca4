#pragma once

// The per-pixel steps' common loop. Not part of the library's interface.

#include <cstddef>

#include "imagecore/image.h"

// A new copy of the input with every pixel p replaced by map(p); null for a
// null input.
template <class Map>
image* map_pixels(const image* input, Map map)
{
    if (input == nullptr)
        return nullptr;
    image* out = create_copy_image(input);
    const size_t n = static_cast<size_t>(out->width) * static_cast<size_t>(out->height);
    for (size_t i = 0; i < n; ++i)
        out->pixels[i] = map(out->pixels[i]);
    return out;
}
