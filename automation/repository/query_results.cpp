// One query on one tree, and the images of its hits.
#include <algorithm>
#include <string>

#include "analyse/query/query_analysis.h"
#include "automation/detail/handles.h"
#include "automation/detail/text.h"
#include "automation/repository/detail/repository_paths.h"
#include "automation/repository/vx_repository.h"
#include "imagecore/report.h"

namespace {

// Sets the listed positions that lie inside the target.
void set_positions(image* target, const int* positions, int count, int value)
{
    const long pixels = static_cast<long>(target->width) * target->height;
    for (int k = 0; positions != nullptr && k < count; ++k)
        if (positions[k] >= 0 && positions[k] < pixels)
            target->pixels[positions[k]] = value;
}

}  // namespace

int VxRepository::applyQuery(region_tree* tree, const char* ruleFile, tregionnode** nodes,
                             int count, image* grey)
{
    if (tree == nullptr)
        return 0;
    if (nodes == nullptr || count < tree->regions + 1) {
        vx_report("applyQuery: a node vector of %d entries for a tree of %d regions\n", count,
                  tree->regions);
        return 0;
    }
    file_based_query_analysis(ruleFile, tree, grey);
    std::fill(nodes, nodes + count, nullptr);
    qa_reconstruct_nodevector(nodes, tree);
    int hits = 0;
    for (int k = 0; k < count; ++k)
        if (nodes[k] != nullptr) {
            hitList += c_format(",%d ", nodes[k]->file_index);
            ++hits;
        }
    return hits;
}

void VxRepository::setResultImage(int value, tregionnode** nodes, int n, image* target)
{
    if (target == nullptr)
        return;
    for (int k = 0; nodes != nullptr && k < n; ++k)
        if (nodes[k] != nullptr)
            set_positions(target, nodes[k]->pixels, nodes[k]->size, value);
}

void VxRepository::writeResultImage(const char* a, const char* b, int, tregionnode** nodes, int n,
                                    image* grey, char* name)
{
    if (grey == nullptr || name == nullptr)
        return;
    copy_cut(name, 1024,
             dot_stem(text_or_empty(a)) + "." + dot_stem(text_or_empty(b)) + "." + imageFormat,
             "writeResultImage");
    image_handle result(create_copy_image(grey));
    for (int k = 0; nodes != nullptr && k < n; ++k)
        if (nodes[k] != nullptr)
            set_positions(result.get(), nodes[k]->contour, nodes[k]->contour_size, 510);
    writeImageGrey((resultPath + "/" + name).c_str(), result.get());
}
