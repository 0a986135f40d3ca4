#pragma once

// The records shared by every part of the region library: region nodes,
// region trees and attribute vectors. Their operations live in the headers
// named for each concern (regiontree.h, attributes.h, ...).

#include "imagecore/list.h"
#include "imagecore/vx_image.h"

struct attrib_array;

// One region of a bright or dark region tree.
struct tregionnode {
    int label;       // index into the tree's node array (see numbering)
    int file_index;  // number in the tree file, breadth-first
    int birth;       // finest scale at which the region exists
    int age;         // consecutive scales of life: birth .. birth + age - 1
    int max_width;
    int min_width;
    int left;  // turns and steps of the outer contour walk
    int right;
    int ahead;
    int ambiguity;  // 1 when the walk had to search its start pixel
    tregionnode* father;
    int elemset_offset;  // offset into the tree's shared pixel array while a file is written
    int owns_pixels;     // 1 when `pixels` is the node's own heap block
    int nsons;
    list* sons;  // entries are tregionnode pointers; null for a leaf
    int size;
    int* pixels;  // positions row * width + column
    int contour_size;
    int* contour;
    int inner_contour_size;
    int* inner_contour;
    int selection;
    int volume;
    double life_quotient;
    double decomp_homogeneity;
    double decompentropy;
    double homogeneity;
    double greyentropy;
    double variance;
    double stddev;
    int meangrey;
    double areafraction;
    double contrast;
    double roundness;
    double convexity;
    double convexity_quotient;
    double birth_quotient;
    double area_quotient;
    double areafraction_quotient;
    double contrast_quotient;
    double roundness_quotient;
    double min_diameter_quotient;
    double max_diameter_quotient;
    double significance;
    int td_mark;
    int bu_mark;
    int region_class;  // class of the region, 0 for none
    double centroidX;
    double centroidY;
    double centroidXn;
    double centroidYn;
    double orientation;
    double paxisn;
    double aaxisn;
    int paxis;
    int aaxis;
    attrib_array* attribs;
    double meangreyn;
    int maxx;
    int minx;
    int maxy;
    int miny;
    int maxgrey;
    int mingrey;
    int border;  // border flags: 1 top row, 2 last column, 4 last row, 8 first column
};

using t_rnode = tregionnode;

// The regions of one polarity of one image across all scales.
struct region_tree {
    int regions;  // node count including the root
    int width;
    int height;
    int scales;
    int update;
    tregionnode** nodes;  // indexed by label
    vx_image* attr_image;
    tregionnode* root;
    tregionnode* root2;
    int* attr_buffer;
    int* elemset;  // shared pixel array of a tree read from a file
    char name[1024];
};

// One named, typed attribute value.
enum : int { ATTRIB_STRING = 1, ATTRIB_INT = 2, ATTRIB_DOUBLE = 3 };

struct attrib_entry {
    char name[28];
    int type;
    char svalue[28];
    int ivalue;
    double dvalue;
    int valid;
};

// A region's attribute vector: the 35 base attributes, then one per symbol
// of the update rule. Readers iterate `capacity` entries.
struct attrib_array {
    attrib_entry* entries;
    int count;
    int capacity;
};

inline constexpr int NUM_BASE_ATTRIBUTES = 35;
