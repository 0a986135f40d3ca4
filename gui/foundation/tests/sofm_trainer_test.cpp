#include <gtest/gtest.h>

#include <QApplication>
#include <QButtonGroup>
#include <QLabel>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <cmath>
#include <memory>

#include "gui/foundation/tests/sofm_test_support.h"
#include "testsupport/gui/gui_test.h"

using namespace sofm_test;
using vx_gui_test::dialogs;

namespace {

// Counts the paint events of a widget.
class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

// The placeholder cell (r, c) of a w x h map as the window draws it first,
// and once it grew the map for a large table.
int first_cell(int r, int c, int w, int h)
{
    return static_cast<int>(std::sqrt(r * r + c * c) / std::sqrt(w * w + h * h) * 255);
}
int grown_cell(int r, int c, int w, int h)
{
    return static_cast<int>(std::sqrt((r * r + c * c) / std::sqrt(w * w + h * h) * 255));
}

class SofmTrainerTest : public ::testing::Test {
protected:
    vx_test::TempDir dir;
    std::string table(int rows, int inputs, const std::string& name = "table.csv")
    {
        write_table(dir.file(name), rows, inputs);
        return dir.file(name);
    }
};

}  // namespace

TEST_F(SofmTrainerTest, TheMapGrowsOnlyPastAQuarterOfTheUnits)
{
    // 4 x 4096 rows fill 128 x 128 units exactly; one row more grows the map.
    const std::string kept = table(4096, 2, "kept.csv");
    std::unique_ptr<VxGUISOM> trainer(open(kept));
    EXPECT_EQ(trainer->windowTitle(), QString::fromStdString("SOM for" + kept));
    EXPECT_EQ(edit(trainer.get(), "Width")->text(), "128");
    EXPECT_EQ(edit(trainer.get(), "MaxStep")->text(), "4096");
    std::vector<int> cells = words(trainer.get());
    ASSERT_EQ(cells.size(), 128u * 128u);
    EXPECT_EQ(cells[0], 0);
    EXPECT_EQ(cells[127], first_cell(0, 127, 128, 128));
    EXPECT_EQ(cells.back(), first_cell(127, 127, 128, 128));

    // Number columns are checked, the text column is not.
    QTreeWidget* list = column_list();
    ASSERT_EQ(list->topLevelItemCount(), 4);
    for (int c = 0; c < 4; ++c)
        EXPECT_EQ(list->topLevelItem(c)->checkState(0), c == 2 ? Qt::Unchecked : Qt::Checked);

    const int side = static_cast<int>(std::sqrt(4.0 * 4097)) + 1;
    trainer.reset(open(table(4097, 2, "grown.csv")));
    EXPECT_EQ(edit(trainer.get(), "Width")->text(), QString::number(side));
    cells = words(trainer.get());
    ASSERT_EQ(cells.size(), static_cast<size_t>(side * side));
    EXPECT_EQ(cells[0], 0);
    EXPECT_EQ(cells[static_cast<size_t>(side - 1)], grown_cell(0, side - 1, side, side));
    EXPECT_EQ(cells.back(), grown_cell(side - 1, side - 1, side, side));
}

TEST_F(SofmTrainerTest, StartTrainsWithRefreshesAndTheDisplayModesCycle)
{
    std::unique_ptr<VxGUISOM> trainer(open(table(60, 3)));
    // A 6 x 5 map, refreshed every 4 of the 60 steps.
    edit(trainer.get(), "Width")->setText("6");
    edit(trainer.get(), "Height")->setText("5");
    edit(trainer.get(), "DispalySteps")->setText("4");
    for (QAbstractButton* b : trainer->findChildren<QAbstractButton*>())
        if (b->text() == "Cone" || b->text() == "Intervall")
            b->click();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(trainer.get()));
    PaintCounter counter;
    frame(trainer.get())->installEventFilter(&counter);
    const std::string printed = click(trainer.get(), "Start");
    EXPECT_GE(counter.paints, 60 / 4);
    EXPECT_NE(printed.find("2-d Grid: (X) 6 * (Y) 5 = 30 weightvectors"), std::string::npos);
    EXPECT_NE(printed.find("Intervall Normalization"), std::string::npos);
    EXPECT_NE(printed.find("\n59: 10.100000, 10.110000, 10.120000, 2.000000, \n"),
              std::string::npos);
    ASSERT_EQ(frame(trainer.get())->ImageWidth(), 6);
    ASSERT_EQ(frame(trainer.get())->ImageHeight(), 5);

    auto all = [&](auto test) {
        const std::vector<int> cells = words(trainer.get());
        return std::all_of(cells.begin(), cells.end(), test);
    };
    QPushButton* mode = trainer->findChild<QPushButton*>("Display Mode");
    mode->click();  // local distances -> cluster labels
    EXPECT_EQ(mode->text(), "Distance Map");
    EXPECT_TRUE(all([](int w) { return w >= 1792 && w < 1792 + 60; }));
    mode->click();
    EXPECT_EQ(mode->text(), "Local Distance");
    EXPECT_TRUE(all([](int w) { return w >= 0 && w <= 255; }));
    mode->click();
    EXPECT_EQ(mode->text(), "Label Map");
    EXPECT_TRUE(all([](int w) { return w >= 0 && w <= 255; }));
    click(trainer.get(), "Marker");
    const std::vector<int> marked = words(trainer.get());
    EXPECT_GT(std::count(marked.begin(), marked.end(), 1534), 0);
}

