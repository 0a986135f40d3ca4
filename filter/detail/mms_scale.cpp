#include "filter/detail/mms_scale.h"

#include <cstring>

#include "filter/detail/grey_order.h"
#include "filter/detail/reconstruction_core.h"
#include "filter/elementary.h"
#include "filter/filter.h"
#include "filter/gradients.h"
#include "imagecore/fatal.h"

namespace {

void copy_pixels(image* dst, const image* src)
{
    std::memcpy(dst->pixels, src->pixels,
                sizeof(int) * static_cast<size_t>(src->width) * static_cast<size_t>(src->height));
}

// The marker reconstructed under (bright) or above (dark) the source and
// copied to the scratch image, whose holes are filled on request: the dark
// holes of the opening, or the bright ones of the closing (the holes of the
// negated closing, computed without negating).
template <class Reconstruction, class Holes>
void simplify(mms_work* w, bool conn8, bool fill, int scale, mms_debug_export* debug)
{
    image* t = w->scratch;
    fill_buffers& b = w->buffers->fill;
    reconstruct<Reconstruction>(w->work->pixels, w->source->pixels, t->width, t->height, conn8,
                                b.reconstruction);
    copy_pixels(t, w->work);
    if (fill)
        fill_holes<Holes>(t->pixels, t->width, t->height, conn8, b);
    lMMS_debug_scale_export(debug, scale, 1, t);
}

}  // namespace

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

ws_layout mms_compute_scale(mms_work* w, int mode, int conn, unsigned flags, int scale,
                            mms_debug_export* debug)
{
    const bool conn8 = is_conn8(conn);
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
        simplify<grey_up, grey_down>(w, conn8, flags & MMS_FILL_HOLES_BRIGHT, scale, debug);
        pos_gradient(t, w->gradient, conn);
    } else {
        simplify<grey_down, grey_up>(w, conn8, flags & MMS_FILL_HOLES_DARK, scale, debug);
        neg_gradient(t, w->gradient, conn);
    }
    lMMS_debug_scale_export(debug, scale, 2, t);
    return ws_flood(t, conn == 4 ? 4 : 8, false, w->buffers->flood);
}

void mms_binarise_labels(const ws_layout& l, const ws_workspace& flood, int* out)
{
    for (int y = 0; y < l.height; ++y) {
        const int* lab = flood.lab.data() + l.origin + static_cast<size_t>(y) * l.stride;
        int* row = out + static_cast<size_t>(y) * l.width;
        for (int x = 0; x < l.width; ++x)
            row[x] = lab[x] != 0;
    }
}
