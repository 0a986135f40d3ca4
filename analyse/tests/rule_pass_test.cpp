#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "analyse/attributes/attributes.h"
#include "analyse/display/visual_analyse.h"
#include "analyse/features/dynamic_region_update.h"
#include "analyse/features/labeled_region_node.h"
#include "analyse/tests/rule_test_support.h"
#include "testsupport/region_tree_builder.h"
#include "testsupport/vx_test.h"

namespace {

constexpr const char* kRule =
    "DECLS: twice := area * 2; c := volume / area; #DECLS RULES: TD: #RULES";

struct rule_run {
    vx_test::TempDir dir;
    std::string output;

    std::string file(const std::string& text)
    {
        const std::string path = dir.file("update.rule");
        vx_test::write_file(path, text);
        return path;
    }

    int tree(region_tree* tree, image* grey, const std::string& text)
    {
        const std::string path = file(text);
        std::fflush(stdout);
        testing::internal::CaptureStdout();
        const int result = dynamic_region_tree_update(tree, grey, path.c_str(), 2);
        std::fflush(stdout);
        output = testing::internal::GetCapturedStdout();
        return result;
    }

    int tree(vx_test::grey_tree& t, const std::string& text) { return tree(t.tree, t.grey, text); }
};

double value(const tregionnode* n, const char* name)
{
    const int i = check_attrib_exist(n->attribs, name);
    EXPECT_GE(i, 0) << name;
    return i >= 0 ? n->attribs->entries[i].dvalue : -1.0;
}

TEST(RulePass, SmallTreeByHand)
{
    vx_test::grey_tree t;
    rule_run run;
    ASSERT_EQ(run.tree(t, kRule), t.tree->regions);
    EXPECT_NE(run.output.find("done\n"), std::string::npos);

    // The root over the whole image: volume above the minimum 10.
    const tregionnode* root = t.tree->root;
    EXPECT_EQ(root->size, 8);
    EXPECT_EQ(root->volume, 60);
    EXPECT_DOUBLE_EQ(root->contrast, 7.5);

    // b: 20, 20, 20, 40 in columns 2..3 of both rows.
    EXPECT_EQ(t.b->mingrey, 20);
    EXPECT_EQ(t.b->maxgrey, 40);
    EXPECT_EQ(t.b->meangrey, 25);
    EXPECT_DOUBLE_EQ(t.b->meangreyn, 0.5);
    EXPECT_EQ(std::vector<int>({t.b->minx, t.b->maxx, t.b->miny, t.b->maxy}),
              std::vector<int>({2, 3, 0, 1}));
    EXPECT_EQ(t.b->centroidX, 2.0);
    EXPECT_DOUBLE_EQ(t.b->centroidXn, 0.5);
    EXPECT_DOUBLE_EQ(t.b->area_quotient, 0.5);
    EXPECT_DOUBLE_EQ(t.b->decompentropy, 1.0);
    EXPECT_EQ(t.a->decompentropy, 1.0);
    // b1 = {2, 6}: upright, so its orientation turns by -pi/2.
    EXPECT_DOUBLE_EQ(t.b1->orientation, -M_PI / 2);

    // Each node's vector holds the rule's values for that node.
    for (const tregionnode* n : {t.a, t.b, t.b1, t.b2}) {
        ASSERT_NE(n->attribs, nullptr);
        EXPECT_EQ(n->attribs->capacity, 37);
        EXPECT_EQ(n->attribs->entries[3].ivalue, n->size);
        EXPECT_EQ(value(n, "twice"), 2.0 * n->size);
        EXPECT_DOUBLE_EQ(value(n, "c"), static_cast<double>(n->volume) / n->size);
    }
    EXPECT_EQ(value(t.b2, "c"), 20.0);

    // The root borrows the first son's vector; the selection buffer is zeroed.
    EXPECT_EQ(root->attribs, t.a->attribs);
    ASSERT_NE(t.tree->attr_buffer, nullptr);
    for (int i = 0; i < 37; ++i)
        EXPECT_EQ(t.tree->attr_buffer[i], 0);

    // A second pass replaces every vector (the sanitizer build sees the old
    // ones freed) and the root follows.
    t.tree->attr_buffer[0] = 1;
    ASSERT_EQ(run.tree(t, "DECLS: x := 1; #DECLS RULES: TD: #RULES"), t.tree->regions);
    EXPECT_EQ(t.a->attribs->capacity, 36);
    EXPECT_EQ(root->attribs, t.a->attribs);
    EXPECT_EQ(t.tree->attr_buffer[0], 0);
}

TEST(RulePass, FailedParseChangesNoNode)
{
    vx_test::grey_tree t;
    rule_run run;
    // Before any vector exists the root borrows nothing and no buffer is made.
    EXPECT_EQ(run.tree(t, "DECLS: x := ; #DECLS"), 0);
    EXPECT_NE(run.output.find("Parse Complication no change\n"), std::string::npos);
    EXPECT_EQ(t.a->attribs, nullptr);
    EXPECT_EQ(t.tree->root->attribs, nullptr);
    EXPECT_EQ(t.tree->attr_buffer, nullptr);
    EXPECT_EQ(t.b->volume, 0);

    ASSERT_EQ(run.tree(t, kRule), t.tree->regions);
    const attrib_array* before = t.b->attribs;
    const double variance = t.b->variance;
    EXPECT_EQ(run.tree(t, "RULES: TD: area > #RULES"), 0);
    EXPECT_EQ(t.b->attribs, before);
    EXPECT_EQ(t.b->variance, variance);
    EXPECT_EQ(t.tree->root->attribs, t.a->attribs);
    ASSERT_NE(t.tree->attr_buffer, nullptr);
}

TEST(RulePass, RuleFaultThatDoesNotEndTheProcessChangesNoNode)
{
    const rule_test::faults_not_fatal interactive;
    vx_test::grey_tree t;
    rule_run run;
    ASSERT_EQ(run.tree(t, kRule), t.tree->regions);
    const std::vector<tregionnode*> nodes = {t.a, t.b, t.b1, t.b2};
    std::vector<tregionnode> before;
    for (const tregionnode* n : nodes)
        before.push_back(*n);
    const std::vector<double> twice = {value(t.a, "twice"), value(t.b, "twice")};

    // a is done before the fault in b1; another grey image would change all.
    for (int p = 0; p < 8; ++p)
        t.grey->pixels[p] += 5;
    const std::string faulty =
        "DECLS: IF area < 3 THEN " + rule_test::nested_sum(100) + " FI; #DECLS";
    EXPECT_EQ(run.tree(t, faulty), 0);
    EXPECT_NE(run.output.find("FATAL Error vm value stack full\n"), std::string::npos)
        << run.output;
    for (size_t i = 0; i < nodes.size(); ++i) {
        EXPECT_EQ(nodes[i]->attribs, before[i].attribs);
        EXPECT_EQ(nodes[i]->meangrey, before[i].meangrey);
        EXPECT_EQ(nodes[i]->volume, before[i].volume);
        EXPECT_EQ(nodes[i]->decompentropy, before[i].decompentropy);
    }
    EXPECT_EQ(value(t.a, "twice"), twice[0]);
    EXPECT_EQ(value(t.b, "twice"), twice[1]);
    EXPECT_EQ(t.tree->root->attribs, t.a->attribs);

    // The tree's attribute run and a single node refuse the rule alike.
    testing::internal::CaptureStdout();
    EXPECT_EQ(va_update_region_tree(t.grey, t.tree, run.file(faulty).c_str(), 2), 0);
    EXPECT_EQ(init_single_node_attributes(run.file(faulty).c_str(), t.b1, t.grey, 2), 0);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(t.b1->attribs, before[2].attribs);
    EXPECT_EQ(t.b1->meangrey, before[2].meangrey);
}

TEST(RulePass, RootWithoutSonsIsReported)
{
    const image_handle grey(create_image(3, 3, 1));
    const region_tree_handle tree(init_region_tree(3, 3, 2));
    rule_run run;
    const std::string path = run.file(kRule);
    testing::internal::CaptureStdout();
    EXPECT_EQ(dynamic_region_tree_update(tree.get(), grey.get(), path.c_str(), 1), 0);
    EXPECT_NE(
        testing::internal::GetCapturedStdout().find("!Warning! Tree GeneratedTree has no nodes\n"),
        std::string::npos);
    EXPECT_EQ(tree->attr_buffer, nullptr);
}

TEST(RulePass, ARegionOfOnePixelHasZeroFourierDescriptors)
{
    // A 3 x 3 square with its contour, then a single pixel, sons of the root
    // of a 5 x 3 image: the pixel is evaluated right after the square.
    const image_handle grey(create_image(5, 3, 10));
    grey->pixels[4] = 30;
    const region_tree_handle tree(init_region_tree(5, 3, 2));
    tregionnode* square =
        vx_test::node(tree->root, {0, 1, 2, 5, 6, 7, 10, 11, 12}, {0, 1, 2, 7, 12, 11, 10, 5});
    tregionnode* dot = vx_test::node(tree->root, {4}, {4});
    vx_test::number(tree.get());
    rule_run run;
    ASSERT_EQ(run.tree(tree.get(), grey.get(), "DECLS: FDC := 3; #DECLS RULES: TD: #RULES"),
              tree->regions);
    EXPECT_EQ(value(square, "fdc_1"), 1.0);
    for (const char* name : {"fdc_0", "fdc_1", "fdc_2"})
        EXPECT_EQ(value(dot, name), 0.0) << name;
}

// 6 x 5 label image: label 3 in the top left corner, label 5 inside.
image* label_image()
{
    image* labels = create_image(6, 5, 0);
    for (int p : {0, 1, 6, 7})
        labels->pixels[p] = 3;
    for (int p : {9, 10, 15, 16})
        labels->pixels[p] = 5;
    return labels;
}

TEST(LabeledRegion, NodeWithContourBorderAndAttributes)
{
    const image_handle labels(label_image());
    const image_handle grey(create_image(6, 5, 10));
    grey->pixels[7] = 30;
    const std::vector<int> before(labels->pixels, labels->pixels + 30);
    rule_run run;
    const std::string path = run.file(kRule);
    testing::internal::CaptureStdout();
    const region_node_handle corner(
        computeNodeFromLabeledRegion(path.c_str(), labels.get(), grey.get(), 3, 1));
    const region_node_handle inner(
        computeNodeFromLabeledRegion(path.c_str(), labels.get(), grey.get(), 5, 1));
    testing::internal::GetCapturedStdout();
    // The label image is left as it was, region pixels on the edge included.
    EXPECT_EQ(std::vector<int>(labels->pixels, labels->pixels + 30), before);

    ASSERT_NE(corner, nullptr);
    EXPECT_EQ(corner->label, 3);
    EXPECT_EQ(corner->file_index, 3);
    EXPECT_EQ(std::vector<int>(corner->pixels, corner->pixels + 4), std::vector<int>({0, 1, 6, 7}));
    // Every edge a region pixel of the contour lies on: row 0 and column 0.
    EXPECT_EQ(corner->border, 9);
    EXPECT_EQ(corner->volume, 20);
    EXPECT_EQ(corner->area_quotient, 1.0);
    ASSERT_NE(corner->attribs, nullptr);
    EXPECT_EQ(value(corner.get(), "twice"), 8.0);

    // Traced as a tree region: the line pixels of all eight neighbours.
    ASSERT_NE(inner, nullptr);
    EXPECT_EQ(inner->border, 0);
    std::vector<int> contour(inner->contour, inner->contour + inner->contour_size);
    std::sort(contour.begin(), contour.end());
    EXPECT_EQ(contour, std::vector<int>({2, 3, 4, 5, 8, 11, 14, 17, 20, 21, 22, 23}));
    EXPECT_EQ(inner->inner_contour, nullptr);

    EXPECT_EQ(computeNodeFromLabeledRegion(path.c_str(), labels.get(), grey.get(), 7, 1), nullptr);
    EXPECT_EQ(computeNodeFromLabeledRegion(path.c_str(), labels.get(), grey.get(), 0, 1), nullptr);
    const std::string broken = run.file("DECLS: x := ; #DECLS");
    testing::internal::CaptureStdout();
    EXPECT_EQ(computeNodeFromLabeledRegion(broken.c_str(), labels.get(), grey.get(), 5, 1),
              nullptr);
    testing::internal::GetCapturedStdout();
    {
        const rule_test::faults_not_fatal interactive;
        const std::string faulty = run.file("DECLS: " + rule_test::nested_sum(100) + " #DECLS");
        testing::internal::CaptureStdout();
        EXPECT_EQ(computeNodeFromLabeledRegion(faulty.c_str(), labels.get(), grey.get(), 5, 1),
                  nullptr);
        EXPECT_NE(testing::internal::GetCapturedStdout().find("FATAL Error vm value stack full"),
                  std::string::npos);
    }
}

}  // namespace
