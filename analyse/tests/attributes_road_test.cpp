// From a grey image to query hits, the way the analysis of one image runs:
// multiscale partition, region graph, the attribute run with the default
// update rule, and queries, on discs whose regions are known by
// construction.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "analyse/attributes/attributes.h"
#include "analyse/features/dynamic_region_update.h"
#include "analyse/files/treeio.h"
#include "analyse/query/query_analysis.h"
#include "analyse/tests/disc_image.h"
#include "analyse/trees/lRegion_Graph.h"
#include "analyse/trees/regiontree.h"
#include "analyse/trees/tree_walk.h"
#include "filter/lMMS_Part.h"
#include "filter/tree_workers.h"
#include "testsupport/vx_test.h"

namespace {

using disc_test::disc;

constexpr int W = 96;
constexpr int H = 80;
constexpr int kScales = 16;

// The main window's default update rule.
constexpr const char* kUpdateRule =
    "DECLS:\n conv :=  (4 * area * 3.14176) /(pow((perimeter),2.0));\n areafraction := area / "
    "sons;\n bbrelation := aaxis/paxis;\n FDC := 5;\n#DECLS\nRULES:\nTD:\n#RULES\n";

// Background 50; the small disc merges into the background around scale 5,
// the middle one around 8, the large one around 12.
const disc kSmall{20, 20, 5, 200};
const disc kMiddle{60, 22, 8, 120};
const disc kLarge{40, 56, 12, 220};

struct road {
    vx_test::TempDir dir;
    image* grey;
    region_tree* tree = nullptr;
    int attributes = 0;

    road(int mode, bool inverted)
    {
        grey = disc_test::draw(W, H, 50, {kSmall, kMiddle, kLarge});
        if (inverted)
            for (int p = 0; p < W * H; ++p)
                grey->pixels[p] = 255 - grey->pixels[p];
        update_image_struct(grey);
        vx_image* source = init_vximage_from_single_image(grey, 1, 0);
        vx_image* partition = init_vx_image(W, H, kScales);
        functions disk = unit_disk_template;
        const std::string update = rule("update.rule", kUpdateRule);
        std::fflush(stdout);
        testing::internal::CaptureStdout();
        EXPECT_EQ(lMMS_Part(source, partition, mode, kScales, 1, &disk, 8, 0), 1);
        tree = Region_Graph(partition, 8);
        tree->attr_image = init_vximage_from_single_image(grey, 2, 1);
        attributes =
            dynamic_region_tree_update(tree, &tree->attr_image->scales[0], update.c_str(), mode);
        testing::internal::GetCapturedStdout();
        delete_vximage(partition);
        delete_vximage(source);
    }
    ~road()
    {
        delete_regiontree(tree);
        delete_image(grey);
    }
    road(const road&) = delete;
    road& operator=(const road&) = delete;

    std::string rule(const char* name, const std::string& text)
    {
        const std::string path = dir.file(name);
        vx_test::write_file(path, text);
        return path;
    }

    int query(const std::string& text)
    {
        const std::string path = rule("query.rule", text);
        std::fflush(stdout);
        testing::internal::CaptureStdout();
        const int hits =
            file_based_query_analysis(path.c_str(), tree, &tree->attr_image->scales[0]);
        testing::internal::GetCapturedStdout();
        return hits;
    }

    std::vector<tregionnode*> hits() const
    {
        std::vector<tregionnode*> array(static_cast<size_t>(tree->regions) + 1, nullptr);
        qa_reconstruct_nodevector(array.data(), tree);
        std::vector<tregionnode*> out;
        for (tregionnode* n : array)
            if (n != nullptr)
                out.push_back(n);
        return out;
    }

