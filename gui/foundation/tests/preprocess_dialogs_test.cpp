#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest/QTest>
#include <memory>
#include <string>
#include <vector>

#include "gui/foundation/preprocessing/qtvx_image_processing.h"
#include "gui/foundation/preprocessing/vx_color_filter_dialog.h"
#include "gui/foundation/preprocessing/vx_extract_rr_dialog.h"
#include "gui/foundation/preprocessing/vx_preprocess_selection.h"
#include "gui/foundation/preprocessing/vx_rescale_dialog.h"
#include "gui/foundation/preprocessing/vx_rgb_filter_dialog.h"
#include "gui/foundation/preprocessing/vx_roi_extraction_dialog.h"
#include "imagecore/handles.h"
#include "testsupport/gui/gui_test.h"
#include "testsupport/vx_test.h"

using vx_gui_test::dialogs;

namespace {

// The names and parameter texts of the steps a dialog emits, and copies.
struct Emitted {
    explicit Emitted(VxPreprocessDialog& dialog)
    {
        QObject::connect(
            &dialog, &VxPreprocessDialog::DoIt, &dialog,
            [this](ProcessImage& step) {
                names.push_back(step.FunctionName());
                parameters.push_back(step.FunctionParameter());
                copies.emplace_back(step.copy());
            },
            Qt::DirectConnection);
    }
    std::vector<std::string> names;
    std::vector<std::string> parameters;
    std::vector<std::unique_ptr<ProcessImage>> copies;
};

QPushButton* button(QWidget& widget, const QString& text)
{
    for (QPushButton* b : widget.findChildren<QPushButton*>())
        if (b->text() == text)
            return b;
    return nullptr;
}

void set(QWidget& dialog, const char* edit, const QString& text)
{
    dialog.findChild<QLineEdit*>(edit)->setText(text);
}

void compute(QWidget& dialog)
{
    button(dialog, "Compute")->click();
}

template <class Dialog>
Dialog* visible_dialog()
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* dialog = qobject_cast<Dialog*>(widget); dialog != nullptr && dialog->isVisible())
            return dialog;
    return nullptr;
}

}  // namespace

TEST(PreprocessDialogs, ComputeWithoutEditsHandsOnTheDefaultStepOnce)
{
    VxExtractRRDialog extract;
    VxColorFilterDialog colour;
    VxRGBFilterDialog rgb;
    VxRescaleDialog rescale;
    VxROIExtractionDialog roi;
    const struct {
        VxPreprocessDialog* dialog;
        const char* title;
        const char* name;
        const char* parameter;
    } cases[] = {
        {&extract, "Extract Rectangular Region", "Extract a Region from an image ", ""},
        {&colour, "Color Filter", "Intensity Transformation",
         "Distribution Polygon: 0.0,1.0 0.5,0.0 1.0,1.0"},
        {&rgb, "RGB Filter", "RGB Filter Image", "Red: 1.000000, Green: 1.000000, Blue: 1.000000"},
        {&rescale, "Scale Image", "Scale Image", "Scaling: 0.500000"},
        {&roi, "Roi Extraction ", "ROI Extraction by Scaling and Rule",
         "Protocol Path: ./, Scales: 20, Scaling: 0.500000, Update Rule: Attributes.rule, Query "
         "Rule: "},
    };
    for (const auto& c : cases) {
        Emitted emitted(*c.dialog);
        EXPECT_EQ(c.dialog->windowTitle(), c.title);
        compute(*c.dialog);
        EXPECT_EQ(emitted.names, std::vector<std::string>{c.name});
        EXPECT_EQ(emitted.parameters, std::vector<std::string>{c.parameter});
    }
}

TEST(PreprocessDialogs, EditedFieldsReachTheStepAndItsPicture)
{
    // Width and Height are the right and bottom bounds of the box.
    VxExtractRRDialog extract;
    Emitted cropped(extract);
    set(extract, "Top", "10");
    set(extract, "Left", "20");
    set(extract, "Width", "100");
    set(extract, "Height", "50");
    compute(extract);
    image_handle picture(create_image(120, 80, 0));
    for (int k = 0; k < 120 * 80; ++k)
        picture->pixels[k] = k;
    image_handle box(cropped.copies.at(0)->apply(picture.get()));
    EXPECT_EQ(box->width, 80);
    EXPECT_EQ(box->height, 40);
    EXPECT_EQ(box->pixels[0], 10 * 120 + 20);

    // Factors clip at 255; a text that is no number gives 0.
    VxRGBFilterDialog rgb;
    Emitted filtered(rgb);
    set(rgb, "Red", "2");
    set(rgb, "Green", "0.5");
    set(rgb, "Blue", "blue");
    compute(rgb);
    EXPECT_EQ(filtered.parameters.at(0), "Red: 2.000000, Green: 0.500000, Blue: 0.000000");
    image_handle pixel(create_image(1, 1, 200 << 16 | 100 << 8 | 50));
    image_handle weighted(filtered.copies.at(0)->apply(pixel.get()));
    EXPECT_EQ(weighted->pixels[0], 255 << 16 | 50 << 8);
}

