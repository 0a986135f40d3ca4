#pragma once

// The application's top-level window. It owns the application-wide paths
// object ("Global Base Paths") and the editor of the update rule, makes sure
// an update rule file exists, shows the rule in its status bar, and opens
// the tools from its menus. It deletes itself when closed or on quit();
// its destructor first emits finito(), which every dialog opened from a
// menu follows by destroying itself.

#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <memory>

#include "gui/vxgui_export.h"

class QCloseEvent;
class QLabel;
class QMdiArea;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class VxBasePaths;
class VxBrowseQueryResult;
class VxBrowseRepository;
class VxDrawRegion;
class VxEditDialog;
class VxInitLabeledRepositoryDialog;
class VxQueryRepositoryDialog;
class vx_analyse_control;
class vx_analyse_main_dialog;
class vx_new_project_dialog;
class vx_new_repository_dialog;

class VXGUI_EXPORT vx_main_window : public QMainWindow {
    Q_OBJECT
public:
    // The application directory holds the update rule "Attributes.rule";
    // the working directory is where the rules and work file dialogs start.
    vx_main_window(QString applicationDirectory, QString workingDirectory, QWidget* parent,
                   const char* name);
    ~vx_main_window() override;

signals:
    void finito();

public slots:
    // Deletes the window once control is back in the event loop. The "Quit"
    // entry and closing the window ask first while work is open
    // (open_work.h).
    void quit();
    // "create RAVAZ": a new analysis in a new-project dialog.
    void new_project();
    // "load RAVAZ": asks for a project file (".vxp") and opens its analysis
    // in an analysis dialog. A project whose files cannot be read gives a
    // pop-up and no dialog.
    void load_project();
    // Opens the analysis dialog on the controller (taken over), whose
    // display frame belongs to the closing new-project dialog.
    void start_main_dialog(vx_analyse_control* control);
    void about_dialog();
    void modifyUpdateRule();
    void setUpdateRule(const QString& stUpdateRule);
    // The help windows of the rule language and of the sketch tool, made on
    // first use.
    void rules_howto();
    void sketches_howto();
    // Opens a new-repository dialog, which follows finito().
    void create_repository();
    // A chosen ".vxr" file in a repository browser, a chosen ".vxq" file in
    // a query-result browser, and the query dialog; each follows finito().
    void load_repository();
    void query_repository();
    void load_query_result();
    // Opens the set-up dialog of a labelling, which follows finito().
    void classify_repository();
    // Asks for a table or a map and opens the SOFM trainer on it; the
    // trainer lives on its own (it does not follow finito()).
    void compute_sofm();
    // "mark Image Regions": the sketch tool on a chosen image in grey; it
    // follows finito().
    void draw_region_dialog();
    // Open the ground-truth comparisons of a labelled repository and of a
    // repository's trees, which follow finito().
    void compare_labeled_repository();
    void compare_repository();

protected:
    // Refused when the user keeps the session.
    void closeEvent(QCloseEvent* event) override;

private:
    // "Quit": quit() unless the user keeps the session.
    void quitAsked();
    void makeMenus();
    // Makes sure an update rule file is there. The application folder's
    // rule when it can be read; else, when that folder takes no file (an
    // installed program), the user's own rule in Qt's per-user data folder,
    // read as it is or written with the default rule; else the default rule
    // is written into the application folder.
    void ensureUpdateRule();
    // Writes the default rule to the paths' update rule after a pop-up; while
    // that fails, asks for another name. A chosen file that exists and parses
    // is used as it is; one that does not parse is refused with a pop-up;
    // a new name gets the default rule. Cancel gives up.
    void writeDefaultUpdateRule();
    void makeStatusBar();
    void makeUpdateRuleEditor();
    // The analysis dialog on the controller, following finito().
    void showAnalysis(vx_analyse_control* control);
    static void showHelp(std::unique_ptr<QPlainTextEdit>& window, const QString& text);

    // The destructor deletes these four by hand, after finito(), in the
    // shutdown order: the paths, the update-rule editor (a window of its
    // own), the menu bar, the workspace. Qt would take its children in
    // another order.
    QMdiArea* workspace = nullptr;
    QMenuBar* menu = nullptr;
    VxBasePaths* paths = nullptr;
    VxEditDialog* updateRuleEditor = nullptr;
    QLabel* updateRuleLabel = nullptr;
    std::unique_ptr<QWidget> aboutWindow;
    std::unique_ptr<QPlainTextEdit> rulesHelp;
    std::unique_ptr<QPlainTextEdit> sketchesHelp;
    // The last window opened of each kind.
    QPointer<vx_analyse_main_dialog> analysisDialog;
    QPointer<vx_new_project_dialog> newProjectDialog;
    QPointer<vx_new_repository_dialog> newRepositoryDialog;
    QPointer<VxQueryRepositoryDialog> queryDialog;
    QPointer<VxInitLabeledRepositoryDialog> labelingSetupDialog;
    QPointer<VxBrowseRepository> repositoryBrowser;
    QPointer<VxBrowseQueryResult> queryResultBrowser;
    QPointer<VxDrawRegion> sketchTool;
};
