#pragma once

// The analysis of one grey image: the image, its bright (opening, polarity
// 1) and dark (closing, polarity 2) region tree, the active regions of both
// (a dual_analyse record), the display frame that shows the image with the
// selection over it, and the names of every file of the analysis. Every
// window of the single-image analysis works through it. GUI thread only.
//
// Names are kept up to 499 characters; a setter given a longer one prints a
// message, keeps the old name and returns false.
//
// The displayed (output) image holds overlay code * 256 + grey per pixel.
// Its grey is the working image's value, or for an image with values
// outside 0..255 (16-bit grey) their min-max stretch onto 0..255
// (vx_display_grey); rules and tables see the working image's own values.
//
// Without trees (before a computation, after a failed load) the selection
// operations change nothing, and the regions images, exports, tables and
// contour files are empty. Operations that index an image by a tree's pixel
// positions do nothing when that image's size is not the tree's.

#include <QObject>
#include <QPointer>
#include <QString>
#include <string>

#include "analyse/display/dual_analyse.h"
#include "analyse/handles.h"
#include "automation/projects/project_names.h"
#include "imagecore/handles.h"

class QEvent;
class QLabel;
class QPoint;
class QTreeWidgetItem;
class QWidget;
class VxDualTreeProgress;
class qimage_frame;

class vx_analyse_control : public QObject {
    Q_OBJECT
public:
    // 1. A stored analysis from its nine files: the trees, the result image,
    //    the image, the bright and dark rules, the bright and dark contour
    //    files and the update rule. Reads the image into a display frame of
    //    its own (no parent), in Euclidean grey, and both trees, computing
    //    their attributes. See loaded().
    vx_analyse_control(const char* openingTree, const char* closingTree, const char* result,
                       const char* imageFile, const char* brightRule, const char* darkRule,
                       const char* brightResults, const char* darkResults, const char* updateRule,
                       const char* name, int treeMode, QObject* parent);
    // 2. The same with the nine names read from a project file (".vxp").
    vx_analyse_control(const char* projectFile, const char* name, int treeMode, QObject* parent);
    // 3. A new analysis of an image file (display frame of its own, no
    //    parent) with default names and the given scale counts. Writes the
    //    default update rule "Attributes.rule" into the current directory
    //    when none can be read there.
    vx_analyse_control(const char* imageFile, int oscales, int cscales, const char* name,
                       int treeMode, QObject* parent);
    // 4. A new, empty analysis: a 256 x 256 placeholder frame (no parent),
    //    image name "Unknown.png", 2 scales each.
    vx_analyse_control(const char* name, int treeMode, QObject* parent);
    // Frees images, trees and selection; deletes the display frame only
    // while it is one of the constructors' and has been given no parent.
    ~vx_analyse_control() override;

    // Constructors 1 and 2: whether the image and both trees were read (the
    // trees fitting the image). When not, the controller holds no trees and
    // loadFailure() names the file and the reason; the caller tells the
    // user and deletes the controller. Constructors 3 and 4: true.
    bool loaded() const { return loadFault.isEmpty(); }
    const QString& loadFailure() const { return loadFault; }
    // Whether an image file was read (constructors 1 to 3, load_image) into
    // a picture of at least one pixel; false for the placeholder.
    bool imageLoaded() const { return fileImage; }
    // True while compute_scale_progress runs.
    bool computing() const { return busy; }
    // Whether the last tree computation stopped because memory ran out: it
    // then kept nothing of its own and returned false.
    bool ranOutOfMemory() const { return memoryShort; }

    // ---- names ----
    const char* imagename() const { return names.image.c_str(); }
    // Also renames both contour files: "<name>.bright_object.contours" and
    // "<name>.dark_object.contours".
    bool imagename(const char* name);
    const char* resultname() const { return names.result.c_str(); }
    bool resultname(const char* name);
    const char* brightrulesname() const { return names.brightRule.c_str(); }
    bool brightrulesname(const char* name);
    const char* darkrulesname() const { return names.darkRule.c_str(); }
    bool darkrulesname(const char* name);
    const char* brightresultname() const { return names.brightResults.c_str(); }
    bool brightresultname(const char* name);
    const char* darkresultname() const { return names.darkResults.c_str(); }
    bool darkresultname(const char* name);
    const char* openingtreename() const { return names.openingTree.c_str(); }
    bool openingtreename(const char* name);
    const char* closingtreename() const { return names.closingTree.c_str(); }
    bool closingtreename(const char* name);
    const char* updaterule() const { return names.updateRule.c_str(); }
    bool setUpdateRule(const char* name);

