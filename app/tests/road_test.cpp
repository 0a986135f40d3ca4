// The program's whole road in one run, as a user takes it: every tool is
// opened from the main window's menus, the scripted dialogs answer for the
// user, and each step checks the files it writes and the windows it opens.
// A screenshot of each main window goes to screenshots/road_<window>.png.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <string>
#include <vector>

#include "analyse/rules/rule_file.h"
#include "analyse/rules/rule_program.h"
#include "gui/analysis/tests/analysis_test_support.h"
#include "gui/analysis/tests/main_dialog_test_support.h"
#include "gui/analysis/vx_analyse_contour_fds.h"
#include "gui/analysis/vx_analyse_scales.h"
#include "gui/foundation/qimage_frame.h"
#include "gui/foundation/thumbnails/vx_image_button.h"
#include "gui/foundation/vx_edit_dialog.h"
#include "gui/repository/tests/labeling_test_support.h"
#include "gui/repository/tests/repository_io_test_support.h"
#include "gui/shell/vx_main_window.h"
#include "testsupport/gui/gui_test.h"
#include "testsupport/stand_in_programs.h"
#include "testsupport/vx_test.h"

using analysis_test::click;
using repository_io_test::q;
using vx_gui_test::dialogs;
using vx_test::lines_of;
using vx_test::printed_by;
using vx_test::read_file;

namespace {

// The visible top-level window whose title is `title`; null when none is.
QWidget* window_titled(const QString& title)
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->isVisible() && widget->windowTitle() == title)
            return widget;
    return nullptr;
}

// The visible top-level window of that class opened last.
template <class Window>
Window* newest()
{
    Window* found = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* window = qobject_cast<Window*>(widget); window != nullptr && window->isVisible())
            found = window;
    return found;
}

// Its screenshot: of its size and not of one colour.
void shoot(QWidget& window, const char* name)
{
    const QImage shot = vx_gui_test::save_screenshot(window, QStringLiteral("road_") + name);
    EXPECT_EQ(shot.size(), window.size()) << name;
    bool varied = false;
    for (int y = 0; y < shot.height() && !varied; ++y)
        for (int x = 0; x < shot.width() && !varied; ++x)
            varied = shot.pixel(x, y) != shot.pixel(0, 0);
    EXPECT_TRUE(varied) << name << " is of one colour";
}

template <class Widget = QLineEdit>
Widget* child(QWidget& window, const char* name)
{
    auto* found = window.findChild<Widget*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

void type(QWidget& window, const char* field, const std::string& text)
{
    child(window, field)->setText(q(text));
}

// A grey picture of side 24 with a bright disc of radius 5 about (cx, cy)
// on a mid grey, and its ground truth: label 1 on the disc, 0 elsewhere.
void write_disc(const std::string& picture, const std::string& truth, int cx, int cy)
{
    QImage grey(24, 24, QImage::Format_Grayscale8);
    QImage labels(24, 24, QImage::Format_Grayscale8);
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 24; ++x) {
            const bool inside = (x - cx) * (x - cx) + (y - cy) * (y - cy) <= 25;
            grey.setPixel(x, y, inside ? qRgb(220, 220, 220) : qRgb(90, 90, 90));
            labels.setPixel(x, y, inside ? qRgb(1, 1, 1) : qRgb(0, 0, 0));
        }
    ASSERT_TRUE(grey.save(q(picture)));
    ASSERT_TRUE(labels.save(q(truth)));
}

class Road : public ::testing::Test {
protected:
    vx_test::TempDir app;
    vx_test::TempDir work;
    const std::filesystem::path previous = std::filesystem::current_path();
    QPointer<vx_main_window> window;
    std::string square = work.file("square.png");

    Road()
    {
        // The analysis writes its trees under names relative to here.
        std::filesystem::current_path(work.path());
        std::filesystem::create_directory(work.file("gt"));
        std::filesystem::create_directory(work.file("labels"));
    }
    ~Road() override
    {
        printed_by([this] {
            delete window;
            // What a user closes after quitting: the windows that live on
            // their own (the classification view, the SOFM trainers).
            for (QWidget* widget : QApplication::topLevelWidgets())
                if (widget->isVisible() && widget->testAttribute(Qt::WA_DeleteOnClose))
                    widget->close();
            vx_gui_test::flush_deferred_deletes();
            vx_gui_test::flush_deferred_deletes();
        });
        std::filesystem::current_path(previous);
    }