TEST(PreprocessDialogs, TextsThatAreNoAcceptableNumberEmitNothing)
{
    VxRescaleDialog rescale;
    Emitted scaled(rescale);
    for (const char* text : {"", "0", "1,5", "2000000", "0.123456", "1e3"}) {
        set(rescale, "Scaling", text);
        compute(rescale);
    }
    set(rescale, "Scaling", "");
    QTest::keyClicks(rescale.findChild<QLineEdit*>("Scaling"), "2.5x");  // x is refused
    compute(rescale);
    EXPECT_EQ(scaled.parameters, std::vector<std::string>{"Scaling: 2.500000"});

    VxROIExtractionDialog roi;
    Emitted extracted(roi);
    set(roi, "Scales", "1");
    compute(roi);
    set(roi, "Scales", "12");
    set(roi, "Scaling", "0");
    compute(roi);
    set(roi, "Scaling", "0.25");
    compute(roi);
    ASSERT_EQ(extracted.parameters.size(), 1u);
    EXPECT_NE(extracted.parameters[0].find("Scales: 12, Scaling: 0.250000"), std::string::npos);
}

TEST(PreprocessDialogs, TheChainKeepsItsCopyWhenTheDialogChangesItsStep)
{
    VxPreprocessSelection selection("PreProc", nullptr, "Preprocesssing");
    QTVxImageProcessing chain;
    QObject::connect(
        &selection, &VxPreprocessSelection::Function, &selection,
        [&chain](ProcessImage& step) { chain.addFunction(step); }, Qt::DirectConnection);
    selection.rescale();
    VxRescaleDialog* rescale = visible_dialog<VxRescaleDialog>();
    ASSERT_NE(rescale, nullptr);
    const std::string printed = vx_test::printed_by([&] {
        compute(*rescale);
        set(*rescale, "Scaling", "0.25");
        compute(*rescale);
    });
    EXPECT_EQ(printed, "Function Scale Image Added\nFunction Scale Image Added\n");
    // 40 x 20 by 0.5, then by 0.25; had the first copy changed, 2 x 1.
    image_handle picture(create_image(40, 20, 7));
    vx_image_handle input(init_vximage_from_single_image(picture.get(), 1, 0));
    image_handle result(chain.apply(input.get()));
    EXPECT_EQ(result->width, 5);
    EXPECT_EQ(result->height, 2);
}

TEST(RoiExtractionDialog, ModeButtonsAlwaysNameTheCurrentMode)
{
    VxROIExtractionDialog roi;
    QPushButton* mode = roi.findChild<QPushButton*>("Mode Selection");
    QPushButton* noise = roi.findChild<QPushButton*>("Remove Noise Selection");
    QStringList texts;
    for (int i = 0; i < 2; ++i) {
        mode->click();
        noise->click();
        texts << mode->text() << noise->text();
    }
    EXPECT_EQ(texts,
              QStringList({"Bright Objects", "No Denoising", "Dark Objects", "Remove Noise"}));
}

