#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <string>

#include "gui/foundation/forms/vx_attribute_selection.h"
#include "gui/repository/vx_analyze_volume_export_dialog.h"
#include "gui/repository/vx_class_export_dialog.h"
#include "gui/repository/vx_rurevudu_dialog.h"
#include "testsupport/gui/gui_test.h"

using vx_gui_test::dialogs;

namespace {

char irrelevant[] = "Irrelevant";
char cells[] = "Cells";
char nuclei[] = "Nuclei";
char* class_names[] = {irrelevant, cells, nuclei};

QRadioButton* radio(QWidget& dialog, const char* group, int index)
{
    return dialog.findChild<QGroupBox*>(group)->findChildren<QRadioButton*>().value(index);
}

QPushButton* button(QWidget& dialog, const char* name)
{
    return dialog.findChild<QPushButton*>(QString::fromLatin1(name));
}

QString text_of(QWidget& dialog, const char* edit)
{
    return dialog.findChild<QLineEdit*>(QString::fromLatin1(edit))->text();
}

}  // namespace

TEST(ClassExportDialog, ChoosesTheSecondClassAndAddsTheEndingOnce)
{
    VxClassExportDialog dialog(3, class_names, "ISOSurface File", "ISOSurface (*.isovol)",
                               ".isovol", nullptr, "Export Volume", 0);
    const QList<QLabel*> labels = dialog.findChildren<QLabel*>();
    ASSERT_EQ(labels.size(), 2);
    EXPECT_EQ(labels[0]->text(), "\nActive Class:");
    EXPECT_EQ(labels[1]->text(), "Cells");

    radio(dialog, "Export Class Selection", 1)->click();
    EXPECT_EQ(dialog.getClass(), 2);
    EXPECT_EQ(labels[1]->text(), "Nuclei");
    dialog.setClass(2);   // no class 3
    dialog.setClass(-1);  // no class 0
    EXPECT_EQ(dialog.getClass(), 2);

    dialogs().answer("/data/cells");
    dialogs().answer("/data/nuclei.isovol");
    dialogs().answer(QString());
    button(dialog, "ISOSurface File")->click();
    button(dialog, "ISOSurface File")->click();
    EXPECT_EQ(text_of(dialog, "ExportFileName"), "/data/nuclei.isovol");
    button(dialog, "ISOSurface File")->click();
    EXPECT_EQ(dialog.getFileName(), "/data/nuclei.isovol") << "Cancel keeps the name";
    const VxDialogRequest& second = dialogs().requests()[1];
    EXPECT_EQ(second.objectName, "ISOSurface File");
    EXPECT_EQ(second.startPath, "/data/cells.isovol");
    EXPECT_EQ(second.filter, "ISOSurface (*.isovol)");

    dialog.setMode(1);
    EXPECT_EQ(dialog.getMode(), 2);
    dialogs().press("Done");
    EXPECT_EQ(vx_dialogs().exec(dialog), QDialog::Accepted);
}

TEST(AttributeSelection, KeepsItsTicksOverTwoRunsThatAddADoneButtonEach)
{
    const char* names[] = {"area", "contrast", "perimeter", "age"};
    VxAttributeSelection selection(4, names, "Scale Browser", nullptr, "Select", 0);
    EXPECT_EQ(selection.windowTitle(), "Scale Browser: Attribute Selection");
    auto* list = selection.findChild<QTreeWidget*>();
    ASSERT_EQ(list->topLevelItemCount(), 4);
    EXPECT_EQ(selection.getSelection(), std::vector<int>({0, 1, 2, 3}));

    for (int i : {0, 2, 4, -1})
        selection.uncheckAttribute(i);
    EXPECT_EQ(selection.getSelection(), std::vector<int>({0, 1, 3}));

    // The user unticks "contrast" in the first run.
    dialogs().answer([](QDialog& dialog) {
        dialog.findChild<QTreeWidget*>()->topLevelItem(1)->setCheckState(0, Qt::Unchecked);
        dialog.findChild<QPushButton*>("Attribute Selection Done")->click();
        return dialog.result();
    });
    EXPECT_EQ(selection.exec(), 1);
    dialogs().press("Done");
    EXPECT_EQ(selection.exec(), 1);
    EXPECT_EQ(selection.findChildren<QPushButton*>("Attribute Selection Done").size(), 2);
    int count = 0;
    const int* indices = selection.getSelection(&count);
    ASSERT_EQ(count, 2);
    EXPECT_EQ(indices[0], 0);
    EXPECT_EQ(indices[1], 3);
}

