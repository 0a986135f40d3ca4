#include <gtest/gtest.h>

#include <QImage>
#include <QWidget>

#include "analyse/display/dual_analyse.h"
#include "gui/analysis/tests/analysis_test_support.h"
#include "gui/foundation/qimage_frame.h"
#include "imagecore/handles.h"
#include "testsupport/gui/gui_test.h"

using namespace analysis_test;
using vx_gui_test::dialogs;

namespace {

class SelectionTest : public AnalysisTest {
protected:
    // Writes the bright rule and applies it.
    bool brightRule(vx_analyse_control& control, const std::string& text)
    {
        write(control.brightrulesname(), text);
        bool parsed = false;
        vx_test::printed_by([&] { parsed = control.apply_open_rule(); });
        return parsed;
    }

    QImage reread(const std::string& name) const { return QImage(qfile(name)); }
};

TEST_F(SelectionTest, RulesSelectTheirHitsAndFaultyRulesKeepTheSelection)
{
    auto control = computed(square_on_black());
    tregionnode* root = control->openingtree()->root;

    // An empty top-down rule takes every son of the root and nothing else.
    EXPECT_TRUE(brightRule(*control, "RULES: TD: #RULES\n"));
    const std::vector<tregionnode*> selected =
        active_nodes(control->opennodelist(), control->onodelistsize());
    EXPECT_EQ(selected, sons(root));
    EXPECT_EQ(control->activeBrightNodes(), static_cast<int>(selected.size()));

    // A rule that does not parse, and a missing rule, leave it as it is.
    EXPECT_FALSE(brightRule(*control, "RULES: TD: area > #RULES\n"));
    EXPECT_EQ(active_nodes(control->opennodelist(), control->onodelistsize()), selected);
    std::remove(control->brightrulesname());
    EXPECT_TRUE(control->apply_open_rule());
    EXPECT_EQ(control->activeBrightNodes(), static_cast<int>(selected.size()));

    // A rule without a hit empties it.
    EXPECT_TRUE(brightRule(*control, "RULES: TD: area > 100000 #RULES\n"));
    EXPECT_EQ(control->activeBrightNodes(), 0);
    EXPECT_EQ(control->activeDarkNodes(), 0);
}

TEST_F(SelectionTest, RegionImagesAndContourFilesFollowTheActiveRegionsInIndexOrder)
{
    auto control = computed(two_blobs());
    ASSERT_TRUE(brightRule(*control, "RULES: TD: area > 25 && area < 40 #RULES\n"));
    const std::vector<tregionnode*> blobs =
        active_nodes(control->opennodelist(), control->onodelistsize());
    ASSERT_EQ(blobs.size(), 2u);

    const image_handle regions(control->bright_regions_image());
    const int width = regions->width;
    for (int k = 0; k < 2; ++k)
        for (int i = 0; i < blobs[k]->size; ++i)
            EXPECT_EQ(regions->pixels[blobs[k]->pixels[i]], 257 + k);
    EXPECT_EQ(regions->pixels[0], 0);
    EXPECT_EQ(regions->pixels[3 * width + 10], 0);

    ASSERT_TRUE(control->write_bright_result_contours());
    const std::vector<std::string> lines = vx_test::lines_of(
        vx_test::read_file(std::string(control->imagename()) + ".bright_object.contours"));
    ASSERT_EQ(lines.size(), 2u);
    for (int k = 0; k < 2; ++k) {
        std::string expected =
            std::to_string(k) + ", " + std::to_string(blobs[k]->contour_size) + ", ";
        for (int i = 0; i < blobs[k]->contour_size; ++i) {
            const int p = blobs[k]->contour[i];
            expected += "(" + std::to_string(p % width) + ", " + std::to_string(p / width) + ") ";
        }
        EXPECT_EQ(lines[k], expected);
    }

    // The table: its header and one row per active region.
    ASSERT_TRUE(control->write_bright_result_table(qfile("bright.csv")));
    const std::vector<std::string> rows = vx_test::lines_of(vx_test::read_file(file("bright.csv")));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].rfind("Imagename, RegionID, ", 0), 0u);
    EXPECT_EQ(rows[1].rfind(std::string(control->imagename()) + ", ", 0), 0u);
}

