// vx_new_project_dialog: the form, loading, converting, preprocessing and
// saving the image.
#include "gui/analysis/vx_new_project_dialog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "automation/preprocessing/process_image.h"
#include "gui/analysis/vx_analyse_control.h"
#include "gui/foundation/dialog_service.h"
#include "gui/foundation/forms/form_widgets.h"
#include "gui/foundation/image_open_filter.h"
#include "gui/foundation/preprocessing/vx_preprocess_selection.h"
#include "gui/foundation/qimage_frame.h"
#include "gui/foundation/screen_fit.h"
#include "gui/foundation/vx_base_paths.h"
#include "gui/foundation/vx_dual_tree_progress.h"
#include "gui/foundation/vx_message_popup.h"
#include "gui/foundation/window_flags.h"
#include "imagecore/report.h"

vx_new_project_dialog::vx_new_project_dialog(VxBasePaths* shared, vx_analyse_control* control,
                                             QWidget* parent, const char* name, int flags)
    : VxWorkingDialog(shared, parent, name, flags | VX_DELETE_ON_CLOSE), control(control)
{
    // 1.-2. The title; the controller takes the shared update rule and its
    //       changes.
    setWindowTitle(QStringLiteral("Create RAVAZ"));
    control->setUpdateRule(shared->UpdateRule());
    connect(shared, &VxBasePaths::changedUpdateRule, control,
            qOverload<const QString&>(&vx_analyse_control::setUpdateRule));
    // 3. The form.
    makeLayout();
    // 4. The button names the mode the controller computes with.
    control->generateTreeMode(treeGenerationMode);
    frame()->setTip(QString());
}

vx_new_project_dialog::~vx_new_project_dialog()
{
    if (!handedOn)
        delete control;
}

void vx_new_project_dialog::makeLayout()
{
    auto* box = new QVBoxLayout(vx_scrolled_content(this));
    box->setSizeConstraint(QLayout::SetFixedSize);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    const auto edit = [this](const QString& text, const char* objectName) {
        auto* made = new QLineEdit(text, this);
        made->setObjectName(QString::fromLatin1(objectName));
        return made;
    };
    const QString imageName = QFile::decodeName(control->imagename());

    // 1. The image file.
    auto* row = new QHBoxLayout;
    box->addLayout(row);
    QPushButton* load = vx_form::fixedButton("Load", this, "Infiledialog");
    imageNameEdit = edit(imageName, "Resultnameedit");
    row->addWidget(load);
    row->addWidget(imageNameEdit);
    connect(imageNameEdit, &QLineEdit::textChanged, this, &vx_new_project_dialog::set_load_image);
    connect(imageNameEdit, &QLineEdit::returnPressed, this, &vx_new_project_dialog::load_image);
    connect(load, &QPushButton::clicked, this, &vx_new_project_dialog::load_image_dialog);

    // 2. The scale count.
    row = new QHBoxLayout;
    box->addLayout(row);
    row->addWidget(new QLabel(QStringLiteral("Scales:"), this));
    scalesEdit = vx_form::numberField(QString::number(control->oscales()), 2, largest_scale_count, this);
    scalesEdit->setObjectName(QStringLiteral("Scales"));
    scalesEdit->setFixedWidth(50);
    row->addWidget(scalesEdit);
    row->addStretch();
    connect(scalesEdit, &QLineEdit::textChanged, this, &vx_new_project_dialog::set_scales);

    // 3. Start and the denoising mode.
    row = new QHBoxLayout;
    box->addLayout(row);
    QPushButton* start = vx_form::fixedButton("Start", this, "Start");
    start->setDefault(true);
    denoiseButton = vx_form::fixedButton("Remove Noise", this, "Remove Noise Selection");
    row->addWidget(start);
    row->addWidget(new QLabel(QStringLiteral("Computation Mode: "), this));
    row->addWidget(denoiseButton);
    row->addStretch();
    connect(start, &QPushButton::clicked, this, &vx_new_project_dialog::accept);
    connect(denoiseButton, &QPushButton::clicked, this,
            &vx_new_project_dialog::changeGenerateTreeMode);

    // 4. Conversions and preprocessing beside the display frame.
    row = new QHBoxLayout;
    box->addLayout(row);
    auto* column = new QVBoxLayout;
    row->addLayout(column);
    QPushButton* euclidean = vx_form::fixedButton("EuclideanGrey", this, "Convert2EuclideanGrey");
    QPushButton* value = vx_form::fixedButton("ValueGrey", this, "Convert2ValueGrey");
    auto* preprocessing = new VxPreprocessSelection("IProcessing", this, "IProcessing");
    preprocessing->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    QPushButton* clear = vx_form::fixedButton("Clear", this, "Reload Image");
    column->addWidget(euclidean);
    column->addWidget(value);
    column->addWidget(preprocessing);
    column->addStretch();
    column->addWidget(clear);
    connect(euclidean, &QPushButton::clicked, this, &vx_new_project_dialog::convertEuclidean);
    connect(value, &QPushButton::clicked, this, &vx_new_project_dialog::convertValue);
    connect(preprocessing, &VxPreprocessSelection::Function, this,
            &vx_new_project_dialog::applyFunction, Qt::DirectConnection);
    connect(preprocessing, &VxPreprocessSelection::doNoPreProcessing, this,
            &vx_new_project_dialog::reloadImage);
    connect(clear, &QPushButton::clicked, this, &vx_new_project_dialog::reloadImage);

    qimage_frame* display = control->init_display(this);
    QWidget* zoom = display->initResizeVButtons(this);
    QLabel* coordinates = display->initCoordinateLabel(this);
    display->setResizeStep(20);
    display->setZoomOnWheel(true);
    auto* view = new QVBoxLayout;
    view->addWidget(display);
    view->addWidget(coordinates);
    row->addLayout(view);
    row->addWidget(zoom);

    // 5. Saving the view.
    row = new QHBoxLayout;
    box->addLayout(row);
    QPushButton* save = vx_form::fixedButton("Save", this, "Save");
    saveNameEdit = edit(imageName, "Save");
    row->addWidget(save);
    row->addWidget(saveNameEdit);
    connect(save, &QPushButton::clicked, this, &vx_new_project_dialog::saveDialog);
    connect(saveNameEdit, &QLineEdit::returnPressed, this, &vx_new_project_dialog::saveImage);

    // 6. The bars, and the step label beside them.
    row = new QHBoxLayout;
    box->addLayout(row);
    progress = new VxDualTreeProgress(control->oscales(), this, "New Project Progress", 0);
    stepLabel = new QLabel(this);
    stepLabel->setObjectName(QStringLiteral("Step Indicator"));
    row->addWidget(progress);
    row->addWidget(stepLabel);
    row->addStretch();
    connect(progress, &VxDualTreeProgress::progressTextBrightThread, this,
            &vx_new_project_dialog::setStepIndicator);
    connect(progress, &VxDualTreeProgress::progressTextDarkThread, this,
            &vx_new_project_dialog::setStepIndicator);
}

