#pragma once

#include "imagecore/image.h"

// Whether a and b have equal sizes; prints "<who>: images of different size"
// otherwise. The size check of every two-image operator of the library.
bool same_image_size(const image* a, const image* b, const char* who);
