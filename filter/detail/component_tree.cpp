#include "filter/detail/component_tree.h"

#include <algorithm>
#include <cstdint>
#include <type_traits>

#include "filter/detail/grey_order.h"
#include "imagecore/neighbourhood.h"

namespace {

// Each pixel's rank in joining order (0 for the value that joins first: the
// highest for grey_up), in an array with a frame of outside cells around
// the image; `value` gives each rank's grey value. Ranks are the offsets
// from the first value where the value range allows a table of them, else
// the places among the distinct values.
template <class Order>
void rank_pixels(const int* px, int width, int height, std::vector<int>& rank,
                 std::vector<int>& value)
{
    const size_t n = static_cast<size_t>(width) * static_cast<size_t>(height);
    const size_t stride = static_cast<size_t>(width) + 2;
    rank.assign(stride * (static_cast<size_t>(height) + 2), -1);
    int lo;
    int hi;
    value_range(px, n, lo, hi);
    constexpr bool up = std::is_same<Order, grey_up>::value;
    const long long range = static_cast<long long>(hi) - lo + 1;
    value.clear();
    if (range <= static_cast<long long>(n) + 65536) {
        for (long long r = 0; r < range; ++r)
            value.push_back(static_cast<int>(up ? hi - r : lo + r));
        for (int y = 0; y < height; ++y) {
            const int* row = px + static_cast<size_t>(y) * width;
            int* out = rank.data() + (static_cast<size_t>(y) + 1) * stride + 1;
            for (int x = 0; x < width; ++x)
                out[x] = up ? static_cast<int>(static_cast<long long>(hi) - row[x])
                            : static_cast<int>(static_cast<long long>(row[x]) - lo);
        }
        return;
    }
    value.assign(px, px + n);
    std::sort(value.begin(), value.end(), [](int a, int b) { return Order::before(b, a); });
    value.erase(std::unique(value.begin(), value.end()), value.end());
    for (int y = 0; y < height; ++y) {
        const int* row = px + static_cast<size_t>(y) * width;
        int* out = rank.data() + (static_cast<size_t>(y) + 1) * stride + 1;
        for (int x = 0; x < width; ++x)
            out[x] = static_cast<int>(
                std::lower_bound(value.begin(), value.end(), row[x],
                                 [](int a, int b) { return Order::before(b, a); }) -
                value.begin());
    }
}

// Pixels waiting to be flooded, by rank: a stack per rank threaded through
// `next`, and a bit per rank that holds any, so that the lowest rank held is
// found a word at a time.
class rank_queue {
public:
    rank_queue(size_t cells, int ranks)
        : next_(cells),
          head_(static_cast<size_t>(ranks), -1),
          held_((static_cast<size_t>(ranks) + 63) / 64, 0)
    {}

    void push(int cell, int rank)
    {
        next_[cell] = head_[rank];
        head_[rank] = cell;
        held_[static_cast<size_t>(rank) >> 6] |= uint64_t{1} << (rank & 63);
    }

