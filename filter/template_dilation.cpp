#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>

#include "filter/detail/template_grid.h"
#include "filter/filter.h"
#include "filter/handles.h"
#include "filter/templates.h"
#include "imagecore/fatal.h"
#include "imagecore/heap_array.h"
#include "imagecore/report.h"

int dilate_template(f_filter* target, f_filter* structuring)
{
    const long width = static_cast<long>(target->width) + structuring->width - 1;
    const long height = static_cast<long>(target->height) + structuring->height - 1;
    const long cells = width > INT_MAX || height > INT_MAX ? -1 : vx_pixel_count(width, height);
    if (cells <= 0) {
        vx_report("Cannot alloc suplementary image struct\n");
        return 0;
    }
    const size_t own = static_cast<size_t>(target->width) * static_cast<size_t>(target->height);
    const long long c = own == 0 ? 0 : *std::max_element(target->values, target->values + own);
    const image_handle grid(
        create_image(static_cast<int>(width), static_cast<int>(height), clamp_to_int(-c - 1)));
    const int left = (structuring->width - 1) / 2;
    const int top = (structuring->height - 1) / 2;
    for (int row = 0; row < target->height; ++row)
        for (int col = 0; col < target->width; ++col)
            grid->pixels[(top + row) * width + left + col] =
                clamp_to_int(target->values[row * target->width + col] + c);

    const filter_handle dilation(create_copy_template(structuring));
    heap_array<int> values(
        static_cast<int*>(std::malloc(sizeof(int) * static_cast<size_t>(cells))));
    if (dilation == nullptr || values == nullptr) {
        if (values == nullptr)
            vx_report("Not enough memory for filter template\n");
        return 0;
    }
    dilation->op = FILTER_DILATION;
    dilation->iterations = 1;
    dilation->use_mask = 0;
    dilation->quantile = 0.0;
    vx_report("Dilating Template\n");
    if (run_filter(grid.get(), dilation.get()) == nullptr)
        return 0;
    for (long i = 0; i < cells; ++i)
        values[i] = clamp_to_int(std::max<long long>(-1, grid->pixels[i] - c));
    set_filter_grid(target, values.release(), static_cast<int>(width), static_cast<int>(height));
    return 1;
}
