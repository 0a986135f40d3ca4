#include <cstdlib>
#include <cstring>

#include "filter/detail/template_grid.h"
#include "filter/templates.h"
#include "imagecore/array_utils.h"
#include "imagecore/report.h"

namespace {

constexpr int kSide = 5;
constexpr int kCells = kSide * kSide;

constexpr int kPentagon[kCells] = {-1, 0,  0,  0,  -1,  //
                                   -1, 0,  0,  0,  -1,  //
                                   -1, -1, 0,  -1, -1,  //
                                   -1, -1, -1, -1, -1,  //
                                   -1, -1, -1, -1, -1};
constexpr int kHexagon[kCells] = {-1, -1, -1, 0,  0,   //
                                  -1, -1, 0,  0,  0,   //
                                  -1, -1, 0,  0,  -1,  //
                                  -1, -1, -1, -1, -1,  //
                                  -1, -1, -1, -1, -1};
constexpr int kSquare[kCells] = {-1, -1, -1, -1, -1,  //
                                 -1, 0,  0,  0,  -1,  //
                                 -1, 0,  0,  0,  -1,  //
                                 -1, 0,  0,  0,  -1,  //
                                 -1, -1, -1, -1, -1};

}  // namespace

int init_rotate_template(f_filter* f, int orientation, int size)
{
    if (size != 1 || orientation < 0 || orientation > 8) {
        vx_report("init_rotate_template: no mask %d of size %d\n", orientation, size);
        return 0;
    }
    int* values = f->values;
    if (values == nullptr) {
        vx_report("MALLOC\n");
    } else if (f->width != kSide || f->height != kSide) {
        vx_report("Free MALLOC\n");
        values = nullptr;
    }
    if (values == nullptr) {
        values = static_cast<int*>(std::malloc(sizeof(int) * kCells));
        if (values == nullptr) {
            vx_report("Not enough memory for filter template\n");
            return 0;
        }
    }
    const int* shape = orientation == 8 ? kSquare : orientation % 2 == 1 ? kHexagon : kPentagon;
    std::memcpy(values, shape, sizeof(int) * kCells);
    switch (orientation) {
    case 2: mirror_xy(values, kSide, kSide); break;
    case 3:
    case 4: flip_vertical(values, kSide, kSide); break;
    case 5:
        flip_vertical(values, kSide, kSide);
        flip_horizontal(values, kSide, kSide);
        break;
    case 6:
        mirror_xy(values, kSide, kSide);
        flip_horizontal(values, kSide, kSide);
        break;
    case 7: flip_horizontal(values, kSide, kSide); break;
    default: break;
    }
    set_filter_grid(f, values, kSide, kSide);
    return 1;
}
