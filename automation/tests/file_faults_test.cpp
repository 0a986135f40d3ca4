// The repository, table and map files when the disk cannot take them.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

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

}  // namespace
