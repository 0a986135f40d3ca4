#include "gui/repository/vx_browse_repository.h"

#include <QFile>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QStringList>
#include <QVBoxLayout>

#include "gui/analysis/vx_draw_region.h"
#include "gui/foundation/dialog_service.h"
#include "gui/foundation/vx_message_popup.h"
#include "gui/foundation/image_loading.h"
#include "gui/foundation/thumbnails/vx_display_image_list.h"
#include "gui/foundation/vx_base_paths.h"
#include "gui/foundation/window_flags.h"
#include "gui/foundation/forms/form_widgets.h"
#include "gui/repository/detail/browser_parts.h"
#include "gui/repository/qtvx_repository.h"
#include "imagecore/handles.h"
#include "imagecore/report.h"

VxBrowseRepository::VxBrowseRepository(VxBasePaths* paths, QString file, QWidget* parent,
                                       const char* name)
    : VxBaseDialog(paths, parent, name, VX_DELETE_ON_CLOSE | Qt::Window), parentWindow(parent)
{
    // 1. The update rule follows the shared one.
    connect(paths, &VxBasePaths::changedUpdateRule, this, &VxBrowseRepository::setUpdateRule);
    updateRule = paths->UpdateRule();

    // 2. Layout and menus.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    QMenuBar* bar =
        vx_browser::addMenuBar(this, layout, QStringLiteral("Browse Repository Controls"));
    QMenu* exportMenu = bar->addMenu(QStringLiteral("Export"));
    vx_form::addMenuEntry(exportMenu, "Repository CSVs", QKeySequence(Qt::CTRL | Qt::Key_W), this,
                         &VxBrowseRepository::ExportCSV);
    QMenu* view = bar->addMenu(QStringLiteral("View"));
    vx_form::addMenuEntry(view, "Image List", QKeySequence(Qt::CTRL | Qt::Key_V), this,
                         &VxBrowseRepository::showImageList);

    // 3.-4. The repository and the title.
    repository = std::make_unique<QTVxRepository>(QFile::encodeName(file).constData());
    setWindowTitle("Browse Repository: " + file);

    // 5. The thumbnails, labelled with the images' names.
    QStringList names;
    for (int i = 0; i < repository->NumberOfImages(); ++i)
        names << QFile::decodeName(repository->ImageFilename(i));
    imageList = new VxDisplayImageList(names, static_cast<int>(names.size()), names, file, this,
                                       "Browse Display Image List");
    layout->addWidget(imageList);
    connect(imageList, &VxDisplayImageList::clickedImage, this,
            &VxBrowseRepository::StartMainDialogforImage);
    connect(imageList, &VxDisplayImageList::clickedImageContext, this,
            &VxBrowseRepository::StartContextDialogforImage);

    fileRead = repository->isRead();
    if (!fileRead) {
        vx_message(QStringLiteral("Could not read repository"), "Unable to read\n" + file);
        close();
    }
}

VxBrowseRepository::~VxBrowseRepository()
{
    emit finitoVxBrowseRepository();
}

void VxBrowseRepository::StartMainDialogforImage(int iImageID)
{
    vx_report("Recieved from %d StartMainDialogforImage\n", iImageID);
    QWidget* window =
        vx_browser::openAnalysis(paths, parentWindow, *repository, iImageID,
                                 {"Bright_Objects.rule", "Dark_Objects.rule", "Bright_Results.png",
                                  "Dark_Results.png", QFile::encodeName(updateRule)});
    if (window != nullptr)
        connect(this, &VxBrowseRepository::finitoVxBrowseRepository, window, &QWidget::close);
}

void VxBrowseRepository::StartContextDialogforImage(int iImageID)
{
    if (iImageID < 0 || iImageID >= repository->NumberOfImages())
        return;
    const QString file = QFile::decodeName(repository->ImageFilename(iImageID));
    // The sketch tool keeps a copy of the picture.
    QString failure;
    const image_handle picture(vx_read_grey_image(file, VxGreyRule::GreyEuclidean, &failure));
    if (!picture) {
        vx_read_error(file, failure);
        return;
    }
    vx_report("Recieved from %d StartContextDialogforImage\n", iImageID);
    const QString title = "Sketch on " + file;
    auto* sketch = new VxDrawRegion(paths, picture.get(), nullptr,
                                    title.toLatin1().constData(), VX_DELETE_ON_CLOSE);
    sketch->setWindowTitle(title);
    sketch->setExportFileStem(file);
    connect(this, &VxBrowseRepository::finitoVxBrowseRepository, sketch, &QWidget::close);
    sketch->show();
}

void VxBrowseRepository::QueryRepositoryDialog(QString qstQueryRule, QString qstUpdateRule)
{
    vx_report("This should Start an Query Dialog for %s with Update %s\n",
              QFile::encodeName(qstQueryRule).constData(),
              QFile::encodeName(qstUpdateRule).constData());
}

void VxBrowseRepository::ExportCSV()
{
    const QString rule = vx_dialogs().openFileName(
        this, QStringLiteral("Select Update rule"), QStringLiteral("Select Update rule"),
        QStringLiteral("*.rule"), QStringLiteral("Update (*.rule)"), false);
    const QString table = vx_dialogs().saveFileName(
        this, QStringLiteral("Export to .csv"), QStringLiteral("Export to .csv"),
        QStringLiteral("*.csv"), QStringLiteral("Table (*.csv)"), false);
    if (rule.isEmpty() || table.isEmpty())
        return;
    tableStem = table;
    updateRule = rule;
    if (!repository->writeRepositoryTables(QFile::encodeName(tableStem).constData(),
                                           QFile::encodeName(updateRule).constData()))
        vx_write_error(tableStem);
}

void VxBrowseRepository::setUpdateRule(QString qstRuleFile)
{
    updateRule = qstRuleFile;
}

void VxBrowseRepository::showImageList()
{
    imageList->showFileList();
}
