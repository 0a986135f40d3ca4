// The sketch tool: the overlay's colours, painting, fills, statistics, the
// regions with their table and rule, and the sketch files.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>
#include <memory>
#include <set>
#include <utility>

#include "analyse/rules/rule_file.h"
#include "analyse/rules/rule_program.h"
#include "automation/tables/vxtable.h"
#include "gui/analysis/tests/analysis_test_support.h"
#include "gui/analysis/vx_draw_region.h"
#include "gui/foundation/forms/vx_attribute_selection.h"
#include "gui/foundation/qimage_frame.h"
#include "gui/foundation/vx_base_paths.h"
#include "imagecore/handles.h"
#include "testsupport/gui/gui_test.h"
#include "testsupport/vx_test.h"

using analysis_test::click;
using vx_gui_test::dialogs;

namespace {

using point = std::pair<int, int>;

struct sketch : VxDrawRegion {
    using VxDrawRegion::activeColor;
    using VxDrawRegion::alpha;
    using VxDrawRegion::alphaField;
    using VxDrawRegion::attributesView;
    using VxDrawRegion::currentLabel;
    using VxDrawRegion::display;
    using VxDrawRegion::fdRegion;
    using VxDrawRegion::labelField;
    using VxDrawRegion::labels;
    using VxDrawRegion::regions;
    using VxDrawRegion::ruleFile;
    using VxDrawRegion::statisticsWindow;
    using VxDrawRegion::table;
    using VxDrawRegion::VxDrawRegion;

    int label(int x, int y) const
    {
        const int value = labels->pixels[y * labels->width + x];
        return value != 0 ? value - 256 : 0;
    }
    std::set<point> labelled() const
    {
        std::set<point> found;
        for (int y = 0; y < labels->height; ++y)
            for (int x = 0; x < labels->width; ++x)
                if (label(x, y) != 0)
                    found.insert({x, y});
        return found;
    }
    void set(int x0, int y0, int w, int h, int value)
    {
        for (int y = y0; y < y0 + h; ++y)
            for (int x = x0; x < x0 + w; ++x)
                labels->pixels[y * labels->width + x] = value != 0 ? value + 256 : 0;
        updateEntireDisplay();
    }
    void type(QLineEdit* field, const QString& text)
    {
        field->setText(text);
        QTest::keyClick(field, Qt::Key_Return);
    }
};

// The default update rule with one attribute that is never positive.
const char update_rule[] =
    "DECLS:\n conv :=  (4 * area * 3.14176) /(pow((perimeter),2.0));\n areafraction := area / "
    "sons;\n bbrelation := aaxis/paxis;\n neg := 0 - area;\n FDC := 5;\n#DECLS\nRULES:\nTD:\n"
    "#RULES\n";

int grey(int x, int y)
{
    return (7 * x + 3 * y) % 256;
}

class DrawRegionTest : public analysis_test::AnalysisTest {
protected:
    DrawRegionTest()
    {
        write(file("Attributes.rule"), update_rule);
        const QString folder = QString::fromStdString(dir.path().string());
        paths = std::make_unique<VxBasePaths>(folder, rule(), QString(), folder, folder, nullptr,
                                              "Test Paths", 0);
    }

    QString rule() const { return qfile("Attributes.rule"); }

    std::unique_ptr<sketch> open()
    {
        image_handle picture(create_image(40, 30, 0));
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 40; ++x)
                picture->pixels[y * 40 + x] = grey(x, y);
        auto made = vx_test::capturing_stdout([&] {
            return std::make_unique<sketch>(paths.get(), picture.get(), nullptr, "Sketch: test", 0);
        });
        made->show();
        return made;
    }

    static void compute(sketch& s)
    {
        vx_test::printed_by([&] { s.computeAttributes(); });
    }

    std::unique_ptr<VxBasePaths> paths;
};

