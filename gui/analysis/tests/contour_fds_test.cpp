#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSlider>
#include <QTest>
#include <QToolButton>
#include <cmath>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "analyse/fourier/fourier_coefficients.h"
#include "gui/analysis/tests/analysis_test_support.h"
#include "gui/analysis/vx_analyse_contour_fds.h"
#include "imagecore/handles.h"
#include "testsupport/region_tree_builder.h"
#include "testsupport/vx_test.h"

namespace {

// The outer ring of a side x side square at (x0, y0), clockwise.
std::vector<int> square_ring(int x0, int y0, int side, int width)
{
    std::vector<int> ring;
    const int last = side - 1;
    for (int k = 0; k < 4 * last; ++k) {
        const int edge = k / last, step = k % last;
        const int x = edge == 0 ? step : edge == 1 ? last : edge == 2 ? last - step : 0;
        const int y = edge == 0 ? 0 : edge == 1 ? step : edge == 2 ? last : last - step;
        ring.push_back((y0 + y) * width + x0 + x);
    }
    return ring;
}

// The view of a region with this contour over a w x h picture of grey 50.
struct fd_view {
    fd_view(int w, int h, std::vector<int> ring)
        : w(w), h(h), contour(std::move(ring)), region(vx_test::node(nullptr, {0}, contour))
    {
        view = vx_test::capturing_stdout(
            [&] {
                return std::make_unique<vx_analyse_contour_fds>(w, h, region.get(), picture.get(),
                                                                nullptr, "Node 1 Image:test.png");
            },
            &printed);
    }
    QSlider* slider(int i) const { return view->findChildren<QSlider*>()[i]; }
    QLineEdit* field(int i) const { return view->findChildren<QLineEdit*>()[i]; }
    void click(const QString& text) const { analysis_test::click(*view, text); }
    void arrow(int i) const
    {
        QTest::mouseClick(view->findChildren<QToolButton*>()[i], Qt::LeftButton);
    }
    std::vector<int> words() const
    {
        return analysis_test::frame_words(view->findChild<qimage_frame*>());
    }

    int w, h;
    std::vector<int> contour;
    region_node_handle region;
    image_handle picture{create_image(w, h, 50)};
    std::string printed;
    std::unique_ptr<vx_analyse_contour_fds> view;
};

TEST(ContourFds, OpensWithTheRangesOfItsLengthAndTakesOnlySampleCountsInRange)
{
    fd_view v(64, 64, square_ring(10, 10, 26, 64));
    EXPECT_EQ(v.printed.rfind("CLen 100, Samples128\n", 0), 0u);
    EXPECT_EQ(v.view->sampleCount(), 128);
    EXPECT_EQ(v.view->coefficientCount(), 2);
    EXPECT_EQ(std::make_pair(v.slider(0)->minimum(), v.slider(0)->maximum()),
              std::make_pair(2, 30));
    EXPECT_EQ(std::make_pair(v.slider(1)->minimum(), v.slider(1)->maximum()),
              std::make_pair(2, 128));
    EXPECT_EQ(v.field(0)->text() + " " + v.field(1)->text(), "2 128");

    // A drag of the samples slider to 70 snaps it to 128 samples.
    v.slider(1)->setSliderDown(true);
    v.slider(1)->setSliderPosition(70);
    v.slider(1)->setSliderDown(false);
    EXPECT_EQ(v.view->sampleCount(), 128);
    EXPECT_EQ(v.slider(1)->value(), 128);
    EXPECT_EQ(v.field(1)->text(), "128");

    for (const char* refused : {"", "1"}) {
        v.field(1)->setText(refused);
        EXPECT_EQ(v.view->sampleCount(), 128) << refused;
    }
    QTest::keyClick(v.field(1), Qt::Key_Return);
    // "3" asks for 4 samples, recomputed at once: with every coefficient
    // kept, the reconstruction in place meets the four samples.
    v.field(0)->setText("5");
    v.field(1)->setText("3");
    EXPECT_EQ(v.view->sampleCount(), 4);
    QTest::keyClick(v.field(1), Qt::Key_Return);
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(v.words()[v.contour[k * 25]], 1279) << k;

    fd_view tiny(8, 8, {9, 10, 18, 17, 9});
    EXPECT_EQ(tiny.printed.rfind("CLen 5, Samples8\n", 0), 0u);
    EXPECT_EQ(tiny.slider(0)->maximum(), 2);
}

TEST(ContourFds, ATracedDiscIsRebuiltAsACircleOfRadiusThirtyAboutTheCentre)
{
    const region_tree_handle tree(vx_test::traced_disc(96, 96, 48, 48, 20));
    const image_handle picture(create_image(96, 96, 50));
    const std::unique_ptr<vx_analyse_contour_fds> view = vx_test::capturing_stdout([&] {
        return std::make_unique<vx_analyse_contour_fds>(96, 96, first_son(tree->root),
                                                        picture.get(), nullptr, "disc");
    });
    const std::vector<int> words = analysis_test::frame_words(view->findChild<qimage_frame*>());
    // Columns and rows are the points' coordinates truncated toward zero:
    // each point lies about half a pixel further out than its pixel.
    const auto outward = [](int d) { return d + std::copysign(0.5, d); };
    int centred = 0;
    for (int p = 0; p < 96 * 96; ++p)
        if (words[p] == 1535) {
            ++centred;
            EXPECT_NEAR(std::hypot(outward(p % 96 - 48), outward(p / 96 - 48)), 30.0, 1.0) << p;
        }
    EXPECT_GT(centred, 100);
}

TEST(ContourFds, ListsTheKeptCoefficientsAndStepsTheirCountWithinTheRange)
{
    fd_view v(64, 64, square_ring(10, 10, 26, 64));
    v.field(0)->setText("5");
    EXPECT_EQ(v.slider(0)->value(), 5);
    v.click("Coeffs");
    const std::vector<std::string> lines = vx_test::lines_of(
        v.view->findChild<QPlainTextEdit*>("Coefficients")->toPlainText().toStdString());
    ASSERT_EQ(lines.size(), 9u);
    // Magnitudes are relative to frequency -1, and the position drops out.
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 5),
              (std::vector<std::string>{"FDs:", " 5", "<Threshold>", "0.000000", "1.000000"}));
    EXPECT_EQ(lines.back(), "#FDs");

    v.arrow(0);
    EXPECT_EQ(v.slider(0)->value(), 4);
    v.field(0)->setText("2");
    v.arrow(0);
    EXPECT_EQ(v.view->coefficientCount(), 2);
    v.field(0)->setText("28");
    v.arrow(1);
    v.arrow(1);
    EXPECT_EQ(v.view->coefficientCount(), 29);
}

