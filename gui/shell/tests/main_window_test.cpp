#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <cstdio>
#include <map>
#include <vector>

#include "analyse/query/query_analysis.h"
#include "analyse/rules/rule_file.h"
#include "analyse/rules/rule_program.h"
#include "gui/analysis/tests/analysis_test_support.h"
#include "gui/analysis/vx_draw_region.h"
#include "gui/analysis/vx_new_project_dialog.h"
#include "gui/foundation/screen_fit.h"
#include "gui/foundation/vx_base_dialog.h"
#include "gui/foundation/vx_base_paths.h"
#include "gui/foundation/vx_edit_dialog.h"
#include "gui/foundation/window_flags.h"
#include "gui/repository/vx_compare_labeled_repository_dialog.h"
#include "gui/repository/vx_compare_repository_tree_dialog.h"
#include "gui/shell/detail/rules_help.h"
#include "gui/shell/vx_main_window.h"
#include "testsupport/gui/gui_test.h"
#include "testsupport/region_tree_builder.h"
#include "testsupport/vx_test.h"

using vx_gui_test::dialogs;

namespace {

const std::string default_rule =
    "DECLS:\n conv :=  (4 * area * 3.14176) /(pow((perimeter),2.0));\n areafraction := area / "
    "sons;\n bbrelation := aaxis/paxis;\n FDC := 5;\n#DECLS\nRULES:\nTD:\n#RULES\n";

class MainWindowTest : public ::testing::Test {
protected:
    // Qt's per-user folders lie in `user` during the test.
    MainWindowTest() { qputenv("XDG_DATA_HOME", QByteArray::fromStdString(user.path().string())); }
    ~MainWindowTest() override
    {
        if (previousDataHome.isNull())
            qunsetenv("XDG_DATA_HOME");
        else
            qputenv("XDG_DATA_HOME", previousDataHome);
    }

    const QByteArray previousDataHome = qgetenv("XDG_DATA_HOME");
    vx_test::TempDir app;
    vx_test::TempDir work;
    vx_test::TempDir user;

    QString appDir() const { return QString::fromStdString(app.path().string()); }
    QString rule() const { return appDir() + "/Attributes.rule"; }

    // A window over the application directory `directory`; its output on
    // standard output goes to `out`.
    vx_main_window* open(const QString& directory, std::string* out = nullptr)
    {
        testing::internal::CaptureStdout();
        auto* window = new vx_main_window(directory, QString::fromStdString(work.path().string()),
                                          nullptr, "Main Apllication Window");
        const std::string printed = testing::internal::GetCapturedStdout();
        if (out != nullptr)
            *out = printed;
        return window;
    }

    static QString statusText(vx_main_window* window)
    {
        return window->findChild<QLabel*>("Update Rule Label")->text();
    }
};

}  // namespace

TEST_F(MainWindowTest, AnExistingRuleIsKeptAndShown)
{
    vx_test::write_file(app.file("Attributes.rule"), "DECLS:\n a := 1;\n#DECLS\n");
    std::unique_ptr<vx_main_window> window(open(appDir()));
    EXPECT_TRUE(dialogs().requests().empty());
    EXPECT_EQ(vx_test::read_file(app.file("Attributes.rule")), "DECLS:\n a := 1;\n#DECLS\n");
    EXPECT_EQ(statusText(window.get()), "Global dynamic feature Rule: " + rule());
    EXPECT_TRUE(window->testAttribute(Qt::WA_DeleteOnClose));
    EXPECT_EQ(window->objectName(), "Main Apllication Window");

    auto* paths = window->findChild<VxBasePaths*>("Global Base Paths");
    ASSERT_NE(paths, nullptr);
    EXPECT_EQ(paths->MainApplicationPath(), appDir());
    EXPECT_EQ(paths->TmpDir(), "");
    EXPECT_EQ(paths->RulesDir(), QString::fromStdString(work.path().string()));
    EXPECT_EQ(paths->WorkingDir(), QString::fromStdString(work.path().string()));
    auto* workspace = qobject_cast<QMdiArea*>(window->centralWidget());
    ASSERT_NE(workspace, nullptr);
    EXPECT_EQ(workspace->baseSize(), QSize(400, 400));

    auto* editor =
        qobject_cast<VxEditDialog*>(vx_gui_test::top_level_widget("Edit Global Update Rule"));
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->windowTitle(), "Edit global update rule");
    EXPECT_EQ(editor->File(), rule());
    window->modifyUpdateRule();
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(editor->size(), QSize(500, 600));
}

