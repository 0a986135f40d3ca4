#include "automation/compare/detail/ground_truth.h"

#include <cstddef>

#include "automation/detail/pictures.h"
#include "automation/detail/text.h"
#include "imagecore/report.h"

std::string tagged_name(const char* imageName, const char* tag)
{
    std::string name = text_or_empty(imageName);
    if (tag == nullptr || *tag == '\0')
        return name;
    return name.substr(0, name.rfind('.')) + "." + tag + ".png";
}

ground_truth read_ground_truth(VxRepository& repository, int image, int row, int rows,
                               const char* directory, const char* tag)
{
    ground_truth truth;
    truth.image = text_or_empty(repository.ImageName(image));
    truth.name = tagged_name(repository.ImageName(image), tag);
    truth.path = std::string(text_or_empty(directory)) + "/" + truth.name;
    vx_report("%d/%d, %s\n", row + 1, rows, truth.path.c_str());
    const vx_image_handle read(repository.ReadImage(truth.path.c_str()));
    const ::image* picture = picture_of(read.get());
    if (picture == nullptr) {
        vx_report("Could not read ground truth %s: a row of zeros\n", truth.path.c_str());
        return truth;
    }
    truth.picture.reset(create_copy_image(picture));
    const size_t n = static_cast<size_t>(picture->width) * static_cast<size_t>(picture->height);
    for (size_t p = 0; p < n; ++p)
        truth.picture->pixels[p] &= 0xff;
    return truth;
}

void report_without_ground_truth(const std::vector<std::string>& images, int total)
{
    if (images.empty())
        return;
    std::string names;
    for (const std::string& image : images)
        names += (names.empty() ? "" : ", ") + image;
    vx_report("No ground truth for %d of %d images: %s\n", static_cast<int>(images.size()), total,
              names.c_str());
}
