#include "gui/repository/vx_new_repository_dialog.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QLockFile>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <string>
#include <vector>

#include "automation/preprocessing/process_image.h"
#include "automation/repository/image_stems.h"
#include "gui/foundation/computation_memory.h"
#include "gui/foundation/dialog_service.h"
#include "gui/foundation/file_checks.h"
#include "gui/foundation/forms/form_parts.h"
#include "gui/foundation/forms/form_widgets.h"
#include "gui/foundation/image_open_filter.h"
#include "gui/foundation/preprocessing/vx_preprocess_selection.h"
#include "gui/foundation/screen_fit.h"
#include "gui/foundation/vx_dual_tree_progress.h"
#include "gui/foundation/vx_message_popup.h"
#include "gui/foundation/window_flags.h"
#include "gui/repository/detail/repository_images.h"
#include "gui/repository/qtvx_repository.h"
#include "imagecore/fatal.h"
#include "imagecore/report.h"
#include "imagecore/text/vxstringtools.h"

namespace {

// The trees of the image could not be computed: the run stopped there.
QString memory_text(const QString& image, int scales)
{
    const QSize size = QImageReader(image).size();
    QString text = "Memory ran out while the trees of\n" + image + "\nwere computed";
    if (size.isValid())
        text += ":\n" + vx_tree_computation_need(size.width(), size.height(), scales, scales);
    return text + ".\nThe run stopped there; the repository file lists the trees written.";
}

// A part of the file name by one of the image core's splitters, in a buffer
// that holds it whole ("./" included).
QByteArray name_part(void (*split)(const char*, char*, size_t), const QByteArray& file)
{
    QByteArray part(file.size() + 3, '\0');
    split(file.constData(), part.data(), static_cast<size_t>(part.size()));
    return QByteArray(part.constData());
}

// The folder of a file name, separator included; "./" without one.
QString folder_of(const QString& file)
{
    return QFile::decodeName(name_part(truncatePathName, QFile::encodeName(file)));
}

QString now()
{
    const QDateTime time = QDateTime::currentDateTime();
    return time.date().toString(Qt::ISODate) + " " + time.time().toString(Qt::ISODate);
}

// The images filter; this dialog prints the format list alone.
QString source_image_filter()
{
    const QString list = vx_image_formats_list();
    vx_report("Known Formats %s\n", list.toLatin1().constData());
    return vx_images_filter(list);
}

// Refuses, with a pop-up naming both, a choice holding two images of one
// stem: they would share their tree files (image_stems.h).
bool refused_for_shared_trees(const QStringList& chosen, const std::vector<QByteArray>& names)
{
    const std::vector<int> other =
        images_of_same_stem(std::vector<std::string>(names.begin(), names.end()));
    const auto shared = std::find_if(other.begin(), other.end(), [](int j) { return j >= 0; });
    if (shared == other.end())
        return false;
    vx_message(QStringLiteral("Images sharing tree files"),
               chosen[static_cast<int>(shared - other.begin())] + "\nand\n" + chosen[*shared] +
                   "\nwould get the same tree files: choose one of them");
    return true;
}

// The pop-up of a repository file whose lock another process holds.
void refuse_locked(const QString& file, const QLockFile& lock)
{
    qint64 holder = 0;
    QString host;
    QString program;
    const QString process = lock.getLockInfo(&holder, &host, &program)
                                ? QStringLiteral("process %1 (%2)").arg(holder).arg(program)
                                : QStringLiteral("another process");
    vx_message(QStringLiteral("Repository in use"),
               file + "\nis being computed by " + process + ": nothing computed");
}

}  // namespace

vx_new_repository_dialog::vx_new_repository_dialog(VxBasePaths* paths, QWidget* parent,
                                                   const char* name)
    : VxWorkingDialog(paths, parent, name, VX_DELETE_ON_CLOSE)
{
    setWindowTitle(QStringLiteral("Create New Repository"));
    resize(500, 500);
    vx_fit_to_screen(this);
    makeForm();
}

vx_new_repository_dialog::~vx_new_repository_dialog() = default;

