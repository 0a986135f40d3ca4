#include "filter/lMMS_Part.h"

#include <cstdio>
#include <cstring>

#include "filter/detail/mms_scale.h"
#include "filter/handles.h"
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
void write_scale(image* out, const ws_layout& l, const ws_workspace& flood, const row_trim& t)
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
    mms_binarise_labels(l, flood, px + static_cast<size_t>(t.top) * width);
    if (t.bottom > 0) {
        fill_rows(t.top + t.content - 1, t.top + t.content, 0);
        fill_rows(t.top + t.content, t.top + t.content + t.bottom, 1);
    }
    update_image_struct(out);
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

    const image_handle source(create_image(s0->width, trim.content, 0));
    std::memcpy(source->pixels, s0->pixels + static_cast<size_t>(trim.top) * s0->width,
                sizeof(int) * static_cast<size_t>(trim.content) * s0->width);
    update_image_struct(source.get());
    filter_handle filter(mms_make_filter(&local, mode, iterations, source.get()));
    if (filter == nullptr)
        return 0;
    const image_handle work(mms_copy_image(source.get()));
    const image_handle accumulator(mms_copy_image(source.get()));
    const image_handle scratch(mms_copy_image(source.get()));
    const image_handle gradient(mms_copy_image(source.get()));
    mms_buffers buffers;
    mms_work w{source.get(),   work.get(),   accumulator.get(), scratch.get(),
               gradient.get(), filter.get(), &buffers};

    const int kind = mode == 1 ? 1 : 2;
    int result = 1;
    for (int k = 0; k < nscales; ++k) {
        if (progress_variant)
            vx_report("Processing scale %d, Mod %d \n", k + 1, mode);
        else
            vx_report("Processing scale %d \n", k + 1);
        const ws_layout l = mms_compute_scale(&w, mode, conn, flags, k, debug);
        write_scale(&dst->scales[k], l, buffers.flood, trim);
        if (callback != nullptr)
            callback(kind, k, context);
        if (k + 1 < nscales && (flags & MMS_GROWING_TEMPLATE)) {
            local.radius += 1.0;
            filter.reset(mms_make_filter(&local, mode, iterations, source.get()));
            w.filter = filter.get();
            if (w.filter == nullptr) {
                result = 0;
                break;
            }
            std::memcpy(w.work->pixels, source->pixels,
                        sizeof(int) * static_cast<size_t>(source->width) * source->height);
        }
    }
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
