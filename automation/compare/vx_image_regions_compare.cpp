#include "automation/compare/vx_image_regions_compare.h"

#include <set>
#include <string>

#include "automation/compare/detail/label_objects.h"
#include "imagecore/report.h"

namespace {

int distinct_values(const std::vector<int>& labels)
{
    return static_cast<int>(std::set<int>(labels.begin() + 1, labels.end()).size());
}

void print_classes(const char* title, const std::vector<int>& labels)
{
    std::string line = title;
    for (int v : labels)
        line += std::to_string(v) + " ";
    vx_report("%s\n", line.c_str());
}

}  // namespace

VxImageRegionsCompare::VxImageRegionsCompare(const image* a, const image* b)
{
    if (a == nullptr || b == nullptr || a->width != b->width || a->height != b->height)
        return;
    const label_objects objectsA = find_label_objects(a);
    const label_objects objectsB = find_label_objects(b);
    if (objectsA.width == 0)
        return;
    classA_ = objectsA.labels;
    classB_ = objectsB.labels;
    classesA_ = distinct_values(classA_);
    classesB_ = distinct_values(classB_);
    foundPerA_.assign(classA_.size(), 0);
    foundPerB_.assign(classB_.size(), 0);
    // Runs of pixels of one pair along the rows are counted at once.
    const size_t n = objectsA.object_of.size();
    size_t run = 0;
    for (size_t p = 1; p <= n; ++p)
        if (p == n || objectsA.object_of[p] != objectsA.object_of[run] ||
            objectsB.object_of[p] != objectsB.object_of[run]) {
            add(objectsA.object_of[run], objectsB.object_of[run], static_cast<int>(p - run));
            run = p;
        }
}

void VxImageRegionsCompare::add(int i, int j, int pixels)
{
    int& cell = overlap_[static_cast<uint64_t>(i) * classB_.size() + static_cast<uint64_t>(j)];
    if (cell == 0 && j > 0 && foundPerA_[i]++ == 0 && i > 0)
        ++foundAB_;
    if (cell == 0 && i > 0 && foundPerB_[j]++ == 0 && j > 0)
        ++foundBA_;
    cell += pixels;
}

void VxImageRegionsCompare::increment(int i, int j)
{
    if (i < 0 || i >= NumObjectsA() || j < 0 || j >= NumObjectsB()) {
        vx_report("No valid Index ObjA = %d; ObjB = %d\n", i, j);
        return;
    }
    add(i, j, 1);
}

int VxImageRegionsCompare::ClassA(int i) const
{
    return i >= 0 && i < NumObjectsA() ? classA_[i] : -1;
}

int VxImageRegionsCompare::ClassB(int i) const
{
    return i >= 0 && i < NumObjectsB() ? classB_[i] : -1;
}

int VxImageRegionsCompare::SizeAt(int i, int j) const
{
    if (i < 0 || i >= NumObjectsA() || j < 0 || j >= NumObjectsB())
        return -1;
    const auto cell =
        overlap_.find(static_cast<uint64_t>(i) * classB_.size() + static_cast<uint64_t>(j));
    return cell != overlap_.end() ? cell->second : 0;
}

int VxImageRegionsCompare::foundAB(int i) const
{
    return i >= 0 && i < NumObjectsA() ? foundPerA_[i] : -1;
}

int VxImageRegionsCompare::foundBA(int j) const
{
    return j >= 0 && j < NumObjectsB() ? foundPerB_[j] : -1;
}

double VxImageRegionsCompare::Precision() const
{
    return NumObjectsB() > 1 ? static_cast<double>(foundBA_) / (NumObjectsB() - 1) : 0.0;
}

double VxImageRegionsCompare::Recall() const
{
    return NumObjectsA() > 1 ? static_cast<double>(foundAB_) / (NumObjectsA() - 1) : 0.0;
}

void VxImageRegionsCompare::printMatrix() const
{
    for (int i = 0; i < NumObjectsA(); ++i) {
        std::string row;
        for (int j = 0; j < NumObjectsB(); ++j)
            row += std::to_string(SizeAt(i, j)) + " ";
        vx_report("%s\n", row.c_str());
    }
    print_classes("Classes A: ", classA_);
    print_classes("Classes B: ", classB_);
}
