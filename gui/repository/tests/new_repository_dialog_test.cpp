#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QFileInfo>
#include <QIntValidator>
#include <QProgressBar>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <filesystem>

#include "automation/preprocessing/scale_image_step.h"
#include "automation/repository/repository_lock.h"
#include "gui/foundation/preprocessing/vx_preprocess_selection.h"
#include "gui/foundation/vx_dual_tree_progress.h"
#include "gui/repository/tests/new_repository_test_support.h"
#include "testsupport/full_disk.h"

using namespace new_repository_test;
using vx_gui_test::dialogs;

namespace {

using NewRepositoryForm = DialogTest;
using NewRepositoryCompute = DialogTest;

const char* const trailer =
    "Computation starting at \\d+\\.\\d+\\.\\d+ \\d+:\\d+:\\d+ took 0h 0m \\d+s";
const char* const iso_time = "\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d";

bool matches(const QString& text, const QString& pattern)
{
    return QRegularExpression("^" + pattern + "$").match(text).hasMatch();
}

std::filesystem::file_time_type an_hour_ago()
{
    return std::filesystem::file_time_type::clock::now() - std::chrono::hours(1);
}

}  // namespace

TEST_F(NewRepositoryForm, CarriesItsNamesAndTogglesItsModes)
{
    EXPECT_EQ(dialog->windowTitle(), "Create New Repository");
    EXPECT_EQ(dialog->objectName(), "Create Repository");
    EXPECT_EQ(dialog->size(), QSize(500, 500));
    EXPECT_TRUE(dialog->testAttribute(Qt::WA_DeleteOnClose));
    for (const char* name : {"Select List of Source Images", "Path to Repository File",
                             "Path to Repository", "Recomputation Mode", "Remove Noise Selection"})
        EXPECT_NE(dialog->findChild<QPushButton*>(name), nullptr) << name;
    EXPECT_EQ(dialog->findChild<QPushButton*>("Path to Repository File")->text(),
              "Repository File");
    EXPECT_EQ(dialog->findChild<QPushButton*>("Path to Repository")->text(), "Repository Path");
    EXPECT_EQ(dialog->findChild<VxPreprocessSelection*>("Preprocesssing")->text(), "PreProc");
    EXPECT_NE(dialog->findChild<QLineEdit*>("Processing Label"), nullptr);
    EXPECT_NE(dialog->findChild<VxDualTreeProgress*>("Create Repository Progress"), nullptr);
    EXPECT_TRUE(dialog->findChild<QPlainTextEdit*>("Log Window")->isReadOnly());
    EXPECT_EQ(fileEdit()->text(), "");
    EXPECT_EQ(pathEdit()->text(), "");

    EXPECT_EQ(scalesEdit()->text(), "20");
    const QValidator* validator = scalesEdit()->validator();
    QString one = "1", two = "2";
    int at = 0;
    EXPECT_NE(validator->validate(one, at), QValidator::Acceptable);
    EXPECT_EQ(validator->validate(two, at), QValidator::Acceptable);

    QPushButton* mode = button("Remove Noise Selection");
    mode->click();
    EXPECT_EQ(mode->text(), "No Denoising");
    mode->click();
    EXPECT_EQ(mode->text(), "Remove Noise");
    QPushButton* overwrite = button("Recomputation Mode");
    EXPECT_EQ(overwrite->text(), "No Recomputation");
    overwrite->click();
    EXPECT_EQ(overwrite->text(), "Recomputation");
    overwrite->click();
    EXPECT_EQ(overwrite->text(), "No Recomputation");
}

