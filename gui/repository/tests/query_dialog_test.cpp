#include <gtest/gtest.h>

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "gui/analysis/vx_main_window.h"
#include "gui/foundation/thumbnails/vx_image_button.h"
#include "gui/repository/tests/browser_test_support.h"
#include "gui/repository/tests/repository_io_test_support.h"
#include "gui/repository/vx_query_repository_dialog.h"

using browser_test::q;
using vx_gui_test::dialogs;

namespace {

class QueryDialog : public browser_test::StoredRepository {
protected:
    QPointer<VxQueryRepositoryDialog> dialog =
        new VxQueryRepositoryDialog(&paths, nullptr, "Query Repository", 0);
    std::string vxq = pictures.dir.file("query.vxq");

    QueryDialog() { dialog->show(); }

    ~QueryDialog() override
    {
        delete dialog;
        for (QWidget* window = browser_test::window_titled("Browse Query Result"); window;
             window = browser_test::window_titled("Browse Query Result"))
            delete window;
    }

    QLineEdit* edit(const char* name) const { return dialog->findChild<QLineEdit*>(name); }
    QTreeWidget* rows() const { return dialog->findChild<QTreeWidget*>("Selected Query Rules"); }
    QString label() const { return dialog->findChild<QLabel*>("Edit Rule Label")->text(); }
    QString editor() const
    {
        return dialog->findChild<QPlainTextEdit*>("Rule Editor")->toPlainText();
    }
    void click(const QString& text) const
    {
        for (QPushButton* button : dialog->findChildren<QPushButton*>())
            if (button->text() == text)
                return button->click();
        ADD_FAILURE() << "no button " << text.toStdString();
    }
    void addRow(const std::string& rule) const
    {
        edit("Query Rule")->setText(q(rule));
        QTest::keyClick(edit("Query Rule"), Qt::Key_Return);
    }
    // A click of the mouse button on the cell.
    void clickCell(int row, int column, Qt::MouseButton button) const
    {
        const QRect rect = rows()->visualItemRect(rows()->topLevelItem(row));
        const QPoint at(rows()->header()->sectionViewportPosition(column) + 4, rect.center().y());
        QTest::mouseClick(rows()->viewport(), button, {}, at);
    }
    void fill(const std::string& destination) const
    {
        edit("Repository Filename")->setText(q(vxr));
        edit("Resultfilename")->setText(q(vxq));
        edit("Destination Path")->setText(q(destination));
        edit("Update Rule")->setText(q(update));
    }
    // Exec Query with PNG chosen for the result images.
    std::string run() const
    {
        dialogs().answer(repository_io_test::choose("PNG"));
        return vx_test::printed_by([this] { click("Exec Query"); });
    }
};

}  // namespace

TEST_F(QueryDialog, ARunWritesTheHeaderAndARecordPerImageAndOpensItsBrowser)
{
    fill(results);
    addRow(brightRule);
    addRow(darkRule);
    clickCell(1, 0, Qt::LeftButton);
    ASSERT_EQ(rows()->topLevelItem(1)->text(0), "Dark");
    const std::string printed = run();
    EXPECT_NE(printed.find("Query[0] Mode 1\nQuery[1] Mode 2\n"), std::string::npos);
    EXPECT_NE(printed.find("Exported Query into " + vxq + "\n"), std::string::npos);

    const std::vector<std::string> lines = vx_test::lines_of(vx_test::read_file(vxq));
    ASSERT_EQ(lines.size(), 11u);
    EXPECT_EQ(lines[0].rfind("Classification from ", 0), 0u);
    EXPECT_EQ(lines[0].substr(lines[0].size() - 15), " for Repository");
    const std::vector<std::string> header(lines.begin() + 1, lines.begin() + 8);
    EXPECT_EQ(header, std::vector<std::string>({vxr, "Images at", results, "NumberOfClasses: 3",
                                                "Irrelevant", brightRule + ", Mode 1",
                                                darkRule + ", Mode 2"}));
    EXPECT_EQ(lines[8], "Images: 2");
    for (int i = 0; i < 2; ++i) {
        // "<result image>, 1, <hits>,<id> ,<id> ..., 2, <hits>,<id> ..."
        const std::string& record = lines[9 + i];
        const std::string image = results + "/queryresult.img" + std::to_string(i) + ".png";
        ASSERT_EQ(record.rfind(image + ", 1, ", 0), 0u) << record;
        const size_t dark = record.find(", 2, ");
        ASSERT_NE(dark, std::string::npos) << record;
        const int brightHits = std::stoi(record.substr(image.size() + 5));
        const int darkHits = std::stoi(record.substr(dark + 5));
        EXPECT_GT(brightHits + darkHits, 0);
        EXPECT_EQ(std::count(record.begin(), record.end(), ' '), 4 + brightHits + darkHits)
            << record;
        EXPECT_TRUE(std::filesystem::exists(image));
    }
    const std::string table = vx_test::read_file(vxq + ".csv");
    EXPECT_EQ(table.rfind("RegionID;Imagename; Classname;", 0), 0u) << table.substr(0, 40);

    QPointer<QWidget> first = browser_test::window_titled("Browse Query Result: " + q(vxq));
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->isVisible());
    run();
    vx_gui_test::flush_deferred_deletes();
    EXPECT_TRUE(first.isNull()) << "the second run closes the first browser";
    EXPECT_NE(browser_test::window_titled("Browse Query Result: "), nullptr);
}

