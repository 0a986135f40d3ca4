#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "gui/foundation/vx_base_paths.h"
#include "gui/repository/tests/labeling_test_support.h"
#include "gui/repository/vx_init_labeled_repository_dialog.h"

using namespace labeling_test;
using vx_gui_test::dialogs;
using vx_test::printed_by;

namespace {

// Clicks column c of row i of the class list.
void click_cell(QTreeWidget& list, int i, int c)
{
    const QRect row = list.visualItemRect(list.topLevelItem(i));
    const int x = list.header()->sectionViewportPosition(c) + 4;
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, QPoint(x, row.center().y()));
}

// Clicks the name of row i and types a new one into the editor.
void rename(QTreeWidget& list, int i, const QString& name)
{
    click_cell(list, i, 1);
    auto* editor = list.viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->setText(name);
    QTest::keyClick(editor, Qt::Key_Return);
    // The editor hands its text to the row from the event loop.
    QCoreApplication::processEvents();
    EXPECT_EQ(list.topLevelItem(i)->text(1), name);
}

class SetUpTest : public ::testing::Test {
protected:
    labeled_test::labeled_dir l{2};
    QString work = q(l.d.dir.path().string());
    VxBasePaths paths{work,    work + "/Attributes.rule", QString(), work, work,
                      nullptr, "Global Base Paths",       0};
    QPointer<VxInitLabeledRepositoryDialog> dialog = vx_test::capturing_stdout([this] {
        return new VxInitLabeledRepositoryDialog(&paths, nullptr, "Init Labeled Repository", 0);
    });

    ~SetUpTest() override
    {
        delete dialog;
        delete vx_gui_test::top_level_widget("Classification View");
        vx_gui_test::flush_deferred_deletes();
    }

    QLineEdit* edit(const char* name) const { return dialog->findChild<QLineEdit*>(name); }
    QString mode() const { return dialog->findChild<QPushButton*>("Mode Selector")->text(); }

    // Done, with the class list handed to `list` before its own Done; the
    // classification view opened, if any.
    QWidget* done(const std::function<void(QTreeWidget&)>& list)
    {
        dialogs().answer([list](QDialog& classes) {
            auto* names = classes.findChild<QTreeWidget*>("Class name Selection");
            if (names == nullptr) {
                ADD_FAILURE() << "no class list but " << classes.windowTitle().toStdString();
                return 0;
            }
            classes.show();
            list(*names);
            classes.findChild<QPushButton*>("Class name Selection Done")->click();
            return classes.result();
        });
        printed_by([this] { click(*dialog, "Done"); });
        vx_gui_test::flush_deferred_deletes();
        return vx_gui_test::top_level_widget("Classification View");
    }

    // The class lines of the ".vxq" that the view writes.
    std::vector<std::string> storedClasses(QWidget* view)
    {
        const std::string vxq = l.d.dir.file("stored.vxq");
        dialogs().answer(q(vxq));
        trigger(*view, "Classification");
        const std::vector<std::string> lines = vx_test::lines_of(vx_test::read_file(vxq));
        const size_t classes = static_cast<size_t>(std::stoi(lines.at(4).substr(17)));
        return std::vector<std::string>(lines.begin() + 5, lines.begin() + 5 + classes);
    }
};

}  // namespace

TEST_F(SetUpTest, AVxrTogglesTheModeOnceAndDoneAddsTheIrrelevantClass)
{
    EXPECT_EQ(dialog->windowTitle(), "Init Labeled Repository");
    EXPECT_EQ(edit("Repository Path")->text(), work);
    dialogs().answer(q(l.vxr));
    click(*dialog, "Repository");
    EXPECT_EQ(dialogs().requests()[0].filter, "Repositories (*.vxq *.vxr)");
    EXPECT_EQ(edit("Repository")->text(), q(l.vxr));
    EXPECT_EQ(mode(), "Dark Mode");

    edit("Repository Path")->setText(q(l.labels));
    edit("Classes")->setText("3");
    QWidget* view = done([](QTreeWidget& list) {
        ASSERT_EQ(list.topLevelItemCount(), 4);
        EXPECT_EQ(list.topLevelItem(0)->text(1), "Irrelevant");
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(list.topLevelItem(i)->text(2), "Dark");
        rename(list, 1, "Cells");
        click_cell(list, 2, 2);
        EXPECT_EQ(list.topLevelItem(2)->text(2), "Bright");
    });
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(dialog.isNull());
    EXPECT_EQ(storedClasses(view),
              std::vector<std::string>(
                  {"Irrelevant, Mode 2", "Cells, Mode 2", "Class 2, Mode 1", "Class 3, Mode 2"}));
}

