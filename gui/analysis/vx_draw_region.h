#pragma once

// The sketch tool: the user paints class labels 1..254 as an overlay over a
// grey template image, which itself never changes. Each 4-connected patch of
// one label becomes a region whose attributes the update rule defines; the
// tool reports statistics of the sketch, shows a region's attributes and its
// contour Fourier descriptors, and exports the sketch (".sketch.png", labels
// in the blue channel), the attribute table (".sketch.csv", ';'-separated)
// and an interval rule that accepts the sketched regions (".sketch.rule").
//
// The label image holds 0 for unlabelled pixels and label + 256 elsewhere;
// label L is drawn with palette entry L + 256 over the template's grey.
// Positions outside the template are ignored everywhere. Closing the window
// deletes it when built with VX_DELETE_ON_CLOSE, otherwise it only hides
// (and forgets its attribute selection). GUI thread only.

#include <QPointer>
#include <QString>
#include <memory>
#include <vector>

#include "analyse/handles.h"
#include "filter/polarity.h"
#include "gui/foundation/vx_base_dialog.h"
#include "imagecore/handles.h"

class QCloseEvent;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class VxAttributeSelection;
class VxBasePaths;
class VxTable;
class qimage_frame;
class vx_analyse_contour_fds;

class VxDrawRegion : public VxBaseDialog {
    Q_OBJECT
public:
    // `img` is copied (null gives an empty template); `name` is the window
    // title; flags as in window_flags.h. The update rule starts as the
    // shared one of `paths` (not null).
    VxDrawRegion(VxBasePaths* paths, const image* img, QWidget* parent, const char* name,
                 int flags);
    // Prints "Draw Image is closed" and emits close_fds() last.
    ~VxDrawRegion() override;

    // The start of every suggested export name.
    void setExportFileStem(QString qstStem);
    // The polarity handed to the attribute computation: 1 bright, 2 dark.
    void setUpdateMode(int iMode);
    // Every non-zero pixel of the template-sized image becomes label 1, the
    // others unlabelled; an image of another size is refused with a message.
    void setSketch(const image* sketch);

signals:
    // A rule was written: the rule file and the update rule it builds on.
    void validSketchQueryRule(QString qstQueryRule, QString qstUpdateRule);
    void validSketchTable(QString qstTable);
    void validSketchImage(QString qstImage);
    // Closes the Fourier-descriptor view; emitted by the destructor.
    void close_fds();

public slots:
    // "HOWTO": the manual in a window of its own.
    void about();
    // The label one down (not below 0, the eraser) / one up (past 254 back
    // to 1), through the label field.
    void lastColor();
    void nextColor();
    // The label field's value: 1..254 is the label and its colour, 0 the
    // eraser (the label stays), anything else label 1 again.
    void setActiveColor();
    // A window with the objects (8-connected) and classes of the sketch.
    void computeStatistics();
    void updateEntireDisplay();
    // The attributes of the computed region under the pixel, which becomes
    // the region of "FDS"; elsewhere an empty view.
    void mousePressMidButton(int iX, int iY);
    // By the draw mode: erase, paint, fill or pick the pixel's label.
    void mousePressLeftButton(int iX, int iY);
    // Erase and draw modes: a line from the last position. After Clear, or
    // when the press lay outside the template, only the pixel itself.
    void mouseMoveLeftButton(int iX, int iY);
    // A fill whatever the mode.
    void mousePressLeftCtlButton(int iX, int iY);
    // Like updateEntireDisplay for the visible part only.
    void updateDisplay();
    // Asks for an update rule; a choice goes into the update-rule field.
    void setUpdateFileDialog();
    // The update rule whose attributes are computed; forgets the attribute
    // selection, so exports wait for "Attributes" again.
    void setUpdateFile(QString s);
    void switchMode();
    // The labels as they were before the last fill (one step only).
    void undoFill();
    // No labels, no regions, no last position.
    void clear();
    // The Fourier-descriptor view of the region picked last.
    void analyse_fds();
    // Writes the view as shown, as PNG.
    void saveImage();
    // One region per 4-connected patch of one label, with the update rule's
    // attributes; their table; the attribute selection the exports use. An
    // update rule that does not run leaves no regions, with a pop-up.
    void computeAttributes();
    // Reads a sketch written by "Export Sketch". A picture of another size
    // than the template or with values above 254 (red or green included)
    // is refused with a pop-up and the labels stay.
    void loadSketch();
    // The exports ask for a name and write the attribute columns ticked in
    // the selection. Before "Attributes" has made one they only ask for it
    // with a pop-up. A file that cannot be written gives a pop-up and no
    // signal.
    void exportTable();
    void exportRule();
    // The rule file: the update rule's declarations (its lines up to the
    // first empty or "RULES:" line), then a top-down interval block with
    // one line per ticked number column, from min - t|min| to max + t|max|
    // (t the tolerance); the bookkeeping columns are left out.
    void exportRule(int count, int* columns);
    void exportSketch();
    // The sketch, rule and table under one stem.
    void exportAll();
    // A number in 0..1; other texts are ignored.
    void setTolerance(QString);
    void setDrawMode();
    void setEraseMode();
    void setFillMode();
    void setPickMode();
    // 0..255 becomes the overlay's opacity; the field then shows it.
    void setAlpha();
    // In steps of 15, held in 0..255.
    void upAlpha();
    void downAlpha();
    // Redraws the frame pixel at position row * width + column.
    void setPixel(int iPos);

protected:
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    enum DrawMode { erase_mode = 0, draw_mode = 1, fill_mode = 2, pick_mode = 3 };

