#pragma once

#include <vector>

#include "automation/automation_export.h"
#include "imagecore/image.h"

// The objects of a label image, for display: every positive pixel not yet
// in an object starts a new object of its value, the 8-connected pixels of
// that value. Objects are numbered from 0 in raster order of their first
// pixel.
class AUTOMATION_EXPORT VxObjectStatistics {
public:
    // A null image has no objects.
    explicit VxObjectStatistics(const image* labels);

    // The largest label + 1 (1 when no pixel is positive).
    int RangeOfClasses() const { return range_; }
    // The labels that have objects.
    int NumClasses() const { return static_cast<int>(classes_.size()); }
    // Objects of label k; -1 unless 0 < k < RangeOfClasses().
    int NumberInClass(int k) const;
    int NumObjects() const { return static_cast<int>(labels_.size()); }
    // -1 (null) out of range. The pixel list is borrowed: positions in
    // raster order.
    int ObjectSize(int i) const;
    const int* ObjectPixels(int i) const;
    // The label of the object (at its first pixel).
    int ObjectLabel(int i) const;

private:
    struct label_count {
        int label;
        int objects;
    };

    int range_ = 1;
    std::vector<label_count> classes_;  // ascending labels
    std::vector<int> labels_;           // per object
    std::vector<int> first_;            // pixels of object i: pixels_[first_[i] .. first_[i + 1])
    std::vector<int> pixels_;
};
