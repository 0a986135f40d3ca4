#pragma once

// "Analyse Image": the window in which the user works on one image whose
// bright (opening) and dark (closing) trees exist. It shows the analysis
// controller's display, writes the trees and the project, opens a scale
// browser per tree, edits and applies a bright and a dark object rule,
// lets the user edit the selection by hand and exports tables and images of
// the active regions.
//
// The dialog owns the controller and deletes it, after the scale browsers
// and before the sketch tools and the blob windows, when it goes; it always deletes itself when
// closed. Start names built from the image name take the stem and the
// extension from its file part, so a folder with a dot in its name stays
// whole. Every file dialog but those of the trees, the project and the
// rules starts from the dialog's own paths in the working directory; Cancel
// writes nothing. Targets that cannot be written are reported with a
// pop-up. GUI thread only.

#include <QPointer>
#include <QString>
#include <memory>

#include "gui/foundation/open_work.h"
#include "gui/foundation/vx_base_dialog.h"

class QLabel;
class QLineEdit;
class QPushButton;
class VxBasePaths;
class VxDrawRegion;
class VxEditDialog;
class qimage_frame;
class vx_analyse_control;
class vx_analyse_scales;
struct region_tree;

class vx_analyse_main_dialog : public VxBaseDialog {
    Q_OBJECT
public:
    // `control` has both trees and is taken over; its display frame is
    // made anew inside the dialog. `parent` also parents the scale
    // browsers. Prints "Setting up the Analyse Main Window".
    vx_analyse_main_dialog(VxBasePaths* paths, vx_analyse_control* control, QWidget* parent,
                           const char* name, int flags);
    ~vx_analyse_main_dialog() override;

public slots:
    // The text's whole number becomes the bright / dark scale count.
    void set_oscales(QString Input);
    void set_cscales(QString Input);
    // Both trees computed anew on this thread from the controller's working
    // image; the scale browsers, which show the old trees, go first.
    void compute_trees();
    // "Quit": the dialog, and with it the controller, goes.
    void quit_analyse();
    // Writes the opening tree to the name in its field.
    void write_opening_tree();
    void set_write_opening_tree(QString Input);
    // Asks for a tree file; the answer goes into the field and is written.
    void write_opening_tree_dialog();
    void write_closing_tree();
    void set_write_closing_tree(QString Input);
    void write_closing_tree_dialog();
    // Shows the tree's scale browser, made on first use; nothing without
    // the tree.
    void analyse_bright();
    void analyse_dark();
    // Regions <-> contours; the button names the mode a click switches to.
    void switch_display_mode();
    void invert_display();
    // The display frame's view into the result name.
    void write_result_image();
    // Asks for the result name, then write_result_image().
    void write_result_image_dialog();
    void set_write_result_image(QString Input);
    // "Apply Query": the editor's rule saved to its file when the text
    // changed, then applied. A text that does not parse is neither saved nor
    // applied, so the file keeps the rule that ran last; a text that cannot
    // be saved is not applied; a rule whose run fails keeps the selection;
    // each shows a pop-up with the reason. Beside the button the dialog
    // shows how many regions of the polarity are selected.
    void apply_bright_objects_rule();
    void clear_bright_objects();
    // The attribute table of the active regions; none refuses with a pop-up.
    void write_bright_objects_table_dialog();
    void set_write_bright_objects_results(QString Input);
    void apply_dark_objects_rule();
    void clear_dark_objects();
    void write_dark_objects_table_dialog();
    void set_write_dark_objects_results(QString Input);
    // Does nothing.
    void load_bright_object_rule();
    // Asks for a rule file ("*.rule") and loads it into the bright editor,
    // which makes it the bright rule.
    void load_bright_object_rule_dialog();
    // The editor's file becomes the controller's rule file.
    void set_load_bright_object_rule(QString Input);
    // The controller's dark rule file read into the dark editor.
    void load_dark_object_rule();
    void load_dark_object_rule_dialog();
    void set_load_dark_object_rule(QString Input);
    // The editor's text written to the controller's rule file.
    void write_bright_object_rule();
    void write_dark_object_rule();
    // Asks for a name (".rule" appended when missing), writes the editor's
    // text there and makes it the rule file.
    void write_bright_object_rule_dialog();
    void write_dark_object_rule_dialog();
    // "Write VXP": the project file (".vxp" added when missing), both trees
    // and their tables. Trees under the default names or outside the
    // project's folder are named after the project instead
    // ("<stem>.bright.tree", "<stem>.dark.tree" beside it), and the
    // tree-name fields follow; so does a rule editor on the default rule
    // file of the working folder, whose text is written beside the project
    // as "<stem>.bright.rule" / "<stem>.dark.rule" first. A rule that cannot
    // be written stops it (a pop-up tells).
    void writeProject();
    // The polarity's sketch tool, made on first use, with the active regions
    // as its sketch.
    void drawBrightRegionDialog();
    void drawDarkRegionDialog();
    // A rule a sketch tool exported: its update rule becomes the
    // controller's, the rule is loaded into that polarity's editor and so
    // becomes the rule the next "Apply Query" runs.
    void UpdateDarkRuleNames(QString qstQueryRule, QString qstUpdateRule);
    void UpdateBrightRuleNames(QString qstQueryRule, QString qstUpdateRule);
    void write_bright_regions();
    void write_dual_regions_dialog();
    void write_dual_closed_regions_dialog();
    void write_dark_regions();
    // The controller's region-list editor of that polarity.
    void edit_bright_selection();
    void edit_dark_selection();
    // A window of one ellipse per active region, made on first use.
    void show_bright_blobs();
    void show_dark_blobs();
    // Ctrl+S in a blob window: its view into a chosen file.
    void write_bright_blob_dialog();
    void write_dark_blob_dialog();

private:
    void makeLayout();
    // The image name's stem and extension, from its file part.
    QString imageStem() const;
    QString imageExtension() const;
    QString saveName(const char* filter, const QString& start, const char* caption);
    void writeTree(region_tree* tree, QLineEdit* field, const char* name);
    // Asks for a tree file; the answer goes into the field, then `write`.
    void treeDialog(QLineEdit* field, const char* caption, void (vx_analyse_main_dialog::*write)());
    void applyRule(bool bright);
    // The number of active regions of each polarity into its label.
    void showSelectedCounts();
    void tableExport(bool bright);
    // Region image exports: a warning first when `warnEmpty`; the image
    // name and `outputLines` times the start name printed; then the save
    // dialog and `write` of the chosen name.
    using RegionsExport = bool (vx_analyse_control::*)(const QString&);
    void regionsExport(const char* infix, const char* caption, bool warnEmpty, int outputLines,
                       RegionsExport write);
    void openRuleInto(VxEditDialog* editor, const char* caption);
    void writeRule(VxEditDialog* editor, const char* name);
    void saveRuleAs(VxEditDialog* editor, const char* current, const char* caption);
    // The editor's text written to the file, which becomes the editor's
    // and so the rule; false after the pop-up when it cannot be written.
    bool keepRuleIn(VxEditDialog* editor, QString file);
    // keepRuleIn(file) while the editor is on `defaultName` of the working
    // folder; true otherwise.
    bool ownRule(VxEditDialog* editor, const char* defaultName, const QString& file);
    // The field becomes `name` while it holds `defaultName` or a file
    // outside the folder of `project`.
    void ownTreeName(QLineEdit* field, const char* defaultName, const QString& name,
                     const QString& project);
    void openSketch(bool bright);
    void useSketchRule(VxEditDialog* editor, QString queryRule, const QString& updateRule);
    void showBlobs(bool bright);
    void writeBlobs(qimage_frame* frame, const char* caption);