    // Triggers the main window's menu entry with this text.
    void menu(const QString& entry)
    {
        for (QAction* action : window->menuBar()->findChildren<QAction*>())
            if (action->text() == entry) {
                printed_by([action] { action->trigger(); });
                return;
            }
        ADD_FAILURE() << "no entry " << entry.toStdString();
    }

    // The window that the entry opens beside those there are; null when
    // none.
    QWidget* opened_by(const QString& entry)
    {
        const QWidgetList before = QApplication::topLevelWidgets();
        menu(entry);
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (!before.contains(widget) && widget->isVisible())
                return widget;
        return nullptr;
    }

    // The first start writes the default update rule.
    void start()
    {
        dialogs().press("Acknowlege");
        window = vx_test::capturing_stdout([this] {
            return new vx_main_window(q(app.path().string()), q(work.path().string()), nullptr,
                                      "Main Apllication Window");
        });
        window->show();
        EXPECT_EQ(read_file(app.file("Attributes.rule")).size(), 157u);
        EXPECT_EQ(child<QLabel>(*window, "Update Rule Label")->text(),
                  q("Global dynamic feature Rule: " + app.file("Attributes.rule")));
        shoot(*window, "main_window");
    }

    // Both trees of the square, the bright one browsed with the Fourier
    // descriptors of the square, the query and the project file.
    void analyseTheSquare()
    {
        ASSERT_TRUE(analysis_test::square_on_black().save(q(square)));
        menu("create RAVAZ");
        QWidget* create = window_titled("Create RAVAZ");
        ASSERT_NE(create, nullptr);
        dialogs().answer(q(square));
        printed_by([&] { click(*create, "Load"); });
        shoot(*create, "create_ravaz");
        printed_by([&] { click(*create, "Start"); });
        vx_gui_test::flush_deferred_deletes();
        EXPECT_EQ(window_titled("Create RAVAZ"), nullptr);
        QWidget* analysis = window_titled(q("Analyse Image " + square));
        ASSERT_NE(analysis, nullptr);
        shoot(*analysis, "analyse_image");

        printed_by([&] { click(*analysis, "Browse Bright"); });
        auto* browser = newest<vx_analyse_scales>();
        ASSERT_NE(browser, nullptr);
        EXPECT_EQ(browser->windowTitle(), "Browse Bright Scales: square.png");
        auto* frame = browser->findChild<qimage_frame*>();
        printed_by([&] { QTest::mouseClick(frame, Qt::LeftButton, {}, QPoint(11, 11)); });
        shoot(*browser, "scale_browser");
        printed_by([&] { click(*browser, "FDS"); });
        auto* fds = newest<vx_analyse_contour_fds>();
        ASSERT_NE(fds, nullptr);
        EXPECT_TRUE(fds->windowTitle().endsWith(q("Image:" + square)));
        shoot(*fds, "contour_fds");

        EXPECT_EQ(query(*analysis), "1 Bright Regions\n0 Dark Regions");
        dialogs().answer(q(work.file("p.vxp")));
        printed_by([&] { click(*analysis, "Write VXP"); });
        const std::vector<std::string> project = lines_of(read_file(work.file("p.vxp")));
        ASSERT_EQ(project.size(), 9u);
        EXPECT_EQ(project[3], "Imagename: square.png");
        for (const char* tree : {"p.bright.tree", "p.dark.tree"})
            EXPECT_EQ(read_file(work.file(tree)).substr(0, 5), "RTHR2") << tree;
    }

    // The square rule applied in the analysis window; the display's count
    // of hits.
    static QString query(QWidget& analysis)
    {
        auto* editor = child<VxEditDialog>(analysis, "Bright Rule Edit");
        editor->findChild<QPlainTextEdit*>()->setPlainText(
            QString::fromStdString(analysis_test::square_rule));
        printed_by([&] { click(analysis, "Apply Query"); });
        return analysis.findChild<qimage_frame*>()->toolTip();
    }

