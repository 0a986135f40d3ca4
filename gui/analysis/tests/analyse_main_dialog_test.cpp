#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QTreeWidget>
#include <cstdlib>
#include <filesystem>
#include <set>

#include "gui/analysis/tests/main_dialog_test_support.h"
#include "gui/analysis/vx_analyse_scales.h"
#include "gui/analysis/vx_draw_region.h"
#include "imagecore/palette.h"
#include "testsupport/full_disk.h"
#include "testsupport/gui/gui_test.h"

using namespace analysis_test;
using vx_gui_test::dialogs;

namespace {

constexpr int side = 24;

// The display words of square_on_black() with the active regions drawn
// filled (contour code 1, interior code 6) or as contours.
std::vector<int> expected_words(const std::vector<tregionnode*>& active, bool filled)
{
    std::vector<int> codes(side * side, 0);
    for (const tregionnode* node : active) {
        for (int k = 0; k < node->inner_contour_size; ++k)
            codes[node->inner_contour[k]] = 1;
        for (int k = 0; k < node->contour_size; ++k)
            codes[node->contour[k]] = 1;
        for (int k = 0; k < node->size; ++k)
            if (codes[node->pixels[k]] == 0)
                codes[node->pixels[k]] = 6;
    }
    std::vector<int> words(codes.size());
    for (int p = 0; p < side * side; ++p) {
        const int x = p % side;
        const int y = p / side;
        const int grey = x >= 8 && x < 16 && y >= 8 && y < 16 ? 200 : 0;
        words[p] = filled ? codes[p] * 256 + grey : codes[p] <= 4 ? codes[p] * 255 + grey : grey;
    }
    return words;
}

const VxDialogRequest& last_request()
{
    return dialogs().requests().back();
}

}  // namespace

TEST_F(MainDialogTest, ApplyQueryDrawsTheCodingAndClearAndTheModeButtonRedraw)
{
    // An image without extension in a folder with a dot keeps the folder.
    std::filesystem::create_directories(file("run.3"));
    open(square_on_black(), "run.3/square");
    EXPECT_EQ(std::string(control->resultname()), file("run.3/square") + ".result.");
    EXPECT_EQ(dialog->windowTitle(), "Analyse Image " + qfile("run.3/square"));
    EXPECT_EQ(control->displaymode(), 1);

    const std::string rule = square_rule + "  \n";
    query(rule);
    EXPECT_EQ(vx_test::read_file(control->brightrulesname()), rule);
    const auto hits = active_nodes(control->opennodelist(), control->onodelistsize());
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0]->size, 56);
    EXPECT_EQ(frame_words(display()), expected_words(hits, true));
    EXPECT_EQ(display()->toolTip(), "1 Bright Regions\n0 Dark Regions");

    press("Display Mode");
    EXPECT_EQ(child("Display Mode")->text(), "Regions");
    EXPECT_EQ(control->displaymode(), 0);
    EXPECT_EQ(frame_words(display()), expected_words(hits, false));
    press("Display Mode");
    EXPECT_EQ(child("Display Mode")->text(), "Contours");
    EXPECT_EQ(frame_words(display()), expected_words(hits, true));

    // A rule that does not parse keeps the selection.
    dialogs().press("Acknowlege");
    query("RULES: TD: area > #RULES\n");
    EXPECT_EQ(last_request().title, "!Warning!");
    EXPECT_EQ(control->activeBrightNodes(), 1);

    press("Clear Bright Query");
    EXPECT_EQ(control->activeBrightNodes(), 0);
    EXPECT_EQ(frame_words(display()), expected_words({}, true));
}

