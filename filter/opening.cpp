#include "filter/filter.h"
#include "imagecore/report.h"

namespace {

// One step of an opening or closing; dilations run with the reflected
// template, so that the pair is a true opening or closing for templates that
// are not point-symmetric.
image* filter_step(f_filter* f, image* img, bool dilation)
{
    vx_report(dilation ? "Doing dilation\n" : "Doing erosion\n");
    if (dilation)
        template_point_reflection(f);
    image* result = run_filter(img, f);
    if (dilation)
        template_point_reflection(f);
    return result;
}

image* open_or_close(f_filter* f, image* img, image* mask, double quantile, int mask_kind,
                     int second_op, bool opening)
{
    const unsigned char op = f->op;
    const int iterations = f->iterations;
    const unsigned char use_mask = f->use_mask;
    show_template(f);
    f->use_mask = 0;
    f->op = opening ? FILTER_EROSION : FILTER_DILATION;
    f->quantile = opening ? quantile : 1.0 - quantile;
    image* result = filter_step(f, img, !opening);
    if (result != nullptr) {
        if (mask_kind == 2 || mask_kind == 3) {
            f->mask = mask;
            f->use_mask = 1;
        }
        if (mask_kind == 3)
            f->iterations = 0;
        f->op = static_cast<unsigned char>(second_op);
        f->quantile = opening ? 1.0 - quantile : quantile;
        result = filter_step(f, img, opening);
    }
    f->op = op;
    f->iterations = iterations;
    f->use_mask = use_mask;
    return result;
}

}  // namespace

image* run_opening(f_filter* f, image* img, image* mask, double quantile, int mask_kind,
                   int second_op)
{
    return open_or_close(f, img, mask, quantile, mask_kind, second_op, true);
}

image* run_closing(f_filter* f, image* img, image* mask, double quantile, int mask_kind,
                   int second_op)
{
    return open_or_close(f, img, mask, quantile, mask_kind, second_op, false);
}
