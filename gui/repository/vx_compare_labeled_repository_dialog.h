#pragma once

// The form that compares the region labels of a labelled repository or
// query result (".vxq") image by image with ground-truth label images and
// writes precision and recall per image and accumulated into a table.
// Compare runs the comparison on the GUI thread with a bar that counts the
// images (the dialog busy: modal, its form disabled), and the dialog then
// deletes itself, as it also does when a field the comparison needs is
// empty (after a pop-up naming it). The result images path and tag are
// collected but take no part in the comparison. It deletes itself when
// closed.

#include <QString>

#include "gui/foundation/vx_working_dialog.h"

class QLineEdit;
class QProgressBar;
class VxBasePaths;

class VxCompareLabeledRepositoryDialog : public VxWorkingDialog {
    Q_OBJECT
public:
    // Title "Compare Labeled Repository to GT"; every text empty.
    VxCompareLabeledRepositoryDialog(VxBasePaths* paths, QWidget* parent, const char* name);
    ~VxCompareLabeledRepositoryDialog() override;

    // The bar at `step` of the number of images, repainted at once.
    void ProgressBar(int step);
    // The comparison's progress callback: ProgressBar(imageIndex + 1) on the
    // dialog that `context` points to.
    static void getProgress(int imageIndex, void* context);

public slots:
    // The setters store the text of their field; the choosers fill a field
    // (Cancel changes nothing), a chosen result images directory also the
    // result tag "cmpres".
    void set_gt_path(QString sFile);
    void set_gt_path_dialog();
    void set_crf(QString sFile);
    void set_crf_dialog();
    // An empty tag compares with ground-truth files named as the images.
    void set_GTTag(QString sFile);
    void set_labeled_repository_file(QString sFile);
    void set_labeled_repository_file_dialog();
    // Compares and deletes the dialog. Nothing is compared when the
    // labelled repository, the ground-truth path or the result table is
    // empty, or the labelled repository or its repository cannot be read
    // (each after a pop-up); a table that cannot be written gets a pop-up
    // too, and so, in one, do the images whose ground truth could not be
    // read.
    void done();
    void setResultTag(QString sString);
    void set_result_path(QString sPath);
    void set_result_path_dialog();

private:
    void makeForm();
    void compare();

    QString gtPath;
    QLineEdit* gtTagEdit = nullptr;
    QLineEdit* gtPathEdit = nullptr;
    QString resultFile;
    QString resultPath;
    QString resultTag;
    QLineEdit* resultFileEdit = nullptr;
    QLineEdit* resultPathEdit = nullptr;
    QLineEdit* resultTagEdit = nullptr;
    QString gtTag;
    QString labeledRepositoryFile;
    QLineEdit* labeledRepositoryEdit = nullptr;
    int numberOfImages = 0;
    QProgressBar* progressBar = nullptr;
};
