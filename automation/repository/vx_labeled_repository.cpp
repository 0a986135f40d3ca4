#include "automation/repository/vx_labeled_repository.h"

#include <cstdlib>
#include <cstring>
#include <utility>

#include "automation/detail/pictures.h"
#include "automation/detail/text.h"
#include "imagecore/fatal.h"
#include "imagecore/files/pgm.h"
#include "imagecore/palette.h"
#include "imagecore/report.h"

namespace {

// Room of a class name at creation.
constexpr size_t kClassNameRoom = 63;

}  // namespace

VxLabeledRepository::VxLabeledRepository() = default;

VxLabeledRepository::VxLabeledRepository(int n, const int* classModes, const char* path,
                                         const char* repositoryFile)
{
    init(n, classModes, path, repositoryFile);
}

VxLabeledRepository::VxLabeledRepository(const char* file)
{
    vx_report("Loading Labeled Repository %s\n", text_or_empty(file));
    read(file);
}

VxLabeledRepository::~VxLabeledRepository()
{
    std::free(palette);
}

void VxLabeledRepository::writeImage(char* path, image* img)
{
    if (path == nullptr || img == nullptr)
        return;
    const std::string name = std::string(path) + ".pgm";
    vx_report("Filename %s\n", name.c_str());
    if (palette == nullptr || !indexes_palette(img, paletteEntries))
        vx_report("Could not write %s: its values do not index the label palette\n", name.c_str());
    else if (write_pgm_p3(name.c_str(), img, palette) == 0)
        return;
    noteWriteFailure(name);
}

WriteFailures VxLabeledRepository::takeWriteFailures()
{
    return std::exchange(failedWrites, WriteFailures());
}

VxRepository* VxLabeledRepository::loadRepository(const char* file)
{
    return new VxRepository(text_or_empty(file));
}

void VxLabeledRepository::init(int n, const int* classModes, const char* path,
                               const char* repositoryFile)
{
    // 1.-2. Modes, result path, repository.
    modes.assign(static_cast<size_t>(n > 0 ? n : 0), 1);
    for (size_t k = 0; classModes != nullptr && k < modes.size(); ++k)
        modes[k] = classModes[k];
    resultPath = text_or_empty(path);
    repository.reset(loadRepository(repositoryFile));
    // 3. Two classes at least.
    if (n < 2)
        vx_fatal(exit_code::labeled_repository_too_few_classes,
                 "At Least 2 Classes Required. Class 0 default: <Irrelevant>\n");
    numberOfClasses = n;
    // 4. Class names.
    classNames.assign(static_cast<size_t>(n), std::string());
    classNameRoom.assign(static_cast<size_t>(n), kClassNameRoom);
    classNames[0] = "Irrelevant";
    for (int k = 1; k < n; ++k)
        classNames[k] = "Class " + std::to_string(k);
    refreshClassNamePointers();
    // 5. Empty lists, named for the repository's images.
    const int images = repository != nullptr ? repository->NumberOfImages() : 0;
    records.assign(static_cast<size_t>(images), LabeledImage());
    for (int l = 0; l < images; ++l) {
        records[l].name = repository->ImageFilename(l);
        records[l].imageIndex = l;
        records[l].ids.assign(static_cast<size_t>(n), std::vector<int>());
    }
    // 6. Every image selected; the label palette.
    selectAllImages();
    std::free(palette);
    palette = initGreyColorScrambledPalette(n + 256);
    // initGreyColorScrambledPalette(m) holds m + 256 entries.
    paletteEntries = palette != nullptr ? n + 512 : 0;
}

void VxLabeledRepository::refreshClassNamePointers()
{
    classNamePointers.clear();
    for (std::string& name : classNames)
        classNamePointers.push_back(name.data());
}