    qimage_frame* display = nullptr;
    std::unique_ptr<VxTable> table;
    QString ruleFile;
    QString updateRule;
    QString exportStem;
    QString tableFile;
    QString sketchImageFile;
    image_handle labels;
    image_handle templateImage;
    // The template's grey as shown: its own values when they lie in 0..255,
    // else stretched onto 0..255.
    image_handle shownGrey;
    image_handle undoImage;
    image_handle workImage;
    int currentLabel = 1;
    int fdRegion = 0;
    int updateMode = POLARITY_BRIGHT;
    int drawMode = draw_mode;
    int offsets[8] = {};
    int activeColor = 257;
    int alpha = 255;
    int lastX = 0;
    int lastY = -1;
    double tolerance = 0.2;
    QLineEdit* labelField = nullptr;
    QLineEdit* updateRuleField = nullptr;
    QLineEdit* alphaField = nullptr;
    QLineEdit* toleranceField = nullptr;
    QPlainTextEdit* attributesView = nullptr;
    std::unique_ptr<QPlainTextEdit> statisticsWindow;
    std::unique_ptr<QPlainTextEdit> helpWindow;
    QPushButton* modeButton = nullptr;
    // Entry r is region r; entry 0 stays empty; no entries without a list.
    std::vector<region_node_handle> regions;
    QPointer<vx_analyse_contour_fds> fdWindow;
    std::unique_ptr<VxAttributeSelection> attributeSelection;
    iqueue_handle fillQueue;

private:
    void buildLayout();
    // Palette entries first .. end - 1: the label colours scaled by factor.
    void initAlphaLabelPalette(int first, int end, int factor);
    // The frame word of position p: the grey alone where unlabelled, else
    // grey, overlay weight 255 - alpha and the label's palette entry.
    int displayWord(int p) const;
    bool inside(int x, int y) const;
    void showAlpha();
    void setMode(int mode);
    void paint(int x, int y, int value);
    void drawLine(int x1, int y1, int x2, int y2, int value);
    // Keeps the labels for undoFill, then fills the patch under (x, y).
    void fill(int x, int y);
    // The regions of the label image with their nodes; false when the
    // update rule gives no attributes.
    bool computeRegions();
    // The table of the regions, led by the bookkeeping columns; none
    // without regions.
    void makeTable();
    // Unticks the attributes of a region's place, in the image and in its
    // tree: an exported query asks for regions like the sketched ones,
    // wherever they are.
    void uncheckPlaceColumns();
    // A copy of the label image holding the labels 0..254.
    image_handle plainLabels() const;
    // True with a table and an attribute selection; otherwise the pop-up
    // that asks for "Attributes".
    bool attributesReady();
    // A save dialog; a chosen name gets `ending` once.
    QString askSaveName(const QString& start, const QString& filter, const QString& caption,
                        const QString& ending);
    // The plain labels in the blue channel of a PNG, red and green 0.
    bool writeSketch(const QString& file);
    bool writeTable(const QString& file);
    // The rule writer; true when the rule file was written (and announced).
    bool writeRule(int count, const int* columns);
};
