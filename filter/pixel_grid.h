#pragma once

// Column and row of a pixel position without an integer division per pixel,
// for the queue passes that visit positions in no particular order.
struct pixel_grid {
    int width;
    int height;
    double inv_width;

    pixel_grid(int w, int h) : width(w), height(h), inv_width(1.0 / w) {}

    void locate(int p, int& x, int& y) const
    {
        // The product may miss the true row by one either way.
        y = static_cast<int>(p * inv_width);
        x = p - y * width;
        if (x < 0) {
            --y;
            x += width;
        } else if (x >= width) {
            ++y;
            x -= width;
        }
    }

    // Whether every neighbour of p lies inside the image.
    bool inner(int x, int y) const { return x > 0 && y > 0 && x + 1 < width && y + 1 < height; }
};

// Neighbour steps in the order N, NE, E, SE, S, SW, W, NW (the diagonals are
// the odd indices).
inline constexpr int ring_dx[8] = {0, 1, 1, 1, 0, -1, -1, -1};
inline constexpr int ring_dy[8] = {-1, -1, 0, 1, 1, 1, 0, -1};
