#include "filter/markerbased_watershed.h"

#include "filter/detail/same_image_size.h"
#include "filter/watershed.h"
#include "imagecore/image_arith.h"
#include "imagecore/label.h"
#include "imagecore/queue.h"

namespace {

constexpr int kMarked = -1;

int neighbourhood(int n)
{
    return n == 4 ? 4 : 8;
}

image* marked_watershed(image* marker, image* img, int n, const char* who)
{
    if (!same_image_size(marker, img, who))
        return nullptr;
    image* labels = watershed(img, 0, 0, n);
    binarize_image(marker, 1);
    iqueue* q = init_iqueue(img->width * img->height);
    const int size = img->width * img->height;
    for (int i = 0; i < size; ++i) {
        if (marker->pixels[i] != 1)
            continue;
        label_queued(marker, q, neighbourhood(n), kMarked, 1, i);
        if (labels->pixels[i] != kMarked)
            label_queued(labels, q, neighbourhood(n), kMarked, labels->pixels[i], i);
    }
    delete_iqueue(q);
    binarize_image(marker, 1);
    return labels;
}

void select_pixels(image* labels, bool marked)
{
    const int size = labels->width * labels->height;
    for (int i = 0; i < size; ++i) {
        const int v = labels->pixels[i];
        labels->pixels[i] = marked ? v == kMarked : v > 0;
    }
    update_image_struct(labels);
}

// Values <= 0 become 0; with flag set positive values become 1.
void clear_unselected(image* labels, int flag)
{
    const int size = labels->width * labels->height;
    for (int i = 0; i < size; ++i) {
        int& v = labels->pixels[i];
        v = v <= 0 ? 0 : flag ? 1 : v;
    }
    update_image_struct(labels);
}

}  // namespace

image* markerbased_watershed(image* marker, image* img, int, int, int n, int flag)
{
    image* labels = marked_watershed(marker, img, n, "markerbased_watershed");
    if (labels != nullptr && flag)
        select_pixels(labels, true);
    return labels;
}

image* complemented_markerbased_watershed(image* marker, image* img, int, int, int n, int flag)
{
    image* labels = marked_watershed(marker, img, n, "complemented_markerbased_watershed");
    if (labels != nullptr && flag)
        select_pixels(labels, false);
    return labels;
}

int ws_label_foreground(image* marker, image* labels, int flag, int conn)
{
    if (!same_image_size(marker, labels, "ws_label_foreground"))
        return 0;
    invert_image(labels);
    const int size = labels->width * labels->height;
    iqueue* q = init_iqueue(size);
    int count = 0;
    for (int i = 0; i < size; ++i)
        if (marker->pixels[i] == 1 && labels->pixels[i] < 0)
            label_queued(labels, q, neighbourhood(conn), ++count, labels->pixels[i], i);
    delete_iqueue(q);
    clear_unselected(labels, flag);
    return count;
}

int ws_label_background(image* marker, image* labels, int flag, int conn)
{
    if (!same_image_size(marker, labels, "ws_label_background"))
        return 0;
    const int size = labels->width * labels->height;
    iqueue* q = init_iqueue(size);
    int count = 0;
    for (int i = 0; i < size; ++i)
        if (marker->pixels[i] != 0 && labels->pixels[i] > 0)
            label_queued(labels, q, neighbourhood(conn), -++count, labels->pixels[i], i);
    delete_iqueue(q);
    clear_unselected(labels, flag);
    return count;
}
