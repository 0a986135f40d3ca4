#pragma once

// The orders in which the libraries visit the eight neighbours of a pixel,
// and the one test of whether a neighbour lies inside the image. Labels,
// contour starts, queue orders and watershed lines all depend on the order
// in which neighbours are met, so every neighbour loop names one of these
// orders instead of keeping a table of its own.

// One order of the eight neighbours: the column and row step of each
// direction, rows growing downwards.
struct neighbour_order {
    int dx[8];
    int dy[8];

    // The direction's offset in a row-major array whose rows lie `stride`
    // cells apart.
    constexpr int offset(int direction, int stride) const
    {
        return dy[direction] * stride + dx[direction];
    }
};

// N, E, S, W, NE, SE, SW, NW: the order of the image record's nb_offsets and
// of every offset table handed to the labelling and contour functions. The
// first four directions form the 4-neighbourhood.
inline constexpr neighbour_order nb_order{{0, 1, 0, -1, 1, 1, -1, -1}, {-1, 0, 1, 0, -1, 1, 1, -1}};
// The directions of nb_order by name.
enum nb_direction : int {
    NB_NORTH,
    NB_EAST,
    NB_SOUTH,
    NB_WEST,
    NB_NORTH_EAST,
    NB_SOUTH_EAST,
    NB_SOUTH_WEST,
    NB_NORTH_WEST,
};

// N, NE, E, SE, S, SW, W, NW: clockwise round the pixel, the order of the
// filter library's queue passes. The even directions form the
// 4-neighbourhood.
inline constexpr neighbour_order ring_order{{0, 1, 1, 1, 0, -1, -1, -1},
                                            {-1, -1, 0, 1, 1, 1, 0, -1}};

// E, NE, N, NW, W, SW, S, SE: the Freeman chain directions of contour
// tracing, counter-clockwise on the screen, so that a turn is an addition
// modulo 8 and the odd directions are the diagonals.
inline constexpr neighbour_order freeman_order{{1, 1, 0, -1, -1, -1, 0, 1},
                                               {0, -1, -1, -1, 0, 1, 1, 1}};

// W, NW, N, NE, E, SE, S, SW: clockwise from the west, the order of the
// Moore tracing that tests whether a basin encloses a region.
inline constexpr neighbour_order moore_order{{-1, -1, 0, 1, 1, 1, 0, -1},
                                             {0, -1, -1, -1, 0, 1, 1, 1}};

// N, E, S, W, NW, NE, SE, SW: the chain-code order of contour ordering.
inline constexpr neighbour_order chaincode_order{{0, 1, 0, -1, -1, 1, 1, -1},
                                                 {-1, 0, 1, 0, -1, -1, 1, 1}};

// W, N, E, S, NW, SW, NE, SE: the order in which the neighbourhood minimum
// and maximum try their candidates (the first of equal values wins).
inline constexpr neighbour_order extremum_order{{-1, 0, 1, 0, -1, -1, 1, 1},
                                                {0, -1, 0, 1, -1, 1, -1, 1}};

// Neighbours that a connectivity stands for: 8 for 8, else 4.
constexpr int neighbour_count(int connectivity)
{
    return connectivity == 8 ? 8 : 4;
}

// Fills offsets[0..7] with the order's offsets for rows `stride` apart.
inline void fill_neighbour_offsets(const neighbour_order& order, int stride, int* offsets)
{
    for (int d = 0; d < 8; ++d)
        offsets[d] = order.offset(d, stride);
}

// Whether column x, row y lies inside a width x height image.
constexpr bool inside_image(int x, int y, int width, int height)
{
    return x >= 0 && y >= 0 && x < width && y < height;
}

// Whether all eight neighbours of the pixel at column x, row y lie inside
// the image: the pixel is neither on the border nor outside. Loops test
// single neighbours only for pixels that are not interior.
constexpr bool interior_pixel(int x, int y, int width, int height)
{
    return x > 0 && y > 0 && x + 1 < width && y + 1 < height;
}

// Whether neighbour `direction` of the pixel at column x, row y lies inside
// the image.
constexpr bool neighbour_inside(const neighbour_order& order, int direction, int x, int y,
                                int width, int height)
{
    return inside_image(x + order.dx[direction], y + order.dy[direction], width, height);
}

// The same for the nb_offsets order.
constexpr bool neighbour_in_image(int direction, int x, int y, int width, int height)
{
    return neighbour_inside(nb_order, direction, x, y, width, height);
}

// Calls visit(direction) for every Step-th of the first `count` directions
// of the order whose neighbour of the pixel at (x, y) lies inside the image,
// in the order's sequence.
template <int Step = 1, class Visit>
inline void for_each_neighbour_inside(const neighbour_order& order, int count, int x, int y,
                                      int width, int height, Visit&& visit)
{
    if (interior_pixel(x, y, width, height)) {
        for (int d = 0; d < count; d += Step)
            visit(d);
        return;
    }
    for (int d = 0; d < count; d += Step)
        if (neighbour_inside(order, d, x, y, width, height))
            visit(d);
}
