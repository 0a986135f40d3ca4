#pragma once

// The objects of a label image as the comparisons count them. Not part of
// the library's interface.

#include <functional>
#include <vector>

#include "imagecore/image.h"

// Objects are 8-connected sets of pixels of one positive value, numbered
// from 1 in raster order of their first pixel.
struct label_objects {
    int width = 0;
    int height = 0;
    std::vector<int> object_of;  // per pixel: its object, 0 for none
    std::vector<int> labels;     // per object (entry 0 is 0): its pixel value
    std::vector<int> first;      // pixels of object k: pixels[first[k] .. first[k + 1])
    std::vector<int> pixels;     // positions in raster order per object

    int count() const { return static_cast<int>(labels.size()) - 1; }
    int size(int k) const { return first[k + 1] - first[k]; }
};

// The objects of the image whose value `accept` takes (any positive value
// without `accept`). A null image or one without pixels has no objects.
label_objects find_label_objects(const image* img,
                                 const std::function<bool(int)>& accept = nullptr);