TEST_F(MainDialogTest, ApplyQuerySaysWhyARuleFailsKeepsTheSelectionAndRewritesOnlyAChangedText)
{
    open(square_on_black());
    query(square_rule);
    EXPECT_EQ(child<QLabel>("Bright Selected Regions")->text(), "Selected regions: 1");
    EXPECT_EQ(child<QLabel>("Dark Selected Regions")->text(), "Selected regions: 0");
    const auto popped = [](const char* text) {
        return last_request().labels.join("\n").contains(QString::fromLatin1(text));
    };

    // A rule that does not parse, and one whose run fails: the reason in
    // the pop-up, the selection as it was.
    dialogs().press("Acknowlege");
    query("RULES:\nTD: area >\n#RULES\n");
    EXPECT_TRUE(popped("does not parse:\nline 3: syntax error, unexpected RULESCL"));
    dialogs().press("Acknowlege");
    query("DECLS: FDC := 2; numfdc := 5; #DECLS RULES: TD: area > 1000 #RULES\n");
    EXPECT_TRUE(popped("failed while it ran:\nDont Mess with the number of FDCs"));
    EXPECT_EQ(control->activeBrightNodes(), 1);
    EXPECT_EQ(child<QLabel>("Bright Selected Regions")->text(), "Selected regions: 1");

    // An unchanged rule file keeps its CRLF line ends.
    const std::string crlf = "RULES:\r\nTD: area > 50 && area < 60\r\n#RULES\r\n";
    write(file("crlf.rule"), crlf);
    QString name = qfile("crlf.rule");
    auto* editor = dialog->findChild<VxEditDialog*>("Bright Rule Edit");
    vx_test::printed_by([&] { ASSERT_TRUE(editor->readText(name)); });
    press("Clear Bright Query");
    press("Apply Bright Query");
    EXPECT_EQ(vx_test::read_file(file("crlf.rule")), crlf);
    EXPECT_EQ(control->activeBrightNodes(), 1);

    // A changed rule that cannot be saved is not run: the old file stays.
    dialogs().clear();
    dialogs().press("Acknowlege");
    {
        const vx_test::FileSizeLimit full(0);
        query("RULES: TD: area > 1000 #RULES\n");
    }
    EXPECT_EQ(last_request().title, "!!File Save Error!!");
    EXPECT_EQ(vx_test::read_file(file("crlf.rule")), crlf);
    EXPECT_EQ(control->activeBrightNodes(), 1);
}

