#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include "gui/foundation/open_work.h"
#include "gui/foundation/thumbnails/vx_image_button.h"
#include "gui/repository/tests/browser_test_support.h"
#include "gui/repository/tests/repository_io_test_support.h"
#include "gui/repository/vx_query_repository_dialog.h"
#include "testsupport/full_disk.h"

using browser_test::q;
using vx_gui_test::dialogs;

namespace {

// Per query of a result line "<image>, 1, <hits>,<id> ,<id> , 2, ...": its
// hits and the number of ids listed.
std::vector<std::pair<int, int>> hits_of(const std::string& record)
{
    std::vector<std::string> fields;
    std::istringstream in(record);
    for (std::string field; std::getline(in, field, ',');)
        fields.push_back(field);
    std::vector<std::pair<int, int>> hits;
    for (size_t i = 1; i + 1 < fields.size();) {
        const int count = std::stoi(fields[i + 1]);
        int ids = 0;
        for (i += 2; i < fields.size() && fields[i].back() == ' '; ++i)
            ++ids;
        hits.emplace_back(count, ids);
    }
    return hits;
}

class QueryDialog : public browser_test::StoredRepository {
protected:
    QPointer<VxQueryRepositoryDialog> dialog =
        new VxQueryRepositoryDialog(&paths, nullptr, "Query Repository", 0);
    std::string vxq = pictures.dir.file("query.vxq");

    QueryDialog()
    {
        dialog->show();
        edit("Repository Filename")->setText(q(vxr));
        edit("Resultfilename")->setText(q(vxq));
        edit("Destination Path")->setText(q(results));
        edit("Update Rule")->setText(q(update));
    }
    ~QueryDialog() override
    {
        delete dialog;
        while (QWidget* browser = browser_test::window_titled("Browse Query Result"))
            delete browser;
    }

    QLineEdit* edit(const char* name) const { return dialog->findChild<QLineEdit*>(name); }
    QTreeWidget* rows() const { return dialog->findChild<QTreeWidget*>("Selected Query Rules"); }
    QString mode(int row) const { return rows()->topLevelItem(row)->text(0); }
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
    void clickCell(int row, int column, Qt::MouseButton button) const
    {
        const QRect rect = rows()->visualItemRect(rows()->topLevelItem(row));
        const QPoint at(rows()->header()->sectionViewportPosition(column) + 4, rect.center().y());
        QTest::mouseClick(rows()->viewport(), button, {}, at);
    }
    // Exec Query with PNG chosen for the result images.
    std::string run() const
    {
        dialogs().answer(repository_io_test::choose("PNG"));
        return vx_test::printed_by([this] { click("Exec Query"); });
    }
};

}  // namespace

TEST_F(QueryDialog, ARunWritesItsHeaderARecordPerImageAndATableThenOpensItsBrowser)
{
    addRow(brightRule);
    addRow(darkRule);
    clickCell(1, 0, Qt::LeftButton);
    dialogs().answer(repository_io_test::cancel());
    vx_test::printed_by([this] { click("Exec Query"); });
    EXPECT_FALSE(std::filesystem::exists(vxq)) << "no format, no run";

    EXPECT_NE(run().find("Query[0] Mode 1\nQuery[1] Mode 2\n"), std::string::npos);
    const std::string text = vx_test::read_file(vxq);
    EXPECT_EQ(text.rfind("Classification from ", 0), 0u);
    const std::string header = "for Repository\n" + vxr + "\nImages at\n" + results +
                               "\nNumberOfClasses: 3\nIrrelevant\n" + brightRule + ", Mode 1\n" +
                               darkRule + ", Mode 2\nImages: 2\n";
    ASSERT_NE(text.find(header), std::string::npos) << text;
    const std::vector<std::string> lines = vx_test::lines_of(text);
    ASSERT_EQ(lines.size(), 11u);
    for (int i = 0; i < 2; ++i) {
        const std::string image = results + "/queryresult.img" + std::to_string(i) + ".png";
        EXPECT_EQ(lines[9 + i].rfind(image + ", 1, ", 0), 0u) << lines[9 + i];
        EXPECT_TRUE(std::filesystem::exists(image));
        const std::vector<std::pair<int, int>> hits = hits_of(lines[9 + i]);
        ASSERT_EQ(hits.size(), 2u) << lines[9 + i];
        EXPECT_GT(hits[0].first + hits[1].first, 0);
        EXPECT_EQ(hits[0].first, hits[0].second);
        EXPECT_EQ(hits[1].first, hits[1].second);
    }
    EXPECT_TRUE(std::filesystem::exists(vxq + ".csv"));

    // "No Table": the next run writes none, and its browser replaces the
    // first.
    QPointer<QWidget> first = browser_test::window_titled("Browse Query Result: " + q(vxq));
    ASSERT_NE(first, nullptr);
    click("Write Table");
    edit("Resultfilename")->setText(q(vxq + "2.vxq"));
    run();
    vx_gui_test::flush_deferred_deletes();
    EXPECT_TRUE(first.isNull());
    EXPECT_NE(browser_test::window_titled("Browse Query Result: " + q(vxq + "2.vxq")), nullptr);
    EXPECT_FALSE(std::filesystem::exists(vxq + "2.vxq.csv"));
}