qimage_frame* vx_new_project_dialog::frame() const
{
    return control->pdisplay();
}

void vx_new_project_dialog::convertEuclidean()
{
    frame()->convertGreyEuclidean();
}

void vx_new_project_dialog::convertValue()
{
    frame()->convertMaxNormalized();
}

void vx_new_project_dialog::set_oscales(QString Input)
{
    control->oscales(Input.toInt());
}

void vx_new_project_dialog::set_cscales(QString Input)
{
    control->cscales(Input.toInt());
}

void vx_new_project_dialog::set_scales(QString Input)
{
    set_oscales(Input);
    set_cscales(Input);
}

void vx_new_project_dialog::load_image()
{}

void vx_new_project_dialog::set_load_image(QString Input)
{
    control->imagename(QFile::encodeName(Input).constData());
}

void vx_new_project_dialog::load_image_dialog()
{
    const QString filter = vx_known_image_formats_filter();
    QString start = paths->WorkingDir();
    if (!start.endsWith('/'))
        start += '/';
    start = QDir::isAbsolutePath(highlighted) ? highlighted : start + highlighted;
    const QString file = vx_dialogs().openFileName(
        this, QStringLiteral("Load Image"), QStringLiteral("Load Image"), start, filter, true);
    if (file.isEmpty()) {
        vx_report("Canceled \n");
        return;
    }
    const QByteArray encoded = QFile::encodeName(file);
    // The analysis could not name the image it shows.
    if (static_cast<std::size_t>(encoded.size()) > vx_name_capacity) {
        vx_message(
            QStringLiteral("Image not loaded"),
            QStringLiteral("The file name is longer than %1 characters:\n").arg(vx_name_capacity) +
                file);
        return;
    }
    // A file no reader takes leaves the picture and its name as they were.
    QString failure;
    if (!control->load_image(encoded.constData(), failure)) {
        vx_read_error(file, failure);
        return;
    }
    imageNameEdit->setText(file);
    vx_report("Loading %s\n", encoded.constData());
    const QString directory = VxBasePaths::PathNamePart(file);
    if (sharedPaths)
        sharedPaths->WorkingDir(directory);
    paths->WorkingDir(directory);
    frame()->setTip(QString());
}

void vx_new_project_dialog::setURLfromHighlight(QString qstHighlighted)
{
    highlighted = qstHighlighted;
}

void vx_new_project_dialog::reloadImage()
{
    control->load_image(control->imagename());
    control->display();
}

void vx_new_project_dialog::setStepIndicator(QString stSteps)
{
    vx_report("STEP INDICATOR %s\n\n", stSteps.toLocal8Bit().constData());
    stepLabel->setText(stSteps);
    stepLabel->repaint();
    // Events run only where they cannot start anything: while busy.
    if (working())
        QCoreApplication::processEvents();
}

void vx_new_project_dialog::saveImage()
{
    frame()->write_image(saveNameEdit->text());
}

void vx_new_project_dialog::saveDialog()
{
    const QString file =
        paths->getSaveFileNameWorkDir(QStringLiteral("Images (*.png)"), saveNameEdit->text(),
                                      QStringLiteral("Save Current Image"));
    if (file.isEmpty())
        return;
    saveNameEdit->setText(file);
    // Only a file that was written becomes the analysis' image.
    if (frame()->write_image(file))
        imageNameEdit->setText(file);
}

void vx_new_project_dialog::changeGenerateTreeMode()
{
    treeGenerationMode =
        treeGenerationMode == MMS_REMOVE_NOISE ? MMS_NO_DENOISING : MMS_REMOVE_NOISE;
    denoiseButton->setText(treeGenerationMode == MMS_REMOVE_NOISE ? QStringLiteral("Remove Noise")
                                                                  : QStringLiteral("No Denoising"));
    control->generateTreeMode(treeGenerationMode);
}

void vx_new_project_dialog::applyFunction(ProcessImage& ipFunction)
{
    vx_report("Calling %s\n", ipFunction.FunctionName());
    const image* picture = frame()->get_t_image();
    if (picture->width < 1 || picture->height < 1)
        return;
    control->update_image(ipFunction.apply(picture));
    frame()->setTip(QString::fromLatin1(ipFunction.FunctionName()) + "\n");
}
