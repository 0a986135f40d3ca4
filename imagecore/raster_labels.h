#pragma once

// Connected components numbered as floods from their first pixels in raster
// order would number them, in two raster passes: each pixel takes a
// provisional label from its neighbours met before it (W, N and with 8
// neighbours NW, NE), the labels of one component joined in a union-find
// forest whose links point to smaller labels, so that a component's root is
// the label of its first pixel; then the roots are numbered in order.

#include <utility>

// Root of provisional label a, halving the path on the way.
inline int find_label_root(int* parent, int a)
{
    while (parent[a] != a) {
        parent[a] = parent[parent[a]];
        a = parent[a];
    }
    return a;
}

// Joins the trees of provisional labels a and b; returns the root, the
// smaller label.
inline int join_labels(int* parent, int a, int b)
{
    a = find_label_root(parent, a);
    b = find_label_root(parent, b);
    if (a > b)
        std::swap(a, b);
    parent[b] = a;
    return a;
}

// The label a pixel takes from the neighbours met before it (labels above 0,
// anything else is no label), or 0 or below when it starts a new one. Of
// those neighbours, the ones next to each other are joined already: with 8
// neighbours only NE and one of W, NW can still belong to different trees.
inline int label_from_met_neighbours(int west, int north_west, int north, int north_east,
                                     bool eight, int* parent)
{
    if (eight) {
        const int left = west > 0 ? west : north_west;
        if (north > 0)
            return north;
        if (left > 0)
            return north_east > 0 ? join_labels(parent, left, north_east) : left;
        return north_east;
    }
    return north > 0 && west > 0 ? join_labels(parent, north, west) : north > 0 ? north : west;
}

// Numbers the roots of provisional labels 1 .. labels in order from 1 on;
// afterwards parent[a] is label a's number. Returns the count of numbers.
inline int number_label_roots(int* parent, int labels)
{
    int count = 0;
    for (int a = 1; a <= labels; ++a)
        parent[a] = parent[a] == a ? ++count : parent[parent[a]];
    return count;
}
