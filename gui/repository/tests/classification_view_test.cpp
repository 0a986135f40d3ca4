#include <gtest/gtest.h>

#include <QDialog>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "analyse/files/treeio.h"
#include "analyse/handles.h"
#include "analyse/trees/regiontree.h"
#include "gui/foundation/open_work.h"
#include "gui/foundation/qimage_frame.h"
#include "gui/foundation/thumbnails/vx_display_image_list.h"
#include "gui/repository/qtvx_repository.h"
#include "gui/repository/tests/labeling_test_support.h"
#include "imagecore/palette.h"
#include "testsupport/stand_in_programs.h"

using namespace labeling_test;
using vx_gui_test::dialogs;
using vx_test::printed_by;
using vx_test::read_file;

namespace {

QStringList radio_texts(QWidget* view)
{
    QStringList texts;
    for (QRadioButton* radio :
         view->findChild<QGroupBox*>("Classes")->findChildren<QRadioButton*>())
        texts << radio->text();
    return texts;
}

// The ".vxq" line of image i.
std::string record(const std::string& vxq, int i)
{
    const std::vector<std::string> lines = vx_test::lines_of(read_file(vxq));
    return lines.size() >= 2 ? lines[lines.size() - 2 + static_cast<size_t>(i)] : "";
}

}  // namespace

TEST_F(ViewTest, ShowsItsMenusAndBlocksTheClassesOfTheOtherMode)
{
    EXPECT_EQ(view->windowTitle(), "Classification View:" + q(l.vxr));
    EXPECT_TRUE(vx_work_open()) << "the labelling";
    QStringList entries;
    for (QAction* action : view->findChild<QMenu*>("Exports")->actions())
        entries << action->text() + " " + action->shortcut().toString();
    EXPECT_EQ(entries,
              QStringList({"Classification Ctrl+W", "Regions Table Ctrl+T", "RUREVUdU Data Ctrl+H",
                           "C4.5 Training Ctrl+A", "Regions By Class Ctrl+X",
                           "All Regions Ctrl+Shift+X", "ISOSurface Volume Ctrl+S"}));

    QPointer<VxSelectRegionsFromTree> bright = open(0);
    ASSERT_NE(bright, nullptr);
    EXPECT_EQ(radio_texts(bright), QStringList({"Class 1", "BlockedMode"}));
    auto* hint = bright->findChild<QLabel*>("Frame Hint");
    ASSERT_NE(hint, nullptr);
    EXPECT_EQ(hint->text(), "Ctrl + right click adds a region to the checked class");
    const std::string out = printed_by([&] { bright->findChildren<QRadioButton*>()[1]->click(); });
    EXPECT_EQ(out, "Class 2\n");
    EXPECT_EQ(bright->activeClass(), 1);
    EXPECT_TRUE(bright->findChildren<QRadioButton*>()[0]->isChecked());

    trigger(*view, "Dark Mode");
    VxSelectRegionsFromTree* dark = open(0);
    EXPECT_TRUE(bright.isNull()) << "a second view of the image replaces the first";
    EXPECT_EQ(radio_texts(dark), QStringList({"BlockedMode", "Class 2"}));
    EXPECT_EQ(dark->activeClass(), 2);
    EXPECT_EQ(dark->findChild<QLineEdit*>("Class Display and Edit")->text(), "Class 2");
}

