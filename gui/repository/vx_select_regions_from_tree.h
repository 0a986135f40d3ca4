#pragma once

// The labelling view of one repository image: the scale browser over its
// bright or dark tree, where Ctrl+right-click adds regions to the
// controller's selection (the line under the frame says: to the checked
// class), with one radio button per class, an edit line
// for the active class's name, "Clear Class" and "Validate". A second
// top-level window, "Integrated View", shows the image with the selected
// regions filled.
//
// Classes whose mode differs from the view's read "BlockedMode" and cannot
// become active. The view owns its controller and the "Integrated View"
// and deletes both when it is destroyed. GUI thread only.

#include <QString>
#include <memory>
#include <vector>

#include "gui/analysis/vx_analyse_scales.h"

class QButtonGroup;
class QLineEdit;
class vx_analyse_control;

class VxSelectRegionsFromTree : public vx_analyse_scales {
    Q_OBJECT
public:
    // Takes the controller over. `mode` is the browsed tree (1 bright, 2
    // dark); `modes` and `classNames` hold `classCount` entries (class 0
    // included) and belong to the caller, who keeps them alive and current
    // while the view lives. buttonIndex and imageIndex are the thumbnail
    // button and the repository image the view was opened for.
    VxSelectRegionsFromTree(vx_analyse_control* control, int mode, const int* modes,
                            int buttonIndex, int imageIndex, int classCount, char** classNames,
                            QWidget* parent, const char* name, int flags);
    // Emits closedID(image index) first.
    ~VxSelectRegionsFromTree() override;

    int activeClass() const { return active; }

signals:
    // (controller, active class, button index, image index).
    void validate(vx_analyse_control* pmsacControl, int iClass, int iIDa, int iValidationID);
    void closedID(int);
    // The active class is to be called `name` (Latin-1, valid while the
    // signal is delivered: connect directly). The owner of the class names
    // stores it; the view then shows the stored name.
    void renameClass(int iClass, const char* name);

public slots:
    // No selected bright or dark region.
    void clear();

protected slots:
    // With an active class: shows the "Integrated View" and emits validate.
    void validateRegions();
    // Button id iClass chooses class iClass + 1, unless it reads
    // "BlockedMode".
    void setClass(int iClass);
    // The edit line's text becomes the active class's name; without one the
    // edit line reads "Irrelevant".
    void resetClassName();

private:
    void makeIntegratedView();
    void makeClassControls(const int* modes);
    QString nameOf(int cls) const;

    int buttonIndex;
    int imageIndex;
    int active = 0;
    int classCount;
    char** classNames;
    QLineEdit* classEdit = nullptr;
    // Button id i stands for class i + 1.
    QButtonGroup* classButtons = nullptr;
    // The window goes before the controller whose pixels its frame shows.
    std::unique_ptr<vx_analyse_control> ownedControl;
    std::unique_ptr<QWidget> integratedView;
};
