// The comparison of a labeled repository's regions with ground-truth label
// images, object by object.
#include <string>
#include <vector>

#include "automation/compare/detail/ground_truth.h"
#include "automation/compare/vx_image_regions_compare.h"
#include "automation/detail/handles.h"
#include "automation/detail/text.h"
#include "automation/repository/vx_labeled_repository.h"
#include "imagecore/files/checked_file.h"
#include "imagecore/report.h"

namespace {

// The integer columns of a row, in table order.
struct row_counts {
    int values[6] = {0, 0, 0, 0, 0, 0};

    row_counts& operator+=(const row_counts& other)
    {
        for (int c = 0; c < 6; ++c)
            values[c] += other.values[c];
        return *this;
    }
};

std::string row_text(const std::string& name, const row_counts& counts, double precision,
                     double recall)
{
    const int* v = counts.values;
    return c_format("%s; %d; %d; %d; %f; %f; %d; %d; %d \n", name.c_str(), v[0], v[1], v[2],
                    precision, recall, v[3], v[4], v[5]);
}

}  // namespace

int VxLabeledRepository::CompareImageRegions(const char* table, const char* gtDir,
                                             const char* gtSuffix, int graded, void* context,
                                             compare_progress_fn progress)
{
    std::vector<std::string> withoutGroundTruth;
    return CompareImageRegions(table, gtDir, gtSuffix, graded, context, progress,
                               withoutGroundTruth);
}

int VxLabeledRepository::CompareImageRegions(const char* table, const char* gtDir,
                                             const char* gtSuffix, int graded, void* context,
                                             compare_progress_fn progress,
                                             std::vector<std::string>& withoutGroundTruth)
{
    if (repository == nullptr) {
        vx_report("CompareImageRegions: no repository\n");
        return 0;
    }
    checked_file out(text_or_empty(table), "w");
    if (!out.is_open())
        return 0;
    out.write(
        "ImageName; GroundTruth; Query in GT; GT Not in Query; Precision; Recall; Query ; GT in "
        "Query; Query not in GT\n");
    std::vector<int> greys = classGreys();
    if (graded == 0)
        greys.assign(greys.size(), 128);
    row_counts sums;
    double precisions = 0.0;
    double recalls = 0.0;
    std::vector<std::string> missing;
    for (int i = 0; i < getNumberOfImages(); ++i) {
        const ground_truth truth = read_ground_truth(*repository, records[i].imageIndex, i,
                                                     getNumberOfImages(), gtDir, gtSuffix);
        const image* a = truth.picture.get();
        if (a == nullptr)
            missing.push_back(truth.image);
        const image_handle labels(a != nullptr
                                      ? classImage(i, region_part::pixels, greys,
                                                   "VxLabeledRepository::CompareImageRegions(..)")
                                      : nullptr);
        if (a != nullptr && labels != nullptr &&
            (a->width != labels->width || a->height != labels->height))
            vx_report("Ground truth %s is %d x %d, the labels %d x %d: a row of zeros\n",
                      truth.path.c_str(), a->width, a->height, labels->width, labels->height);
        const VxImageRegionsCompare compare(a, labels.get());
        const int objectsA = compare.NumObjectsA() - 1;
        const int objectsB = compare.NumObjectsB() - 1;
        const row_counts row{{objectsA, compare.foundBA(), objectsA - compare.foundAB(), objectsB,
                              compare.foundAB(), objectsB - compare.foundBA()}};
        out.write(row_text(truth.name, row, compare.Precision(), compare.Recall()));
        sums += row;
        precisions += compare.Precision();
        recalls += compare.Recall();
        if (context != nullptr && progress != nullptr)
            progress(i, context);
    }
    const int n = getNumberOfImages();
    report_without_ground_truth(missing, n);
    withoutGroundTruth.insert(withoutGroundTruth.end(), missing.begin(), missing.end());
    out.write(
        row_text("Accumulated", sums, n > 0 ? precisions / n : 0.0, n > 0 ? recalls / n : 0.0));
    return out.close() ? 1 : 0;
}
