#include "automation/preprocessing/rule_roi_extraction.h"

#include <cstddef>
#include <vector>

#include "analyse/display/visual_analyse.h"
#include "analyse/features/region_geometry.h"
#include "analyse/query/query_analysis.h"
#include "analyse/trees/tree_builders.h"
#include "automation/detail/handles.h"
#include "automation/detail/text.h"
#include "imagecore/files/pgm.h"
#include "imagecore/image_arith.h"
#include "imagecore/report.h"
#include "imagecore/text/cnumbers.h"

namespace {

void write_protocol(const std::string& path, const image* grey)
{
    if (write_pgm_p5(path.c_str(), grey) != 0)
        vx_report("ROI Extraction: protocol file %s not written\n", path.c_str());
}

// The first selected region (lowest label), or null.
const tregionnode* first_selected(const std::vector<tregionnode*>& nodes)
{
    for (const tregionnode* node : nodes)
        if (node != nullptr)
            return node;
    return nullptr;
}

}  // namespace

RuleRoiExtraction::RuleRoiExtraction()
{
    setName("ROI Extraction by Scaling and Rule");
}

RuleRoiExtraction::RuleRoiExtraction(const char* path, double scaling, int scales, int a, int b,
                                     const char* updateRule, const char* queryRule)
    : RuleRoiExtraction()
{
    init(path, scaling, scales, a, b, updateRule, queryRule);
}

void RuleRoiExtraction::init(const char* path, double scaling, int scales, int a, int b,
                             const char* updateRule, const char* queryRule)
{
    protocolPath_ = path != nullptr ? path : "";
    scaling_ = scaling;
    scales_ = scales;
    a_ = a;
    b_ = b;
    updateRule_ = updateRule != nullptr ? updateRule : "";
    queryRule_ = queryRule != nullptr ? queryRule : "";
    setParameter(c_format("Protocol Path: %s, Scales: %d, Scaling: %f, Update Rule: %s, Query "
                          "Rule: %s",
                          protocolPath_.c_str(), scales, scaling, updateRule_.c_str(),
                          queryRule_.c_str())
                     .c_str());
}

image* RuleRoiExtraction::apply(const image* input)
{
    if (input == nullptr)
        return nullptr;
    // 1. The scaled grey picture.
    image_handle scaled(scaling_ > 0 ? scale_image(input, scaling_) : nullptr);
    if (scaled == nullptr) {
        vx_report("ROI Extraction: scaling %s gives no picture, the input is kept\n",
                  vx_fixed(scaling_).text);
        return create_copy_image(input);
    }
    image_handle grey(create_copy_image(scaled.get()));
    MeanRGB2Grey(grey.get());
    write_protocol(protocolPath_ + "/ScaledInput.pgm", grey.get());

    // 2. Its tree, with the attributes of the tree's own polarity, queried.
    region_tree_handle tree(compute_tree_no_update(grey.get(), scales_, a_, b_));
    if (tree == nullptr) {
        vx_report("ROI Extraction: no region tree of the scaled picture\n");
        return create_copy_image(scaled.get());
    }
    const int polarity = a_ == 1 ? 1 : 2;
    va_update_region_tree(grey.get(), tree.get(), updateRule_.c_str(), polarity);
    file_based_query_analysis(queryRule_.c_str(), tree.get(), grey.get());
    std::vector<tregionnode*> nodes(static_cast<size_t>(tree->regions) + 1, nullptr);
    qa_reconstruct_nodevector(nodes.data(), tree.get());

    // 3. The first selected region marked in the protocol picture.
    const tregionnode* hit = first_selected(nodes);
    int min_column = 0;
    int min_row = 0;
    int max_column = 0;
    int max_row = 0;
    int* pixels = grey->pixels;
    if (hit != nullptr) {
        for (int k = 0; k < hit->contour_size; ++k)
            pixels[hit->contour[k]] = 510;
        for (int k = 0; k < hit->size; ++k)
            pixels[hit->pixels[k]] += 255;
        rfContourFerretBox(&min_column, &min_row, &max_column, &max_row, hit, grey->width);
    }
    const size_t n = static_cast<size_t>(grey->width) * static_cast<size_t>(grey->height);
    for (size_t i = 0; i < n; ++i)
        if (pixels[i] <= 255)
            pixels[i] = 0;
    write_protocol(c_format("%s/Node_%zu.pgm", protocolPath_.c_str(), nodes.size()), grey.get());

    // 4. The box in the unscaled picture. Its last column and row belong to
    // the region, so the crop ends one past them.
    if (hit == nullptr)
        return create_copy_image(scaled.get());
    return crop_image(
        input, static_cast<int>(min_column / scaling_), static_cast<int>(min_row / scaling_),
        static_cast<int>((max_column + 1) / scaling_), static_cast<int>((max_row + 1) / scaling_));
}

ProcessImage* RuleRoiExtraction::copy()
{
    return new RuleRoiExtraction(*this);
}

RuleRoiExtraction* RuleRoiExtraction::operator=(RuleRoiExtraction& other)
{
    return new RuleRoiExtraction(other);
}