TEST_F(ViewTest, ValidationsStoreTheSelectedRegionsByImageAndSaveThem)
{
    VxSelectRegionsFromTree* v = open(0);
    const std::string vxq = l.d.dir.file("r.Classified.vxq");
    dialogs().press("Acknowlege");
    dialogs().answer(q(vxq));
    printed_by([&] { click(*v, "Validate"); });
    ASSERT_EQ(dialogs().requests().size(), 2u);
    EXPECT_EQ(dialogs().requests()[0].title, "For Your Own Good!");
    EXPECT_EQ(dialogs().requests()[1].startPath, q(vxq));
    const std::string labelImage = l.labels + "/labeled.img0.pgm.png";
    EXPECT_EQ(record(vxq, 0), labelImage + ", 1, 0, 2, 0, ");
    EXPECT_TRUE(thumbnail(0)->toolTip().endsWith("Classified with 0 Regions"));

    // Ctrl+right-click on the bright blob at (5, 6); the ".vxq" is now saved
    // without asking.
    QTest::mouseClick(v->findChild<qimage_frame*>(), Qt::RightButton, Qt::ControlModifier,
                      QPoint(5, 6));
    dialogs().clear();
    const std::string out = printed_by([&] { click(*v, "Validate"); });
    EXPECT_TRUE(dialogs().requests().empty());
    const size_t at = out.find("Classified Bright Region ");
    ASSERT_NE(at, std::string::npos) << out;
    const int id = std::atoi(out.c_str() + at + 25);
    EXPECT_EQ(record(vxq, 0), labelImage + ", 1, 1, " + std::to_string(id) + ", 2, 0, ");

    // That region holds the pixel, and only its pixels have the class colour.
    QTVxRepository repository(l.vxr.c_str());
    region_tree_handle tree(load_elemset_region_tree(repository.BrightTreeFilename(0)));
    rtInitNodelist(tree.get());
    ASSERT_TRUE(id > 0 && id <= tree->regions);
    const tregionnode* region = tree->nodes[id];
    ASSERT_NE(region, nullptr);
    int* palette = initGreyColorScrambledPalette(3 + 256);
    const QRgb colour = labeled_test::shown(palette[256]);
    std::free(palette);
    const QImage label(q(labelImage));
    EXPECT_EQ(label.pixel(5, 6), colour);
    int coloured = 0;
    for (int y = 0; y < label.height(); ++y)
        for (int x = 0; x < label.width(); ++x) {
            const QRgb pixel = label.pixel(x, y);
            coloured += pixel == colour;
            EXPECT_TRUE(pixel == colour ||
                        (qRed(pixel) == qGreen(pixel) && qGreen(pixel) == qBlue(pixel)));
        }
    EXPECT_EQ(coloured, region->size);
    EXPECT_TRUE(thumbnail(0)->toolTip().endsWith("Classified with 1 Regions"));

    // After paging, button 0 shows image 1: the labels of image 0 (none now,
    // the view was cleared) are stored all the same, the button keeps its
    // image.
    view->findChild<VxDisplayImageList*>()->showImageListWindow(1);
    printed_by([&] { click(*v, "Validate"); });
    EXPECT_EQ(record(vxq, 0), labelImage + ", 1, 0, 2, 0, ");
    EXPECT_EQ(thumbnail(0)->getImageIndex(), 1);
    EXPECT_FALSE(thumbnail(0)->toolTip().contains("Classified"));
    // Paging back shows that validation's label image and count.
    view->findChild<VxDisplayImageList*>()->showImageListWindow(0);
    EXPECT_TRUE(thumbnail(0)->toolTip().startsWith(q(labelImage)));
    EXPECT_TRUE(thumbnail(0)->toolTip().endsWith("Classified with 0 Regions"));
}

TEST_F(ViewTest, AViewClosedWhileTheSaveIsAskedForIsLeftAlone)
{
    QPointer<VxSelectRegionsFromTree> v = open(0);
    dialogs().answer([&](QDialog& hint) {
        delete v.data();
        hint.reject();
        return hint.result();
    });
    dialogs().answer(QString());
    printed_by([&] { click(*v, "Validate"); });
    EXPECT_TRUE(v.isNull());
    EXPECT_TRUE(thumbnail(0)->toolTip().endsWith("Classified with 0 Regions"));
}

