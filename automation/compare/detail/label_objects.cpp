#include "automation/compare/detail/label_objects.h"

#include <memory>

#include "imagecore/label.h"
#include "imagecore/queue.h"

namespace {

struct iqueue_deleter {
    void operator()(iqueue* q) const { delete_iqueue(q); }
};

}  // namespace

label_objects find_label_objects(const image* img, const std::function<bool(int)>& accept)
{
    label_objects objects;
    objects.labels.push_back(0);
    objects.first.assign(2, 0);
    if (img == nullptr || img->pixels == nullptr || img->width < 1 || img->height < 1)
        return objects;
    const int width = objects.width = img->width;
    const int height = objects.height = img->height;
    const size_t n = static_cast<size_t>(width) * static_cast<size_t>(height);

    // 1. The pixels that may belong to objects keep their value, all others
    // become 0; each object is then filled with minus its number, which no
    // candidate value can equal.
    std::vector<int> work(n, 0);
    for (size_t p = 0; p < n; ++p) {
        const int v = img->pixels[p];
        if (v > 0 && (!accept || accept(v)))
            work[p] = v;
    }
    int offsets[8];
    set_nb_offsets(offsets, width);
    std::unique_ptr<iqueue, iqueue_deleter> queue(init_iqueue(4096));
    for (size_t p = 0; p < n; ++p) {
        if (work[p] <= 0)
            continue;
        const int number = static_cast<int>(objects.labels.size());
        objects.labels.push_back(work[p]);
        label_iterate_local(work.data(), offsets, 8, -number, work[p], static_cast<int>(p), width,
                            height, queue.get());
    }

    // 2. Pixel lists in raster order, by counting.
    const int count = objects.count();
    objects.object_of.assign(n, 0);
    objects.first.assign(static_cast<size_t>(count) + 2, 0);
    for (size_t p = 0; p < n; ++p)
        if (work[p] < 0) {
            objects.object_of[p] = -work[p];
            ++objects.first[static_cast<size_t>(-work[p]) + 1];
        }
    for (int k = 1; k <= count + 1; ++k)
        objects.first[k] += objects.first[k - 1];
    objects.pixels.resize(static_cast<size_t>(objects.first[count + 1]));
    std::vector<int> next(objects.first.begin(), objects.first.end() - 1);
    for (size_t p = 0; p < n; ++p)
        if (const int k = objects.object_of[p])
            objects.pixels[static_cast<size_t>(next[k]++)] = static_cast<int>(p);
    return objects;
}