TEST_F(NewRepositoryForm, ThePathFollowsTheRepositoryFileUntilItIsSetOtherwise)
{
    // Typed letter by letter: the path is the file's folder, never "/".
    QTest::keyClicks(fileEdit(), "/data/rep.vxr");
    EXPECT_EQ(pathEdit()->text(), "/data/");
    fileEdit()->setText("rep.vxr");
    EXPECT_EQ(pathEdit()->text(), "./");

    pathEdit()->setText("/trees");
    fileEdit()->setText("/data/other.vxr");
    EXPECT_EQ(pathEdit()->text(), "/trees");

    dialogs().answer("/data/chosen");
    dialogs().answer("/data/named.vxr");
    dialogs().answer(QString());
    dialogs().answer("/elsewhere");
    click("Path to Repository File");
    EXPECT_EQ(fileEdit()->text(), "/data/chosen.vxr");
    click("Path to Repository File");
    EXPECT_EQ(fileEdit()->text(), "/data/named.vxr");
    click("Path to Repository File");
    EXPECT_EQ(fileEdit()->text(), "/data/named.vxr");
    click("Path to Repository");
    EXPECT_EQ(pathEdit()->text(), "/elsewhere");

    ASSERT_EQ(dialogs().requests().size(), 4u);
    const VxDialogRequest& save = dialogs().requests()[1];
    EXPECT_EQ(save.kind, VxDialogRequest::SaveFile);
    EXPECT_EQ(save.objectName, "Result file dialog");
    EXPECT_EQ(save.caption, "Set Repository File");
    EXPECT_EQ(save.startPath, "/data/chosen.vxr");
    EXPECT_EQ(save.filter, "(Repository) *.vxr");
    const VxDialogRequest& folder = dialogs().requests()[3];
    EXPECT_EQ(folder.kind, VxDialogRequest::Directory);
    EXPECT_EQ(folder.objectName, "Result file dialog");
    EXPECT_EQ(folder.startPath, "/trees");
}

TEST_F(NewRepositoryForm, ANewChoiceOfImagesReplacesTheListAndTheUpdateRuleIsKept)
{
    dialogs().answer(QStringList({"/pictures/a.png", "/pictures/b.png"}));
    dialogs().answer(QStringList());
    dialogs().answer(QStringList({"/other/c.png"}));
    const std::string printed = vx_test::printed_by([this] {
        click("Select List of Source Images");
        click("Select List of Source Images");
        click("Select List of Source Images");
    });
    EXPECT_EQ(printed.rfind("Known Formats *.", 0), 0u) << printed;
    EXPECT_EQ(log(), "Processing Files\na.png\nb.png\nProcessing Files\nc.png");
    ASSERT_EQ(dialogs().requests().size(), 3u);
    const VxDialogRequest& first = dialogs().requests()[0];
    EXPECT_EQ(first.kind, VxDialogRequest::OpenFiles);
    EXPECT_TRUE(first.imagePreview);
    EXPECT_EQ(first.startPath, "");
    EXPECT_TRUE(matches(first.filter, "Images \\(\\*\\.\\w+( \\*\\.\\w+)* \\*\\.\\w+.*\\)"))
        << first.filter.toStdString();
    EXPECT_TRUE(first.filter.contains("*.png"));
    EXPECT_EQ(dialogs().requests()[1].startPath, "/pictures/");
    EXPECT_EQ(dialogs().requests()[2].startPath, "/pictures/");

    dialogs().answer("/rules/update.rule");
    dialogs().answer(QString());
    QMetaObject::invokeMethod(dialog, "set_updaterule_path_dialog");
    QMetaObject::invokeMethod(dialog, "set_updaterule_path_dialog");
    const VxDialogRequest& rule = dialogs().requests()[3];
    EXPECT_EQ(rule.objectName, "Update rule file dialog");
    EXPECT_EQ(rule.caption, "Set Update rule");
    EXPECT_EQ(rule.filter, "(Query) *.rule");
    EXPECT_EQ(dialogs().requests()[4].startPath, "/rules/update.rule");
}