TEST_F(QueryDialog, NoTableAndACancelledFormatWriteNoTable)
{
    fill(results);
    addRow(brightRule);
    dialogs().answer(repository_io_test::cancel());
    vx_test::printed_by([this] { click("Exec Query"); });
    EXPECT_FALSE(std::filesystem::exists(vxq));

    click("Write Table");
    EXPECT_NE(dialog->findChild<QPushButton*>("Write Mode Selection"), nullptr);
    EXPECT_EQ(dialog->findChild<QPushButton*>("Write Mode Selection")->text(), "No Table");
    run();
    EXPECT_TRUE(std::filesystem::exists(vxq));
    EXPECT_FALSE(std::filesystem::exists(vxq + ".csv"));
}

TEST_F(QueryDialog, RefusesARunItCannotDoWithAPopUpAndWritesNothing)
{
    fill(results);
    dialogs().press("Acknowlege");
    click("Exec Query");  // no rows
    addRow(brightRule);
    edit("Destination Path")->setText(q(pictures.dir.file("nowhere")));
    dialogs().press("Acknowlege");
    click("Exec Query");
    edit("Destination Path")->setText(q(results));
    edit("Resultfilename")->setText(q(pictures.dir.file("nowhere/query.vxq")));
    dialogs().press("Acknowlege");
    click("Exec Query");
    ASSERT_EQ(dialogs().requests().size(), 3u);
    EXPECT_EQ(dialogs().requests()[0].labels.join(' ').contains("No query rule"), true);
    EXPECT_EQ(dialogs().requests()[2].title, "!!Write Error!!");
    EXPECT_FALSE(std::filesystem::exists(vxq));
    ASSERT_FALSE(dialog.isNull());
}

TEST_F(QueryDialog, RowsToggleTheirModeAndLeaveTheEditorEmptyWhenAllAreGone)
{
    addRow(brightRule);
    EXPECT_EQ(label(), q(brightRule));
    EXPECT_EQ(editor(), "RULES:\nTD: area > 3 && depth > 0\n#RULES\n");
    const int oneRow = rows()->height();
    addRow(darkRule);
    EXPECT_GT(rows()->height(), oneRow);
    clickCell(0, 1, Qt::LeftButton);  // the name: only edited
    EXPECT_EQ(label(), q(brightRule));
    EXPECT_EQ(rows()->topLevelItem(0)->text(0), "Bright");
    clickCell(0, 0, Qt::LeftButton);
    EXPECT_EQ(rows()->topLevelItem(0)->text(0), "Dark");
    clickCell(0, 0, Qt::LeftButton);
    EXPECT_EQ(rows()->topLevelItem(0)->text(0), "Bright");

    clickCell(1, 1, Qt::RightButton);
    EXPECT_EQ(rows()->height(), oneRow);
    EXPECT_EQ(label(), q(brightRule)) << "the row above";
    clickCell(0, 1, Qt::RightButton);
    EXPECT_EQ(rows()->topLevelItemCount(), 0);
    EXPECT_EQ(label(), "");
    EXPECT_EQ(editor(), "");
}

TEST_F(QueryDialog, SavesAndLoadsQueryFilesAndRulesOnlyWhenANameIsChosen)
{
    fill(results);
    addRow(brightRule);
    addRow(darkRule);
    clickCell(1, 0, Qt::LeftButton);
    const std::string query = pictures.dir.file("run");
    for (const char* button : {"Save Query", "Load Query", "Save Rule"}) {
        dialogs().answer(QString());
        click(button);
    }
    EXPECT_EQ(rows()->topLevelItemCount(), 2);
    EXPECT_FALSE(std::filesystem::exists(query + ".query"));

    dialogs().answer(q(query));
    click("Save Query");
    EXPECT_EQ(vx_test::read_file(query + ".query"),
              "Repository: " + vxr + "\nResultFile: " + vxq + "\nResultPath: " + results +
                  "\nUpdateRule: " + update + "\nNumQueries: 2\n" + brightRule + ", Bright\n" +
                  darkRule + ", Dark\n");
    dialogs().answer(q(query + ".missing"));
    dialogs().press("Acknowlege");
    click("Load Query");
    EXPECT_EQ(edit("Repository Filename")->text(), q(vxr));
    dialogs().answer(q(query + ".query"));
    vx_test::printed_by([this] { click("Load Query"); });
    ASSERT_EQ(rows()->topLevelItemCount(), 4);
    EXPECT_EQ(rows()->topLevelItem(2)->text(0), "Bright");
    EXPECT_EQ(rows()->topLevelItem(3)->text(0), "Dark");
    EXPECT_EQ(rows()->topLevelItem(3)->text(1), q(darkRule));

    // The editor's text under a new name becomes a new row; an unwritable
    // name gets a pop-up and no row.
    dialogs().answer(q(pictures.dir.file("copy")));
    click("Save Rule");
    EXPECT_EQ(rows()->topLevelItemCount(), 5);
    EXPECT_EQ(vx_test::read_file(pictures.dir.file("copy.rule")), "RULES:\nTD: area > 3\n#RULES\n");
    dialogs().answer(q(pictures.dir.file("nowhere/copy.rule")));
    dialogs().press("Acknowlege");
    click("Save Rule");
    EXPECT_EQ(rows()->topLevelItemCount(), 5);
}