    // ---- state ----
    int oscales() const { return brightScales; }
    void oscales(int n) { brightScales = n; }
    int cscales() const { return darkScales; }
    void cscales(int n) { darkScales = n; }
    // The fields themselves, for a widget that edits them in place.
    int* poscales() { return &brightScales; }
    int* pcscales() { return &darkScales; }
    // 1: active regions drawn filled; 0: as contours. exploremode is the
    // same field.
    int displaymode() const { return displayMode; }
    void displaymode(int mode) { displayMode = mode; }
    int exploremode() const { return displayMode; }
    void exploremode(int mode) { displayMode = mode; }
    int invert() const { return invertFlag; }
    void invert(int flag) { invertFlag = flag; }
    int generateTreeMode() const { return treeMode; }
    void generateTreeMode(int mode) { treeMode = mode; }

    // The trees, owned. The setters take the new tree over without freeing
    // the old one and leave the selection as it is.
    region_tree* openingtree() const { return brightTree; }
    void openingtree(region_tree* tree) { brightTree = tree; }
    region_tree* closingtree() const { return darkTree; }
    void closingtree(region_tree* tree) { darkTree = tree; }
    // The working image, owned: what the trees are computed from and rules
    // run on. The setter takes the new one over without freeing the old one.
    ::image* image() const { return working; }
    void image(::image* img);
    qimage_frame* pdisplay() const;

    // The selection: active regions by label, null entries inactive.
    ::dual_analyse* dual_analyse() const { return dual.get(); }
    tregionnode** opennodelist() const;
    tregionnode** closenodelist() const;
    // Bright / dark tree's regions + 1; 0 without trees.
    int onodelistsize() const { return brightListSize; }
    int cnodelistsize() const { return darkListSize; }
    int activeBrightNodes() const;
    int activeDarkNodes() const;

    // ---- image and display ----
    // The frame reads the file (an unreadable one leaves it empty);
    // working image := its picture, output := the working image's grey.
    void load_image(const char* file);
    // The same, but a file that no reader takes changes nothing: false, with
    // the reader's reason in `failure`.
    bool load_image(const char* file, QString& failure);
    // Takes img over as the working image; output := its grey; the frame,
    // when there is one, shows a copy of it and display() runs.
    void update_image(::image* img);
    // frame not null: working image := a copy of its image, and it becomes
    // the display frame (the previous one is deleted). Null: no working
    // image and no display frame (the previous one stays with its parent).
    void display(qimage_frame* frame);
    // Emits displayVxAnalyseControl(), redraws the frame and, with a
    // selection, sets its tool tip "<n> Bright Regions\n<m> Dark Regions".
    void display();
    // A new display frame in `parent` over the output image's pixels
    // (borrowed: later changes of the output show at the next redraw); the
    // previous frame is deleted. Without a working image, it becomes a copy
    // of the output.
    qimage_frame* init_display(QWidget* parent);
    // Emits close_edit_selections(), recomputes the overlay codes, writes the
    // output (filled in display mode 1, contours in mode 0) and display().
    void dva_update_output();

    // ---- tree computation ----
    // Both trees from the frame's current image (once trees exist, from the
    // working image, since the frame shows the selection over it), with oscales bright and
    // cscales dark scales (each in a partition of its own scale count); then
    // renumbered, their attributes computed with the update rule, and an
    // empty selection. The old trees and selection go first. False (no trees)
    // when nothing could be computed, and while a computation runs. An
    // update rule that cannot be read or does not parse is found before
    // anything changes, and a run of it that fails drops the new trees:
    // both return false with ruleFailure() set. Memory that runs out stops
    // them the same way, with ranOutOfMemory().
    bool compute_scales();
    // The same on two worker threads (vx_analyse_compute_tree), bright and
    // dark at once, while this thread polls them every 100 ms, moves the
    // bars of `progress` (may be null) and lets pending events run, which
    // the caller makes safe by a busy window (busy_window.h). `label` is not
    // used. A call made while one runs (from such an event) returns false
    // at once.
    bool compute_scale_progress(VxDualTreeProgress* progress, QLabel* label);