TEST(ContourFds, DrawsOverImageBlackOrGreyAndSkipsPointsBeyondASideInsteadOfWrapping)
{
    const auto values = [](const fd_view& v) {
        const std::vector<int> words = v.words();
        return std::set<int>(words.begin(), words.end());
    };
    fd_view v(64, 64, square_ring(10, 10, 26, 64));
    EXPECT_EQ(values(v), (std::set<int>{50, 511, 1279, 1535}));
    v.click("No Image");
    EXPECT_EQ(values(v), (std::set<int>{0, 511, 1279, 1535}));
    v.click("Grey");
    EXPECT_EQ(values(v), (std::set<int>{100, 10, 255, 170}));
    EXPECT_EQ(v.words()[v.contour[50]], 170);
    v.click("Image");
    EXPECT_EQ(values(v), (std::set<int>{50, 511, 1279, 1535}));

    // A bar at the right border of a small picture: both reconstructions
    // reach past its sides, and no point may show up on another row.
    fd_view bar(40, 30, square_ring(36, 5, 4, 40));
    const int n = bar.view->sampleCount();
    std::vector<std::vector<double>> a(10, std::vector<double>(static_cast<size_t>(n)));
    fftcoeffs(bar.contour.data(), 40, static_cast<int>(bar.contour.size()), n, a[0].data(),
              a[1].data(), a[2].data(), a[3].data(), a[4].data(), a[5].data());
    coeff_reduce(n, 2, a[0].data(), a[1].data(), a[2].data(), a[3].data(), a[6].data(), a[7].data(),
                 a[8].data(), a[9].data());
    // Every point's pixel by column and row (centred: 1535, in place: 1279).
    std::map<int, std::set<int>> inside;
    int outside = 0;
    for (int i = 0; i < n; ++i)
        for (const auto& [value, x, y, dx, dy] : {std::make_tuple(1535, a[8][i], a[9][i], 20, 15),
                                                  std::make_tuple(1279, a[6][i], a[7][i], 0, 0)}) {
            const int c = static_cast<int>(x) + dx;
            const int r = static_cast<int>(y) + dy;
            if (c >= 0 && c < 40 && r >= 0 && r < 30)
                inside[value].insert(r * 40 + c);
            else
                ++outside;
        }
    ASSERT_GT(outside, 0);
    const std::vector<int> words = bar.words();
    for (int p = 0; p < 40 * 30; ++p)
        EXPECT_TRUE((words[p] != 1535 && words[p] != 1279) || inside[words[p]].count(p) == 1) << p;
}

}  // namespace