TEST_F(NewRepositoryForm, AChoiceOfTwoImagesOfOneStemIsRefusedNamingBoth)
{
    dialogs().answer(QStringList({"/pictures/c.png"}));
    dialogs().answer(QStringList({"/pictures/a.png", "/pictures/b.png", "/pictures/a.pgm"}));
    dialogs().press("Acknowlege");
    vx_test::printed_by([this] {
        click("Select List of Source Images");
        click("Select List of Source Images");
    });
    ASSERT_EQ(dialogs().requests().size(), 3u);
    const VxDialogRequest& popUp = dialogs().requests().back();
    EXPECT_EQ(popUp.title, "Images sharing tree files");
    EXPECT_EQ(popUp.labels.value(1),
              "/pictures/a.png\nand\n/pictures/a.pgm\n"
              "would get the same tree files: choose one of them");
    EXPECT_EQ(log(), "Processing Files\nc.png");
}

TEST_F(NewRepositoryCompute, WritesTheTreesAndTheRepositoryFileAndKeepsOrRenewsTrees)
{
    chooseTwoPictures(3);
    const std::string printed = compute();
    EXPECT_NE(printed.find("DIALOG VxRepository Target Directory " + dir.path().string() + "/\n"),
              std::string::npos);
    const std::vector<std::string> lines = vx_test::lines_of(vx_test::read_file(tree("rep.vxr")));
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(lines[0], "Number of Images: 2");
    EXPECT_EQ(lines[1], "Generation Mode: 3");
    EXPECT_EQ(lines[2], "Repository Path:");
    EXPECT_EQ(lines[3], dir.path().string() + "/");
    EXPECT_EQ(lines[4], "Images Path:");
    EXPECT_EQ(lines[5], images() + "/");
    EXPECT_EQ(lines[6], "a.png,a.3.bright.tree,a.3.dark.tree,");
    EXPECT_EQ(lines[7], "b.png,b.3.bright.tree,b.3.dark.tree,");
    EXPECT_TRUE(matches(q(lines[8]), trailer)) << lines[8];

    // The log in order, the bar at the last image.
    const QStringList entries = log().split('\n');
    ASSERT_EQ(entries.size(), 14) << log().toStdString();
    EXPECT_EQ(entries.mid(0, 4), QStringList({"Processing Files", "a.png", "b.png",
                                              "Processing 2 Files with 3 Scales"}));
    EXPECT_TRUE(matches(entries[4], QString("Start at ") + iso_time));
    EXPECT_EQ(entries[6], "Processing 1/2");
    EXPECT_TRUE(matches(entries[7], "Took \\d+ seconds"));
    EXPECT_EQ(entries[9], "Processing 2/2");
    EXPECT_TRUE(matches(entries[12], QString("Terminates at ") + iso_time));
    auto* bar = dialog->findChildren<QProgressBar*>().last();
    EXPECT_EQ(bar->maximum(), 2);
    EXPECT_EQ(bar->value(), 2);

    // A rerun keeps the trees; "Recomputation" writes them anew.
    const char* const trees[] = {"a.3.bright.tree", "a.3.dark.tree", "b.3.bright.tree",
                                 "b.3.dark.tree"};
    const auto past = an_hour_ago();
    for (const char* name : trees)
        std::filesystem::last_write_time(tree(name), past);
    const std::string rerun = compute();
    EXPECT_NE(rerun.find("File exists: " + dir.path().string() + "//a.3.bright.tree\n"),
              std::string::npos)
        << rerun;
    EXPECT_NE(rerun.find("File exists:  " + dir.path().string() + "//b.3.dark.tree\n"),
              std::string::npos);
    for (const char* name : trees)
        EXPECT_EQ(std::filesystem::last_write_time(tree(name)), past) << name;
    click("Recomputation Mode");
    compute();
    for (const char* name : trees)
        EXPECT_GT(std::filesystem::last_write_time(tree(name)), past) << name;

    // "No Denoising": mode 0 and its own names.
    click("Remove Noise Selection");
    compute();
    const std::string denoised = vx_test::read_file(tree("rep.vxr"));
    EXPECT_NE(denoised.find("Generation Mode: 0\n"), std::string::npos);
    EXPECT_NE(denoised.find("b.png,b.3.bright.nr.tree,b.3.dark.nr.tree,\n"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(tree("a.3.dark.nr.tree")));
}

TEST_F(NewRepositoryCompute, RefusesScalesBelowTwoAndTargetsThatCannotBeWritten)
{
    chooseTwoPictures(3);
    fileEdit()->clear();
    compute();  // no repository file: nothing at all
    EXPECT_EQ(dialogs().requests().size(), 1u);

    fileEdit()->setText(q(dir.file("rep.vxr")));
    for (const char* scales : {"", "0", "1"}) {
        scalesEdit()->setText(scales);
        dialogs().press("Acknowlege");
        compute();
        EXPECT_EQ(dialogs().requests().back().title, "Invalid number of scales") << scales;
    }
    scalesEdit()->setText("3");
    pathEdit()->setText(q(dir.file("missing")));
    dialogs().press("Acknowlege");
    compute();
    EXPECT_EQ(dialogs().requests().back().labels.value(1),
              q("Unable to write tree files into\n" + dir.file("missing")));
    pathEdit()->setText(q(dir.path().string()));
    fileEdit()->setText(q(dir.file("missing/rep.vxr")));
    dialogs().press("Acknowlege");
    compute();
    EXPECT_EQ(dialogs().requests().back().title, "!!Write Error!!");
    EXPECT_FALSE(std::filesystem::exists(tree("rep.vxr")));
    EXPECT_FALSE(std::filesystem::exists(tree("a.3.bright.tree")));
    EXPECT_TRUE(log().endsWith("b.png")) << "nothing was logged";
}

TEST_F(NewRepositoryCompute, ATreeFileThatCannotBeWrittenStopsTheRunWithOnePopUp)
{
    chooseTwoPictures(3);
    click("Recomputation Mode");
    // A folder where a.png's bright tree goes: the file cannot replace it.
    const std::string blocked = dir.path().string() + "//a.3.bright.tree";
    std::filesystem::create_directory(blocked);
    dialogs().press("Acknowlege");
    compute();
    ASSERT_EQ(dialogs().requests().size(), 2u);
    const VxDialogRequest& popUp = dialogs().requests().back();
    EXPECT_EQ(popUp.title, "!!Write Error!!");
    EXPECT_EQ(popUp.labels.value(1),
              q("Unable to write tree file\n" + blocked + "\nIs a directory"));
    EXPECT_TRUE(log().contains(q("Tree file " + blocked + " not written: Is a directory")));
    EXPECT_TRUE(log().contains("Stopped after 1 of 2 images"));
    const std::string repository = vx_test::read_file(tree("rep.vxr"));
    EXPECT_NE(repository.find("\na.png,-,a.3.dark.tree,\nb.png,-,-\n"), std::string::npos)
        << repository;
    EXPECT_TRUE(button("Compute")->isEnabled());
}

TEST_F(NewRepositoryCompute, AFullDiskStopsTheRunAndNamesTheTreeAndTheRepositoryFile)
{
    const vx_test::SmallDisk disk;
    if (!disk.mounted())
        GTEST_SKIP() << "no tmpfs can be mounted here";
    chooseTwoPictures(3);
    fileEdit()->setText(q(disk.file("rep.vxr")));
    disk.fill();
    dialogs().press("Acknowlege");
    compute();
    ASSERT_EQ(dialogs().requests().size(), 2u);
    const QString text = dialogs().requests().back().labels.value(1);
    EXPECT_TRUE(text.startsWith("Unable to write tree file\n" + q(disk.file(""))))
        << text.toStdString();
    EXPECT_TRUE(text.endsWith("No space left on device\n\nUnable to write file\n" +
                              q(disk.file("rep.vxr"))))
        << text.toStdString();
    EXPECT_FALSE(std::filesystem::exists(disk.file("rep.vxr")));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(disk.file("")), {}), 1)
        << "neither trees nor temporary files";
}