TEST_F(SofmTrainerTest, RefusesToStartWithoutColumnsRowsOrUnits)
{
    std::unique_ptr<VxGUISOM> trainer(open(table(0, 2)));
    dialogs().press("Acknowlege");
    click(trainer.get(), "Start");
    ASSERT_EQ(dialogs().requests().size(), 1u);
    EXPECT_TRUE(dialogs().requests()[0].labels.value(1).startsWith("The table has no rows"));

    trainer.reset(open(table(12, 2)));
    const std::vector<int> placeholder = words(trainer.get());
    QTreeWidget* list = column_list();
    for (int c = 0; c < list->topLevelItemCount(); ++c)
        list->topLevelItem(c)->setCheckState(0, Qt::Unchecked);
    dialogs().clear();
    dialogs().press("Acknowlege");
    click(trainer.get(), "Start");
    EXPECT_EQ(dialogs().requests()[0].labels.value(1), "No table column is checked.");

    list->topLevelItem(0)->setCheckState(0, Qt::Checked);
    edit(trainer.get(), "Width")->setText("");
    dialogs().press("Acknowlege");
    click(trainer.get(), "Start");
    EXPECT_EQ(dialogs().requests()[1].labels.value(1), "No map of 0 x 128 units can be built.");
    EXPECT_EQ(words(trainer.get()), placeholder);
    EXPECT_EQ(click(trainer.get(), "Distance Map"), "") << "still no map";
}

TEST_F(SofmTrainerTest, TinyTablesAndMapsTrainCleanly)
{
    struct Case {
        int rows;
        const char* width;
        const char* height;
    };
    // One row; fewer than 10 rows; fewer units than rows; a long thin map.
    for (const Case& c :
         {Case{1, "128", "128"}, Case{9, "128", "128"}, Case{9, "2", "2"}, Case{30, "1", "9"}}) {
        SCOPED_TRACE(c.rows);
        std::unique_ptr<VxGUISOM> trainer(open(table(c.rows, 2)));
        edit(trainer.get(), "Width")->setText(c.width);
        edit(trainer.get(), "Height")->setText(c.height);
        click(trainer.get(), "Start");
        for (int k = 0; k < 3; ++k)
            click(trainer.get(), trainer->findChild<QPushButton*>("Display Mode")->text());
        click(trainer.get(), "Marker");
        EXPECT_EQ(frame(trainer.get())->ImageWidth(), QString(c.width).toInt());
        EXPECT_EQ(frame(trainer.get())->ImageHeight(), QString(c.height).toInt());
    }
}

namespace {

void choose(QWidget* trainer, const QString& text)
{
    for (QAbstractButton* b : trainer->findChildren<QAbstractButton*>())
        if (b->text() == text)
            return b->click();
    ADD_FAILURE() << "no button " << text.toStdString();
}

QStringList checked_radios(QWidget* trainer)
{
    QStringList texts;
    for (QButtonGroup* group : trainer->findChildren<QButtonGroup*>())
        if (group->checkedButton() != nullptr)
            texts << group->checkedButton()->text();
    return texts;
}

}  // namespace