void VxLabeledRepository::setImage(int image, int n, const int* ids, int cls, const char* name)
{
    if (image < 0 || image >= getNumberOfImages() || cls < 0 || cls >= numberOfClasses) {
        vx_report("VxLabeledRepository: no image %d or class %d to label\n", image, cls);
        return;
    }
    LabeledImage& record = records[image];
    record.name = text_or_empty(name);
    record.imageIndex = image;
    std::vector<int>& list = record.ids[cls];
    if (ids == nullptr || n < 0)
        n = 0;
    list.assign(ids, ids + n);
}

int VxLabeledRepository::NumberOfRegionsInClass(int image, int cls) const
{
    if (image < 0 || image >= getNumberOfImages() || cls < 0 || cls >= numberOfClasses)
        return 0;
    return static_cast<int>(records[image].ids[cls].size());
}

const char* VxLabeledRepository::getNumberOfRegions(int image)
{
    regionCounts.clear();
    if (image < 0 || image >= getNumberOfImages())
        return regionCounts.c_str();
    for (int k = 1; k < numberOfClasses; ++k)
        regionCounts +=
            c_format("%s; Regions %d\n", classNames[k].c_str(), NumberOfRegionsInClass(image, k));
    return regionCounts.c_str();
}

const char* VxLabeledRepository::getClassName(int k) const
{
    return k >= 0 && k < numberOfClasses ? classNames[k].c_str() : nullptr;
}

void VxLabeledRepository::setClassName(const char* name, int k)
{
    if (k < 0 || k >= numberOfClasses)
        return;
    const std::string text = text_or_empty(name);
    if (text.size() > classNameRoom[k]) {
        vx_report("Extending Classlabel %s to %d characters for labeling\n", text.c_str(),
                  static_cast<int>(text.size()) + 1);
        classNameRoom[k] = text.size();
    }
    classNames[k] = text;
    refreshClassNamePointers();
}

int VxLabeledRepository::getMode(int k) const
{
    return k >= 0 && k < numberOfClasses ? modes[k] : -1;
}

int VxLabeledRepository::setMode(int k, int mode)
{
    if (k < 0 || k >= numberOfClasses)
        return -1;
    modes[k] = mode;
    return k;
}

const char* VxLabeledRepository::RepositoryName() const
{
    return repository != nullptr ? repository->RepositoryName() : "";
}

const char* VxLabeledRepository::getImageName(int i) const
{
    return i >= 0 && i < getNumberOfImages() ? records[i].name.c_str() : nullptr;
}

int VxLabeledRepository::initAttributes(const char* updateRule)
{
    return repository != nullptr ? repository->initAttributes(updateRule) : 0;
}

char** VxLabeledRepository::getAttributes()
{
    return repository != nullptr ? repository->getAttributes() : nullptr;
}

int VxLabeledRepository::selectAllImages()
{
    selection.clear();
    for (int i = 0; i < getNumberOfImages(); ++i)
        selection.push_back(i);
    return getNumberOfSelectedImages();
}

int VxLabeledRepository::selectLabeledImages(int k)
{
    selection.clear();
    for (int i = 0; i < getNumberOfImages(); ++i)
        if (NumberOfRegionsInClass(i, k) > 0)
            selection.push_back(i);
    return getNumberOfSelectedImages();
}

int VxLabeledRepository::selectUnlabeledImages(int k)
{
    selection.clear();
    for (int i = 0; i < getNumberOfImages(); ++i)
        if (NumberOfRegionsInClass(i, k) == 0)
            selection.push_back(i);
    return getNumberOfSelectedImages();
}

void VxLabeledRepository::unselectAllImages()
{
    selection.clear();
}

int VxLabeledRepository::addSelectedImage(int i)
{
    if (i < 0 || i >= getNumberOfImages() || getNumberOfSelectedImages() >= getNumberOfImages())
        return -1;
    selection.push_back(i);
    return getNumberOfSelectedImages();
}

int VxLabeledRepository::classGrey(int k) const
{
    return numberOfClasses > 1 ? 128 + k * (127 / (numberOfClasses - 1)) : 128;
}