TEST_F(MainDialogTest, ExportsRefuseOrWarnOnEmptySelectionsAndWriteTheActiveRegions)
{
    open(square_on_black());
    query(square_rule);

    dialogs().answer(qfile("bright.csv"));
    press("Export Bright Table");
    EXPECT_EQ(last_request().caption, "Save bright regions table");
    EXPECT_TRUE(last_request().startPath.endsWith("/picture.bright.regions.csv"));
    EXPECT_EQ(vx_test::lines_of(vx_test::read_file(file("bright.csv"))).size(), 2u);

    dialogs().clear();
    dialogs().press("Acknowlege");
    press("Export Dark Table");
    ASSERT_EQ(dialogs().requests().size(), 1u);
    EXPECT_TRUE(last_request().labels.join("").contains("No Regions Selected"));

    // Warned, then asked; Cancel writes nothing.
    dialogs().clear();
    dialogs().press("Acknowlege");
    dialogs().answer(QString());
    press("Export Dark Regions");
    ASSERT_EQ(dialogs().requests().size(), 2u);
    EXPECT_TRUE(last_request().startPath.endsWith("/picture.dark.regions.png"));
    EXPECT_FALSE(std::filesystem::exists(file("picture.dark.regions.png")));

    // The square in the colour of the first region value.
    dialogs().answer(qfile("bright.png"));
    press("Export Bright Regions");
    const QImage regions(qfile("bright.png"));
    ASSERT_EQ(regions.size(), QSize(side, side));
    int* palette = initGreyColorScrambledPalette(258);
    const QRgb square = 0xFF000000u | (static_cast<unsigned>(palette[257]) & 0xFFFFFFu);
    std::free(palette);
    EXPECT_EQ(regions.pixel(12, 12), square);
    EXPECT_EQ(regions.pixel(15, 8), square);
    EXPECT_EQ(regions.pixel(2, 2), qRgb(0, 0, 0));

    // Writing a tree keeps the labels the selection goes by.
    dialogs().answer(qfile("b.tree"));
    press("Write Bright Tree");
    EXPECT_EQ(vx_test::read_file(file("b.tree")).substr(0, 5), "RTHR2");
    EXPECT_EQ(std::string(control->openingtreename()), file("b.tree"));
    const auto hits = active_nodes(control->opennodelist(), control->onodelistsize());
    EXPECT_EQ(hits[0]->file_index, hits[0]->label);
    query(square_rule);
    EXPECT_EQ(active_nodes(control->opennodelist(), control->onodelistsize()), hits);

    // A target that cannot be created: a pop-up, nothing written.
    dialogs().clear();
    dialogs().press("Acknowlege");
    child<QLineEdit>("Dark Tree Name")->setText(qfile("missing/d.tree"));
    vx_test::printed_by(
        [&] { QTest::keyClick(child<QLineEdit>("Dark Tree Name"), Qt::Key_Return); });
    EXPECT_EQ(last_request().title, "!!Write Error!!");
    EXPECT_FALSE(std::filesystem::exists(file("missing")));

    // A full disk: one pop-up, and the image written before stays whole.
    const std::string written = vx_test::read_file(file("bright.png"));
    dialogs().clear();
    dialogs().answer(qfile("bright.png"));
    dialogs().press("Acknowlege");
    {
        const vx_test::FileSizeLimit full(0);
        press("Export Bright Regions");
    }
    ASSERT_EQ(dialogs().requests().size(), 2u);
    EXPECT_EQ(last_request().title, "!!Write Error!!");
    EXPECT_EQ(vx_test::read_file(file("bright.png")), written);
}

TEST_F(MainDialogTest, RuleFilesAreLoadedAndWrittenThroughTheEditors)
{
    open(square_on_black());
    write(file("other.rule"), square_rule);
    dialogs().answer(qfile("other.rule"));
    dialog->load_dark_object_rule_dialog();
    EXPECT_EQ(std::string(control->darkrulesname()), file("other.rule"));
    dialogs().answer(qfile("copy"));
    dialog->write_dark_object_rule_dialog();
    EXPECT_EQ(last_request().caption, "Write Dark Object Rule");
    EXPECT_EQ(vx_test::read_file(file("copy.rule")), square_rule);
    EXPECT_EQ(std::string(control->darkrulesname()), file("copy.rule"));
}

TEST_F(MainDialogTest, BrowsersAreMadeOnceAndTheirPicksReachTheDisplay)
{
    open(square_on_black());
    press("Browse Bright");
    QPointer<QWidget> browser = vx_gui_test::top_level_widget("Browse Bright Scales");
    ASSERT_FALSE(browser.isNull());
    browser->close();
    press("Browse Bright");
    EXPECT_EQ(vx_gui_test::top_level_widget("Browse Bright Scales"), browser);
    EXPECT_TRUE(browser->isVisible());

    auto* frame = browser->findChild<qimage_frame*>();
    QTest::mouseClick(frame, Qt::RightButton, Qt::ControlModifier, QPoint(12, 12));
    EXPECT_EQ(control->activeBrightNodes(), 1);
    EXPECT_GT(frame_words(display())[12 * side + 12], 255);
    EXPECT_EQ(display()->toolTip(), "1 Bright Regions\n0 Dark Regions");

    // Recomputing drops the browser, which shows the old trees, and starts
    // from the picture, not from the selection drawn over it.
    const int regions = control->openingtree()->regions;
    vx_test::printed_by([&] { dialog->compute_trees(); });
    EXPECT_TRUE(browser.isNull());
    EXPECT_EQ(control->openingtree()->regions, regions);
    EXPECT_EQ(control->image()->pixels[12 * side + 12], 200);
    EXPECT_EQ(control->activeBrightNodes(), 0);
}

