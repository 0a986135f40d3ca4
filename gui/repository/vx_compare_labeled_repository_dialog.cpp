#include "gui/repository/vx_compare_labeled_repository_dialog.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <string>
#include <vector>

#include "gui/foundation/forms/form_parts.h"
#include "gui/foundation/window_flags.h"
#include "gui/repository/detail/compare_form.h"
#include "gui/repository/qtvx_labeled_repository.h"

VxCompareLabeledRepositoryDialog::VxCompareLabeledRepositoryDialog(VxBasePaths* paths,
                                                                   QWidget* parent,
                                                                   const char* name)
    : VxWorkingDialog(paths, parent, name, VX_DELETE_ON_CLOSE)
{
    setWindowTitle(QStringLiteral("Compare Labeled Repository to GT"));
    makeForm();
}

VxCompareLabeledRepositoryDialog::~VxCompareLabeledRepositoryDialog() = default;

void VxCompareLabeledRepositoryDialog::makeForm()
{
    using vx_compare_form::addTextRow;
    using vx_form::addFileRow;
    constexpr vx_form::ButtonSide right = vx_form::ButtonSide::right;
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    // The input: labelled repository, ground truth and its tag.
    auto* input = new QLabel(QStringLiteral("INPUT:"), this);
    input->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    layout->addWidget(input);
    // "Labled" is the field's name as the system has always spelt it.
    const vx_form::FileRow labeled =
        addFileRow(this, layout, QStringLiteral("Labeled Repository"),
                   QStringLiteral("Path to Labeled Repository File to Compare"),
                   QStringLiteral("Labled Repository to Compare"), QString(), right);
    labeledRepositoryEdit = labeled.edit;
    connect(labeledRepositoryEdit, &QLineEdit::textChanged, this,
            &VxCompareLabeledRepositoryDialog::set_labeled_repository_file);
    connect(labeled.button, &QPushButton::clicked, this,
            &VxCompareLabeledRepositoryDialog::set_labeled_repository_file_dialog);
    const vx_form::FileRow truth =
        addFileRow(this, layout, QStringLiteral("Path to GT Images"),
                   QStringLiteral("Path to Ground Truth Compare"),
                   QStringLiteral("Path to Ground Truth to Compare"), QString(), right);
    gtPathEdit = truth.edit;
    connect(gtPathEdit, &QLineEdit::textChanged, this,
            &VxCompareLabeledRepositoryDialog::set_gt_path);
    connect(truth.button, &QPushButton::clicked, this,
            &VxCompareLabeledRepositoryDialog::set_gt_path_dialog);
    gtTagEdit = addTextRow(this, layout, QStringLiteral("Ground Truth Tag"),
                           QStringLiteral("Ground Truth Tag"));
    connect(gtTagEdit, &QLineEdit::textChanged, this, &VxCompareLabeledRepositoryDialog::set_GTTag);

    // The results: table, images path and tag.
    layout->addWidget(new QLabel(QStringLiteral("RESULTS:"), this));
    const vx_form::FileRow table =
        addFileRow(this, layout, QStringLiteral("Quantitative Result"), QString(),
                   QStringLiteral("Comparison Result File"), QString(), right);
    resultFileEdit = table.edit;
    connect(resultFileEdit, &QLineEdit::textChanged, this,
            &VxCompareLabeledRepositoryDialog::set_crf);
    connect(table.button, &QPushButton::clicked, this,
            &VxCompareLabeledRepositoryDialog::set_crf_dialog);
    const vx_form::FileRow images = addFileRow(this, layout, QStringLiteral("Result Images Path"),
                                               QStringLiteral("Path to Resultimages"),
                                               QStringLiteral("Path to Result"), QString(), right);
    resultPathEdit = images.edit;
    connect(resultPathEdit, &QLineEdit::textChanged, this,
            &VxCompareLabeledRepositoryDialog::set_result_path);
    connect(images.button, &QPushButton::clicked, this,
            &VxCompareLabeledRepositoryDialog::set_result_path_dialog);
    resultTagEdit =
        addTextRow(this, layout, QStringLiteral("Result Images Tag"), QStringLiteral("Result Tag"));
    connect(resultTagEdit, &QLineEdit::textChanged, this,
            &VxCompareLabeledRepositoryDialog::setResultTag);

    // Compare and its bar.
    auto* compareButton = new QPushButton(QStringLiteral("Compare"), this);
    compareButton->setObjectName(QStringLiteral("Start Comparison"));
    connect(compareButton, &QPushButton::clicked, this, &VxCompareLabeledRepositoryDialog::done);
    layout->addWidget(compareButton);
    progressBar = vx_compare_form::addProgressBar(this, layout);
}