    // ---- selection ----
    // The bright rule's hits become the bright active regions. A rule file
    // that cannot be read changes nothing and returns true; one that does
    // not parse, or whose run fails, keeps the selection and returns false
    // (ruleFailure() tells why).
    bool apply_open_rule();
    bool apply_close_rule();
    // Why the last rule of this controller failed, for a pop-up: a query
    // above, or the update rule of a tree computation ("The update rule",
    // its file, and that it cannot be read, does not parse or failed while
    // it ran, with the reason). Empty after one that succeeded. A load that
    // fails over the update rule says so in loadFailure().
    const QString& ruleFailure() const { return ruleFault; }
    // No active region of that polarity; the output is redrawn.
    void clear_open_objects();
    void clear_close_objects();
    // A new image of the output's size: 0, and 257 + k over the k-th
    // active region (k from 0 in label order). Freed by the caller.
    ::image* bright_regions_image() const;
    ::image* dark_regions_image() const;

    // ---- files ----
    // Each returns whether the file was written; a failure shows the
    // "!!Write Error!!" pop-up naming the file and leaves an older file
    // whole.
    // One CSV row per active region of that polarity, after the header.
    bool write_bright_result_table(const QString& file);
    bool write_dark_result_table(const QString& file);
    // The contour file under the bright / dark result name: per active
    // region "<k>, <length>, " and "(<x>, <y>) " per outer contour pixel.
    bool write_bright_result_contours();
    bool write_dark_result_contours();
    // The project file, both tree files and their attribute tables
    // ("<tree name>.csv"). Nothing is written when a target cannot be
    // created or there are no trees (a pop-up tells). The project file is
    // written last, so a write that fails (the pop-up names the file) leaves
    // an old project file whole. The trees keep their labels, selection and
    // attribute values.
    bool writeProject(const char* file);

public slots:
    bool updaterule(const char* name) { return setUpdateRule(name); }
    bool setUpdateRule(const QString& name);
    // The polarity's regions image, values up to 255 grey and the regions
    // in scrambled colours; the format follows the name.
    bool export_dark_result_regions(const QString& qstFilename);
    bool export_bright_result_regions(const QString& qstFilename);
    // One filled ellipse per active region into dest (erased first).
    void draw_bright_blobs(::image* ptiDest);
    void draw_dark_blobs(::image* ptiDest);
    // 254 where either polarity has an active region, 0 elsewhere.
    bool export_dual_regions(const QString& qstFilename);
    // The same with gaps of one pixel between active regions closed.
    bool export_dual_closed_regions(const QString& qstFilename);

    // ---- region-list editor ----
    // A window listing the active regions of one polarity (1 bright, 2
    // dark), one row each: "Index" (from 1), "Region" (the label) and
    // "Selection" ("delete" while kept). It works on an edit copy of the
    // selection; the editor of that polarity opened before, and its copy,
    // go. Clicking a row's "Selection" toggles it ("show" once dropped) and
    // shows the edit copy; clicking elsewhere in a row, or making it the
    // current row, also highlights its region. "Accept" makes the copy the
    // polarity's active regions and deletes the window after the click;
    // closing the window otherwise shows the controller's own selection
    // again. Every dva_update_output closes the editors. Without trees, or
    // with another mode, nothing happens.
    void edit_selection(int iMode);
    // A click in the bright / dark editor's list (the button is not used).
    void BrightRegionSelected(int iButton, QTreeWidgetItem* qlvItem, const QPoint& qpCoord,
                              int iColumn);
    void DarkRegionSelected(int iButton, QTreeWidgetItem* qlvItem, const QPoint& qpCoord,
                            int iColumn);
    // The row became the current one: as a click on its "Region".
    void ShowBrightRegionSelected(QTreeWidgetItem* qlvItem);
    void ShowDarkRegionSelected(QTreeWidgetItem* qlvItem);
    // Column 2 toggles the row's region between src (the active regions)
    // and dest (an editor's edit copy of them); columns 0 and 1 highlight
    // it while it is kept. Null items, and a dest that is no open editor's
    // copy, change nothing.
    void RegionSelected(QTreeWidgetItem* qlvItem, int iColumn, tregionnode** pptnSrcNodelist,
                        tregionnode** pptnDestNodelist);
    // "Accept" of the bright / dark editor.
    void bright_list_view_selection();
    void dark_list_view_selection();

signals:
    // Declared for progress reporting; the controller emits none of them.
    void progressStepBrightThread(int);
    void progressStepDarkThread(int);
    void progressTextBrightThread(const QString&);
    void progressTextDarkThread(const QString&);
    // At the start of every dva_update_output.
    void close_edit_selections();
    // At every display().
    void displayVxAnalyseControl();

protected:
    // Notices an editor closed without "Accept".
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // One polarity's region-list editor: its window, the edit copy it
    // works on, and whether the copy is what the output shows.
    struct SelectionEditor {
        QPointer<QWidget> window;
        record_handle<::dual_analyse, delete_dual_analyse> copy;
        bool shown = false;
    };

