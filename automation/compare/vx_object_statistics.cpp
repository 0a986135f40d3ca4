#include "automation/compare/vx_object_statistics.h"

#include <algorithm>
#include <climits>

#include "automation/compare/detail/label_objects.h"

VxObjectStatistics::VxObjectStatistics(const image* labels)
{
    label_objects objects = find_label_objects(labels);
    labels_.assign(objects.labels.begin() + 1, objects.labels.end());
    first_.assign(objects.first.begin() + 1, objects.first.end());
    pixels_ = std::move(objects.pixels);
    // Labels may be any int, so the count per label is kept for the labels
    // present only, not in a table as long as the largest label.
    std::vector<int> sorted = labels_;
    std::sort(sorted.begin(), sorted.end());
    for (int v : sorted)
        if (classes_.empty() || classes_.back().label != v)
            classes_.push_back({v, 1});
        else
            ++classes_.back().objects;
    if (!classes_.empty())
        range_ = classes_.back().label == INT_MAX ? INT_MAX : classes_.back().label + 1;
}

int VxObjectStatistics::NumberInClass(int k) const
{
    if (k <= 0 || k >= range_)
        return -1;
    const auto it = std::lower_bound(classes_.begin(), classes_.end(), k,
                                     [](const label_count& c, int v) { return c.label < v; });
    return it != classes_.end() && it->label == k ? it->objects : 0;
}

int VxObjectStatistics::ObjectSize(int i) const
{
    return i >= 0 && i < NumObjects() ? first_[i + 1] - first_[i] : -1;
}

const int* VxObjectStatistics::ObjectPixels(int i) const
{
    return i >= 0 && i < NumObjects() ? pixels_.data() + first_[i] : nullptr;
}

int VxObjectStatistics::ObjectLabel(int i) const
{
    return i >= 0 && i < NumObjects() ? labels_[i] : -1;
}
