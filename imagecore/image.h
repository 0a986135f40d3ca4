#pragma once

#include "imagecore/neighbourhood.h"
#include "imagecore/vximage_export.h"

struct iqueue;

// Pixel kinds of an image record.
enum : unsigned char {
    IMAGE_GREY = 1,    // one grey value per pixel
    IMAGE_RGB = 2,     // packed colour R + G*256 + B*65536
    IMAGE_GREY16 = 4,  // 16-bit grey from a "16BG" file
};

// One two-dimensional image of int pixels, row-major: the pixel at column x,
// row y is pixels[y * width + x].
struct image {
    int width;
    int height;
    int min;
    int max;
    int connect;  // 4, 8 or -1 (not set)
    int* pixels;
    double* dpixels;       // only for double images
    iqueue* update_queue;  // borrowed work queues, never owned
    iqueue* label_queue;
    unsigned char kind;
    int* aux;
    int aux_len;
    // Offsets of the neighbours N, E, S, W, NE, SE, SW, NW; the first four
    // form the 4-neighbourhood.
    int nb_offsets[8];
};

// Fills offsets[0..7] for an image of the given width, in nb_offsets order
// (nb_order of neighbourhood.h).
VXIMAGE_EXPORT void set_nb_offsets(int* offsets, int width);

VXIMAGE_EXPORT image* create_image(int width, int height, int value);
VXIMAGE_EXPORT image* create_double_image(int width, int height, double value);
VXIMAGE_EXPORT image* init_image(image* img);
VXIMAGE_EXPORT image* create_copy_image(const image* src);
VXIMAGE_EXPORT image* copy_image(image* dst, const image* src);
// Gives dst a copy of src's aux array (reallocated when dst's is shorter)
// and src's aux_len.
VXIMAGE_EXPORT void copy_image_aux(image* dst, const image* src);
VXIMAGE_EXPORT void erase_image(image* img, int value);
VXIMAGE_EXPORT void delete_image(image* img);
VXIMAGE_EXPORT int update_image_struct(image* img);
VXIMAGE_EXPORT void set_image_connect(image* img, int c);
VXIMAGE_EXPORT int get_image_connect(const image* img);
VXIMAGE_EXPORT void equalize_image(image* img, double top);
VXIMAGE_EXPORT int compare_images(const image* a, const image* b);

// Whether the neighbour index + offset lies inside the image without wrapping
// across a row edge. Offsets of the 4-neighbourhood are recognised before the
// diagonal ones, so that east and west are right at every width; loops over a
// neighbour table should prefer neighbour_in_image, which knows the direction.
VXIMAGE_EXPORT int new_position_in_image(int offset, int index, int width, int height);
