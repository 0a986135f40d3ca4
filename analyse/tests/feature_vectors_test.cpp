#include "analyse/tables/feature_vectors.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "testsupport/region_tree_builder.h"
#include "testsupport/full_disk.h"
#include "testsupport/vx_test.h"

namespace {

// The shared three regions with classes A 1, A1 0, B 2; A1's ratio is
// not a number and the tree selects area and ratio.
struct FeatureFiles : testing::Test, vx_test::three_regions {
    vx_test::TempDir dir;
    std::string base = dir.file("regions");

    void SetUp() override
    {
        a->region_class = 1;
        b->region_class = 2;
        a1->attribs->entries[1].dvalue = std::nan("");
        tree->attr_buffer = static_cast<int*>(std::calloc(3, sizeof(int)));
        tree->attr_buffer[0] = tree->attr_buffer[1] = 1;
    }

    std::string read(const char* suffix) const { return vx_test::read_file(base + suffix); }
    std::string preamble(const char* classes) const
    {
        return "| Name file for " + base +
               " Project\n| Attribute Names for Region Tree\n"
               "| Input file for the C4.5 decision tree\n\n" +
               classes + ".  | classes \n\n";
    }
};

TEST_F(FeatureFiles, DynamicNamesListTheSelectedAttributesWithTheirKind)
{
    const int all[] = {1, 1, 1};
    ASSERT_EQ(write_dynamic_feature_names(base.c_str(), 3, all, a), 1);
    EXPECT_EQ(read(".names"),
              preamble("0, 1, 2") +
                  "area:      continuous\nratio:      continuous\nshape:      string\n");
    const int none[] = {0, 0, 0};
    ASSERT_EQ(write_dynamic_feature_names(base.c_str(), 1, none, a), 1);
    EXPECT_EQ(read(".names"), preamble("0"));
}

TEST_F(FeatureFiles, DynamicClassifiedTreeWritesTheSonsOfTheRootLabelledWithTheirClass)
{
    ASSERT_EQ(write_dynamic_classified_tree(base.c_str(), 3, tree), 1);
    EXPECT_EQ(read(".names"),
              preamble("0, 1, 2") + "area:      continuous\nratio:      continuous\n");
    EXPECT_EQ(read(".data"), "12,0.500000,1.\n5,?,0.\n7,2.250000,2.\n");
}

TEST_F(FeatureFiles, DynamicTableHasCountsAndUnlabelledRowsFromTheRoot)
{
    ASSERT_EQ(write_dynamic_tree_table(base.c_str(), tree), 1);
    EXPECT_EQ(read(".table"), "2 4\n12,0.500000,.\n12,0.500000,.\n5,?,.\n7,2.250000,.\n");
}

TEST_F(FeatureFiles, DynamicRowWithLabelAndStrings)
{
    const int last_two[] = {0, 1, 1};
    FILE* f = std::fopen(dir.file("rows").c_str(), "w");
    ASSERT_EQ(write_dynamic_feature_vector(f, b, last_two, "Object"), 1);
    ASSERT_EQ(write_dynamic_feature_vector(f, a1, last_two, nullptr), 1);
    std::fclose(f);
    EXPECT_EQ(vx_test::read_file(dir.file("rows")), "2.250000,long,Object.\n?,thin,.\n");
}

TEST_F(FeatureFiles, FixedNamesPadEveryNameToItsColumn)
{
    ASSERT_EQ(write_feature_names(base.c_str(), 2), 1);
    EXPECT_EQ(read(".names"), preamble("0, 1") +
                                  "iFilenodelabel:      continuous\n"
                                  "Birth:               continuous\n"
                                  "Age:                 continuous\n"
                                  "LifeQuotient:        continuous\n"
                                  "MaxWidth:            continuous\n"
                                  "MinWidth:            continuous\n"
                                  "Sons:                continuous\n"
                                  "Size:                continuous\n"
                                  "Volume:              continuous\n"
                                  "ContourLength:       continuous\n"
                                  "Left:                continuous\n"
                                  "Right:               continuous\n"
                                  "Ahead:               continuous\n"
                                  "InnerContour:        continuous\n"
                                  "Entropyy:            continuous\n"
                                  "Homogenity:          continuous\n"
                                  "Variance:            continuous\n"
                                  "StandardDeviation:   continuous\n"
                                  "MeanGreyvalue:       continuous\n"
                                  "Areafraction:        continuous\n"
                                  "DecompEntropyy:       continuous\n"
                                  "Contrast:            continuous\n"
                                  "Roundness:           continuous\n"
                                  "Convexity:           continuous\n"
                                  "Ambiguity:           continuous\n");
}

TEST_F(FeatureFiles, FixedRowsHoldTheNodeFieldsInOrder)
{
    b->birth = 2;
    b->age = 4;
    b->life_quotient = 0.5;
    b->max_width = 9;
    b->min_width = 1;
    b->volume = 40;
    b->contour_size = 12;
    b->left = 5;
    b->right = 1;
    b->ahead = 6;
    b->inner_contour_size = 3;
    b->greyentropy = 0.25;
    b->homogeneity = 0.75;
    b->variance = 2;
    b->stddev = 1.5;
    b->meangrey = 17;
    b->areafraction = 1.5;
    b->decompentropy = 1;
    b->contrast = 10;
    b->roundness = 0.9;
    b->convexity = -INFINITY;
    b->ambiguity = 1;
    FILE* f = std::fopen(dir.file("rows").c_str(), "w");
    ASSERT_EQ(write_feature_vector(f, b, "Irrelevant"), 1);
    ASSERT_EQ(write_feature_vector(f, a1, nullptr), 1);
    std::fclose(f);
    EXPECT_EQ(
        vx_test::read_file(dir.file("rows")),
        "3,2,4,0.500000,9,1,0,4,40,12,5,1,6,3,0.250000,0.750000,2.000000,1.500000,17,1.500000,"
        "1.000000,10.000000,0.900000,?,1,Irrelevant.\n"
        "2,0,1,0.000000,0,0,0,2,0,0,0,0,0,0,0.000000,0.000000,0.000000,0.000000,0,0.000000,"
        "0.000000,0.000000,0.000000,0.000000,0.\n");

    testing::internal::CaptureStdout();
    ASSERT_EQ(write_classified_tree(base.c_str(), tree), 1);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "(Label 1 1 is 1)\n(Label 3 2 is 2)\n");
    const std::string zeros =
        "0,0,0,0,0,0.000000,0.000000,0.000000,0.000000,0,0.000000,0.000000,0.000000,"
        "0.000000,0.000000,0";
    EXPECT_EQ(read(".data"),
              "1,0,1,0.000000,0,0,1,4,0," + zeros +
                  ",1.\n"
                  "2,0,1,0.000000,0,0,0,2,0," +
                  zeros +
                  ",0.\n"
                  "3,2,4,0.500000,9,1,0,4,40,12,5,1,6,3,0.250000,0.750000,2.000000,1.500000,17,"
                  "1.500000,1.000000,10.000000,0.900000,?,1,2.\n");
}