void VxCompareLabeledRepositoryDialog::ProgressBar(int step)
{
    vx_compare_form::showProgress(progressBar, step, numberOfImages);
}

void VxCompareLabeledRepositoryDialog::getProgress(int imageIndex, void* context)
{
    static_cast<VxCompareLabeledRepositoryDialog*>(context)->ProgressBar(imageIndex + 1);
}

void VxCompareLabeledRepositoryDialog::set_gt_path(QString sFile)
{
    gtPath = sFile;
}

void VxCompareLabeledRepositoryDialog::set_gt_path_dialog()
{
    vx_compare_form::chooseGroundTruthPath(this, paths, gtPathEdit);
}

void VxCompareLabeledRepositoryDialog::set_crf(QString sFile)
{
    resultFile = sFile;
}

void VxCompareLabeledRepositoryDialog::set_crf_dialog()
{
    vx_compare_form::chooseResultTable(paths, resultFileEdit);
}

void VxCompareLabeledRepositoryDialog::set_GTTag(QString sFile)
{
    gtTag = sFile;
}

void VxCompareLabeledRepositoryDialog::set_labeled_repository_file(QString sFile)
{
    labeledRepositoryFile = sFile;
}

void VxCompareLabeledRepositoryDialog::set_labeled_repository_file_dialog()
{
    vx_compare_form::chooseOpenFile(paths, labeledRepositoryEdit,
                                    QStringLiteral("(Repository) *.vxq"),
                                    QStringLiteral("Set Labeled Repository for Comparison"));
}

void VxCompareLabeledRepositoryDialog::done()
{
    if (working())
        return;
    if (vx_compare_form::fieldsGiven({{"Labeled Repository", labeledRepositoryFile},
                                      {"Path to GT Images", gtPath},
                                      {"Quantitative Result", resultFile}}))
        compare();
    destroyDialog();
}

void VxCompareLabeledRepositoryDialog::compare()
{
    // Reading also brings the label images up to date.
    QTVxLabeledRepository labeled(QFile::encodeName(labeledRepositoryFile).constData());
    VxRepository* repository = labeled.getRepository();
    if (!labeled.loaded() || repository == nullptr || !repository->isRead()) {
        vx_compare_form::readError(labeled.loaded() ? QFile::decodeName(labeled.RepositoryName())
                                                    : labeledRepositoryFile);
        return;
    }
    numberOfImages = repository->NumberOfImages();
    const QByteArray table = QFile::encodeName(resultFile);
    const QByteArray truth = QFile::encodeName(gtPath);
    const QByteArray tag = QFile::encodeName(gtTag);
    int written = 0;
    std::vector<std::string> withoutGroundTruth;
    work([&] {
        written = labeled.CompareImageRegions(
            table.constData(), truth.constData(), vx_compare_form::textOrNull(tag), 0, this,
            &VxCompareLabeledRepositoryDialog::getProgress, withoutGroundTruth);
    });
    if (written == 0)
        labeled.noteWriteFailure(table.toStdString());
    vx_compare_form::reportComparison(labeled.takeWriteFailures(), withoutGroundTruth,
                                      numberOfImages, gtPath);
}

void VxCompareLabeledRepositoryDialog::set_result_path(QString sPath)
{
    resultPath = sPath;
}

void VxCompareLabeledRepositoryDialog::setResultTag(QString sString)
{
    resultTag = sString;
}

void VxCompareLabeledRepositoryDialog::set_result_path_dialog()
{
    vx_compare_form::chooseResultPath(this, paths, resultPathEdit, resultTagEdit);
}
