#pragma once

// The scale browser: one region tree of an analysis controller, scale by
// scale. It draws the outer contours of the regions alive at the chosen
// scale over the tree's base image (a 16-bit one mapped onto 0..255), shows
// the attributes of a picked region, follows a region up through its
// fathers ("region path"), adds
// regions to the controller's active regions by Ctrl+right-click (a line
// under the frame, "Frame Hint", says so), and exports the tree's attribute
// table, C4.5 learner input (running the outside C4.5 programs) and the
// current view. It opens Fourier-descriptor views of regions and SOFM
// trainers.
//
// A region index is an index into the tree's node array (after the tree's
// numbering, its label). Indices outside 1 .. region count - 1, or without
// a node, are ignored. The browser works on the controller's tree and
// active-region array as they are when it is built: its owner deletes it
// before the controller's trees are replaced. Closing the window only hides
// it (unless its flags ask for deletion). GUI thread only.
//
// The fields are protected for views that derive from the browser; they
// add their widgets below it through windowLayout().

#include <QPointer>
#include <QString>
#include <QWidget>
#include <string>
#include <vector>

#include "filter/polarity.h"
#include "imagecore/handles.h"

class QCloseEvent;
class QLineEdit;
class QPlainTextEdit;
class QVBoxLayout;
class VxGUISOM;
class qimage_frame;
class vx_analyse_contour_fds;
class vx_analyse_control;
struct region_tree;
struct tregionnode;

class vx_analyse_scales : public QWidget {
    Q_OBJECT
public:
    // type 1 browses the controller's opening (bright) tree and adds to its
    // bright active regions, type 2 the closing (dark) tree and the dark
    // ones. The title is `name`, ": " and the file part of the controller's
    // image name; `name` is also the object name; flags as in
    // window_flags.h. `parent` also parents the FD and SOFM windows. Draws
    // scale 0. A controller without that tree gives an empty browser whose
    // actions do nothing.
    vx_analyse_scales(vx_analyse_control* control, int type, QWidget* parent, const char* name,
                      int flags);
    // Emits closed() last.
    ~vx_analyse_scales() override;

signals:
    void closed();
    void vx_analyse_scales_hidden();

public slots:
    // Scale mode: the next coarser / finer scale, within the tree's scales.
    // Region path mode: the next father / son on the path, the scale field
    // showing its birth scale.
    void scale_up();
    // A whole number in 0 .. scale count - 1 becomes the current scale and
    // is drawn; other texts are ignored.
    void set_scale(QString);
    // Scale mode: the contours of the current scale. Region path mode: the
    // current region alone, with its attributes.
    void set_scale();
    void scale_down();
    // A Fourier-descriptor view of the last picked region; a region without
    // a node or with an outer contour of fewer than 2 pixels gives only a
    // message.
    void analyse_fds();
    // Asks for a table and opens a SOFM trainer on it.
    void compute_som();
    // Asks for a name (".csv" added once) and writes the tree's table.
    void write_tree_csv();
    // Asks for the attributes and a file stem, writes "<stem>.names" and
    // "<stem>.data" (active regions "Object", the others "Irrelevant") and
    // runs "c4.5 -f <stem>", then "c4.5rules -c 99 -f <stem>", each waited
    // for; a missing program is reported and the browser goes on. An empty
    // stem writes and runs nothing.
    void write_c4_5_data();
    // Picks the region under the pixel at the current scale and leaves
    // region path mode.
    void leftButtonClickAt(int iX, int iY);
    // Starts region path mode at the finest region under the pixel (or its
    // first labelled neighbour, N, E, S, W, NE, SE, SW, NW).
    void midButtonClickAt(int iX, int iY);
    // Makes the current path region, or in scale mode the region under the
    // pixel, an active region of the controller and redraws its display.
    void rightButtonCtlClickAt(int iX, int iY);
    void wheelCTLDown();
    void wheelCTLUp();
    // Asks for a name (".png" added once) and writes the view.
    void export_view();

protected:
    // Emits vx_analyse_scales_hidden() (which closes the FD views opened
    // here) and hides the window.
    void closeEvent(QCloseEvent* e) override;

    // The window's vertical layout: the browser's row first; a derived view
    // adds its widgets after it.
    QVBoxLayout* windowLayout() const { return outerLayout; }

    // Scale mode: the current scale's contours, then region r's pixels.
    void set_region(int r);
    // The base image alone with region r's pixels; the FD region becomes r.
    void set_single_region(int r);

    // The node of region index r, null when there is none.
    tregionnode* regionNode(int r) const;

    enum Mode { region_path_mode = 1, scale_mode = 2 };

    vx_analyse_control* control = nullptr;
    int type = POLARITY_BRIGHT;
    QPointer<VxGUISOM> somWindow;
    // "Object" or "Irrelevant" per region, as the last C4.5 export gave.
    std::vector<std::string> classNames;
    // The attribute indices chosen for the last C4.5 export.
    std::vector<int> selectedAttributes;
    int selectedAttributeCount = 0;
    // The controller's active regions of this polarity, by region index.
    tregionnode** activeRegions = nullptr;
    qimage_frame* display = nullptr;
    QLineEdit* scaleField = nullptr;
    // Per pixel the label of the region drawn there last.
    image_handle labelImage;
    int currentScale = 0;
    QPlainTextEdit* attributesView = nullptr;
    region_tree* tree = nullptr;
    int fdRegion = 1;
    QPointer<QWidget> parentWindow;
    QPointer<vx_analyse_contour_fds> fdWindow;
    int mode = scale_mode;
    int pathIndex = 0;
    int currentRegion = 0;
    // The picked region, then its fathers below the root; room for the
    // tree's scale count + 2 entries.
    std::vector<int> regionPath;
    int pathLength = 0;
    int regionCount = 0;

private:
    void buildLayout();
    // The region label under (x, y) in the label image, -1 outside it.
    int labelAt(int x, int y) const;
    // The controller's image name after its last "/".
    QString imageFilePart() const;
    // Scale 0 of the tree's attribute image, null without one.
    const image* baseImage() const;
    // Paints the scale's contours and labels into the frame (and the label
    // image) without redrawing.
    void drawScale(int scale);
    // Writes the picked value over region r's pixels and redraws.
    void paintRegion(int r);
    // The scale field shows the number, which set_scale(QString) then takes.
    void showScale(int scale);
    // The attributes view shows region r's attribute text.
    void showAttributes(int r);
    void pathStep(int step);
    int* framePixels() const;
    // Writes the C4.5 files and runs the programs on the stem.
    void runC4_5(const QString& stem);

    QVBoxLayout* outerLayout = nullptr;
    // The base image as the frame shows it (vx_display_grey): the grey under
    // the contours and picked regions; null without a base image.
    image_handle shownGrey;
};
