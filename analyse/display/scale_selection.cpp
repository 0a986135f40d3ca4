#include "analyse/display/scale_selection.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "analyse/detail/position_walk.h"
#include "analyse/trees/tree_walk.h"

namespace {

bool lives_at(const tregionnode* node, int scale)
{
    return node->birth <= scale &&
           static_cast<long>(scale) < static_cast<long>(node->birth) + node->age;
}

// The scale walk: paint(node) for the first node alive at the scale on each
// branch for which paint_it(node) holds; living nodes refused by paint_it
// and nodes not alive pass the walk on to their sons.
template <class PaintIt, class Paint>
void scale_walk(tregionnode* node, int scale, PaintIt paint_it, Paint paint)
{
    walk_preorder_pruned(node, [&](tregionnode* n) {
        if (!lives_at(n, scale) || !paint_it(n))
            return true;
        paint(n);
        return false;
    });
}

void paint_contours(int* pixels, int limit, tregionnode* node, int scale, int value)
{
    scale_walk(
        node, scale, [](const tregionnode*) { return true; },
        [&](const tregionnode* n) {
            for_each_outer_contour(n, limit, [&](int p) { pixels[p] = value; });
        });
}

void paint_young_contours(int* pixels, int limit, tregionnode* node, int max_age, int scale,
                          int value)
{
    scale_walk(
        node, scale, [max_age](const tregionnode* n) { return n->age < max_age; },
        [&](const tregionnode* n) {
            for_each_outer_contour(n, limit, [&](int p) { pixels[p] = value; });
        });
}

void paint_contours_and_labels(int* contour_pixels, int contour_limit, int* area_pixels,
                               int area_limit, tregionnode* node, int scale, int value)
{
    scale_walk(
        node, scale, [](const tregionnode*) { return true; },
        [&](const tregionnode* n) {
            for_each_outer_contour(n, contour_limit, [&](int p) { contour_pixels[p] = value; });
            for_each_pixel(n, area_limit, [&](int p) { area_pixels[p] = n->label; });
        });
}

const image* grey_of(const region_tree* tree)
{
    const vx_image* attr = tree->attr_image;
    return attr != nullptr && attr->nscales > 0 ? &attr->scales[0] : nullptr;
}

}  // namespace

void regions_in_scale(int* pixels, tregionnode* node, int scale, int value)
{
    paint_contours(pixels, INT_MAX, node, scale, value);
}

void regions_in_scale_young(int* pixels, tregionnode* node, int max_age, int scale, int value)
{
    paint_young_contours(pixels, INT_MAX, node, max_age, scale, value);
}

void regions_in_scale_area_contour(int* contour_pixels, int* area_pixels, tregionnode* node,
                                   int scale, int value)
{
    paint_contours_and_labels(contour_pixels, INT_MAX, area_pixels, INT_MAX, node, scale, value);
}

void select_scale(image* dst, image* labels, region_tree* tree, int scale, int value, int mode)
{
    const image* grey = grey_of(tree);
    if (grey == nullptr)
        return;
    if (mode == 2) {
        select_scale_over(dst, labels, grey, tree, scale, value);
        return;
    }
    copy_image(dst, grey);
    update_image_struct(dst);
    if (mode == 1)
        paint_young_contours(dst->pixels, image_pixel_count(dst), tree->root, tree->scales, scale,
                             dst->max);
}

void select_scale_over(image* dst, image* labels, const image* grey, region_tree* tree, int scale,
                       int value)
{
    copy_image(dst, grey);
    update_image_struct(dst);
    paint_contours_and_labels(dst->pixels, image_pixel_count(dst), labels->pixels,
                              image_pixel_count(labels), tree->root, scale, value);
}

void select_scale_contours(image* dst, region_tree* tree, int scale, int value)
{
    const image* grey = grey_of(tree);
    if (grey == nullptr)
        return;
    image* copy = create_copy_image(grey);
    const int n = image_pixel_count(copy);
    paint_contours(copy->pixels, n, tree->root, scale, value);
    const int copied = std::min(n, image_pixel_count(dst));
    if (copied > 0)
        std::memcpy(dst->pixels, copy->pixels, sizeof(int) * static_cast<size_t>(copied));
    delete_image(copy);
}
