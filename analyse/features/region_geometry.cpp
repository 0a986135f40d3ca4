#include "analyse/features/region_geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "analyse/detail/trunc_int.h"

namespace {

int contour_length(const tregionnode* node)
{
    return node->contour != nullptr ? std::max(node->contour_size, 0) : 0;
}

// Smallest and largest column and row of the positions; false for none.
bool position_box(const int* positions, int n, int width, int* min_x, int* min_y, int* max_x,
                  int* max_y)
{
    if (positions == nullptr || n < 1 || width < 1)
        return false;
    int x0 = positions[0] % width;
    int y0 = positions[0] / width;
    int x1 = x0;
    int y1 = y0;
    for (int k = 1; k < n; ++k) {
        const int x = positions[k] % width;
        const int y = positions[k] / width;
        x0 = std::min(x0, x);
        x1 = std::max(x1, x);
        y0 = std::min(y0, y);
        y1 = std::max(y1, y);
    }
    *min_x = x0;
    *min_y = y0;
    *max_x = x1;
    *max_y = y1;
    return true;
}

}  // namespace

void boundingBox(tregionnode* node, int width)
{
    position_box(node->pixels, node->size, width, &node->minx, &node->miny, &node->maxx,
                 &node->maxy);
}

void rfContourFerretBox(int* min_column, int* min_row, int* max_column, int* max_row,
                        const tregionnode* node, int width)
{
    position_box(node->contour, contour_length(node), width, min_column, min_row, max_column,
                 max_row);
}

void second_area_moment(tregionnode* node, int width, int height)
{
    node->centroidX = node->centroidY = node->centroidXn = node->centroidYn = 0.0;
    node->orientation = node->paxisn = node->aaxisn = 0.0;
    node->paxis = node->aaxis = 0;
    const int n = node->size;
    if (node->pixels == nullptr || n < 1 || width < 1)
        return;
    int64_t sx = 0;
    int64_t sy = 0;
    for (int k = 0; k < n; ++k) {
        sx += node->pixels[k] % width;
        sy += node->pixels[k] / width;
    }
    // The centre is a whole-number mean.
    const int64_t cx = sx / n;
    const int64_t cy = sy / n;
    node->centroidX = static_cast<double>(cx);
    node->centroidY = static_cast<double>(cy);
    node->centroidXn = static_cast<double>(cx) / width;
    node->centroidYn = static_cast<double>(cy) / height;

    int64_t sxx = 0;
    int64_t syy = 0;
    int64_t sxy = 0;
    for (int k = 0; k < n; ++k) {
        const int64_t dx = node->pixels[k] % width - cx;
        const int64_t dy = node->pixels[k] / width - cy;
        sxx += dx * dx;
        syy += dy * dy;
        sxy += dx * dy;
    }
    const double mxx = static_cast<double>(sxx) / n;
    const double myy = static_cast<double>(syy) / n;
    const double mxy = static_cast<double>(sxy) / n;
    double orientation =
        mxx == myy ? -0.7853981633974483 : std::atan(2.0 * mxy / (mxx - myy)) / 2.0;
    if (mxx < myy)
        orientation -= 1.5707963267948966;
    node->orientation = orientation;

    const double s = std::sqrt((mxx - myy) * (mxx - myy) + 4.0 * mxy * mxy);
    // Rounding may leave the smaller eigenvalue a hair below zero.
    const double a = std::sqrt(std::max(0.0, 2.0 * (mxx + myy + s)));
    const double b = std::sqrt(std::max(0.0, 2.0 * (mxx + myy - s)));
    int major = trunc_to_int(std::max(a, b));
    int minor = trunc_to_int(std::min(a, b));
    if (major == 0)
        major = 1;
    if (minor == 0)
        minor = 1;
    node->paxis = trunc_to_int(std::sqrt(static_cast<double>(major) / minor * (n / 3.1417)));
    node->aaxis = trunc_to_int(static_cast<double>(minor) / major * node->paxis);
    const double diagonal =
        std::sqrt(static_cast<double>(width) * width + static_cast<double>(height) * height);
    node->paxisn = node->paxis / diagonal;
    node->aaxisn = node->aaxis / diagonal;
}

double contour_cover(const tregionnode* a, const tregionnode* b)
{
    const int na = contour_length(a);
    const int nb = contour_length(b);
    if (na == 0 || nb == 0)
        return 0.0;
    std::vector<int> joined(a->contour, a->contour + na);
    joined.insert(joined.end(), b->contour, b->contour + nb);
    std::sort(joined.begin(), joined.end());
    int shared = 0;
    for (size_t i = 0; i + 1 < joined.size(); ++i)
        if (joined[i] == joined[i + 1])
            ++shared;
    return static_cast<double>(shared) / std::min(na, nb);
}
