#include "analyse/features/detail/feature_pass.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "analyse/detail/position_walk.h"
#include "imagecore/report.h"

double decomposition_entropy(const tregionnode* node)
{
    const int k = son_count(node);
    if (k == 0)
        return 1.0;
    double sum = 0.0;
    for (const tregionnode* son : sons_of(node))
        sum += son->area_quotient * feature_log2(son->area_quotient);
    return -sum / feature_log2(k);
}

double father_area_quotient(const tregionnode* node)
{
    if (node->father == nullptr)
        return 1.0;
    return static_cast<double>(node->size) / node->father->size;
}

void store_grey_stats(tregionnode* node, const grey_stats& s)
{
    node->volume = saturate_to_int(s.volume);
    node->greyentropy = s.entropy;
    node->variance = s.variance;
    node->meangrey = s.mean;
}

void set_root_shape(tregionnode* root, int width, int height, int64_t volume)
{
    const int lo = std::min(width, height);
    const int hi = std::max(width, height);
    const double perimeter = 2.0 * (static_cast<double>(lo) + hi);
    root->min_width = lo;
    root->max_width = hi;
    root->roundness = perimeter * perimeter / (12.59 * root->size);
    root->convexity = 1.0;
    root->volume = saturate_to_int(volume);
    root->contrast = static_cast<double>(volume) / root->size;
    const int k = son_count(root);
    root->areafraction = k > 0 ? root->size / k : 0;
    root->decomp_homogeneity = 0.0;
    root->significance = 0.0;
}

void clear_root_quotients(tregionnode* root)
{
    root->convexity_quotient = 0.0;
    root->area_quotient = 0.0;
    root->contrast_quotient = 0.0;
    root->roundness_quotient = 0.0;
    root->min_diameter_quotient = 0.0;
    root->max_diameter_quotient = 0.0;
}

bool grey_fits_tree(const region_tree* tree, const image* grey)
{
    if (grey->width == tree->width && grey->height == tree->height)
        return true;
    vx_report("Image of %d x %d does not fit tree %s of %d x %d\n", grey->width, grey->height,
              tree->name, tree->width, tree->height);
    return false;
}

int64_t image_volume(const image* grey)
{
    const size_t n = static_cast<size_t>(grey->width) * static_cast<size_t>(grey->height);
    int64_t sum = 0;
    for (size_t p = 0; p < n; ++p)
        sum += grey->pixels[p];
    return sum - static_cast<int64_t>(n) * grey->min;
}

int64_t reference_volume(const image* grey, const tregionnode* node, int reference)
{
    int64_t sum = 0;
    for_each_pixel(node, image_pixel_count(grey), [&](int p) {
        sum += std::llabs(static_cast<int64_t>(grey->pixels[p]) - reference);
    });
    return sum;
}
