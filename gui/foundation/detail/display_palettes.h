#pragma once

// The built-in display palettes of qimage_frame: entries of four bytes
// (blue, green, red, 0). Block k holds entries 256k .. 256k + 255; in a ramp
// block entry v is the block's colour scaled by v, in a constant block the
// colour at 255.

#include <vector>

namespace display_palettes {

// Grey, cyan, magenta, yellow, red, green, green.
std::vector<unsigned char> grey_value_palette1();
// Grey, cyan, magenta, yellow, blue, red, green, then entry 1792 + j for
// j = 0..n-1: blue j*j, green j*(j-1), red 2*j*j, each mod 255 (none for a
// negative n).
std::vector<unsigned char> grey_value_palette1(int n);
// Grey, cyan, magenta, yellow, blue, red, green.
std::vector<unsigned char> grey_value_palette2();
// Grey ramp; constant blue, green, red, cyan; ramps of red, green, blue.
std::vector<unsigned char> grey_value_palette4();
// The first n + 1 colours of the image core's initColorScrambledPalette(n),
// each int's bytes taken low byte first as blue, green, red, 0; empty when
// the image core refuses n.
std::vector<unsigned char> random_palette(int n);

}  // namespace display_palettes
