#pragma once

// A window over a query result or labeled repository (".vxq"): pages of
// the labelled result images, each with its regions per class in the tool
// tip. A click opens the analysis window on the image with the classes'
// rule files; the "Export" menu writes region and contour images, one
// class's regions, an iso-surface volume, an Analyze 7.5 volume or a table
// of the classified regions of the mode shown in the status bar. Every
// window it opens closes with it. It deletes itself when closed. GUI thread
// only.

#include <QPointer>
#include <QString>
#include <memory>

#include "filter/polarity.h"
#include "gui/foundation/vx_base_dialog.h"

class QPushButton;
class QTVxLabeledRepository;
class VxBasePaths;
class VxDisplayImageList;

class VxBrowseQueryResult : public VxBaseDialog {
    Q_OBJECT
public:
    // Reads the file (the name passed on unchanged) with its repository;
    // the window title is "Browse Query Result: " + file; bright mode. A
    // file or repository that cannot be read shows a pop-up and the browser
    // closes: see loaded().
    VxBrowseQueryResult(VxBasePaths* paths, QString file, QWidget* parent, const char* name);
    // Emits finitoVxBrowseQueryResult() first, then frees the labeled
    // repository.
    ~VxBrowseQueryResult() override;

    // False when the file could not be read; the browser is then closing
    // and must not be shown.
    bool loaded() const { return fileRead; }

signals:
    void finitoVxBrowseQueryResult();

protected slots:
    // Opens the analysis window "Analyse Image" on the image and its stored
    // trees. Its bright rule is the name of the last class of mode 1, else
    // "Bright_Objects.rule", its dark rule that of the last class of mode 2,
    // else "Dark_Objects.rule". An image without trees, or whose image or
    // trees cannot be read, gets a pop-up instead.
    void StartMainDialogforImage(int iImageID);
    // Each asks for a target stem ("Get Target Path+Stem"); Cancel writes
    // nothing.
    void exportRegionImages();
    void exportContoursImages();
    // The outer contours of class 1's regions; a volume that cannot be
    // written gets the write error pop-up.
    void exportISOSurfaceImages();
    // The class export dialog: one class's regions under the stem chosen.
    void exportResultRegionsByClass();
    // The volume export dialog: the Analyze volume with its spacing and
    // binarisation; one that cannot be written gets the write error pop-up.
    void exportAnalyzeVolume();
    // The classified regions of the display mode's tree under the rule of
    // the shared paths. The suggested name is the repository file's with
    // ".vxr" replaced by ".classified.bright.csv" (dark mode:
    // ".classified.dark.csv"), or with that ending appended.
    void exportRegionsCSVTable();
    void showImageList();
    // Bright mode (1, "Bright Mode") <-> dark mode (2, "Dark Mode").
    void switchMode();

private:
    // The shared paths while they live, else this browser's copy.
    VxBasePaths* currentPaths() const;
    // The name from the stem dialog of the image exports; empty on Cancel.
    QString targetStem();

    std::unique_ptr<QTVxLabeledRepository> labels;
    QPointer<QWidget> parentWindow;
    VxDisplayImageList* imageList = nullptr;
    QPushButton* modeButton = nullptr;
    int mode = POLARITY_BRIGHT;
    bool fileRead = false;
};