void vx_new_repository_dialog::makeForm()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    // 1.-4. Images, repository file and path, recomputation.
    QPushButton* sources =
        vx_form::addButton(this, layout, QStringLiteral("Select List of Source Images"),
                           QStringLiteral("Select List of Source Images"));
    connect(sources, &QPushButton::clicked, this,
            &vx_new_repository_dialog::set_source_images_dialog);
    const vx_form::FileRow file = vx_form::addFileRow(
        this, layout, QStringLiteral("Repository File"), QStringLiteral("Path to Repository File"),
        QStringLiteral("ResultNameEdit"));
    fileEdit = file.edit;
    connect(file.button, &QPushButton::clicked, this,
            &vx_new_repository_dialog::set_repository_file_dialog);
    connect(fileEdit, &QLineEdit::textChanged, this,
            &vx_new_repository_dialog::set_repository_file);
    const vx_form::FileRow path =
        vx_form::addFileRow(this, layout, QStringLiteral("Repository Path"),
                            QStringLiteral("Path to Repository"), QString());
    pathEdit = path.edit;
    connect(path.button, &QPushButton::clicked, this,
            &vx_new_repository_dialog::set_repository_path_dialog);
    connect(pathEdit, &QLineEdit::textChanged, this,
            &vx_new_repository_dialog::set_repository_path);
    auto* overwriteRow = new QHBoxLayout;
    overwriteButton = vx_form::addButton(this, overwriteRow, QStringLiteral("No Recomputation"),
                                         QStringLiteral("Recomputation Mode"));
    connect(overwriteButton, &QPushButton::clicked, this,
            &vx_new_repository_dialog::changeOverwriteMode);
    overwriteRow->addStretch();
    layout->addLayout(overwriteRow);

    // 5. Preprocessing and its tag.
    auto* preprocessRow = new QHBoxLayout;
    auto* selection = new VxPreprocessSelection("PreProc", this, "Preprocesssing");
    connect(selection, &VxPreprocessSelection::Function, this,
            &vx_new_repository_dialog::addFunction, Qt::DirectConnection);
    connect(selection, &VxPreprocessSelection::doNoPreProcessing, this,
            &vx_new_repository_dialog::clearPPList);
    preprocessRow->addWidget(selection);
    preprocessRow->addWidget(new QLabel(QStringLiteral("Processing Label"), this));
    tagEdit = new QLineEdit(this);
    tagEdit->setObjectName(QStringLiteral("Processing Label"));
    preprocessRow->addWidget(tagEdit);
    layout->addLayout(preprocessRow);

    // 6. Noise removal and scales.
    auto* modeRow = new QHBoxLayout;
    modeButton = vx_form::addButton(this, modeRow, QStringLiteral("Remove Noise"),
                                    QStringLiteral("Remove Noise Selection"));
    connect(modeButton, &QPushButton::clicked, this,
            &vx_new_repository_dialog::changeGenerateTreeMode);
    modeRow->addStretch();
    modeRow->addWidget(new QLabel(QStringLiteral("Scales"), this));
    scalesEdit = new QLineEdit(QStringLiteral("20"), this);
    scalesEdit->setObjectName(QStringLiteral("Scales"));
    vx_form::acceptIntegers(scalesEdit, 2, 1000000);
    connect(scalesEdit, &QLineEdit::textChanged, this, &vx_new_repository_dialog::set_scales);
    modeRow->addWidget(scalesEdit);
    layout->addLayout(modeRow);

    // 7. Compute and Cancel.
    auto* runRow = new QHBoxLayout;
    connect(vx_form::addButton(this, runRow, QStringLiteral("Compute")), &QPushButton::clicked,
            this, &vx_new_repository_dialog::computeRepository);
    cancelButton = vx_form::addButton(this, runRow, QStringLiteral("Cancel"));
    connect(cancelButton, &QPushButton::clicked, this, &vx_new_repository_dialog::cancel);
    runRow->addStretch();
    layout->addLayout(runRow);

    // 8.-10. Progress of the trees and of the images, and the log.
    treeProgress = new VxDualTreeProgress(2, this, "Create Repository Progress", 0);
    layout->addWidget(treeProgress);
    imageProgress = new QProgressBar(this);
    layout->addWidget(imageProgress);
    logWindow = new QPlainTextEdit(this);
    logWindow->setObjectName(QStringLiteral("Log Window"));
    logWindow->setReadOnly(true);
    layout->addWidget(logWindow, 1);
}

