#include "analyse/display/region_texts.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "analyse/attributes/attributes.h"
#include "testsupport/region_tree_builder.h"

namespace {

// A node whose fields all differ, and the texts of it.
struct RegionTexts : testing::Test {
    const region_node_handle n{vx_test::node(nullptr, {1, 2, 3})};

    void SetUp() override
    {
        n->file_index = 7;
        n->label = 3;
        n->birth = 2;
        n->age = 4;
        n->life_quotient = 0.5;
        n->max_width = 9;
        n->min_width = 1;
        n->nsons = 2;
        n->volume = 40;
        n->contour_size = 12;
        n->left = 5;
        n->right = 1;
        n->ahead = 6;
        n->inner_contour_size = 4;
        n->greyentropy = 0.25;
        n->homogeneity = 0.75;
        n->variance = 2.0;
        n->stddev = 1.414214;
        n->meangrey = 17;
        n->areafraction = 1.5;
        n->decompentropy = 0.125;
        n->contrast = 13.333333;
        n->roundness = 0.9;
        n->convexity = 0.8;
        n->ambiguity = 1;
        n->convexity_quotient = 1.1;
        n->area_quotient = 0.3;
        n->contrast_quotient = 1.2;
        n->roundness_quotient = 1.3;
        n->birth_quotient = 0.6;
        n->min_diameter_quotient = 0.4;
        n->max_diameter_quotient = 0.7;
        n->significance = 1.0;
        n->centroidX = 3;
        n->centroidY = 4;
        n->centroidXn = 0.3;
        n->centroidYn = 0.4;
        n->orientation = -0.785398;
        n->paxisn = 0.05;
        n->aaxisn = 0.02;
        n->paxis = 5;
        n->aaxis = 2;
    }

    static std::string take(char* text)
    {
        std::string s(text);
        std::free(text);
        return s;
    }
};

TEST_F(RegionTexts, FixedFieldsWithoutAttributeVector)
{
    EXPECT_EQ(take(va_fixed_attribute_output(n.get())),
              "\nTree File Index 7\n"
              "\nRegion Index 3\n"
              "Birth 2\nAge 4\nLife Quotient 0.500000\nMax Width 9\nMin Width 1\nSons 2\nSize 3\n"
              "Volume 40\nContour Length 12\nLeft 5 Right 1 Ahead 6\nInner Contour 4\n"
              "Entropyy 0.250000\nHomogenity 0.750000\nVariance 2.000000\n"
              "Standard Deviation 1.414214\nMean Greyvalue 17\nAreafraction 1.500000\n"
              "Decomposition Entropyy 0.125000\nContrast 13.333333\nRoundness 0.900000\n"
              "Convexity 0.800000\nAmbiguity 1\n");
}

TEST_F(RegionTexts, AttributeVectorLinesFollowIndexAndLabel)
{
    n->attribs = vx_test::attribute_vector(3);
    init_int_attrib(12, "area", n->attribs);
    init_double_attrib(1e300, "huge", n->attribs);
    init_string_attrib("round", "shape", n->attribs);
    const std::string text = take(va_fixed_attribute_output(n.get()));
    char number[400];
    std::snprintf(number, sizeof number, "%f", 1e300);  // 308 characters
    const std::string huge = "huge: " + std::string(number) + "\n";
    EXPECT_EQ(text, "\nTree File Index 7\nRegion Label 3\narea: 12\n" + huge + "shape: round\n");
}

TEST_F(RegionTexts, BaseAttributesOfAVectorBuiltFromTheNode)
{
    init_attrib_array(n.get(), nullptr);
    const std::string text = take(va_fixed_attribute_output(n.get()));
    EXPECT_EQ(text.rfind("\nTree File Index 7\nRegion Label 3\nage: 4\nahead: 6\n", 0), 0u);
    EXPECT_NE(text.find("\narea: 3\n"), std::string::npos);
    EXPECT_NE(text.find("\nnode: 7\n"), std::string::npos);
}

TEST_F(RegionTexts, QuotientsAndMoments)
{
    EXPECT_EQ(take(va_attribute_output(n.get())),
              "\nConvexity Quotient 1.100000\nArea Quotient 0.300000\nContrast Quotient 1.200000\n"
              "Roundness Quotient 1.300000\n1 - (Birth Quotient) 0.600000\n"
              "Min Diameter Quotient 0.400000\nMax Diameter Quotient 0.700000\n"
              "Scale Quotient 0.500000\nNode Birth 2\nNode Age 4\nEntropyy 0.250000\n"
              "Significance 1.000000\n\n"
              "CentroidX 3.000000\nCentroidY 4.000000\nCentroidXn 0.300000\nCentroidYn 0.400000\n"
              "Orientation -0.785398\nPAxisn 0.050000\nAAxisn 0.020000\nPAxis 5\nAAxis 2\n");

    testing::internal::CaptureStdout();
    attribute_output(n.get());
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Convexity Quotient 1.100000\nArea Quotient 0.300000\nContrast Quotient 1.200000\n"
              "Roundness Quotient 1.300000\n1 - (Birth Quotient) 0.600000\n"
              "Min Diameter Quotient 0.400000\nMax Diameter Quotient 0.700000\n"
              "Scale Quotient 0.500000\nNode Birth 2\nNode Age 4\nDecomp Entropyy 0.125000\n"
              "Significance 1.000000\n\n");
}

}  // namespace
