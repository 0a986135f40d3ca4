#include "analyse/trees/contour.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "analyse/trees/detail/contour_walk.h"
#include "imagecore/fatal.h"
#include "imagecore/neighbourhood.h"
#include "imagecore/queue.h"
#include "imagecore/report.h"

namespace {

// Directions of the boundary walk, in freeman_order.
constexpr int kNorth = 2;
constexpr int kWest = 4;
constexpr int kSouth = 6;

struct region_view {
    const int* labels;
    int width;
    int height;
    int value;

    bool belongs(int x, int y) const
    {
        return inside_image(x, y, width, height) && labels[y * width + x] == value;
    }
    bool neighbour_belongs(int x, int y, int direction) const
    {
        return belongs(x + freeman_order.dx[direction], y + freeman_order.dy[direction]);
    }
};

// The line-neighbour marking behind all set_zero_neighbors forms.
template <bool Queue, bool Border>
int mark_line_neighbours(int position, int width, int height, int* labels, const int* offsets,
                         int conn, int first, iqueue* q)
{
    const int n = neighbour_count(conn);
    const int x = position % width;
    const int y = position / width;
    int marked = 0;
    bool on_border = false;
    for (int k = 0; k < n; ++k) {
        const int i = (first + k) % n;
        if (!neighbour_in_image(i, x, y, width, height)) {
            on_border = on_border || i < 4;
            continue;
        }
        const int nb = position + offsets[i];
        if (labels[nb] != 0)
            continue;
        labels[nb] = CONTOUR_OUTER;
        if constexpr (Queue)
            queue_push(nb, q);
        ++marked;
    }
    if constexpr (Border) {
        if (on_border) {
            queue_push(position, q);
            ++marked;
        }
    }
    return marked;
}

int find_start(image* labels, const int* offsets, int* row, int* column, int value, int scan_from)
{
    const int w = labels->width;
    const int h = labels->height;
    const int r = *row;
    const int c = *column;
    if (inside_image(c, r, w, h)) {
        if (!interior_pixel(c, r, w, h) || has_ortho_zero_neighbor(labels, offsets, r * w + c))
            return 0;
    }
    const int n = w * h;
    for (int p = std::max(scan_from, 0); p < n; ++p) {
        if (labels->pixels[p] == value && has_ortho_zero_neighbor(labels, offsets, p)) {
            *row = p / w;
            *column = p % w;
            return 1;
        }
    }
    *row = -1;
    *column = -1;
    return 1;
}

// The boundary walk shared by the queued and the scan tracer; `mark` is
// called with each new pixel and the marking start index, or once with the
// start pixel and `lone` set when the region is that single pixel.
template <class Mark>
int walk_boundary(image* labels, int row, int column, int value, int scan_from, int conn,
                  walk_counts* counts, Mark mark)
{
    const int w = labels->width;
    const int h = labels->height;
    int offsets[8];
    set_nb_offsets(offsets, w);
    const int ambiguity = find_start(labels, offsets, &row, &column, value, scan_from);
    if (column < 0)
        vx_fatal(exit_code::contour_lost,
                 "Lost contour in tracer queued at position Row %d Column %d", row, column);

    const region_view region{labels->pixels, w, h, value};
    int start_dir = kNorth;
    if (region.belongs(column + 1, row)) {
        int free_dir = -1;
        for (int dir : {kNorth, kWest, kSouth}) {
            if (!region.neighbour_belongs(column, row, dir)) {
                free_dir = dir;
                break;
            }
        }
        if (free_dir < 0)
            vx_fatal(exit_code::contour_start_not_found,
                     "No Color around in 4 Cv at pos X %d Y %d\n", column, row);
        start_dir = (free_dir + 2) & 7;
    }

    const int n_marks = neighbour_count(conn);
    // A walk that revisits one of its 4 * pixels states without ending at
    // the start would circle forever.
    const long bound = 4L * w * h + 4;
    long iterations = 0;
    int x = column;
    int y = row;
    int d = start_dir;
    int last = d;
    bool stepped = false;
    do {
        if (++iterations > bound)
            vx_fatal(exit_code::contour_lost,
                     "Lost contour in tracer queued at position Row %d Column %d", row, column);
        const int clockwise = (d + 7) & 7;
        int step;
        if (region.neighbour_belongs(x, y, clockwise)) {
            step = clockwise;
            d = (d + 6) & 7;
        } else if (region.neighbour_belongs(x, y, d)) {
            step = d;
        } else {
            d = (d + 2) & 7;
            continue;
        }
        if (step & 1)
            ++counts->diagonal;
        else
            ++counts->straight;
        const int turn = (step - last) & 7;
        if (turn == 0)
            ++counts->ahead;
        else if (turn <= 3)
            ++counts->left;
        else
            ++counts->right;
        last = step;
        x += freeman_order.dx[step];
        y += freeman_order.dy[step];
        stepped = true;
        mark(y * w + x, d % n_marks, false);
    } while (x != column || y != row || d != start_dir);
    if (!stepped)
        mark(row * w + column, 0, true);
    return ambiguity;
}

int* checked_ints(int n, const char* message)
{
    return static_cast<int*>(
        vx_calloc(static_cast<size_t>(n), sizeof(int), exit_code::contour_out_of_memory, message));
}

int* queue_to_array(iqueue* q, const char* message)
{
    if (q->count == 0)
        return nullptr;
    int* out = checked_ints(q->count, message);
    int i = 0;
    int v;
    while (iqueue_get(&v, q))
        out[i++] = v;
    return out;
}

// Copies the queued outer contour starting at its largest position; returns
// the border flags of the region pixels among the entries.
int copy_outer_contour(const image* labels, int value, iqueue* q, int contour_size, int** contour)
{
    const int n = std::min(contour_size, q->count);
    *contour = nullptr;
    if (n <= 0)
        return 0;
    auto entry = [q](int k) { return q->values[(q->read_pos + k) % q->capacity]; };
    int first = 0;
    for (int k = 1; k < n; ++k)
        if (entry(k) > entry(first))
            first = k;
    int* out = checked_ints(n, "No Memory for outer contour array -> PANIC");
    const int w = labels->width;
    int border = 0;
    for (int k = 0; k < n; ++k) {
        const int p = entry((first + k) % n);
        out[k] = p;
        const int v = labels->pixels[p];
        if (v == value)
            border |= get_pixel_border_id(p, w, labels->height);
        else if (v != CONTOUR_OUTER)
            vx_fatal(exit_code::contour_inconsistent, "Neither Contour nor Region at pos %d, %d\n",
                     p % w, p / w);
    }
    *contour = out;
    return border;
}

// A region pixel with no neighbour of its own label is a region of one
// pixel: its ring of line pixels is its outer contour, not a hole.
bool single_pixel_region(const image* labels, const int* offsets, int start, int conn)
{
    const int w = labels->width;
    const int x = start % w;
    const int y = start / w;
    const int value = labels->pixels[start];
    for (int i = 0; i < neighbour_count(conn); ++i)
        if (neighbour_in_image(i, x, y, w, labels->height) &&
            labels->pixels[start + offsets[i]] == value)
            return false;
    return true;
}

// Hole flood: region pixels become CONTOUR_VISITED and are appended to
// `region_queue`, which doubles as the work list (it is only ever appended
// to, so its values stay in order from slot 0); line pixels become
// CONTOUR_INNER and go to `inner_queue` when one is given.
int flood_region(int* labels, int start, int value, int width, int height, int conn,
                 const int* offsets, iqueue* region_queue, iqueue* inner_queue)
{
    reset_iqueue(region_queue);
    if (start < 0 || start >= width * height || labels[start] != value)
        return 0;
    const int n = neighbour_count(conn);
    int inner = 0;
    labels[start] = CONTOUR_VISITED;
    queue_push(start, region_queue);
    for (int k = 0; k < region_queue->count; ++k) {
        const int p = region_queue->values[k];
        for_each_neighbour_inside(nb_order, n, p % width, p / width, width, height, [&](int i) {
            const int nb = p + offsets[i];
            if (labels[nb] == value) {
                labels[nb] = CONTOUR_VISITED;
                queue_push(nb, region_queue);
            } else if (labels[nb] == 0) {
                labels[nb] = CONTOUR_INNER;
                if (inner_queue != nullptr)
                    queue_push(nb, inner_queue);
                ++inner;
            }
        });
    }
    return inner;
}

void restore_region(int* labels, int value, iqueue* region_queue)
{
    for (int k = 0; k < region_queue->count; ++k)
        labels[region_queue->values[k]] = value;
    reset_iqueue(region_queue);
}

void clear_outer_marks(int* labels, const int* contour, int n)
{
    for (int k = 0; k < n; ++k)
        if (labels[contour[k]] == CONTOUR_OUTER)
            labels[contour[k]] = 0;
}

// Collects the pixels holding `mark` in raster order: at most `limit`, the
// rest are reported and dropped.
int* scan_contour(const image* labels, int mark, int limit, int* found)
{
    const int n = labels->width * labels->height;
    int* out =
        limit > 0 ? checked_ints(limit, "No Memory for outer contour array -> PANIC") : nullptr;
    int k = 0;
    for (int p = 0; p < n; ++p) {
        if (labels->pixels[p] != mark)
            continue;
        if (k < limit)
            out[k++] = p;
        else
            vx_report("OH OH");
    }
    *found = k;
    return out;
}

void reset_scratch(image* labels, int value)
{
    const int n = labels->width * labels->height;
    for (int p = 0; p < n; ++p) {
        int& v = labels->pixels[p];
        if (v == CONTOUR_VISITED)
            v = value;
        else if (v == CONTOUR_OUTER || v == CONTOUR_INNER)
            v = 0;
    }
}

// Inner contour by scanning: floods the region, collects the CONTOUR_INNER
// pixels in raster order and resets the scratch values.
void scan_inner_contour(image* labels, int start, int value, int** inner_contour, int* inner_size)
{
    const int w = labels->width;
    int offsets[8];
    set_nb_offsets(offsets, w);
    *inner_contour = nullptr;
    *inner_size = 0;
    if (!single_pixel_region(labels, offsets, start, labels->connect)) {
        iqueue* q = init_iqueue(64);
        const int holes = set_hole_contour(labels, start, q);
        delete_iqueue(q);
        *inner_contour = scan_contour(labels, CONTOUR_INNER, holes, inner_size);
    }
    reset_scratch(labels, value);
}

}  // namespace

