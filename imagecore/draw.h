#pragma once

#include "imagecore/image.h"
#include "imagecore/vximage_export.h"

struct iqueue;

// Drawing into images, clipped to the image, and small numeric helpers.

// Sets the pixels of the segment from (x0, y0) to (x1, y1): one pixel per
// step along the longer axis, the other coordinate advancing by the slope and
// truncated. Equal end points set one pixel.
VXIMAGE_EXPORT void draw_line(image* img, int value, int x0, int y0, int x1, int y1);
// Sets one pixel when it lies inside.
VXIMAGE_EXPORT void set_point_in_image(image* img, int column, int row, int value);
// Paints an elliptic marker of about `area` pixels centred on (column, row):
// semi-axes A = int(sqrt(area / 3.1417 * numerator / denominator)) and
// B = int(denominator / numerator * A), the first one turned by `angle`
// (radians). Nothing is drawn when A or B is 0. The marker is painted row by
// row and needs no work queue; q is accepted for the callers that pass one.
VXIMAGE_EXPORT void draw_ellipse(image* img, int value, int area, int column, int row,
                                 int numerator, int denominator, double angle, iqueue* q);
// x * (x-1) * ... while the factor stays > 0.
VXIMAGE_EXPORT double fact(double x);
// Rounds half away from zero.
VXIMAGE_EXPORT double crint(double x);
// a*x*x + b*y*y + 2*c*x*y + d.
VXIMAGE_EXPORT double scan_gradient(double x, double y, double a, double b, double c, double d);
// 1 while (x, y) differs from (x1, y1).
VXIMAGE_EXPORT int pos_not_reached(int x, int y, int x1, int y1);
