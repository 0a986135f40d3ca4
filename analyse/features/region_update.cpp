#include "analyse/features/region_update.h"

#include <cmath>
#include <cstdint>

#include "analyse/features/detail/feature_pass.h"

namespace {

// The pass without rule over subtrees of one multiscale grey image.
class plain_pass {
public:
    explicit plain_pass(vx_image* grey) : counter_(&grey->scales[0]), scales_(grey->nscales) {}

    void run(tregionnode* node)
    {
        walk_pre_post(
            node, [this](tregionnode* n) { own_fields(n); },
            [](tregionnode* n) {
                n->decompentropy = decomposition_entropy(n);
                n->decomp_homogeneity = son_count(n) > 0 ? 1.0 - n->decompentropy : 0.0;
            });
    }

private:
    // Everything but the decomposition entropy; the father's fields are
    // already current.
    void own_fields(tregionnode* n)
    {
        n->life_quotient = static_cast<double>(n->birth) / scales_;
        const grey_stats s = counter_.measure(n->pixels, n->pixels != nullptr ? n->size : 0);
        store_grey_stats(n, s);
        n->homogeneity = 1.0 - n->greyentropy;
        n->stddev = std::sqrt(n->variance);
        const double turns =
            static_cast<double>(static_cast<int64_t>(n->left) + n->right + n->ahead);
        n->roundness = 12.59 * n->size / (turns * turns);
        n->convexity = 1.0 - static_cast<double>(n->right) / n->left;
        n->contrast = static_cast<double>(s.volume) / n->size;
        if (const tregionnode* f = n->father) {
            n->convexity_quotient = n->convexity / f->convexity;
            n->birth_quotient = 1.0 - static_cast<double>(n->birth) / f->birth;
            n->area_quotient = static_cast<double>(n->size) / f->size;
            n->areafraction_quotient = n->size / f->areafraction;
            n->contrast_quotient = n->contrast / f->contrast;
            n->roundness_quotient = n->roundness / f->roundness;
            n->min_diameter_quotient = static_cast<double>(n->min_width) / f->min_width;
            n->max_diameter_quotient = static_cast<double>(n->max_width) / f->max_width;
        }
        const int k = son_count(n);
        n->areafraction = k > 0 ? static_cast<double>(n->size) / k : 0.0;
    }

    grey_counter counter_;
    int scales_;
};

}  // namespace

void region_update(tregionnode* node, vx_image* grey)
{
    if (node == nullptr || grey == nullptr || grey->nscales < 1)
        return;
    plain_pass(grey).run(node);
}

void region_tree_update(region_tree* tree, int reference)
{
    vx_image* grey = tree->attr_image;
    if (grey == nullptr || grey->nscales < 1)
        return;
    image* g = &grey->scales[0];
    update_image_struct(g);
    tregionnode* root = tree->root;
    const int value = reference == 1 ? g->max : g->min;
    set_root_shape(root, g->width, g->height, reference_volume(g, root, value));
    clear_root_quotients(root);
    plain_pass pass(grey);
    for (tregionnode* son : sons_of(root))
        pass.run(son);
}
