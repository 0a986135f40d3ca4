#pragma once

// The selected (active) regions of the bright and the dark tree of one image
// and the overlay image that codes, per pixel, how they overlap; and the
// display images that combine a grey image with those codes.

#include "analyse/analyse_export.h"
#include "analyse/trees/region_types.h"
#include "imagecore/image.h"

// Overlay codes of contour_update_dual_analyse.
enum : int {
    OVERLAY_NONE = 0,
    OVERLAY_CONTOUR = 1,                 // a contour of one polarity only
    OVERLAY_BRIGHT_ON_DARK_CONTOUR = 2,  // bright contour on a dark contour
    OVERLAY_BRIGHT_CONTOUR_IN_DARK = 3,  // bright contour on a dark interior
    OVERLAY_BRIGHT_ON_DARK_EDGE = 4,     // bright interior on a dark contour
    OVERLAY_BRIGHT_IN_DARK = 5,          // bright interior on a dark interior
    OVERLAY_BRIGHT = 6,                  // bright interior only
    OVERLAY_DARK = 7,                    // dark interior only
};

struct dual_analyse {
    int dark_size;               // dark tree's regions + 1: entries of dark_nodes
    int bright_size;             // bright tree's regions + 1: entries of bright_nodes
    tregionnode** dark_nodes;    // active dark regions by label; null = not active (borrowed)
    tregionnode** bright_nodes;  // active bright regions by label
    image* overlay;              // overlay codes, or the combined values after an output
    image* aux_image1;           // owned, zero, read by no operation
    image* aux_image2;
    int active_dark;  // non-null dark entries at the last contour update
    int active_bright;
};

// The one-tree counterpart: the single-tree outputs read only `overlay`,
// which the caller fills with the overlay codes of one tree.
struct single_analyse {
    int size;
    tregionnode** nodes;
    image* overlay;
    int active;
};

// New record for the pair of trees: node arrays of regions + 1 null entries,
// three zero images of the size of the bright tree's attribute image (of the
// tree itself when it has none).
ANALYSE_EXPORT dual_analyse* init_dual_analyse(region_tree* bright, region_tree* dark);
// Frees the arrays (not the nodes), the images and the record; accepts null.
ANALYSE_EXPORT void delete_dual_analyse(dual_analyse* dva);

// Recomputes the overlay codes from the active nodes and stores the counts.
ANALYSE_EXPORT void contour_update_dual_analyse(dual_analyse* dva);

// Filled display: v = code * 256 + grey, stored in the overlay and the output.
ANALYSE_EXPORT void update_dual_analyse_output(image* output, image* grey, dual_analyse* dva);
// Contour display: codes up to 4 give code * 255 + grey, the others grey.
ANALYSE_EXPORT void update_dual_analyse_contour_output(image* output, image* grey,
                                                       dual_analyse* dva);
ANALYSE_EXPORT void update_single_analyse_output(image* output, image* grey, single_analyse* sa);
// Codes up to 4 give code * 256 + grey, the others grey.
ANALYSE_EXPORT void update_single_analyse_contour_output(image* output, image* grey,
                                                         single_analyse* sa);

// Every pixel p := 255 - p.
ANALYSE_EXPORT void invert_va_output(image* img);
// Kept for the display callers; they have no effect.
ANALYSE_EXPORT void create_va_output();
ANALYSE_EXPORT void va_adapt_colormap();
// New width x height image holding i mod 256 at raster index i.
ANALYSE_EXPORT image* va_init_fourier_display(int width, int height);
