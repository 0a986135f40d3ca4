#pragma once

// "Create RAVAZ": the user loads a grey image into the analysis controller,
// may convert and preprocess it, chooses the number of scales and the
// denoising mode, and presses Start. Start computes both region trees on two
// worker threads, emits computationDone(controller) and deletes the dialog
// back in the event loop. The dialog always deletes itself when closed; a
// dialog that goes without having handed its controller on deletes the
// controller too.
//
// Start refuses, with a pop-up, a scale count that is not a whole number
// from 2 to 1000000, a controller without a loaded image (the placeholder, a
// name only typed, a picture of no pixels) and a computation whose two trees
// would need more memory than this program may still take (the physical
// memory, or the process's own limits). Memory that runs out all the same
// is told in one pop-up, and the dialog stays with its picture. While the
// trees are computed the dialog is busy (busy_window.h): modal, its form
// disabled, a second Start does nothing, and closing is put off until the
// computation is over. GUI thread only.

#include <QPointer>
#include <QString>

#include "filter/lMMS_Part.h"
#include "gui/foundation/vx_working_dialog.h"

class ProcessImage;
class QAbstractButton;
class QLabel;
class QLineEdit;
class VxBasePaths;
class VxDualTreeProgress;
class qimage_frame;
class vx_analyse_control;

class vx_new_project_dialog : public VxWorkingDialog {
    Q_OBJECT
public:
    // `control` is the analysis to prepare (not null); it gets the shared
    // update rule and follows its changes. The dialog makes the controller's
    // display frame inside itself.
    vx_new_project_dialog(VxBasePaths* paths, vx_analyse_control* control, QWidget* parent,
                          const char* name, int flags);
    // Deletes the controller unless computationDone handed it on.
    ~vx_new_project_dialog() override;

signals:
    // Both trees are computed; the receiver takes the controller over.
    void computationDone(vx_analyse_control*);

public slots:
    // The display frame's picture in Euclidean grey / the largest channel.
    void convertEuclidean();
    void convertValue();
    // The text as a whole number: the bright, the dark or both scale counts.
    void set_oscales(QString Input);
    void set_cscales(QString Input);
    void set_scales(QString Input);
    // Return in the image-name field: loads nothing.
    void load_image();
    // The controller's image name (and its contour names); the image path.
    void set_load_image(QString Input);
    // Asks for an image (with a preview) from the working directory and
    // loads it; that directory becomes the working directory. A file that no
    // reader takes gives a pop-up with the reader's reason and changes
    // nothing.
    void load_image_dialog();
    // Start: refusals, then both trees, computationDone, and the dialog goes.
    virtual void accept();
    // The next image dialog starts on this file.
    void setURLfromHighlight(QString qstHighlighted);
    // The controller reads its image file again: every conversion and
    // preprocessing step is gone.
    void reloadImage();
    // Prints "STEP INDICATOR <text>" and shows the text under the bars at
    // once; during the computation pending events run too.
    void setStepIndicator(QString stSteps);
    // The display frame's view into the file of the save-name field.
    void saveImage();
    // Asks for that file ("Images (*.png)"), saves, and makes it the image
    // name.
    void saveDialog();
    // "Remove Noise" (3) <-> "No Denoising" (0), the controller's mode too.
    void changeGenerateTreeMode();
    // One preprocessing step on the display frame's picture, which becomes
    // the controller's working image.
    void applyFunction(ProcessImage& ipFunction);

protected:
    // Disables the form but the bars and the step label, or enables it.
    void setFormEnabled(bool enabled) override;

private:
    static constexpr int largest_scale_count = 1000000;

    void makeLayout();
    qimage_frame* frame() const;
    // Start's refusals; each shows its pop-up and returns false.
    bool scalesAcceptable();
    bool imageAcceptable();
    bool memoryAcceptable();

    QLineEdit* imageNameEdit = nullptr;
    QPointer<vx_analyse_control> control;
    QLineEdit* saveNameEdit = nullptr;
    QLineEdit* scalesEdit = nullptr;
    // The file the next image dialog selects.
    QString highlighted;
    QAbstractButton* denoiseButton = nullptr;
    int treeGenerationMode = MMS_REMOVE_NOISE;
    VxDualTreeProgress* progress = nullptr;
    QLabel* stepLabel = nullptr;
    bool handedOn = false;
};