TEST_F(QueryDialog, TheFormatIsAskedBeforeTheRunTurnsBusy)
{
    addRow(brightRule);
    QPushButton* exec = dialog->findChild<QPushButton*>("Start Query");
    bool usableWhileAsked = false;
    dialogs().answer([&](QDialog& chooser) {
        usableWhileAsked = exec->isEnabled() && edit("Resultfilename")->isEnabled() &&
                           QApplication::activeModalWidget() != dialog;
        return repository_io_test::cancel()(chooser);
    });
    vx_test::printed_by([this] { click("Exec Query"); });
    EXPECT_TRUE(usableWhileAsked);
    EXPECT_TRUE(exec->isEnabled());
    EXPECT_FALSE(std::filesystem::exists(vxq));

    // The run itself is busy: modal, its form disabled, open work.
    bool busy = false;
    dialogs().answer([&](QDialog& chooser) {
        QTimer::singleShot(0, [&] {
            busy =
                QApplication::activeModalWidget() == dialog && !exec->isEnabled() && vx_work_open();
        });
        return repository_io_test::choose("PNG")(chooser);
    });
    vx_test::printed_by([this] { click("Exec Query"); });
    EXPECT_TRUE(busy);
    EXPECT_TRUE(exec->isEnabled());
    EXPECT_TRUE(std::filesystem::exists(vxq));
}

TEST_F(QueryDialog, RefusesARunItCannotDoWithAPopUpAndWritesNothing)
{
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
    EXPECT_TRUE(dialogs().requests()[0].labels.join(' ').contains("No query rule"));
    EXPECT_EQ(dialogs().requests()[2].title, "!!Write Error!!");
    EXPECT_TRUE(std::filesystem::is_empty(results));
}

TEST_F(QueryDialog, ResultImagesThatCannotBeWrittenGetOnePopUpAndStayAsTheyWere)
{
    addRow(brightRule);
    click("Write Table");
    std::vector<std::string> images;
    for (const char* stem : {"img0", "regions.img0", "img1", "regions.img1"}) {
        images.push_back(results + "/queryresult." + stem + ".bmp");
        vx_test::write_file(images.back(), "older");
    }
    dialogs().clear();
    dialogs().answer(repository_io_test::choose("BMP"));
    dialogs().press("Acknowlege");
    {
        // The result file takes its lines, no picture of 24 x 20 BMP pixels
        // fits. What the run prints is not captured: the capture's file
        // would be cut by the limit too.
        const vx_test::FileSizeLimit full(1024);
        click("Exec Query");
    }
    std::vector<QStringList> popUps;
    for (const VxDialogRequest& request : dialogs().requests())
        if (request.title == "!!Write Error!!")
            popUps.push_back(request.labels);
    ASSERT_EQ(popUps.size(), 1u);
    EXPECT_TRUE(
        popUps[0].join(' ').contains("Unable to write 4 files, the first of them\n" + q(images[0])))
        << popUps[0].join(' ').toStdString();
    for (const std::string& image : images)
        EXPECT_EQ(vx_test::read_file(image), "older") << image;
    EXPECT_EQ(vx_test::lines_of(vx_test::read_file(vxq)).size(), 10u);
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
    clickCell(0, 0, Qt::LeftButton);
    EXPECT_EQ(mode(0), "Dark");
    clickCell(0, 0, Qt::LeftButton);
    EXPECT_EQ(mode(0), "Bright");

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
    addRow(brightRule);
    addRow(darkRule);
    clickCell(1, 0, Qt::LeftButton);
    const std::string query = pictures.dir.file("run");
    for (const char* button : {"Save Query", "Load Query", "Save Rule"}) {
        dialogs().answer(QString());
        click(button);
    }
    dialogs().answer(q(query + ".missing"));
    dialogs().press("Acknowlege");
    click("Load Query");
    EXPECT_EQ(rows()->topLevelItemCount(), 2);
    EXPECT_EQ(edit("Repository Filename")->text(), q(vxr));

    dialogs().answer(q(query));
    click("Save Query");
    EXPECT_EQ(vx_test::read_file(query + ".query"),
              "Repository: " + vxr + "\nResultFile: " + vxq + "\nResultPath: " + results +
                  "\nUpdateRule: " + update + "\nNumQueries: 2\n" + brightRule + ", Bright\n" +
                  darkRule + ", Dark\n");
    dialogs().answer(q(query + ".query"));
    vx_test::printed_by([this] { click("Load Query"); });
    ASSERT_EQ(rows()->topLevelItemCount(), 4);
    EXPECT_EQ(mode(2) + mode(3), "BrightDark");

    // The editor's text under a new name becomes a new row; an unwritable
    // name gets a pop-up and no row.
    dialogs().answer(q(pictures.dir.file("copy")));
    click("Save Rule");
    EXPECT_EQ(rows()->topLevelItemCount(), 5);
    dialogs().answer(q(pictures.dir.file("nowhere/copy.rule")));
    dialogs().press("Acknowlege");
    click("Save Rule");
    EXPECT_EQ(rows()->topLevelItemCount(), 5);
}

