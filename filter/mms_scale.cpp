#include "filter/mms_scale.h"

#include <cstring>

#include "filter/elementary.h"
#include "filter/filter.h"
#include "filter/gradients.h"
#include "filter/grey_order.h"
#include "filter/reconstruction.h"
#include "filter/reconstruction_core.h"
#include "filter/watershed.h"
#include "imagecore/fatal.h"

namespace {

void copy_pixels(image* dst, const image* src)
{
    std::memcpy(dst->pixels, src->pixels,
                sizeof(int) * static_cast<size_t>(src->width) * static_cast<size_t>(src->height));
}

}  // namespace

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
        vx_fatal(42, "morph_filter mms_part_reconstruction Cannot alloc source image memory");
    return f;
}

image* mms_compute_scale(mms_work* w, int mode, int conn, unsigned flags,
                         [[maybe_unused]] int scale, [[maybe_unused]] mms_debug_export* debug)
{
    if (flags & MMS_GROWING_TEMPLATE) {
        run_filter(w->work, w->filter);
    } else {
        if (mode == 1)
            n_erosion_buff(w->accumulator, w->work, 4);
        else
            n_dilation_buff(w->accumulator, w->work, 4);
        copy_pixels(w->accumulator, w->work);
    }
    image* t = w->scratch;
    if (mode == 1) {
        fast_reconstruction_by_dilation(w->work, w->source, conn);
        copy_pixels(t, w->work);
        if (flags & MMS_FILL_HOLES_BRIGHT)
            fill_holes_by_reconstruction(t, conn);
        pos_gradient(t, w->gradient, conn);
    } else {
        fast_reconstruction_by_erosion(w->work, w->source, conn);
        copy_pixels(t, w->work);
        // Filling the holes of the negated closing: its regional maxima not
        // connected to the border are lowered, computed without negating.
        if (flags & MMS_FILL_HOLES_DARK)
            fill_holes<grey_up>(t->pixels, t->width, t->height, is_conn8(conn), t->update_queue);
        neg_gradient(t, w->gradient, conn);
    }
    return watershed(t, 0, 0, conn);
}
