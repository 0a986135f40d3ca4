// Tree files of a repository computed one at a time on the calling thread.
#include "analyse/files/treeio.h"
#include "analyse/tables/featureio.h"
#include "analyse/trees/polarity_tree.h"
#include "automation/detail/handles.h"
#include "automation/detail/pictures.h"
#include "automation/repository/detail/repository_paths.h"
#include "automation/repository/vx_repository.h"
#include "imagecore/report.h"
#include "imagecore/text/image_date.h"

void VxRepository::computeFile(const char* imageName, const char* treeName, int scaleCount,
                               int polarity)
{
    if (imageName == nullptr || treeName == nullptr)
        return;
    const std::string path = imagesPath + "/" + imageName;
    vx_image_handle input(ReadImageGrey(path.c_str()));
    const image* picture = picture_of(input.get());
    if (picture == nullptr || scaleCount < 1) {
        vx_report("Could not compute a tree of %s: image skipped\n", path.c_str());
        return;
    }
    vx_image_handle work(init_vx_image(picture->width, picture->height, scaleCount));
    const std::string tree_path = treePath(treeName);
    if (!hasToComputeTreeFile(tree_path.c_str()))
        return;
    const int start = static_cast<int>(image_timer());
    region_tree_handle tree(build_polarity_tree(input.get(), work.get(), polarity, scaleCount,
                                                unit_disk_template,
                                                static_cast<unsigned>(generationMode)));
    if (tree == nullptr) {
        vx_report("Could not compute a tree of %s: image skipped\n", path.c_str());
        return;
    }
    vx_report("Writing File:%s \n", tree_path.c_str());
    write_elemset_region_tree(tree.get(), tree_path.c_str());
    vx_report("Creation of %s, %d Scales, in %d Seconds\n", tree_path.c_str(), scaleCount,
              static_cast<int>(image_timer()) - start);
    if ((flags & REPOSITORY_STEP_TABLES) != 0) {
        resultTableName = tree_path + ".csv";
        fio_writeEntireTreeTable(resultTableName.c_str(), tree.get(), input.get(),
                                 stepTableRule.c_str(), imageName, polarity);
        writeQueryResultTable(imageName, tree->nodes, tree->regions);
    }
}

void VxRepository::computeBrightFile(int i, int scaleCount)
{
    computePolarityFile(i, scaleCount, 1);
}

void VxRepository::computeDarkFile(int i, int scaleCount)
{
    computePolarityFile(i, scaleCount, 2);
}

void VxRepository::computePolarityFile(int i, int scaleCount, int polarity)
{
    if (i < 0 || i >= NumberOfImages())
        return;
    RepositoryImage& record = images[i];
    std::string& tree = polarity == 1 ? record.brightTree : record.darkTree;
    tree = tree_file_name(record.image, scaleCount, polarity, generationMode);
    int& done = polarity == 1 ? record.brightDone : record.darkDone;
    if (const int other = imagesOfSameStem()[i]; other >= 0) {
        vx_report("Could not compute a tree of %s: %s\n", imagePath(i).c_str(),
                  sharedStemReason(i, other).c_str());
        done = 0;
        return;
    }
    computeFile(record.image.c_str(), tree.c_str(), scaleCount, polarity);
    done = fileExists(treePath(tree)) ? 1 : 0;
}

void VxRepository::computeModeRepository(int polarity, int scaleCount)
{
    if (polarity != 1 && polarity != 2) {
        vx_report("VxRepository: polarity %d is neither bright (1) nor dark (2)\n", polarity);
        return;
    }
    startClock();
    for (int i = 0; i < NumberOfImages(); ++i) {
        if (polarity == 1)
            computeBrightFile(i, scaleCount);
        else
            computeDarkFile(i, scaleCount);
    }
}

void VxRepository::computeRepository(int scaleCount)
{
    for (int i = 0; i < NumberOfImages(); ++i) {
        computeBrightFile(i, scaleCount);
        computeDarkFile(i, scaleCount);
    }
}