TEST_F(MainWindowTest, AMissingRuleIsWrittenAfterThePopUp)
{
    dialogs().press("Acknowlege");
    std::string printed;
    std::unique_ptr<vx_main_window> window(open(appDir(), &printed));
    EXPECT_EQ(vx_test::read_file(app.file("Attributes.rule")), default_rule);
    EXPECT_EQ(default_rule.size(), 157u);
    EXPECT_NE(printed.find("Trying to write generic file: " + app.file("Attributes.rule") + "\n"),
              std::string::npos);
    ASSERT_EQ(dialogs().requests().size(), 1u);
    const VxDialogRequest& popUp = dialogs().requests()[0];
    EXPECT_EQ(popUp.kind, VxDialogRequest::Exec);
    EXPECT_EQ(popUp.title, "No Update Rule available");
    EXPECT_EQ(popUp.labels.value(1), "Automatic generation of Update rule file:\n" + rule());
    EXPECT_EQ(statusText(window.get()), "Global dynamic feature Rule: " + rule());
}

TEST_F(MainWindowTest, AnUnwritableFolderAsksForAnotherNameUntilCancel)
{
    // A folder that does not exist: root may write anywhere else. Neither
    // can the user's own folder be made.
    vx_test::write_file(user.file("plain"), "");
    qputenv("XDG_DATA_HOME", QByteArray::fromStdString(user.file("plain")));
    const QString missing = appDir() + "/missing";
    const QString chosen = QString::fromStdString(work.file("chosen.rule"));
    dialogs().press("Acknowlege");
    dialogs().answer(chosen);
    std::unique_ptr<vx_main_window> window(open(missing));
    EXPECT_EQ(vx_test::read_file(work.file("chosen.rule")), default_rule);
    EXPECT_EQ(statusText(window.get()), "Global dynamic feature Rule: " + chosen);
    ASSERT_EQ(dialogs().requests().size(), 3u);
    const VxDialogRequest& unwritable = dialogs().requests()[1];
    EXPECT_EQ(unwritable.kind, VxDialogRequest::Show);
    EXPECT_EQ(unwritable.title, "Could not generate generic update rule ");
    EXPECT_EQ(unwritable.labels.value(1), "Unable to open :\n" + missing +
                                              "/Attributes.rule\nPlease Provide valid save "
                                              "name,\nCheck read/write permissions");
    EXPECT_EQ(dialogs().requests()[2].objectName, "Save Update Rule");

    dialogs().clear();
    dialogs().press("Acknowlege");
    dialogs().answer(QString());
    std::unique_ptr<vx_main_window> cancelled(open(missing));
    EXPECT_EQ(dialogs().requests().size(), 3u);
    EXPECT_EQ(statusText(cancelled.get()),
              "Global dynamic feature Rule: " + missing + "/Attributes.rule");
    EXPECT_FALSE(QFile::exists(missing));
}

