// Images of the labels of a labeled repository: label images over the grey
// pictures, and result images of the regions or contours of the classes.
#include <string>
#include <utility>
#include <vector>

#include "automation/detail/handles.h"
#include "automation/detail/text.h"
#include "automation/repository/detail/class_trees.h"
#include "automation/repository/detail/repository_paths.h"
#include "automation/repository/vx_labeled_repository.h"
#include "imagecore/report.h"

namespace {

using region_part = VxLabeledRepository::region_part;

void paint_region(image* target, const tregionnode* region, region_part part, int value)
{
    const bool pixels = part == region_part::pixels;
    const int* positions = pixels ? region->pixels : region->contour;
    const int count = pixels ? region->size : region->contour_size;
    const long size = static_cast<long>(target->width) * target->height;
    for (int k = 0; positions != nullptr && k < count; ++k)
        if (positions[k] >= 0 && positions[k] < size)
            target->pixels[positions[k]] = value;
}

bool valid_mode(int mode)
{
    return mode == 1 || mode == 2;
}

// Paints every class k >= 1 with values[k] >= 0 of the record into the
// target from the tree of the class's mode.
void paint_record(class_trees& trees, const LabeledImage& record, const std::vector<int>& modes,
                  image* target, region_part part, const std::vector<int>& values,
                  const char* method)
{
    for (size_t k = 1; k < values.size() && k < record.ids.size(); ++k) {
        if (values[k] < 0)
            continue;
        if (!valid_mode(modes[k])) {
            vx_report("Wrong mode in method %s\n", method);
            continue;
        }
        const region_tree* tree = trees.tree(modes[k]);
        if (tree == nullptr)
            continue;
        if (tree->width != target->width || tree->height != target->height) {
            vx_report("Tree %s is %d x %d, the image %d x %d: class %d left out\n",
                      trees.file(modes[k]).c_str(), tree->width, tree->height, target->width,
                      target->height, static_cast<int>(k));
            continue;
        }
        for (int id : record.ids[k]) {
            const tregionnode* region = region_of(tree, id);
            if (region == nullptr)
                vx_report("Region %d is not in tree %s\n", id, trees.file(modes[k]).c_str());
            else
                paint_region(target, region, part, values[k]);
        }
    }
}

}  // namespace

std::string VxLabeledRepository::treeFile(int i, int mode)
{
    if (repository == nullptr || i < 0 || i >= getNumberOfImages() || !valid_mode(mode))
        return "";
    const int index = records[i].imageIndex;
    const char* name =
        mode == 1 ? repository->BrightTreeName(index) : repository->DarkTreeName(index);
    if (name == nullptr || std::string(name) == "-") {
        vx_report("Image %s has no %s tree: skipped\n", records[i].name.c_str(),
                  mode == 1 ? "bright" : "dark");
        return "";
    }
    return mode == 1 ? repository->BrightTreeFilename(index) : repository->DarkTreeFilename(index);
}

void VxLabeledRepository::paintClasses(int i, image* target, region_part part,
                                       const std::vector<int>& values, const char* method)
{
    if (target == nullptr || i < 0 || i >= getNumberOfImages())
        return;
    class_trees trees([this, i](int polarity) { return treeFile(i, polarity); });
    paint_record(trees, records[i], modes, target, part, values, method);
}

image* VxLabeledRepository::classImage(int i, region_part part, const std::vector<int>& values,
                                       const char* method)
{
    if (i < 0 || i >= getNumberOfImages())
        return nullptr;
    class_trees trees([this, i](int polarity) { return treeFile(i, polarity); });
    const region_tree* sized = nullptr;
    for (size_t k = 1; sized == nullptr && k < values.size() && k < modes.size(); ++k)
        if (values[k] >= 0 && valid_mode(modes[k]))
            sized = trees.tree(modes[k]);
    if (sized == nullptr) {
        vx_report("No tree of image %s: skipped\n", records[i].name.c_str());
        return nullptr;
    }
    image* target = create_image(sized->width, sized->height, 0);
    paint_record(trees, records[i], modes, target, part, values, method);
    return target;
}

bool VxLabeledRepository::writeClassifiedRegionsImage(int i, char* name)
{
    if (repository == nullptr || i < 0 || i >= getNumberOfImages() || name == nullptr)
        return false;
    image_handle grey(repository->getImageGrey(records[i].imageIndex));
    if (grey == nullptr) {
        vx_report("Could not read image %s: no label image\n", records[i].name.c_str());
        return false;
    }
    std::vector<int> values(static_cast<size_t>(numberOfClasses));
    for (int k = 1; k < numberOfClasses; ++k)
        values[k] = 255 + k;
    paintClasses(i, grey.get(), region_part::pixels, values,
                 "VxLabeledRepository::writeClassifiedRegionsImage(..)");
    const long failed = failedWrites.noted();
    writeImage(name, grey.get());
    return failedWrites.noted() == failed;
}