TEST_F(SelectionTest, DualExportsMergeBothPolaritiesAndCloseOnePixelGaps)
{
    auto control = computed(two_blobs());
    ASSERT_TRUE(brightRule(*control, "RULES: TD: area > 25 && area < 40 #RULES\n"));
    ASSERT_EQ(control->activeBrightNodes(), 2);

    ASSERT_TRUE(control->export_dual_regions(qfile("dual.png")));
    ASSERT_TRUE(control->export_dual_closed_regions(qfile("closed.png")));
    const QImage dual = reread("dual.png");
    const QImage closed = reread("closed.png");
    ASSERT_EQ(dual.size(), QSize(22, 12));
    // Inside both blobs, the gap column between them, the background: 254
    // is a colour word, blue 254.
    for (const QImage* img : {&dual, &closed}) {
        EXPECT_EQ(img->pixel(5, 5), qRgb(0, 0, 254));
        EXPECT_EQ(img->pixel(14, 5), qRgb(0, 0, 254));
        EXPECT_EQ(img->pixel(1, 1), qRgb(0, 0, 0));
    }
    EXPECT_EQ(dual.pixel(10, 5), qRgb(0, 0, 0));
    EXPECT_EQ(closed.pixel(10, 5), qRgb(0, 0, 254));
    EXPECT_EQ(closed.pixel(10, 1), qRgb(0, 0, 0));

    // The regions export: grey background, a colour per region.
    ASSERT_TRUE(control->export_bright_result_regions(qfile("regions.png")));
    const QImage regions = reread("regions.png");
    EXPECT_EQ(regions.pixel(1, 1), qRgb(0, 0, 0));
    EXPECT_NE(regions.pixel(5, 5), regions.pixel(14, 5));
    EXPECT_NE(regions.pixel(5, 5), qRgb(0, 0, 0));
}

TEST_F(SelectionTest, WithoutTreesEveryOutputIsEmpty)
{
    vx_analyse_control control("vx_analyse_control for new_project_dialog", 3, nullptr);
    write(control.brightrulesname(), "RULES: TD: #RULES\n");
    EXPECT_TRUE(control.apply_open_rule());
    control.clear_open_objects();
    control.clear_close_objects();
    EXPECT_EQ(control.activeBrightNodes(), 0);
    EXPECT_TRUE(control.pdisplay()->toolTip().isEmpty());

    const image_handle regions(control.dark_regions_image());
    ASSERT_EQ(regions->width, 256);
    EXPECT_EQ(regions->max, 0);
    image_handle blobs(create_image(4, 4, 9));
    control.draw_bright_blobs(blobs.get());
    EXPECT_EQ(blobs->pixels[5], 0);

    ASSERT_TRUE(control.write_dark_result_contours());
    EXPECT_EQ(vx_test::read_file(control.darkresultname()), "");
    ASSERT_TRUE(control.write_dark_result_table(qfile("dark.csv")));
    EXPECT_EQ(vx_test::read_file(file("dark.csv")), "");
    ASSERT_TRUE(control.export_dual_regions(qfile("dual.png")));
    EXPECT_EQ(reread("dual.png").pixel(100, 100), qRgb(0, 0, 0));
}

TEST_F(SelectionTest, SixteenBitImagesShowAStretchedGreyAndQueryTheirOwnValues)
{
    vx_analyse_control control("vx_analyse_control for new_project_dialog", 3, nullptr);
    write(control.updaterule(), "RULES: TD: #RULES\n");
    control.oscales(2);
    control.cscales(2);
    image* deep = create_image(20, 20, 100);
    deep->kind = IMAGE_GREY16;
    for (int y = 6; y < 14; ++y)
        for (int x = 6; x < 14; ++x)
            deep->pixels[y * 20 + x] = 1100;
    control.update_image(deep);
    ASSERT_TRUE(control.compute_scales());

    QWidget window;
    qimage_frame* frame = control.init_display(&window);
    const int* shown = frame->get_t_image()->pixels;
    EXPECT_EQ(shown[0], 0);
    EXPECT_EQ(shown[10 * 20 + 10], 255);

    // The rule sees 1100; the display adds the overlay code to 255.
    control.displaymode(1);
    ASSERT_TRUE(brightRule(control, "RULES: TD: meangrey > 1000 #RULES\n"));
    EXPECT_EQ(control.activeBrightNodes(), 1);
    EXPECT_EQ(shown[10 * 20 + 10], OVERLAY_BRIGHT * 256 + 255);
    EXPECT_EQ(frame->toolTip(), "1 Bright Regions\n0 Dark Regions");

    frame->setDisplayMode(1);
    const QImage screen = vx_gui_test::save_screenshot(*frame, "vx_analyse_control");
    EXPECT_GE(screen.width(), 20);

    // A frame over the output follows it when a computation renews it.
    ASSERT_TRUE(control.compute_scales());
    control.dva_update_output();
    EXPECT_EQ(frame->get_t_image()->pixels[10 * 20 + 10], 255);
}

}  // namespace