void vx_new_repository_dialog::set_source_images_dialog()
{
    const QString filter = source_image_filter();
    const QStringList chosen =
        vx_dialogs().openFileNames(this, QStringLiteral("Source Images Dialog"),
                                   QStringLiteral("Select List of Source Images"),
                                   QFile::decodeName(imagesPath), filter, true);
    if (chosen.isEmpty())
        return;
    std::vector<QByteArray> names;
    for (const QString& file : chosen)
        names.push_back(name_part(truncateFileName, QFile::encodeName(file)));
    if (refused_for_shared_trees(chosen, names))
        return;
    imagesPath = name_part(truncatePathName, QFile::encodeName(chosen.back()));
    sourceNames = std::move(names);
    log(QStringLiteral("Processing Files"));
    for (const QByteArray& name : sourceNames)
        log(QFile::decodeName(name));
}

void vx_new_repository_dialog::set_repository_file()
{
    repositoryFile = fileEdit->text();
    const bool pathFollowsFile = repositoryPath.isEmpty() || repositoryPath == pathFromFile;
    if (repositoryFile.isEmpty() || !pathFollowsFile)
        return;
    pathFromFile = folder_of(repositoryFile);
    pathEdit->setText(pathFromFile);
}

void vx_new_repository_dialog::set_repository_file_dialog()
{
    vx_form::chooseSaveName(this, fileEdit, QStringLiteral("Result file dialog"),
                            QStringLiteral("Set Repository File"), repositoryFile,
                            QStringLiteral("(Repository) *.vxr"), QStringLiteral(".vxr"));
}

void vx_new_repository_dialog::set_repository_path()
{
    repositoryPath = pathEdit->text();
}

void vx_new_repository_dialog::set_repository_path_dialog()
{
    vx_form::chooseDirectory(this, pathEdit, QStringLiteral("Result file dialog"),
                             QStringLiteral("Set Repository File"), repositoryPath);
}

void vx_new_repository_dialog::set_updaterule_path()
{
    updateRule = currentFile;
}

void vx_new_repository_dialog::set_updaterule_path_dialog()
{
    const QString chosen = vx_dialogs().openFileName(
        this, QStringLiteral("Update rule file dialog"), QStringLiteral("Set Update rule"),
        updateRule, QStringLiteral("(Query) *.rule"), false);
    if (chosen.isEmpty())
        return;
    currentFile = chosen;
    set_updaterule_path();
}

void vx_new_repository_dialog::set_scales()
{
    scales = scalesEdit->text().toInt();
}

void vx_new_repository_dialog::changeGenerateTreeMode()
{
    const bool removesNoise = treeGenerationMode == MMS_REMOVE_NOISE;
    modeButton->setText(removesNoise ? QStringLiteral("No Denoising")
                                     : QStringLiteral("Remove Noise"));
    treeGenerationMode = removesNoise ? MMS_NO_DENOISING : MMS_REMOVE_NOISE;
}

void vx_new_repository_dialog::changeOverwriteMode()
{
    recompute = !recompute;
    overwriteButton->setText(recompute ? QStringLiteral("Recomputation")
                                       : QStringLiteral("No Recomputation"));
}

void vx_new_repository_dialog::addFunction(ProcessImage& ppiFunction)
{
    preprocessing = true;
    chain.addFunction(ppiFunction);
    log("Adding Function: " + QString::fromLatin1(ppiFunction.FunctionName()));
    log("Parameters: " + QString::fromLatin1(ppiFunction.FunctionParameter()));
}

void vx_new_repository_dialog::clearPPList()
{
    preprocessing = false;
    chain.resetFunctions();
    log(QStringLiteral("IP Pipeline Reseted"));
}

void vx_new_repository_dialog::computeRepository()
{
    if (working() || repositoryFile.isEmpty())
        return;
    // The path field is empty only when cleared after the file was given.
    const QString treeDirectory =
        repositoryPath.isEmpty() ? folder_of(repositoryFile) : repositoryPath;
    if (!canCompute(treeDirectory))
        return;
    // A second computation into the file would replace this one's list. Batch
    // programs take the same lock (repository_lock.h); only the end of its
    // process frees it, however long a run takes. A lock file that cannot be
    // made at all (a full disk) leaves the run to meet that fault at its
    // first tree file, which the run then names.
    QLockFile lock(repositoryFile + ".lock");
    lock.setStaleLockTime(0);
    if (!lock.tryLock() && lock.error() == QLockFile::LockFailedError) {
        refuse_locked(repositoryFile, lock);
        return;
    }
    work([&] { compute(treeDirectory); }, cancelButton);
}

void vx_new_repository_dialog::cancel()
{
    if (!working()) {
        destroyDialog();
        return;
    }
    askStop();
    cancelButton->setEnabled(false);
    log(QStringLiteral("Cancel: the run stops after the image in progress"));
}