TEST_F(QueryDialog, ARuleSelectingEveryRegionOfANoisyPictureListsThemAll)
{
    vx_test::TempDir noisy;
    std::filesystem::create_directory(noisy.file("images"));
    QImage picture(256, 256, QImage::Format_Grayscale8);
    std::srand(5);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) {
            const int grey = std::rand() % 256;
            picture.setPixel(x, y, qRgb(grey, grey, grey));
        }
    ASSERT_TRUE(picture.save(q(noisy.file("images/noise.png"))));
    char name[] = "noise.png";
    char* names[] = {name};
    {
        auto repository = vx_test::capturing_stdout([&] {
            return std::make_unique<QTVxRepository>(names, 1, noisy.path().c_str(),
                                                    noisy.file("images").c_str(), 0);
        });
        vx_test::compute_trees(*repository, 2);
        ASSERT_EQ(repository->WriteRepository(noisy.file("noise.vxr").c_str()), 1);
    }
    const std::string every = noisy.file("every.rule");
    vx_test::write_file(every, "RULES:\nTD: area > 0\nBU: area > 0\n#RULES\n");

    fill(results);
    edit("Repository Filename")->setText(q(noisy.file("noise.vxr")));
    addRow(every);
    run();
    const std::vector<std::string> lines = vx_test::lines_of(vx_test::read_file(vxq));
    ASSERT_EQ(lines.size(), 9u);
    const std::string& record = lines.back();
    const int hits = std::stoi(record.substr(record.find(", 1, ") + 5));
    EXPECT_GT(hits, 2000);
    EXPECT_GT(record.size(), 8196u) << "longer than a line of a fixed reader";
    EXPECT_EQ(std::count(record.begin(), record.end(), ','), 2 + hits) << "every hit listed";
    QWidget* browser = browser_test::window_titled("Browse Query Result: ");
    ASSERT_NE(browser, nullptr);
    EXPECT_TRUE(browser->findChild<VxImageButton*>()->toolTip().endsWith(
        "; Regions " + QString::number(hits) + "\n"));
}

using MainWindowImageList = browser_test::StoredRepository;

TEST_F(MainWindowImageList, OpensTheBrowsersAndTheQueryDialogThatFollowFinito)
{
    vx_test::write_file(pictures.dir.file("Attributes.rule"), "DECLS:\n#DECLS\n");
    const QString dir = q(pictures.dir.path().string());
    auto* window = vx_test::capturing_stdout(
        [&] { return new vx_main_window(dir, dir, nullptr, "Main Window"); });
    const auto entry = [window](const char* text) {
        for (QAction* action : window->findChildren<QAction*>())
            if (action->text() == QLatin1String(text))
                return action;
        return static_cast<QAction*>(nullptr);
    };
    ASSERT_NE(entry("load Repository"), nullptr);
    dialogs().answer(q(vxr));
    dialogs().answer(q(queryResult()));
    vx_test::printed_by([&] {
        entry("load Repository")->trigger();
        entry("load Query Result")->trigger();
    });
    EXPECT_EQ(dialogs().requests()[0].caption, "Select a repository to open");
    EXPECT_EQ(dialogs().requests()[1].filter, "Vx Query Results (*vxq)");
    entry("query Repository")->trigger();
    const QPointer<QWidget> windows[] = {
        browser_test::window_titled("Browse Repository: " + q(vxr)),
        browser_test::window_titled("Browse Query Result: "),
        browser_test::window_titled("Query Repository")};
    for (const QPointer<QWidget>& opened : windows) {
        ASSERT_NE(opened, nullptr);
        EXPECT_TRUE(opened->isVisible());
    }
    delete window;
    vx_gui_test::flush_deferred_deletes();
    for (const QPointer<QWidget>& opened : windows)
        EXPECT_TRUE(opened.isNull());
}
