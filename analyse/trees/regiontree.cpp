#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "analyse/handles.h"
#include "analyse/trees/detail/scale_refinement.h"
#include "analyse/trees/detail/traced_region_node.h"
#include "analyse/trees/regiontree.h"
#include "analyse/trees/tree_walk.h"
#include "filter/tree_workers.h"
#include "imagecore/fatal.h"
#include "imagecore/handles.h"
#include "imagecore/label.h"
#include "imagecore/queue.h"
#include "imagecore/report.h"

namespace {

constexpr const char* kNoArea = "Cannot alloc Memory for new Area -> PANIC";

enum class gather { one_pass, pass_per_son };

// Leaf updates over a labelled partition scale, by one worker over the
// leaves it is given: a leaf that meets one label ages, one that meets more
// (and the root, and every leaf when a split is forced) gets a son per label
// in ascending label order. The sons are made untraced and listed in `made`.
// The scratch vectors live as long as the updater, so leaves allocate
// nothing but their sons.
class leaf_updater {
public:
    // `counts` is a table of nlabels zeros, left zero again; first_pos[l]
    // is where label l first occurs.
    leaf_updater(image* labels, int scale, int nlabels, int* counts, const int* first_pos,
                 std::vector<scale_sons::son>& made)
        : labels_(labels),
          scale_(scale),
          nlabels_(nlabels),
          npixels_(labels->width * labels->height),
          counts_(counts),
          first_pos_(first_pos),
          made_(made)
    {}

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
        sons_.assign(nsons, nullptr);
        fill_.resize(nsons);
        // The arrays no son node owns yet go when memory runs out.
        size_t owned = 0;
        try {
            for (size_t i = 0; i < nsons; ++i) {
                const int l = touched_[i];
                sons_[i] =
                    static_cast<int*>(vx_calloc(static_cast<size_t>(counts_[l]), sizeof(int),
                                                exit_code::region_tree_out_of_memory, kNoArea));
                fill_[i] = 0;
                sizes_.push_back(counts_[l]);
                counts_[l] = static_cast<int>(i);  // from here on: label -> son index
            }
            gather_pixels(leaf, how);
            for (size_t i = 0; i < nsons; ++i) {
                const int l = touched_[i];
                counts_[l] = 0;
                region_node_handle son(
                    init_traced_region_node(leaf, scale_, sizes_[i], sons_[i], nullptr, 0));
                owned = i + 1;
                add_region_son(leaf, son.get());
                made_.push_back({son.release(), first_pos_[l]});
            }
        } catch (...) {
            for (size_t i = owned; i < nsons; ++i)
                std::free(sons_[i]);
            throw;
        }
        touched_.clear();
        sizes_.clear();
    }

    void gather_pixels(const tregionnode* leaf, gather how)
    {
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
            for (size_t i = 0; i < sons_.size(); ++i)
                for (int k = 0; k < leaf->size; ++k) {
                    const int p = leaf->pixels[k];
                    if (inside(p) && lab[p] == touched_[i])
                        sons_[i][fill_[i]++] = p;
                }
        }
    }

    image* labels_;
    int scale_;
    int nlabels_;
    int npixels_;
    int* counts_;
    const int* first_pos_;
    std::vector<scale_sons::son>& made_;
    std::vector<int> touched_;
    std::vector<int> sizes_;
    std::vector<int*> sons_;
    std::vector<int> fill_;
};

// Where each label first occurs in the labelled scale: a contour's start
// search never needs to look before it. Labels numbered in raster order of
// their first pixels (by label_image_local) have their first occurrences in
// label order, so that one comparison per pixel finds them.
std::vector<int> first_positions(const image* labels, int nlabels, bool raster_numbered)
{
    std::vector<int> first(static_cast<size_t>(std::max(nlabels, 0)), -1);
    const int n = labels->width * labels->height;
    if (raster_numbered) {
        int next = 1;
        for (int p = 0; p < n && next < nlabels; ++p)
            if (labels->pixels[p] == next)
                first[next++] = p;
        return first;
    }
    for (int p = 0; p < n; ++p) {
        const int l = labels->pixels[p];
        if (l > 0 && l < nlabels && first[l] < 0)
            first[l] = p;
    }
    return first;
}

// The leaves of the subtree in pre-order.
std::vector<tregionnode*> leaves_of(tregionnode* node)
{
    std::vector<tregionnode*> leaves;
    walk_preorder(node, [&leaves](tregionnode* n) {
        if (is_leaf(n))
            leaves.push_back(n);
    });
    return leaves;
}

