#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "gui/foundation/vx_base_paths.h"
#include "gui/foundation/vx_edit_dialog.h"
#include "testsupport/gui/gui_test.h"
#include "testsupport/vx_test.h"

using vx_gui_test::dialogs;

namespace {

// Tabs, a no-break space and accented letters: Latin-1 bytes as they stand.
const std::string latin1_rule = "DECLS:\n\tgrau := 1;\t{gr\xfcn\xa0und caf\xe9}\n#DECLS\n";

class EditDialogTest : public ::testing::Test {
protected:
    vx_test::TempDir dir;
    VxBasePaths paths{"/app",
                      "/app/Attributes.rule",
                      "",
                      dir.path().c_str(),
                      dir.path().c_str(),
                      nullptr,
                      "Paths",
                      0};

    QString file(const char* name) const { return QString::fromStdString(dir.file(name)); }
    static QLineEdit* nameLine(VxEditDialog& e)
    {
        return e.findChild<QLineEdit*>("VxEditdialog Filename Editor");
    }
    static QPlainTextEdit* text(VxEditDialog& e)
    {
        return e.findChild<QPlainTextEdit*>("VxEditdialog Texteditor");
    }
};

}  // namespace

TEST_F(EditDialogTest, SaveAndSaveAsWriteTheFileByteForByte)
{
    vx_test::write_file(dir.file("a.rule"), latin1_rule);
    VxEditDialog editor(&paths, file("a.rule"), nullptr, "Editor", 0);
    for (const char* name : {"VxEditdialog Load", "VxEditdialog Save", "VxEditdialog Save As"})
        EXPECT_NE(editor.findChild<QPushButton*>(name), nullptr) << name;
    EXPECT_TRUE(text(editor)->toPlainText().contains(QString::fromUtf8("gr\u00fcn und caf\u00e9")));

    testing::internal::CaptureStdout();
    editor.saveFile();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Saving " + dir.file("a.rule") + "\n");
    EXPECT_EQ(vx_test::read_file(dir.file("a.rule")), latin1_rule);

    QSignalSpy changed(&editor, &VxEditDialog::changedFile);
    dialogs().answer(file("b.rule"));
    editor.saveFileDialog();
    EXPECT_EQ(vx_test::read_file(dir.file("b.rule")), latin1_rule);
    EXPECT_EQ(editor.File(), file("b.rule"));
    EXPECT_EQ(nameLine(editor)->text(), file("b.rule"));
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.at(0).at(0).toString(), file("b.rule"));

    const VxDialogRequest& request = dialogs().requests().at(0);
    EXPECT_EQ(request.objectName, "Save Rules Dir Dialog");
    EXPECT_EQ(request.caption, "Save rule file");
    EXPECT_EQ(request.filter, "(*.rule)");
    EXPECT_EQ(request.startPath, file("a.rule").replace("/a.rule", "//a.rule"));
}

TEST_F(EditDialogTest, AMissingFileGivesAnEmptyEditorThatSaveCreates)
{
    VxEditDialog editor(&paths, file("new.rule"), nullptr, "Editor", 0);
    EXPECT_EQ(text(editor)->toPlainText(), "");
    EXPECT_EQ(nameLine(editor)->text(), file("new.rule"));
    testing::internal::CaptureStdout();
    editor.saveFile();
    testing::internal::GetCapturedStdout();
    EXPECT_TRUE(QFile::exists(file("new.rule")));
}

TEST_F(EditDialogTest, AFailedLoadKeepsTheTextAndPutsTheNameBack)
{
    vx_test::write_file(dir.file("a.rule"), "RULES:\n#RULES\n");
    vx_test::write_file(dir.file("b.rule"), "DECLS:\n#DECLS\n");
    VxEditDialog editor(&paths, file("a.rule"), nullptr, "Editor", 0);
    QSignalSpy changed(&editor, &VxEditDialog::changedFile);

    nameLine(editor)->setText(file("mistyped.rule"));
    QTest::keyClick(nameLine(editor), Qt::Key_Return);
    EXPECT_EQ(nameLine(editor)->text(), file("a.rule"));
    EXPECT_EQ(text(editor)->toPlainText(), "RULES:\n#RULES\n");
    EXPECT_EQ(changed.count(), 0);

    dialogs().answer(QString());
    dialogs().answer(file("b.rule"));
    editor.loadFileDialog();
    EXPECT_EQ(editor.File(), file("a.rule"));
    editor.loadFileDialog();
    EXPECT_EQ(editor.File(), file("b.rule"));
    EXPECT_EQ(text(editor)->toPlainText(), "DECLS:\n#DECLS\n");
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(dialogs().requests().at(0).objectName, "Open Rule Dir Dialog");
    EXPECT_EQ(dialogs().requests().at(0).caption, "Load rule file");
}

TEST_F(EditDialogTest, SaveAsIntoAMissingFolderReportsAndKeepsNameAndFile)
{
    vx_test::write_file(dir.file("a.rule"), latin1_rule);
    VxEditDialog editor(&paths, file("a.rule"), nullptr, "Editor", 0);
    text(editor)->setPlainText("changed");
    QSignalSpy changed(&editor, &VxEditDialog::changedFile);

    dialogs().answer(file("missing/a.rule"));
    dialogs().press("Acknowlege");
    editor.saveFileDialog();
    EXPECT_EQ(editor.File(), file("a.rule"));
    EXPECT_EQ(changed.count(), 0);
    EXPECT_EQ(vx_test::read_file(dir.file("a.rule")), latin1_rule);
    ASSERT_EQ(dialogs().requests().size(), 2u);
    const VxDialogRequest& popUp = dialogs().requests().at(1);
    EXPECT_EQ(popUp.kind, VxDialogRequest::Exec);
    EXPECT_EQ(popUp.title, "!!File Save Error!!");
    EXPECT_EQ(popUp.labels.value(1), "Unable to open file for write\n" + file("missing/a.rule"));
}
