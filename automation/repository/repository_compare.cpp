// The comparison of a repository's trees with ground-truth label images.
#include <cstdlib>
#include <string>
#include <vector>

#include "automation/compare/detail/ground_truth.h"
#include "automation/compare/vx_tree_regions_compare.h"
#include "automation/detail/handles.h"
#include "automation/detail/text.h"
#include "automation/repository/detail/tree_files.h"
#include "automation/repository/vx_repository.h"
#include "imagecore/files/checked_file.h"
#include "imagecore/report.h"
#include "imagecore/text/vxstringtools.h"

namespace {

std::vector<int> label_list(const char* labels)
{
    int* values = nullptr;
    const int n = toIntArray(labels, &values, ',');
    std::vector<int> list(values, values + n);
    std::free(values);
    return list;
}

}  // namespace

int VxRepository::CompareTreesGroundTruth(const char* table, int polarity, const char* gtDir,
                                          double t, const char* labels, const char* gtSuffix,
                                          const char* outDir, const char* outSuffix, void* context,
                                          compare_progress_fn progress)
{
    std::vector<std::string> withoutGroundTruth;
    return CompareTreesGroundTruth(table, polarity, gtDir, t, labels, gtSuffix, outDir, outSuffix,
                                   context, progress, withoutGroundTruth);
}

int VxRepository::CompareTreesGroundTruth(const char* table, int polarity, const char* gtDir,
                                          double t, const char* labels, const char* gtSuffix,
                                          const char* outDir, const char* outSuffix, void* context,
                                          compare_progress_fn progress,
                                          std::vector<std::string>& withoutGroundTruth)
{
    if (polarity != 1 && polarity != 2) {
        vx_report("CompareTreesGroundTruth: polarity %d is neither 1 (bright) nor 2 (dark)\n",
                  polarity);
        return 0;
    }
    checked_file out(text_or_empty(table), "w");
    if (!out.is_open())
        return 0;
    out.write(
        "TreeFile; Ground Truth File; Objects GT; Objects Matched; Match Rate; Avg. Quality "
        "matched; Avg. Quality all; Quality Dev\n");
    const std::vector<int> valid = label_list(labels);
    const bool withImages = outDir != nullptr && *outDir != '\0';
    std::vector<std::string> missing;
    for (int i = 0; i < NumberOfImages(); ++i) {
        const std::string treeName = polarity == 1 ? images[i].brightTree : images[i].darkTree;
        const std::string tree = treePath(treeName);
        const ground_truth truth =
            read_ground_truth(*this, i, i, NumberOfImages(), gtDir, gtSuffix);
        if (truth.picture == nullptr)
            missing.push_back(truth.image);
        region_tree_handle regions;
        if (treeName == "-")
            vx_report("Image %s has no %s tree: a row of zeros\n", ImageName(i),
                      polarity == 1 ? "bright" : "dark");
        else
            regions.reset(load_tree_file(tree));
        const VxTreeRegionsCompare compare(regions.get(), truth.picture.get(), valid.data(),
                                           static_cast<int>(valid.size()));
        const int objects = compare.NumObjects();
        const int matched = compare.NumObjectsQuality(t);
        out.write(c_format("%s; %s; %d; %d; %f; %f;%f; %f;\n", tree.c_str(), truth.path.c_str(),
                           objects, matched,
                           objects > 0 ? static_cast<double>(matched) / objects : 0.0,
                           compare.avgQualityMatched(t), compare.avgQualityAll(t), t));
        if (withImages) {
            const image_handle best(compare.getBestMatchRegionsImage(t));
            if (best != nullptr)
                writeImageGrey(
                    (std::string(outDir) + "/" + tagged_name(ImageName(i), outSuffix)).c_str(),
                    best.get());
        }
        if (context != nullptr && progress != nullptr)
            progress(i, context);
    }
    report_without_ground_truth(missing, NumberOfImages());
    withoutGroundTruth.insert(withoutGroundTruth.end(), missing.begin(), missing.end());
    return out.close() ? 1 : 0;
}
