#include <gtest/gtest.h>

#include <QPointer>
#include <QRegularExpression>
#include <QTest>
#include <QTreeWidget>
#include <filesystem>
#include <memory>

#include "gui/foundation/tests/sofm_test_support.h"
#include "testsupport/gui/gui_test.h"

using namespace sofm_test;
using vx_gui_test::dialogs;

namespace {

std::string after_first_line(const std::string& text)
{
    return text.substr(text.find('\n') + 1);
}

class SofmFilesTest : public ::testing::Test {
protected:
    vx_test::TempDir dir;
    std::string tableFile = dir.file("table.csv");
    std::unique_ptr<VxGUISOM> trainer;

    // A trainer on a 40-row table with a trained 5 x 4 map on columns 0
    // and 2, saved as map.som.
    void SetUp() override
    {
        write_table(tableFile, 40, 3);
        trainer.reset(open(tableFile));
        QTreeWidget* list = column_list();
        list->topLevelItem(1)->setCheckState(0, Qt::Unchecked);
        list->topLevelItem(4)->setCheckState(0, Qt::Unchecked);
        edit(trainer.get(), "Width")->setText("5");
        edit(trainer.get(), "Height")->setText("4");
        click(trainer.get(), "Start");
        dialogs().answer(QString::fromStdString(dir.file("map")));
        click(trainer.get(), "Save");
        dialogs().clear();
    }

    // Loads the file through the name edit; returns what it printed.
    std::string load(const std::string& file)
    {
        QLineEdit* name = edit(trainer.get(), "Load SOM Name");
        name->setText(QString::fromStdString(file));
        return vx_test::printed_by([name] { QTest::keyClick(name, Qt::Key_Return); });
    }
};

}  // namespace

TEST_F(SofmFilesTest, SaveAddsTheEndingOnceAndReloadBringsBackTheMap)
{
    EXPECT_EQ(edit(trainer.get(), "Save SOM Name")->text(),
              QString::fromStdString(dir.file("map.som")));
    const std::string saved = vx_test::read_file(dir.file("map.som"));
    EXPECT_TRUE(QRegularExpression("^Generated at \\S+ \\S+ from\n")
                    .match(QString::fromStdString(saved))
                    .hasMatch());
    EXPECT_EQ(after_first_line(saved).rfind(tableFile + "\nColumnSelection\n2, 0, 2\n", 0), 0u);

    dialogs().answer(QString::fromStdString(dir.file("again.som")));
    click(trainer.get(), "Save");
    EXPECT_TRUE(std::filesystem::exists(dir.file("again.som")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("again.som.som")));
    const VxDialogRequest& asked = dialogs().requests()[0];
    EXPECT_EQ(asked.objectName, "Save Resulting SOM");
    EXPECT_EQ(asked.startPath, "./");
    EXPECT_EQ(asked.filter, "(SOM Table) *.som");

    // Another map replaces this one, then the saved one comes back.
    click(trainer.get(), "Start");
    dialogs().answer(QString::fromStdString(dir.file("map.som")));
    const std::string printed = click(trainer.get(), "Load");
    EXPECT_NE(printed.find("Loading Table " + tableFile + "\n"), std::string::npos);
    EXPECT_EQ(dialogs().requests()[1].objectName, "Open SOM dialog");
    EXPECT_EQ(dialogs().requests()[1].caption, "Select SOM");
    ASSERT_EQ(frame(trainer.get())->ImageWidth(), 5);
    ASSERT_EQ(frame(trainer.get())->ImageHeight(), 4);
    dialogs().answer(QString::fromStdString(dir.file("copy.som")));
    click(trainer.get(), "Save");
    EXPECT_EQ(after_first_line(vx_test::read_file(dir.file("copy.som"))), after_first_line(saved));
}

