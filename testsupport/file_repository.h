#pragma once

// A repository that reads its images from PGM ("P5") and PNG files through
// the image library, for the tests and benchmarks of the automation library
// (the base class reads no images).

#include <map>
#include <string>

#include "automation/detail/handles.h"
#include "automation/repository/vx_repository.h"
#include "imagecore/files/image_loader.h"
#include "imagecore/files/pgm.h"
#include "imagecore/image.h"
#include "imagecore/vx_image.h"

namespace vx_test {

// A one-scale multiscale image of the file; null when it cannot be read.
inline vx_image* read_picture_file(const char* path)
{
    const std::string name = path;
    if (name.size() < 4 || name.compare(name.size() - 4, 4, ".png") != 0)
        return read_vx_image_pgm_p5(path);
    image* picture = nullptr;
    if (loadPNG(path, &picture) != 0)
        return nullptr;
    vx_image* v = init_vximage_from_single_image(picture, 1, 0);
    delete_image(picture);
    return v;
}

class FileRepository : public VxRepository {
public:
    using VxRepository::VxRepository;

    vx_image* ReadImage(const char* path) override { return read_picture_file(path); }
    vx_image* ReadImageGrey(const char* path) override { return read_picture_file(path); }
};

// Keeps a copy of every grey image it writes, by path.
class CapturingRepository : public FileRepository {
public:
    using FileRepository::FileRepository;
    void writeImageGrey(const char* path, image* img) override
    {
        written[path].reset(create_copy_image(img));
    }
    std::map<std::string, image_handle> written;
};

}  // namespace vx_test
