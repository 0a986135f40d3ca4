#include "imagecore/label.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <vector>

#include "imagecore/neighbourhood.h"
#include "imagecore/queue.h"
#include "imagecore/raster_labels.h"

iqueue* ptSystemQueue = nullptr;

namespace {

// Queues of the calls' own start small: most components are far smaller than
// the image, and a fill grows its queue when it needs to.
constexpr int kOwnQueueStart = 4096;

// The caller's queue, emptied, or one owned by the call when there is none.
class WorkQueue {
public:
    WorkQueue(iqueue* given, long pixel_count) : q_(given), owned_(given == nullptr)
    {
        if (owned_)
            q_ = init_iqueue(static_cast<int>(std::min<long>(pixel_count, kOwnQueueStart)));
        else
            reset_iqueue(q_);
    }
    ~WorkQueue()
    {
        if (owned_)
            delete_iqueue(q_);
    }
    WorkQueue(const WorkQueue&) = delete;
    WorkQueue& operator=(const WorkQueue&) = delete;

    iqueue* get() const { return q_; }

private:
    iqueue* q_;
    bool owned_;
};

inline void push(int value, iqueue* q)
{
    if (!iqueue_put(value, q))
        iqueue_put_grow(value, q);
}

inline bool valid_seed(int seed, int width, int height)
{
    return width > 0 && height > 0 && seed >= 0 && seed / width < height;
}

// Breadth-first walk from seed (which the caller has checked) over the
// connected pixels that `take` accepts. Each accepted pixel is marked by
// `mark` before it is queued, so that it is never accepted twice, and then
// handed to `visit`. Returns the number of pixels marked.
template <class Take, class Mark, class Visit>
int flood(int* pixels, const int* offsets, int n, int seed, int width, int height, iqueue* q,
          Take take, Mark mark, Visit visit)
{
    const int count = neighbour_count(n);
    mark(pixels[seed]);
    visit(seed);
    push(seed, q);
    int marked = 1;
    int pos;
    while (iqueue_get(&pos, q)) {
        const int y = pos / width;
        const int x = pos - y * width;
        for_each_neighbour_inside(nb_order, count, x, y, width, height, [&](int d) {
            const int nb = pos + offsets[d];
            if (!take(pixels[nb]))
                return;
            mark(pixels[nb]);
            visit(nb);
            push(nb, q);
            ++marked;
        });
    }
    return marked;
}

// The pixels equal to key connected to seed become new_value (key != new_value).
int relabel(int* pixels, const int* offsets, int n, int new_value, int key, int seed, int width,
            int height, iqueue* q)
{
    return flood(
        pixels, offsets, n, seed, width, height, q, [key](int p) { return p == key; },
        [new_value](int& p) { p = new_value; }, [](int) {});
}

// Two raster passes (raster_labels.h).
int label_components(image* img, int n)
{
    const int width = img->width;
    const int height = img->height;
    int* pixels = img->pixels;
    const bool eight = neighbour_count(n) == 8;
    std::vector<int> parent(1, 0);
    for (int y = 0; y < height; ++y) {
        int* row = pixels + static_cast<size_t>(y) * width;
        const int* up = y > 0 ? row - width : nullptr;
        for (int x = 0; x < width; ++x) {
            if (row[x] == 0)
                continue;
            const int west = x > 0 ? row[x - 1] : 0;
            const int north = up != nullptr ? up[x] : 0;
            const int north_west = up != nullptr && x > 0 ? up[x - 1] : 0;
            const int north_east = up != nullptr && x + 1 < width ? up[x + 1] : 0;
            int label = label_from_met_neighbours(west, north_west, north, north_east, eight,
                                                  parent.data());
            if (label <= 0) {
                label = static_cast<int>(parent.size());
                parent.push_back(label);
            }
            row[x] = label;
        }
    }
    const int count = number_label_roots(parent.data(), static_cast<int>(parent.size()) - 1);
    const size_t npixels = static_cast<size_t>(width) * static_cast<size_t>(height);
    for (size_t i = 0; i < npixels; ++i)
        pixels[i] = parent[pixels[i]];
    return count + 1;
}

}  // namespace

int label_image_local(image* img, int n)
{
    return label_components(img, n);
}

int label_image(image* img, int n)
{
    return label_components(img, n);
}

int label_iterate_local(int* pixels, const int* offsets, int n, int new_value, int key, int seed,
                        int width, int height, iqueue* q)
{
    if (!valid_seed(seed, width, height))
        return 0;
    if (pixels[seed] == new_value)
        return -1;
    if (pixels[seed] != key)
        return 0;
    WorkQueue work(q, static_cast<long>(width) * height);
    return relabel(pixels, offsets, n, new_value, key, seed, width, height, work.get());
}