TEST_F(SofmFilesTest, MalformedMapsGivePopUpsAndChangeNothing)
{
    const std::string saved = vx_test::read_file(dir.file("map.som"));
    const std::string head = saved.substr(0, saved.find("ColumnSelection"));
    const std::string body = saved.substr(saved.find("\nClusterCenter"));
    const std::vector<int> shown = words(trainer.get());
    struct Case {
        std::string text;
        const char* reason;
    };
    const Case cases[] = {
        {saved.substr(0, saved.find('\n') + 1), "It names no table."},
        {"Generated from\n" + after_first_line(saved), "Its first line is not"},
        {head + "ColumnSelection\n99999999999, 0, 2" + body, "Its column count does not fit"},
        {head + "ColumnSelection\n3, 0, 2" + body, "Its column count does not fit"},
        {head + "ColumnSelection\n-1, 0, 2" + body, "Its column count does not fit"},
        {head + "ColumnSelection\n2, 0, x" + body, "Its column 2 is no column number."},
        {head + "ColumnSelection\n2, 0, 50" + body, "Its table has no column 50."},
        {"Generated at 1.1.2024 1:2:3 from\n" + dir.file("gone.csv") + "\n" +
             saved.substr(saved.find("ColumnSelection")),
         "Its table cannot be read"},
        {head + "ColumnSelection\n1, 0" + body, "It does not fit its table."},
        {saved.substr(0, saved.find("DistanceMap")), "It does not fit its table."},
        {std::string(2 << 20, 'G'), "Its first line is not"},
    };
    int k = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reason);
        const std::string file = dir.file("bad" + std::to_string(k++) + ".som");
        vx_test::write_file(file, c.text);
        dialogs().clear();
        dialogs().press("Acknowlege");
        load(file);
        ASSERT_EQ(dialogs().requests().size(), 1u);
        EXPECT_EQ(dialogs().requests()[0].title, "SOM not loaded");
        EXPECT_TRUE(dialogs().requests()[0].labels.value(1).contains(c.reason))
            << dialogs().requests()[0].labels.value(1).toStdString();
    }
    dialogs().clear();
    dialogs().press("Acknowlege");
    load(dir.file("missing.som"));
    EXPECT_TRUE(dialogs().requests()[0].labels.value(1).endsWith("The file does not open."));

    EXPECT_EQ(words(trainer.get()), shown);
    dialogs().answer(QString::fromStdString(dir.file("after.som")));
    click(trainer.get(), "Save");
    EXPECT_EQ(after_first_line(vx_test::read_file(dir.file("after.som"))), after_first_line(saved));
}

TEST_F(SofmFilesTest, FilesTheWindowCannotUseCloseItAndAMapOpensIt)
{
    trainer.reset();
    vx_test::write_file(dir.file("notes.txt"), "x0,x1\n1,2\n");
    vx_test::write_file(dir.file("broken.som"), "Generated at nothing\n");
    for (const std::string& file :
         {dir.file("notes.txt"), dir.file("missing.csv"), dir.file("broken.som")}) {
        SCOPED_TRACE(file);
        dialogs().clear();
        dialogs().press("Acknowlege");
        QPointer<VxGUISOM> refused = open(file);
        ASSERT_EQ(dialogs().requests().size(), 1u);
        EXPECT_TRUE(dialogs().requests()[0].labels.value(1).contains(QString::fromStdString(file)));
        EXPECT_FALSE(refused->isVisible());
        EXPECT_EQ(vx_gui_test::top_level_widget("Attribute Selection"), nullptr);
        testing::internal::CaptureStdout();
        vx_gui_test::flush_deferred_deletes();
        testing::internal::GetCapturedStdout();
        EXPECT_TRUE(refused.isNull());
    }

    dialogs().clear();
    std::string printed;
    trainer.reset(open(dir.file("map.som"), &printed));
    EXPECT_NE(printed.find("Loading Table " + tableFile), std::string::npos);
    EXPECT_TRUE(trainer->isVisible());
    EXPECT_EQ(edit(trainer.get(), "Load SOM Name")->text(),
              QString::fromStdString(dir.file("map.som")));
    EXPECT_EQ(edit(trainer.get(), "Width")->text(), "5");
    EXPECT_EQ(frame(trainer.get())->ImageWidth(), 5);
    QTreeWidget* list = column_list();
    ASSERT_NE(list, nullptr);
    for (int c = 0; c < list->topLevelItemCount(); ++c)
        EXPECT_EQ(list->topLevelItem(c)->checkState(0),
                  c == 0 || c == 2 ? Qt::Checked : Qt::Unchecked);
}
