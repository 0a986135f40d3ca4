#pragma once

#include "imagecore/image.h"
#include "imagecore/vximage_export.h"

// Multiscale image: one image record per scale in one contiguous array;
// scale 0 is the finest.
struct vx_image {
    int nscales;
    int flag;
    int width;
    int height;
    image* scales;
};

VXIMAGE_EXPORT vx_image* init_vx_image(int width, int height, int nscales);
VXIMAGE_EXPORT vx_image* init_vximage_from_single_image(const image* src, int nscales, int flag);
VXIMAGE_EXPORT vx_image* init_vximage(const vx_image* src, int flag);
VXIMAGE_EXPORT vx_image* init_vximage_from_single(const vx_image* src, int nscales, int flag);
VXIMAGE_EXPORT void delete_vximage(vx_image* v);
VXIMAGE_EXPORT image* get_scale(const vx_image* v, int s);
VXIMAGE_EXPORT void erase_vximage(vx_image* v);
// Scale 0 resampled by nearest neighbour into a new one-scale image; null
// when src has no scale or the factor gives no valid size or a side below 1.
VXIMAGE_EXPORT vx_image* scale_vximage(const vx_image* src, double factor);