    // Defaults of a new analysis (constructors 3 and 4).
    void initNewAnalysis(const char* result, const char* imageFile, const char* name, int treeMode);
    // Constructors 1 and 2 once the names are set; readStoredAnalysis up to
    // memory that runs out.
    void loadStoredAnalysis();
    void readStoredAnalysis();
    // Prints why loading failed, when it did.
    void reportLoadFault() const;
    bool setName(std::string& field, const char* name);
    // Working image := img (the old one freed by takeWorking only), and the
    // stretch of its grey renewed.
    void setWorking(::image* img);
    void takeWorking(::image* img);
    // Working image := a copy of the frame's picture; output renewed.
    void takeFramePicture();
    // The grey of the output: the stretched copy or the working image.
    ::image* grey() const;
    // output := a copy of grey(); a frame that shows the output's pixels is
    // moved on to the new ones.
    void renewOutput();
    void ownFrame(qimage_frame* frame);
    // Prints that the operation is ignored while a computation runs.
    bool refusedWhileBusy(const char* operation) const;
    // The trees and their empty selection; memory that runs out on the
    // way frees them and changes nothing.
    void adoptTrees(region_tree_handle bright, region_tree_handle dark);
    void dropTreesAndSelection();
    // The overlay codes and the output of the active regions, and display();
    // dva_update_output without closing the editors.
    void redrawSelection();
    // The editor whose edit copy's array of that polarity is `edited`, with
    // the array's length; null when none.
    SelectionEditor* editorOf(tregionnode** edited, int* size);
    // The editor's edit copy drawn into the output, filled.
    void showEdits(SelectionEditor& editor);
    // The region's pixels in the output take the highlight value.
    void highlight(const tregionnode* node);
    void acceptEdits(SelectionEditor& editor, tregionnode** active, int size);
    void dropEditors();
    // Before (a picture to compute from, images renewed, old trees gone)
    // and after both trees are built (null: failed). Memory that runs out
    // sets memoryShort.
    bool prepareComputation();
    bool finishComputation(region_tree_handle bright, region_tree_handle dark);
    bool applyRule(const std::string& rule, region_tree* tree, tregionnode** active, int size);
    // `what` ("The rule"), the rule file and the fault, one per line.
    static QString ruleFaultText(const char* what, const std::string& rule, const QString& fault);
    // Why the update rule cannot be used, as ruleFaultText; empty when it can.
    QString updateRuleFault() const;
    // The attributes of both trees by the update rule; the reason, as
    // ruleFaultText, when a run fails.
    QString updateAttributes(region_tree* bright, region_tree* dark);
    static void clearActive(tregionnode** active, int size);
    static int active_count(tregionnode* const* active, int size);
    static bool fits(const region_tree* tree, const ::image* img);
    static ::image* picture_copy(const ::image* src);
    ::image* regionsImage(tregionnode* const* active, int size) const;
    bool exportRegions(const QString& file, tregionnode* const* active, int size);
    ::image* dualRegionsImage() const;
    void drawBlobs(::image* dest, region_tree* tree, tregionnode** active);
    bool writeTable(const QString& file, region_tree* tree, tregionnode** active, int size);
    bool writeContours(const std::string& file, region_tree* tree, tregionnode** active, int size);
    // The trees, their tables, then the project; the file that could not
    // be written, empty when all were.
    QString writeProjectFiles(const QString& file);

    vx_project_names names;
    int brightScales = 2;
    int darkScales = 2;
    int displayMode = 0;
    int invertFlag = 0;
    int treeMode = 0;
    region_tree* brightTree = nullptr;
    region_tree* darkTree = nullptr;
    ::image* working = nullptr;
    image_handle output;
    // The output's grey when the working image has values outside 0..255.
    image_handle stretchedGrey;
    QPointer<qimage_frame> displayFrame;
    // The frame was made by a constructor (no parent).
    bool ownsFrame = false;
    int brightListSize = 0;
    int darkListSize = 0;
    record_handle<::dual_analyse, delete_dual_analyse> dual;
    SelectionEditor brightEditor;
    SelectionEditor darkEditor;
    QString loadFault;
    QString ruleFault;
    bool fileImage = false;
    bool busy = false;
    bool memoryShort = false;
};