TEST_F(MainWindowTest, AnInstalledProgramKeepsItsRuleInTheUsersFolder)
{
    // The program's folder takes no file: the user's own rule is written
    // once, without asking for a name, and read at the next start.
    const QString installed = appDir() + "/missing";
    const std::string own = user.file("gui_shell_tests/Attributes.rule");
    dialogs().press("Acknowlege");
    std::unique_ptr<vx_main_window> first(open(installed));
    EXPECT_EQ(vx_test::read_file(own), default_rule);
    ASSERT_EQ(dialogs().requests().size(), 1u);
    EXPECT_EQ(dialogs().requests()[0].labels.value(1),
              "Automatic generation of Update rule file:\n" + vx_gui_test::q(own));
    EXPECT_EQ(statusText(first.get()), "Global dynamic feature Rule: " + vx_gui_test::q(own));

    dialogs().clear();
    vx_test::write_file(own, "DECLS:\n a := 1;\n#DECLS\n");
    std::unique_ptr<vx_main_window> second(open(installed));
    EXPECT_TRUE(dialogs().requests().empty());
    EXPECT_EQ(vx_test::read_file(own), "DECLS:\n a := 1;\n#DECLS\n");
    EXPECT_EQ(second->findChild<VxBasePaths*>("Global Base Paths")->UpdateRule(),
              vx_gui_test::q(own));
    EXPECT_FALSE(QFile::exists(installed));
}

TEST_F(MainWindowTest, AChosenRuleThatParsesIsUsedAsItIs)
{
    vx_test::write_file(user.file("plain"), "");
    qputenv("XDG_DATA_HOME", QByteArray::fromStdString(user.file("plain")));
    const std::string custom = "DECLS:\n a := area * 2;\n#DECLS\n";
    vx_test::write_file(work.file("custom.rule"), custom);
    vx_test::write_file(work.file("notes.rule"), "no rule at all");
    dialogs().press("Acknowlege");
    dialogs().answer(vx_gui_test::q(work.file("notes.rule")));
    dialogs().press("Acknowlege");
    dialogs().answer(vx_gui_test::q(work.file("custom.rule")));
    std::unique_ptr<vx_main_window> window(open(appDir() + "/missing"));
    EXPECT_EQ(vx_test::read_file(work.file("custom.rule")), custom);
    EXPECT_EQ(vx_test::read_file(work.file("notes.rule")), "no rule at all");
    ASSERT_EQ(dialogs().requests().size(), 5u);
    EXPECT_FALSE(dialogs().requests()[2].confirmReplace);
    EXPECT_EQ(dialogs().requests()[3].title, "Update rule not used");
    EXPECT_EQ(statusText(window.get()),
              "Global dynamic feature Rule: " + vx_gui_test::q(work.file("custom.rule")));
}

TEST_F(MainWindowTest, TheLabelFollowsTheRuleAndItsEditor)
{
    vx_test::write_file(app.file("Attributes.rule"), default_rule);
    vx_test::write_file(work.file("other.rule"), "RULES:\n#RULES\n");
    std::unique_ptr<vx_main_window> window(open(appDir()));
    auto* paths = window->findChild<VxBasePaths*>("Global Base Paths");

    window->setUpdateRule("/rules/x.rule");
    EXPECT_EQ(statusText(window.get()), "/rules/x.rule");
    EXPECT_EQ(paths->UpdateRule(), "/rules/x.rule");

    auto* editor = vx_gui_test::top_level_widget("Edit Global Update Rule");
    auto* line = editor->findChild<QLineEdit*>("VxEditdialog Filename Editor");
    line->setText(QString::fromStdString(work.file("other.rule")));
    QTest::keyClick(line, Qt::Key_Return);
    EXPECT_EQ(statusText(window.get()), QString::fromStdString(work.file("other.rule")));
    EXPECT_EQ(paths->UpdateRule(), QString::fromStdString(work.file("other.rule")));
}