TEST_F(NewRepositoryCompute, ACancelDuringTheRunDeletesTheDialogOnlyAfterIt)
{
    chooseTwoPictures(3);
    QPointer<vx_new_repository_dialog> running = dialog;
    bool aliveDuringRun = false;
    bool formDisabled = false;
    QTimer::singleShot(0, [&] {
        formDisabled = !button("Compute")->isEnabled() && !fileEdit()->isEnabled();
        click("Cancel");  // stops the run after the image in progress
        running->destroyDialog();
        EXPECT_FALSE(running->close());
        QMetaObject::invokeMethod(running, "computeRepository");
        vx_gui_test::flush_deferred_deletes();
        aliveDuringRun = !running.isNull();
    });
    const std::string printed = compute();
    EXPECT_TRUE(formDisabled);
    EXPECT_TRUE(aliveDuringRun);
    ASSERT_FALSE(running.isNull());
    EXPECT_TRUE(button("Compute")->isEnabled());
    EXPECT_EQ(log().count("Processing 2 Files"), 1) << "the second Compute was ignored";
    vx_gui_test::flush_deferred_deletes();
    EXPECT_TRUE(running.isNull());
}

// Input as the window system delivers it, at a widget's centre.
void click_through_window(QWidget* widget)
{
    QTest::mouseClick(widget->window()->windowHandle(), Qt::LeftButton, {},
                      widget->mapTo(widget->window(), widget->rect().center()));
}