    // An outline filled, a dot of another label; the sketch, its rule and
    // its table.
    void sketchOnTheSquare()
    {
        dialogs().answer(q(square));
        menu("mark Image Regions");
        QWidget* tool = window_titled(q("Sketch: " + square));
        ASSERT_NE(tool, nullptr);
        auto* frame = child<qimage_frame>(*tool, "Draw Region Display Image");
        const auto mouse = [frame](QEvent::Type type, QPoint at, Qt::KeyboardModifiers keys) {
            QMouseEvent event(type, at, frame->mapToGlobal(at), Qt::LeftButton,
                              type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                              keys);
            QApplication::sendEvent(frame, &event);
        };
        mouse(QEvent::MouseButtonPress, {2, 2}, {});
        for (QPoint corner : {QPoint(7, 2), QPoint(7, 6), QPoint(2, 6), QPoint(2, 2)})
            mouse(QEvent::MouseMove, corner, {});
        mouse(QEvent::MouseButtonRelease, {2, 2}, {});
        mouse(QEvent::MouseButtonPress, {4, 4}, Qt::ControlModifier);
        mouse(QEvent::MouseButtonRelease, {4, 4}, Qt::ControlModifier);
        type(*tool, "Label", "2");
        QTest::keyClick(child(*tool, "Label"), Qt::Key_Return);
        mouse(QEvent::MouseButtonPress, {18, 18}, {});
        mouse(QEvent::MouseButtonRelease, {18, 18}, {});
        printed_by([&] { click(*tool, "Attributes"); });
        shoot(*tool, "sketch_tool");

        dialogs().answer(q(work.file("s.sketch.png")));
        printed_by([&] { click(*tool, "Export Sketch"); });
        const QImage sketch(q(work.file("s.sketch.png")));
        EXPECT_EQ(sketch.pixel(4, 4), qRgb(0, 0, 1));
        EXPECT_EQ(sketch.pixel(7, 6), qRgb(0, 0, 1));
        EXPECT_EQ(sketch.pixel(18, 18), qRgb(0, 0, 2));
        EXPECT_EQ(sketch.pixel(10, 10), qRgb(0, 0, 0));

        dialogs().answer(q(work.file("s.sketch.rule")));
        printed_by([&] { click(*tool, "Export Query"); });
        testing::internal::CaptureStdout();
        program* parsed = parse_rule_file(work.file("s.sketch.rule").c_str(), 24);
        const std::string printed = testing::internal::GetCapturedStdout();
        EXPECT_NE(parsed, nullptr) << printed;
        if (parsed != nullptr)
            delete_program(parsed);

        dialogs().answer(q(work.file("s")));
        printed_by([&] { click(*tool, "Export Table"); });
        const std::vector<std::string> table = lines_of(read_file(work.file("s.csv")));
        ASSERT_EQ(table.size(), 3u);
        EXPECT_EQ(table[0].rfind("Classlabel;RegionID;", 0), 0u);
        EXPECT_EQ(table[1].rfind("1;1;", 0), 0u);
        EXPECT_EQ(table[2].rfind("2;2;", 0), 0u);
    }

    // The project again, with the same hits.
    void reloadTheProject()
    {
        dialogs().answer(q(work.file("p.vxp")));
        QWidget* analysis = opened_by("load RAVAZ");
        ASSERT_NE(analysis, nullptr);
        EXPECT_EQ(analysis->windowTitle(), q("Analyse Image " + square));
        EXPECT_EQ(query(*analysis), "1 Bright Regions\n0 Dark Regions");
    }

    std::string vxr = work.file("rep.vxr");
    std::string vxq = work.file("labels.vxq");

