// The repository, table and map files when the disk cannot take them.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "automation/repository/vx_labeled_repository.h"
#include "automation/sofm/vxsofm.h"
#include "automation/tables/vxtable.h"
#include "testsupport/full_disk.h"
#include "testsupport/repository_fixture.h"
#include "testsupport/vx_test.h"

namespace {

constexpr int kScales = 4;
const char* const kOlder = "an older file that must stay whole\n";

int entries(const std::filesystem::path& dir)
{
    return static_cast<int>(std::distance(std::filesystem::directory_iterator(dir), {}));
}

TEST(FileFaults, WritesThatFailHalfWayLeaveTheOlderFilesWhole)
{
    vx_test::repository_dir d(2);
    {
        auto computing = d.repository(3);
        vx_test::compute_trees(*computing, kScales);
        testing::internal::CaptureStdout();
        computing->write(d.dir.file("r.vxr").c_str());
        testing::internal::GetCapturedStdout();
    }
    vx_test::CapturingRepository r(d.dir.file("r.vxr").c_str());
    const std::string rule = d.dir.file("sons.rule");
    vx_test::write_file(rule, "RULES: TD: #RULES\n");
    const std::string files[] = {d.dir.file("q.vxq"),      d.dir.file("t.bright.csv"),
                                 d.dir.file("t.dark.csv"), d.dir.file("r.vxr"),
                                 d.dir.file("table.csv"),  d.dir.file("map.som")};
    for (const std::string& file : files)
        vx_test::write_file(file, kOlder);
    const int before = entries(d.dir.path());

    VxTable table(2, 8, "\1\3", "value;name", ';');
    for (int row = 0; row < 8; ++row)
        table.setEntry(row, 0, 0.5 * row);
    vector_array* inputs = init_vector_array(2, 8, 1.0);
    const unsigned columns[] = {0, 1};
    testing::internal::CaptureStdout();
    vxsofm map(2, 2, inputs, 0.5, 1.0, 4, 1, 0);
    testing::internal::GetCapturedStdout();

    const char* queries[] = {rule.c_str()};
    const int modes[] = {1};
    bool refused = false;
    {
        const vx_test::FileSizeLimit full(64);
        // No image is queried when the summary's head cannot be written.
        refused = !r.QueryAllImages(nullptr, queries, 1, files[0].c_str(),
                                    d.dir.file("results").c_str(), modes) &&
                  r.written.empty() && !r.writeRepositoryTables(d.dir.file("t").c_str(), "") &&
                  r.WriteRepository(files[3].c_str()) == 0 && !table.writeCSV(files[4].c_str()) &&
                  !map.write(files[5].c_str(), "table.csv", columns);
    }
    EXPECT_TRUE(refused);
    EXPECT_EQ(entries(d.dir.path()), before);
    for (const std::string& file : files)
        EXPECT_EQ(vx_test::read_file(file), kOlder) << file;
    delete_vector_array(inputs);
}

// A computed repository of two pictures stored as "r.vxr", read back
// through the test reader, which writes its images as the base class does.
struct stored_repository {
    vx_test::repository_dir d{2};
    std::string vxr = d.dir.file("r.vxr");
    std::string results = d.dir.file("results");

