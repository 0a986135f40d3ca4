#pragma once

// Size of a nearest-neighbour rescale by factor: (int)(factor * width) x
// (int)(factor * height). False when the factor is not a positive finite
// number, or the size has a side below 1 or does not fit an image.
bool scaled_size(int width, int height, double factor, int* out_width, int* out_height);

// Nearest-neighbour resampling: target pixel (column c, row r) takes source
// pixel (column int(c / factor), row int(r / factor)).
void resample_nearest(const int* in, int width, int height, int* out, int out_width, int out_height,
                      double factor);
