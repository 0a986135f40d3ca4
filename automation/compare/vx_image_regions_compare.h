#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "automation/automation_export.h"
#include "imagecore/image.h"

// Object-by-object agreement of two label images A (say the ground truth)
// and B (say a result). Objects are 8-connected sets of pixels of one
// positive value, numbered from 1 in raster order of their first pixel;
// index 0 stands for the background (every other pixel). Every pixel adds
// one to the overlap of its A object and its B object.
//
// The overlap table holds only the pairs that occur, so its memory grows
// with the pixels, never with the product of the object counts.
class AUTOMATION_EXPORT VxImageRegionsCompare {
public:
    // Nothing is compared (the background alone) for a null image or images
    // of different sizes.
    VxImageRegionsCompare(const image* a, const image* b);

    // Objects with the background entry, so at least 1.
    int NumObjectsA() const { return static_cast<int>(classA_.size()); }
    int NumObjectsB() const { return static_cast<int>(classB_.size()); }
    // The number of different label values of the objects.
    int NumClassesA() const { return classesA_; }
    int NumClassesB() const { return classesB_; }
    // The label value of object i (0 for the background); -1 out of range.
    int ClassA(int i) const;
    int ClassB(int i) const;
    // Pixels of A object i in B object j; -1 out of range.
    int SizeAt(int i, int j) const;
    // A objects (from 1) that overlap some B object (from 1), and the reverse.
    int foundAB() const { return foundAB_; }
    int foundBA() const { return foundBA_; }
    // The B objects (from 1) that A object i overlaps, the A objects (from
    // 1) that B object j overlaps; the background entries count the objects
    // that lie partly on background. -1 out of range.
    int foundAB(int i) const;
    int foundBA(int j) const;
    // foundBA over the objects of B, foundAB over the objects of A; 0 when
    // that image has no object.
    double Precision() const;
    double Recall() const;
    // The table row by row (A objects, background first), then "Classes A: "
    // and "Classes B: " with the label values of the objects.
    void printMatrix() const;
    // One more pixel of A object i in B object j; "No valid Index ObjA = %d;
    // ObjB = %d\n" and nothing else for an index out of range.
    void increment(int i, int j);

private:
    void add(int i, int j, int pixels);

    std::vector<int> classA_{0};
    std::vector<int> classB_{0};
    int classesA_ = 0;
    int classesB_ = 0;
    std::unordered_map<uint64_t, int> overlap_;  // key i * NumObjectsB() + j
    std::vector<int> foundPerA_{0};
    std::vector<int> foundPerB_{0};
    int foundAB_ = 0;
    int foundBA_ = 0;
};