TEST_F(QueryDialog, LoadQueryOfAForeignOrCutFileLeavesTheFormAsItWas)
{
    addRow(brightRule);
    const std::string query = pictures.dir.file("bad.query");
    const std::string settings =
        "Repository: r.vxr\nResultFile: r.vxq\nResultPath: out\n"
        "UpdateRule: u.rule\n";
    for (const std::string& text :
         {std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16),
          settings + "NumQueries: 3\na.rule, Dark\n", settings + "NumQueries: 1\n, Dark\n",
          "Repository r.vxr\n" + settings}) {
        vx_test::write_file(query, text);
        dialogs().answer(q(query));
        dialogs().press("Acknowlege");
        vx_test::printed_by([this] { click("Load Query"); });
        EXPECT_EQ(dialogs().requests().back().title, "Could not read query parameters");
        EXPECT_EQ(edit("Repository Filename")->text(), q(vxr));
        EXPECT_EQ(edit("Update Rule")->text(), q(update));
        EXPECT_EQ(rows()->topLevelItemCount(), 1);
        EXPECT_EQ(label(), q(brightRule));
    }

    // A long one: its rows after the one there is, the last in the editor,
    // the list no taller than ten rows.
    std::string text = settings + "NumQueries: 30\n";
    for (int i = 0; i < 30; ++i)
        text += (i < 29 ? brightRule : darkRule) + (i % 2 == 0 ? ", Bright\n" : ", Dark\n");
    vx_test::write_file(query, text);
    dialogs().answer(q(query));
    vx_test::printed_by([this] { click("Load Query"); });
    ASSERT_EQ(rows()->topLevelItemCount(), 31);
    EXPECT_EQ(mode(1) + mode(2) + mode(30), "BrightDarkDark");
    EXPECT_EQ(label(), q(darkRule));
    EXPECT_EQ(edit("Query Rule")->text(), q(darkRule));
    EXPECT_EQ(edit("Update Rule")->text(), "u.rule");
    EXPECT_LE(rows()->height(), 48 + 10 * rows()->sizeHintForRow(0));
}

TEST_F(QueryDialog, ARuleSelectingEveryRegionOfANoisyPictureListsThemAll)
{
    QImage noise(256, 256, QImage::Format_Grayscale8);
    std::srand(5);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
            noise.setPixel(x, y, 0x010101u * static_cast<unsigned>(std::rand() % 256));
    ASSERT_TRUE(noise.save(q(pictures.images + "/noise.png")));
    auto repository = pictures.repository(0, {"noise.png"});
    vx_test::compute_trees(*repository, 2);
    ASSERT_EQ(repository->WriteRepository(vxr.c_str()), 1);
    vx_test::write_file(brightRule, "RULES:\nTD: area > 0\nBU: area > 0\n#RULES\n");

    addRow(brightRule);
    run();
    const std::vector<std::string> lines = vx_test::lines_of(vx_test::read_file(vxq));
    ASSERT_EQ(lines.size(), 9u);
    const std::vector<std::pair<int, int>> hits = hits_of(lines.back());
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_GT(hits[0].first, 2000);
    EXPECT_EQ(hits[0].first, hits[0].second) << "every hit listed";
    EXPECT_GT(lines.back().size(), 8196u) << "longer than a line of a fixed reader";
    QWidget* browser = browser_test::window_titled("Browse Query Result: ");
    ASSERT_NE(browser, nullptr);
    EXPECT_TRUE(browser->findChild<VxImageButton*>()->toolTip().endsWith(
        "; Regions " + QString::number(hits[0].first) + "\n"));
}