bool vx_new_repository_dialog::canCompute(const QString& treeDirectory)
{
    if (!scalesEdit->hasAcceptableInput()) {
        vx_message(QStringLiteral("Invalid number of scales"),
                   "Scales must be a whole number from 2 to 1000000:\n" + scalesEdit->text());
        return false;
    }
    // No tree could be written there: refused before anything is computed.
    const QFileInfo folder(treeDirectory);
    if (!folder.isDir() || !folder.isWritable()) {
        vx_message(QStringLiteral("!!Write Error!!"),
                   "Unable to write tree files into\n" + treeDirectory);
        return false;
    }
    if (!vx_creatable(repositoryFile)) {
        vx_write_error(repositoryFile);
        return false;
    }
    return true;
}

void vx_new_repository_dialog::compute(const QString& treeDirectory)
{
    // 1.-3. The log's head and the repository of the chosen images.
    const int n = static_cast<int>(sourceNames.size());
    log(QStringLiteral("Processing %1 Files with %2 Scales\nStart at %3\n")
            .arg(n)
            .arg(scales)
            .arg(now()));
    const QByteArray target = QFile::encodeName(treeDirectory);
    vx_report("DIALOG VxRepository Target Directory %s\n", target.constData());
    std::vector<char*> names;
    for (QByteArray& name : sourceNames)
        names.push_back(name.data());
    QTVxRepository repository(names.data(), n, target.constData(), imagesPath.constData(),
                              treeGenerationMode);

    // 4.-6. Preprocessing, scales, overwriting and the bars.
    if (preprocessing) {
        repository.doPreProc(chain, QFile::encodeName(tagEdit->text()).constData());
        repository_images::show_write_failures(repository.takeWriteFailures());
    }
    repository.computeRepositoryInit(scales);
    repository.forceOverwrite(recompute);
    imageProgress->reset();
    imageProgress->setMaximum(std::max(n, 1));
    imageProgress->repaint();
    treeProgress->resetSteps(scales);

    // 7. One image per step, its trees reported on the tree bars. The run
    //    stops after the image in progress when cancelled, and at a tree file
    //    that cannot be written: a full disk or a folder turned read-only
    //    would fail every image after it.
    int done = 0;
    std::vector<TreeFileFailure> failures;
    QString failedImage;
    for (int i = 0; i < n && failures.empty() && !stopAsked(); ++i) {
        log(QStringLiteral("Processing %1/%2").arg(done + 1).arg(n));
        const qint64 start = QDateTime::currentSecsSinceEpoch();
        {
            // Memory that runs out fails the image's trees.
            const out_of_memory_recovery recovery;
            done = repository.computeRepositoryStep(treeProgress, &VxDualTreeProgress::getProgress,
                                                    failures);
        }
        if (!failures.empty())
            failedImage = QFile::decodeName(repository.ImageFilename(i));
        for (const TreeFileFailure& failure : failures)
            log(QStringLiteral("Tree file %1 not written: %2")
                    .arg(QFile::decodeName(failure.file.c_str()),
                         QString::fromLocal8Bit(failure.reason.c_str())));
        log(QStringLiteral("Took %1 seconds\n").arg(QDateTime::currentSecsSinceEpoch() - start));
        imageProgress->setValue(done);
        repaint();
        QCoreApplication::processEvents();
        treeProgress->reset();
    }
    if (done < n) {
        log(QStringLiteral("Stopped after %1 of %2 images\n").arg(done).arg(n));
        repository.listExistingTrees();
    }

    // 8.-9. The repository file, which names only the tree files in place.
    const bool written =
        repository.WriteRepository(QFile::encodeName(repositoryFile).constData()) != 0;
    log("Terminates at " + now() + "\n");
    if (failures.empty()) {
        if (!written)
            vx_write_error(repositoryFile);
        return;
    }
    // One pop-up for the whole run.
    const TreeFileFailure& first = failures.front();
    QString text = first.outOfMemory
                       ? memory_text(failedImage, scales)
                       : "Unable to write tree file\n" + QFile::decodeName(first.file.c_str()) +
                             "\n" + QString::fromLocal8Bit(first.reason.c_str());
    if (!written)
        text += "\n\nUnable to write file\n" + repositoryFile;
    vx_message(
        first.outOfMemory ? QStringLiteral("Not enough memory") : QStringLiteral("!!Write Error!!"),
        text);
}

void vx_new_repository_dialog::log(const QString& entry)
{
    logWindow->appendPlainText(entry);
}