int trace_outer_contour_queued(image* labels, int row, int column, int value, int scan_from,
                               walk_counts* counts, int* contour_size, int conn,
                               iqueue* contour_queue)
{
    reset_iqueue(contour_queue);
    int offsets[8];
    set_nb_offsets(offsets, labels->width);
    const int w = labels->width;
    const int h = labels->height;
    int* pixels = labels->pixels;
    const int ambiguity =
        walk_boundary(labels, row, column, value, scan_from, conn, counts,
                      [&](int position, int first, bool lone) {
                          if (lone)
                              queue_push(position, contour_queue);
                          else
                              mark_line_neighbours<true, true>(position, w, h, pixels, offsets,
                                                               conn, first, contour_queue);
                      });
    *contour_size = contour_queue->count;
    return ambiguity;
}

int tracer_queued(image* labels, int row, int column, int value, int* straight, int* diagonal,
                  int* left, int* right, int* ahead, int* contour_size, int conn,
                  iqueue* contour_queue)
{
    walk_counts counts;
    const int ambiguity = trace_outer_contour_queued(labels, row, column, value, 0, &counts,
                                                     contour_size, conn, contour_queue);
    *straight = counts.straight;
    *diagonal = counts.diagonal;
    *left = counts.left;
    *right = counts.right;
    *ahead = counts.ahead;
    return ambiguity;
}

