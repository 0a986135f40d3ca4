#include "gui/repository/vx_compare_repository_tree_dialog.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <string>
#include <vector>

#include "filter/polarity.h"
#include "gui/foundation/forms/form_parts.h"
#include "gui/foundation/vx_message_popup.h"
#include "gui/foundation/window_flags.h"
#include "gui/repository/detail/compare_form.h"
#include "gui/repository/detail/repository_images.h"
#include "gui/repository/qtvx_repository.h"

VxCompareRepositoryTreeDialog::VxCompareRepositoryTreeDialog(VxBasePaths* paths, QWidget* parent,
                                                             const char* name)
    : VxWorkingDialog(paths, parent, name, VX_DELETE_ON_CLOSE)
{
    setWindowTitle(QStringLiteral("Compare Repository to GT"));
    makeForm();
}

VxCompareRepositoryTreeDialog::~VxCompareRepositoryTreeDialog() = default;

void VxCompareRepositoryTreeDialog::makeForm()
{
    using vx_compare_form::addTextRow;
    using vx_form::addFileRow;
    auto* layout = new QVBoxLayout(this);

    // 1.-7. The input: repository, ground truth, mode, quality and ids.
    layout->addWidget(new QLabel(QStringLiteral("INPUT:"), this));
    const vx_form::FileRow repository =
        addFileRow(this, layout, QStringLiteral("Repository"),
                   QStringLiteral("Path to Repository File to Compare"),
                   QStringLiteral("Repository to Compare"));
    repositoryEdit = repository.edit;
    connect(repository.button, &QPushButton::clicked, this,
            &VxCompareRepositoryTreeDialog::set_repository_file_dialog);
    connect(repositoryEdit, &QLineEdit::textChanged, this,
            &VxCompareRepositoryTreeDialog::set_repository_file);
    const vx_form::FileRow truth = addFileRow(this, layout, QStringLiteral("Path to GT Images"),
                                              QStringLiteral("Path to Ground Truth Compare"),
                                              QStringLiteral("Path to Ground Truth to Compare"));
    gtPathEdit = truth.edit;
    connect(truth.button, &QPushButton::clicked, this,
            &VxCompareRepositoryTreeDialog::set_gt_path_dialog);
    connect(gtPathEdit, &QLineEdit::textChanged, this, &VxCompareRepositoryTreeDialog::set_gt_path);
    connect(addTextRow(this, layout, QStringLiteral("Ground Truth Tag"),
                       QStringLiteral("Ground Truth Tag")),
            &QLineEdit::textChanged, this, &VxCompareRepositoryTreeDialog::set_GTTag);
    modeButton = new QPushButton(QStringLiteral("Bright Regions"), this);
    modeButton->setObjectName(QStringLiteral("Mode"));
    connect(modeButton, &QPushButton::clicked, this, &VxCompareRepositoryTreeDialog::switchmode);
    layout->addWidget(modeButton);
    QLineEdit* qualityEdit =
        addTextRow(this, layout, QStringLiteral("Deviation of Quality"), QStringLiteral("Quality"));
    qualityEdit->setText(QString::number(quality, 'g', 6));
    connect(qualityEdit, &QLineEdit::textChanged, this,
            &VxCompareRepositoryTreeDialog::set_quality);
    connect(
        addTextRow(this, layout, QStringLiteral("Valid GT IDs"), QStringLiteral("Valid GT IDs")),
        &QLineEdit::textChanged, this, &VxCompareRepositoryTreeDialog::set_GTIds);

    // 8.-11. The results: table, images path and tag.
    layout->addWidget(new QLabel(QStringLiteral("RESULTS:"), this));
    const vx_form::FileRow table = addFileRow(this, layout, QStringLiteral("Quantitative Result"),
                                              QString(), QStringLiteral("Comparison Result File"));
    resultFileEdit = table.edit;
    connect(table.button, &QPushButton::clicked, this,
            &VxCompareRepositoryTreeDialog::set_crf_dialog);
    connect(resultFileEdit, &QLineEdit::textChanged, this, &VxCompareRepositoryTreeDialog::set_crf);
    const vx_form::FileRow images =
        addFileRow(this, layout, QStringLiteral("Result Images Path"),
                   QStringLiteral("Path to Resultimages"), QStringLiteral("Path to Result"));
    resultPathEdit = images.edit;
    connect(images.button, &QPushButton::clicked, this,
            &VxCompareRepositoryTreeDialog::set_result_path_dialog);
    connect(resultPathEdit, &QLineEdit::textChanged, this,
            &VxCompareRepositoryTreeDialog::set_result_path);
    resultTagEdit =
        addTextRow(this, layout, QStringLiteral("Result Images Tag"), QStringLiteral("Result Tag"));
    connect(resultTagEdit, &QLineEdit::textChanged, this,
            &VxCompareRepositoryTreeDialog::setResultTag);

    // 12. Compare and its bar.
    auto* compareButton = new QPushButton(QStringLiteral("Compare"), this);
    compareButton->setObjectName(QStringLiteral("Start Comparison"));
    connect(compareButton, &QPushButton::clicked, this, &VxCompareRepositoryTreeDialog::done);
    layout->addWidget(compareButton);
    progressBar = vx_compare_form::addProgressBar(this, layout);
}

