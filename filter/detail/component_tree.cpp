#include "filter/detail/component_tree.h"

#include <algorithm>
#include <numeric>

#include "filter/detail/grey_order.h"
#include "filter/detail/pixel_grid.h"

namespace {

// Pixel positions from the value that joins first (the highest for grey_up)
// to the one that joins last, by a counting sort where the value range
// allows it.
template <class Order>
void sort_for_tree(const int* px, size_t n, int* sorted)
{
    int lo;
    int hi;
    value_range(px, n, lo, hi);
    const long long range = static_cast<long long>(hi) - lo + 1;
    const auto rank = [lo, hi](int v) {
        return static_cast<size_t>(Order::before(0, 1) ? static_cast<long long>(hi) - v
                                                       : static_cast<long long>(v) - lo);
    };
    if (range <= static_cast<long long>(n) + 65536) {
        std::vector<int> start(static_cast<size_t>(range) + 1, 0);
        for (size_t i = 0; i < n; ++i)
            ++start[rank(px[i]) + 1];
        for (size_t r = 1; r < start.size(); ++r)
            start[r] += start[r - 1];
        for (size_t i = 0; i < n; ++i)
            sorted[start[rank(px[i])]++] = static_cast<int>(i);
        return;
    }
    std::iota(sorted, sorted + n, 0);
    std::sort(sorted, sorted + n, [px](int a, int b) {
        return Order::before(px[b], px[a]) || (px[a] == px[b] && a < b);
    });
}

inline int find_root(int* zpar, int p)
{
    while (zpar[p] != p) {
        zpar[p] = zpar[zpar[p]];
        p = zpar[p];
    }
    return p;
}

// Union-find over the pixels in joining order: each pixel becomes the parent
// of the trees of its neighbours met before it. Afterwards every pixel's
// parent is the canonical pixel (the last met) of its own level's
// component, or that of the component below it.
template <int Step>
void link_pixels(const int* px, const int* sorted, const pixel_grid& g, int* parent, int* zpar)
{
    const size_t n = static_cast<size_t>(g.width) * static_cast<size_t>(g.height);
    std::fill(zpar, zpar + n, -1);
    for (size_t i = 0; i < n; ++i) {
        const int p = sorted[i];
        parent[p] = p;
        zpar[p] = p;
        g.for_each_neighbour<Step>(p, [&](int q) {
            if (zpar[q] < 0)
                return;
            const int r = find_root(zpar, q);
            if (r != p) {
                parent[r] = p;
                zpar[r] = p;
            }
        });
    }
    for (size_t i = n; i-- > 0;) {
        const int p = sorted[i];
        const int q = parent[p];
        if (px[parent[q]] == px[q])
            parent[p] = parent[q];
    }
}

}  // namespace

template <class Order>
void build_component_tree(const int* px, int width, int height, bool conn8, int* sorted, int* links,
                          component_tree& tree)
{
    const size_t n = static_cast<size_t>(width) * static_cast<size_t>(height);
    tree.node_of.assign(n, 0);
    tree.parent.clear();
    tree.level.clear();
    if (n == 0)
        return;
    int* index = links;  // union-find links, then the node of each canonical pixel
    int* parent = tree.node_of.data();
    sort_for_tree<Order>(px, n, sorted);
    const pixel_grid g(width, height);
    if (conn8)
        link_pixels<1>(px, sorted, g, parent, index);
    else
        link_pixels<2>(px, sorted, g, parent, index);
    const int root = sorted[n - 1];
    const auto canonical = [&](int p) { return p == root || px[parent[p]] != px[p]; };
    size_t nodes = 0;
    for (size_t i = 0; i < n; ++i)
        nodes += canonical(static_cast<int>(i));
    tree.parent.resize(nodes);
    tree.level.resize(nodes);
    // Numbered from the root on, so that a parent comes before its sons.
    int count = 0;
    for (size_t i = n; i-- > 0;) {
        const int p = sorted[i];
        if (!canonical(p))
            continue;
        index[p] = count;
        tree.parent[count] = p == root ? 0 : index[parent[p]];
        tree.level[count] = px[p];
        ++count;
    }
    for (size_t i = 0; i < n; ++i) {
        const int p = static_cast<int>(i);
        parent[i] = index[canonical(p) ? p : parent[p]];
    }
}

// A node's component reaches the level where the marker's extreme over it
// (joined up from its sons) passes its father's level; the pixels of a node
// whose component does not reach take the value of its father's.
template <class Order>
void reconstruct_by_tree(const component_tree& tree, const int* mask, int* marker, int* value)
{
    const size_t n = tree.node_of.size();
    const int nodes = tree.nodes();
    if (nodes == 0)
        return;
    const int* node_of = tree.node_of.data();
    const int* parent = tree.parent.data();
    const int* level = tree.level.data();
    std::fill(value, value + nodes, Order::floor_value);
    for (size_t p = 0; p < n; ++p) {
        int& v = value[node_of[p]];
        v = Order::join(v, Order::meet(marker[p], mask[p]));
    }
    for (int i = nodes - 1; i > 0; --i)
        value[parent[i]] = Order::join(value[parent[i]], value[i]);
    value[0] = Order::meet(level[0], value[0]);
    for (int i = 1; i < nodes; ++i) {
        const int m = value[i];
        value[i] = Order::before(level[parent[i]], m) ? Order::meet(level[i], m) : value[parent[i]];
    }
    for (size_t p = 0; p < n; ++p)
        marker[p] = value[node_of[p]];
}

template void build_component_tree<grey_up>(const int*, int, int, bool, int*, int*,
                                            component_tree&);
template void build_component_tree<grey_down>(const int*, int, int, bool, int*, int*,
                                              component_tree&);
template void reconstruct_by_tree<grey_up>(const component_tree&, const int*, int*, int*);
template void reconstruct_by_tree<grey_down>(const component_tree&, const int*, int*, int*);