int tracer(image* labels, int row, int column, int value, int* straight, int* diagonal, int* left,
           int* right, int* ahead, int* contour_size, int conn)
{
    int offsets[8];
    set_nb_offsets(offsets, labels->width);
    const int w = labels->width;
    const int h = labels->height;
    int* pixels = labels->pixels;
    walk_counts counts;
    int marked = 0;
    const int ambiguity = walk_boundary(
        labels, row, column, value, 0, conn, &counts, [&](int position, int first, bool lone) {
            if (!lone)
                marked += mark_line_neighbours<false, false>(position, w, h, pixels, offsets, conn,
                                                             first, nullptr);
        });
    *straight = counts.straight;
    *diagonal = counts.diagonal;
    *left = counts.left;
    *right = counts.right;
    *ahead = counts.ahead;
    *contour_size = marked;
    return ambiguity;
}

int get_regions_contours_queued(image* labels, int start, int** contour, int contour_size,
                                int** inner_contour, int* inner_size, iqueue* contour_queue)
{
    const int w = labels->width;
    const int value = labels->pixels[start];
    const int border = copy_outer_contour(labels, value, contour_queue, contour_size, contour);
    const int n_outer = std::min(contour_size, contour_queue->count);
    int offsets[8];
    set_nb_offsets(offsets, w);
    *inner_contour = nullptr;
    *inner_size = 0;
    if (!single_pixel_region(labels, offsets, start, labels->connect)) {
        iqueue* inner = init_iqueue(64);
        *inner_size =
            hole_contour_label_local_iterate_queued(labels->pixels, start, value, w, labels->height,
                                                    labels->connect, offsets, contour_queue, inner);
        for (int k = 0; k < inner->count; ++k)
            labels->pixels[inner->values[k]] = 0;
        *inner_contour = queue_to_array(inner, "No Memory for inner contour array -> PANIC");
        delete_iqueue(inner);
        restore_region(labels->pixels, value, contour_queue);
    }
    clear_outer_marks(labels->pixels, *contour, n_outer);
    reset_iqueue(contour_queue);
    return border;
}

