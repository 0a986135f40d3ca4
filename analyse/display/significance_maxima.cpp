#include "analyse/display/significance_maxima.h"

#include "analyse/detail/position_walk.h"
#include "analyse/trees/tree_walk.h"

void region_eval(vx_image* img, int mode, tregionnode* node, double best)
{
    if (img == nullptr || img->nscales < 1)
        return;
    image* s = &img->scales[0];
    const int n = image_pixel_count(s);
    // The painted value is fixed at the start: painting does not update max.
    const int value = static_cast<int>(static_cast<unsigned>(s->max) + 1u);
    const auto paint = [&](const tregionnode* t) {
        const auto set = [&](int p) { s->pixels[p] = value; };
        if (mode == 1)
            for_each_outer_contour(t, n, set);
        else
            for_each_pixel(t, n, set);
    };

    // Each son is evaluated with the best that its father's loop had reached
    // when it came to that son.
    walk_preorder_handing_down(node, best, [&](tregionnode* t, double b, const auto& hand) {
        if (t->min_width < t->birth || t->sons == nullptr)
            return;
        for (tregionnode* son : sons_of(t)) {
            if (t->significance > son->significance && t->significance >= b) {
                paint(t);
                b = t->significance;
            }
            hand(son, b);
        }
    });
}

void region_tree_eval(int mode, region_tree* tree)
{
    for (tregionnode* son : sons_of(tree->root))
        region_eval(tree->attr_image, mode, son, 0.0);
}