void VxCompareRepositoryTreeDialog::ProgressBar(int value)
{
    vx_compare_form::showProgress(progressBar, value, numberOfImages);
}

void VxCompareRepositoryTreeDialog::getProgress(int imageIndex, void* context)
{
    static_cast<VxCompareRepositoryTreeDialog*>(context)->ProgressBar(imageIndex + 1);
}

void VxCompareRepositoryTreeDialog::set_repository_file(QString sFile)
{
    repositoryFile = sFile;
}

void VxCompareRepositoryTreeDialog::set_gt_path(QString sPath)
{
    gtPath = sPath;
}

void VxCompareRepositoryTreeDialog::set_GTTag(QString sString)
{
    gtTag = sString;
}

void VxCompareRepositoryTreeDialog::set_GTIds(QString sString)
{
    gtIds = sString;
}

void VxCompareRepositoryTreeDialog::set_crf(QString sFile)
{
    resultFile = sFile;
}

void VxCompareRepositoryTreeDialog::set_result_path(QString sPath)
{
    resultPath = sPath;
}

void VxCompareRepositoryTreeDialog::setResultTag(QString sString)
{
    resultTag = sString;
}

void VxCompareRepositoryTreeDialog::set_quality(QString sString)
{
    // QString reads numbers in the C locale and gives 0 for any other text.
    quality = sString.toDouble();
}

void VxCompareRepositoryTreeDialog::switchmode()
{
    mode = mode == POLARITY_BRIGHT ? POLARITY_DARK : POLARITY_BRIGHT;
    modeButton->setText(mode == POLARITY_BRIGHT ? QStringLiteral("Bright Regions")
                                                : QStringLiteral("Dark Regions"));
}

void VxCompareRepositoryTreeDialog::set_repository_file_dialog()
{
    vx_compare_form::chooseOpenFile(paths, repositoryEdit, QStringLiteral("(Repository) *.vxr"),
                                    QStringLiteral("Set Repository for Comparison"));
}

void VxCompareRepositoryTreeDialog::set_gt_path_dialog()
{
    vx_compare_form::chooseGroundTruthPath(this, paths, gtPathEdit);
}

void VxCompareRepositoryTreeDialog::set_crf_dialog()
{
    vx_compare_form::chooseResultTable(paths, resultFileEdit);
}

void VxCompareRepositoryTreeDialog::set_result_path_dialog()
{
    vx_compare_form::chooseResultPath(this, paths, resultPathEdit, resultTagEdit);
}

void VxCompareRepositoryTreeDialog::done()
{
    if (working())
        return;
    if (vx_compare_form::fieldsGiven({{"Repository", repositoryFile},
                                      {"Path to GT Images", gtPath},
                                      {"Quantitative Result", resultFile}}) &&
        idsGiven())
        compare();
    destroyDialog();
}

bool VxCompareRepositoryTreeDialog::idsGiven() const
{
    // The comparison reads each id up to the first character that is not
    // part of a number, so "1-24" would silently become the one id 1.
    bool valid = true;
    if (!gtIds.trimmed().isEmpty())
        for (const QString& id : gtIds.split(',')) {
            bool number = false;
            id.trimmed().toInt(&number);
            valid = valid && number;
        }
    if (!valid)
        vx_message(QStringLiteral("Invalid GT IDs"),
                   "\"" + gtIds + "\" is no comma-separated list of label values (like 1, 2, 7).");
    return valid;
}

void VxCompareRepositoryTreeDialog::compare()
{
    QTVxRepository repository(QFile::encodeName(repositoryFile).constData());
    if (!repository.isRead()) {
        vx_compare_form::readError(repositoryFile);
        return;
    }
    numberOfImages = repository.NumberOfImages();
    // Each field goes to the parameter of its meaning; an empty one as none.
    using vx_compare_form::textOrNull;
    const QByteArray table = QFile::encodeName(resultFile);
    const QByteArray truth = QFile::encodeName(gtPath);
    const QByteArray ids = gtIds.toLatin1();
    const QByteArray truthTag = QFile::encodeName(gtTag);
    const QByteArray images = QFile::encodeName(resultPath);
    const QByteArray imagesTag = QFile::encodeName(resultTag);
    int written = 0;
    std::vector<std::string> withoutGroundTruth;
    work([&] {
        written = repository.CompareTreesGroundTruth(
            table.constData(), mode, truth.constData(), quality, textOrNull(ids),
            textOrNull(truthTag), textOrNull(images), textOrNull(imagesTag), this,
            &VxCompareRepositoryTreeDialog::getProgress, withoutGroundTruth);
    });
    // The table and the best-match images in one pop-up.
    if (written == 0)
        repository.noteWriteFailure(table.toStdString());
    vx_compare_form::reportComparison(repository.takeWriteFailures(), withoutGroundTruth,
                                      numberOfImages, gtPath);
}