    // Which of the discs each hit is ('?' for none), in label order.
    std::string hit_discs() const
    {
        std::string out;
        for (const tregionnode* n : hits())
            out += kSmall.is_region_of(n, W, H)    ? 'S'
                   : kMiddle.is_region_of(n, W, H) ? 'M'
                   : kLarge.is_region_of(n, W, H)  ? 'L'
                                                   : '?';
        return out;
    }
};

TEST(AttributesRoad, QueriesFindTheDiscsOfTheBrightTree)
{
    road r(1, false);
    ASSERT_GT(r.attributes, 3);
    EXPECT_EQ(r.attributes, r.tree->regions);
    // Every region carries the base attributes and the update rule's nine
    // symbols (conv, areafraction, bbrelation, numfdc, fdc_0 .. fdc_4).
    ASSERT_NE(r.tree->root->attribs, nullptr);
    EXPECT_EQ(r.tree->root->attribs->capacity, 44);

    // By area: the middle disc (201 pixels) alone.
    EXPECT_EQ(r.query("RULES: TD: area > 150 && area < 300 #RULES"), 1);
    EXPECT_EQ(r.hit_discs(), "M");
    const tregionnode* middle = r.hits()[0];
    EXPECT_NEAR(static_cast<double>(middle->volume) / middle->size, 70.0, 7.0);
    const int conv = check_attrib_exist(middle->attribs, "conv");
    ASSERT_GE(conv, 0);
    EXPECT_NEAR(middle->attribs->entries[conv].dvalue,
                4 * middle->size * 3.14176 / (middle->contour_size * middle->contour_size), 1e-9);

    // By contrast, at whatever depth the disc lies: the small (150) and the
    // large (170) disc, not the middle one (70) nor the background.
    EXPECT_EQ(r.query("DECLS: c := volume / area; #DECLS RULES: TD: c > 120 #RULES"), 2);
    EXPECT_EQ(r.hit_discs().size(), 2u);
    EXPECT_NE(r.hit_discs().find('S'), std::string::npos);
    EXPECT_NE(r.hit_discs().find('L'), std::string::npos);

    // Top-down the large background region that holds all three discs, then
    // bottom-up the discs of high contrast below it.
    EXPECT_EQ(
        r.query("DECLS: c := volume / area; #DECLS RULES: TD: area > 4000 BU: c > 120 #RULES"), 3);
    const std::string found = r.hit_discs();
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(std::count(found.begin(), found.end(), '?'), 1);
    for (const tregionnode* n : r.hits())
        if (n->bu_mark == 3)
            EXPECT_TRUE(kSmall.is_region_of(n, W, H) || kLarge.is_region_of(n, W, H));
        else
            EXPECT_GT(n->size, 4000);

    // No region is both that large and that bright.
    EXPECT_EQ(r.query("RULES: TD: area > 4000 && meangrey > 150 #RULES"), 0);
    EXPECT_TRUE(r.hits().empty());
}

TEST(AttributesRoad, DarkTreeOfTheInvertedImageFindsTheSameDiscs)
{
    road r(2, true);
    ASSERT_GT(r.attributes, 3);
    EXPECT_EQ(r.query("RULES: TD: area > 150 && area < 300 #RULES"), 1);
    EXPECT_EQ(r.hit_discs(), "M");
    // Dark discs of grey 55 and 35 on 205.
    EXPECT_EQ(r.query("RULES: TD: meangrey < 100 #RULES"), 2);
    const std::string found = r.hit_discs();
    EXPECT_EQ(found.size(), 2u);
    EXPECT_NE(found.find('S'), std::string::npos);
    EXPECT_NE(found.find('L'), std::string::npos);
}

// Noise over many discs, so that every scale has many regions for the
// workers to share, and a rule whose symbols carry values from region to
// region.
TEST(AttributesRoad, OneWorkerAndSeveralGiveTheSameTreeFileAndAttributes)
{
    image* grey = create_image(W * 2, H * 2, 0);
    std::mt19937 rng(11);
    for (int p = 0; p < W * H * 4; ++p)
        grey->pixels[p] = 40 + static_cast<int>(rng() % 30);
    std::vector<disc> discs;
    for (int d = 0; d < 40; ++d)
        discs.push_back({static_cast<int>(rng() % (W * 2)), static_cast<int>(rng() % (H * 2)),
                         2 + static_cast<int>(rng() % 9), 90 + static_cast<int>(rng() % 150)});
    for (const disc& d : discs)
        for (int y = 0; y < H * 2; ++y)
            for (int x = 0; x < W * 2; ++x)
                if (d.contains(x, y))
                    grey->pixels[y * W * 2 + x] = d.value + static_cast<int>(rng() % 12);
    update_image_struct(grey);
    vx_test::TempDir dir;
    const std::string rule = dir.file("carry.rule");
    vx_test::write_file(rule,
                        "DECLS: c := c + area; d := volume / area; FDC := 3; #DECLS "
                        "RULES: BU: c > 0 #RULES");
    const int saved = get_tree_workers();
    std::vector<std::string> files;
    std::vector<std::string> attributes;
    for (const int workers : {1, 4}) {
        set_tree_workers(workers);
        for (const int mode : {1, 2}) {
            vx_image* source = init_vximage_from_single_image(grey, 1, 0);
            vx_image* partition = init_vx_image(W * 2, H * 2, kScales);
            functions disk = unit_disk_template;
            std::fflush(stdout);
            testing::internal::CaptureStdout();
            lMMS_Part(source, partition, mode, kScales, 1, &disk, 8, 3);
            region_tree* tree = Region_Graph(partition, 8);
            const std::string file = dir.file("tree" + std::to_string(workers));
            write_elemset_region_tree(tree, file.c_str());
            tree->attr_image = init_vximage_from_single_image(grey, 2, 1);
            dynamic_region_tree_update(tree, &tree->attr_image->scales[0], rule.c_str(), mode);
            testing::internal::GetCapturedStdout();
            files.push_back(vx_test::read_file(file));
            std::string bytes;
            walk_preorder(tree->root, [&bytes](tregionnode* n) {
                if (n->attribs != nullptr)
                    bytes.append(reinterpret_cast<const char*>(n->attribs->entries),
                                 sizeof(attrib_entry) * n->attribs->capacity);
            });
            attributes.push_back(bytes);
            delete_regiontree(tree);
            delete_vximage(partition);
            delete_vximage(source);
        }
    }
    set_tree_workers(saved);
    delete_image(grey);
    for (int mode = 0; mode < 2; ++mode) {
        EXPECT_FALSE(files[mode].empty());
        EXPECT_EQ(files[mode], files[2 + mode]) << "mode " << mode + 1;
        EXPECT_EQ(attributes[mode], attributes[2 + mode]) << "mode " << mode + 1;
    }
}

}  // namespace
