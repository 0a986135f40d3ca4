#pragma once

// The polarity of a partition or region tree: the objects brighter than
// their surroundings (found with openings) or the darker ones (closings).
// The codes travel as int through the libraries and the GUI and are stored
// in files.
enum : int {
    POLARITY_BRIGHT = 1,
    POLARITY_DARK = 2,
};
