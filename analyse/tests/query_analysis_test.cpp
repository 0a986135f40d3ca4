#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analyse/display/dual_analyse.h"
#include "analyse/query/query_analysis.h"
#include "analyse/rules/rule_file.h"
#include "analyse/rules/rule_program.h"
#include "analyse/tests/rule_test_support.h"
#include "analyse/trees/regiontree.h"
#include "imagecore/image.h"
#include "testsupport/region_tree_builder.h"
#include "testsupport/vx_test.h"

namespace {

constexpr int W = 16;

// A node of `size` pixels (without a pixel list) and this contour.
tregionnode* add_node(region_tree* tree, tregionnode* father, int label, int size,
                      const std::vector<int>& contour)
{
    tregionnode* node = vx_test::node(father, {}, contour);
    node->label = label;
    node->file_index = label;
    node->size = size;
    ++tree->regions;
    return node;
}

// root
// +- a (1): 100 pixels
// |  +- a1 (2): 60 pixels
// |  |  +- a11 (3): 10 pixels
// |  +- a2 (4): 30 pixels
// +- b (5): 20 pixels
// Each region's contour is one pixel: its label.
struct small_tree {
    const region_tree_handle tree_owner{init_region_tree(W, W, 3)};
    region_tree* const tree = tree_owner.get();
    const image_handle grey_owner{create_image(W, W, 0)};
    image* const grey = grey_owner.get();
    tregionnode* a = add_node(tree, tree->root, 1, 100, {1});
    tregionnode* a1 = add_node(tree, a, 2, 60, {2});
    tregionnode* a11 = add_node(tree, a1, 3, 10, {3});
    tregionnode* a2 = add_node(tree, a, 4, 30, {4});
    tregionnode* b = add_node(tree, tree->root, 5, 20, {5});
    vx_test::TempDir dir;
    std::string output;

    int query(const std::string& rules)
    {
        const std::string path = dir.file("query.rule");
        vx_test::write_file(path, rules);
        std::fflush(stdout);
        testing::internal::CaptureStdout();
        const int hits = file_based_query_analysis(path.c_str(), tree, grey);
        std::fflush(stdout);
        output = testing::internal::GetCapturedStdout();
        return hits;
    }

    // Labels of the collected hits.
    std::vector<int> hits()
    {
        std::vector<tregionnode*> array(tree->regions + 1, nullptr);
        qa_reconstruct_nodevector(array.data(), tree);
        std::vector<int> labels;
        for (size_t i = 0; i < array.size(); ++i)
            if (array[i] != nullptr) {
                EXPECT_EQ(array[i]->label, static_cast<int>(i));
                labels.push_back(static_cast<int>(i));
            }
        return labels;
    }

