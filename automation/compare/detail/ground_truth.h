#pragma once

// Ground-truth files of the comparison drivers. Not part of the library's
// interface.

#include <string>
#include <vector>

#include "automation/detail/handles.h"
#include "automation/repository/vx_repository.h"
#include "imagecore/image.h"

// The ground truth of one image of a comparison.
struct ground_truth {
    std::string image;     // the image's name
    std::string name;      // the file name: the image name, or with a tag the
                           // name cut at its last '.' followed by ".<tag>.png"
    std::string path;      // "<directory>/<name>"
    image_handle picture;  // the low byte of every pixel; null when unreadable
};

// The image name itself without a tag; with one, the name cut at its last
// '.' followed by ".<tag>.png".
std::string tagged_name(const char* imageName, const char* tag);

// The ground truth of the repository's image with that index, for the row
// of that number (from 0) of `rows`: prints "%d/%d, %s\n" (row number from
// 1, rows, path), then reads the file with the repository's ReadImage; a
// file that cannot be read gives a message.
ground_truth read_ground_truth(VxRepository& repository, int image, int row, int rows,
                               const char* directory, const char* tag);

// After a comparison: prints "No ground truth for %d of %d images: %s\n"
// with the names of the images whose ground truth could not be read, joined
// by ", "; nothing when there are none.
void report_without_ground_truth(const std::vector<std::string>& images, int total);
