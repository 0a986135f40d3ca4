#pragma once

// Contour tracing in the label image of one partition scale: the outer
// contour walk with its turn counts, the hole search that finds the inner
// contour, border flags, widths and contour coordinate helpers.
//
// Label images hold 0 on watershed-line pixels and the region label
// elsewhere. While a region is traced its pixels and line pixels carry the
// scratch values below; every tracing call leaves the image as it found it.

#include "analyse/analyse_export.h"
#include "imagecore/image.h"

struct iqueue;

// Border flags of a pixel or contour.
enum : int {
    BORDER_TOP = 1,     // row 0
    BORDER_RIGHT = 2,   // last column
    BORDER_BOTTOM = 4,  // last row
    BORDER_LEFT = 8,    // column 0
};

// Scratch values in the label image while a region is traced.
inline constexpr int CONTOUR_VISITED = -1;  // region pixel reached by the hole search
inline constexpr int CONTOUR_OUTER = -2;    // line pixel of the outer contour
inline constexpr int CONTOUR_INNER = -3;    // line pixel of an inner contour

// One contour point: column, row and position (row * width + column).
struct tcoord {
    int x;
    int y;
    int pos;
};

// Walks the outer boundary of the region `value` that holds (row, column) and
// appends its outer contour to `contour_queue` (emptied first; it grows as
// needed): line pixels next to walked pixels, and walked pixels on the image
// border. Counts straight and diagonal steps and left, right and ahead turns.
// A one-pixel region has its own pixel as contour. Returns 1 when the start
// pixel had to be searched, else 0.
ANALYSE_EXPORT int tracer_queued(image* labels, int row, int column, int value, int* straight,
                                 int* diagonal, int* left, int* right, int* ahead,
                                 int* contour_size, int conn, iqueue* contour_queue);

// After tracer_queued: copies the queued outer contour (contour_size entries,
// the queue's count) into a new array starting at its largest position,
// finds the inner contour by flooding the region from `start`, and restores
// the label image. Returns the border flags of the region's border pixels in
// the contour. Arrays are null when empty.
ANALYSE_EXPORT int get_regions_contours_queued(image* labels, int start, int** contour,
                                               int contour_size, int** inner_contour,
                                               int* inner_size, iqueue* contour_queue);

// Whether (row, column) is a valid start: 0 when it has an orthogonal line
// neighbour or lies on the border. Otherwise moves (row, column) to the first
// pixel of `value` in raster order that has an orthogonal line neighbour, or
// to (-1, -1) when there is none, and returns 1. `offsets` in nb_offsets order.
ANALYSE_EXPORT int check_initial_pos(image* labels, const int* offsets, int* row, int* column,
                                     int value);

// 1 when an orthogonal neighbour of the position inside the image is 0.
ANALYSE_EXPORT int has_ortho_zero_neighbor(const image* labels, const int* offsets, int position);

// Marks the line neighbours (value 0) of a walked pixel CONTOUR_OUTER,
// visiting the first `conn` (4 or 8) neighbours from index `first` on,
// cyclically. Returns how many it marked (and queued).
// ..._and_border_...: also queues the pixel itself, once, when one of its
// four orthogonal neighbours lies outside the image.
ANALYSE_EXPORT int set_zero_neighbors_and_border_inimage_queued(int position, int width, int height,
                                                                int* labels, const int* offsets,
                                                                int conn, int first, iqueue* q);
ANALYSE_EXPORT int set_zero_neighbors_inimage_queued(int position, int width, int height,
                                                     int* labels, const int* offsets, int conn,
                                                     int first, iqueue* q);
ANALYSE_EXPORT int set_zero_neighbors_inimage(int position, int width, int height, int* labels,
                                              const int* offsets, int conn, int first);
ANALYSE_EXPORT int set_zero_neighbors(image* labels, int position, int conn, int first);

// Hole search from `start`: every region pixel of `value` connected to it
// becomes CONTOUR_VISITED and is appended to `region_queue` (emptied first);
// every line pixel (0) next to one becomes CONTOUR_INNER and is appended to
// `inner_queue`. Pixels already CONTOUR_OUTER are left alone. Returns the
// number of inner-contour pixels.
ANALYSE_EXPORT int hole_contour_label_local_iterate_queued(int* labels, int start, int value,
                                                           int width, int height, int conn,
                                                           const int* offsets, iqueue* region_queue,
                                                           iqueue* inner_queue);
ANALYSE_EXPORT int set_hole_contour_queued(image* labels, int start, iqueue* region_queue,
                                           iqueue* inner_queue);

// The same marking without recording the inner contour; `q` is work space.
ANALYSE_EXPORT int hole_contour_label_local_iterate(int* labels, int start, int value, int width,
                                                    int height, int conn, const int* offsets,
                                                    iqueue* q);
ANALYSE_EXPORT int set_hole_contour(image* labels, int start, iqueue* q);
// The same with a queue of its own; adds the inner-contour count to *count.
ANALYSE_EXPORT void hole_contour_label(int* labels, int position, int value, int width, int height,
                                       int conn, const int* offsets, int* count);

// Whole-image-scan forms: the walk marks line pixels without queueing, and
// the contours are collected afterwards by scanning the label image: outer
// contour pixels in raster order (at most contour_size; "OH OH" is printed
// for the rest, which are dropped), inner contour pixels likewise.
ANALYSE_EXPORT int tracer(image* labels, int row, int column, int value, int* straight,
                          int* diagonal, int* left, int* right, int* ahead, int* contour_size,
                          int conn);
ANALYSE_EXPORT int get_regions_contours(image* labels, int start, int** contour, int contour_size,
                                        int** inner_contour, int* inner_size);
// Outer contour from the queue as in get_regions_contours_queued; the inner
// contour by scanning the image, in raster order.
ANALYSE_EXPORT int get_regions_contours_queued_backup(image* labels, int start, int** contour,
                                                      int contour_size, int** inner_contour,
                                                      int* inner_size, iqueue* contour_queue);

ANALYSE_EXPORT int get_pixel_border_id(int position, int width, int height);
ANALYSE_EXPORT int get_contour_border_id(const int* positions, int n, int width, int height);

// New array of n contour points; null for n = 0.
ANALYSE_EXPORT tcoord* array_2_tcarray(const int* positions, int n, int width, int height);
// Truncated mean column and row of the positions (0, 0 for n < 1).
ANALYSE_EXPORT void center_of_mass(const int* positions, int n, int width, int* x, int* y);
// Largest and smallest distance of the points from (cx, cy), in the
// tracer's order: the minimum starts at n and a point that raises the
// maximum is not compared with it. n < 1 gives max 0 and min n.
ANALYSE_EXPORT void rad_min_max(const tcoord* points, int n, int cx, int cy, int* max, int* min);
// Widths of a region from its pixels and outer contour; nothing is written
// for an empty contour.
ANALYSE_EXPORT void region_width(int* max_width, int* min_width, const int* pixels, int size,
                                 const int* contour, int contour_size, const image* labels);
// New array of the queue's values in order (the queue is emptied); null for
// an empty queue.
ANALYSE_EXPORT int* contour_2_array(iqueue* q);
// Convex hull of the points: a new array of n entries holding the indices
// of the hull's corners counter-clockwise (on screen), then -1 entries.
// Null for n < 1.
ANALYSE_EXPORT int* grahams_scan(const tcoord* points, int n);
