#include "gui/shell/vx_main_window.h"

#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QStatusBar>
#include <cstdio>

#include "analyse/handles.h"
#include "analyse/rules/rule_file.h"
#include "filter/lMMS_Part.h"
#include "gui/analysis/sketch_help.h"
#include "gui/analysis/vx_analyse_control.h"
#include "gui/analysis/vx_analyse_main_dialog.h"
#include "gui/analysis/vx_draw_region.h"
#include "gui/analysis/vx_new_project_dialog.h"
#include "gui/foundation/dialog_service.h"
#include "gui/foundation/file_checks.h"
#include "gui/foundation/forms/form_widgets.h"
#include "gui/foundation/image_loading.h"
#include "gui/foundation/image_open_filter.h"
#include "gui/foundation/open_work.h"
#include "gui/foundation/qimage_frame.h"
#include "gui/foundation/screen_fit.h"
#include "gui/foundation/sofm/vx_gui_som.h"
#include "gui/foundation/text_files.h"
#include "gui/foundation/vx_base_paths.h"
#include "gui/foundation/vx_edit_dialog.h"
#include "gui/foundation/vx_message_popup.h"
#include "gui/foundation/window_flags.h"
#include "gui/repository/vx_browse_query_result.h"
#include "gui/repository/vx_browse_repository.h"
#include "gui/repository/vx_compare_labeled_repository_dialog.h"
#include "gui/repository/vx_compare_repository_tree_dialog.h"
#include "gui/repository/vx_init_labeled_repository_dialog.h"
#include "gui/repository/vx_new_repository_dialog.h"
#include "gui/repository/vx_query_repository_dialog.h"
#include "gui/shell/detail/about_window.h"
#include "gui/shell/detail/rules_help.h"
#include "imagecore/handles.h"
#include "imagecore/report.h"

namespace {

constexpr char default_update_rule[] =
    "DECLS:\n"
    " conv :=  (4 * area * 3.14176) /(pow((perimeter),2.0));\n"
    " areafraction := area / sons;\n"
    " bbrelation := aaxis/paxis;\n"
    " FDC := 5;\n"
    "#DECLS\n"
    "RULES:\n"
    "TD:\n"
    "#RULES\n";

// The update rule of this user, in Qt's per-user data folder of the
// program; empty when there is none.
QString user_update_rule()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return folder.isEmpty() ? QString() : folder + "/Attributes.rule";
}

bool parses_as_rule(const QString& file)
{
    return program_handle(parse_rule_file(QFile::encodeName(file).constData(), 1)) != nullptr;
}

// Shows the dialog, which goes with the window (finito()).
template <class Dialog>
Dialog* follow(vx_main_window* window, Dialog* dialog)
{
    QObject::connect(window, &vx_main_window::finito, dialog, &VxBaseDialog::destroyDialog);
    dialog->show();
    return dialog;
}

// A browser of that kind on a file chosen with the filter; it follows
// finito(). Null on Cancel and for a file it cannot read, which leaves it
// closed.
template <class Browser>
Browser* open_browser(vx_main_window* window, VxBasePaths* paths, const char* filter,
                      const char* caption, const char* name)
{
    const QString file = paths->getOpenFileNameWorkDir(QString::fromLatin1(filter), QString(),
                                                       QString::fromLatin1(caption));
    if (file.isEmpty())
        return nullptr;
    auto* browser = new Browser(paths, file, nullptr, name);
    return browser->loaded() ? follow(window, browser) : nullptr;
}

}  // namespace

vx_main_window::vx_main_window(QString applicationDirectory, QString workingDirectory,
                               QWidget* parent, const char* name)
    : QMainWindow(parent, vx_qt_window_flags(VX_DELETE_ON_CLOSE))
{
    vx_apply_close_flag(this, VX_DELETE_ON_CLOSE);
    setObjectName(QString::fromLatin1(name));

    // 1. Menus.
    makeMenus();

    // 2. The workspace.
    workspace = new QMdiArea(this);
    workspace->setBaseSize(400, 400);
    workspace->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    workspace->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(workspace);

    // 3. The shared paths.
    paths =
        new VxBasePaths(applicationDirectory, applicationDirectory + "/Attributes.rule", QString(),
                        workingDirectory, workingDirectory, workspace, "Global Base Paths", 0);
    paths->setMinimumSize(0, 0);

    // 4.-6. The update rule, its label and its editor.
    ensureUpdateRule();
    makeStatusBar();
    makeUpdateRuleEditor();
}