TEST_F(MainWindowTest, MenusCarryTheirNamesAndShortcuts)
{
    vx_test::write_file(app.file("Attributes.rule"), default_rule);
    QPointer<vx_main_window> window = open(appDir());
    EXPECT_EQ(window->menuBar()->objectName(), "Control Menu");
    QStringList entries;
    for (QMenu* menu : window->menuBar()->findChildren<QMenu*>()) {
        EXPECT_EQ(menu->objectName(),
                  menu->title() == "Image List" ? QString("Repository") : menu->title());
        for (QAction* action : menu->actions())
            entries << menu->title() + " > " + action->text() + " " + action->shortcut().toString();
    }
    EXPECT_EQ(
        entries,
        QStringList(
            {"Image > create RAVAZ Ctrl+N", "Image > load RAVAZ Ctrl+O", "Image > Quit Ctrl+Q",
             "Image List > create Repository Ctrl+R", "Image List > load Repository Ctrl+E",
             "Image List > query Repository Ctrl+Y", "Image List > load Query Result Ctrl+U",
             "Ground Truth > mark Image Regions Ctrl+W", "Ground Truth > label Repository Ctrl+S",
             "Compare Repository > pixelbased Ctrl+Shift+P",
             "Compare Repository > labeled Ctrl+Shift+L", "Analyse > SOFM Ctrl+M",
             "Info > About Ctrl+A", "Info > Rules Ctrl+B", "Info > Sketches Ctrl+C"}));

    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    QTest::keyClick(window, Qt::Key_B, Qt::ControlModifier);
    EXPECT_NE(vx_gui_test::top_level_widget("Rules HOWTO"), nullptr);
    QTest::keyClick(window, Qt::Key_Q, Qt::ControlModifier);
    vx_gui_test::flush_deferred_deletes();
    EXPECT_TRUE(window.isNull());
    EXPECT_EQ(vx_gui_test::top_level_widget("Rules HOWTO"), nullptr);
}

TEST_F(MainWindowTest, CtrlROpensANewRepositoryDialogThatFollowsFinito)
{
    vx_test::write_file(app.file("Attributes.rule"), default_rule);
    QPointer<vx_main_window> window = open(appDir());
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    QTest::keyClick(window, Qt::Key_R, Qt::ControlModifier);
    QPointer<QWidget> dialog = vx_gui_test::top_level_widget("Create Repository");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), "Create New Repository");
    EXPECT_TRUE(dialog->isVisible());
    window->quit();
    vx_gui_test::flush_deferred_deletes();
    vx_gui_test::flush_deferred_deletes();
    EXPECT_TRUE(window.isNull());
    EXPECT_TRUE(dialog.isNull());
}

TEST_F(MainWindowTest, CompareEntriesOpenTheirDialogsThatFollowFinito)
{
    vx_test::write_file(app.file("Attributes.rule"), default_rule);
    QPointer<vx_main_window> window = open(appDir());
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    QTest::keyClick(window, Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClick(window, Qt::Key_L, Qt::ControlModifier | Qt::ShiftModifier);
    QPointer<QWidget> trees, labels;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() != "Compare Labeled Repository" || !widget->isVisible())
            continue;
        if (qobject_cast<VxCompareRepositoryTreeDialog*>(widget) != nullptr)
            trees = widget;
        if (qobject_cast<VxCompareLabeledRepositoryDialog*>(widget) != nullptr)
            labels = widget;
    }
    ASSERT_FALSE(trees.isNull());
    ASSERT_FALSE(labels.isNull());
    window->quit();
    vx_gui_test::flush_deferred_deletes();
    vx_gui_test::flush_deferred_deletes();
    EXPECT_TRUE(window.isNull());
    EXPECT_TRUE(trees.isNull());
    EXPECT_TRUE(labels.isNull());
}

namespace {

// The window's title; a window without one by its name and first line.
QString describe(QWidget* window)
{
    if (!window->windowTitle().isEmpty())
        return window->windowTitle();
    if (auto* text = qobject_cast<QPlainTextEdit*>(window))
        return window->objectName() + ": " + text->toPlainText().section('\n', 0, 0);
    auto* label = window->findChild<QLabel*>();
    return label != nullptr ? label->text().section('\n', 1, 1).trimmed() : QString();
}

}  // namespace

