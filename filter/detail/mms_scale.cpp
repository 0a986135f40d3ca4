#include "filter/detail/mms_scale.h"

#include <algorithm>
#include <cstring>
#include <type_traits>

#include "filter/detail/grey_order.h"
#include "filter/detail/neighbourhood_join.h"
#include "filter/filter.h"
#include "imagecore/fatal.h"

namespace {

size_t pixel_count(const mms_source& s)
{
    return static_cast<size_t>(s.width) * static_cast<size_t>(s.height);
}

// Writes the scale's image as a debug export of the given stage.
void export_stage(mms_debug_export* debug, int scale, int stage, const int* px, int width,
                  int height)
{
    if (debug == nullptr)
        return;
    const image_handle copy(create_image(width, height, 0));
    std::memcpy(copy->pixels, px, sizeof(int) * static_cast<size_t>(width) * height);
    update_image_struct(copy.get());
    lMMS_debug_scale_export(debug, scale, stage, copy.get());
}

// The marker reconstructed under (bright) or above (dark) the source, its
// holes filled on request: the dark holes of the opening, or the bright
// ones of the closing. Then the external (bright) or internal (dark)
// gradient, whose value range is returned in lo and hi.
template <class Reconstruction, class Holes>
void simplify_and_gradient(const mms_source& s, mms_scale_buffers& b, bool fill, int* spare,
                           int scale, mms_debug_export* debug, int& lo, int& hi)
{
    int* t = b.work.data();
    const bool conn8 = is_conn8(s.conn);
    reconstruct_by_tree<Reconstruction>(s.tree, s.pixels, t, b.lab.data());
    if (fill) {
        b.fill.items = b.lab.data();
        b.fill.queue = spare;
        fill_holes<Holes>(t, s.width, s.height, conn8, b.fill);
    }
    export_stage(debug, scale, 1, t, s.width, s.height);
    join_in_place<Reconstruction>(
        t, s.width, s.height, conn8, b.rows.data(), [](int joined, int value, size_t) {
            return std::is_same<Reconstruction, grey_up>::value ? rise(joined, value)
                                                                : rise(value, joined);
        });
    if (s.width > 0 && s.height > 0)
        value_range(t, static_cast<size_t>(s.width) * s.height, lo, hi);
    export_stage(debug, scale, 2, t, s.width, s.height);
}

}  // namespace

void mms_build_tree(mms_source& s)
{
    if (s.mode == 1)
        build_component_tree<grey_up>(s.pixels, s.width, s.height, is_conn8(s.conn), s.tree);
    else
        build_component_tree<grey_down>(s.pixels, s.width, s.height, is_conn8(s.conn), s.tree);
}

void mms_reserve(mms_scale_buffers& b, const mms_source& s)
{
    const size_t n = pixel_count(s);
    ws_reserve(b.work, n + 1);
    ws_reserve(b.lab, std::max(ws_make_layout(s.width, s.height, false).cells, n));
    ws_reserve(b.rows, 3 * static_cast<size_t>(s.width));
}

ws_layout mms_compute_scale(const mms_source& s, mms_scale_buffers& b, f_filter* filter, int scale,
                            mms_debug_export* debug, int* spare)
{
    const size_t n = pixel_count(s);
    if (filter != nullptr) {
        if (b.filtered == nullptr)
            b.filtered.reset(create_image(s.width, s.height, 0));
        std::memcpy(b.filtered->pixels, s.pixels, sizeof(int) * n);
        run_filter(b.filtered.get(), filter);
        std::memcpy(b.work.data(), b.filtered->pixels, sizeof(int) * n);
    }
    int lo = 0;
    int hi = 0;
    if (s.mode == 1)
        simplify_and_gradient<grey_up, grey_down>(s, b, s.flags & MMS_FILL_HOLES_BRIGHT, spare,
                                                  scale, debug, lo, hi);
    else
        simplify_and_gradient<grey_down, grey_up>(s, b, s.flags & MMS_FILL_HOLES_DARK, spare, scale,
                                                  debug, lo, hi);
    // The gradient's values are sorted into the spare array; then the work
    // array, no longer read, serves as the flooding's queue.
    return ws_flood_into(b.work.data(), s.width, s.height, lo, hi, s.conn == 4 ? 4 : 8, false,
                         ws_arrays{b.lab.data(), spare, b.work.data()}, b.tables);
}

void mms_binarise_labels(const ws_layout& l, const int* lab, int* out)
{
    for (int y = 0; y < l.height; ++y) {
        const int* row_labels = lab + l.origin + static_cast<size_t>(y) * l.stride;
        int* row = out + static_cast<size_t>(y) * l.width;
        for (int x = 0; x < l.width; ++x)
            row[x] = row_labels[x] != 0;
    }
}

void mms_next_elementary_marker(int* marker, int width, int height, int mode, int* rows)
{
    const auto joined = [](int j, int, size_t) { return j; };
    if (mode == 1)
        join_in_place<grey_down>(marker, width, height, false, rows, joined);
    else
        join_in_place<grey_up>(marker, width, height, false, rows, joined);
}

image* mms_copy_image(const image* src)
{
    image* img = create_copy_image(src);
    update_image_struct(img);
    return img;
}

f_filter* mms_make_filter(const functions* tmpl, int mode, int iterations, image* source)
{
    f_filter* f = init_f_filter();
    if (f == nullptr)
        return nullptr;
    f->quantile = 0.0;
    f->op = mode == 1 ? FILTER_EROSION : FILTER_DILATION;
    f->use_mask = 0;
    f->mask = source;
    f->iterations = iterations;
    if (init_f_template(tmpl, f) == nullptr)
        vx_fatal(exit_code::template_not_built,
                 "morph_filter mms_part_reconstruction Cannot alloc source image memory");
    return f;
}
