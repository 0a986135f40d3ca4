#pragma once

// A repository names the tree files of an image from its stem: the file name
// less its folder and last extension. Two images of one stem, such as a.png
// and a.pgm, would so share their tree files, and one would be given the
// other's trees.

#include <string>
#include <vector>

#include "automation/automation_export.h"

// For every image of the list, the index of the first other image of the
// same stem but another name; -1 when there is none. The same name twice is
// one image and shares nothing.
AUTOMATION_EXPORT std::vector<int> images_of_same_stem(const std::vector<std::string>& images);