TEST_F(DrawRegionTest, LabelsShowInTheirPaletteColourBlendedByAlpha)
{
    auto s = open();
    for (int i : {257, 300, 511}) {
        int r = -1, g = -1, b = -1;
        s->display->getColor(i, &r, &g, &b);
        EXPECT_EQ(r, (128 + i - 257) % 256) << i;
        EXPECT_EQ(g, 63 * i % 255) << i;
        EXPECT_EQ(b, 19 * i % 255) << i;
    }
    s->mousePressLeftButton(5, 5);
    int c[3];
    s->display->getColor(257, &c[0], &c[1], &c[2]);
    for (int alpha : {255, 100, 0}) {
        s->type(s->alphaField, QString::number(alpha));
        ASSERT_TRUE(s->display->write_image(qfile("shot.png")));
        const QImage shot(qfile("shot.png"));
        const int g = grey(5, 5);
        auto blended = [&](int channel) {
            return (g * (255 - alpha) >> 8) + (channel * (alpha + 1) >> 8);
        };
        EXPECT_EQ(shot.pixel(5, 5), qRgb(blended(c[0]), blended(c[1]), blended(c[2]))) << alpha;
        EXPECT_EQ(shot.pixel(9, 7), qRgb(grey(9, 7), grey(9, 7), grey(9, 7)));
    }
}

TEST_F(DrawRegionTest, DeepTemplatesShowStretchedAndKeepTheirValuesForAttributes)
{
    image_handle deep(create_image(4, 1, 0));
    const int values[4] = {0, 250, 500, 1000};
    std::copy(values, values + 4, deep->pixels);
    sketch s(paths.get(), deep.get(), nullptr, "deep", 0);
    EXPECT_EQ(analysis_test::frame_words(s.display), std::vector<int>({0, 64, 128, 255}));
    s.set(3, 0, 1, 1, 1);
    compute(s);
    ASSERT_EQ(s.regions.size(), 2u);
    EXPECT_EQ(s.regions[1]->meangrey, 1000);
}

TEST_F(DrawRegionTest, LabelAndAlphaFieldsKeepTheirRanges)
{
    auto s = open();
    s->mousePressLeftButton(3, 3);
    s->type(s->labelField, "254");
    EXPECT_EQ(s->activeColor, 510);
    click(*s, "Next Label");
    EXPECT_EQ(s->labelField->text(), "1");
    EXPECT_EQ(s->activeColor, 257);
    s->type(s->labelField, "300");
    EXPECT_EQ(s->labelField->text(), "1");
    EXPECT_EQ(s->currentLabel, 1);
    click(*s, "Last Label");
    EXPECT_EQ(s->labelField->text(), "0");
    s->mousePressLeftButton(3, 3);
    EXPECT_EQ(s->label(3, 3), 0);

    s->type(s->alphaField, "245");
    click(*s, "more opaque");
    EXPECT_EQ(s->alpha, 255);
    s->type(s->alphaField, "10");
    click(*s, "more transparent");
    EXPECT_EQ(s->alpha, 0);
    s->type(s->alphaField, "999");
    EXPECT_EQ(s->alpha, 0);
    EXPECT_EQ(s->alphaField->text(), "0");
}