// Leaves handed to a worker at a time.
constexpr size_t kLeavesPerRun = 64;

// One leaf's update with its sons traced at once.
void update_one_leaf(image* labels, tregionnode* leaf, int scale, int nlabels, int* counts,
                     bool force_split, gather how)
{
    scale_sons sons;
    sons.labels = labels;
    const std::vector<int> first = first_positions(labels, nlabels, false);
    leaf_updater(labels, scale, nlabels, counts, first.data(), sons.made)
        .update(leaf, force_split, how);
    for (const scale_sons::son& s : sons.made)
        trace_region_node(s.node, labels, s.scan_from);
}

}  // namespace

labelled_scale label_partition_scale(image* partition, int conn)
{
    labelled_scale l;
    l.labels = partition;
    l.nlabels = label_image_local(partition, conn);
    partition->connect = conn;
    l.first_pos = first_positions(partition, l.nlabels, true);
    return l;
}

void refine_tree_by_scale(const labelled_scale& l, region_tree* tree, int scale, int workers,
                          scale_sons& sons)
{
    vx_report(" %d Regions to Update\n", l.nlabels);
    sons.labels = l.labels;
    const std::vector<tregionnode*> leaves = leaves_of(tree->root);
    const int runs = static_cast<int>((leaves.size() + kLeavesPerRun - 1) / kLeavesPerRun);
    const int threads = std::max(1, std::min(workers, runs));
    std::vector<std::vector<scale_sons::son>> made(static_cast<size_t>(threads));
    std::atomic<int> next{0};
    run_tree_threads(threads, [&](int t) {
        std::vector<int> counts(static_cast<size_t>(std::max(l.nlabels, 1)), 0);
        leaf_updater updater(l.labels, scale, l.nlabels, counts.data(), l.first_pos.data(),
                             made[static_cast<size_t>(t)]);
        for (int r = next++; r < runs; r = next++) {
            const size_t end = std::min(leaves.size(), static_cast<size_t>(r + 1) * kLeavesPerRun);
            for (size_t i = static_cast<size_t>(r) * kLeavesPerRun; i < end; ++i)
                updater.update(leaves[i], false, gather::one_pass);
        }
    });
    for (const auto& m : made)
        sons.made.insert(sons.made.end(), m.begin(), m.end());
    tree->regions = count_regions(tree->root);
}

void trace_scale_sons(scale_sons& sons)
{
    image* labels = sons.labels;
    const iqueue_handle q(init_iqueue(4096));
    labels->update_queue = q.get();
    for (const scale_sons::son& s : sons.made)
        trace_region_node(s.node, labels, s.scan_from);
    labels->update_queue = nullptr;
    for (const scale_sons::son& s : sons.made)
        for (int k = 0; k < s.node->contour_size; ++k)
            labels->pixels[s.node->contour[k]] = 0;
    sons.made.clear();
}

int regiontree_add_scale(image* partition, region_tree* tree, int scale, int conn)
{
    const labelled_scale l = label_partition_scale(partition, conn);
    scale_sons sons;
    refine_tree_by_scale(l, tree, scale, 1, sons);
    trace_scale_sons(sons);
    return tree->regions;
}

// The sons' traces come after all leaves are counted and split and their
// contours are zeroed only after all traces: a basin of this scale may reach
// into several leaves, whose counts and traces must all see its label.
void region_leafs_update(image* labels, tregionnode* node, int scale, int nlabels, int* counts)
{
    scale_sons sons;
    sons.labels = labels;
    const std::vector<int> first = first_positions(labels, nlabels, false);
    leaf_updater updater(labels, scale, nlabels, counts, first.data(), sons.made);
    for (tregionnode* leaf : leaves_of(node))
        updater.update(leaf, false, gather::one_pass);
    iqueue* saved = labels->update_queue;
    trace_scale_sons(sons);
    labels->update_queue = saved;
}

void region_leaf_update(image* labels, tregionnode* leaf, int scale, int nlabels, int* counts)
{
    update_one_leaf(labels, leaf, scale, nlabels, counts, false, gather::one_pass);
}

void init_son_regions_list(image* labels, tregionnode* leaf, int scale, int nlabels, int* counts)
{
    update_one_leaf(labels, leaf, scale, nlabels, counts, true, gather::one_pass);
}

void init_son_regions_list_backup(image* labels, tregionnode* leaf, int scale, int nlabels,
                                  int* counts)
{
    update_one_leaf(labels, leaf, scale, nlabels, counts, true, gather::pass_per_son);
}
