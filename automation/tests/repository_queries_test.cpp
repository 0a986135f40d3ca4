#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "analyse/files/treeio.h"
#include "analyse/trees/regiontree.h"
#include "analyse/trees/tree_walk.h"
#include "automation/detail/handles.h"
#include "automation/repository/vx_labeled_repository.h"
#include "imagecore/files/pgm.h"
#include "testsupport/repository_fixture.h"
#include "testsupport/vx_test.h"

namespace {

using vx_test::CapturingRepository;
using vx_test::repository_dir;

constexpr int kScales = 4;
const char* const kUpdate = "DECLS: twice := 2 * area; #DECLS\n";
const char* const kSonsOfRoot = "RULES: TD: #RULES\n";
// Small and dark: the dark blob of each picture, which the bright query
// before it paints over in the result image.
const char* const kSmall = "RULES: TD: area < 30 && meangrey < 90 #RULES\n";

bool small_and_dark(const tregionnode* node, const image* picture)
{
    long sum = 0;
    for (int k = 0; k < node->size; ++k)
        sum += picture->pixels[node->pixels[k]];
    return node->size < 30 && sum < 90L * node->size;
}

region_tree_handle load_tree(const std::string& path)
{
    testing::internal::CaptureStdout();
    region_tree_handle tree(load_elemset_region_tree(path.c_str()));
    testing::internal::GetCapturedStdout();
    return tree;
}

// The hits of a top-down rule without bottom-up part, from the definition:
// the topmost regions below the root that pass, in file-index order.
template <class Pass>
std::vector<tregionnode*> topmost(region_tree* tree, Pass pass)
{
    std::vector<tregionnode*> hits;
    walk_preorder_pruned(tree->root, [&](tregionnode* node) {
        if (node == tree->root || !pass(node))
            return true;
        hits.push_back(node);
        return false;
    });
    std::sort(hits.begin(), hits.end(), [](const tregionnode* a, const tregionnode* b) {
        return a->file_index < b->file_index;
    });
    return hits;
}

std::string hit_text(int q, const std::vector<tregionnode*>& hits)
{
    std::string text = ", " + std::to_string(q) + ", " + std::to_string(hits.size());
    for (const tregionnode* node : hits)
        text += "," + std::to_string(node->file_index) + " ";
    return text;
}

// A repository of n computed pictures, stored as r.vxr, and the rule files.
struct query_setup {
    repository_dir d;
    std::string vxr = d.dir.file("r.vxr");
    std::string results = d.dir.file("results");
    std::string summary = d.dir.file("summary.vxq");
    std::string update = d.dir.file("update.rule");
    std::string bright = d.dir.file("bright.rule");
    std::string dark = d.dir.file("dark.rule");

