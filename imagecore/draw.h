#pragma once

#include "imagecore/image.h"

struct iqueue;

// Drawing into images (clipped to the image) and small numeric helpers.
void draw_line(image* img, int value, int x0, int y0, int x1, int y1);
void set_point_in_image(image* img, int column, int row, int value);
void draw_ellipse(image* img, int value, int area, int column, int row, int numerator,
                  int denominator, double angle, iqueue* q);
double fact(double x);
double crint(double x);
double scan_gradient(double x, double y, double a, double b, double c, double d);
int pos_not_reached(int x, int y, int x1, int y1);