vx_main_window::~vx_main_window()
{
    emit finito();
    delete paths;
    delete updateRuleEditor;
    delete menu;
    delete workspace;
}

void vx_main_window::makeMenus()
{
    menu = menuBar();
    menu->setObjectName(QStringLiteral("Control Menu"));

    QMenu* image = menu->addMenu(QStringLiteral("Image"));
    image->setObjectName(QStringLiteral("Image"));
    vx_form::addMenuEntry(image, "create RAVAZ", Qt::CTRL | Qt::Key_N, this, &vx_main_window::new_project);
    vx_form::addMenuEntry(image, "load RAVAZ", Qt::CTRL | Qt::Key_O, this, &vx_main_window::load_project);
    vx_form::addMenuEntry(image, "Quit", Qt::CTRL | Qt::Key_Q, this, &vx_main_window::quitAsked);

    QMenu* repository = menu->addMenu(QStringLiteral("Image List"));
    repository->setObjectName(QStringLiteral("Repository"));
    vx_form::addMenuEntry(repository, "create Repository", Qt::CTRL | Qt::Key_R, this, &vx_main_window::create_repository);
    vx_form::addMenuEntry(repository, "load Repository", Qt::CTRL | Qt::Key_E, this, &vx_main_window::load_repository);
    vx_form::addMenuEntry(repository, "query Repository", Qt::CTRL | Qt::Key_Y, this, &vx_main_window::query_repository);
    vx_form::addMenuEntry(repository, "load Query Result", Qt::CTRL | Qt::Key_U, this, &vx_main_window::load_query_result);

    QMenu* groundTruth = menu->addMenu(QStringLiteral("Ground Truth"));
    groundTruth->setObjectName(QStringLiteral("Ground Truth"));
    vx_form::addMenuEntry(groundTruth, "mark Image Regions", Qt::CTRL | Qt::Key_W, this, &vx_main_window::draw_region_dialog);
    vx_form::addMenuEntry(groundTruth, "label Repository", Qt::CTRL | Qt::Key_S, this, &vx_main_window::classify_repository);

    QMenu* compare = menu->addMenu(QStringLiteral("Compare Repository"));
    compare->setObjectName(QStringLiteral("Compare Repository"));
    vx_form::addMenuEntry(compare, "pixelbased", Qt::CTRL | Qt::SHIFT | Qt::Key_P, this, &vx_main_window::compare_repository);
    vx_form::addMenuEntry(compare, "labeled", Qt::CTRL | Qt::SHIFT | Qt::Key_L, this, &vx_main_window::compare_labeled_repository);

    QMenu* analyse = menu->addMenu(QStringLiteral("Analyse"));
    analyse->setObjectName(QStringLiteral("Analyse"));
    vx_form::addMenuEntry(analyse, "SOFM", Qt::CTRL | Qt::Key_M, this, &vx_main_window::compute_sofm);

    QMenu* info = menu->addMenu(QStringLiteral("Info"));
    info->setObjectName(QStringLiteral("Info"));
    vx_form::addMenuEntry(info, "About", Qt::CTRL | Qt::Key_A, this, &vx_main_window::about_dialog);
    vx_form::addMenuEntry(info, "Rules", Qt::CTRL | Qt::Key_B, this, &vx_main_window::rules_howto);
    vx_form::addMenuEntry(info, "Sketches", Qt::CTRL | Qt::Key_C, this, &vx_main_window::sketches_howto);
}

void vx_main_window::ensureUpdateRule()
{
    if (vx_readable(QFile::encodeName(paths->UpdateRule()).constData(), true))
        return;
    // An installed program's folder takes no file: the user's own rule
    // serves, read as it is or written with the default.
    if (!vx_creatable(paths->UpdateRule())) {
        const QString own = user_update_rule();
        if (!own.isEmpty() && QDir().mkpath(QFileInfo(own).path())) {
            paths->UpdateRule(own);
            if (vx_readable(QFile::encodeName(own).constData()))
                return;
        }
    }
    writeDefaultUpdateRule();
}