int label_iterate(int* pixels, const int* offsets, int n, int new_value, int key, int seed,
                  int width, int height)
{
    return label_iterate_local(pixels, offsets, n, new_value, key, seed, width, height,
                               ptSystemQueue);
}

int label_queued(image* img, iqueue* q, int n, int new_value, int key, int seed)
{
    int offsets[8];
    set_nb_offsets(offsets, img->width);
    return label_iterate_local(img->pixels, offsets, n, new_value, key, seed, img->width,
                               img->height, q);
}

void label(int* pixels, const int* offsets, int n, int new_value, int old_value, int seed,
           int width, int height)
{
    if (new_value != old_value)
        label_iterate_local(pixels, offsets, n, new_value, old_value, seed, width, height, nullptr);
}

void fill_iterate_local(image* img, int n, int value, int seed, iqueue* q)
{
    const int width = img->width;
    const int height = img->height;
    if (!valid_seed(seed, width, height) || img->pixels[seed] == value)
        return;
    int offsets[8];
    set_nb_offsets(offsets, width);
    WorkQueue work(q, static_cast<long>(width) * height);
    flood(
        img->pixels, offsets, n, seed, width, height, work.get(),
        [value](int p) { return p != value; }, [value](int& p) { p = value; }, [](int) {});
}

void fill_iterate(int* pixels, const int* offsets, int n, int value, int seed, int width,
                  int height)
{
    if (!valid_seed(seed, width, height) || pixels[seed] == value)
        return;
    WorkQueue work(nullptr, static_cast<long>(width) * height);
    flood(
        pixels, offsets, n, seed, width, height, work.get(), [value](int p) { return p != value; },
        [value](int& p) { p = value; }, [](int) {});
}

int label_coverage(int* pixels, const int* offsets, int n, int new_value, int seed, int width,
                   int height, iqueue* q)
{
    if (!valid_seed(seed, width, height) || pixels[seed] != -1 || new_value == -1)
        return 0;
    WorkQueue work(q, static_cast<long>(width) * height);
    return relabel(pixels, offsets, n, new_value, -1, seed, width, height, work.get());
}

int triggered_label(int* labels, int* pixels, const int* offsets, int n, int new_value, int seed,
                    int width, int height, iqueue* region_queue, iqueue* cover_queue)
{
    if (!valid_seed(seed, width, height) || labels[seed] >= 0 || labels[seed] == INT_MIN ||
        new_value == -1)
        return 0;
    const int key = labels[seed];
    const long npixels = static_cast<long>(width) * height;
    WorkQueue region(region_queue, npixels);
    WorkQueue cover(cover_queue, npixels);
    int covered = 0;
    flood(
        labels, offsets, n, seed, width, height, region.get(), [key](int p) { return p == key; },
        [](int& p) { p = -p; },
        [&](int pos) {
            if (pixels[pos] == -1)
                covered +=
                    relabel(pixels, offsets, n, new_value, -1, pos, width, height, cover.get());
        });
    return covered;
}

int* coverage_label_image(image* labels, image* img, int n, int table_size)
{
    if (labels->width != img->width || labels->height != img->height)
        return nullptr;
    const int width = img->width;
    const int height = img->height;
    const long npixels = static_cast<long>(width) * height;
    int* lab = labels->pixels;
    if (std::any_of(lab, lab + npixels, [](int v) { return v < 0; }))
        return nullptr;
    int* table = static_cast<int*>(std::calloc(table_size > 0 ? table_size : 1, sizeof(int)));
    if (table == nullptr)
        return nullptr;
    int* pixels = img->pixels;
    for (long i = 0; i < npixels; ++i) {
        if (pixels[i] != 0)
            pixels[i] = -1;
        lab[i] = -lab[i];
    }
    int offsets[8];
    set_nb_offsets(offsets, width);
    WorkQueue region(nullptr, npixels);
    WorkQueue cover(nullptr, npixels);
    int next = 1;
    for (long i = 0; i < npixels; ++i) {
        if (lab[i] >= 0)
            continue;
        const int label_value = -lab[i];
        const bool recorded = label_value < table_size;
        const bool known = recorded && table[label_value] != 0;
        const int value = known ? table[label_value] : next;
        if (triggered_label(lab, pixels, offsets, n, value, static_cast<int>(i), width, height,
                            region.get(), cover.get()) > 0 &&
            !known) {
            ++next;
            if (recorded)
                table[label_value] = value;
        }
    }
    return table;
}
