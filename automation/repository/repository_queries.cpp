// The query run over the images of a repository: per image the queries on
// its bright and dark trees, the summary line and the result images.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "automation/detail/handles.h"
#include "automation/detail/pictures.h"
#include "automation/detail/text.h"
#include "automation/repository/detail/query_summary_text.h"
#include "automation/repository/detail/repository_paths.h"
#include "automation/repository/detail/tree_files.h"
#include "automation/repository/vx_repository.h"
#include "imagecore/files/checked_file.h"
#include "imagecore/palette.h"
#include "imagecore/report.h"
#include "imagecore/text/image_date.h"

namespace {

// The tree of one polarity of the image being queried, loaded when a query
// first needs it, with its node vector.
struct query_tree {
    bool tried = false;
    region_tree_handle tree;
    std::vector<tregionnode*> nodes;

    int count() const { return static_cast<int>(nodes.size()); }
};

void load_query_tree(query_tree& slot, const image* picture, bool done, const std::string& path,
                     const char* updateRule, int polarity)
{
    slot.tried = true;
    if (picture == nullptr)
        return;
    if (!done) {
        vx_report("No %s tree for %s: its queries give no hits\n",
                  polarity == 1 ? "bright" : "dark", path.c_str());
        return;
    }
    slot.tree.reset(measured_tree(picture, path, updateRule, polarity));
    if (slot.tree != nullptr)
        slot.nodes.assign(static_cast<size_t>(slot.tree->regions) + 1, nullptr);
}

// The reader's picture, or null after a message.
image* picture_or_report(const vx_image* input, const std::string& path)
{
    image* picture = picture_of(input);
    if (picture == nullptr)
        vx_report("Could not read image %s: its queries give no hits\n", path.c_str());
    return picture;
}

}  // namespace

void VxRepository::initResultTable(const char* file)
{
    resultTableName = text_or_empty(file);
    flags |= REPOSITORY_RESULT_TABLE;
}

void VxRepository::newResultPalette(int queries)
{
    std::free(palette);
    palette = initGreyColorScrambledPalette(queries + 256);
    // Greys 0..255 and a colour per query from 256 on: what the result images
    // hold, and the count the writers hand on and print.
    paletteEntries = palette != nullptr ? queries + 256 : 0;
}

void VxRepository::initQueryImages(const char*, const char* const*, int n, const char*,
                                   const char* path, const int*)
{
    newResultPalette(n > 0 ? n : 0);
    resultPath = text_or_empty(path);
    queryImageCounter = 0;
    failedWrites = WriteFailures();
}

int VxRepository::QueryImagesStep(const char* updateRule, const char* const* queries, int n,
                                  const char* summaryFile, const char*, const int* modes)
{
    if (queryImageCounter >= 0 && queryImageCounter < NumberOfImages()) {
        vx_report("Processing Image %d/%d\n", queryImageCounter + 1, NumberOfImages());
        applyModalQueries(queryImageCounter, updateRule, queries, n, summaryFile, modes);
    }
    return ++queryImageCounter;
}

void VxRepository::applyModalQueries(int i, const char* updateRule, const char* const* queries,
                                     int n, const char* summaryFile, const int* modes)
{
    if (i < 0 || i >= NumberOfImages())
        return;
    // A line that cannot be written whole is cut back off the file.
    checked_file summary(text_or_empty(summaryFile), "a");
    queryImage(i, updateRule, queries, n, summary, modes);
    if (!summary.close())
        noteWriteFailure(text_or_empty(summaryFile));
}

