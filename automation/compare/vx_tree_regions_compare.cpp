#include "automation/compare/vx_tree_regions_compare.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "analyse/trees/regiontree.h"
#include "analyse/trees/tree_walk.h"
#include "automation/compare/detail/label_objects.h"
#include "imagecore/report.h"

namespace {

constexpr double kOutOfRange = -5000.0;

}  // namespace

VxTreeRegionsCompare::VxTreeRegionsCompare(region_tree* tree, const image* groundTruth,
                                           const int* labels, int n)
{
    if (tree == nullptr || tree->root == nullptr || groundTruth == nullptr)
        return;
    if (groundTruth->width != tree->width || groundTruth->height != tree->height) {
        vx_report("Different image and tree dimension\n Image = (%d,%d)\n Tree= (%d,%d)\nQUIT\n",
                  groundTruth->width, groundTruth->height, tree->width, tree->height);
        return;
    }
    const std::vector<int> valid(labels, labels + std::max(n, 0) * (labels != nullptr));
    label_objects objects = find_label_objects(groundTruth, [&valid](int v) {
        return valid.empty() || std::find(valid.begin(), valid.end(), v) != valid.end();
    });
    if (objects.width == 0)
        return;

    tree_ = tree;
    width_ = tree->width;
    height_ = tree->height;
    compared_ = true;
    rtInitNodelist(tree);
    // A region holds its sons' pixels and the lines between them. Painted
    // fathers first, each pixel ends with the smallest region below the root
    // that holds it: there its count starts, to go up to every father.
    image* starts = create_image(width_, height_, -1);
    walk_preorder(tree->root, [starts, root = tree->root](tregionnode* n) {
        n->bu_mark = -1;
        if (n != root)
            paint_region(starts, n, n->label);
    });
    startLabels_.assign(starts->pixels, starts->pixels + static_cast<size_t>(width_) * height_);
    delete_image(starts);
    // Object i of this class is object i + 1 of the labelling.
    objectFirst_.assign(objects.first.begin() + 1, objects.first.end());
    objectPixels_ = std::move(objects.pixels);
    compareByPath();
}

void VxTreeRegionsCompare::compareByPath()
{
    const int objects = static_cast<int>(objectFirst_.size()) - 1;
    match_.assign(static_cast<size_t>(std::max(objects, 0)), best{-1.0, nullptr});
    union_.assign(match_.size(), best{0.0, nullptr});
    if (!compared_)
        return;
    const int entries = std::max(tree_->regions, 0) + 2;
    // Per node for the object at hand: the pixels it holds itself (as a
    // start) and the pixels it holds in all; `*Owner` says which object a
    // count belongs to, so nothing is cleared between objects. The two stay
    // apart because a start may lie on the walk up from another start.
    std::vector<int> own(static_cast<size_t>(entries), 0);
    std::vector<int> ownOwner(static_cast<size_t>(entries), -1);
    std::vector<int> overlap(static_cast<size_t>(entries), 0);
    std::vector<int> overlapOwner(static_cast<size_t>(entries), -1);
    std::vector<int> starts;
    std::vector<int> touched;
    for (int i = 0; i < objects; ++i) {
        // 1. Pixels per start region, in the order the object's pixels meet
        //    them.
        starts.clear();
        for (int k = objectFirst_[i]; k < objectFirst_[i + 1]; ++k) {
            const int start = startLabels_[objectPixels_[k]];
            if (start < 0 || start >= entries || tree_->nodes[start] == nullptr)
                continue;
            if (ownOwner[start] != i) {
                ownOwner[start] = i;
                own[start] = 0;
                starts.push_back(start);
            }
            ++own[start];
        }
        // 2. Each start's own count goes up to it and every father below the
        //    root.
        touched.clear();
        for (int start : starts)
            walk_to_root(tree_->nodes[start], [&](tregionnode* node) {
                if (node->father == nullptr)
                    return false;
                const int label = node->label;
                if (label < 0 || label >= entries)
                    return true;
                if (overlapOwner[label] != i) {
                    overlapOwner[label] = i;
                    overlap[label] = 0;
                    touched.push_back(label);
                }
                overlap[label] += own[start];
                return true;
            });
        // 3. Measure every node the object overlaps.
        const int o = objectFirst_[i + 1] - objectFirst_[i];
        for (int label : touched) {
            tregionnode* node = tree_->nodes[label];
            const int c = overlap[label];
            const int s = node->size;
            const double q = (s + std::abs(c - o) - c) / static_cast<double>(c);
            const double u = c / static_cast<double>(s + std::abs(c - o));
            if (match_[i].node == nullptr || std::fabs(q) < std::fabs(match_[i].quality))
                match_[i] = {q, node};
            if (u > union_[i].quality)
                union_[i] = {u, node};
        }
    }
}

