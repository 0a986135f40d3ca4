#pragma once

class QFont;

// Enlarges a too small application font: a pixel size of 1 to 11 becomes 20
// pixels, then a point size of 1 to 13 becomes 14 points, each change with
// its line on standard output. True when the font changed.
bool vx_enlarge_small_font(QFont& font);
