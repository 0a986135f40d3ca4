#pragma once

// The form that turns a list of source images into a repository: the bright
// and dark region trees of every image stored as tree files, optionally
// after a preprocessing chain, then the ".vxr" file. The computation runs on
// the GUI thread one image at a time (each image's two trees on their own
// threads); meanwhile the dialog is busy (busy_window.h): modal, its form
// disabled but for Cancel. Cancel then stops the run after the image in
// progress and the dialog stays; a close stops it likewise and deletes the
// dialog after it. It deletes itself when closed.

#include <QByteArray>
#include <QString>
#include <vector>

#include "automation/preprocessing/vx_image_processing.h"
#include "filter/lMMS_Part.h"
#include "gui/foundation/vx_working_dialog.h"

class ProcessImage;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class VxBasePaths;
class VxDualTreeProgress;

class vx_new_repository_dialog : public VxWorkingDialog {
    Q_OBJECT
public:
    // Title "Create New Repository", 500 x 500; no images, no repository
    // file, 20 scales, "Remove Noise" (mode 3), no recomputation.
    vx_new_repository_dialog(VxBasePaths* paths, QWidget* parent, const char* name);
    ~vx_new_repository_dialog() override;

protected slots:
    // Chooses the source images (several files, one folder): a new choice
    // replaces the list; Cancel keeps it. A choice of two images of one stem
    // (a.png, a.pgm), which would share their tree files, is refused with a
    // pop-up naming both, the list kept.
    void set_source_images_dialog();
    // Takes the file field. The path field follows the file's folder
    // ("./" for a bare name) while it is empty or still holds what the file
    // gave it; a path set otherwise stays.
    void set_repository_file();
    // A save dialog; the chosen name gets ".vxr" once and goes into the
    // file field. Cancel changes nothing.
    void set_repository_file_dialog();
    void set_repository_path();
    // A folder chooser; the chosen folder goes into the path field.
    void set_repository_path_dialog();
    // An update rule kept by the dialog, unused by the computation; no field
    // of the form shows it.
    void set_updaterule_path();
    void set_updaterule_path_dialog();
    void set_scales();
    // "Remove Noise" (mode 3) <-> "No Denoising" (mode 0).
    void changeGenerateTreeMode();
    // "No Recomputation" <-> "Recomputation" (existing tree files computed
    // anew).
    void changeOverwriteMode();
    // Appends a copy of the step to the preprocessing chain.
    void addFunction(ProcessImage& ppiFunction);
    void clearPPList();
    // Computes the trees of every image and writes the ".vxr" file. Nothing
    // happens without a repository file. A scales field without acceptable
    // input (2 .. 1000000), a repository path that is no writable folder and
    // a repository file that cannot be written are refused with a pop-up
    // before anything is computed, and so is a repository file that another
    // computation holds locked ("<file>.lock", QLockFile): the pop-up names
    // its process. The lock is held until the ".vxr" is written; a lock
    // file that cannot be made (a full disk) does not stop the run. A Cancel
    // stops the run after the image in progress. A tree file that cannot be
    // written meanwhile (a full disk, a folder turned read-only) is logged
    // and stops the run, with one pop-up that names the tree file and why
    // (and the ".vxr" when it failed too). A stopped run logs "Stopped after
    // k of n images" and writes the ".vxr" naming only the tree files in
    // place, those that earlier runs left for the images it did not reach
    // included, so that a later Compute without recomputation goes on from
    // there. A ".vxr" that fails to be written alone gets the write-error
    // pop-up.
    void computeRepository();

private:
    // Deletes the dialog; during a run, stops it after the image in
    // progress.
    void cancel();
    void makeForm();
    void log(const QString& entry);
    // The checks before a run; false after a refusing pop-up.
    bool canCompute(const QString& treeDirectory);
    void compute(const QString& treeDirectory);

    QString repositoryFile;
    QString repositoryPath;
    // The path that the repository file gave the path field.
    QString pathFromFile;
    QByteArray imagesPath;
    QString currentFile;
    QString updateRule;
    // File-name parts of the chosen images, as the file system spells them.
    std::vector<QByteArray> sourceNames;
    int scales = 20;
    int treeGenerationMode = MMS_REMOVE_NOISE;
    bool recompute = false;
    bool preprocessing = false;
    VxImageProcessing chain;

    QLineEdit* fileEdit = nullptr;
    QLineEdit* pathEdit = nullptr;
    QLineEdit* tagEdit = nullptr;
    QLineEdit* scalesEdit = nullptr;
    QPushButton* overwriteButton = nullptr;
    QPushButton* modeButton = nullptr;
    QPushButton* cancelButton = nullptr;
    VxDualTreeProgress* treeProgress = nullptr;
    QProgressBar* imageProgress = nullptr;
    QPlainTextEdit* logWindow = nullptr;
};
