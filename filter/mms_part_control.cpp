#include "filter/mms_part_control.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "filter/detail/mms_scale.h"
#include "filter/handles.h"
#include "imagecore/report.h"

// The step-wise record's engine: its source with the component tree, built
// at the first step from the settings then in force, and the scale buffers.
struct mms_buffers {
    mms_source source{};
    mms_scale_buffers scale;
};

namespace {

void rebuild_filter(mms_part_control* c)
{
    delete_filter(c->filter);
    c->filter = mms_make_filter(&c->tmpl, c->mode, c->iterations, c->source);
}

}  // namespace

mms_part_control* init_mms_part(vx_image* src, vx_image* dst, int, int nscales)
{
    if (src == nullptr || dst == nullptr || src->nscales < 1 || dst->width != src->width ||
        dst->height != src->height || dst->nscales < nscales) {
        vx_report("init_mms_part: the destination does not fit the source and %d scales\n",
                  nscales);
        return nullptr;
    }
    mms_part_control_handle c(
        static_cast<mms_part_control*>(std::calloc(1, sizeof(mms_part_control))));
    if (c == nullptr)
        return nullptr;
    c->source = mms_copy_image(&src->scales[0]);
    c->mode = 1;
    c->tmpl = unit_disk_template;
    c->iterations = 1;
    c->conn = 8;
    c->elementary = 1;
    rebuild_filter(c.get());
    if (c->filter == nullptr)
        return nullptr;
    c->accumulator = mms_copy_image(c->source);
    c->dst = dst;
    c->nscales = nscales;
    c->width = src->width;
    c->height = src->height;
    c->buffers = new mms_buffers;
    return c.release();
}

int mms_part_step(mms_part_control* c)
{
    if (c->scale >= c->nscales)
        return c->scale;
    mms_source& s = c->buffers->source;
    mms_scale_buffers& b = c->buffers->scale;
    // Settings changed since init take effect with the first scale.
    if (c->scale == 0) {
        rebuild_filter(c);
        s = mms_source{c->source->pixels,
                       c->width,
                       c->height,
                       c->mode,
                       c->conn,
                       MMS_FILL_HOLES_DARK | MMS_FILL_HOLES_BRIGHT,
                       {}};
        mms_reserve(b, s);
        mms_build_tree(s);
    }
    std::snprintf(c->text, sizeof(c->text), "Scale %d: %s", c->scale + 1,
                  c->mode == 1 ? "Bright Objects" : "Dark Objects");
    if (c->elementary) {
        mms_next_elementary_marker(c->accumulator->pixels, c->width, c->height, c->mode,
                                   b.rows.data());
        std::memcpy(b.work.data(), c->accumulator->pixels,
                    sizeof(int) * static_cast<size_t>(c->width) * static_cast<size_t>(c->height));
    }
    image* out = &c->dst->scales[c->scale];
    const ws_layout l = mms_compute_scale(s, b, c->elementary ? nullptr : c->filter, c->scale,
                                          nullptr, out->pixels);
    mms_binarise_labels(l, b.lab.data(), out->pixels);
    update_image_struct(out);
    // The next scale's template.
    if (c->elementary)
        c->tmpl.radius = 1.0;
    else
        c->tmpl.radius += 1.0;
    rebuild_filter(c);
    return ++c->scale;
}

void delete_mms_part_control(mms_part_control* c)
{
    if (c == nullptr)
        return;
    delete c->buffers;
    delete_filter(c->filter);
    delete_image(c->source);
    delete_image(c->accumulator);
    std::free(c);
}