TEST_F(FeatureFiles, NumbersIgnoreTheProcessLocale)
{
    const char* saved = std::setlocale(LC_ALL, nullptr);
    const std::string previous = saved != nullptr ? saved : "C";
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr &&
        std::setlocale(LC_ALL, "de_DE") == nullptr)
        GTEST_SKIP() << "no locale with a decimal comma installed";
    const int written = write_dynamic_classified_tree(base.c_str(), 3, tree);
    std::setlocale(LC_ALL, previous.c_str());
    ASSERT_EQ(written, 1);
    EXPECT_EQ(read(".data"), "12,0.500000,1.\n5,?,0.\n7,2.250000,2.\n");
}

TEST_F(FeatureFiles, FailedWritesAreReported)
{
    const std::string missing = dir.file("no/such/dir");
    testing::internal::CaptureStdout();
    EXPECT_EQ(write_feature_names(missing.c_str(), 2), 0);
    EXPECT_EQ(write_dynamic_classified_tree(missing.c_str(), 2, tree), 0);
    EXPECT_EQ(write_classified_tree(missing.c_str(), tree), 0);
    EXPECT_NE(testing::internal::GetCapturedStdout().find("Could not Open File"),
              std::string::npos);

    // A created file that cannot be written whole is removed.
    EXPECT_EXIT(std::exit(vx_test::under_size_limit([&] {
                    const int written = write_classified_tree(base.c_str(), tree);
                    return written == 0 && !std::filesystem::exists(base + ".data") ? 3 : 4;
                })),
                testing::ExitedWithCode(3), "");

    FILE* readonly = std::fopen(dir.file("ro").c_str(), "w+");
    std::fclose(readonly);
    readonly = std::fopen(dir.file("ro").c_str(), "r");
    EXPECT_EQ(write_feature_vector(readonly, b, nullptr), 0);
    EXPECT_EQ(write_dynamic_subtree_table(readonly, tree->root, tree->attr_buffer), 0);
    std::fclose(readonly);
}

}  // namespace
