#include "gui/repository/vx_browse_query_result.h"

#include <QDialog>
#include <QFile>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QStringList>
#include <QVBoxLayout>

#include "filter/polarity.h"
#include "gui/foundation/dialog_service.h"
#include "gui/foundation/forms/form_widgets.h"
#include "gui/foundation/thumbnails/vx_display_image_list.h"
#include "gui/foundation/vx_base_paths.h"
#include "gui/foundation/vx_message_popup.h"
#include "gui/foundation/window_flags.h"
#include "gui/repository/detail/browser_parts.h"
#include "gui/repository/detail/repository_images.h"
#include "gui/repository/qtvx_labeled_repository.h"
#include "gui/repository/vx_analyze_volume_export_dialog.h"
#include "gui/repository/vx_class_export_dialog.h"
#include "imagecore/report.h"

namespace {

QByteArray encoded(const QString& name)
{
    return QFile::encodeName(name);
}

}  // namespace

VxBrowseQueryResult::VxBrowseQueryResult(VxBasePaths* paths, QString file, QWidget* parent,
                                         const char* name)
    : VxBaseDialog(paths, parent, name, VX_DELETE_ON_CLOSE | Qt::Window), parentWindow(parent)
{
    // 1.-2. Menus and layout.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    QMenuBar* bar = vx_browser::addMenuBar(this, layout, QStringLiteral("Export Menu"));
    QMenu* exports = bar->addMenu(QStringLiteral("Export"));
    using Browser = VxBrowseQueryResult;
    vx_form::addMenuEntry(exports, "All Regions Images", Qt::CTRL | Qt::Key_R, this,
                         &Browser::exportRegionImages);
    vx_form::addMenuEntry(exports, "All Contours Images", Qt::CTRL | Qt::Key_N, this,
                         &Browser::exportContoursImages);
    vx_form::addMenuEntry(exports, "Regions By Class", Qt::CTRL | Qt::Key_X, this,
                         &Browser::exportResultRegionsByClass);
    vx_form::addMenuEntry(exports, "IsoSurf Input", Qt::CTRL | Qt::Key_S, this,
                         &Browser::exportISOSurfaceImages);
    // Ctrl+S belongs to the entry above.
    vx_form::addMenuEntry(exports, "Analyze Volume", Qt::CTRL | Qt::SHIFT | Qt::Key_S, this,
                         &Browser::exportAnalyzeVolume);
    vx_form::addMenuEntry(exports, "Regions CSV Table", Qt::CTRL | Qt::Key_C, this,
                         &Browser::exportRegionsCSVTable);
    QMenu* view = bar->addMenu(QStringLiteral("View"));
    vx_form::addMenuEntry(view, "Image List", Qt::CTRL | Qt::Key_V, this, &Browser::showImageList);

    // 3.-4. The labeled repository and the title.
    labels = std::make_unique<QTVxLabeledRepository>(encoded(file).constData());
    fileRead = labels->loaded();
    setWindowTitle("Browse Query Result: " + file);

    // 5. The labelled images with their counts.
    QStringList images;
    QStringList counts;
    const int n = fileRead ? labels->getNumberOfImages() : 0;
    for (int i = 0; i < n; ++i) {
        images << QFile::decodeName(labels->getImageName(i));
        counts << QString::fromLatin1(labels->getNumberOfRegions(i));
    }
    imageList = new VxDisplayImageList(images, n, counts, file, this, "Browse Display Image List");
    connect(imageList, &VxDisplayImageList::clickedImage, this,
            &VxBrowseQueryResult::StartMainDialogforImage);
    auto* row = new QHBoxLayout;
    row->addWidget(imageList);
    layout->addLayout(row);

    // 6. The mode and its button.
    auto* status = new QStatusBar(this);
    status->setObjectName(QStringLiteral("browse query result status bar"));
    modeButton = new QPushButton(QStringLiteral("Bright Mode"), status);
    modeButton->setObjectName(QStringLiteral("browse query result mode selection in status bar"));
    connect(modeButton, &QPushButton::clicked, this, &VxBrowseQueryResult::switchMode);
    status->addWidget(modeButton);
    layout->addWidget(status);

    if (!fileRead) {
        vx_message(QStringLiteral("Could not read query result"), "Unable to read\n" + file);
        close();
    }
}

VxBrowseQueryResult::~VxBrowseQueryResult()
{
    emit finitoVxBrowseQueryResult();
}

