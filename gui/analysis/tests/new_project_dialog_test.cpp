#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <cstdio>

#include "automation/preprocessing/scale_image_step.h"
#include "gui/analysis/tests/analysis_test_support.h"
#include "gui/analysis/vx_new_project_dialog.h"
#include "gui/foundation/preprocessing/vx_preprocess_selection.h"
#include "gui/foundation/vx_base_paths.h"
#include "gui/foundation/vx_dual_tree_progress.h"
#include "testsupport/gui/gui_test.h"
#include "testsupport/memory_limit.h"

using namespace analysis_test;
using vx_gui_test::dialogs;

namespace {

int count(const std::string& text, const std::string& part)
{
    int n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

class NewProjectDialogTest : public AnalysisTest {
protected:
    NewProjectDialogTest()
    {
        const QString here = QString::fromStdString(dir.path().string());
        // The main window makes sure the update rule exists.
        write(file("Attributes.rule"), "DECLS:\n areafraction := area / sons;\n#DECLS\n");
        shared = std::make_unique<VxBasePaths>(here, here + "/Attributes.rule", QString(), here,
                                               here, nullptr, "Global Base Paths", 0);
        control = new vx_analyse_control("vx_analyse_control for new_project_dialog", 3, nullptr);
        dialog = new vx_new_project_dialog(shared.get(), control, nullptr, "New Project", 0);
        dialog->show();
    }
    ~NewProjectDialogTest() override
    {
        delete dialog;
        delete control;
    }

    template <class Widget = QPushButton>
    Widget* child(const char* name) const
    {
        auto* found = dialog->findChild<Widget*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    void click(const char* name) const { QTest::mouseClick(child(name), Qt::LeftButton); }

    // "Load" with the file chosen (empty: Cancel); what it printed.
    std::string load(const std::string& file)
    {
        dialogs().answer(QString::fromStdString(file));
        return vx_test::printed_by([&] { click("Infiledialog"); });
    }
    // Start refused with the pop-up's message.
    QString refusal()
    {
        QSignalSpy done(dialog.data(), &vx_new_project_dialog::computationDone);
        dialogs().clear();
        dialogs().press("Acknowlege");
        vx_test::printed_by([&] { click("Start"); });
        EXPECT_EQ(done.count(), 0);
        EXPECT_EQ(control->openingtree(), nullptr);
        EXPECT_EQ(dialogs().requests().size(), 1u);
        if (dialogs().requests().empty())
            return QString();
        EXPECT_EQ(dialogs().requests()[0].title, "Computation not started");
        return dialogs().requests()[0].labels.value(1);
    }

    std::unique_ptr<VxBasePaths> shared;
    QPointer<vx_analyse_control> control;
    QPointer<vx_new_project_dialog> dialog;
};

}  // namespace

TEST_F(NewProjectDialogTest, TheFormFollowsTheControllerAndTogglesItsMode)
{
    EXPECT_EQ(dialog->windowTitle(), "Create RAVAZ");
    EXPECT_TRUE(dialog->testAttribute(Qt::WA_DeleteOnClose));
    EXPECT_TRUE(child("Start")->isDefault());
    EXPECT_EQ(child<QLineEdit>("Resultnameedit")->text(), "Unknown.png");
    EXPECT_EQ(child<QLineEdit>("Save")->text(), "Unknown.png");
    EXPECT_EQ(child<QLineEdit>("Scales")->text(), "2");
    EXPECT_EQ(child<QLineEdit>("Scales")->width(), 50);
    EXPECT_EQ(child<VxPreprocessSelection>("IProcessing")->text(), "IProcessing");
    for (const char* name : {"Infiledialog", "Convert2EuclideanGrey", "Convert2ValueGrey",
                             "Reload Image", "Save", "Remove Noise Selection"})
        EXPECT_EQ(child(name)->sizePolicy().horizontalPolicy(), QSizePolicy::Fixed) << name;
    EXPECT_NE(child<VxDualTreeProgress>("New Project Progress"), nullptr);

    // The shared update rule, now and later.
    EXPECT_EQ(QString(control->updaterule()), shared->UpdateRule());
    shared->UpdateRule("/rules/other.rule");
    EXPECT_STREQ(control->updaterule(), "/rules/other.rule");

    QPushButton* mode = child("Remove Noise Selection");
    EXPECT_EQ(control->generateTreeMode(), 3);
    click("Remove Noise Selection");
    EXPECT_EQ(mode->text(), "No Denoising");
    EXPECT_EQ(control->generateTreeMode(), 0);
    click("Remove Noise Selection");
    EXPECT_EQ(mode->text(), "Remove Noise");
    EXPECT_EQ(control->generateTreeMode(), 3);

    QLineEdit* scales = child<QLineEdit>("Scales");
    scales->clear();
    QTest::keyClicks(scales, "12");
    EXPECT_EQ(control->oscales(), 12);
    EXPECT_EQ(control->cscales(), 12);
    dialog->set_cscales("7");
    EXPECT_EQ(control->oscales(), 12);
    EXPECT_EQ(control->cscales(), 7);

    // A typed name renames the analysis and loads nothing, Return neither.
    QLineEdit* name = child<QLineEdit>("Resultnameedit");
    name->setText("typed.png");
    QTest::keyClick(name, Qt::Key_Return);
    EXPECT_STREQ(control->imagename(), "typed.png");
    EXPECT_STREQ(control->brightresultname(), "typed.png.bright_object.contours");
    EXPECT_FALSE(control->imageLoaded());
}

TEST_F(NewProjectDialogTest, LoadReadsTheChosenImageAndCancelChangesNothing)
{
    const std::string picture = png(square_on_black());
    const QString here = QString::fromStdString(dir.path().string());

    EXPECT_NE(load("").find("Canceled \n"), std::string::npos);
    ASSERT_EQ(dialogs().requests().size(), 1u);
    const VxDialogRequest& cancelled = dialogs().requests()[0];
    EXPECT_EQ(cancelled.kind, VxDialogRequest::OpenFile);
    EXPECT_TRUE(cancelled.imagePreview);
    EXPECT_EQ(cancelled.startPath, here + "/");
    EXPECT_TRUE(cancelled.filter.startsWith("Images (*.")) << cancelled.filter.toStdString();
    EXPECT_TRUE(cancelled.filter.contains(" *.png")) << cancelled.filter.toStdString();
    EXPECT_FALSE(control->imageLoaded());
    EXPECT_STREQ(control->imagename(), "Unknown.png");

    const std::string printed = load(picture);
    EXPECT_NE(printed.find("Known Formats Images (*."), std::string::npos);
    EXPECT_NE(printed.find("Loading " + picture + "\n"), std::string::npos);
    EXPECT_TRUE(control->imageLoaded());
    EXPECT_STREQ(control->imagename(), picture.c_str());
    EXPECT_EQ(child<QLineEdit>("Resultnameedit")->text(), QString::fromStdString(picture));
    EXPECT_EQ(control->pdisplay()->ImageWidth(), 24);
    EXPECT_EQ(control->pdisplay()->window(), dialog.data());
    EXPECT_EQ(shared->WorkingDir(), here + "/");

    // A highlighted file is where the next dialog starts.
    dialog->setURLfromHighlight("picture.png");
    load("");
    EXPECT_EQ(dialogs().requests().back().startPath, here + "/picture.png");
    dialog->setURLfromHighlight("/elsewhere/b.png");
    load("");
    EXPECT_EQ(dialogs().requests().back().startPath, "/elsewhere/b.png");
    EXPECT_TRUE(control->imageLoaded());
}

TEST_F(NewProjectDialogTest, AFileNoReaderTakesIsRefusedAtOnceAndThePictureStays)
{
    const std::string loaded = png(square_on_black());
    load(loaded);
    const std::vector<int> shown = frame_words(control->pdisplay());

    // No picture; a JPEG cut short (Qt's reader would fill the rest in
    // grey); a TIFF, which no reader of Qt's here takes.
    vx_test::write_file(file("notes.png"), "no picture");
    QImage noise(96, 64, QImage::Format_Grayscale8);
    for (int y = 0; y < noise.height(); ++y)
        for (int x = 0; x < noise.width(); ++x)
            noise.scanLine(y)[x] = static_cast<uchar>((x * 37 + y * 91 + x * y) % 251);
    ASSERT_TRUE(noise.save(qfile("whole.jpg"), "JPG", 90));
    const std::string jpeg = vx_test::read_file(file("whole.jpg"));
    vx_test::write_file(file("cut.jpg"), jpeg.substr(0, jpeg.size() / 2));
    vx_test::write_file(file("scan.tif"), std::string("II*\0\x08\0\0\0", 8) + "\0\0\0\0");
    const std::pair<const char*, const char*> refused[] = {
        {"notes.png", "Unsupported image format"},
        {"cut.jpg", "premature end"},
        {"scan.tif", "Unsupported image format"}};
    for (const auto& [name, reason] : refused) {
        dialogs().clear();
        dialogs().answer(qfile(name));
        dialogs().press("Acknowlege");
        EXPECT_EQ(vx_test::printed_by([&] { click("Infiledialog"); }).find("Loading "),
                  std::string::npos)
            << name;
        ASSERT_EQ(dialogs().requests().size(), 2u) << name;
        const VxDialogRequest& popUp = dialogs().requests()[1];
        EXPECT_EQ(popUp.title, "Could not load image");
        EXPECT_TRUE(popUp.labels.value(1).startsWith("Unable to read\n" + qfile(name) + "\n"))
            << popUp.labels.value(1).toStdString();
        EXPECT_TRUE(popUp.labels.value(1).contains(reason, Qt::CaseInsensitive))
            << popUp.labels.value(1).toStdString();
        EXPECT_EQ(frame_words(control->pdisplay()), shown) << name;
        EXPECT_STREQ(control->imagename(), loaded.c_str());
        EXPECT_EQ(child<QLineEdit>("Resultnameedit")->text(), QString::fromStdString(loaded));
    }
}

TEST_F(NewProjectDialogTest, ClearUndoesConversionsAndPreprocessingAndSaveRenames)
{
    const std::string picture = png(square_on_black());
    load(picture);
    qimage_frame* frame = control->pdisplay();
    const std::vector<int> stored(frame->get_t_image()->pixels,
                                  frame->get_t_image()->pixels + 24 * 24);
    EXPECT_EQ(stored[9 * 24 + 9] & 0xFFFFFF, 0xC8C8C8);

    scaleImage twice(2.0);
    vx_test::printed_by([&] {
        click("Convert2ValueGrey");
        emit child<VxPreprocessSelection>("IProcessing")->Function(twice);
        emit child<VxPreprocessSelection>("IProcessing")->Function(twice);
    });
    EXPECT_EQ(frame->ImageWidth(), 96);
    EXPECT_EQ(control->image()->width, 96);
    EXPECT_EQ(frame->get_t_image()->pixels[40 * 96 + 40], 200);
    EXPECT_TRUE(frame->toolTip().startsWith("Scale Image\n")) << frame->toolTip().toStdString();

    // The view is saved; the written file becomes the analysis' image.
    dialogs().answer(qfile("saved.png"));
    vx_test::printed_by([&] { click("Save"); });
    EXPECT_EQ(QImage(qfile("saved.png")).size(), QSize(96, 96));
    EXPECT_EQ(control->imagename(), file("saved.png"));
    // A target that cannot be written leaves the name.
    dialogs().answer(qfile("missing/x.png"));
    dialogs().press("Acknowlege");
    vx_test::printed_by([&] { click("Save"); });
    EXPECT_EQ(dialogs().requests().back().title, "!!Write Error!!");
    EXPECT_EQ(control->imagename(), file("saved.png"));

    child<QLineEdit>("Resultnameedit")->setText(QString::fromStdString(picture));
    vx_test::printed_by([&] { click("Reload Image"); });
    EXPECT_EQ(frame->ImageWidth(), 24);
    EXPECT_EQ(
        std::vector<int>(frame->get_t_image()->pixels, frame->get_t_image()->pixels + 24 * 24),
        stored);
    EXPECT_EQ(control->image()->width, 24);

    vx_test::printed_by([&] {
        emit child<VxPreprocessSelection>("IProcessing")->Function(twice);
        emit child<VxPreprocessSelection>("IProcessing")->doNoPreProcessing();
    });
    EXPECT_EQ(frame->ImageWidth(), 24);
}

TEST_F(NewProjectDialogTest, StartRefusesWithAPopUpAndComputesNothing)
{
    EXPECT_EQ(refusal(), "No image is loaded:\nUnknown.png");
    child<QLineEdit>("Resultnameedit")->setText("typed.png");
    EXPECT_EQ(refusal(), "No image is loaded:\ntyped.png");
    vx_test::write_file(file("foreign.png"), "not a picture");
    dialogs().answer(qfile("foreign.png"));
    dialogs().press("Acknowlege");
    vx_test::printed_by([&] { click("Infiledialog"); });
    EXPECT_EQ(refusal(), "No image is loaded:\ntyped.png");

    load(png(square_on_black()));
    const QString scales = "The number of scales must be a whole number from 2 to 1000000.";
    QLineEdit* field = child<QLineEdit>("Scales");
    for (const char* text : {"", "1"}) {
        field->setText(text);
        EXPECT_EQ(refusal(), scales) << text;
    }
    field->setText("3");
    dialog->set_cscales("0");
    EXPECT_EQ(refusal(), scales);

    // 1000000 scales of 400 x 400 need terabytes.
    load(png(picture(400, 400, {}), "large.png"));
    field->setText("1000000");
    EXPECT_TRUE(refusal().startsWith(
        "1000000 scales of a 400 x 400 image need about 1220722 MB for both trees,\n"
        "more than the "));
    EXPECT_TRUE(child("Start")->isEnabled());
    EXPECT_FALSE(dialog.isNull());
}

TEST_F(NewProjectDialogTest, StartRefusesTreesBeyondWhatTheProcessMayStillTake)
{
    if (vx_test::under_sanitizer)
        GTEST_SKIP() << "the sanitizers reserve more address space than the limit leaves";
    load(png(picture(1024, 1024, {{100, 100, 300, 200, 200}}), "large.png"));
    child<QLineEdit>("Scales")->setText("20");
    EXPECT_EXIT(
        {
            vx_test::limit_address_space(size_t{256} << 20);
            std::fputs(refusal().toStdString().c_str(), stderr);
            std::_Exit(control->openingtree() == nullptr ? 0 : 1);
        },
        ::testing::ExitedWithCode(0),
        "^20 scales of a 1024 x 1024 image need about 288 MB for both trees,\n"
        "more than the [0-9]+ MB this program may still take.$");
}

TEST_F(NewProjectDialogTest, StartRefusesAnUpdateRuleThatCannotRunAndSaysWhy)
{
    load(png(two_blobs()));
    const QString rule = "The update rule\n" + qfile("Attributes.rule") + "\n";
    write(file("Attributes.rule"), "DECLS:\n a := 1 #DECLS\n");
    EXPECT_EQ(refusal(), rule +
                             "does not parse:\n"
                             "line 2: syntax error, unexpected DECLSCL, expecting DELIM");
    std::filesystem::remove(file("Attributes.rule"));
    EXPECT_EQ(refusal(), rule + "cannot be read");
    // It parses, but fails on the regions: the new trees go.
    write(file("Attributes.rule"), "DECLS: FDC := 2; numfdc := 5; #DECLS\n");
    EXPECT_EQ(refusal(), rule +
                             "failed while it ran:\n"
                             "Dont Mess with the number of FDCs in update fds in symboltable");
}

TEST_F(NewProjectDialogTest, StartComputesBothTreesOnceHandsTheControllerOnAndGoes)
{
    load(png(two_blobs()));
    child<QLineEdit>("Scales")->setText("3");
    QSignalSpy done(dialog.data(), &vx_new_project_dialog::computationDone);
    auto* bars = child<VxDualTreeProgress>("New Project Progress");

    // Events run while the trees are computed: closing, destroying and a
    // second Start then change nothing.
    int fired = 0;
    bool formDisabled = false;
    bool modal = false;
    bool stillShown = false;
    QTimer meanwhile;
    meanwhile.setInterval(0);
    QObject::connect(&meanwhile, &QTimer::timeout, [&] {
        if (fired++ > 0)
            return;
        formDisabled = !child("Start")->isEnabled() && !child("Infiledialog")->isEnabled() &&
                       bars->isEnabled();
        modal = QApplication::activeModalWidget() == dialog.data();
        dialog->close();
        stillShown = dialog->isVisible();
        dialog->destroyDialog();
        dialog->accept();
    });
    meanwhile.start();
    const std::string printed = vx_test::printed_by([&] { click("Start"); });
    meanwhile.stop();

    EXPECT_GE(fired, 1);
    EXPECT_TRUE(formDisabled);
    EXPECT_TRUE(modal);
    EXPECT_TRUE(stillShown);
    EXPECT_EQ(count(printed, "THREADS\n"), 1);
    ASSERT_EQ(done.count(), 1);
    EXPECT_EQ(done[0][0].value<vx_analyse_control*>(), control.data());
    ASSERT_NE(control->openingtree(), nullptr);
    ASSERT_NE(control->closingtree(), nullptr);
    EXPECT_EQ(control->openingtree()->scales, 3);
    EXPECT_EQ(control->closingtree()->scales, 3);
    for (QProgressBar* bar : bars->findChildren<QProgressBar*>()) {
        EXPECT_EQ(bar->maximum(), 6);
        EXPECT_EQ(bar->value(), 6);
    }

    EXPECT_FALSE(dialog.isNull());
    vx_gui_test::flush_deferred_deletes();
    EXPECT_TRUE(dialog.isNull());
    // Handed on: the controller stays for its receiver.
    EXPECT_FALSE(control.isNull());
}

TEST_F(NewProjectDialogTest, ADialogClosedWithoutStartOrWithoutReceiverDeletesItsController)
{
    dialog->close();
    vx_gui_test::flush_deferred_deletes();
    EXPECT_TRUE(dialog.isNull());
    EXPECT_TRUE(control.isNull());

    control = new vx_analyse_control("second", 3, nullptr);
    dialog = new vx_new_project_dialog(shared.get(), control, nullptr, "New Project", 0);
    load(png(square_on_black()));
    vx_test::printed_by([&] { click("Start"); });
    EXPECT_NE(control->openingtree(), nullptr);
    vx_gui_test::flush_deferred_deletes();
    EXPECT_TRUE(dialog.isNull());
    EXPECT_TRUE(control.isNull());
}