TEST_F(DrawRegionTest, MovesPaintLinesFromTheLastPositionInsideTheImage)
{
    auto s = open();
    // Shallow (3 over 10) and steep (10 over 3, drawn upwards).
    s->mousePressLeftButton(2, 3);
    s->mouseMoveLeftButton(12, 6);
    s->mousePressLeftButton(20, 14);
    s->mouseMoveLeftButton(17, 4);
    std::set<point> expected;
    const int offset[11] = {0, 0, 0, 0, 1, 1, 1, 2, 2, 2, 3};
    for (int step = 0; step <= 10; ++step) {
        expected.insert({2 + step, 3 + offset[step]});
        expected.insert({17 + offset[step], 4 + step});
    }
    EXPECT_EQ(s->labelled(), expected);

    // After Clear, and after a press beside the image, a move paints one
    // pixel; positions outside the image are ignored.
    s->clear();
    s->mouseMoveLeftButton(30, 20);
    s->mouseMoveLeftButton(45, 2);
    s->mouseMoveLeftButton(-1, -1);
    EXPECT_EQ(s->labelled(), std::set<point>({{30, 20}}));
    s->mousePressLeftButton(5, 20);
    QMouseEvent beside(QEvent::MouseButtonPress, QPointF(-3, -3), QPointF(-3, -3), Qt::LeftButton,
                       Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(s->display, &beside);
    s->mouseMoveLeftButton(8, 25);
    EXPECT_EQ(s->labelled(), std::set<point>({{30, 20}, {5, 20}, {8, 25}}));

    // A tool without a template takes no position.
    sketch empty(paths.get(), nullptr, nullptr, "empty", 0);
    empty.mousePressLeftButton(0, 0);
    empty.mouseMoveLeftButton(0, 0);
    compute(empty);
    EXPECT_FALSE(empty.table);
}

TEST_F(DrawRegionTest, FillsUndoOneStepAndStatisticsCountObjectsAndClasses)
{
    auto s = open();
    s->type(s->labelField, "2");
    s->mousePressLeftButton(10, 10);
    for (point corner : std::vector<point>{{15, 10}, {15, 14}, {10, 14}, {10, 10}})
        s->mouseMoveLeftButton(corner.first, corner.second);
    const std::set<point> outline = s->labelled();
    EXPECT_EQ(outline.size(), 18u);
    s->setFillMode();
    s->mousePressLeftButton(12, 12);
    EXPECT_EQ(s->labelled().size(), 30u);
    s->undoFill();
    s->undoFill();
    EXPECT_EQ(s->labelled(), outline);
    s->mousePressLeftCtlButton(12, 12);
    s->setDrawMode();
    s->type(s->labelField, "5");
    s->mousePressLeftButton(30, 5);

    s->computeStatistics();
    ASSERT_TRUE(s->statisticsWindow);
    EXPECT_EQ(s->statisticsWindow->windowTitle(), "Statistics for Sketched Regions");
    EXPECT_EQ(s->statisticsWindow->toPlainText(),
              "# Objects: 2\n# Classes: 2\n# RangeOfClasses: 6\n\nClasses\nC.2, Size 1\nC.5, "
              "Size 1\n\nObjects\nO.0, Size 1, Label 5, Pos (30,5)\nO.1, Size 30, Label 2, Pos "
              "(10,10)\n");
}

TEST_F(DrawRegionTest, AttributesMakeOneRegionPerPatchWithTableAndRule)
{
    auto s = open();
    s->set(2, 2, 5, 2, 3);
    s->set(20, 10, 5, 4, 3);
    dialogs().press("Acknowlege");
    click(*s, "Export Query");
    EXPECT_EQ(dialogs().requests().back().title, "No Attributes");

    compute(*s);
    ASSERT_EQ(s->regions.size(), 3u);
    EXPECT_EQ(s->regions[1]->size, 10);
    EXPECT_EQ(s->regions[2]->size, 20);
    ASSERT_TRUE(s->table);
    const char* const front[] = {"Classlabel", "RegionID", "TFatherID", "TSonID", "TNumAttr"};
    for (int c = 0; c < 5; ++c)
        EXPECT_STREQ(s->table->getColumnName(c), front[c]);
    for (int row = 0; row < 2; ++row) {
        EXPECT_EQ(s->table->getEntry(row, 0).ivalue, 3);
        EXPECT_EQ(s->table->getEntry(row, 1).ivalue, row + 1);
    }
    // The selection beside the tool goes with its one "Done", and comes
    // back with it.
    auto* selection = vx_gui_test::top_level_widget("Select Region Atributes ");
    ASSERT_NE(selection, nullptr);
    click(*selection, "Done");
    EXPECT_FALSE(selection->isVisible());
    compute(*s);
    EXPECT_TRUE(selection->isVisible());
    EXPECT_EQ(selection->findChildren<QPushButton*>("Attribute Selection Done").size(), 1);

    QSignalSpy tables(s.get(), &VxDrawRegion::validSketchTable);
    QSignalSpy rules(s.get(), &VxDrawRegion::validSketchQueryRule);
    dialogs().answer(qfile("t"));
    click(*s, "Export Table");
    ASSERT_EQ(tables.count(), 1);
    EXPECT_EQ(tables[0][0].toString(), qfile("t.csv"));
    EXPECT_EQ(vx_test::read_file(file("t.csv")).rfind("Classlabel;RegionID;TFatherID;TSonID;", 0),
              0u);

    dialogs().answer(qfile("q.sketch.rule"));
    click(*s, "Export Query");
    ASSERT_EQ(rules.count(), 1);
    EXPECT_EQ(rules[0][0].toString(), qfile("q.sketch.rule"));
    EXPECT_EQ(rules[0][1].toString(), rule());
    const std::string written = vx_test::read_file(file("q.sketch.rule"));
    EXPECT_EQ(written.rfind("DECLS:\n conv", 0), 0u);
    EXPECT_NE(written.find("#DECLS\nRULES:\nTD:\nNNIV:\n0.0\n"), std::string::npos);
    EXPECT_NE(written.find("\narea(8.000000, 24.000000, 0.0);\n"), std::string::npos);
    EXPECT_NE(written.find("\nneg(-24.000000, -8.000000, 0.0);\n"), std::string::npos);
    EXPECT_EQ(written.find("Classlabel"), std::string::npos);
    // Unticked at first: a tree region's place in its tree. Left out: a
    // column of zeros, whose interval would reject every other value.
    EXPECT_EQ(written.find("\nage("), std::string::npos);
    EXPECT_EQ(written.find("\nborder("), std::string::npos);
    EXPECT_NE(written.find("\nperimeter("), std::string::npos);
    EXPECT_EQ(written.substr(written.size() - 16), ";\n\n#NNIV\n#RULES\n");
    testing::internal::CaptureStdout();
    program* parsed = parse_rule_file(file("q.sketch.rule").c_str(), 40);
    const std::string printed = testing::internal::GetCapturedStdout();
    ASSERT_NE(parsed, nullptr) << printed;
    delete_program(parsed);

    s->mousePressMidButton(22, 12);
    EXPECT_TRUE(s->attributesView->toPlainText().startsWith("Label 2\n"));
    EXPECT_EQ(s->fdRegion, 2);
}

TEST_F(DrawRegionTest, EnclosedPatchesKeepTheirContourAndAFailingRuleGivesNoRegions)
{
    auto s = open();
    s->set(11, 11, 3, 3, 7);
    compute(*s);
    ASSERT_EQ(s->regions.size(), 2u);
    const int alone = s->regions[1]->contour_size;
    // The same patch inside a ring of another label: the contour walk used
    // to find no start there and end the program.
    s->set(10, 10, 5, 5, 4);
    s->set(11, 11, 3, 3, 7);
    compute(*s);
    ASSERT_EQ(s->regions.size(), 3u);
    EXPECT_EQ(s->regions[2]->label, 7);
    EXPECT_EQ(s->regions[2]->contour_size, alone);

    write(file("broken.rule"), "DECLS:\n x := ;\n#DECLS\n");
    s->setUpdateFile(qfile("broken.rule"));
    dialogs().press("Acknowlege");
    compute(*s);
    EXPECT_EQ(s->regions.size(), 0u);
    EXPECT_FALSE(s->table);
    EXPECT_EQ(dialogs().requests().back().title, "Update rule failed");
}

TEST_F(DrawRegionTest, TheRuleCopiesTheUpdateRuleUpToAnEmptyOrRulesLine)
{
    auto s = open();
    s->set(2, 2, 4, 4, 1);
    compute(*s);
    const std::string tail = "RULES:\nTD:\nNNIV:\n0.0\n\n#NNIV\n#RULES\n";
    const std::pair<std::string, std::string> cases[] = {
        {"DECLS:\n a := area;\n#DECLS\n\nlater\n", "DECLS:\n a := area;\n#DECLS\n"},
        {"DECLS:\n b := area;\n#DECLS\nRULES:\nTD:\n#RULES\n", "DECLS:\n b := area;\n#DECLS\n"},
        {"DECLS:\n c := area;\n#DECLS", "DECLS:\n c := area;\n#DECLS\n"},
    };
    QSignalSpy rules(s.get(), &VxDrawRegion::validSketchQueryRule);
    for (const auto& [text, copied] : cases) {
        write(file("u.rule"), text);
        s->setUpdateFile(qfile("u.rule"));
        s->ruleFile = qfile("out.rule");
        s->exportRule(0, nullptr);
        EXPECT_EQ(vx_test::read_file(file("out.rule")), copied + tail);
    }
    EXPECT_EQ(rules.count(), 3);

    s->setUpdateFile(qfile("missing.rule"));
    dialogs().press("Acknowlege");
    s->exportRule(0, nullptr);
    EXPECT_EQ(rules.count(), 3);
}

TEST_F(DrawRegionTest, SketchFilesGiveBackEveryLabelAndOthersAreRefused)
{
    auto s = open();
    for (int p = 0; p < 40 * 30; ++p)
        s->labels->pixels[p] = p % 255 != 0 ? p % 255 + 256 : 0;
    const std::vector<int> drawn(s->labels->pixels, s->labels->pixels + 40 * 30);
    auto labels = [&] { return std::vector<int>(s->labels->pixels, s->labels->pixels + 40 * 30); };
    QSignalSpy images(s.get(), &VxDrawRegion::validSketchImage);

    dialogs().answer(qfile("one.sketch.png"));
    click(*s, "Export Sketch");
    compute(*s);
    dialogs().answer(qfile("all"));
    click(*s, "Export All");
    EXPECT_EQ(images.count(), 2);
    for (const char* name : {"all.sketch.csv", "all.sketch.rule"})
        EXPECT_TRUE(QFile::exists(qfile(name))) << name;
    for (const char* name : {"one.sketch.png", "all.sketch.png"}) {
        s->clear();
        dialogs().answer(qfile(name));
        click(*s, "Load Sketch");
        EXPECT_EQ(labels(), drawn) << name;
    }

    // Another size, a value above 254, a red channel.
    QImage small(10, 10, QImage::Format_RGB32);
    small.fill(qRgb(0, 0, 1));
    QImage wide(40, 30, QImage::Format_RGB32);
    wide.fill(qRgb(0, 0, 1));
    wide.setPixel(3, 3, qRgb(0, 0, 255));
    QImage red = wide;
    red.setPixel(3, 3, qRgb(1, 0, 1));
    const std::vector<std::pair<QImage, const char*>> refused = {
        {small, "small.png"}, {wide, "wide.png"}, {red, "red.png"}};
    for (const auto& [picture, name] : refused) {
        ASSERT_TRUE(picture.save(qfile(name)));
        dialogs().answer(qfile(name));
        dialogs().press("Acknowlege");
        click(*s, "Load Sketch");
        EXPECT_EQ(dialogs().requests().back().title, "Sketch not loaded") << name;
        EXPECT_EQ(labels(), drawn) << name;
    }
    // No picture at all: the reader's reason.
    vx_test::write_file(file("notes.sketch.png"), "no picture");
    dialogs().answer(qfile("notes.sketch.png"));
    dialogs().press("Acknowlege");
    click(*s, "Load Sketch");
    EXPECT_EQ(dialogs().requests().back().labels.value(1),
              "Unable to read\n" + qfile("notes.sketch.png") + "\nUnsupported image format");
    EXPECT_EQ(labels(), drawn);
}

TEST_F(DrawRegionTest, AHandedSketchShowsAlsoBeyondTheVisiblePart)
{
    auto s = open();
    s->display->resizeDisplayFrame(10, 10);
    image_handle regions(create_image(40, 30, 0));
    regions->pixels[20 * 40 + 30] = 5;
    s->setSketch(regions.get());
    EXPECT_EQ(s->labelled(), std::set<point>({{30, 20}}));
    const std::vector<int> shown = analysis_test::frame_words(s->display);
    s->updateEntireDisplay();
    EXPECT_EQ(shown, analysis_test::frame_words(s->display));
}

TEST_F(DrawRegionTest, ScreenshotOfTheToolWithTwoPatches)
{
    auto s = open();
    s->set(5, 5, 10, 8, 1);
    s->set(20, 12, 8, 8, 7);
    const QImage shot = vx_gui_test::save_screenshot(*s, "VxDrawRegion");
    ASSERT_EQ(shot.size(), s->size());
    const QPoint frame = s->display->mapTo(s.get(), QPoint(0, 0));
    int r = 0, g = 0, b = 0;
    s->display->getColor(263, &r, &g, &b);
    EXPECT_EQ(shot.pixel(frame + QPoint(22, 14)), qRgb(r, g, b));
    s->display->getColor(257, &r, &g, &b);
    EXPECT_EQ(shot.pixel(frame + QPoint(6, 6)), qRgb(r, g, b));
    EXPECT_EQ(shot.pixel(frame + QPoint(35, 2)), qRgb(grey(35, 2), grey(35, 2), grey(35, 2)));
    EXPECT_GT(vx_gui_test::dark_pixels(shot, QRect(frame.x() + 50, 0, 300, 200)), 100);
}

}  // namespace