TEST_F(SetUpTest, ALoadedVxqKeepsItsClassesAndModesButTakesNewNames)
{
    const std::string vxq = l.d.dir.file("l.vxq");
    ASSERT_EQ(l.labeled(3)->write(vxq.c_str()), 1);
    edit("Repository")->setText(q(vxq));
    printed_by([&] { QTest::keyClick(edit("Repository"), Qt::Key_Return); });
    EXPECT_EQ(edit("Classes")->text(), "3");
    EXPECT_EQ(edit("Repository Path")->text(), q(l.labels));
    EXPECT_EQ(mode(), "Modes Loaded");
    edit("Classes")->setText("5");
    EXPECT_EQ(edit("Classes")->text(), "3");
    click(*dialog, "Modes Loaded");
    EXPECT_EQ(mode(), "Modes Loaded");

    QWidget* view = done([](QTreeWidget& list) {
        ASSERT_EQ(list.topLevelItemCount(), 3);
        click_cell(list, 2, 2);
        EXPECT_EQ(list.topLevelItem(2)->text(2), "Dark");
        rename(list, 1, "Nuclei");
    });
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(storedClasses(view), std::vector<std::string>({"Irrelevant, Mode 1", "Nuclei, Mode 1",
                                                             "Class 2, Mode 2"}));
}

TEST_F(SetUpTest, RefusalsLeaveTheFormAsItWas)
{
    // Class counts out of range, a repository that does not open.
    const std::string none = l.d.dir.file("none.vxr");
    for (const auto& [repository, classes] : {std::pair(l.vxr, ""), std::pair(l.vxr, "0"),
                                              std::pair(l.vxr, "128"), std::pair(none, "2")}) {
        edit("Repository")->setText(q(repository));
        edit("Classes")->setText(classes);
        dialogs().press("Acknowlege");
        click(*dialog, "Done");
        vx_gui_test::flush_deferred_deletes();
        ASSERT_FALSE(dialog.isNull()) << classes;
    }

    // Files that open but are no repository, or one without images: the
    // repository's reader decides.
    const std::string head = "Repository Path:\n/trees\nImages Path:\n/images\n";
    for (const std::string& text :
         {std::string("\x7f\x01\0junk\xff\n", 9), "Number of Images: 3\n" + head + "a.png,-,-\n",
          "Number of Images: -2\n" + head, head + "a.png,-,-\n", "Number of Images: 0\n" + head}) {
        vx_test::write_file(none, text);
        edit("Repository")->setText(q(none));
        dialogs().press("Acknowlege");
        printed_by([&] { click(*dialog, "Done"); });
        vx_gui_test::flush_deferred_deletes();
        ASSERT_FALSE(dialog.isNull()) << text;
        EXPECT_EQ(vx_gui_test::top_level_widget("Classification View"), nullptr) << text;
        EXPECT_EQ(dialogs().requests().back().title, "Could not load repository");
    }

    // A labelled image, then an ill-formed line: the file is not read whole
    // and stays as it was.
    const std::string vxq = l.d.dir.file("broken.vxq");
    {
        auto labeled = l.labeled(3);
        const int id = 1;
        labeled->setImage(0, 1, &id, 1, labeled->getImageName(0));
        ASSERT_EQ(labeled->write(vxq.c_str()), 1);
    }
    std::string text = vx_test::read_file(vxq);
    text = text.substr(0, text.rfind(".pgm, 1,") + 6) + "x\n";
    vx_test::write_file(vxq, text);
    edit("Repository")->setText(q(vxq));
    dialogs().press("Acknowlege");
    printed_by([&] { QTest::keyClick(edit("Repository"), Qt::Key_Return); });
    EXPECT_EQ(vx_test::read_file(vxq), text);
    EXPECT_EQ(mode(), "Bright Mode");
    EXPECT_EQ(dialogs().requests().back().title, "Could not load labeled repository");
}

TEST_F(SetUpTest, OneClassGivesTheIrrelevantClassAndOneMore)
{
    edit("Repository")->setText(q(l.vxr));
    edit("Repository Path")->setText(q(l.labels));
    edit("Classes")->setText("1");
    QWidget* view = done([](QTreeWidget& list) { EXPECT_EQ(list.topLevelItemCount(), 2); });
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(storedClasses(view),
              std::vector<std::string>({"Irrelevant, Mode 1", "Class 1, Mode 1"}));
}
