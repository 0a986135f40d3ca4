#pragma once

// The window in which the regions of a repository's images are labelled
// with classes: a paged thumbnail list of the images, a menu of exports
// and a Bright/Dark switch for the labelling views it opens. A click on a
// thumbnail opens the image's labelling view (VxSelectRegionsFromTree) on
// the tree of the current mode; every validation there stores the
// selected regions as the class's labels of that image, rewrites its label
// image and saves the ".vxq" file (asking for its name the first time).
//
// The view owns the labeled repository and every open labelling view, and
// deletes itself when closed. GUI thread only.

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "filter/polarity.h"
#include "gui/foundation/open_work.h"

class QBoxLayout;
class QPushButton;
class QTVxLabeledRepository;
class VxAttributeSelection;
class VxDisplayImageList;
class VxSelectRegionsFromTree;
class vx_analyse_control;

class VxClassificationView : public QWidget {
    Q_OBJECT
public:
    // Takes the labeled repository over (not null).
    VxClassificationView(QTVxLabeledRepository* labeled, QWidget* parent, const char* name);
    ~VxClassificationView() override;

    // The update rule of the labelling views' attributes ("Attributes.rule"
    // at start).
    void setUpdateRule(const char* rule);
    // The attribute choice of the exports under that update rule, asked
    // for anew only when the rule changed (the last ticks shown again).
    void presentAttributeSelection(const char* rule);

protected slots:
    // Opens image iImageID for labelling (replacing a view open for it). An
    // image whose trees cannot be loaded gets a pop-up and no view.
    void StartClassificationDialogforImage(int iButtonID, int iImageID);
    // Asks for the ".vxq" name; a chosen one is written and becomes the
    // autosave name.
    void WriteClassification();
    void exportRegionsTable();
    void generateRUREVUDUData();
    // Stores the selected regions of the controller's tree of the class's
    // mode as image iImageID's labels of class iClass, writes its label
    // image and saves the ".vxq". The thumbnail list's entry of the image
    // shows the label image from then on, on whichever button and page
    // shows the image (iButtonID, the button the view was opened from, is
    // not needed for that).
    void SetClassifiedRegions(vx_analyse_control* pmsacControl, int iClass, int iButtonID,
                              int iImageID);
    void setBrightMode();
    void setDarkMode();
    // Any empty name refuses the export with a pop-up.
    void writeRUREVUDUData(const char* pcImagefilelist, const char* pcTrainingPath,
                           const char* pcUpdaterule, int iSelectedClass, int iSelectionType);
    void exportResultRegionsByClass();
    void exportResultRegions();
    void exportISOSurfaceVolume();
    void c4_5_training();
    void showImageList();
    void resetDialog(int iImageID);
    void switchMode();

private:
    void makeMenus(QBoxLayout* layout);
    void makeStatusBar(QBoxLayout* layout);
    void setMode(int mode);
    // The update rule chosen for an export; empty on Cancel.
    QString chooseUpdateRule();
    // Writes the ".vxq" file; a failure gets a pop-up.
    bool writeLabels(const QString& file);

    QStringList names;
    VxDisplayImageList* imageList = nullptr;
    std::unique_ptr<QTVxLabeledRepository> labeled;
    std::string selectionRule;
    int mode = POLARITY_BRIGHT;
    std::string resultPath;
    std::unique_ptr<VxAttributeSelection> attributeSelection;
    std::vector<QPointer<VxSelectRegionsFromTree>> views;
    std::string updateRule = "Attributes.rule";
    QString autosaveName;
    QPushButton* modeButton = nullptr;
    // The labelling is open work until the view goes.
    VxOpenWork openLabelling;
};
