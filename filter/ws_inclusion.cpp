#include "filter/markerbased_watershed.h"
#include "imagecore/neighbourhood.h"

namespace {

int direction_of(int dx, int dy)
{
    for (int d = 0; d < 8; ++d)
        if (moore_order.dx[d] == dx && moore_order.dy[d] == dy)
            return d;
    return 0;
}

// Collects the basins other than the region's own that touch the outer
// contour; fails as soon as a second one shows up or the contour leaves the
// image.
struct enclosure {
    const int* labels;
    int width;
    int height;
    int own;
    int candidate = 0;

    bool note(int label)
    {
        if (label <= 0 || label == own || label == candidate)
            return true;
        if (candidate != 0)
            return false;
        candidate = label;
        return true;
    }

    // A pixel just outside the region: the image exterior, a line pixel
    // (whose neighbouring basins count) or another basin.
    bool examine(int x, int y)
    {
        if (!inside_image(x, y, width, height))
            return false;
        const int v = labels[y * width + x];
        if (v != 0)
            return note(v);
        for (int d = 0; d < 8; ++d) {
            const int nx = x + moore_order.dx[d];
            const int ny = y + moore_order.dy[d];
            if (inside_image(nx, ny, width, height) && !note(labels[ny * width + nx]))
                return false;
        }
        return true;
    }
};

}  // namespace

int included_ws_region(int index, int* labels, int width, int height, iqueue*)
{
    if (index < 0 || width <= 0 || height <= 0 || index >= width * height)
        return 0;
    const int own = labels[index];
    if (own <= 0)
        return 0;
    // The region's first pixel in raster order lies on its outer contour,
    // with the pixel to its west outside the region.
    int start = 0;
    while (labels[start] != own)
        ++start;
    enclosure e{labels, width, height, own};
    const int x0 = start % width;
    const int y0 = start / width;
    if (!e.examine(x0 - 1, y0))
        return 0;
    // Moore contour tracing: around the current pixel, clockwise from the
    // pixel we came from, up to the next region pixel; every pixel passed on
    // the way lies just outside the region.
    int x = x0;
    int y = y0;
    int back = 0;
    const long limit = 8L * width * height + 8;
    for (long steps = 0; steps < limit; ++steps) {
        int next = -1;
        for (int i = 1; i <= 8; ++i) {
            const int d = (back + i) % 8;
            const int nx = x + moore_order.dx[d];
            const int ny = y + moore_order.dy[d];
            if (inside_image(nx, ny, width, height) && labels[ny * width + nx] == own) {
                next = d;
                break;
            }
            if (!e.examine(nx, ny))
                return 0;
        }
        if (next < 0)
            break;  // a region of one pixel
        const int prev = (next + 7) % 8;
        const int nx = x + moore_order.dx[next];
        const int ny = y + moore_order.dy[next];
        back = direction_of(x + moore_order.dx[prev] - nx, y + moore_order.dy[prev] - ny);
        x = nx;
        y = ny;
        if (x == x0 && y == y0 && back == 0)
            break;
    }
    return e.candidate;
}
