// VxClassificationView: the window, its modes, and the labelling of images.
#include "gui/repository/vx_classification_view.h"

#include <QBoxLayout>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>

#include "analyse/trees/region_types.h"
#include "filter/lMMS_Part.h"
#include "filter/polarity.h"
#include "gui/analysis/vx_analyse_control.h"
#include "gui/foundation/dialog_service.h"
#include "gui/foundation/forms/form_widgets.h"
#include "gui/foundation/forms/vx_attribute_selection.h"
#include "gui/foundation/thumbnails/vx_display_image_list.h"
#include "gui/foundation/vx_message_popup.h"
#include "gui/foundation/window_flags.h"
#include "gui/repository/detail/browser_parts.h"
#include "gui/repository/detail/repository_images.h"
#include "gui/repository/qtvx_labeled_repository.h"
#include "gui/repository/vx_select_regions_from_tree.h"
#include "imagecore/report.h"
#include "imagecore/text/vxstringtools.h"

VxClassificationView::VxClassificationView(QTVxLabeledRepository* labeledRepository,
                                           QWidget* parent, const char* name)
    : QWidget(parent, vx_qt_window_flags(VX_DELETE_ON_CLOSE)),
      labeled(labeledRepository),
      resultPath(labeledRepository->getResultPath())
{
    vx_apply_close_flag(this, VX_DELETE_ON_CLOSE);
    setObjectName(QString::fromLatin1(name));
    vx_report("Classification Destination Path %s\n", resultPath.c_str());
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    makeMenus(layout);

    const QString repositoryName = QFile::decodeName(labeled->RepositoryName());
    setWindowTitle("Classification View:" + repositoryName);
    const int n = labeled->getNumberOfImages();
    views.resize(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        names << QFile::decodeName(labeled->getImageName(i));
    imageList =
        new VxDisplayImageList(names, n, names, repositoryName, this, "Browse Display Image List");
    auto* row = new QHBoxLayout;
    row->addWidget(imageList);
    layout->addLayout(row);
    connect(imageList, &VxDisplayImageList::clickedImageButton, this,
            &VxClassificationView::StartClassificationDialogforImage);
    makeStatusBar(layout);
}

VxClassificationView::~VxClassificationView()
{
    // Each view's closedID() empties its slot.
    for (QPointer<VxSelectRegionsFromTree>& view : views)
        delete view;
}

void VxClassificationView::makeMenus(QBoxLayout* layout)
{
    using View = VxClassificationView;
    
    QMenuBar* bar = vx_browser::addMenuBar(this, layout, QStringLiteral("Control Menu"));
    QMenu* exports = bar->addMenu(QStringLiteral("Export"));
    exports->setObjectName(QStringLiteral("Exports"));
    vx_form::addMenuEntry(exports, "Classification", Qt::CTRL | Qt::Key_W, this, &View::WriteClassification);
    vx_form::addMenuEntry(exports, "Regions Table", Qt::CTRL | Qt::Key_T, this, &View::exportRegionsTable);
    vx_form::addMenuEntry(exports, "RUREVUdU Data", Qt::CTRL | Qt::Key_H, this, &View::generateRUREVUDUData);
    vx_form::addMenuEntry(exports, "C4.5 Training", Qt::CTRL | Qt::Key_A, this, &View::c4_5_training);
    vx_form::addMenuEntry(exports, "Regions By Class", Qt::CTRL | Qt::Key_X, this,
             &View::exportResultRegionsByClass);
    vx_form::addMenuEntry(exports, "All Regions", Qt::CTRL | Qt::SHIFT | Qt::Key_X, this,
             &View::exportResultRegions);
    vx_form::addMenuEntry(exports, "ISOSurface Volume", Qt::CTRL | Qt::Key_S, this,
             &View::exportISOSurfaceVolume);
    QMenu* view = bar->addMenu(QStringLiteral("View"));
    view->setObjectName(QStringLiteral("View"));
    vx_form::addMenuEntry(view, "Image List", Qt::CTRL | Qt::Key_V, this, &View::showImageList);
}

void VxClassificationView::makeStatusBar(QBoxLayout* layout)
{
    auto* status = new QStatusBar(this);
    status->setObjectName(QStringLiteral("browse query result status bar"));
    status->setSizeGripEnabled(false);
    status->addWidget(new QLabel(QStringLiteral("Select Mode"), status));
    modeButton = vx_form::fixedButton("Bright Mode", status);
    modeButton->setObjectName(QStringLiteral("browse query result mode selection in status bar"));
    auto* modes = new QMenu(modeButton);
    modes->setObjectName(QStringLiteral("Mode Selection"));
    vx_form::addMenuEntry(modes, "Bright Mode", Qt::ALT | Qt::Key_B, this,
                          &VxClassificationView::setBrightMode);
    vx_form::addMenuEntry(modes, "Dark Mode", Qt::ALT | Qt::Key_D, this,
                          &VxClassificationView::setDarkMode);
    modeButton->setMenu(modes);
    status->addWidget(modeButton);
    layout->addWidget(status);
}

void VxClassificationView::setUpdateRule(const char* rule)
{
    updateRule = rule != nullptr ? rule : "";
    vx_report("Reset Update Rule %s\n", updateRule.c_str());
}

// ---- modes ----

void VxClassificationView::setMode(int newMode)
{
    mode = newMode;
    modeButton->setText(mode == POLARITY_BRIGHT ? QStringLiteral("Bright Mode")
                                                : QStringLiteral("Dark Mode"));
}

void VxClassificationView::setBrightMode()
{
    setMode(POLARITY_BRIGHT);
}

void VxClassificationView::setDarkMode()
{
    setMode(POLARITY_DARK);
}

void VxClassificationView::switchMode()
{
    setMode(mode == POLARITY_BRIGHT ? POLARITY_DARK : POLARITY_BRIGHT);
}

// ---- labelling ----

void VxClassificationView::StartClassificationDialogforImage(int iButtonID, int iImageID)
{
    if (iImageID < 0 || iImageID >= static_cast<int>(views.size()))
        return;
    delete views[static_cast<size_t>(iImageID)];
    VxRepository* repository = labeled->getRepository();
    const std::string bright = repository->BrightTreeFilename(iImageID);
    const std::string dark = repository->DarkTreeFilename(iImageID);
    const std::string file = repository->ImageFilename(iImageID);
    auto control = std::make_unique<vx_analyse_control>(
        bright.c_str(), dark.c_str(), "Result", file.c_str(), "Bright_Objects.rule",
        "Dark_Objects.rule", "Bright_results.png", "Dark_results.png", updateRule.c_str(),
        "vx_analyse_control", MMS_REMOVE_NOISE, nullptr);
    if (!control->loaded()) {
        vx_message(QStringLiteral("Could not open the image for labelling"),
                   control->loadFailure());
        return;
    }
    auto* view = new VxSelectRegionsFromTree(control.release(), mode, labeled->getModes(),
                                             iButtonID, iImageID, labeled->getNumberOfClasses(),
                                             labeled->getClassNames(), nullptr, "Classification",
                                             VX_DELETE_ON_CLOSE);
    views[static_cast<size_t>(iImageID)] = view;
    connect(view, &VxSelectRegionsFromTree::closedID, this, &VxClassificationView::resetDialog);
    connect(view, &VxSelectRegionsFromTree::validate, this,
            &VxClassificationView::SetClassifiedRegions);
    // The names live in the labeled repository, which every view shares.
    connect(
        view, &VxSelectRegionsFromTree::renameClass, this,
        [this](int cls, const char* name) { labeled->setClassName(name, cls); },
        Qt::DirectConnection);
    view->show();
}

void VxClassificationView::SetClassifiedRegions(vx_analyse_control* pmsacControl, int iClass, int,
                                                int iImageID)
{
    if (pmsacControl == nullptr || iImageID < 0 || iImageID >= static_cast<int>(views.size()))
        return;
    // The view, and its controller with it, may go while the pop-up and the
    // save dialog below are open.
    const QPointer<vx_analyse_control> control(pmsacControl);
    const QPointer<VxSelectRegionsFromTree> view = views[static_cast<size_t>(iImageID)];

    // 1. The label image's name.
    char file[repository_images::kNameCapacity];
    truncateFileName(control->imagename(), file, sizeof file);
    const std::string labelImage =
        resultPath + "/labeled." + file + "." + labeled->getImageFormat();
    names[iImageID] = QFile::decodeName(labelImage.c_str());
    vx_report("Classified Image at %s\n", labelImage.c_str());

    // 2. The file indices of the selected regions of the class's tree.
    const int classMode = labeled->getMode(iClass);
    tregionnode** selected = classMode == POLARITY_BRIGHT ? control->opennodelist()
                             : classMode == POLARITY_DARK ? control->closenodelist()
                                                          : nullptr;
    const int size =
        classMode == POLARITY_BRIGHT ? control->onodelistsize() : control->cnodelistsize();
    std::vector<int> ids;
    for (int i = 0; selected != nullptr && i < size; ++i)
        if (selected[i] != nullptr) {
            ids.push_back(selected[i]->file_index);
            vx_report(classMode == POLARITY_BRIGHT ? "Classified Bright Region %d\n"
                                                   : "Classified Dark Region %d\n",
                      ids.back());
        }
    const int count = static_cast<int>(ids.size());

    // 3. Stored by image index, whatever the button shows by now.
    labeled->setImage(iImageID, count, ids.data(), iClass, labelImage.c_str());
    labeled->writeClassifiedRegionsImage(iImageID);
    repository_images::show_write_failures(labeled->takeWriteFailures());

    // 4. The ".vxq" file.
    if (!autosaveName.isEmpty()) {
        writeLabels(autosaveName);
    } else {
        VxMessagePopUp hint(VxMessagePopUp::notice, QStringLiteral("For Your Own Good!"),
                            QStringLiteral("If you provide a valid autosave Filename for the "
                                           "result\nthis dialog wont show up again and\nautosave "
                                           "is performed automatically\n"));
        vx_dialogs().exec(hint);
        WriteClassification();
    }

    // 5. The list's entry, and its thumbnail if a button shows it now: a
    //    later page shows the label image too.
    imageList->resetImage(iImageID, names[iImageID],
                          QString::asprintf("Classified with %d Regions", count));

    // 6. The next class starts from an empty selection.
    if (control && view)
        view->clear();
}

void VxClassificationView::resetDialog(int iImageID)
{
    if (iImageID >= 0 && iImageID < static_cast<int>(views.size()))
        views[static_cast<size_t>(iImageID)] = nullptr;
}

void VxClassificationView::showImageList()
{
    imageList->showFileList();
}