TEST_F(MainWindowTest, EveryEntryOpensItsWindowAndCancelledChoosersNone)
{
    vx_test::write_file(app.file("Attributes.rule"), default_rule);
    QPointer<vx_main_window> window = open(appDir());
    // What each entry opens; nothing for the choosers, which are cancelled.
    const std::map<QString, QString> opens = {
        {"create RAVAZ", "Create RAVAZ"},
        {"load RAVAZ", ""},
        {"create Repository", "Create New Repository"},
        {"load Repository", ""},
        {"query Repository", "Query Repository"},
        {"load Query Result", ""},
        {"mark Image Regions", ""},
        {"label Repository", "Init Labeled Repository"},
        {"pixelbased", "Compare Repository to GT"},
        {"labeled", "Compare Labeled Repository to GT"},
        {"SOFM", ""},
        {"About", "Vx Analyse"},
        {"Rules", "Rules HOWTO: RULES HOWTO"},
        {"Sketches", "Rules HOWTO: HOWTO: Sketch Regions"},
    };
    std::vector<QPointer<QWidget>> opened;
    for (QAction* action : window->menuBar()->findChildren<QAction*>()) {
        if (action->menu() != nullptr || action->text() == "Quit")
            continue;
        const auto expected = opens.find(action->text());
        ASSERT_NE(expected, opens.end()) << action->text().toStdString();
        if (expected->second.isEmpty())
            dialogs().answer(QString());
        const QWidgetList before = QApplication::topLevelWidgets();
        vx_test::printed_by([action] { action->trigger(); });
        QStringList shown;
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (!before.contains(widget) && widget->isVisible()) {
                shown << describe(widget);
                opened.emplace_back(widget);
            }
        EXPECT_EQ(shown.join('|'), expected->second) << action->text().toStdString();
    }
    EXPECT_EQ(opened.size(), 9u);
    EXPECT_EQ(dialogs().answersLeft(), 0);

    window->quit();
    vx_gui_test::flush_deferred_deletes();
    vx_gui_test::flush_deferred_deletes();
    for (const QPointer<QWidget>& widget : opened)
        EXPECT_TRUE(widget.isNull());
}

TEST_F(MainWindowTest, DialogsFollowingFinitoAreGoneAfterTheWindow)
{
    vx_test::write_file(app.file("Attributes.rule"), default_rule);
    QPointer<vx_main_window> window = open(appDir());
    auto* paths = window->findChild<VxBasePaths*>("Global Base Paths");
    QPointer<VxBaseDialog> first = new VxBaseDialog(paths, nullptr, "First", 0);
    QPointer<VxBaseDialog> second = new VxBaseDialog(paths, nullptr, "Second", VX_DELETE_ON_CLOSE);
    QObject::connect(window, &vx_main_window::finito, first, &VxBaseDialog::destroyDialog);
    QObject::connect(window, &vx_main_window::finito, second, &VxBaseDialog::destroyDialog);
    QPointer<QWidget> editor = vx_gui_test::top_level_widget("Edit Global Update Rule");
    first->show();
    second->show();

    window->quit();
    EXPECT_FALSE(window.isNull());
    vx_gui_test::flush_deferred_deletes();
    vx_gui_test::flush_deferred_deletes();
    EXPECT_TRUE(window.isNull());
    EXPECT_TRUE(editor.isNull());
    EXPECT_TRUE(first.isNull());
    EXPECT_TRUE(second.isNull());
}