    // Owned; the windows are made on first use. They go in the reverse order
    // of their declaration: the scale browsers, which show the controller's
    // trees, then the controller, the sketch tools and the blob windows. A
    // parent window of the browsers is the dialog's too and deletes the
    // dialog, its earlier child, first.
    std::unique_ptr<QWidget> brightBlobWindow;
    std::unique_ptr<QWidget> darkBlobWindow;
    std::unique_ptr<VxDrawRegion> brightSketch;
    std::unique_ptr<VxDrawRegion> darkSketch;
    std::unique_ptr<vx_analyse_control> control;
    std::unique_ptr<vx_analyse_scales> darkBrowser;
    std::unique_ptr<vx_analyse_scales> brightBrowser;
    QPushButton* modeButton = nullptr;
    QPointer<QWidget> parentWindow;
    QLabel* processingLabel = nullptr;
    QLabel* brightQueryLabel = nullptr;
    QLabel* darkQueryLabel = nullptr;
    QLabel* brightSelectedLabel = nullptr;
    QLabel* darkSelectedLabel = nullptr;
    QLineEdit* darkTreeField = nullptr;
    QLineEdit* brightTreeField = nullptr;
    VxEditDialog* brightRuleEditor = nullptr;
    VxEditDialog* darkRuleEditor = nullptr;
    qimage_frame* darkBlobFrame = nullptr;
    qimage_frame* brightBlobFrame = nullptr;
    // The analysis is open work until the dialog goes.
    VxOpenWork openAnalysis;
};