int get_regions_contours_queued_backup(image* labels, int start, int** contour, int contour_size,
                                       int** inner_contour, int* inner_size, iqueue* contour_queue)
{
    const int value = labels->pixels[start];
    const int border = copy_outer_contour(labels, value, contour_queue, contour_size, contour);
    reset_iqueue(contour_queue);
    scan_inner_contour(labels, start, value, inner_contour, inner_size);
    return border;
}

int get_regions_contours(image* labels, int start, int** contour, int contour_size,
                         int** inner_contour, int* inner_size)
{
    const int value = labels->pixels[start];
    int found = 0;
    *contour = scan_contour(labels, CONTOUR_OUTER, contour_size, &found);
    scan_inner_contour(labels, start, value, inner_contour, inner_size);
    return get_contour_border_id(*contour, found, labels->width, labels->height);
}

int check_initial_pos(image* labels, const int* offsets, int* row, int* column, int value)
{
    return find_start(labels, offsets, row, column, value, 0);
}

int has_ortho_zero_neighbor(const image* labels, const int* offsets, int position)
{
    const int w = labels->width;
    const int x = position % w;
    const int y = position / w;
    for (int i = 0; i < 4; ++i)
        if (neighbour_in_image(i, x, y, w, labels->height) &&
            labels->pixels[position + offsets[i]] == 0)
            return 1;
    return 0;
}

int set_zero_neighbors_and_border_inimage_queued(int position, int width, int height, int* labels,
                                                 const int* offsets, int conn, int first, iqueue* q)
{
    return mark_line_neighbours<true, true>(position, width, height, labels, offsets, conn, first,
                                            q);
}

int set_zero_neighbors_inimage_queued(int position, int width, int height, int* labels,
                                      const int* offsets, int conn, int first, iqueue* q)
{
    return mark_line_neighbours<true, false>(position, width, height, labels, offsets, conn, first,
                                             q);
}

int set_zero_neighbors_inimage(int position, int width, int height, int* labels, const int* offsets,
                               int conn, int first)
{
    return mark_line_neighbours<false, false>(position, width, height, labels, offsets, conn, first,
                                              nullptr);
}

int set_zero_neighbors(image* labels, int position, int conn, int first)
{
    int offsets[8];
    set_nb_offsets(offsets, labels->width);
    return set_zero_neighbors_inimage(position, labels->width, labels->height, labels->pixels,
                                      offsets, conn, first);
}

int hole_contour_label_local_iterate_queued(int* labels, int start, int value, int width,
                                            int height, int conn, const int* offsets,
                                            iqueue* region_queue, iqueue* inner_queue)
{
    return flood_region(labels, start, value, width, height, conn, offsets, region_queue,
                        inner_queue);
}

int set_hole_contour_queued(image* labels, int start, iqueue* region_queue, iqueue* inner_queue)
{
    int offsets[8];
    set_nb_offsets(offsets, labels->width);
    return flood_region(labels->pixels, start, labels->pixels[start], labels->width, labels->height,
                        labels->connect, offsets, region_queue, inner_queue);
}

int hole_contour_label_local_iterate(int* labels, int start, int value, int width, int height,
                                     int conn, const int* offsets, iqueue* q)
{
    const int inner = flood_region(labels, start, value, width, height, conn, offsets, q, nullptr);
    reset_iqueue(q);
    return inner;
}

int set_hole_contour(image* labels, int start, iqueue* q)
{
    int offsets[8];
    set_nb_offsets(offsets, labels->width);
    return hole_contour_label_local_iterate(labels->pixels, start, labels->pixels[start],
                                            labels->width, labels->height, labels->connect, offsets,
                                            q);
}

void hole_contour_label(int* labels, int position, int value, int width, int height, int conn,
                        const int* offsets, int* count)
{
    iqueue* q = init_iqueue(64);
    *count +=
        hole_contour_label_local_iterate(labels, position, value, width, height, conn, offsets, q);
    delete_iqueue(q);
}