VxBasePaths* VxBrowseQueryResult::currentPaths() const
{
    return sharedPaths != nullptr ? sharedPaths.data() : paths;
}

void VxBrowseQueryResult::StartMainDialogforImage(int iImageID)
{
    vx_report("Recieved from %d StartMainDialogforImage\n", iImageID);
    if (labels->getRepository() == nullptr)
        return;
    vx_browser::analysis_files files = {"Bright_Objects.rule", "Dark_Objects.rule",
                                        "Bright_results.png", "Dark_results.png",
                                        encoded(currentPaths()->UpdateRule())};
    // Class names are rule files; the last class of a polarity wins.
    for (int k = 1; k < labels->getNumberOfClasses(); ++k) {
        if (labels->getMode(k) == POLARITY_BRIGHT)
            files.brightRule = labels->getClassName(k);
        else if (labels->getMode(k) == POLARITY_DARK)
            files.darkRule = labels->getClassName(k);
    }
    QWidget* window = vx_browser::openAnalysis(currentPaths(), parentWindow,
                                               *labels->getRepository(), iImageID, files);
    if (window != nullptr)
        connect(this, &VxBrowseQueryResult::finitoVxBrowseQueryResult, window, &QWidget::close);
}

QString VxBrowseQueryResult::targetStem()
{
    return vx_dialogs().saveFileName(this, QStringLiteral("Get Target Path+Stem"),
                                     QStringLiteral("Get Target Path+Stem"), QStringLiteral("./"),
                                     QStringLiteral("Target Path + Stem"), false);
}

void VxBrowseQueryResult::exportRegionImages()
{
    const QString stem = targetStem();
    if (stem.isEmpty())
        return;
    labels->writeResultRegions(encoded(stem).constData());
    repository_images::show_write_failures(labels->takeWriteFailures());
}

void VxBrowseQueryResult::exportContoursImages()
{
    const QString stem = targetStem();
    if (stem.isEmpty())
        return;
    labels->writeResultContours(encoded(stem).constData());
    repository_images::show_write_failures(labels->takeWriteFailures());
}

void VxBrowseQueryResult::exportISOSurfaceImages()
{
    const QString file = targetStem();
    if (!file.isEmpty() && labels->writeIsoSurface(encoded(file).constData(), 1) == 0)
        vx_write_error(file);
}

void VxBrowseQueryResult::exportResultRegionsByClass()
{
    VxClassExportDialog dialog(labels->getNumberOfClasses(), labels->getClassNames(),
                               QStringLiteral("Filestem for Export of Regions"),
                               QStringLiteral("FileStem"), QString(), this, "Export Result Regions",
                               1);
    if (vx_dialogs().exec(dialog) != QDialog::Accepted || dialog.getFileName().isEmpty())
        return;
    labels->writeResultRegions(encoded(dialog.getFileName()).constData(), dialog.getClass());
    repository_images::show_write_failures(labels->takeWriteFailures());
}

void VxBrowseQueryResult::exportAnalyzeVolume()
{
    VxAnalyzeVolumeExportDialog dialog(QStringLiteral("Filestem for Export of Volume"),
                                       QStringLiteral("*hdr, *img"), QString(), this,
                                       "Export Analyze Volume", 1);
    if (vx_dialogs().exec(dialog) != QDialog::Accepted || dialog.getFileName().isEmpty())
        return;
    if (labels->writeResultANLZVolume(encoded(dialog.getFileName()).constData(), dialog.getZScale(),
                                      dialog.getBinarize()) == 0)
        vx_write_error(dialog.getFileName());
}

void VxBrowseQueryResult::exportRegionsCSVTable()
{
    vx_browser::exportClassifiedTable(
        this, *labels,
        vx_browser::repositoryNameWith(*labels, mode == POLARITY_BRIGHT
                                                    ? QStringLiteral(".classified.bright.csv")
                                                    : QStringLiteral(".classified.dark.csv")),
        currentPaths()->UpdateRule(), mode);
}

void VxBrowseQueryResult::showImageList()
{
    imageList->showFileList();
}

void VxBrowseQueryResult::switchMode()
{
    mode = mode == POLARITY_BRIGHT ? POLARITY_DARK : POLARITY_BRIGHT;
    modeButton->setText(mode == POLARITY_BRIGHT ? QStringLiteral("Bright Mode")
                                                : QStringLiteral("Dark Mode"));
}