void vx_main_window::writeDefaultUpdateRule()
{
    {
        VxMessagePopUp missing(VxMessagePopUp::notice, QStringLiteral("No Update Rule available"),
                               "Automatic generation of Update rule file:\n" + paths->UpdateRule());
        vx_dialogs().exec(missing);
    }
    vx_report("Trying to write generic file: %s\n",
              QFile::encodeName(paths->UpdateRule()).constData());
    while (!vx_write_text_file(paths->UpdateRule(), default_update_rule)) {
        VxMessagePopUp unwritable(VxMessagePopUp::notice,
                                  QStringLiteral("Could not generate generic update rule "),
                                  "Unable to open :\n" + paths->UpdateRule() +
                                      "\nPlease Provide valid save name,\n"
                                      "Check read/write permissions");
        vx_dialogs().show(unwritable);
        // Another name: an existing rule is used as it is, only a new name
        // gets the default rule.
        for (;;) {
            const QString chosen = paths->getSaveFileNameUpdateRule();
            if (chosen.isEmpty())
                return;
            if (!QFileInfo::exists(chosen))
                break;
            if (parses_as_rule(chosen))
                return;
            vx_message(QStringLiteral("Update rule not used"),
                       "This file is no rule file:\n" + chosen);
        }
    }
}

void vx_main_window::makeStatusBar()
{
    updateRuleLabel =
        new QLabel("Global dynamic feature Rule: " + paths->UpdateRule(), statusBar());
    updateRuleLabel->setObjectName(QStringLiteral("Update Rule Label"));
    connect(paths, &VxBasePaths::changedUpdateRule, updateRuleLabel, &QLabel::setText);
    statusBar()->addWidget(updateRuleLabel);

    auto* edit = new QPushButton(QStringLiteral("Edit Feature Rule"), statusBar());
    edit->setObjectName(QStringLiteral("Edit Basic Update Rule"));
    edit->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(edit, &QPushButton::clicked, this, &vx_main_window::modifyUpdateRule);
    statusBar()->addWidget(edit);
}

void vx_main_window::makeUpdateRuleEditor()
{
    updateRuleEditor =
        new VxEditDialog(paths, paths->UpdateRule(), nullptr, "Edit Global Update Rule", 1);
    updateRuleEditor->setWindowTitle(QStringLiteral("Edit global update rule"));
    connect(updateRuleEditor, &VxEditDialog::changedFile, updateRuleLabel, &QLabel::setText);
    connect(updateRuleEditor, &VxEditDialog::changedFile, this, &vx_main_window::setUpdateRule);
}

void vx_main_window::quit()
{
    deleteLater();
}

void vx_main_window::quitAsked()
{
    if (vx_may_end_session())
        quit();
}