    explicit query_setup(int n) : d(n)
    {
        auto r = d.repository(3);
        vx_test::compute_trees(*r, kScales);
        testing::internal::CaptureStdout();
        r->write(vxr.c_str());
        testing::internal::GetCapturedStdout();
        vx_test::write_file(update, kUpdate);
        vx_test::write_file(bright, kSonsOfRoot);
        vx_test::write_file(dark, kSmall);
    }
    std::string tree(int i, const char* polarity) const
    {
        return d.trees + "/img" + std::to_string(i) + ".4." + polarity + ".tree";
    }
};

TEST(RepositoryQueries, RunWritesSummaryLinesImagesAndTableOfTheHits)
{
    query_setup s(2);
    CapturingRepository r(s.vxr.c_str());
    const char* queries[] = {s.bright.c_str(), s.dark.c_str()};
    const int modes[] = {1, 2};
    const std::string table = s.d.dir.file("hits.csv");
    testing::internal::CaptureStdout();
    r.initResultTable(table.c_str());
    r.QueryAllImages(s.update.c_str(), queries, 2, s.summary.c_str(), s.results.c_str(), modes);
    const std::string output = testing::internal::GetCapturedStdout();
    EXPECT_NE(output.find("Evaluated 2 Queries on 2 Images in "), std::string::npos);

    const std::vector<std::string> lines = vx_test::lines_of(vx_test::read_file(s.summary));
    ASSERT_EQ(lines.size(), 11u);
    EXPECT_EQ(lines[0].rfind("Classification from ", 0), 0u);
    EXPECT_EQ(lines[1], s.vxr);
    EXPECT_EQ(lines[2], "Images at");
    EXPECT_EQ(lines[3], s.results);
    EXPECT_EQ(lines[4], "NumberOfClasses: 3");
    EXPECT_EQ(lines[5], "Irrelevant");
    EXPECT_EQ(lines[6], s.bright + ", Mode 1");
    EXPECT_EQ(lines[7], s.dark + ", Mode 2");
    EXPECT_EQ(lines[8], "Images: 2");

    const std::string rows = vx_test::read_file(table);
    EXPECT_EQ(rows.rfind("RegionID;Imagename; Classname;age; ahead; ambiguity; area;", 0), 0u);
    EXPECT_NE(rows.find("; twice\n; \n"), std::string::npos);
    size_t total_hits = 0;
    std::vector<int> small_hits;
    for (int i = 0; i < 2; ++i) {
        const std::string name = "img" + std::to_string(i) + ".pgm";
        region_tree_handle bright = load_tree(s.tree(i, "bright"));
        region_tree_handle dark = load_tree(s.tree(i, "dark"));
        const auto sons = topmost(bright.get(), [](const tregionnode*) { return true; });
        image_handle picture(r.getImageGrey(i));
        const auto small = topmost(dark.get(), [&picture](const tregionnode* n) {
            return small_and_dark(n, picture.get());
        });
        ASSERT_FALSE(small.empty());
        small_hits.push_back(static_cast<int>(small.size()));
        const std::string first = s.results + "/queryresult.img" + std::to_string(i) + ".pgm";
        EXPECT_EQ(lines[9 + i], first + hit_text(1, sons) + hit_text(2, small));

        // Later queries paint over earlier ones; the rest keeps the picture.
        image_handle expected(create_copy_image(picture.get()));
        image_handle regions(create_image(picture->width, picture->height, 0));
        for (int q = 0; q < 2; ++q)
            for (const tregionnode* node : q == 0 ? sons : small)
                for (int k = 0; k < node->size; ++k) {
                    expected->pixels[node->pixels[k]] = 256 + q;
                    regions->pixels[node->pixels[k]] = q + 1;
                }
        const image* result = r.written.at(first).get();
        const image* region_image =
            r.written.at(s.results + "/queryresult.regions.img" + std::to_string(i) + ".pgm").get();
        EXPECT_EQ(compare_images(result, expected.get()), 1) << name;
        EXPECT_EQ(compare_images(region_image, regions.get()), 1) << name;

        for (const tregionnode* node : sons)
            EXPECT_NE(rows.find("\n" + std::to_string(node->file_index) + "; " + name + "; " +
                                s.bright + ";"),
                      std::string::npos);
        total_hits += sons.size() + small.size();
    }
    EXPECT_EQ(vx_test::lines_of(rows).size(), total_hits + 2);

    // The summary reads back as a labeled repository whose classes are the
    // queries.
    testing::internal::CaptureStdout();
    VxLabeledRepository labeled(s.summary.c_str());
    testing::internal::GetCapturedStdout();
    ASSERT_EQ(labeled.getNumberOfClasses(), 3);
    EXPECT_STREQ(labeled.getClassName(2), s.dark.c_str());
    EXPECT_EQ(labeled.getMode(2), 2);
    EXPECT_STREQ(labeled.getImageName(1), (s.results + "/queryresult.img1.pgm").c_str());
    EXPECT_EQ(labeled.NumberOfRegionsInClass(1, 2), small_hits[1]);
}

TEST(RepositoryQueries, SkippedImagesAndTreesKeepTheirSummaryLines)
{
    query_setup s(1);
    vx_test::write_file(s.tree(0, "dark"), "not a tree");
    // An image whose trees were never computed, and one whose picture is
    // gone.
    std::string text = vx_test::read_file(s.vxr);
    text.replace(text.find("Number of Images: 1"), 19, "Number of Images: 3");
    vx_test::write_file(s.vxr,
                        text + "gone.pgm,gone.4.bright.tree,gone.4.dark.tree\nnew.pgm,-,-\n");
    vx_test::write_picture(s.d.images + "/new.pgm", 5);
    CapturingRepository r(s.vxr.c_str());
    const char* queries[] = {s.dark.c_str(), s.bright.c_str(), s.bright.c_str()};
    const int modes[] = {2, 1, 7};
    testing::internal::CaptureStdout();
    r.initQueryImages(s.update.c_str(), queries, 3, s.summary.c_str(), s.results.c_str(), modes);
    for (int step = 1; step <= 4; ++step)
        EXPECT_EQ(r.QueryImagesStep(s.update.c_str(), queries, 3, s.summary.c_str(),
                                    s.results.c_str(), modes),
                  step);
    const std::string output = testing::internal::GetCapturedStdout();
    EXPECT_NE(output.find("refused"), std::string::npos);
    EXPECT_NE(output.find("No bright tree"), std::string::npos);
    EXPECT_NE(output.find("Processing Image 3/3\n"), std::string::npos);
    EXPECT_EQ(output.find("Processing Image 4/"), std::string::npos);

    region_tree_handle bright = load_tree(s.tree(0, "bright"));
    const auto sons = topmost(bright.get(), [](const tregionnode*) { return true; });
    const std::vector<std::string> lines = vx_test::lines_of(vx_test::read_file(s.summary));
    ASSERT_EQ(lines.size(), 3u);
    // The third query's mode is no tree's: it takes the previous query's.
    EXPECT_EQ(lines[0],
              s.results + "/queryresult.img0.pgm, 1, 0" + hit_text(2, sons) + hit_text(3, sons));
    EXPECT_EQ(lines[1], s.results + "/queryresult.gone.pgm, 1, 0, 2, 0, 3, 0");
    EXPECT_EQ(lines[2], s.results + "/queryresult.new.pgm, 1, 0, 2, 0, 3, 0");
    EXPECT_EQ(r.written.size(), 4u);

    // A first query of no tree's mode runs on the bright tree.
    const int odd[] = {0};
    testing::internal::CaptureStdout();
    r.applyModalQueries(0, nullptr, queries + 1, 1, s.summary.c_str(), odd);
    EXPECT_NE(testing::internal::GetCapturedStdout().find("has mode 0: it runs on the bright tree"),
              std::string::npos);
    EXPECT_EQ(vx_test::lines_of(vx_test::read_file(s.summary)).back(),
              s.results + "/queryresult.img0.pgm" + hit_text(1, sons));
}

// Noise in blocks of 3 x 3 pixels, which the finest scale keeps apart:
// thousands of regions.
void write_noise(const std::string& path, int size)
{
    image_handle img(create_image(size, size, 0));
    uint32_t state = 12345;
    const int block = 3;
    std::vector<int> values(static_cast<size_t>(size * size));
    for (int& v : values) {
        state = state * 1664525u + 1013904223u;
        v = static_cast<int>(state >> 24);
    }
    for (int p = 0; p < size * size; ++p)
        img->pixels[p] = values[(p / size / block) * size + (p % size) / block];
    ASSERT_EQ(write_pgm_p5(path.c_str(), img.get()), 0);
}

TEST(RepositoryQueries, RuleHittingEveryRegionListsEveryId)
{
    repository_dir d(0);
    write_noise(d.images + "/noise.pgm", 256);
    auto r = d.repository(3, {"noise.pgm"});
    vx_test::compute_trees(*r, 3);
    const std::string rule = d.dir.file("all.rule");
    vx_test::write_file(rule, "RULES: TD: area > 0 BU: area > 0 #RULES\n");
    const std::string summary = d.dir.file("all.vxq");
    const char* queries[] = {rule.c_str()};
    testing::internal::CaptureStdout();
    r->initQueryImages(nullptr, queries, 1, summary.c_str(), d.dir.file("results").c_str(),
                       nullptr);
    r->QueryImagesStep(nullptr, queries, 1, summary.c_str(), nullptr, nullptr);
    testing::internal::GetCapturedStdout();

    region_tree_handle tree = load_tree(d.trees + "/noise.3.bright.tree");
    ASSERT_GT(tree->regions, 5000);
    std::string expected =
        d.dir.file("results") + "/queryresult.noise.pgm, 1, " + std::to_string(tree->regions - 1);
    for (int id = 1; id < tree->regions; ++id)
        expected += "," + std::to_string(id) + " ";
    // Far more than the 20,480 characters a hit list once had.
    EXPECT_GT(expected.size(), 30000u);
    EXPECT_EQ(vx_test::read_file(summary), expected + "\n");
}

TEST(RepositoryQueries, QueryTablesAndContourImagesOfOneTree)
{
    query_setup s(1);
    CapturingRepository r(s.vxr.c_str());
    const char* queries[] = {s.bright.c_str()};
    const std::string table = s.d.dir.file("query.csv");
    testing::internal::CaptureStdout();
    r.initQueryImages(nullptr, queries, 1, s.summary.c_str(), s.results.c_str(), nullptr);
    r.initResultTable(table.c_str());
    r.applyQueriesNew("img0.4.bright.tree", "img0.pgm", s.update.c_str(), queries, 1,
                      s.summary.c_str());
    testing::internal::GetCapturedStdout();
    region_tree_handle tree = load_tree(s.tree(0, "bright"));
    const auto sons = topmost(tree.get(), [](const tregionnode*) { return true; });
    EXPECT_EQ(vx_test::read_file(s.summary),
              s.results + "/queryresult.img0.pgm" + hit_text(1, sons) + "\n");
    const std::vector<std::string> rows = vx_test::lines_of(vx_test::read_file(table));
    ASSERT_EQ(rows.size(), sons.size() + 2);
    EXPECT_EQ(rows[0].rfind("RegionID, Imagenameage; ahead; ", 0), 0u);
    EXPECT_EQ(rows[1], " ");
    EXPECT_EQ(rows[2].rfind(std::to_string(sons[0]->file_index) + ", img0.pgm, ", 0), 0u);

    // Contours of the given nodes at 510 over a copy of the grey picture.
    image_handle grey(r.getImageGrey(0));
    std::vector<tregionnode*> nodes(static_cast<size_t>(tree->regions) + 1, nullptr);
    nodes[sons[0]->file_index] = sons[0];
    char name[1024] = "left as it was";
    testing::internal::CaptureStdout();
    r.writeResultImage("dir/a.rule", "img0.pgm", 0, nodes.data(), static_cast<int>(nodes.size()),
                       grey.get(), name);
    // A vector shorter than the tree's labels is refused, not overrun.
    EXPECT_EQ(r.applyQuery(tree.get(), s.bright.c_str(), nodes.data(), 3, grey.get()), 0);
    EXPECT_NE(testing::internal::GetCapturedStdout().find("applyQuery: a node vector of 3 entries"),
              std::string::npos);
    EXPECT_STREQ(name, "a.img0.pgm");
    const image* contours = r.written.at(s.results + "/a.img0.pgm").get();
    for (int k = 0; k < sons[0]->contour_size; ++k)
        EXPECT_EQ(contours->pixels[sons[0]->contour[k]], 510);
}

}  // namespace
