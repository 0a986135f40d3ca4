#pragma once

// Visiting the pixel or contour positions of a node inside an image. Trees
// read from files or paired with another image may carry positions that the
// image does not hold; those are skipped rather than written out of bounds.

#include <algorithm>

#include "analyse/trees/region_types.h"
#include "imagecore/fatal.h"
#include "imagecore/image.h"

// Number of pixels of the image, 0 for a null or malformed record.
inline int image_pixel_count(const image* img)
{
    if (img == nullptr || img->pixels == nullptr)
        return 0;
    return static_cast<int>(std::max(vx_pixel_count(img->width, img->height), 0L));
}

// Calls visit(p) for each of the `count` positions with 0 <= p < limit.
template <class Visit>
void for_each_position(const int* positions, int count, int limit, Visit visit)
{
    if (positions == nullptr)
        return;
    for (int k = 0; k < count; ++k) {
        const int p = positions[k];
        if (p >= 0 && p < limit)
            visit(p);
    }
}

template <class Visit>
void for_each_pixel(const tregionnode* node, int limit, Visit visit)
{
    for_each_position(node->pixels, node->size, limit, visit);
}

template <class Visit>
void for_each_outer_contour(const tregionnode* node, int limit, Visit visit)
{
    for_each_position(node->contour, node->contour_size, limit, visit);
}

template <class Visit>
void for_each_inner_contour(const tregionnode* node, int limit, Visit visit)
{
    for_each_position(node->inner_contour, node->inner_contour_size, limit, visit);
}