    // Two disc pictures with their ground truth; their repository with both
    // trees at three scales.
    void buildTheRepository()
    {
        const std::string images = work.file("images");
        std::filesystem::create_directory(images);
        write_disc(images + "/disc0.png", work.file("gt/disc0.gt.png"), 8, 9);
        write_disc(images + "/disc1.png", work.file("gt/disc1.gt.png"), 14, 13);
        menu("create Repository");
        QWidget* create = window_titled("Create New Repository");
        ASSERT_NE(create, nullptr);
        dialogs().answer(QStringList({q(images + "/disc0.png"), q(images + "/disc1.png")}));
        printed_by([&] { click(*create, "Select List of Source Images"); });
        type(*create, "ResultNameEdit", vxr);
        type(*create, "Scales", "3");
        shoot(*create, "create_repository");
        printed_by([&] { click(*create, "Compute"); });
        const std::string written = read_file(vxr);
        for (const char* image : {"disc0", "disc1"}) {
            const std::string stem = std::string(image) + ".3.";
            EXPECT_NE(written.find(std::string(image) + ".png," + stem + "bright.tree," + stem +
                                   "dark.tree,"),
                      std::string::npos)
                << written;
            EXPECT_EQ(read_file(work.file(stem + "bright.tree")).substr(0, 5), "RTHR2");
        }
    }

    // The repository in its browser with its tables of both trees.
    void browseTheRepository()
    {
        dialogs().answer(q(vxr));
        menu("load Repository");
        QWidget* browser = window_titled(q("Browse Repository: " + vxr));
        ASSERT_NE(browser, nullptr);
        shoot(*browser, "repository_browser");
        dialogs().answer(q(app.file("Attributes.rule")));
        dialogs().answer(q(work.file("discs.csv")));
        printed_by([&] { labeling_test::trigger(*browser, "Repository CSVs"); });
        for (const char* table : {"discs.bright.csv", "discs.dark.csv"}) {
            const std::string rows = read_file(work.file(table));
            EXPECT_NE(rows.find("\ndisc0.png"), std::string::npos) << table;
            EXPECT_NE(rows.find("\ndisc1.png"), std::string::npos) << table;
        }
    }

    // A query of the bright discs over the repository, whose result opens
    // in its browser, and again from the menu.
    void queryTheRepository()
    {
        const std::string results = work.file("results");
        std::filesystem::create_directory(results);
        vx_test::write_file(work.file("disc.rule"), "RULES:\nTD: meangrey > 200\n#RULES\n");
        menu("query Repository");
        QWidget* query = window_titled("Query Repository");
        ASSERT_NE(query, nullptr);
        type(*query, "Repository Filename", vxr);
        type(*query, "Resultfilename", work.file("discs.vxq"));
        type(*query, "Destination Path", results);
        type(*query, "Update Rule", app.file("Attributes.rule"));
        type(*query, "Query Rule", work.file("disc.rule"));
        QTest::keyClick(child(*query, "Query Rule"), Qt::Key_Return);
        shoot(*query, "query_repository");
        dialogs().answer(repository_io_test::choose("PNG"));
        printed_by([&] { click(*query, "Exec Query"); });
        const std::vector<std::string> lines = lines_of(read_file(work.file("discs.vxq")));
        ASSERT_GE(lines.size(), 2u);
        for (int i = 0; i < 2; ++i) {
            const std::string& line = lines[lines.size() - 2 + i];
            const std::string image = results + "/queryresult.disc" + std::to_string(i) + ".png";
            EXPECT_EQ(line.rfind(image + ", 1, 1,", 0), 0u) << line;
            EXPECT_TRUE(std::filesystem::exists(image));
        }
        const QString title = q("Browse Query Result: " + work.file("discs.vxq"));
        EXPECT_NE(window_titled(title), nullptr);

        dialogs().answer(q(work.file("discs.vxq")));
        QWidget* browser = opened_by("load Query Result");
        ASSERT_NE(browser, nullptr);
        EXPECT_EQ(browser->windowTitle(), title);
        shoot(*browser, "query_result_browser");
    }