double VxTreeRegionsCompare::MatchQualityObject(int i) const
{
    return i >= 0 && i < NumObjects() ? match_[i].quality : kOutOfRange;
}

double VxTreeRegionsCompare::UnionQualityObject(int i) const
{
    return i >= 0 && i < NumObjects() ? union_[i].quality : kOutOfRange;
}

tregionnode* VxTreeRegionsCompare::NodeMatchObject(int i) const
{
    return i >= 0 && i < NumObjects() ? match_[i].node : nullptr;
}

tregionnode* VxTreeRegionsCompare::NodeUnionObject(int i) const
{
    return i >= 0 && i < NumObjects() ? union_[i].node : nullptr;
}

bool VxTreeRegionsCompare::matched(int i, double t) const
{
    return match_[i].node != nullptr && match_[i].quality >= 0.0 && match_[i].quality <= t;
}

bool VxTreeRegionsCompare::unionAbove(int i, double t) const
{
    return union_[i].node != nullptr && std::fabs(union_[i].quality) > t;
}

template <class Take>
VxTreeRegionsCompare::total VxTreeRegionsCompare::totalOf(const std::vector<best>& bests,
                                                          Take take) const
{
    total sum;
    for (int i = 0; i < NumObjects(); ++i)
        if (take(i)) {
            sum.quality += bests[i].quality;
            ++sum.objects;
        }
    return sum;
}

VxTreeRegionsCompare::total VxTreeRegionsCompare::matchedTotal(double t) const
{
    return totalOf(match_, [this, t](int i) { return matched(i, t); });
}

VxTreeRegionsCompare::total VxTreeRegionsCompare::unionTotal(double t) const
{
    return totalOf(union_, [this, t](int i) { return unionAbove(i, t); });
}

double VxTreeRegionsCompare::perObject(const total& sum) const
{
    return NumObjects() > 0 ? sum.quality / NumObjects() : 0.0;
}

int VxTreeRegionsCompare::NumObjectsQuality(double t) const
{
    return matchedTotal(t).objects;
}

double VxTreeRegionsCompare::avgQualityMatched(double t) const
{
    return matchedTotal(t).mean();
}

double VxTreeRegionsCompare::avgQualityAll(double t) const
{
    return perObject(matchedTotal(t));
}

double VxTreeRegionsCompare::avgQualityUnion(double t) const
{
    return unionTotal(t).mean();
}

double VxTreeRegionsCompare::avgQualityAllUnions(double t) const
{
    return perObject(unionTotal(t));
}

template <class Take>
image* VxTreeRegionsCompare::paintedImage(Take take, const std::vector<best>& bests) const
{
    if (!compared_)
        return nullptr;
    image* out = create_image(width_, height_, 0);
    const long size = static_cast<long>(width_) * height_;
    const long objects = NumObjects();
    for (int i = 0; i < NumObjects(); ++i) {
        if (!take(i))
            continue;
        const tregionnode* node = bests[i].node;
        const int value = static_cast<int>(i * 127L / objects) + 128;
        for (int k = 0; node->pixels != nullptr && k < node->size; ++k)
            if (node->pixels[k] >= 0 && node->pixels[k] < size)
                out->pixels[node->pixels[k]] = value;
    }
    return out;
}

image* VxTreeRegionsCompare::getBestMatchRegionsImage(double t) const
{
    return paintedImage([this, t](int i) { return matched(i, t); }, match_);
}

image* VxTreeRegionsCompare::getBestUnionRegionsImage(double t) const
{
    return paintedImage([this, t](int i) { return unionAbove(i, t); }, union_);
}