    // The cell of the lowest rank from `from` on (none below it are held),
    // or -1 when the queue is empty.
    int pop(int from, int& rank)
    {
        size_t w = static_cast<size_t>(from) >> 6;
        uint64_t bits = held_[w] & (~uint64_t{0} << (from & 63));
        while (bits == 0) {
            if (++w == held_.size())
                return -1;
            bits = held_[w];
        }
        rank = static_cast<int>(w * 64 + static_cast<size_t>(__builtin_ctzll(bits)));
        const int cell = head_[rank];
        head_[rank] = next_[cell];
        if (head_[rank] < 0)
            held_[w] &= ~(uint64_t{1} << (rank & 63));
        return cell;
    }

private:
    std::vector<int> next_;
    std::vector<int> head_;
    std::vector<uint64_t> held_;
};

// The flooding of the ranks in joining order, in linear time: from a pixel,
// the neighbours of lower rank are entered at once and the others queued; a
// pixel whose neighbours are all entered or queued joins the component of
// its rank on top of the stack, and the next pixel, of the lowest rank
// queued, closes the components below its rank. The flooding follows the
// image's regions, so that its reads stay close together. `node` receives
// each cell's node; parent and level (a rank) each node's.
template <int Step>
void flood_ranks(const std::vector<int>& rank, int ranks, int stride, std::vector<int>& node,
                 std::vector<int>& parent, std::vector<int>& level)
{
    int offset[8];  // ring_order: the even directions are the 4-neighbourhood
    fill_neighbour_offsets(ring_order, stride, offset);
    std::vector<unsigned char> entered(rank.size());
    for (size_t c = 0; c < rank.size(); ++c)
        entered[c] = rank[c] < 0;
    node.assign(rank.size(), 0);
    rank_queue queue(rank.size(), ranks);
    struct open_component {
        int level;
        int node;
    };
    std::vector<open_component> stack{{ranks, -1}};
    const auto open = [&](int lev) {
        stack.push_back({lev, static_cast<int>(level.size())});
        parent.push_back(-1);
        level.push_back(lev);
    };
    int cur = stride + 1;
    int lev = rank[cur];
    entered[cur] = 1;
    open(lev);
    for (;;) {
        for (int d = 0; d < 8; d += Step) {
            const int q = cur + offset[d];
            if (entered[q])
                continue;
            entered[q] = 1;
            const int r = rank[q];
            if (r >= lev) {
                queue.push(q, r);
                continue;
            }
            queue.push(cur, lev);
            cur = q;
            lev = r;
            open(lev);
            d = -Step;
        }
        node[cur] = stack.back().node;
        int r;
        const int next = queue.pop(lev, r);
        if (next < 0)
            break;
        // Close the components below rank r: each becomes a son of the
        // next one down the stack, or of a new one of rank r.
        while (r > stack.back().level) {
            const open_component top = stack.back();
            stack.pop_back();
            if (r < stack.back().level) {
                open(r);
                parent[top.node] = stack.back().node;
            } else {
                parent[top.node] = stack.back().node;
            }
        }
        cur = next;
        lev = r;
    }
    for (size_t i = stack.size() - 1; i > 1; --i)
        parent[stack[i].node] = stack[i - 1].node;
    parent[stack[1].node] = stack[1].node;
}

}  // namespace

template <class Order>
void build_component_tree(const int* px, int width, int height, bool conn8, component_tree& tree)
{
    const size_t n = static_cast<size_t>(width) * static_cast<size_t>(height);
    tree.node_of.assign(n, 0);
    tree.parent.clear();
    tree.level.clear();
    if (n == 0)
        return;
    std::vector<int> rank;
    std::vector<int> value;
    rank_pixels<Order>(px, width, height, rank, value);
    std::vector<int> node;
    std::vector<int> parent;
    std::vector<int> level;
    const int stride = width + 2;
    if (conn8)
        flood_ranks<1>(rank, static_cast<int>(value.size()), stride, node, parent, level);
    else
        flood_ranks<2>(rank, static_cast<int>(value.size()), stride, node, parent, level);
    // Numbered by rank from the last joined on: the root first, and a
    // parent, always of a later rank, before its sons.
    const size_t nodes = level.size();
    std::vector<int> start(value.size() + 1, 0);
    for (const int l : level)
        ++start[value.size() - 1 - static_cast<size_t>(l) + 1];
    for (size_t i = 1; i < start.size(); ++i)
        start[i] += start[i - 1];
    std::vector<int> index(nodes);
    for (size_t i = 0; i < nodes; ++i)
        index[i] = start[value.size() - 1 - static_cast<size_t>(level[i])]++;
    tree.parent.resize(nodes);
    tree.level.resize(nodes);
    for (size_t i = 0; i < nodes; ++i) {
        tree.parent[static_cast<size_t>(index[i])] = index[static_cast<size_t>(parent[i])];
        tree.level[static_cast<size_t>(index[i])] = value[static_cast<size_t>(level[i])];
    }
    for (int y = 0; y < height; ++y) {
        const int* row = node.data() + (static_cast<size_t>(y) + 1) * stride + 1;
        int* out = tree.node_of.data() + static_cast<size_t>(y) * width;
        for (int x = 0; x < width; ++x)
            out[x] = index[static_cast<size_t>(row[x])];
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

template void build_component_tree<grey_up>(const int*, int, int, bool, component_tree&);
template void build_component_tree<grey_down>(const int*, int, int, bool, component_tree&);
template void reconstruct_by_tree<grey_up>(const component_tree&, const int*, int*, int*);
template void reconstruct_by_tree<grey_down>(const component_tree&, const int*, int*, int*);
