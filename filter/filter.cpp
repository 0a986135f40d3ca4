#include "filter/filter.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "filter/detail/template_grid.h"
#include "filter/handles.h"
#include "imagecore/heap_array.h"
#include "imagecore/histogram.h"
#include "imagecore/report.h"

namespace {

// The template cells whose row lies inside the image for one image row, with
// their pixel offsets, and the column range [inner_begin, inner_end) in which
// every one of them lies inside horizontally too.
struct row_cells {
    std::vector<int> dx;
    std::vector<int> offset;
    std::vector<int> weight;
    int inner_begin = 0;
    int inner_end = 0;

    void build(const offset_tmpl* t, int y, int width, int height)
    {
        dx.clear();
        offset.clear();
        weight.clear();
        int lo = 0;
        int hi = 0;
        for (int k = 0; k < t->count; ++k) {
            const int ny = y + t->dy[k];
            if (ny < 0 || ny >= height)
                continue;
            dx.push_back(t->dx[k]);
            offset.push_back(t->dy[k] * width + t->dx[k]);
            weight.push_back(t->value[k]);
            lo = std::min(lo, t->dx[k]);
            hi = std::max(hi, t->dx[k]);
        }
        inner_begin = std::min(width, -lo);
        inner_end = std::max(inner_begin, width - hi);
    }

    // Calls visit(pixel, weight) for every cell inside the image around the
    // pixel at `at`, column x.
    template <class Visit>
    void for_each(const int* at, int x, int width, Visit&& visit) const
    {
        const size_t n = offset.size();
        if (x >= inner_begin && x < inner_end) {
            for (size_t k = 0; k < n; ++k)
                visit(at[offset[k]], weight[k]);
        } else {
            for (size_t k = 0; k < n; ++k) {
                const int nx = x + dx[k];
                if (nx >= 0 && nx < width)
                    visit(at[offset[k]], weight[k]);
            }
        }
    }
};

// Position of the rank selection among n sorted values, kept inside the list
// whatever the quantile.
int rank_index(int n, double quantile)
{
    if (quantile >= 1.0)
        return n - 1;
    if (!(quantile > 0.0))
        return 0;
    const int i = static_cast<int>(n * quantile);
    return i < n - 1 ? i : n - 1;
}

bool is_erosion(int op)
{
    return op == FILTER_EROSION || op == FILTER_RANK_EROSION || op == FILTER_EROSION_FROM_MAX ||
           op == FILTER_EROSION_FROM_MAX_2;
}

bool is_dilation(int op)
{
    return op == FILTER_DILATION || op == FILTER_RANK_DILATION || op == FILTER_DILATION_FROM_MIN;
}

// Operations whose mask bounds the result (geodesic), as opposed to those
// whose mask selects the pixels to filter.
bool is_geodesic(int op)
{
    return op == FILTER_EROSION || op == FILTER_DILATION || op == FILTER_RANK_EROSION ||
           op == FILTER_RANK_DILATION;
}

struct pass_setup {
    const f_filter* f;
    int width;
    int height;
    int img_min;  // range of the image before the first pass
    int img_max;
    const int* mask;  // null when unmasked
    bool rank;
    std::vector<int>* list;
};

// One pass of a min/max/rank/mean operation from `in` into `out`; returns
// whether any pixel changed.
bool template_pass(const int* in, int* out, const pass_setup& s)
{
    const int op = s.f->op;
    const int width = s.width;
    const bool erode = is_erosion(op);
    const bool geodesic = is_geodesic(op);
    const bool from_extreme = op >= FILTER_EROSION_FROM_MAX && op <= FILTER_EROSION_FROM_MAX_2;
    std::vector<int>& list = *s.list;
    row_cells rc;
    bool changed = false;
    for (int y = 0; y < s.height; ++y) {
        rc.build(s.f->offsets, y, width, s.height);
        const size_t row = static_cast<size_t>(y) * width;
        for (int x = 0; x < width; ++x) {
            const size_t i = row + x;
            const int* at = in + i;
            int result;
            if (s.mask != nullptr && !geodesic && s.mask[i] != 0) {
                result = in[i];
            } else if (op == FILTER_MEAN) {
                long long sum = 0;
                long long weights = 0;
                rc.for_each(at, x, width, [&](int p, int w) {
                    sum += static_cast<long long>(w) * p;
                    weights += w;
                });
                result = clamp_to_int(sum / (weights == 0 ? 1 : weights));
            } else if (s.rank) {
                list.clear();
                const int sign = erode ? -1 : 1;
                rc.for_each(at, x, width, [&](int p, int w) {
                    list.push_back(clamp_to_int(p + sign * static_cast<long long>(w)));
                });
                if (list.empty()) {
                    result = in[i];
                } else {
                    const auto nth =
                        list.begin() + rank_index(static_cast<int>(list.size()), s.f->quantile);
                    std::nth_element(list.begin(), nth, list.end());
                    result = *nth;
                }
            } else if (erode) {
                long long acc = from_extreme ? s.img_max : in[i];
                rc.for_each(at, x, width, [&](int p, int w) {
                    const long long v = static_cast<long long>(p) - w;
                    if (v < acc)
                        acc = v;
                });
                result = clamp_to_int(acc);
            } else {
                long long acc = from_extreme ? s.img_min : in[i];
                rc.for_each(at, x, width, [&](int p, int w) {
                    const long long v = static_cast<long long>(p) + w;
                    if (v > acc)
                        acc = v;
                });
                result = clamp_to_int(acc);
            }
            if (s.mask != nullptr && geodesic)
                result = maskcheck(result, s.mask[i], erode ? 1 : 2);
            out[i] = result;
            changed |= result != in[i];
        }
    }
    return changed;
}

// The masks of the minimum-variance filter, one per orientation.
constexpr int kOrientations = 9;
using orientation_set = filter_handle[kOrientations];

// One pass of the minimum-variance mean: each pixel whose variance in the
// mask's double pixels is not yet 0 takes the mean under the orientation of
// least variance; the mask keeps that mean (int pixels) and variance.
bool min_variance_pass(const int* in, int* out, int width, int height, image* mask,
                       const orientation_set& orientations, std::vector<int>& list)
{
    row_cells rc[kOrientations];
    bool changed = false;
    for (int y = 0; y < height; ++y) {
        for (int o = 0; o < kOrientations; ++o)
            rc[o].build(orientations[o]->offsets, y, width, height);
        const size_t row = static_cast<size_t>(y) * width;
        for (int x = 0; x < width; ++x) {
            const size_t i = row + x;
            if (mask->dpixels[i] != 0.0) {
                for (int o = 0; o < kOrientations; ++o) {
                    list.clear();
                    rc[o].for_each(in + i, x, width, [&](int p, int) { list.push_back(p); });
                    const int n = static_cast<int>(list.size());
                    const int mean = array_mean(list.data(), n);
                    const int variance = array_variance(list.data(), n, mean);
                    if (o == 0 || variance < mask->dpixels[i]) {
                        mask->dpixels[i] = variance;
                        mask->pixels[i] = mean;
                    }
                }
            }
            out[i] = mask->pixels[i];
            changed |= out[i] != in[i];
        }
    }
    return changed;
}

// Loads the orientations' masks; false when they cannot be had.
bool load_orientations(orientation_set& orientations)
{
    const filter_handle shape(init_f_filter());
    bool ok = shape != nullptr;
    for (int o = 0; o < kOrientations; ++o) {
        orientations[o].reset(ok && init_rotate_template(shape.get(), o, 1)
                                  ? create_copy_template(shape.get())
                                  : nullptr);
        ok = ok && orientations[o] != nullptr && orientations[o]->offsets != nullptr;
    }
    return ok;
}

bool known_op(int op)
{
    return is_erosion(op) || is_dilation(op) || op == FILTER_MEAN || op == FILTER_MIN_VARIANCE;
}

bool mask_fits(const image* mask, const image* img, bool need_doubles)
{
    return mask != nullptr && mask->pixels != nullptr && mask->width == img->width &&
           mask->height == img->height && (!need_doubles || mask->dpixels != nullptr);
}

}  // namespace