bool VxLabeledRepository::writeClassifiedRegionsImage(int i)
{
    if (i < 0 || i >= getNumberOfImages())
        return false;
    char name[1024];
    copy_cut(name, sizeof name, records[i].name, "writeClassifiedRegionsImage");
    return writeClassifiedRegionsImage(i, name);
}

void VxLabeledRepository::updateClassifiedImageFiles(const char* format)
{
    failedWrites = WriteFailures();
    if (repository == nullptr)
        return;
    bool changed = false;
    for (int i = 0; i < getNumberOfImages(); ++i) {
        LabeledImage& record = records[i];
        const char* image = repository->ImageName(record.imageIndex);
        if (image == nullptr || record.name != repository->ImageFilename(record.imageIndex))
            continue;
        bool labelled = false;
        for (int k = 1; k < numberOfClasses; ++k)
            labelled = labelled || !record.ids[k].empty();
        if (!labelled)
            continue;
        const std::string name =
            resultPath + "/labeled." + file_part(image) + "." + text_or_empty(format);
        vx_report("Updating %s to %s\n", record.name.c_str(), name.c_str());
        // The file never names a label image that was not written.
        std::string previous = std::exchange(record.name, name);
        if (writeClassifiedRegionsImage(i))
            changed = true;
        else
            record.name = std::move(previous);
    }
    if (changed) {
        vx_report("Rewrite Labeled Repository as %s\n", fileName.c_str());
        write(fileName.c_str());
    }
}

void VxLabeledRepository::updateClassifiedImageFiles(const char* file, const char* format)
{
    fileName = text_or_empty(file);
    updateClassifiedImageFiles(format);
}

void VxLabeledRepository::recomputeImageFiles()
{
    failedWrites = WriteFailures();
    if (repository == nullptr)
        return;
    for (int i = 0; i < getNumberOfImages(); ++i)
        if (records[i].name != repository->ImageFilename(records[i].imageIndex))
            writeClassifiedRegionsImage(i);
}

std::vector<int> VxLabeledRepository::classGreys() const
{
    std::vector<int> values(static_cast<size_t>(numberOfClasses));
    for (int k = 1; k < numberOfClasses; ++k)
        values[k] = classGrey(k);
    return values;
}

void VxLabeledRepository::writeClassImages(const char* prefix, region_part part, const char* method)
{
    failedWrites = WriteFailures();
    for (int i = 0; i < getNumberOfImages(); ++i) {
        image_handle result(classImage(i, part, classGreys(), method));
        if (result == nullptr)
            continue;
        char name[1024];
        copy_cut(name, sizeof name,
                 std::string(text_or_empty(prefix)) + "." +
                     text_or_empty(repository->ImageName(records[i].imageIndex)) + ".png",
                 method);
        writeImage(name, result.get());
    }
}

void VxLabeledRepository::writeResultRegions(const char* prefix)
{
    writeClassImages(prefix, region_part::pixels, "VxLabeledRepository::writeResultRegions(..)");
}

void VxLabeledRepository::writeResultRegions(const char* prefix, int c)
{
    failedWrites = WriteFailures();
    if (c < 1 || c >= numberOfClasses) {
        vx_report("VxLabeledRepository: no class %d\n", c);
        return;
    }
    if (!valid_mode(modes[c])) {
        vx_report("Wrong mode in method QueryResult::writeImageRegions(..)\n");
        return;
    }
    std::vector<int> values(static_cast<size_t>(numberOfClasses), -1);
    values[c] = 255;
    for (int i = 0; i < getNumberOfImages(); ++i) {
        image_handle result(
            classImage(i, region_part::pixels, values, "QueryResult::writeImageRegions(..)"));
        if (result == nullptr)
            continue;
        const int index = records[i].imageIndex;
        char name[1024];
        copy_cut(name, sizeof name,
                 std::string(text_or_empty(prefix)) + "." +
                     text_or_empty(modes[c] == 1 ? repository->BrightTreeName(index)
                                                 : repository->DarkTreeName(index)) +
                     ".png",
                 "writeResultRegions");
        writeImage(name, result.get());
    }
}

void VxLabeledRepository::writeResultContours(const char* prefix)
{
    writeClassImages(prefix, region_part::outer_contour,
                     "VxLabeledRepository::writeResultContours(..)");
}