TEST_F(SofmTrainerTest, ShowsTheCodesInForceAndSmallMapsEnlarged)
{
    std::unique_ptr<VxGUISOM> trainer(open(table(60, 3)));
    EXPECT_EQ(checked_radios(trainer.get()), QStringList({"Gauss", "No Normalize"}));
    // The 128 x 128 placeholder four times, a 20 x 10 map twenty times.
    EXPECT_EQ(frame(trainer.get())->minimumSize(), QSize(512, 512));
    edit(trainer.get(), "Width")->setText("20");
    edit(trainer.get(), "Height")->setText("10");
    choose(trainer.get(), "Cone");
    choose(trainer.get(), "Intervall");
    click(trainer.get(), "Start");
    EXPECT_EQ(frame(trainer.get())->ImageWidth(), 20);
    EXPECT_EQ(frame(trainer.get())->minimumSize(), QSize(400, 200));
    const QImage shown = frame(trainer.get())->grab().toImage();
    EXPECT_EQ(shown.pixel(0, 0), shown.pixel(19, 19));
    EXPECT_EQ(shown.pixel(380, 180), shown.pixel(399, 199));

    // A loaded map's codes are those shown.
    dialogs().answer(QString::fromStdString(dir.file("m.som")));
    click(trainer.get(), "Save");
    dialogs().answer(QString::fromStdString(dir.file("m.som")));
    choose(trainer.get(), "Gauss");
    choose(trainer.get(), "No Normalize");
    click(trainer.get(), "Load");
    EXPECT_EQ(checked_radios(trainer.get()), QStringList({"Cone", "Intervall"}));
    auto* line = trainer->findChild<QLabel*>("Step Line");
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->text(), "Step 60 of 60");
}

TEST_F(SofmTrainerTest, AnswersWhileTrainingAndStopsAfterTheCurrentStep)
{
    // 600 rows on 7 x 7 units, refreshed every 10 steps: the cluster map
    // refreshes after its first 512 inputs too.
    std::unique_ptr<VxGUISOM> trainer(open(table(600, 3)));
    edit(trainer.get(), "Width")->setText("7");
    edit(trainer.get(), "Height")->setText("7");
    edit(trainer.get(), "DispalySteps")->setText("10");
    trainer->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(trainer.get()));
    auto* line = trainer->findChild<QLabel*>("Step Line");
    QPushButton* start = button(trainer.get(), "Start");
    QPushButton* stop = button(trainer.get(), "Stop");
    ASSERT_NE(line, nullptr);
    ASSERT_NE(stop, nullptr);
    EXPECT_FALSE(stop->isEnabled());

    // Every refresh runs the pending events: the timer sees each line.
    QStringList lines;
    bool busy = false;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        lines << line->text();
        if (lines.size() == 1) {
            busy = QApplication::activeModalWidget() == trainer.get() && !start->isEnabled() &&
                   stop->isEnabled();
            // A click on the greyed Start and a key: nothing after the run.
            QTest::mouseClick(trainer->windowHandle(), Qt::LeftButton, {},
                              start->mapTo(trainer.get(), start->rect().center()));
            QTest::keyClick(trainer->windowHandle(), '5');
        } else if (lines.size() == 3) {
            QTest::mouseClick(trainer->windowHandle(), Qt::LeftButton, {},
                              stop->mapTo(trainer.get(), stop->rect().center()));
        }
    });
    watcher.start(0);
    const std::string printed = click(trainer.get(), "Start");
    watcher.stop();
    QCoreApplication::processEvents();

    EXPECT_TRUE(busy);
    EXPECT_EQ(lines.mid(0, 3), QStringList({"Step 0 of 600", "Step 10 of 600", "Step 20 of 600"}));
    EXPECT_TRUE(lines.contains("Step 20 of 600: building the cluster map"))
        << lines.join("|").toStdString();
    EXPECT_EQ(line->text(), "Stopped at step 20 of 600");
    size_t starts = 0;
    for (size_t at = printed.find("SOFM Computation Start"); at != std::string::npos;
         at = printed.find("SOFM Computation Start", at + 1))
        ++starts;
    EXPECT_EQ(starts, 1u);
    EXPECT_NE(printed.find("Locating 600 Inputvectors"), std::string::npos);
    EXPECT_EQ(edit(trainer.get(), "DispalySteps")->text(), "10");
    EXPECT_TRUE(start->isEnabled());
    EXPECT_FALSE(stop->isEnabled());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    // The cluster map was built from what is trained: every unit labelled.
    click(trainer.get(), "Distance Map");
    const std::vector<int> labels = words(trainer.get());
    EXPECT_TRUE(std::all_of(labels.begin(), labels.end(),
                            [](int w) { return w > 1792 && w < 1792 + 600; }));
}

TEST_F(SofmTrainerTest, AClosedWindowStopsTheTrainingAndClosesAfterIt)
{
    QPointer<VxGUISOM> trainer(open(table(600, 3)));
    edit(trainer, "Width")->setText("7");
    edit(trainer, "Height")->setText("7");
    QTimer::singleShot(0, [&] { EXPECT_FALSE(trainer->close()); });
    click(trainer, "Start");
    ASSERT_FALSE(trainer.isNull());
    auto* line = trainer->findChild<QLabel*>("Step Line");
    ASSERT_NE(line, nullptr);
    EXPECT_TRUE(line->text().startsWith("Stopped at step 0 "));
    vx_gui_test::flush_deferred_deletes();
    EXPECT_TRUE(trainer.isNull());
}
