#include "analyse/display/visual_analyse.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "analyse/attributes/attributes.h"
#include "analyse/tables/featureio.h"
#include "testsupport/region_tree_builder.h"
#include "testsupport/vx_test.h"

namespace {

using vx_test::node;
using vx_test::pixels;

// A 4 x 2 tree read back from a file would carry breadth-first file indices:
// A 1, B 2, A1 3 (labels of an earlier numbering left behind).
struct AttributeRun : testing::Test {
    vx_test::TempDir dir;
    const region_tree_handle tree{init_region_tree(4, 2, 3)};
    tregionnode* a = node(tree->root, {0, 1, 2, 3});
    tregionnode* a1 = node(a, {0, 1});
    tregionnode* b = node(tree->root, {4, 5, 6, 7});
    const image_handle grey{create_image(4, 2, 0)};

    void SetUp() override
    {
        tree->regions = 4;
        a->file_index = 1;
        b->file_index = 2;
        a1->file_index = 3;
        for (tregionnode* n : {a, a1, b})
            n->label = 99;
        for (int p = 0; p < 8; ++p)
            grey->pixels[p] = 10 * (p + 1);
        tree->update = 1;
    }
    std::string rule(const std::string& text)
    {
        const std::string path = dir.file("update.rule");
        vx_test::write_file(path, text);
        return path;
    }
    int run(const char* rule_file)
    {
        testing::internal::CaptureStdout();
        const int result = va_update_region_tree(grey.get(), tree.get(), rule_file, 1);
        output = testing::internal::GetCapturedStdout();
        return result;
    }
    std::string output;
};

TEST_F(AttributeRun, NumbersByFileIndexAndComputesTheBaseAttributes)
{
    ASSERT_EQ(run(nullptr), 1);
    EXPECT_EQ(tree->update, 0);
    EXPECT_EQ(tree->nodes[0], nullptr);
    EXPECT_EQ(tree->nodes[1], a);
    EXPECT_EQ(tree->nodes[2], b);
    EXPECT_EQ(tree->nodes[3], a1);
    EXPECT_EQ(a1->label, 3);
    ASSERT_NE(tree->attr_image, nullptr);
    ASSERT_EQ(tree->attr_image->nscales, 2);
    EXPECT_EQ(pixels(&tree->attr_image->scales[0]), pixels(grey.get()));
    EXPECT_EQ(pixels(&tree->attr_image->scales[1]), std::vector<int>(8, 0));
    // Volume above the image minimum 10: 0 + 10 + 20 + 30.
    EXPECT_EQ(a->volume, 60);
    EXPECT_DOUBLE_EQ(a->contrast, 15.0);
    EXPECT_DOUBLE_EQ(a1->area_quotient, 0.5);
    EXPECT_EQ(a->attribs, nullptr);
}

TEST_F(AttributeRun, WithoutGreyImageNothingIsComputed)
{
    EXPECT_EQ(va_update_region_tree(nullptr, tree.get(), nullptr, 1), 0);
    EXPECT_EQ(tree->attr_image, nullptr);
    EXPECT_EQ(tree->update, 1);
    const vx_image_handle empty(init_vx_image(4, 2, 0));
    const std::string csv = dir.file("t.csv");
    testing::internal::CaptureStdout();
    EXPECT_EQ(fio_writeEntireTreeTable(csv.c_str(), tree.get(), empty.get(), nullptr, "img.png", 1),
              0);
    testing::internal::GetCapturedStdout();
    EXPECT_FALSE(std::filesystem::exists(csv));
}

// The columns of one table row.
std::vector<std::string> columns(const std::string& line)
{
    std::vector<std::string> out;
    std::string::size_type start = 0;
    for (std::string::size_type comma; (comma = line.find(", ", start)) != std::string::npos;
         start = comma + 2)
        out.push_back(line.substr(start, comma - start));
    out.push_back(line.substr(start));
    return out;
}

TEST_F(AttributeRun, RuleFileAddsItsSymbolsToEveryVectorAndTheTable)
{
    const std::string path = rule("DECLS: twice := area * 2; #DECLS");
    ASSERT_EQ(run(path.c_str()), 1);
    EXPECT_NE(output.find("Parsing File: " + path), std::string::npos);
    for (tregionnode* n : {a, a1, b}) {
        ASSERT_NE(n->attribs, nullptr);
        ASSERT_EQ(n->attribs->capacity, 36);
        EXPECT_EQ(n->attribs->entries[35].dvalue, 2.0 * n->size);
    }
    EXPECT_EQ(tree->root->attribs, a->attribs);
    EXPECT_NE(tree->attr_buffer, nullptr);

    // A second run replaces every vector.
    ASSERT_EQ(run(path.c_str()), 1);
    EXPECT_EQ(tree->root->attribs, a->attribs);

    const std::string csv = dir.file("bright.csv");
    const vx_image_handle multiscale(init_vximage_from_single_image(grey.get(), 1, 0));
    testing::internal::CaptureStdout();
    ASSERT_EQ(fio_writeEntireTreeTable(csv.c_str(), tree.get(), multiscale.get(), path.c_str(),
                                       "img.png", 1),
              1);
    testing::internal::GetCapturedStdout();

    std::istringstream table(vx_test::read_file(csv));
    std::string line;
    std::vector<std::vector<std::string>> rows;
    while (std::getline(table, line))
        rows.push_back(columns(line));
    ASSERT_EQ(rows.size(), 4u);
    const std::vector<std::string>& header = rows[0];
    ASSERT_EQ(header.size(), 2u + 36u);
    EXPECT_EQ(header[0], "Imagename");
    EXPECT_EQ(header[1], "RegionID");
    EXPECT_EQ(header[2], "age");
    EXPECT_EQ(header[2 + 3], "area");
    EXPECT_EQ(header[2 + 8], "meangrey");
    EXPECT_EQ(header[2 + 34], "node");
    EXPECT_EQ(header[2 + 35], "twice");
    // Rows in file-index order; A1 holds the grey values 10 and 20.
    const std::vector<std::string>& row = rows[3];
    ASSERT_EQ(row.size(), header.size());
    EXPECT_EQ(row[0], "img.png");
    EXPECT_EQ(row[1], "3");
    EXPECT_EQ(row[2 + 3], "2");
    EXPECT_EQ(row[2 + 8], "15");
    EXPECT_EQ(row[2 + 31], "10");
    EXPECT_EQ(row[2 + 32], "20");
    EXPECT_EQ(row[2 + 34], "3");
    EXPECT_EQ(row[2 + 35], "4.000000");
    EXPECT_EQ(rows[1][1], "1");
    EXPECT_EQ(rows[2][1], "2");
}

TEST_F(AttributeRun, RuleFileThatDoesNotParseChangesNoRegion)
{
    const std::string path = rule("DECLS: twice := ; #DECLS");
    EXPECT_EQ(run(path.c_str()), 0);
    EXPECT_NE(output.find("Parse Complication no change"), std::string::npos);
    EXPECT_EQ(a->attribs, nullptr);
    EXPECT_EQ(b->attribs, nullptr);
    EXPECT_EQ(tree->update, 1);
}

}  // namespace