TEST(AttributeSelection, AllAndNoneTickAndUntickEveryAttribute)
{
    const char* names[] = {"area", "minx", "perimeter"};
    VxAttributeSelection selection(3, names, "Sketch", nullptr, "Select", 0);
    const auto press = [&](const QString& text) {
        for (QPushButton* button : selection.findChildren<QPushButton*>())
            if (button->text() == text)
                button->click();
    };
    press("None");
    EXPECT_TRUE(selection.getSelection().empty());
    selection.findChild<QTreeWidget*>()->topLevelItem(1)->setCheckState(0, Qt::Checked);
    EXPECT_EQ(selection.getSelection(), std::vector<int>({1}));
    press("All");
    EXPECT_EQ(selection.getSelection(), std::vector<int>({0, 1, 2}));
}

TEST(RurevuduDialog, WritesTheFiveValuesItWasGiven)
{
    VxRurevuduDialog dialog(3, class_names, nullptr, "RUREVUDU Export", 0);
    EXPECT_EQ(dialog.findChildren<QLabel*>().value(1)->text(), "Cells");
    std::vector<std::string> written;
    QObject::connect(&dialog, &VxRurevuduDialog::writeRUREVUDU,
                     [&](const char* list, const char* path, const char* rule, int cls, int type) {
                         written = {list, path, rule, std::to_string(cls), std::to_string(type)};
                     });

    dialogs().answer("/data/train");
    dialogs().answer("/data/again.hclst");
    dialogs().answer("/data/out");
    dialogs().answer("/rules/notes.txt");
    dialogs().answer("/rules/update.rule");
    button(dialog, "FileList")->click();
    EXPECT_EQ(text_of(dialog, "ImageFileListName"), "/data/train.hclst");
    button(dialog, "FileList")->click();
    button(dialog, "Data Path")->click();
    button(dialog, "Update Rule")->click();
    EXPECT_EQ(text_of(dialog, "Update Rule Name"), "") << "not a rule file";
    button(dialog, "Update Rule")->click();
    const std::vector<VxDialogRequest>& asked = dialogs().requests();
    EXPECT_EQ(asked[0].objectName, "RUREVUDU List File");
    EXPECT_EQ(asked[0].filter, "(RUREVUDU List) *.hclst");
    EXPECT_EQ(asked[3].startPath, "./");
    EXPECT_EQ(asked[3].filter, "(Rule) *.rule");

    radio(dialog, "ClassSelection", 1)->click();
    EXPECT_EQ(dialog.findChildren<QLabel*>().value(1)->text(), "Nuclei");
    radio(dialog, "ImageSelectionType", 2)->click();
    dialog.findChild<QPushButton*>("WriteTree.csv")->click();
    EXPECT_EQ(written, std::vector<std::string>(
                           {"/data/again.hclst", "/data/out", "/rules/update.rule", "2", "2"}));
}

TEST(AnalyzeVolumeExportDialog, TogglesBinariseAndReadsTheScale)
{
    VxAnalyzeVolumeExportDialog dialog("Volume", "Analyze (*.hdr)", ".hdr", nullptr,
                                       "Export Analyze Volume", 1);
    EXPECT_EQ(text_of(dialog, "ZScale"), "1");
    QPushButton* binarize = button(dialog, "Binarize");
    binarize->click();
    EXPECT_EQ(binarize->text(), "No Binarize");
    EXPECT_FALSE(dialog.getBinarize());
    binarize->click();
    EXPECT_EQ(binarize->text(), "Binarize");
    EXPECT_TRUE(dialog.getBinarize());

    dialog.findChild<QLineEdit*>("ZScale")->setText("2.5");
    EXPECT_FLOAT_EQ(dialog.getZScale(), 2.5f);
    dialog.findChild<QLineEdit*>("ZScale")->setText("thick");
    EXPECT_EQ(dialog.getZScale(), 0.0f);

    dialogs().answer("/data/volume");
    button(dialog, "Volume")->click();
    EXPECT_EQ(dialog.getFileName(), "/data/volume.hdr");
    dialogs().press("Done");
    EXPECT_EQ(vx_dialogs().exec(dialog), QDialog::Accepted);
}