TEST_F(MainDialogTest, TheSelectionEditorTogglesAcceptsAndDropsWhatWasNotAccepted)
{
    open(two_blobs());
    query("RULES: TD: area > 25 && area < 40 #RULES\n");
    ASSERT_EQ(control->activeBrightNodes(), 2);
    const std::vector<int> both = frame_words(display());

    press("Edit Bright Selection");
    QPointer<QWidget> editor =
        vx_gui_test::top_level_widget("Dark region edit  vx_analyse control");
    ASSERT_FALSE(editor.isNull());
    EXPECT_EQ(editor->windowTitle(), "Bright List View: ");
    auto* list = editor->findChild<QTreeWidget*>("Display Image List List View");
    ASSERT_EQ(list->topLevelItemCount(), 2);
    const auto cell = [&](int row, int column) {
        const QRect r = list->visualItemRect(list->topLevelItem(row));
        QTest::mouseClick(
            list->viewport(), Qt::LeftButton, {},
            QPoint(list->header()->sectionViewportPosition(column) + 3, r.center().y()));
        return list->topLevelItem(row)->text(2);
    };
    const tregionnode* first = active_nodes(control->opennodelist(), control->onodelistsize())[0];
    EXPECT_EQ(list->topLevelItem(0)->text(1).toInt(), first->label);
    const int inside = first->pixels[first->size / 2];

    EXPECT_EQ(cell(0, 2), "show");
    EXPECT_EQ(frame_words(display())[inside], 200);
    EXPECT_EQ(cell(0, 2), "delete");
    EXPECT_EQ(frame_words(display()), both);

    // Closed without Accept: the selection and its display stay.
    EXPECT_EQ(cell(0, 2), "show");
    editor->close();
    EXPECT_EQ(control->activeBrightNodes(), 2);
    EXPECT_EQ(frame_words(display()), both);
    control->BrightRegionSelected(1, nullptr, QPoint(), 2);

    // Opened anew over edits on screen: they go with their editor.
    press("Edit Bright Selection");
    editor = vx_gui_test::top_level_widget("Dark region edit  vx_analyse control");
    list = editor->findChild<QTreeWidget*>("Display Image List List View");
    EXPECT_EQ(cell(0, 2), "show");
    EXPECT_NE(frame_words(display()), both);

    // Accept after one toggle: one fewer; the window goes after the click.
    press("Edit Bright Selection");
    EXPECT_TRUE(editor.isNull());
    EXPECT_EQ(frame_words(display()), both);
    editor = vx_gui_test::top_level_widget("Dark region edit  vx_analyse control");
    list = editor->findChild<QTreeWidget*>("Display Image List List View");
    EXPECT_EQ(cell(1, 2), "show");
    QTest::mouseClick(editor->findChild<QPushButton*>("Dark region edit  done vx_analyse control"),
                      Qt::LeftButton);
    EXPECT_EQ(control->activeBrightNodes(), 1);
    vx_gui_test::flush_deferred_deletes();
    EXPECT_TRUE(editor.isNull());
}