TEST(RoiExtractionDialog, FileChoicesGoThroughTheDialogServiceAndCancelKeepsTheFields)
{
    vx_test::TempDir dir;
    const QString d = QString::fromStdString(dir.path().string());
    vx_test::write_file(dir.file("query.rule"), "RULES:\nTD:\n area > 100 \xB5\n#RULES\n");
    VxROIExtractionDialog roi;
    Emitted emitted(roi);
    auto* editor = roi.findChild<QPlainTextEdit*>("Rule Editor");
    auto* query = roi.findChild<QLineEdit*>("QueryRule");
    const auto text_of = [&roi](const char* edit) {
        return roi.findChild<QLineEdit*>(edit)->text();
    };

    // Cancel empties the protocol path, which the step gets as ".".
    dialogs().answer(d);
    roi.findChild<QPushButton*>("Infiledialog")->click();
    EXPECT_EQ(text_of("ProtocolImagePath"), d);
    dialogs().answer(QString());
    roi.setProtocolPathDialog();
    compute(roi);
    EXPECT_EQ(emitted.parameters.at(0).rfind("Protocol Path: ., ", 0), 0u);

    // The rule choosers; Cancel changes nothing. The query rule is read
    // Latin-1 into the editor.
    dialogs().answer(d + "/update.rule");
    button(roi, "UpdateRule")->click();
    dialogs().answer(QString());
    roi.setUpdateRuleDialog();
    EXPECT_EQ(text_of("UpdateRule"), d + "/update.rule");
    dialogs().answer(d + "/query.rule");
    roi.findChild<QPushButton*>("Load Query Rule")->click();
    dialogs().answer(QString());
    roi.setQueryRuleDialog();
    EXPECT_EQ(query->text(), d + "/query.rule");
    EXPECT_EQ(editor->toPlainText(),
              QString::fromLatin1("RULES:\nTD:\n area > 100 \xB5\n#RULES\n"));
    QStringList asked;
    for (const VxDialogRequest& request : dialogs().requests())
        asked << QString("%1 %2 %3 %4 %5")
                     .arg(request.kind)
                     .arg(request.objectName, request.caption, request.startPath, request.filter);
    EXPECT_EQ(asked[0], "2 Protocol Path Set Protocol Path ./ ");
    EXPECT_EQ(asked[2], "0 Load Update Rule Load Update Rule ./*.rule Rule Files (*.rule)");
    EXPECT_EQ(asked[5], "0 Load Query Rule Load Query Rule ./*.rule Rule Files (*.rule)");

    // Save writes the whole text; Cancel writes nothing; a missing folder
    // shows the pop-up and keeps the query rule.
    editor->setPlainText(QString::fromLatin1("RULES:\nBU:\n area < 9 \xE9\n#RULES\n"));
    dialogs().answer(d + "/saved.rule");
    roi.findChild<QPushButton*>("Save Query Rule")->click();
    EXPECT_EQ(vx_test::read_file(dir.file("saved.rule")), "RULES:\nBU:\n area < 9 \xE9\n#RULES\n");
    dialogs().answer(QString());
    roi.saveQueryRuleDialog();
    dialogs().answer(d + "/none/lost.rule");
    dialogs().press("Acknowlege");
    roi.saveQueryRuleDialog();
    EXPECT_EQ(dialogs().requests().back().title, "!!File Save Error!!");
    EXPECT_EQ(query->text(), d + "/saved.rule");
    EXPECT_EQ(QDir(d).entryList(QDir::Files).size(), 2);

    // Enter in the query field loads its file; a missing one empties the editor.
    query->setText(d + "/missing.rule");
    QTest::keyClick(query, Qt::Key_Return);
    EXPECT_EQ(editor->toPlainText(), "");
}

TEST(PreprocessSelection, TheMenuOpensTheDialogsAndForwardsTheirSteps)
{
    auto selection = std::make_unique<VxPreprocessSelection>("IProcessing", nullptr, "Sel");
    QMenu* menu = selection->menu();
    EXPECT_EQ(menu->objectName(), "Preprocess Functions");
    QStringList entries;
    for (QAction* action : menu->actions())
        entries << action->text() + " " + action->shortcut().toString();
    EXPECT_EQ(entries, QStringList({"ROIExtract Alt+R", "ReScale Alt+S", "ExtractRR Alt+X",
                                    "RGBFilter Alt+F", "ColorFilter Alt+O", "Clear Alt+C"}));

    QStringList steps;
    QObject::connect(
        selection.get(), &VxPreprocessSelection::Function, selection.get(),
        [&steps](ProcessImage& step) { steps << step.FunctionName(); }, Qt::DirectConnection);
    QSignalSpy cleared(selection.get(), &VxPreprocessSelection::doNoPreProcessing);
    std::vector<QPointer<QWidget>> opened;
    for (int i = 0; i < 6; ++i) {
        menu->actions()[i]->trigger();
        if (VxPreprocessDialog* shown = visible_dialog<VxPreprocessDialog>()) {
            opened.emplace_back(shown);
            compute(*shown);
            shown->hide();
        }
    }
    EXPECT_EQ(steps, QStringList({"ROI Extraction by Scaling and Rule", "Scale Image",
                                  "Extract a Region from an image ", "RGB Filter Image",
                                  "Intensity Transformation"}));
    EXPECT_EQ(cleared.count(), 1);

    // A press opens the menu modally through setMenu; clicked() (emitted
    // here) pops it up without waiting.
    emit selection->clicked();
    EXPECT_TRUE(menu->isVisible());
    EXPECT_EQ(menu->activeAction(), menu->actions()[0]);
    menu->hide();

    selection.reset();
    EXPECT_EQ(opened.size(), 5u);
    for (const QPointer<QWidget>& dialog : opened)
        EXPECT_TRUE(dialog.isNull());
}