image* run_filter(image* img, f_filter* f)
{
    if (f == nullptr || f->offsets == nullptr) {
        vx_report("run_filter: filter without template\n");
        return nullptr;
    }
    if (!known_op(f->op)) {
        vx_report("run_filter: unknown filter operation %d\n", f->op);
        return nullptr;
    }
    const bool min_variance = f->op == FILTER_MIN_VARIANCE;
    const bool masked = f->use_mask != 0 || min_variance;
    if (masked && !mask_fits(f->mask, img, min_variance)) {
        vx_report("run_filter: filter mask missing or of another size\n");
        return nullptr;
    }
    const size_t n = static_cast<size_t>(img->width) * static_cast<size_t>(img->height);
    heap_array<int> buffer(static_cast<int*>(std::malloc(sizeof(int) * (n == 0 ? 1 : n))));
    if (buffer == nullptr) {
        vx_report("Not enough memory for image vector\n");
        return nullptr;
    }
    orientation_set orientations;
    if (min_variance && !load_orientations(orientations)) {
        vx_report("Not enough memory for Template Match List\n");
        return nullptr;
    }
    std::vector<int> list;
    list.reserve(static_cast<size_t>(f->offsets->count));

    update_image_struct(img);
    pass_setup setup{};
    setup.f = f;
    setup.width = img->width;
    setup.height = img->height;
    setup.img_min = img->min;
    setup.img_max = img->max;
    setup.mask = masked ? f->mask->pixels : nullptr;
    setup.rank = f->quantile != 0.0 && f->quantile != 1.0 && f->op != FILTER_MEAN;
    setup.list = &list;
    // Without a mask every operation settles within one pass per pixel of
    // distance across the image; a masked one may have to walk every pixel.
    // A filter still changing after that never settles (e.g. a weighted
    // erosion, which lowers the image by its centre weight on every pass).
    const long long bound = f->use_mask != 0 ? static_cast<long long>(n) + 1
                                             : static_cast<long long>(img->width) + img->height + 1;
    const long long passes = f->iterations > 0 ? f->iterations : bound;
    bool changed = true;
    for (long long pass = 0; pass < passes && changed; ++pass) {
        changed = min_variance ? min_variance_pass(img->pixels, buffer.get(), img->width,
                                                   img->height, f->mask, orientations, list)
                               : template_pass(img->pixels, buffer.get(), setup);
        int* previous = img->pixels;
        img->pixels = buffer.release();
        buffer.reset(previous);
        if (f->iterations > 0)
            changed = true;
    }
    if (f->iterations <= 0 && changed)
        vx_report("run_filter: no stable result after %lld passes\n", passes);
    update_image_struct(img);
    return img;
}
