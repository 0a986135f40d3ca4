#include "filter/lMMS_Part.h"

#include <algorithm>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <exception>
#include <mutex>
#include <vector>

#include "filter/detail/mms_scale.h"
#include "filter/handles.h"
#include "filter/tree_workers.h"
#include "imagecore/report.h"

namespace {

// Uniform rows at the top and bottom of the source, both of the value of its
// first pixel. An image made only of such rows is not trimmed.
struct row_trim {
    int top;
    int content;
    int bottom;
};

bool row_equals(const int* row, int width, int v)
{
    for (int x = 0; x < width; ++x)
        if (row[x] != v)
            return false;
    return true;
}

row_trim find_trim(const image* s)
{
    row_trim t{0, s->height, 0};
    if (s->width <= 0 || s->height <= 0)
        return t;
    const int v = s->pixels[0];
    const auto row = [s](int y) { return s->pixels + static_cast<size_t>(y) * s->width; };
    while (t.top < s->height && row_equals(row(t.top), s->width, v))
        ++t.top;
    if (t.top == s->height)
        return row_trim{0, s->height, 0};
    while (row_equals(row(s->height - 1 - t.bottom), s->width, v))
        ++t.bottom;
    t.content = s->height - t.top - t.bottom;
    if (t.top > 0)
        vx_report("Horizontal Offset %d, Value %d\n", t.top * s->width, v);
    return t;
}

// Writes the binarised labels (content rows) into the full-size scale: the
// trimmed top rows become one region closed by a line row next to the
// content, and trimmed bottom rows another one, closed by the content's last
// row.
void write_scale(image* out, const ws_layout& l, const int* lab, const row_trim& t)
{
    const int width = out->width;
    int* px = out->pixels;
    const auto fill_rows = [&](int from, int to, int value) {
        for (size_t i = static_cast<size_t>(from) * width; i < static_cast<size_t>(to) * width; ++i)
            px[i] = value;
    };
    fill_rows(0, t.top, 1);
    if (t.top > 0)
        fill_rows(t.top - 1, t.top, 0);
    mms_binarise_labels(l, lab, px + static_cast<size_t>(t.top) * width);
    if (t.bottom > 0) {
        fill_rows(t.top + t.content - 1, t.top + t.content, 0);
        fill_rows(t.top + t.content, t.top + t.content + t.bottom, 1);
    }
    update_image_struct(out);
}

// Ints per pixel that a partition's own buffers may take: what it took when
// it computed one scale at a time. Each scale in flight takes 2 (the work
// and label arrays, 3 with a growing template, whose filter needs an image
// of its own); the component tree and the elementary marker are shared.
constexpr double kBudget = 12.0;

int scales_in_flight(const mms_source& s, bool growing)
{
    const double pixels = static_cast<double>(s.width) * s.height;
    const double shared =
        1.0 + (growing ? 0.0 : 1.0) + (pixels > 0 ? 2.0 * s.tree.nodes() / pixels : 0.0);
    return std::max(1, static_cast<int>((kBudget - shared) / (growing ? 3.0 : 2.0)));
}

int run_partition(vx_image* src, vx_image* dst, int mode, int nscales, int iterations,
                  const functions* tmpl, int conn, unsigned flags, mms_debug_export* debug,
                  void* context, tree_progress_fn callback, bool progress_variant)
{
    if (src == nullptr || dst == nullptr || tmpl == nullptr || src->nscales < 1) {
        vx_report("lMMS_Part: no source, destination or template\n");
        return 0;
    }
    if (dst->width != src->width || dst->height != src->height || dst->nscales < nscales) {
        vx_report(
            "lMMS_Part: destination of %d x %d with %d scales does not fit a %d x %d "
            "source and %d scales\n",
            dst->width, dst->height, dst->nscales, src->width, src->height, nscales);
        return 0;
    }
    // The caller's description stays as it is; the scales grow a copy.
    functions local = *tmpl;
    const image* s0 = &src->scales[0];
    const row_trim trim = find_trim(s0);
    const size_t n = static_cast<size_t>(s0->width) * static_cast<size_t>(trim.content);
    // The content rows are read where they are, unless the destination's
    // scale 0, which the computation uses, is the source itself.
    std::vector<int> copy;
    const int* pixels = s0->pixels + static_cast<size_t>(trim.top) * s0->width;
    if (dst == src) {
        copy.assign(pixels, pixels + n);
        pixels = copy.data();
    }
    mms_source s{pixels, s0->width, trim.content, mode, conn, flags, {}};
    // The filter's mask: never read (unmasked erosion or dilation).
    image source_view{};
    source_view.width = s.width;
    source_view.height = s.height;
    source_view.pixels = const_cast<int*>(pixels);
    filter_handle filter(mms_make_filter(&local, mode, iterations, &source_view));
    if (filter == nullptr)
        return 0;

    const bool growing = (flags & MMS_GROWING_TEMPLATE) != 0;
    mms_scale_buffers first;
    mms_reserve(first, s);
    if (nscales > 0)
        mms_build_tree(s);
    std::vector<int> elementary;
    std::vector<int> rows;
    if (!growing) {
        elementary.assign(pixels, pixels + n);
        rows.resize(3 * static_cast<size_t>(s.width));
    }
    // Scale k's marker, made in scale order: the next elementary filtering
    // of the previous one copied to b.work, or the filter f of radius + k
    // (built after scale k - 1's, as one scale at a time builds them).
    std::vector<filter_handle> filters;
    int result = 1;
    const auto make_marker = [&](int k, mms_scale_buffers& b, f_filter*& f) {
        if (growing && k > 0) {
            local.radius += 1.0;
            filter.reset(mms_make_filter(&local, mode, iterations, &source_view));
            if (filter == nullptr) {
                result = 0;
                return false;
            }
        }
        if (progress_variant)
            vx_report("Processing scale %d, Mod %d \n", k + 1, mode);
        else
            vx_report("Processing scale %d \n", k + 1);
        if (growing) {
            f = filter.get();
            filters.push_back(std::move(filter));
        } else {
            mms_next_elementary_marker(elementary.data(), s.width, s.height, mode, rows.data());
            std::memcpy(b.work.data(), elementary.data(), sizeof(int) * n);
        }
        return true;
    };
    // Each worker takes the next scale, makes its marker in its turn (after
    // the previous scale's) into its own buffers and computes the scale;
    // after a marker that could not be made no scale is computed.
    const int workers =
        std::max(1, std::min({get_tree_workers(), nscales, scales_in_flight(s, growing)}));
    std::vector<mms_scale_buffers> buffers(static_cast<size_t>(workers));
    buffers[0] = std::move(first);
    for (size_t i = 1; i < buffers.size(); ++i)
        mms_reserve(buffers[i], s);
    std::vector<char> computed(static_cast<size_t>(std::max(nscales, 0)), 0);
    std::mutex turn_mutex;
    std::condition_variable turn;
    int made = 0;
    bool failed = false;
    run_tree_tasks_in_order(
        nscales, workers,
        [&](int k, int worker) {
            mms_scale_buffers& b = buffers[static_cast<size_t>(worker)];
            f_filter* f = nullptr;
            bool go = false;
            // A marker that throws (exhausted memory) still passes the turn
            // on, so that no worker waits for it.
            std::exception_ptr thrown;
            {
                std::unique_lock<std::mutex> lock(turn_mutex);
                turn.wait(lock, [&] { return made == k; });
                try {
                    go = !failed && make_marker(k, b, f);
                } catch (...) {
                    thrown = std::current_exception();
                }
                failed = !go;
                ++made;
            }
            turn.notify_all();
            if (thrown)
                std::rethrow_exception(thrown);
            if (!go)
                return;
            image* out = &dst->scales[k];
            const ws_layout l = mms_compute_scale(s, b, f, k, debug, out->pixels);
            write_scale(out, l, b.lab.data(), trim);
            computed[static_cast<size_t>(k)] = 1;
        },
        [&](int k) {
            if (computed[static_cast<size_t>(k)] != 0 && callback != nullptr)
                callback(mode == 1 ? 1 : 2, k, context);
        });
    if (progress_variant)
        vx_report("\n\n Done Mode %d\n\n", mode);
    return result;
}

}  // namespace

int lMMS_Part(vx_image* src, vx_image* dst, int mode, int nscales, int iterations, functions* tmpl,
              int conn, unsigned flags, mms_debug_export* debug)
{
    return run_partition(src, dst, mode, nscales, iterations, tmpl, conn, flags, debug, nullptr,
                         nullptr, false);
}

int lMMS_Part_progress(vx_image* src, vx_image* dst, int mode, int nscales, int iterations,
                       functions* tmpl, int conn, unsigned flags, void* context,
                       tree_progress_fn callback)
{
    return run_partition(src, dst, mode, nscales, iterations, tmpl, conn, flags, nullptr, context,
                         callback, true);
}
