#pragma once

// The form that compares the region trees of a repository (".vxr") with
// ground-truth label images: for every image the tree of the chosen
// polarity is searched for the regions that best match the ground-truth
// objects, and the result goes into a table, optionally with an image of
// the best-matching regions per image. Compare runs the comparison on the
// GUI thread with a bar that counts the images (the dialog busy: modal, its
// form disabled), and the dialog then deletes itself, as it also does when a
// field the comparison needs is empty (after a pop-up naming it). It
// deletes itself when closed.

#include <QString>

#include "filter/polarity.h"
#include "gui/foundation/vx_working_dialog.h"

class QLineEdit;
class QProgressBar;
class QPushButton;
class VxBasePaths;

class VxCompareRepositoryTreeDialog : public VxWorkingDialog {
    Q_OBJECT
public:
    // Title "Compare Repository to GT"; every text empty, quality deviation
    // 0, bright regions (mode 1).
    VxCompareRepositoryTreeDialog(VxBasePaths* paths, QWidget* parent, const char* name);
    ~VxCompareRepositoryTreeDialog() override;

    // The bar at `value` of the number of images, repainted at once.
    void ProgressBar(int value);
    // The comparison's progress callback: ProgressBar(imageIndex + 1) on the
    // dialog that `context` points to.
    static void getProgress(int imageIndex, void* context);

public slots:
    // Each stores the text of its field.
    void set_repository_file(QString sFile);
    void set_gt_path(QString sPath);
    void set_GTTag(QString sString);
    // The ground-truth values that make objects, comma-separated; empty for
    // every positive value.
    void set_GTIds(QString sString);
    void set_crf(QString sFile);
    void set_result_path(QString sPath);
    void setResultTag(QString sString);
    // The quality deviation: the text as a number in the C locale, 0 when
    // it is none.
    void set_quality(QString sString);
    // Bright regions (mode 1) <-> dark regions (mode 2).
    void switchmode();
    // The choosers of the fields; Cancel changes nothing. A chosen result
    // images directory also sets the result tag "cmpres".
    void set_repository_file_dialog();
    void set_gt_path_dialog();
    void set_crf_dialog();
    void set_result_path_dialog();
    // Compares and deletes the dialog. Nothing is compared when the
    // repository, the ground-truth path or the result table is empty, the
    // valid ids are no list of numbers, or the repository cannot be read
    // (each after a pop-up); a table that cannot be written gets a pop-up too,
    // and so, in one, do the images whose ground truth could not be read.
    void done();

private:
    void makeForm();
    // True for an empty id field or a comma-separated list of whole numbers;
    // otherwise a pop-up says what is wrong.
    bool idsGiven() const;
    void compare();

    QString gtPath;
    QString gtIds;
    QString resultFile;
    QString gtTag;
    QString repositoryFile;
    QString resultTag;
    QString resultPath;
    double quality = 0.0;
    int mode = POLARITY_BRIGHT;
    int numberOfImages = 0;

    QLineEdit* repositoryEdit = nullptr;
    QLineEdit* gtPathEdit = nullptr;
    QLineEdit* resultFileEdit = nullptr;
    QLineEdit* resultPathEdit = nullptr;
    QLineEdit* resultTagEdit = nullptr;
    QPushButton* modeButton = nullptr;
    QProgressBar* progressBar = nullptr;
};
