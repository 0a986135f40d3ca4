#include "imagecore/array_utils.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <utility>

#include "imagecore/heap_array.h"
#include "imagecore/image.h"
#include "imagecore/neighbourhood.h"

namespace {

constexpr const char* kNoSortBuffer = "Could not alloc sort buffer -> PANIC";

template <class Better>
int n_get_extremum(int position, const int* pixels, int width, int height, int n, Better better)
{
    if (width <= 0 || height <= 0 || position < 0 || position / width >= height)
        return -1;
    const int y = position / width;
    const int x = position - y * width;
    int best = position;
    for (int d = 0; d < neighbour_count(n); ++d) {
        if (!neighbour_inside(extremum_order, d, x, y, width, height))
            continue;
        const int candidate = (y + extremum_order.dy[d]) * width + x + extremum_order.dx[d];
        if (better(pixels[candidate], pixels[best]))
            best = candidate;
    }
    return best;
}

// NaN sorts after every number, which keeps the order strict and weak.
bool before(double a, double b)
{
    return a < b || (std::isnan(b) && !std::isnan(a));
}

}  // namespace

int n_get_min(int position, const int* pixels, int width, int height, int n)
{
    return n_get_extremum(position, pixels, width, height, n, [](int a, int b) { return a < b; });
}

int n_get_max(int position, const int* pixels, int width, int height, int n)
{
    return n_get_extremum(position, pixels, width, height, n, [](int a, int b) { return a > b; });
}

int get_array_max(const int* values, int n)
{
    return n <= 0 ? -1 : static_cast<int>(std::max_element(values, values + n) - values);
}

int get_array_min(const int* values, int n)
{
    return n <= 0 ? -1 : static_cast<int>(std::min_element(values, values + n) - values);
}

void get_darray_min_max(const double* values, int n, int* min_index, int* max_index)
{
    *min_index = *max_index = n <= 0 ? -1 : 0;
    for (int i = 1; i < n; ++i) {
        if (before(values[i], values[*min_index]))
            *min_index = i;
        if (before(values[*max_index], values[i]))
            *max_index = i;
    }
}

int get_array_val(const int* values, int n, int key)
{
    for (int i = 0; i < n; ++i)
        if (values[i] == key)
            return i;
    return -1;
}

int value_in_array(const int* values, int n, int key, int* index)
{
    const int at = get_array_val(values, n, key);
    *index = at < 0 ? 0 : at;
    return at >= 0;
}

void quicksort(int* values, int first, int last)
{
    if (first < last)
        std::sort(values + first, values + last + 1);
}

void msort(double* values, int* companions, int n)
{
    if (n <= 1)
        return;
    const size_t count = static_cast<size_t>(n);
    const heap_array<int> order =
        make_heap_array<int>(count, exit_code::out_of_memory, kNoSortBuffer);
    std::iota(order.get(), order.get() + n, 0);
    std::stable_sort(order.get(), order.get() + n,
                     [values](int a, int b) { return before(values[a], values[b]); });
    const heap_array<double> sorted =
        make_heap_array<double>(count, exit_code::out_of_memory, kNoSortBuffer);
    for (int i = 0; i < n; ++i)
        sorted[i] = values[order[i]];
    std::copy(sorted.get(), sorted.get() + n, values);
    if (companions == nullptr)
        return;
    // Each slot of order is read once before it is overwritten.
    for (int i = 0; i < n; ++i)
        order[i] = companions[order[i]];
    std::copy(order.get(), order.get() + n, companions);
}

void swap(int* values, int i, int j)
{
    std::swap(values[i], values[j]);
}

void invert_array(int* values, int n)
{
    // Negation through unsigned arithmetic, so that INT_MIN stays INT_MIN
    // instead of overflowing.
    for (int i = 0; i < n; ++i)
        values[i] = static_cast<int>(0u - static_cast<unsigned>(values[i]));
}

void flip_horizontal(int* values, int rows, int columns)
{
    for (int r = 0; r < rows; ++r)
        std::reverse(values + static_cast<long>(r) * columns,
                     values + static_cast<long>(r + 1) * columns);
}

void flip_vertical(int* values, int rows, int columns)
{
    for (int top = 0, bottom = rows - 1; top < bottom; ++top, --bottom)
        std::swap_ranges(values + static_cast<long>(top) * columns,
                         values + static_cast<long>(top + 1) * columns,
                         values + static_cast<long>(bottom) * columns);
}

void mirror_xy(int* values, int n, int n2)
{
    if (n != n2)
        return;
    // (r, c) and (n-1-c, n-1-r) trade places; the anti-diagonal stays.
    for (int r = 0; r < n; ++r)
        for (int c = 0; r + c < n - 1; ++c)
            std::swap(values[static_cast<long>(r) * n + c],
                      values[static_cast<long>(n - 1 - c) * n + (n - 1 - r)]);
}