TEST_F(MainWindowTest, CreateRavazOpensNewProjectDialogsAndStartTheAnalysisDialog)
{
    vx_test::write_file(app.file("Attributes.rule"), default_rule);
    QPointer<vx_main_window> window = open(appDir());
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    QTest::keyClick(window, Qt::Key_N, Qt::ControlModifier);
    QPointer<vx_new_project_dialog> first =
        qobject_cast<vx_new_project_dialog*>(vx_gui_test::top_level_widget("New Project"));
    ASSERT_FALSE(first.isNull());
    EXPECT_EQ(first->windowTitle(), "Create RAVAZ");
    window->new_project();
    QPointer<QWidget> second;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->objectName() == "New Project" && widget != first)
            second = widget;
    ASSERT_FALSE(second.isNull());

    // A new update rule reaches the open dialogs' computations.
    vx_test::write_file(work.file("other.rule"), default_rule);
    window->setUpdateRule(QString::fromStdString(work.file("other.rule")));
    ASSERT_TRUE(analysis_test::square_on_black().save(QString::fromStdString(work.file("p.png"))));
    dialogs().answer(QString::fromStdString(work.file("p.png")));
    QSignalSpy done(first.data(), &vx_new_project_dialog::computationDone);
    vx_test::printed_by([&] {
        QTest::mouseClick(first->findChild<QPushButton*>("Infiledialog"), Qt::LeftButton);
        QTest::mouseClick(first->findChild<QPushButton*>("Start"), Qt::LeftButton);
    });
    ASSERT_EQ(done.count(), 1);
    QPointer<vx_analyse_control> kept = done[0][0].value<vx_analyse_control*>();
    vx_gui_test::flush_deferred_deletes();
    EXPECT_TRUE(first.isNull());
    ASSERT_FALSE(kept.isNull());
    EXPECT_EQ(kept->updaterule(), work.file("other.rule"));
    QPointer<QWidget> analysis = vx_gui_test::top_level_widget("Analyse Image");
    ASSERT_FALSE(analysis.isNull());
    EXPECT_TRUE(analysis->isVisible());
    EXPECT_EQ(analysis->windowTitle(),
              "Analyse Image " + QString::fromStdString(work.file("p.png")));
    EXPECT_EQ(kept->pdisplay()->window(), analysis);
    QWidget* controls = vx_window_content(analysis);
    EXPECT_NE(kept->image(), nullptr);
    EXPECT_NE(kept->openingtree(), nullptr);
    QStringList labels;
    for (QLabel* label : controls->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly))
        labels << label->text();
    EXPECT_EQ(labels.mid(0, 3),
              QStringList({"Processing: " + QString::fromStdString(work.file("p.png")),
                           "Bright Scales: 2", "Dark Scales: 2"}));
    EXPECT_TRUE(labels.contains("Bright Objects Query Rule"));
    EXPECT_TRUE(labels.contains("Dark Objects Query"));
    QStringList fields;
    for (QLineEdit* field :
         controls->findChildren<QLineEdit*>(QString(), Qt::FindDirectChildrenOnly))
        fields << field->text();
    EXPECT_EQ(fields, QStringList({"corvella.bright.tree", "corvella.dark.tree"}));
    QStringList buttons;
    for (QPushButton* button :
         controls->findChildren<QPushButton*>(QString(), Qt::FindDirectChildrenOnly))
        buttons << button->text();
    EXPECT_EQ(buttons.join('|'),
              "Quit|Write|Write|Browse Bright|Browse Dark|Write VXP|Draw Bright|Draw Dark|"
              "Save Image|Contours|"
              "Export Bright Table|Export Bright Regions|Edit Bright Selection|Bright Blobs|"
              "Export Regions|Export wo Gaps|Export Dark Table|Export Dark Regions|"
              "Edit Dark Selection|Dark Blobs|Apply Query|Clear|Apply Query|Clear");

    // The other dialog, the analysis dialog and its controller go with the
    // window.
    window->quit();
    vx_gui_test::flush_deferred_deletes();
    vx_gui_test::flush_deferred_deletes();
    EXPECT_TRUE(window.isNull());
    EXPECT_TRUE(second.isNull());
    EXPECT_TRUE(analysis.isNull());
    EXPECT_TRUE(kept.isNull());
}

