#pragma once

#include <vector>

#include "analyse/trees/region_types.h"
#include "automation/automation_export.h"
#include "imagecore/image.h"

// The region of a tree that best matches each object of a ground-truth
// label image. An object is an 8-connected set of pixels of one positive
// value from the label list (any positive value when the list is empty),
// numbered in raster order of its first pixel.
//
// For an object of o pixels and a region of s pixels of which c lie in the
// object (all of its pixels, also those of the lines between its sons), the
// match quality is q = (s + |c - o| - c) / c, the wrong pixels
// per overlapping pixel (0 = identical), and the union quality u = c / (s +
// |c - o|), the overlap over the union (1 = identical). Every region below
// the root that overlaps the object is measured for it, whatever other
// objects share its pixels. The best match is the region of least q (the
// first measured on ties, regions before their fathers in raster order of the
// object's pixels); an object that no region overlaps keeps q = -1 and no
// node. Only 0 <= q <= t counts as matched below, so that at t = 0 identical
// regions match.
//
// Cost: every region's pixels painted once, then the object pixels plus, per
// object, the regions its pixels start in times their depth; memory linear
// in pixels and regions, however many objects there are.
class AUTOMATION_EXPORT VxTreeRegionsCompare {
public:
    // Compares at once. The tree is borrowed: its node array is rebuilt by
    // file index (rtInitNodelist) and its bu_marks reset. Nothing is
    // compared (no objects) for a null tree or image, and for an image of
    // another size than the tree, which prints "Different image and tree
    // dimension\n Image = (%d,%d)\n Tree= (%d,%d)\nQUIT\n" (widths and heights).
    VxTreeRegionsCompare(region_tree* tree, const image* groundTruth, const int* labels, int n);

    // Measures every object again (the constructor has done so).
    void compareByPath();

    int NumObjects() const { return static_cast<int>(match_.size()); }
    // -5000 out of range.
    double MatchQualityObject(int i) const;
    double UnionQualityObject(int i) const;
    // The best nodes, borrowed from the tree; null out of range or when the
    // object has none.
    tregionnode* NodeMatchObject(int i) const;
    tregionnode* NodeUnionObject(int i) const;

    // Objects matched with 0 <= q <= t.
    int NumObjectsQuality(double t) const;
    // The mean q of the matched objects; 0 when none.
    double avgQualityMatched(double t) const;
    // The sum of their q over the number of all objects; 0 without objects.
    double avgQualityAll(double t) const;
    // The mean union quality of the objects whose u > t; 0 when none.
    double avgQualityUnion(double t) const;
    // The sum of those u over the number of all objects; 0 without objects.
    double avgQualityAllUnions(double t) const;

    // A new zero image of the tree's size (the caller frees it) where the
    // best node of every matched object i (0 <= q <= t) carries
    // i * 127 / objects + 128; null when nothing was compared.
    image* getBestMatchRegionsImage(double t) const;
    // The same with the union nodes of the objects whose u > t.
    image* getBestUnionRegionsImage(double t) const;

private:
    struct best {
        double quality;
        tregionnode* node;
    };

    bool matched(int i, double t) const;
    bool unionAbove(int i, double t) const;
    // A sum of qualities and the number of objects summed.
    struct total {
        double quality = 0.0;
        int objects = 0;

        double mean() const { return objects > 0 ? quality / objects : 0.0; }
    };

    template <class Take>
    total totalOf(const std::vector<best>& bests, Take take) const;
    // Over the matched objects, over the objects whose u > t.
    total matchedTotal(double t) const;
    total unionTotal(double t) const;
    // The sum over the number of all objects; 0 without objects.
    double perObject(const total& sum) const;
    template <class Take>
    image* paintedImage(Take take, const std::vector<best>& bests) const;

    region_tree* tree_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    bool compared_ = false;
    // Per pixel: the label of the smallest region below the root holding it,
    // -1 for none.
    std::vector<int> startLabels_;
    std::vector<int> objectFirst_;  // pixels of object i: objectPixels_[first[i] .. first[i + 1])
    std::vector<int> objectPixels_;
    std::vector<best> match_;
    std::vector<best> union_;
};