    // The disc of the first picture labelled as class 1 and the labelling
    // stored; the learner run on it; one class's regions exported.
    void labelADisc()
    {
        menu("label Repository");
        QWidget* setup = window_titled("Init Labeled Repository");
        ASSERT_NE(setup, nullptr);
        dialogs().answer(q(vxr));
        printed_by([&] { click(*setup, "Repository"); });
        // A ".vxr" turns the mode to dark; bright again.
        click(*setup, "Dark Mode");
        type(*setup, "Repository Path", work.file("labels"));
        type(*setup, "Classes", "2");
        shoot(*setup, "init_labeled_repository");
        dialogs().answer([](QDialog& classes) {
            classes.show();
            child<QPushButton>(classes, "Class name Selection Done")->click();
            return classes.result();
        });
        printed_by([&] { click(*setup, "Done"); });
        vx_gui_test::flush_deferred_deletes();
        QWidget* view = window_titled(q("Classification View:" + vxr));
        ASSERT_NE(view, nullptr);
        shoot(*view, "classification_view");

        VxImageButton* first = view->findChildren<VxImageButton*>().value(0);
        ASSERT_NE(first, nullptr);
        printed_by([&] { QTest::mouseClick(first, Qt::LeftButton); });
        QWidget* labelling = window_titled("Classification: disc0.png");
        ASSERT_NE(labelling, nullptr);
        QTest::mouseClick(labelling->findChild<qimage_frame*>(), Qt::RightButton,
                          Qt::ControlModifier, QPoint(8, 9));
        shoot(*labelling, "labelling_view");
        dialogs().press("Acknowlege");
        dialogs().answer(q(vxq));
        printed_by([&] { click(*labelling, "Validate"); });
        const std::vector<std::string> stored = lines_of(read_file(vxq));
        ASSERT_GE(stored.size(), 2u);
        EXPECT_EQ(
            stored[stored.size() - 2].rfind(work.file("labels/labeled.disc0.png.png, 1, 1, "), 0),
            0u)
            << stored[stored.size() - 2];
    }

    // The classification view's exports: the learner's input with the
    // stand-in learner run on it, and the regions of class 1.
    void exportTheLabels()
    {
        QWidget* view = window_titled(q("Classification View:" + vxr));
        ASSERT_NE(view, nullptr);
        const std::string stem = work.file("learn");
        {
            vx_test::stand_in_programs learner;
            dialogs().answer(q(app.file("Attributes.rule")));
            dialogs().answer(q(stem));
            dialogs().press("Done");
            printed_by([&] { labeling_test::trigger(*view, "C4.5 Training"); });
            EXPECT_EQ(read_file(learner.log),
                      "c4.5\n-f\n" + stem + "\nc4.5rules\n-f\n" + stem + "\n");
        }
        EXPECT_EQ(read_file(stem + ".names").rfind("Class 1,Class 2,Irrelevant.", 0), 0u);
        const std::string data = read_file(stem + ".data");
        const size_t labelled = data.find(",Class 1\n");
        EXPECT_TRUE(labelled != std::string::npos && labelled == data.rfind(",Class 1\n"))
            << "one region of class 1 in\n"
            << data;

        dialogs().answer([this](QDialog& exporter) {
            shoot(exporter, "class_export_dialog");
            type(exporter, "ExportFileName", work.file("class1"));
            click(exporter, "Done");
            return exporter.result();
        });
        printed_by([&] { labeling_test::trigger(*view, "Regions By Class"); });
        EXPECT_TRUE(std::filesystem::exists(work.file("class1.disc0.3.bright.tree.png")));
    }