void VxRepository::queryImage(int i, const char* updateRule, const char* const* queries, int n,
                              checked_file& summary, const int* modes)
{
    n = queries != nullptr && n > 0 ? n : 0;
    const RepositoryImage& record = images[i];

    // 1.-2. The picture, its two result images and their names.
    const std::string path = imagePath(i);
    const vx_image_handle input(ReadImageGrey(path.c_str()));
    image* picture = picture_or_report(input.get(), path);
    image_handle result(picture != nullptr ? create_copy_image(picture) : nullptr);
    image_handle regions(picture != nullptr ? create_image(picture->width, picture->height, 0)
                                            : nullptr);
    const int start = static_cast<int>(image_timer());
    const std::string stem = dot_stem(record.image);
    const std::string first = resultPath + "/queryresult." + stem + "." + imageFormat;
    const std::string second = resultPath + "/queryresult.regions." + stem + "." + imageFormat;
    std::string line = first;

    // 3. The queries, each on the tree of its mode.
    query_tree trees[2];
    int previous = 0;
    for (int q = 0; q < n; ++q) {
        int polarity = modes != nullptr ? modes[q] : 1;
        if (polarity != 1 && polarity != 2) {
            if (previous == 0)
                vx_report("Query %s has mode %d: it runs on the bright tree\n",
                          text_or_empty(queries[q]), polarity);
            polarity = previous != 0 ? previous : 1;
        }
        previous = polarity;
        query_tree& slot = trees[polarity - 1];
        if (!slot.tried)
            load_query_tree(slot, picture,
                            (polarity == 1 ? record.brightDone : record.darkDone) != 0,
                            treePath(polarity == 1 ? record.brightTree : record.darkTree),
                            updateRule, polarity);
        hitList.clear();
        int hits = 0;
        if (slot.tree != nullptr) {
            if ((flags & REPOSITORY_RESULT_TABLE) != 0 && (flags & REPOSITORY_RESULT_HEADER) == 0) {
                writeClassifiedResultTableHeader(slot.tree.get(), "RegionID;", "; ");
                flags |= REPOSITORY_RESULT_HEADER;
            }
            hits =
                applyQuery(slot.tree.get(), queries[q], slot.nodes.data(), slot.count(), picture);
            setResultImage(256 + q, slot.nodes.data(), slot.count(), result.get());
            setResultImage(q + 1, slot.nodes.data(), slot.count(), regions.get());
        }
        line += c_format(", %d, %d", q + 1, hits) + hitList;
        if (slot.tree != nullptr && (flags & REPOSITORY_RESULT_TABLE) != 0)
            writeClassifiedQueryResultTable(record.image.c_str(), queries[q], slot.nodes.data(),
                                            slot.count());
    }

    // 4.-5. The summary line, the result images, the time taken.
    summary.write(line + "\n");
    if (picture != nullptr) {
        writeImageGrey(first.c_str(), result.get());
        writeImageGrey(second.c_str(), regions.get());
    }
    vx_report("Computation of %d Queries in %d Seconds\n", n,
              static_cast<int>(image_timer()) - start);
}

bool VxRepository::QueryAllImages(const char* updateRule, const char* const* queries, int n,
                                  const char* summaryFile, const char* path, const int* modes)
{
    if (!summary_holds_queries(n, text_or_empty(summaryFile)))
        return false;
    startClock();
    resultPath = text_or_empty(path);
    failedWrites = WriteFailures();
    // The summary replaces an older one only when every line is written.
    checked_file summary(text_or_empty(summaryFile), "w");
    if (!summary.write(query_summary_header(startDate, repositoryName.c_str(), resultPath.c_str(),
                                            queries, modes, n, NumberOfImages())) ||
        !summary.flush()) {
        vx_report("No query run: the summary %s cannot be written\n", text_or_empty(summaryFile));
        noteWriteFailure(text_or_empty(summaryFile));
        return false;
    }
    newResultPalette(n > 0 ? n : 0);
    for (int i = 0; i < NumberOfImages() && summary.flush(); ++i)
        queryImage(i, updateRule, queries, n, summary, modes);
    vx_report("Evaluated %d Queries on %d Images in %d Seconds\n", n > 0 ? n : 0, NumberOfImages(),
              static_cast<int>(image_timer()) - startTime);
    std::free(palette);
    palette = nullptr;
    paletteEntries = 0;
    if (!summary.close())
        noteWriteFailure(text_or_empty(summaryFile));
    return failedWrites.empty();
}

void VxRepository::applyQueriesNew(const char* treeName, const char* imageName,
                                   const char* updateRule, const char* const* queries, int n,
                                   const char* summaryFile)
{
    n = queries != nullptr && n > 0 ? n : 0;
    const std::string name = text_or_empty(imageName);
    const std::string path = imagesPath + "/" + name;
    const int start = static_cast<int>(image_timer());
    const vx_image_handle input(ReadImageGrey(path.c_str()));
    image* picture = picture_or_report(input.get(), path);
    query_tree slot;
    load_query_tree(slot, picture, treeName != nullptr, treePath(text_or_empty(treeName)),
                    updateRule, 1);
    if (slot.tree != nullptr && (flags & REPOSITORY_RESULT_HEADER) == 0) {
        writeResultTableHeader(slot.tree.get(), "RegionID, ", " ");
        flags |= REPOSITORY_RESULT_HEADER;
    }
    image_handle result(picture != nullptr ? create_copy_image(picture) : nullptr);
    const std::string first = resultPath + "/queryresult." + dot_stem(name) + "." + imageFormat;
    std::string line = first;
    for (int q = 0; q < n; ++q) {
        hitList.clear();
        int hits = 0;
        if (slot.tree != nullptr) {
            hits =
                applyQuery(slot.tree.get(), queries[q], slot.nodes.data(), slot.count(), picture);
            setResultImage(q + 256, slot.nodes.data(), slot.count(), result.get());
            if ((flags & REPOSITORY_RESULT_TABLE) != 0)
                writeQueryResultTable(name.c_str(), slot.nodes.data(), slot.count());
        }
        line += c_format(", %d, %d", q + 1, hits) + hitList;
    }
    checked_file summary(text_or_empty(summaryFile), "a");
    if (!summary.write(line + "\n") || !summary.close())
        noteWriteFailure(text_or_empty(summaryFile));
    if (picture != nullptr)
        writeImageGrey(first.c_str(), result.get());
    vx_report("Computation of %d Queries in %d Seconds\n", n,
              static_cast<int>(image_timer()) - start);
}