TEST_F(MainWindowTest, CtrlWOpensTheSketchToolOnAChosenImageUnlessCancelled)
{
    vx_test::write_file(app.file("Attributes.rule"), default_rule);
    QPointer<vx_main_window> window = open(appDir());
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    dialogs().answer(QString());
    const std::string cancelled =
        vx_test::printed_by([&] { QTest::keyClick(window, Qt::Key_W, Qt::ControlModifier); });
    EXPECT_EQ(cancelled.substr(cancelled.size() - 10), "Canceled \n");

    const QString image = QString::fromStdString(work.file("p.q.png"));
    ASSERT_TRUE(analysis_test::square_on_black().save(image));
    dialogs().answer(image);
    vx_test::printed_by([&] { QTest::keyClick(window, Qt::Key_W, Qt::ControlModifier); });
    EXPECT_TRUE(dialogs().requests().back().imagePreview);
    EXPECT_TRUE(dialogs().requests().back().filter.startsWith("Images ("));
    QPointer<VxDrawRegion> tool;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* sketch = qobject_cast<VxDrawRegion*>(widget))
            tool = sketch;
    ASSERT_FALSE(tool.isNull());
    EXPECT_EQ(tool->windowTitle(), "Sketch: " + image);
    EXPECT_TRUE(tool->isVisible());
    EXPECT_TRUE(tool->testAttribute(Qt::WA_DeleteOnClose));
    EXPECT_EQ(window->findChild<VxBasePaths*>("Global Base Paths")->WorkingDir(),
              QString::fromStdString(work.path().string()) + "/");
    dialogs().answer(QString());
    tool->exportSketch();
    EXPECT_EQ(dialogs().requests().back().startPath,
              QString::fromStdString(work.file("p.q.sketch.png")));

    window->quit();
    vx_test::printed_by([] {
        vx_gui_test::flush_deferred_deletes();
        vx_gui_test::flush_deferred_deletes();
    });
    EXPECT_TRUE(tool.isNull());
}

TEST(RulesHelp, EverySampleParses)
{
    const QString help = vx_rules_help_text();
    for (const char* part : {"DECLS:", "#DECLS", "RULES:", "TD:", "BU:", "FDs:", "NNIV:", "#RULES",
                             "IF", "FOR", "FDC := <value>"})
        EXPECT_TRUE(help.contains(part)) << part;
    vx_test::TempDir dir;
    const QStringList samples = vx_rules_help_samples();
    ASSERT_EQ(samples.size(), 4);
    for (const QString& sample : samples) {
        EXPECT_TRUE(help.contains(sample));
        vx_test::write_file(dir.file("sample.rule"), sample.toStdString());
        testing::internal::CaptureStdout();
        program* parsed = parse_rule_file(dir.file("sample.rule").c_str(), 64);
        const std::string printed = testing::internal::GetCapturedStdout();
        EXPECT_NE(parsed, nullptr) << sample.toStdString() << printed;
        EXPECT_EQ(printed.find("Unrecognized"), std::string::npos) << printed;
        if (parsed != nullptr)
            delete_program(parsed);
    }
}

TEST(RulesHelp, TheFourierSampleAcceptsATracedDiscAndNoSquare)
{
    vx_test::TempDir dir;
    vx_test::write_file(dir.file("round.rule"), vx_rules_help_samples()[2].toStdString());
    const region_tree_handle disc(vx_test::traced_disc(64, 64, 32, 32, 20));
    const region_tree_handle square(vx_test::traced_region(
        64, 64, [](int x, int y) { return x >= 12 && x < 52 && y >= 12 && y < 52; }));
    const image_handle grey(create_image(64, 64, 0));
    vx_test::printed_by([&] {
        EXPECT_EQ(file_based_query_analysis(dir.file("round.rule").c_str(), disc.get(), grey.get()),
                  1);
        EXPECT_EQ(
            file_based_query_analysis(dir.file("round.rule").c_str(), square.get(), grey.get()), 0);
    });
}

TEST(Numbers, StayInTheCLocaleWhateverTheEnvironment)
{
    char text[16];
    std::snprintf(text, sizeof text, "%.2f", 3.25);
    EXPECT_STREQ(text, "3.25");
    EXPECT_DOUBLE_EQ(QString("0.5").toDouble(), 0.5);
}