    // Both comparisons with the ground truth.
    void compareWithTheGroundTruth()
    {
        menu("labeled");
        QWidget* labels = window_titled("Compare Labeled Repository to GT");
        ASSERT_NE(labels, nullptr);
        type(*labels, "Labled Repository to Compare", vxq);
        type(*labels, "Path to Ground Truth to Compare", work.file("gt"));
        type(*labels, "Ground Truth Tag", "gt");
        type(*labels, "Comparison Result File", work.file("labels.csv"));
        shoot(*labels, "compare_labeled_repository");
        printed_by([&] { child<QPushButton>(*labels, "Start Comparison")->click(); });

        // The labelled disc is the ground truth's disc.
        EXPECT_EQ(lines_of(read_file(work.file("labels.csv"))).at(1),
                  "disc0.gt.png; 1; 1; 0; 1.000000; 1.000000; 1; 1; 0 ");

        menu("pixelbased");
        QWidget* trees = window_titled("Compare Repository to GT");
        ASSERT_NE(trees, nullptr);
        type(*trees, "Repository to Compare", vxr);
        type(*trees, "Path to Ground Truth to Compare", work.file("gt"));
        type(*trees, "Ground Truth Tag", "gt");
        type(*trees, "Quality", "0.5");
        type(*trees, "Comparison Result File", work.file("trees.csv"));
        shoot(*trees, "compare_repository");
        printed_by([&] { child<QPushButton>(*trees, "Start Comparison")->click(); });
        const std::vector<std::string> rows = lines_of(read_file(work.file("trees.csv")));
        ASSERT_EQ(rows.size(), 3u);
        for (int i = 1; i <= 2; ++i)
            EXPECT_NE(rows[i].find(".gt.png; 1; 1; 1.000000;"), std::string::npos) << rows[i];
    }

    // A map trained on a bright table, saved, and opened again.
    void trainTheMap()
    {
        const std::string table = work.file("discs.bright.csv");
        dialogs().answer(q(table));
        menu("SOFM");
        QWidget* trainer = window_titled(q("SOM for" + table));
        ASSERT_NE(trainer, nullptr);
        type(*trainer, "Width", "3");
        type(*trainer, "Height", "3");
        type(*trainer, "MaxStep", "200");
        printed_by([&] { click(*trainer, "Start"); });
        shoot(*trainer, "sofm_trainer");
        dialogs().answer(q(work.file("map")));
        printed_by([&] { click(*trainer, "Save"); });
        EXPECT_EQ(lines_of(read_file(work.file("map.som"))).at(1), table);

        dialogs().answer(q(work.file("map.som")));
        menu("SOFM");
        QWidget* again = window_titled(q("SOM for" + work.file("map.som")));
        ASSERT_NE(again, nullptr);
        EXPECT_EQ(again->findChild<qimage_frame*>()->ImageWidth(), 3);
    }
};

TEST_F(Road, FromTheFirstStartToQuit)
{
    ASSERT_NO_FATAL_FAILURE(start());
    ASSERT_NO_FATAL_FAILURE(analyseTheSquare());
    ASSERT_NO_FATAL_FAILURE(sketchOnTheSquare());
    ASSERT_NO_FATAL_FAILURE(reloadTheProject());
    ASSERT_NO_FATAL_FAILURE(buildTheRepository());
    ASSERT_NO_FATAL_FAILURE(browseTheRepository());
    ASSERT_NO_FATAL_FAILURE(queryTheRepository());
    ASSERT_NO_FATAL_FAILURE(labelADisc());
    ASSERT_NO_FATAL_FAILURE(exportTheLabels());
    ASSERT_NO_FATAL_FAILURE(compareWithTheGroundTruth());
    ASSERT_NO_FATAL_FAILURE(trainTheMap());

    // Quit asks once, analyses and a labelling being open; then it takes
    // every window the menus opened but the trainers; the classification
    // view, which the set-up dialog opened, lives on with its labelling
    // view, and so does the result browser of the query run.
    dialogs().press("&Yes");
    menu("Quit");
    EXPECT_EQ(dialogs().requests().back().title, "End Corvella");
    printed_by([] {
        vx_gui_test::flush_deferred_deletes();
        vx_gui_test::flush_deferred_deletes();
    });
    EXPECT_TRUE(window.isNull());
    QStringList left;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->isVisible())
            left << widget->windowTitle();
    left.sort();
    EXPECT_EQ(left, QStringList({"Attribute Selection", "Attribute Selection",
                                 q("Browse Query Result: " + work.file("discs.vxq")),
                                 q("Classification View:" + vxr), "Classification: disc0.png",
                                 q("SOM for" + work.file("discs.bright.csv")),
                                 q("SOM for" + work.file("map.som")),
                                 q("Validate: " + work.file("images/disc0.png"))}));
}

}  // namespace