// Shown windows: Qt's offscreen platform warns of the size hints it cannot
// pass on, so this test stays out of the run with fatal warnings.
using NewRepositoryBusy = DialogTest;

TEST_F(NewRepositoryBusy, WhileBusyItIsModalAndClicksAndKeysComeToNothing)
{
    chooseTwoPictures(3);
    QPushButton other(QStringLiteral("Other Window"));
    int otherClicks = 0;
    QObject::connect(&other, &QPushButton::clicked, [&] { ++otherClicks; });
    for (QWidget* window : {static_cast<QWidget*>(dialog.data()), static_cast<QWidget*>(&other)}) {
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    }
    const QRect placed = dialog->geometry();
    bool modal = false;
    QTimer::singleShot(0, [&] {
        modal = QApplication::activeModalWidget() == dialog && !scalesEdit()->isEnabled() &&
                button("Cancel")->isEnabled();
        click_through_window(button("Compute"));
        click_through_window(scalesEdit());
        QTest::keyClick(dialog->windowHandle(), '7');
        click_through_window(&other);
    });
    compute();
    EXPECT_TRUE(modal);
    EXPECT_EQ(otherClicks, 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(log().count("Processing 2 Files"), 1);
    EXPECT_EQ(scalesEdit()->text(), "3");
    EXPECT_EQ(dialog->geometry(), placed);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    click_through_window(&other);
    EXPECT_EQ(otherClicks, 1);
}

TEST_F(NewRepositoryCompute, CancelStopsAfterTheImageInProgressAndComputeGoesOnFromThere)
{
    chooseTwoPictures(3);
    QTimer::singleShot(0, [&] { click("Cancel"); });
    compute();
    ASSERT_FALSE(dialog.isNull());
    vx_gui_test::flush_deferred_deletes();
    ASSERT_FALSE(dialog.isNull()) << "Cancel during the run keeps the dialog";
    EXPECT_TRUE(log().contains("Stopped after 1 of 2 images")) << log().toStdString();
    EXPECT_NE(vx_test::read_file(tree("rep.vxr"))
                  .find("\na.png,a.3.bright.tree,a.3.dark.tree,\nb.png,-,-\n"),
              std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(tree("b.3.bright.tree")));
    EXPECT_TRUE(button("Cancel")->isEnabled());

    const std::string again = compute();
    EXPECT_NE(again.find("File exists: " + dir.path().string() + "//a.3.bright.tree\n"),
              std::string::npos);
    EXPECT_NE(vx_test::read_file(tree("rep.vxr")).find("\nb.png,b.3.bright.tree,b.3.dark.tree,\n"),
              std::string::npos);

    // Closing the window asks the same, and the dialog goes after the run.
    click("Recomputation Mode");
    QTimer::singleShot(0, [&] { EXPECT_FALSE(dialog->close()); });
    compute();
    EXPECT_EQ(log().count("Stopped after 1 of 2 images"), 2);
    vx_gui_test::flush_deferred_deletes();
    EXPECT_TRUE(dialog.isNull());
}

TEST_F(NewRepositoryCompute, ACancelledRunListsTheTreesOfTheImagesItDidNotReach)
{
    chooseTwoPictures(3);
    compute();
    QTimer::singleShot(0, [&] { click("Cancel"); });
    compute();
    EXPECT_TRUE(log().contains("Stopped after 1 of 2 images"));
    EXPECT_NE(vx_test::read_file(tree("rep.vxr"))
                  .find("\na.png,a.3.bright.tree,a.3.dark.tree,\nb.png,b.3.bright.tree,"
                        "b.3.dark.tree,\n"),
              std::string::npos);
}

TEST_F(NewRepositoryCompute, ARepositoryFileThatAnotherRunHoldsIsRefusedNamingItsProcess)
{
    chooseTwoPictures(3);
    const std::string file = tree("rep.vxr");
    {
        const repository_lock otherProgram(file);
        dialogs().press("Acknowlege");
        compute();
        ASSERT_EQ(dialogs().requests().size(), 2u);
        const VxDialogRequest& popUp = dialogs().requests().back();
        EXPECT_EQ(popUp.title, "Repository in use");
        EXPECT_EQ(popUp.labels.value(1),
                  QStringLiteral("%1\nis being computed by process %2 (%3): nothing computed")
                      .arg(q(file))
                      .arg(getpid())
                      .arg(QFileInfo(QCoreApplication::applicationFilePath()).fileName()));
        EXPECT_FALSE(std::filesystem::exists(tree("a.3.bright.tree")));
        EXPECT_FALSE(std::filesystem::exists(file));
    }
    long holderDuringRun = 0;
    QTimer::singleShot(0, [&] { holderDuringRun = repository_lock(file).holder(); });
    EXPECT_NE(compute().find("Could not lock " + file + ": process "), std::string::npos);
    EXPECT_EQ(holderDuringRun, getpid());
    EXPECT_TRUE(std::filesystem::exists(file));
    EXPECT_FALSE(std::filesystem::exists(file + ".lock"));
}

TEST_F(NewRepositoryCompute, PreprocessedImagesTakeTheTagIntoTheirNames)
{
    chooseTwoPictures(2);
    auto* selection = dialog->findChild<VxPreprocessSelection*>("Preprocesssing");
    scaleImage half(0.5);
    emit selection->Function(half);
    EXPECT_TRUE(log().endsWith("Adding Function: " + QString::fromLatin1(half.FunctionName()) +
                               "\nParameters: " + QString::fromLatin1(half.FunctionParameter())));
    dialog->findChild<QLineEdit*>("Processing Label")->setText("half");
    compute();
    const std::string repository = vx_test::read_file(tree("rep.vxr"));
    EXPECT_NE(repository.find("a.half.png,a.half.2.bright.tree,a.half.2.dark.tree,\n"),
              std::string::npos)
        << repository;
    EXPECT_EQ(QImage(q(images() + "/b.half.png")).size(), QSize(12, 12));

    selection->clearPreProc();
    EXPECT_TRUE(log().endsWith("IP Pipeline Reseted"));
    compute();
    EXPECT_NE(vx_test::read_file(tree("rep.vxr")).find("\na.png,a.2.bright.tree"),
              std::string::npos);
}
