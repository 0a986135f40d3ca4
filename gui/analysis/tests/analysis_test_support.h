#pragma once

// Pictures, files and a working directory of their own for the tests of the
// analysis controller, and the clicks and pixel words of the analysis
// windows' tests.

#include <gtest/gtest.h>

#include <QImage>
#include <QPushButton>
#include <QString>
#include <QTest>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "analyse/trees/tree_walk.h"
#include "gui/analysis/vx_analyse_control.h"
#include "gui/foundation/qimage_frame.h"
#include "testsupport/vx_test.h"

namespace analysis_test {

struct rect {
    int x, y, w, h, grey;
};

// A black grey picture of w x h with the given filled rectangles.
inline QImage picture(int w, int h, const std::vector<rect>& rects)
{
    QImage img(w, h, QImage::Format_Grayscale8);
    img.fill(0);
    for (const rect& r : rects)
        for (int y = r.y; y < r.y + r.h; ++y)
            for (int x = r.x; x < r.x + r.w; ++x)
                img.setPixel(x, y, qRgb(r.grey, r.grey, r.grey));
    return img;
}

// One bright square of 8 x 8 at (8, 8) on black, 24 x 24.
inline QImage square_on_black()
{
    return picture(24, 24, {{8, 8, 8, 8, 200}});
}

// Two bright 6 x 6 squares one pixel apart: columns 4..9 and 11..16.
inline QImage two_blobs()
{
    return picture(22, 12, {{4, 3, 6, 6, 200}, {11, 3, 6, 6, 200}});
}

// Each test runs in a directory of its own (the controller reads and
// writes "Attributes.rule" and its default names there).
class AnalysisTest : public ::testing::Test {
protected:
    AnalysisTest() { std::filesystem::current_path(dir.path()); }
    ~AnalysisTest() override { std::filesystem::current_path(previous); }

    std::string file(const std::string& name) const { return dir.file(name); }
    QString qfile(const std::string& name) const { return QString::fromStdString(file(name)); }

    // The picture as a PNG file of the test directory.
    std::string png(const QImage& img, const std::string& name = "picture.png") const
    {
        EXPECT_TRUE(img.save(qfile(name), "PNG"));
        return file(name);
    }

    static void write(const std::string& path, const std::string& text)
    {
        FILE* out = std::fopen(path.c_str(), "wb");
        ASSERT_NE(out, nullptr) << path;
        std::fwrite(text.data(), 1, text.size(), out);
        std::fclose(out);
    }

    // A new analysis of the picture in grey, as the new-project dialog
    // starts it, with both trees computed on this thread.
    std::unique_ptr<vx_analyse_control> computed(const QImage& img, int scales = 3,
                                                 const std::string& name = "picture.png")
    {
        const std::string path = png(img, name);
        auto control = std::make_unique<vx_analyse_control>(
            path.c_str(), scales, scales, "vx_analyse_control for test", 3, nullptr);
        vx_test::printed_by([&] {
            control->pdisplay()->convertGreyEuclidean();
            EXPECT_TRUE(control->compute_scales());
        });
        return control;
    }

    const std::filesystem::path previous = std::filesystem::current_path();
    vx_test::TempDir dir;
};

// The active entries of an array, in index order.
inline std::vector<tregionnode*> active_nodes(tregionnode** active, int size)
{
    std::vector<tregionnode*> nodes;
    for (int i = 0; active != nullptr && i < size; ++i)
        if (active[i] != nullptr)
            nodes.push_back(active[i]);
    return nodes;
}

// The frame's pixel words.
inline std::vector<int> frame_words(qimage_frame* frame)
{
    const image* shown = frame->get_t_image();
    return std::vector<int>(shown->pixels, shown->pixels + shown->width * shown->height);
}

// Clicks the widget's push button with this text.
inline void click(QWidget& widget, const QString& text)
{
    for (QPushButton* button : widget.findChildren<QPushButton*>())
        if (button->text() == text)
            return QTest::mouseClick(button, Qt::LeftButton);
    ADD_FAILURE() << "no button " << text.toStdString();
}

inline std::vector<tregionnode*> sons(const tregionnode* node)
{
    std::vector<tregionnode*> list;
    for (tregionnode* son : sons_of(node))
        list.push_back(son);
    return list;
}

}  // namespace analysis_test
