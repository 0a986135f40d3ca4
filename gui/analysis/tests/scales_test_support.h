#pragma once

// The scale browser with its protected state in view, over a controller
// computed from a picture of nested regions, for the browser's tests.

#include <QImage>
#include <QTest>
#include <memory>
#include <vector>

#include "analyse/trees/tree_walk.h"
#include "gui/analysis/tests/analysis_test_support.h"
#include "gui/analysis/vx_analyse_scales.h"
#include "gui/foundation/qimage_frame.h"
#include "testsupport/vx_test.h"

namespace analysis_test {

struct browser : vx_analyse_scales {
    using vx_analyse_scales::currentRegion;
    using vx_analyse_scales::currentScale;
    using vx_analyse_scales::display;
    using vx_analyse_scales::fdRegion;
    using vx_analyse_scales::fdWindow;
    using vx_analyse_scales::mode;
    using vx_analyse_scales::pathIndex;
    using vx_analyse_scales::pathLength;
    using vx_analyse_scales::region_path_mode;
    using vx_analyse_scales::regionPath;
    using vx_analyse_scales::scale_mode;
    using vx_analyse_scales::scaleField;
    using vx_analyse_scales::vx_analyse_scales;

    std::vector<int> words() const { return frame_words(display); }
    int labelAt(int position) const { return labelImage->pixels[position]; }
};

inline void press(browser& b, Qt::MouseButton button, int x, int y,
                  Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::mouseClick(b.display, button, modifiers, QPoint(x, y));
}

// A 48 x 40 picture: a grey plate holding two bright squares one pixel
// apart (columns 8..17 and 19..28), the left one with a brighter core.
inline QImage nested_regions()
{
    return picture(
        48, 40,
        {{4, 4, 36, 30, 90}, {8, 8, 10, 10, 180}, {19, 8, 10, 10, 180}, {11, 11, 4, 4, 250}});
}

// On each branch from the root the first node alive at the scale
// (birth <= scale < birth + age).
inline std::vector<tregionnode*> alive_at(region_tree* tree, int scale)
{
    std::vector<tregionnode*> alive;
    walk_preorder_pruned(tree->root, [&](tregionnode* node) {
        const bool lives = node->birth <= scale && scale < node->birth + node->age;
        if (lives)
            alive.push_back(node);
        return !lives;
    });
    return alive;
}

class ScalesTest : public AnalysisTest {
protected:
    void SetUp() override { control = computed(nested_regions(), 6); }

    std::unique_ptr<browser> open(int type = 1)
    {
        return vx_test::capturing_stdout([&] {
            return std::make_unique<browser>(
                control.get(), type, nullptr,
                type == 1 ? "Browse Bright Scales" : "Browse Dark Scales", 0);
        });
    }

    std::unique_ptr<vx_analyse_control> control;
};

}  // namespace analysis_test