void vx_main_window::closeEvent(QCloseEvent* event)
{
    if (!vx_may_end_session()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

void vx_main_window::new_project()
{
    auto* control = new vx_analyse_control("vx_analyse_control for new_project_dialog",
                                           MMS_REMOVE_NOISE, nullptr);
    newProjectDialog =
        follow(this, new vx_new_project_dialog(paths, control, nullptr, "New Project", 0));
    connect(newProjectDialog, &vx_new_project_dialog::computationDone, this,
            &vx_main_window::start_main_dialog);
}

void vx_main_window::load_project()
{
    const QString file =
        paths->getOpenFileNameWorkDir(QStringLiteral("Corvella Projects (*.vxp)"), QString(),
                                      QStringLiteral("Choose a Project to open"));
    if (file.isEmpty()) {
        vx_report("Canceled \n");
        return;
    }
    const QByteArray name = QFile::encodeName(file);
    vx_report("%s\n", name.constData());
    auto* control = new vx_analyse_control(
        name.constData(), "vx_analyse_control for load_project_dialog", MMS_REMOVE_NOISE, nullptr);
    if (!control->loaded()) {
        vx_message(QStringLiteral("Project not loaded"), control->loadFailure());
        delete control;
        return;
    }
    showAnalysis(control);
}

void vx_main_window::start_main_dialog(vx_analyse_control* control)
{
    // The display frame belongs to the closing dialog; the working image,
    // which letting it go drops, is kept.
    ::image* working = control->image() != nullptr ? create_copy_image(control->image()) : nullptr;
    control->display(nullptr);
    control->image(working);
    showAnalysis(control);
}

void vx_main_window::showAnalysis(vx_analyse_control* control)
{
    analysisDialog =
        follow(this, new vx_analyse_main_dialog(paths, control, nullptr, "Analyse Image", 0));
}

void vx_main_window::modifyUpdateRule()
{
    updateRuleEditor->resize(500, 600);
    updateRuleEditor->show();
}

void vx_main_window::setUpdateRule(const QString& stUpdateRule)
{
    paths->UpdateRule(stUpdateRule);
}

void vx_main_window::about_dialog()
{
    if (!aboutWindow)
        aboutWindow.reset(vx_make_about_window());
    aboutWindow->show();
}

void vx_main_window::showHelp(std::unique_ptr<QPlainTextEdit>& window, const QString& text)
{
    if (!window) {
        window = std::make_unique<QPlainTextEdit>();
        // Both help windows carry this name.
        window->setObjectName(QStringLiteral("Rules HOWTO"));
        window->setReadOnly(true);
        window->resize(800, 800);
        window->setPlainText(text);
        vx_fit_to_screen(window.get());
    }
    window->show();
}

void vx_main_window::rules_howto()
{
    showHelp(rulesHelp, vx_rules_help_text());
}

void vx_main_window::sketches_howto()
{
    showHelp(sketchesHelp, vx_sketch_help_text());
}

void vx_main_window::create_repository()
{
    newRepositoryDialog =
        follow(this, new vx_new_repository_dialog(paths, nullptr, "Create Repository"));
}

void vx_main_window::load_repository()
{
    if (auto* browser =
            open_browser<VxBrowseRepository>(this, paths, "Vx Repositories (*vxr)",
                                             "Select a repository to open", "Browse Repository"))
        repositoryBrowser = browser;
}

void vx_main_window::query_repository()
{
    queryDialog = follow(this, new VxQueryRepositoryDialog(paths, nullptr, "Query Repository", 0));
}

void vx_main_window::classify_repository()
{
    labelingSetupDialog = follow(
        this, new VxInitLabeledRepositoryDialog(paths, nullptr, "Init Labeled Repository", 0));
}

void vx_main_window::load_query_result()
{
    if (auto* browser =
            open_browser<VxBrowseQueryResult>(this, paths, "Vx Query Results (*vxq)",
                                              "Select a query result to open", "Query Result"))
        queryResultBrowser = browser;
}

void vx_main_window::compute_sofm()
{
    const QString file = vx_dialogs().openFileName(
        this, QStringLiteral("open file dialog"), QStringLiteral("Select Table or Som"), QString(),
        QStringLiteral("Table or SOM (*.csv *.som)"), false);
    if (!file.isEmpty())
        new VxGUISOM(file, QStringLiteral("SOM for"), nullptr, "SOMAnalysis");
}

void vx_main_window::draw_region_dialog()
{
    const QString caption = QStringLiteral("Choose an Image to sketch on");
    QString start = paths->WorkingDir();
    if (!start.endsWith('/'))
        start += '/';
    const QString file = vx_dialogs().openFileName(this, caption, caption, start,
                                                   vx_known_image_formats_filter(), true);
    if (file.isEmpty()) {
        vx_report("Canceled \n");
        return;
    }
    QString failure;
    const image_handle picture(vx_read_grey_image(file, VxGreyRule::GreyEuclidean, &failure));
    if (!picture) {
        vx_read_error(file, failure);
        return;
    }
    paths->WorkingDir(VxBasePaths::PathNamePart(file));
    const QString title = "Sketch: " + file;
    sketchTool = new VxDrawRegion(paths, picture.get(), nullptr,
                                  title.toLatin1().constData(), VX_DELETE_ON_CLOSE);
    // The title as chosen, also beyond Latin-1.
    sketchTool->setWindowTitle(title);
    sketchTool->setExportFileStem(VxBasePaths::PathNamePart(file) +
                                  VxBasePaths::truncateFormatPart(VxBasePaths::FileNamePart(file)));
    follow(this, sketchTool.data());
    sketchTool->findChild<qimage_frame*>(QStringLiteral("Draw Region Display Image"))
        ->fitDisplayFrame(100, sketchTool);
}

void vx_main_window::compare_labeled_repository()
{
    follow(this,
           new VxCompareLabeledRepositoryDialog(paths, nullptr, "Compare Labeled Repository"));
}

void vx_main_window::compare_repository()
{
    // Both comparisons carry this object name.
    follow(this, new VxCompareRepositoryTreeDialog(paths, nullptr, "Compare Labeled Repository"));
}