int get_pixel_border_id(int position, int width, int height)
{
    const int x = position % width;
    const int y = position / width;
    int id = 0;
    if (y == 0)
        id |= BORDER_TOP;
    if (x == width - 1)
        id |= BORDER_RIGHT;
    if (y == height - 1)
        id |= BORDER_BOTTOM;
    if (x == 0)
        id |= BORDER_LEFT;
    return id;
}

int get_contour_border_id(const int* positions, int n, int width, int height)
{
    int id = 0;
    for (int k = 0; k < n; ++k)
        id |= get_pixel_border_id(positions[k], width, height);
    return id;
}

tcoord* array_2_tcarray(const int* positions, int n, int width, int /*height*/)
{
    if (n <= 0)
        return nullptr;
    auto* out = static_cast<tcoord*>(vx_calloc(static_cast<size_t>(n), sizeof(tcoord),
                                               exit_code::contour_out_of_memory,
                                               "Shit no space for contour coords -> PANIC"));
    for (int k = 0; k < n; ++k)
        out[k] = tcoord{positions[k] % width, positions[k] / width, positions[k]};
    return out;
}

void center_of_mass(const int* positions, int n, int width, int* x, int* y)
{
    if (n < 1) {
        *x = *y = 0;
        return;
    }
    double sx = 0.0;
    double sy = 0.0;
    for (int k = 0; k < n; ++k) {
        sx += positions[k] % width;
        sy += positions[k] / width;
    }
    *x = static_cast<int>(sx / n);
    *y = static_cast<int>(sy / n);
}

void rad_min_max(const tcoord* points, int n, int cx, int cy, int* max, int* min)
{
    double hi = 0.0;
    double lo = n;
    for (int k = 0; k < n; ++k) {
        const double dx = points[k].x - cx;
        const double dy = points[k].y - cy;
        const double d = std::sqrt(dx * dx + dy * dy);
        if (d > hi)
            hi = d;
        else if (d < lo)
            lo = d;
    }
    *max = static_cast<int>(hi);
    *min = static_cast<int>(lo);
}

void region_width(int* max_width, int* min_width, const int* pixels, int size, const int* contour,
                  int contour_size, const image* labels)
{
    if (contour_size <= 0)
        return;
    int cx;
    int cy;
    center_of_mass(pixels, size, labels->width, &cx, &cy);
    tcoord* points = array_2_tcarray(contour, contour_size, labels->width, labels->height);
    rad_min_max(points, contour_size, cx, cy, max_width, min_width);
    std::free(points);
}

int* contour_2_array(iqueue* q)
{
    return queue_to_array(q, "Shit no space for contour array -> PANIC");
}

int* grahams_scan(const tcoord* points, int n)
{
    if (n < 1)
        return nullptr;
    constexpr const char* kNoHull = "Shit no space for convex hull -> PANIC";
    int* result = static_cast<int*>(
        vx_calloc(static_cast<size_t>(n), sizeof(int), exit_code::contour_out_of_memory, kNoHull));
    // Sort order, then a chain of up to 2n corners.
    int* scratch = static_cast<int*>(vx_calloc(3 * static_cast<size_t>(n), sizeof(int),
                                               exit_code::contour_out_of_memory, kNoHull));
    int* order = scratch;
    int* hull = scratch + n;
    for (int k = 0; k < n; ++k)
        order[k] = k;
    std::sort(order, order + n, [points](int a, int b) {
        return points[a].x != points[b].x ? points[a].x < points[b].x : points[a].y < points[b].y;
    });
    // Monotone chain; with rows growing downwards a positive cross product
    // turns clockwise on screen, so chains keep only negative turns.
    auto cross = [points](int o, int a, int b) {
        const long ax = points[a].x - points[o].x;
        const long ay = points[a].y - points[o].y;
        const long bx = points[b].x - points[o].x;
        const long by = points[b].y - points[o].y;
        return ax * by - ay * bx;
    };
    int m = 0;
    for (int k = 0; k < n; ++k) {
        while (m >= 2 && cross(hull[m - 2], hull[m - 1], order[k]) >= 0)
            --m;
        hull[m++] = order[k];
    }
    const int lower = m + 1;
    for (int k = n - 2; k >= 0; --k) {
        while (m >= lower && cross(hull[m - 2], hull[m - 1], order[k]) >= 0)
            --m;
        hull[m++] = order[k];
    }
    if (m > 1)
        --m;  // the last point repeats the first
    for (int k = 0; k < n; ++k)
        result[k] = k < m ? hull[k] : -1;
    std::free(scratch);
    return result;
}