    stored_repository()
    {
        auto computing = d.repository(3);
        vx_test::compute_trees(*computing, kScales);
        vx_test::printed_by([&] { computing->write(vxr.c_str()); });
        std::filesystem::create_directory(results);
    }
};

TEST(FileFaults, AQueryRunWhoseImagesCannotBeWrittenKeepsTheOlderOnesAndSaysSo)
{
    stored_repository s;
    vx_test::FileRepository r(s.vxr.c_str());
    const std::string rule = s.d.dir.file("sons.rule");
    vx_test::write_file(rule, "RULES: TD: #RULES\n");
    const char* queries[] = {rule.c_str()};
    const int modes[] = {1};
    const std::string images[] = {
        s.results + "/queryresult.img0.pgm", s.results + "/queryresult.regions.img0.pgm",
        s.results + "/queryresult.img1.pgm", s.results + "/queryresult.regions.img1.pgm"};
    for (const std::string& image : images)
        vx_test::write_file(image, kOlder);

    // The summary takes its lines, the result images (P3 text of some
    // kilobytes) do not fit.
    const std::string summary = s.d.dir.file("q.vxq");
    bool complete = true;
    vx_test::printed_by([&] {
        const vx_test::FileSizeLimit full(2048);
        complete = r.QueryAllImages(nullptr, queries, 1, summary.c_str(), s.results.c_str(), modes);
    });
    EXPECT_FALSE(complete);
    EXPECT_EQ(vx_test::lines_of(vx_test::read_file(summary)).size(), 10u);
    EXPECT_EQ(r.writeFailures().count(), 4);
    EXPECT_EQ(r.writeFailures().first(), images[0]);
    for (const std::string& image : images)
        EXPECT_EQ(vx_test::read_file(image), kOlder) << image;

    // The step by step run of the GUI, on a summary that takes no more:
    // the lines cut back are noted with the images.
    const std::string full_summary = std::string(2048, '#');
    vx_test::write_file(summary, full_summary);
    vx_test::printed_by([&] {
        const vx_test::FileSizeLimit full(2048);
        r.initQueryImages(nullptr, queries, 1, summary.c_str(), s.results.c_str(), modes);
        while (r.QueryImagesStep(nullptr, queries, 1, summary.c_str(), s.results.c_str(), modes) <
               r.NumberOfImages()) {}
    });
    const WriteFailures failures = r.takeWriteFailures();
    EXPECT_EQ(failures.count(), 5);
    EXPECT_EQ(failures.first(), images[0]);
    EXPECT_TRUE(r.writeFailures().empty());
    EXPECT_EQ(vx_test::read_file(summary), full_summary);
    for (const std::string& image : images)
        EXPECT_EQ(vx_test::read_file(image), kOlder) << image;
    EXPECT_EQ(entries(s.results), 4) << "no temporary file is left";
}

// Labels over the test reader, written as the base class writes them.
class FileLabels : public VxLabeledRepository {
public:
    VxRepository* loadRepository(const char* file) override
    {
        return new vx_test::FileRepository(file);
    }
};

TEST(FileFaults, LabelImagesThatCannotBeWrittenAreNeitherNamedNorLeftHalfWritten)
{
    stored_repository s;
    FileLabels labels;
    const std::string vxq = s.d.dir.file("labels.vxq");
    std::vector<std::string> pictures;
    vx_test::printed_by([&] {
        labels.init(2, nullptr, s.results.c_str(), s.vxr.c_str());
        const int ids[] = {1};
        for (int i = 0; i < 2; ++i) {
            pictures.push_back(labels.getImageName(i));
            labels.setImage(i, 1, ids, 1, pictures.back().c_str());
        }
    });
    // The base writer adds ".pgm" to the name the record gets.
    const std::string older = s.results + "/labeled.img0.pgm.pgm.pgm";
    vx_test::write_file(older, kOlder);
    vx_test::printed_by([&] {
        const vx_test::FileSizeLimit full(2048);
        labels.updateClassifiedImageFiles(vxq.c_str(), "pgm");
    });
    EXPECT_EQ(labels.writeFailures().count(), 2);
    EXPECT_EQ(labels.writeFailures().first(), older);
    EXPECT_EQ(vx_test::read_file(older), kOlder);
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(labels.getImageName(i), pictures[i]) << "still the picture, no label image";
    EXPECT_FALSE(std::filesystem::exists(vxq)) << "nothing changed, nothing rewritten";

    // Written once there is room.
    vx_test::printed_by([&] { labels.updateClassifiedImageFiles("pgm"); });
    EXPECT_TRUE(labels.writeFailures().empty());
    EXPECT_EQ(labels.getImageName(0), s.results + "/labeled.img0.pgm.pgm");
    EXPECT_EQ(vx_test::read_file(older).rfind("P3\n", 0), 0u);
    EXPECT_TRUE(std::filesystem::exists(vxq));
}

}  // namespace
