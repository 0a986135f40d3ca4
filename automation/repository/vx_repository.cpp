#include "automation/repository/vx_repository.h"

#include <cstdlib>
#include <utility>

#include "analyse/attributes/attributes.h"
#include "analyse/trees/regiontree.h"
#include "automation/detail/handles.h"
#include "automation/detail/pictures.h"
#include "automation/detail/text.h"
#include "automation/repository/detail/repository_paths.h"
#include "imagecore/files/pgm.h"
#include "imagecore/report.h"
#include "imagecore/text/image_date.h"
#include "imagecore/text/vxstringtools.h"

namespace {

// A new copy of the picture the reader handed over; null without one.
image* copy_of_picture(const vx_image_handle& picture)
{
    const image* scale0 = picture_of(picture.get());
    return scale0 != nullptr ? create_copy_image(scale0) : nullptr;
}

}  // namespace

VxRepository::VxRepository(char** names, int n, const char* repositoryDirectory,
                           const char* imagesDirectory, int mode)
    : repositoryPath(directory_path(repositoryDirectory, false)),
      imagesPath(directory_path(imagesDirectory, false)),
      generationMode(mode)
{
    vx_report("VxRepository Target Directory %s\n", repositoryPath.c_str());
    if (n < 0 || (n > 0 && names == nullptr)) {
        vx_report("VxRepository: no list of %d images\n", n);
        n = 0;
    }
    images.resize(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        images[i].image = names[i] != nullptr ? names[i] : "-";
    startClock();
    prepareTreeJobs();
}

VxRepository::~VxRepository()
{
    std::free(palette);
    delete_attribute_names(attributes, numberOfAttributes);
    delete_regiontree(darkJob.result);
    delete_regiontree(brightJob.result);
}

void VxRepository::prepareTreeJobs()
{
    for (tree_job* job : {&darkJob, &brightJob}) {
        *job = tree_job{};
        job->scales = scales;
        job->tmpl = unit_disk_template;
    }
    darkJob.mode = 2;
    brightJob.mode = 1;
    darkJob.file_name = darkJobFile.c_str();
    brightJob.file_name = brightJobFile.c_str();
}

void VxRepository::startClock()
{
    startTime = static_cast<int>(image_timer());
    image_date(startDate);
}

vx_image* VxRepository::ReadImage(const char*)
{
    return nullptr;
}

void VxRepository::writeImage(const char* path, image* img)
{
    if (img == nullptr)
        return;
    if (palette == nullptr || !indexes_palette(img, paletteEntries))
        vx_report("Could not write %s: its values do not index the repository palette\n", path);
    else if (write_pgm_p3(path, img, palette) == 0)
        return;
    noteWriteFailure(text_or_empty(path));
}

vx_image* VxRepository::ReadImageGrey(const char*)
{
    return nullptr;
}

void VxRepository::writeImageGrey(const char* path, image* img)
{
    VxRepository::writeImage(path, img);
}

WriteFailures VxRepository::takeWriteFailures()
{
    return std::exchange(failedWrites, WriteFailures());
}

const char* VxRepository::setImageFormat(const char* format)
{
    imageFormat = format != nullptr ? format : "";
    return imageFormat.c_str();
}

const char* VxRepository::setImageFormat()
{
    return VxRepository::setImageFormat("pgm");
}

void VxRepository::init(int n)
{
    if (n < 0) {
        vx_report("VxRepository: no list of %d images\n", n);
        n = 0;
    }
    RepositoryImage empty;
    empty.image = "-";
    images.assign(static_cast<size_t>(n), empty);
}

const char* VxRepository::ImageName(int i) const
{
    return i >= 0 && i < NumberOfImages() ? images[i].image.c_str() : nullptr;
}

const char* VxRepository::BrightTreeName(int i) const
{
    return i >= 0 && i < NumberOfImages() ? images[i].brightTree.c_str() : nullptr;
}

const char* VxRepository::DarkTreeName(int i) const
{
    return i >= 0 && i < NumberOfImages() ? images[i].darkTree.c_str() : nullptr;
}

char* VxRepository::ImageFilename(int i)
{
    if (i >= 0 && i < NumberOfImages())
        copy_cut(generalPath, sizeof generalPath, imagesPath + images[i].image, "ImageFilename");
    return generalPath;
}

char* VxRepository::BrightTreeFilename(int i)
{
    return treeFilename(i, 1);
}

char* VxRepository::DarkTreeFilename(int i)
{
    return treeFilename(i, 2);
}

char* VxRepository::treeFilename(int i, int polarity)
{
    const bool bright = polarity == 1;
    char* buffer = bright ? brightTreeFilename : darkTreeFilename;
    std::string path = repositoryPath;
    if (i >= 0 && i < NumberOfImages())
        path += bright ? images[i].brightTree : images[i].darkTree;
    copy_cut(buffer, sizeof brightTreeFilename, path,
             bright ? "BrightTreeFilename" : "DarkTreeFilename");
    vx_report("%s %s\n", bright ? "BrightFilename" : "DarkFilename", buffer);
    return buffer;
}

image* VxRepository::getImageGrey(int i)
{
    if (i < 0 || i >= NumberOfImages())
        return nullptr;
    return copy_of_picture(vx_image_handle(ReadImageGrey((imagesPath + images[i].image).c_str())));
}

image* VxRepository::getImage(int i)
{
    if (i < 0 || i >= NumberOfImages())
        return nullptr;
    return copy_of_picture(vx_image_handle(ReadImage((imagesPath + images[i].image).c_str())));
}

int VxRepository::getTimer() const
{
    return static_cast<int>(image_timer());
}

const char* VxRepository::getAttribute(int i) const
{
    return i >= 0 && i < numberOfAttributes ? attributes[i] : nullptr;
}

std::string VxRepository::imagePath(int i) const
{
    return imagesPath + "/" + images[i].image;
}

std::string VxRepository::treePath(const std::string& treeName) const
{
    return repositoryPath + "/" + treeName;
}

int VxRepository::stripString(char* s)
{
    return stripLeadingWhitespacesString(s);
}

void VxRepository::StringStrapCommaString(char* line, char* out, size_t capacity)
{
    StringStrapSepString(line, out, capacity, ',');
}

int VxRepository::StringStrapCommaInt(char* line)
{
    return StringStrapSepInt(line, ',');
}

double VxRepository::StringStrapCommaDouble(char* line)
{
    return StringStrapSepDouble(line, ',');
}