TEST_F(MainDialogTest, DeletingTheDialogTakesTheControllerAndEveryWindowItOpened)
{
    open(square_on_black());
    query(square_rule);
    for (const char* name :
         {"Browse Bright", "Browse Dark", "Bright Blobs", "Dark Blobs", "Edit Bright Selection",
          "Edit Dark Selection", "Draw Bright", "Draw Dark"})
        press(name);
    std::vector<QPointer<QWidget>> windows;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget != dialog && widget->isVisible())
            windows.emplace_back(widget);
    EXPECT_EQ(windows.size(), 8u);

    // One ellipse, rank 1, over the square's centre.
    QWidget* blobs = nullptr;
    for (QWidget* window : windows)
        if (window->windowTitle() == "Bright Blobs")
            blobs = window;
    ASSERT_NE(blobs, nullptr);
    const std::vector<int> ellipse = frame_words(blobs->findChild<qimage_frame*>());
    EXPECT_EQ(ellipse[12 * side + 12], 1);
    EXPECT_EQ(ellipse[0], 0);

    press("Quit");
    vx_gui_test::flush_deferred_deletes();
    EXPECT_TRUE(dialog.isNull());
    EXPECT_TRUE(control.isNull());
    for (const QPointer<QWidget>& window : windows)
        EXPECT_TRUE(window.isNull());
}

TEST_F(MainDialogTest, OneSketchToolPerPolarityTakesTheActiveRegionsAndGivesItsRule)
{
    open(square_on_black());
    query(square_rule);
    press("Draw Bright");
    QWidget* tool = vx_gui_test::top_level_widget("HALLO");
    ASSERT_NE(tool, nullptr);
    EXPECT_EQ(tool->windowTitle(), "Draw Bright Region from Main Dialog");
    auto* frame = tool->findChild<qimage_frame*>("Draw Region Display Image");
    const auto label = [&] { return frame_words(frame)[10 * side + 10] & 0xFFFF; };
    EXPECT_EQ(label(), 257);

    // Again after Clear: the same tool, its sketch replaced.
    press("Clear Bright Query");
    press("Draw Bright");
    int tools = 0;
    for (QWidget* widget : QApplication::topLevelWidgets())
        tools += widget->objectName() == "HALLO";
    EXPECT_EQ(tools, 1);
    EXPECT_EQ(vx_gui_test::top_level_widget("HALLO"), tool);
    EXPECT_NE(label(), 257);

    // Its exported rule is the one the next query runs.
    write(file("sketch.rule"), square_rule);
    emit static_cast<VxDrawRegion*>(tool)->validSketchQueryRule(qfile("sketch.rule"),
                                                                qfile("Attributes.rule"));
    EXPECT_EQ(std::string(control->brightrulesname()), file("sketch.rule"));
    EXPECT_EQ(std::string(control->updaterule()), file("Attributes.rule"));
    query(square_rule);
    EXPECT_EQ(control->activeBrightNodes(), 1);
}

TEST_F(MainDialogTest, ASketchWithTheDefaultTicksFindsRegionsLikeItWhereverTheyAre)
{
    // Three equal squares; the two on the left are sketched.
    open(picture(64, 16, {{4, 4, 6, 6, 200}, {14, 4, 6, 6, 200}, {46, 4, 6, 6, 200}}));
    query("RULES: TD: meangrey > 120 && area < 50 && minx < 30 #RULES\n");
    ASSERT_EQ(control->activeBrightNodes(), 2);
    queryLikeTheSketch("like.sketch.rule");
    std::vector<int> found;
    for (const tregionnode* node : active_nodes(control->opennodelist(), control->onodelistsize()))
        found.push_back(node->minx);
    EXPECT_EQ(found.size(), 3u);
    EXPECT_EQ(std::set<int>(found.begin(), found.end()), std::set<int>({4, 14, 46}));
}

TEST_F(MainDialogTest, ASketchOfTheActiveRegionsExportsAQueryThatFindsThemAgain)
{
    open(picture(48, 32, {{4, 4, 8, 8, 200}, {18, 5, 12, 6, 160}, {32, 14, 10, 13, 220}}));
    query("RULES: TD: meangrey > 120 && area < 200 #RULES\n");
    const std::vector<tregionnode*> selected =
        active_nodes(control->opennodelist(), control->onodelistsize());
    ASSERT_EQ(selected.size(), 3u);
    queryLikeTheSketch("found.sketch.rule");
    EXPECT_EQ(active_nodes(control->opennodelist(), control->onodelistsize()), selected);
}
