#include "analyse/tables/featureio.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "imagecore/files/checked_file.h"
#include "testsupport/full_disk.h"
#include "testsupport/region_tree_builder.h"
#include "testsupport/vx_test.h"

namespace {

// The shared three regions with a table file.
struct TreeTables : testing::Test, vx_test::three_regions {
    vx_test::TempDir dir;
    std::string csv = dir.file("tree.csv");
};

const char* const kHeader = "Imagename, RegionID, area, ratio, shape\n";
const char* const kRowA = "img.png, 1, 12, 0.500000, round\n";
const char* const kRowA1 = "img.png, 2, 5, 0.250000, thin\n";
const char* const kRowB = "img.png, 3, 7, 2.250000, long\n";

TEST_F(TreeTables, EntireTableHasOneRowPerRegionBelowTheRoot)
{
    ASSERT_EQ(fio_writeEntireTreeTable_csv(csv.c_str(), "img.png", tree), 1);
    EXPECT_EQ(vx_test::read_file(csv), std::string(kHeader) + kRowA + kRowA1 + kRowB);
    EXPECT_EQ(tree->nodes[0], nullptr);
    EXPECT_EQ(tree->nodes[2], a1);
}

TEST_F(TreeTables, RowsAreAppendedForNonNullEntriesOnly)
{
    ASSERT_EQ(fio_writeTreeTableHeader(csv.c_str(), tree), 1);
    tregionnode* active[] = {nullptr, b, nullptr, a1};
    ASSERT_EQ(fio_writeTreeTableByNodeArray(csv.c_str(), "img.png", active, 4), 1);
    ASSERT_EQ(fio_writeTreeTableByNodeArray(csv.c_str(), "img.png", active, 2), 1);
    EXPECT_EQ(vx_test::read_file(csv), std::string(kHeader) + kRowB + kRowA1 + kRowB);

    tree->nodes = static_cast<tregionnode**>(std::calloc(4, sizeof(tregionnode*)));
    tree->nodes[1] = a;
    ASSERT_EQ(fio_writeTreeTableByNodelist(csv.c_str(), "img.png", tree), 1);
    EXPECT_EQ(vx_test::read_file(csv), std::string(kHeader) + kRowB + kRowA1 + kRowB + kRowA);
}

TEST_F(TreeTables, TreeWithoutRegionsHasAHeaderOfItsOwn)
{
    const region_tree_handle bare(init_region_tree(2, 2, 1));
    ASSERT_EQ(fio_writeEntireTreeTable_csv(csv.c_str(), "img.png", bare.get()), 1);
    EXPECT_EQ(vx_test::read_file(csv), "Imagename, RegionID, \n");
}

TEST_F(TreeTables, C45PairOfSelectedNumericAttributes)
{
    const std::string stem = dir.file("export");
    tregionnode* nodes[] = {nullptr, a, a1, b};
    char object[] = "Object";
    char irrelevant[] = "Irrelevant";
    char* labels[] = {irrelevant, object, irrelevant, object};
    const int selected[] = {2, 1, 1000,
                            0};  // the string and an index beyond the vector are skipped
    ASSERT_EQ(writeClassifiedTreeC4_5(stem.c_str(), tree, nodes, labels, 4, selected, 4,
                                      "Object, Irrelevant"),
              1);
    EXPECT_EQ(vx_test::read_file(stem + ".names"),
              "Object, Irrelevant.\n\nratio: continuous.\narea: continuous.\n");
    EXPECT_EQ(vx_test::read_file(stem + ".data"),
              "0.500000,12,Object\n0.250000,5,Irrelevant\n2.250000,7,Object\n");

    ASSERT_EQ(writeClassifiedTreeC4_5(stem.c_str(), tree, nodes, labels, 3, selected, 0,
                                      "Object, Irrelevant"),
              1);
    EXPECT_EQ(vx_test::read_file(stem + ".names"), "Object, Irrelevant.\n\n");
    EXPECT_EQ(vx_test::read_file(stem + ".data"), ",Object\n,Irrelevant\n");
}

TEST_F(TreeTables, ListTableIsCreatedEmpty)
{
    vx_test::write_file(csv, "old rows\n");
    ASSERT_EQ(write_regionnode_list_table(csv.c_str()), 1);
    EXPECT_EQ(vx_test::read_file(csv), "");
}

TEST_F(TreeTables, ATableThatCannotBeWrittenWholeLeavesTheOlderOne)
{
    vx_test::write_file(csv, "older table\n");
    EXPECT_EXIT(std::exit(vx_test::under_size_limit([&] {
                    const int result = fio_writeEntireTreeTable_csv(csv.c_str(), "img.png", tree);
                    const bool alone =
                        std::distance(std::filesystem::directory_iterator(dir.path()), {}) == 1;
                    return result == 0 && alone && vx_test::read_file(csv) == "older table\n" ? 3
                                                                                              : 4;
                })),
                testing::ExitedWithCode(3), "");
    // A table written in pieces replaces the older one when it is closed.
    checked_file out(csv.c_str(), "w");
    tregionnode* active[] = {b};
    EXPECT_TRUE(fio_writeTreeTableHeader(out, tree));
    EXPECT_TRUE(fio_writeTreeTableByNodeArray(out, "img.png", active, 1));
    EXPECT_EQ(vx_test::read_file(csv), "older table\n");
    ASSERT_TRUE(out.close());
    EXPECT_EQ(vx_test::read_file(csv), std::string(kHeader) + kRowB);
}

TEST_F(TreeTables, FailedWritesAreReportedAndKeepEarlierRows)
{
    // A table that is created anew is removed when it cannot be written whole.
    EXPECT_EXIT(std::exit(vx_test::under_size_limit([&] {
                    const int result = fio_writeEntireTreeTable_csv(csv.c_str(), "img.png", tree);
                    return result == 0 && !std::filesystem::exists(csv) ? 3 : 4;
                })),
                testing::ExitedWithCode(3), "");
    // Rows that do not fit are reported; the file is cut back to the rows
    // it held before.
    ASSERT_EQ(fio_writeTreeTableHeader(csv.c_str(), tree), 1);
    tregionnode* active[] = {a, a1, b};
    EXPECT_EXIT(
        std::exit(vx_test::under_size_limit([&] {
            return fio_writeTreeTableByNodeArray(csv.c_str(), "img.png", active, 3) == 0 ? 3 : 4;
        })),
        testing::ExitedWithCode(3), "");
    EXPECT_EQ(vx_test::read_file(csv), kHeader);

    testing::internal::CaptureStdout();
    EXPECT_EQ(fio_writeTreeTableHeader(dir.file("no/dir.csv").c_str(), tree), 0);
    EXPECT_EQ(writeClassifiedTreeC4_5(dir.file("no/stem").c_str(), tree, active, nullptr, 3,
                                      nullptr, 0, "A"),
              0);
    testing::internal::GetCapturedStdout();
}

}  // namespace
