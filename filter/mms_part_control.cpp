#include "filter/mms_part_control.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "filter/detail/mms_scale.h"
#include "filter/handles.h"
#include "imagecore/report.h"

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
    c->tmpl = functions{1, 1.0, 0.0, 0, 0};
    c->iterations = 1;
    c->conn = 8;
    c->elementary = 1;
    rebuild_filter(c.get());
    if (c->filter == nullptr)
        return nullptr;
    c->work = mms_copy_image(c->source);
    c->accumulator = mms_copy_image(c->source);
    c->scratch = mms_copy_image(c->source);
    c->gradient = mms_copy_image(c->source);
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
    // Settings changed since init take effect with the first scale.
    if (c->scale == 0)
        rebuild_filter(c);
    std::snprintf(c->text, sizeof(c->text), "Scale %d: %s", c->scale + 1,
                  c->mode == 1 ? "Bright Objects" : "Dark Objects");
    const unsigned flags =
        MMS_FILL_HOLES_DARK | MMS_FILL_HOLES_BRIGHT | (c->elementary ? 0u : MMS_GROWING_TEMPLATE);
    mms_work w{c->source, c->work, c->accumulator, c->scratch, c->gradient, c->filter, c->buffers};
    const ws_layout l = mms_compute_scale(&w, c->mode, c->conn, flags, c->scale, nullptr);
    image* out = &c->dst->scales[c->scale];
    mms_binarise_labels(l, c->buffers->flood, out->pixels);
    update_image_struct(out);
    // The next scale's template, and its marker's starting image.
    if (c->elementary) {
        c->tmpl.radius = 1.0;
    } else {
        c->tmpl.radius += 1.0;
        std::memcpy(c->work->pixels, c->source->pixels,
                    sizeof(int) * static_cast<size_t>(c->width) * static_cast<size_t>(c->height));
    }
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
    delete_image(c->work);
    delete_image(c->accumulator);
    delete_image(c->scratch);
    delete_image(c->gradient);
    std::free(c);
}
