// A preprocessing chain run over every image of a repository before its
// trees are computed.
#include "automation/detail/handles.h"
#include "automation/preprocessing/vx_image_processing.h"
#include "automation/repository/detail/repository_paths.h"
#include "automation/repository/vx_repository.h"
#include "imagecore/report.h"

int VxRepository::doPreProc(VxImageProcessing& chain, const char* tag)
{
    const std::string suffix = std::string(".") + (tag != nullptr ? tag : "") + ".png";
    failedWrites = WriteFailures();
    for (int i = 0; i < NumberOfImages(); ++i) {
        RepositoryImage& record = images[i];
        const std::string path = imagePath(i);
        vx_image_handle input(ReadImage(path.c_str()));
        if (input == nullptr) {
            vx_report("Could not load %s\n", path.c_str());
            record.brightDone = 0;  // its trees no longer count
            record.darkDone = 0;
            continue;
        }
        image_handle result(chain.apply(input.get()));
        if (result == nullptr) {
            vx_report("Could not preprocess %s: the image keeps its name\n", path.c_str());
            continue;
        }
        const std::string name = dot_stem(record.image) + suffix;
        const std::string target = imagesPath + name;
        // The writer notes a failure; one that notes none is judged by the
        // file it leaves.
        const long failed = failedWrites.noted();
        writeImage(target.c_str(), result.get());
        if (failedWrites.noted() != failed || !fileExists(target)) {
            vx_report("Could not write %s: the image keeps its name\n", target.c_str());
            continue;
        }
        record.image = name;
    }
    return NumberOfImages();
}