TEST_F(ViewTest, ARenamedClassReachesTheOtherViewsAndTheFile)
{
    VxSelectRegionsFromTree* first = open(0);
    VxSelectRegionsFromTree* second = open(1);
    auto* edit = first->findChild<QLineEdit*>("Class Display and Edit");
    edit->setText("Cells of a longer name than before");
    const std::string out = printed_by([&] { QTest::keyClick(edit, Qt::Key_Return); });
    EXPECT_NE(out.find("Changing Class Class 1 to Class Cells of a longer name than before"),
              std::string::npos);
    EXPECT_EQ(radio_texts(first)[0], "Cells of a longer name than before");

    printed_by([&] { second->findChildren<QRadioButton*>()[0]->click(); });
    EXPECT_EQ(second->findChild<QLineEdit*>("Class Display and Edit")->text(),
              "Cells of a longer name than before");
    const std::string vxq = l.d.dir.file("named.vxq");
    dialogs().answer(q(vxq));
    trigger(*view, "Classification");
    EXPECT_NE(read_file(vxq).find("\nCells of a longer name than before, Mode 1\n"),
              std::string::npos);

    // A file that cannot be written is reported.
    dialogs().answer(q(l.d.dir.file("no/such.vxq")));
    dialogs().press("Acknowlege");
    printed_by([&] { trigger(*view, "Classification"); });
    EXPECT_EQ(dialogs().requests().back().title, "!!Write Error!!");
}

TEST_F(ViewTest, TheRegionsTableGoesUnderTheChosenNameAndAFailedOneIsReported)
{
    const std::string table = l.d.dir.file("regions.csv");
    dialogs().answer(q(rule));
    dialogs().answer(q(table));
    printed_by([&] { trigger(*view, "Regions Table"); });
    EXPECT_EQ(dialogs().requests().back().startPath, q(l.d.dir.file("r.Classified.csv")));
    EXPECT_EQ(read_file(table).rfind("RegionID, Imagename, Classname,", 0), 0u);

    dialogs().answer(q(rule));
    dialogs().answer(q(l.d.dir.file("no/such.csv")));
    dialogs().press("Acknowlege");
    trigger(*view, "Regions Table");
    EXPECT_EQ(dialogs().requests().back().title, "!!Write Error!!");
}

TEST_F(ViewTest, C45TrainingRunsTheLearnerOnTheStemAsOneArgument)
{
    vx_test::stand_in_programs programs;
    const std::string stem = l.d.dir.file("my stem");
    dialogs().answer(q(rule));
    dialogs().answer(q(stem));
    dialogs().press("Done");
    const std::string out = printed_by([&] { trigger(*view, "C4.5 Training"); });
    EXPECT_EQ(read_file(stem + ".names").rfind("Class 1,Irrelevant.", 0), 0u);
    EXPECT_EQ(read_file(programs.log), "c4.5\n-f\n" + stem + "\nc4.5rules\n-f\n" + stem + "\n");
    EXPECT_NE(out.find("Calling c4.5 -f " + stem), std::string::npos);
}

TEST_F(ViewTest, RurevuduDataWithAnEmptyFieldAreRefused)
{
    const std::string list = l.d.dir.file("train.hclst");
    dialogs().answer([&](QDialog& dialog) {
        dialog.findChild<QLineEdit*>("ImageFileListName")->setText(q(list));
        dialog.findChild<QLineEdit*>("TrainingPath")->setText(q(l.labels));
        dialog.findChild<QPushButton*>("WriteTree.csv")->click();
        dialog.reject();
        return dialog.result();
    });
    dialogs().press("Acknowlege");
    trigger(*view, "RUREVUdU Data");
    EXPECT_EQ(dialogs().requests().back().title, "RUREVUDU Data");
    EXPECT_FALSE(std::filesystem::exists(list));
}

TEST_F(ViewTest, AnImageWithoutItsTreeFileOpensNoView)
{
    QTVxRepository repository(l.vxr.c_str());
    std::filesystem::remove(repository.BrightTreeFilename(1));
    dialogs().press("Acknowlege");
    EXPECT_EQ(open(1), nullptr);
    EXPECT_EQ(dialogs().requests().at(0).title, "Could not open the image for labelling");
}
