#pragma once

// A window over the images of a repository (".vxr"): pages of thumbnails.
// A click opens the analysis window on the image and its two stored trees,
// a context click the sketch tool on the grey image; the "Export" menu
// writes the repository's attribute tables. Every window it opens closes
// with it. It deletes itself when closed. GUI thread only.

#include <QPointer>
#include <QString>
#include <memory>

#include "gui/foundation/vx_base_dialog.h"

class QTVxRepository;
class VxBasePaths;
class VxDisplayImageList;

class VxBrowseRepository : public VxBaseDialog {
    Q_OBJECT
public:
    // Reads the repository file (the name passed on unchanged) and shows its
    // images, each labelled with its full name; the window title is "Browse
    // Repository: " + file. The update rule follows the shared paths'. A
    // file that cannot be read shows a pop-up and the browser closes: see
    // loaded().
    VxBrowseRepository(VxBasePaths* paths, QString file, QWidget* parent, const char* name);
    // Emits finitoVxBrowseRepository() first, then frees the repository.
    ~VxBrowseRepository() override;

    // False when the repository file could not be read; the browser is then
    // closing and must not be shown.
    bool loaded() const { return fileRead; }

signals:
    void finitoVxBrowseRepository();

public slots:
    // Opens the analysis window "Analyse Image" on the image and its stored
    // trees, with the rules "Bright_Objects.rule" and "Dark_Objects.rule";
    // an image without trees, or whose image or trees cannot be read, gets
    // a pop-up instead.
    void StartMainDialogforImage(int iImageID);
    // Opens the sketch tool "Sketch on <image file>" on the image in grey,
    // its exports named after the image file; an image that cannot be read
    // gets a pop-up instead.
    void StartContextDialogforImage(int iImageID);
    // Prints "This should Start an Query Dialog for %s with Update %s\n";
    // nothing else.
    void QueryRepositoryDialog(QString qstQueryRule, QString qstUpdateRule);
    // Asks for an update rule, then for a table name; with both, writes the
    // tables "<stem>.bright.csv" and "<stem>.dark.csv" (a final ".csv" of the
    // name cut off) and the rule becomes the browser's update rule. Either
    // cancelled writes nothing; tables that cannot be written get the
    // write-error pop-up, older ones whole.
    void ExportCSV();
    void setUpdateRule(QString qstRuleFile);
    void showImageList();

private:
    std::unique_ptr<QTVxRepository> repository;
    QPointer<QWidget> parentWindow;
    VxDisplayImageList* imageList = nullptr;
    QString tableStem;
    QString updateRule;
    bool fileRead = false;
};
