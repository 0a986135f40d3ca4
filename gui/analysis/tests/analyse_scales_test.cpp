#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <cstdlib>
#include <string>
#include <vector>

#include "analyse/display/region_texts.h"
#include "gui/analysis/tests/scales_test_support.h"
#include "gui/analysis/vx_analyse_contour_fds.h"
#include "testsupport/gui/gui_test.h"

using namespace analysis_test;

namespace {

// The base image with value 1530 over the given regions' outer contours
// (or, alone, over one region's pixels).
std::vector<int> base_with(region_tree* tree, const std::vector<tregionnode*>& contours,
                           const tregionnode* alone = nullptr)
{
    const image& base = tree->attr_image->scales[0];
    std::vector<int> words(base.pixels, base.pixels + base.width * base.height);
    for (const tregionnode* node : contours)
        for (int i = 0; i < node->contour_size; ++i)
            words[node->contour[i]] = 1530;
    for (int i = 0; alone != nullptr && i < alone->size; ++i)
        words[alone->pixels[i]] = 1530;
    return words;
}

TEST_F(ScalesTest, EachScaleShowsTheContoursOfItsLivingRegionsAndOnlyScalesInRangeAreTaken)
{
    auto b = open();
    region_tree* tree = control->openingtree();
    ASSERT_EQ(tree->scales, 6);
    EXPECT_EQ(b->windowTitle(), "Browse Bright Scales: picture.png");
    click(*b, "Down");
    EXPECT_EQ(b->currentScale, 0);
    for (int scale = 0; scale < 6; ++scale) {
        if (scale > 0)
            click(*b, "Up");
        EXPECT_EQ(b->scaleField->text(), QString::number(scale));
        EXPECT_EQ(b->words(), base_with(tree, alive_at(tree, scale))) << scale;
        for (const tregionnode* node : alive_at(tree, scale))
            EXPECT_EQ(b->labelAt(node->pixels[0]), node->label) << scale;
    }
    click(*b, "Up");
    EXPECT_EQ(b->currentScale, 5);
    b->scaleField->setText("99");
    EXPECT_EQ(b->currentScale, 5);
    b->scaleField->setText("2");
    EXPECT_EQ(b->words(), base_with(tree, alive_at(tree, 2)));
}

TEST_F(ScalesTest, TheMiddleButtonFollowsTheFathersBelowTheRootAndTheLeftButtonEndsThePath)
{
    auto b = open();
    region_tree* tree = control->openingtree();
    // (18, 12) lies on the line between the squares, whose east neighbour
    // comes before the west one.
    press(*b, Qt::MiddleButton, 18, 12);
    ASSERT_EQ(b->labelAt(12 * 48 + 18), 0);
    ASSERT_NE(b->labelAt(12 * 48 + 17), b->labelAt(12 * 48 + 19));
    EXPECT_EQ(b->regionPath[0], b->labelAt(12 * 48 + 19));

    press(*b, Qt::MiddleButton, 12, 12);
    EXPECT_EQ(b->mode, browser::region_path_mode);
    std::vector<int> path;
    for (tregionnode* node = tree->nodes[b->labelAt(12 * 48 + 12)]; node != tree->root;
         node = node->father)
        path.push_back(node->label);
    ASSERT_EQ(path.size(), 3u);
    EXPECT_EQ(std::vector<int>(b->regionPath.begin(), b->regionPath.begin() + b->pathLength), path);
    tregionnode* core = tree->nodes[path[0]];
    EXPECT_EQ(b->words(), base_with(tree, {}, core));
    char* text = va_fixed_attribute_output(core);
    EXPECT_EQ(b->findChild<QPlainTextEdit*>("Attributes")->toPlainText().toStdString(), text);
    std::free(text);

    // Up climbs to the last father below the root and no further, Down
    // comes back to the core; the field shows each one's birth scale.
    const auto at = [&](int index) {
        EXPECT_EQ(b->currentRegion, path[index]);
        EXPECT_EQ(b->scaleField->text(), QString::number(tree->nodes[path[index]]->birth));
    };
    b->scale_up();
    at(1);
    b->wheelCTLUp();
    at(2);
    b->scale_up();
    at(2);
    b->scale_down();
    at(1);
    b->wheelCTLDown();
    at(0);
    b->scale_down();
    at(0);
    press(*b, Qt::LeftButton, 22, 12);
    EXPECT_EQ(b->mode, browser::scale_mode);
    EXPECT_EQ(b->fdRegion, b->labelAt(12 * 48 + 22));
}

TEST_F(ScalesTest, CtrlRightClicksSelectOneRegionEachAndClosingHidesAndClosesTheFDViews)
{
    auto b = open();
    auto* hint = b->findChild<QLabel*>("Frame Hint");
    ASSERT_NE(hint, nullptr);
    EXPECT_EQ(hint->text(), "Ctrl + right click adds a region to the selected regions");
    region_tree* tree = control->openingtree();
    QWidget analysisDisplay;
    const image* shown = control->init_display(&analysisDisplay)->get_t_image();
    const std::vector<int> before(shown->pixels, shown->pixels + 48 * 40);
    press(*b, Qt::RightButton, 22, 12, Qt::ControlModifier);
    EXPECT_EQ(active_nodes(control->opennodelist(), control->onodelistsize()),
              std::vector<tregionnode*>{tree->nodes[b->labelAt(12 * 48 + 22)]});
    EXPECT_NE(std::vector<int>(shown->pixels, shown->pixels + 48 * 40), before);

    // In path mode the path's region is taken, wherever the click.
    press(*b, Qt::MiddleButton, 12, 12);
    b->scale_up();
    press(*b, Qt::RightButton, 40, 36, Qt::ControlModifier);
    EXPECT_EQ(control->activeBrightNodes(), 2);
    EXPECT_EQ(control->opennodelist()[b->currentRegion], tree->nodes[b->currentRegion]);

    vx_test::printed_by([&] {
        click(*b, "FDS");
        click(*b, "FDS");
    });
    ASSERT_FALSE(b->fdWindow.isNull());
    EXPECT_EQ(b->fdWindow->windowTitle().toStdString(),
              "Node " + std::to_string(b->currentRegion) + " Image:" + control->imagename());
    const auto views = [] {
        int count = 0;
        for (QWidget* widget : QApplication::topLevelWidgets())
            count += qobject_cast<vx_analyse_contour_fds*>(widget) != nullptr;
        return count;
    };
    EXPECT_EQ(views(), 2);
    QSignalSpy hidden(b.get(), &vx_analyse_scales::vx_analyse_scales_hidden);
    b->close();
    vx_gui_test::flush_deferred_deletes();
    EXPECT_EQ(hidden.count(), 1);
    EXPECT_TRUE(b->isHidden());
    EXPECT_EQ(views(), 0);
}

// nested_regions() in 16 bits: every grey times 257, the plate 23130.
QImage deep_nested_regions()
{
    const QImage eight = nested_regions();
    QImage deep(eight.size(), QImage::Format_Grayscale16);
    for (int y = 0; y < deep.height(); ++y) {
        auto* row = reinterpret_cast<quint16*>(deep.scanLine(y));
        for (int x = 0; x < deep.width(); ++x)
            row[x] = static_cast<quint16>(qGray(eight.pixel(x, y)) * 257);
    }
    return deep;
}

TEST_F(ScalesTest, OnASixteenBitPictureContoursAndThePickedRegionShowAsOnAnEightBitOne)
{
    control = computed(deep_nested_regions(), 6, "deep.png");
    region_tree* tree = control->openingtree();
    ASSERT_EQ(tree->attr_image->scales[0].max, 250 * 257);
    auto b = open();
    int r = 0, g = 0, blue = 0;
    b->display->getColor(1530, &r, &g, &blue);
    const auto shown = [&](int p) { return b->display->grab().toImage().pixel(p % 48, p / 48); };

    // The words are the picture mapped onto 0..255, with 1530 on the
    // contours; the screen shows the contours in its colour.
    const std::vector<int> words = b->words();
    std::vector<int> contours(words.size(), 0);
    for (const tregionnode* node : alive_at(tree, 0))
        for (int k = 0; k < node->contour_size; ++k)
            contours[node->contour[k]] = 1;
    for (size_t p = 0; p < words.size(); ++p)
        ASSERT_TRUE(contours[p] ? words[p] == 1530 : words[p] >= 0 && words[p] <= 255) << p;
    EXPECT_EQ(words[48 + 1], 0);
    EXPECT_EQ(words[12 * 48 + 12], 255);
    const tregionnode* plate = tree->nodes[b->labelAt(6 * 48 + 6)];
    EXPECT_EQ(shown(plate->contour[0]), qRgb(r, g, blue));

    // A picked region shows in that colour too, alone in path mode as well.
    press(*b, Qt::LeftButton, 22, 12);
    const tregionnode* picked = tree->nodes[b->fdRegion];
    for (int k = 0; k < picked->size; ++k)
        ASSERT_EQ(b->words()[picked->pixels[k]], 1530) << k;
    EXPECT_EQ(shown(12 * 48 + 22), qRgb(r, g, blue));
    press(*b, Qt::MiddleButton, 12, 12);
    EXPECT_EQ(shown(12 * 48 + 12), qRgb(r, g, blue));
    EXPECT_EQ(shown(0), qRgb(0, 0, 0));

    // The region's Fourier-descriptor view shows the picture under it.
    EXPECT_EQ(vx_test::printed_by([&] { b->analyse_fds(); }).find("No color"), std::string::npos);
    ASSERT_FALSE(b->fdWindow.isNull());
    b->close();
    vx_gui_test::flush_deferred_deletes();
}

TEST_F(ScalesTest, ADamagedTreeKeepsThePathInItsArrayAndRegionsWithoutContourOpenNoView)
{
    auto b = open();
    region_tree* tree = control->openingtree();
    // A loop of fathers: the core's father is its own son.
    tregionnode* core = tree->nodes[b->labelAt(12 * 48 + 12)];
    tregionnode* grandfather = core->father->father;
    core->father->father = core;
    press(*b, Qt::MiddleButton, 12, 12);
    EXPECT_EQ(b->pathLength, tree->scales + 2);
    EXPECT_EQ(b->regionPath.size(), static_cast<size_t>(tree->scales + 2));
    core->father->father = grandfather;

    press(*b, Qt::LeftButton, 22, 12);
    tregionnode* right = tree->nodes[b->fdRegion];
    const int length = right->contour_size;
    for (int size : {0, 1}) {
        right->contour_size = size;
        EXPECT_EQ(vx_test::printed_by([&] { b->analyse_fds(); }),
                  "No contour to resample for node " + std::to_string(b->fdRegion) + "\n");
        EXPECT_TRUE(b->fdWindow.isNull());
    }
    right->contour_size = length;
}

}  // namespace