    std::vector<tregionnode*> all() const { return {a, a1, a11, a2, b}; }
};

using labels = std::vector<int>;

TEST(Query, MarksAfterAQuery)
{
    small_tree t;
    // a passes top-down; below it a11 and a2 pass bottom-up, a1 does not.
    EXPECT_EQ(t.query("RULES: TD: area > 50 BU: area < 40 #RULES"), 3);
    EXPECT_EQ(t.output.rfind("Parsing File: " + t.dir.file("query.rule") + " ...", 0), 0u);
    EXPECT_EQ(t.output.substr(t.output.size() - 6), "\ndone\n");
    EXPECT_EQ(t.hits(), (labels{1, 3, 4}));
    EXPECT_EQ(t.a->td_mark, 2);  // a top-down hit ends excluded; significance tells
    EXPECT_EQ(t.a->significance, 1.0);
    EXPECT_EQ(t.a->bu_mark, 1);
    EXPECT_EQ(t.a1->bu_mark, 1);
    EXPECT_EQ(t.a1->td_mark, 2);
    EXPECT_EQ(t.a11->bu_mark, 3);
    EXPECT_EQ(t.a2->bu_mark, 3);
    EXPECT_EQ(t.b->td_mark, 1);
    EXPECT_EQ(t.b->bu_mark, 2);
    EXPECT_EQ(t.b->significance, 0.0);

    // A top-down hit that also passes bottom-up counts twice.
    EXPECT_EQ(t.query("RULES: TD: area > 50 BU: area > 50 #RULES"), 3);
    EXPECT_EQ(t.a->bu_mark, 3);
    EXPECT_EQ(t.hits(), (labels{1, 2}));
}

TEST(Query, EmptyAndMissingRules)
{
    small_tree t;
    EXPECT_EQ(t.query("RULES: TD: #RULES"), 2);
    EXPECT_EQ(t.hits(), (labels{1, 5}));
    EXPECT_EQ(t.query("RULES: BU: area > 0 #RULES"), 0);
    EXPECT_EQ(t.hits(), labels{});
    EXPECT_EQ(t.query("DECLS: x := 1; #DECLS"), 0);

    const region_tree_handle bare(init_region_tree(4, 4, 2));
    const image_handle grey(create_image(4, 4, 0));
    testing::internal::CaptureStdout();
    EXPECT_EQ(program_based_query_analysis(nullptr, bare.get(), grey.get()), 0);
    testing::internal::GetCapturedStdout();
}

TEST(Query, FailedParseLeavesNoHitOfTheQueryBefore)
{
    small_tree t;
    ASSERT_EQ(t.query("RULES: TD: area > 50 BU: area < 40 #RULES"), 3);
    EXPECT_EQ(t.query("RULES: TD: area > #RULES"), 0);
    EXPECT_EQ(t.output.rfind("Parsing File: ", 0), 0u);
    EXPECT_NE(t.output.find("Parse Complication no change\n"), std::string::npos) << t.output;
    EXPECT_EQ(t.output.find("done"), std::string::npos);
    EXPECT_EQ(t.hits(), labels{});
    for (tregionnode* n : t.all()) {
        EXPECT_EQ(n->td_mark, 1);
        EXPECT_EQ(n->bu_mark, 2);
    }
    EXPECT_EQ(t.query("RULES: TD: area < 25 #RULES"), 2);
    EXPECT_EQ(t.hits(), (labels{3, 5}));
    EXPECT_EQ(t.query(""), 0);
}

TEST(Query, RuleFaultThatDoesNotEndTheProcessLeavesNoHit)
{
    const rule_test::faults_not_fatal interactive;
    small_tree t;
    ASSERT_EQ(t.query("RULES: TD: area > 50 BU: area < 40 #RULES"), 3);
    // a is a hit before the fault in b.
    const std::string faulty = "DECLS: IF area < 25 THEN " + rule_test::nested_sum(100) +
                               " FI; #DECLS RULES: TD: area > 50 #RULES";
    EXPECT_EQ(t.query(faulty), 0);
    EXPECT_NE(t.output.find("FATAL Error vm value stack full\n"), std::string::npos) << t.output;
    EXPECT_EQ(t.hits(), labels{});
    for (tregionnode* n : t.all()) {
        EXPECT_EQ(n->td_mark, 1);
        EXPECT_EQ(n->bu_mark, 2);
        EXPECT_EQ(n->significance, 0.0);
    }

    // A query on marks set before gives them back.
    testing::internal::CaptureStdout();
    program* prog = parse_rule_file(t.dir.file("query.rule").c_str(), W);
    testing::internal::GetCapturedStdout();
    ASSERT_NE(prog, nullptr);
    t.a2->td_mark = 3;
    t.a2->significance = 1.0;
    t.b->bu_mark = 1;
    testing::internal::CaptureStdout();
    EXPECT_EQ(query_analysis(prog, t.tree, t.grey), 0);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(t.a2->td_mark, 3);
    EXPECT_EQ(t.a2->significance, 1.0);
    EXPECT_EQ(t.b->bu_mark, 1);
    EXPECT_EQ(t.hits(), labels{4});
    delete_program(prog);
}

TEST(Query, QueriesOnOneTreeDoNotInfluenceEachOther)
{
    small_tree alone;
    const int expected = alone.query("RULES: TD: area < 70 BU: area > 20 #RULES");
    const labels expected_hits = alone.hits();

    small_tree t;
    t.query("RULES: TD: area > 50 BU: area < 40 #RULES");
    EXPECT_EQ(t.query("RULES: TD: area < 70 BU: area > 20 #RULES"), expected);
    EXPECT_EQ(t.hits(), expected_hits);
    EXPECT_EQ(expected_hits, (labels{2, 4, 5}));
}

TEST(Query, ReconstructionPaintsTheLowestBottomUpHits)
{
    small_tree t;
    // a top-down, then a11, a1 and a2 bottom-up.
    ASSERT_EQ(t.query("RULES: TD: area > 50 BU: area < 70 #RULES"), 4);
    const image_handle labels_img(create_image(W, W, 0));
    labels_img->max = 9;
    query_reconstruct_image(t.tree, labels_img.get());
    std::vector<int> painted;
    for (int p = 0; p < W * W; ++p)
        if (labels_img->pixels[p] != 0) {
            EXPECT_EQ(labels_img->pixels[p], 10);
            painted.push_back(p);
        }
    EXPECT_EQ(painted, (std::vector<int>{3, 4}));  // a11 and a2, not a1 above a11

    // A region still marked as a top-down hit is painted, its subtree only
    // where bottom-up hits are.
    erase_image(labels_img.get(), 0);
    t.a->td_mark = 3;
    t.a->contour[0] = -1;  // contour positions outside the image are skipped
    t.a1->td_mark = 3;
    EXPECT_EQ(region_reconstruct(t.a, labels_img.get(), 1), 1);
    EXPECT_EQ(labels_img->pixels[2], 0);
    EXPECT_EQ(labels_img->pixels[3], 10);
    EXPECT_EQ(region_reconstruct(t.b, labels_img.get(), 1), 0);

    std::vector<tregionnode*> local(t.tree->regions + 1, nullptr);
    qa_local_reconstruct_nodevector(local.data(), t.a1);
    EXPECT_EQ(local[2], t.a1);
    EXPECT_EQ(local[3], t.a11);
    EXPECT_EQ(local[4], nullptr);
}

TEST(QueryMarks, MarkingAndSelection)
{
    small_tree t;
    unmark_top_down_analyse(t.a);
    mark_bottom_up_analyse(t.a1);
    EXPECT_EQ(t.a->td_mark, 2);
    EXPECT_EQ(t.a11->td_mark, 2);
    EXPECT_EQ(t.b->td_mark, 0);
    EXPECT_EQ(t.a->bu_mark, 0);
    EXPECT_EQ(t.a11->bu_mark, 1);
    mark_top_down_analyse(t.a1);
    unmark_bottom_up_analyse(t.a1);
    EXPECT_EQ(t.a11->td_mark, 1);
    EXPECT_EQ(t.a11->bu_mark, 2);

    t.a->significance = 5.0;
    initialize_significance(t.a, 0.5);
    EXPECT_EQ(t.a->significance, 5.0);
    EXPECT_EQ(t.a11->significance, 0.5);
    EXPECT_EQ(t.b->significance, 0.0);

    t.a->age = 3;
    t.b->age = 2;
    t.a1->age = 5;
    mark_overaged_regions(t.tree);
    EXPECT_EQ(t.a->selection, -1);
    EXPECT_EQ(t.b->selection, 0);
    EXPECT_EQ(t.a1->selection, 0);

    t.a11->birth = 1;  // lives until scale 1
    t.a2->birth = 2;
    mark_youngest_regions(t.a1, 3);
    EXPECT_EQ(t.a11->selection, -2);
    EXPECT_EQ(t.a2->selection, 0);
    EXPECT_EQ(t.a1->selection, 0);  // born 0, age 5

    std::vector<tregionnode*> array(t.tree->regions + 1, nullptr);
    t.b->significance = 1.0;
    top_down_region_select(t.tree->root, array.data(), 1);
    EXPECT_EQ(array, std::vector<tregionnode*>(t.tree->regions + 1, nullptr));
    dual_analyse dual{};
    dual.bright_nodes = dual.dark_nodes = array.data();
    top_down_analyse(t.tree, t.tree, &dual);
    EXPECT_EQ(array, std::vector<tregionnode*>(t.tree->regions + 1, nullptr));
}

TEST(QueryMarks, SignificanceComparisons)
{
    tregionnode a{}, b{};
    a.size = 100;
    for (auto [size, preferred_smaller] :
         {std::pair{45, true}, {40, false}, {50, false}, {49, true}}) {
        b.size = size;
        EXPECT_EQ(compare_significance(&a, &b), preferred_smaller ? &b : &a) << size;
        EXPECT_EQ(compare_significance(&b, &a), preferred_smaller ? &b : &a) << size;
    }
    b.size = 100;
    EXPECT_EQ(compare_significance(&a, &b), &a);
    a.size = b.size = 0;
    EXPECT_EQ(compare_significance(&a, &b), &a);

    a.convexity = 0.5;
    b.convexity = 0.7;
    EXPECT_EQ(pa_significance(&a, &b), 1);
    EXPECT_EQ(td_significance(&b, &a), 0);
    EXPECT_EQ(bu_significance(), 0);
    EXPECT_EQ(check_region_significance_td(&a), 0.0);
}

}  // namespace
