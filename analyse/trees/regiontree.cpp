#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "analyse/trees/detail/traced_region_node.h"
#include "analyse/trees/regiontree.h"
#include "analyse/trees/tree_walk.h"
#include "imagecore/fatal.h"
#include "imagecore/label.h"
#include "imagecore/queue.h"
#include "imagecore/report.h"

namespace {

constexpr const char* kNoArea = "Cannot alloc Memory for new Area -> PANIC";

enum class gather { one_pass, pass_per_son };

// State of one pass of leaf updates over a labelled partition scale. The
// scratch vectors live as long as the pass, so leaves allocate nothing but
// their sons.
class scale_update {
public:
    scale_update(image* labels, int scale, int nlabels, int* counts)
        : labels_(labels),
          scale_(scale),
          nlabels_(nlabels),
          npixels_(labels->width * labels->height),
          counts_(counts),
          first_pos_(static_cast<size_t>(std::max(nlabels, 0)), -1)
    {
        // Where each label first occurs: a start search for a region never
        // needs to look before it.
        for (int p = 0; p < npixels_; ++p) {
            const int l = labels->pixels[p];
            if (valid(l) && first_pos_[l] < 0)
                first_pos_[l] = p;
        }
    }

    // Ages the leaf or splits it; a leaf without a father (the root) and
    // every leaf when `force_split` is set gets a son even for one label.
    void update(tregionnode* leaf, bool force_split, gather how)
    {
        count(leaf);
        if (touched_.empty())
            return;
        if (touched_.size() == 1 && !force_split && leaf->father != nullptr) {
            ++leaf->age;
            --leaf->birth;
            counts_[touched_[0]] = 0;
            touched_.clear();
            return;
        }
        build_sons(leaf, how);
    }

    // Sets the outer contour pixels of every son made to 0, the sons' own
    // pixels on the image border included. Only once the whole scale is
    // done: a basin of this scale may reach into several leaves, whose counts
    // and traces must all see its label.
    void zero_contours()
    {
        for (const tregionnode* son : made_)
            for (int k = 0; k < son->contour_size; ++k)
                labels_->pixels[son->contour[k]] = 0;
        made_.clear();
    }

private:
    bool valid(int label) const { return label > 0 && label < nlabels_; }

    bool inside(int p) const { return static_cast<unsigned>(p) < static_cast<unsigned>(npixels_); }

    void count(const tregionnode* leaf)
    {
        const int* lab = labels_->pixels;
        for (int k = 0; k < leaf->size; ++k) {
            const int p = leaf->pixels[k];
            if (!inside(p))
                continue;
            const int l = lab[p];
            if (valid(l) && counts_[l]++ == 0)
                touched_.push_back(l);
        }
    }

    void build_sons(tregionnode* leaf, gather how)
    {
        std::sort(touched_.begin(), touched_.end());
        const size_t nsons = touched_.size();
        sons_.resize(nsons);
        fill_.resize(nsons);
        for (size_t i = 0; i < nsons; ++i) {
            const int l = touched_[i];
            sons_[i] = static_cast<int*>(vx_calloc(static_cast<size_t>(counts_[l]), sizeof(int),
                                                   exit_code::region_tree_out_of_memory, kNoArea));
            fill_[i] = 0;
            sizes_.push_back(counts_[l]);
            counts_[l] = static_cast<int>(i);  // from here on: label -> son index
        }
        const int* lab = labels_->pixels;
        if (how == gather::one_pass) {
            for (int k = 0; k < leaf->size; ++k) {
                const int p = leaf->pixels[k];
                if (inside(p) && valid(lab[p])) {
                    const int i = counts_[lab[p]];
                    sons_[i][fill_[i]++] = p;
                }
            }
        } else {
            for (size_t i = 0; i < nsons; ++i)
                for (int k = 0; k < leaf->size; ++k) {
                    const int p = leaf->pixels[k];
                    if (inside(p) && lab[p] == touched_[i])
                        sons_[i][fill_[i]++] = p;
                }
        }
        for (size_t i = 0; i < nsons; ++i) {
            const int l = touched_[i];
            counts_[l] = 0;
            tregionnode* son =
                init_traced_region_node(leaf, scale_, sizes_[i], sons_[i], labels_, first_pos_[l]);
            add_region_son(leaf, son);
            made_.push_back(son);
        }
        touched_.clear();
        sizes_.clear();
    }

    image* labels_;
    int scale_;
    int nlabels_;
    int npixels_;
    int* counts_;
    std::vector<int> first_pos_;
    std::vector<int> touched_;
    std::vector<int> sizes_;
    std::vector<int*> sons_;
    std::vector<int> fill_;
    std::vector<const tregionnode*> made_;
};

}  // namespace

int regiontree_add_scale(image* partition, region_tree* tree, int scale, int conn)
{
    const int nlabels = label_image_local(partition, conn);
    partition->connect = conn;
    vx_report(" %d Regions to Update\n", nlabels);
    iqueue* q = init_iqueue(partition->width * partition->height);
    partition->update_queue = q;
    int* counts = static_cast<int*>(vx_calloc(static_cast<size_t>(nlabels), sizeof(int),
                                              exit_code::region_tree_out_of_memory, kNoArea));
    region_leafs_update(partition, tree->root, scale, nlabels, counts);
    partition->update_queue = nullptr;
    delete_iqueue(q);
    std::free(counts);
    tree->regions = count_regions(tree->root);
    return tree->regions;
}

void region_leafs_update(image* labels, tregionnode* node, int scale, int nlabels, int* counts)
{
    scale_update pass(labels, scale, nlabels, counts);
    walk_preorder(node, [&pass](tregionnode* n) {
        if (is_leaf(n))
            pass.update(n, false, gather::one_pass);
    });
    pass.zero_contours();
}

void region_leaf_update(image* labels, tregionnode* leaf, int scale, int nlabels, int* counts)
{
    scale_update(labels, scale, nlabels, counts).update(leaf, false, gather::one_pass);
}

void init_son_regions_list(image* labels, tregionnode* leaf, int scale, int nlabels, int* counts)
{
    scale_update(labels, scale, nlabels, counts).update(leaf, true, gather::one_pass);
}

void init_son_regions_list_backup(image* labels, tregionnode* leaf, int scale, int nlabels,
                                  int* counts)
{
    scale_update(labels, scale, nlabels, counts).update(leaf, true, gather::pass_per_son);
}
