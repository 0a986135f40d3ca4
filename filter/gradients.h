#pragma once

#include "imagecore/image.h"

// Internal gradient: scratch := erosion of img; img := img - scratch (>= 0).
void neg_gradient(image* img, image* scratch, int conn);

// External gradient: scratch := dilation of img - img, then the two pixel
// arrays are exchanged, so img holds the gradient and scratch the former img.
void pos_gradient(image* img, image* scratch, int conn);
