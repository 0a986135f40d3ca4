// VxDrawRegion: construction, layout, the label, alpha and mode controls.
#include "gui/analysis/vx_draw_region.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "automation/tables/vxtable.h"
#include "gui/analysis/sketch_help.h"
#include "gui/analysis/vx_analyse_contour_fds.h"
#include "gui/foundation/forms/form_widgets.h"
#include "gui/foundation/forms/vx_attribute_selection.h"
#include "gui/foundation/image_loading.h"
#include "gui/foundation/qimage_frame.h"
#include "gui/foundation/screen_fit.h"
#include "gui/foundation/vx_base_paths.h"
#include "imagecore/report.h"

namespace {

const char* const mode_names[4] = {"Erase", "Draw", "Fill", "Pick"};

// A widget whose vertical layout keeps it at its size hint.
QVBoxLayout* fixed_column(QWidget* parent, QBoxLayout* row)
{
    auto* column = new QWidget(parent);
    auto* layout = new QVBoxLayout(column);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    row->addWidget(column, 0, Qt::AlignTop);
    return layout;
}

// A label and a field side by side.
void add_field_row(QVBoxLayout* column, QWidget* parent, const char* text, QLineEdit* field)
{
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QString::fromLatin1(text), parent));
    row->addWidget(field);
    column->addLayout(row);
}

}  // namespace

VxDrawRegion::VxDrawRegion(VxBasePaths* paths, const image* img, QWidget* parent, const char* name,
                           int flags)
    : VxBaseDialog(paths, parent, "HALLO", flags), updateRule(paths->UpdateRule())
{
    setWindowTitle(QString::fromLatin1(name));

    // 1. The template and the images of its size.
    templateImage.reset(img != nullptr ? create_copy_image(img) : create_image(0, 0, 0));
    const int w = templateImage->width;
    const int h = templateImage->height;
    update_image_struct(templateImage.get());
    shownGrey.reset(vx_display_grey(templateImage.get()));
    labels.reset(create_image(w, h, 0));
    undoImage.reset(create_image(w, h, 0));
    workImage.reset(create_image(w, h, 0));
    set_nb_offsets(offsets, w);
    fillQueue.reset(init_iqueue(w * h + 2));

    // 2. The frame: grey values with the label colours above them.
    display = new qimage_frame(shownGrey.get(), this);
    display->setObjectName(QStringLiteral("Draw Region Display Image"));
    display->createGreyValueDisplayPalette1();
    display->setDisplayMode(1);
    initAlphaLabelPalette(257, 512, 255);
    display->installEventFilter(this);

    buildLayout();
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    updateEntireDisplay();
}

VxDrawRegion::~VxDrawRegion()
{
    vx_report("Draw Image is closed\n");
    emit close_fds();
}

void VxDrawRegion::initAlphaLabelPalette(int first, int end, int factor)
{
    for (int i = first; i < end; ++i)
        display->setColor(i, factor * (128 + i - first) / 255, factor * ((63 * i) % 255) / 255,
                          factor * ((19 * i) % 255) / 255);
}

void VxDrawRegion::buildLayout()
{
    auto* top = new QHBoxLayout(vx_scrolled_content(this));

    // 1. Zoom buttons, then the frame with its readout, "Save Image" and
    //    "HOWTO".
    top->addWidget(display->initResizeVButtons(this), 0, Qt::AlignTop);
    auto* view = new QVBoxLayout;
    top->addLayout(view);
    view->addWidget(display);
    view->addWidget(display->initCoordinateLabel(this));
    auto* viewButtons = new QHBoxLayout;
    view->addLayout(viewButtons);
    QPushButton* save = vx_form::fixedButton("Save Image", this);
    QPushButton* howto = vx_form::fixedButton("HOWTO", this);
    viewButtons->addWidget(save);
    viewButtons->addStretch();
    viewButtons->addWidget(howto);
    view->addStretch();

    // 2. The tools.
    QVBoxLayout* tools = fixed_column(this, top);
    modeButton = new QPushButton(QStringLiteral("Draw"), this);
    modeButton->setCheckable(true);
    auto* modes = new QMenu(modeButton);
    vx_form::addMenuEntry(modes, "Draw", {}, this, &VxDrawRegion::setDrawMode);
    vx_form::addMenuEntry(modes, "Fill", {}, this, &VxDrawRegion::setFillMode);
    vx_form::addMenuEntry(modes, "Erase", {}, this, &VxDrawRegion::setEraseMode);
    vx_form::addMenuEntry(modes, "Pick", {}, this, &VxDrawRegion::setPickMode);
    modeButton->setMenu(modes);
    tools->addWidget(modeButton);
    QPushButton* next = vx_form::fixedButton("Next Label", this);
    tools->addWidget(next);
    labelField = new QLineEdit(QStringLiteral("1"), this);
    labelField->setObjectName(QStringLiteral("Label"));
    add_field_row(tools, this, "Label", labelField);
    QPushButton* last = vx_form::fixedButton("Last Label", this);
    QPushButton* opaque = vx_form::fixedButton("more opaque", this);
    tools->addWidget(last);
    tools->addWidget(opaque);
    alphaField = new QLineEdit(QStringLiteral("255"), this);
    alphaField->setObjectName(QStringLiteral("Alpha"));
    add_field_row(tools, this, "Alpha", alphaField);
    QPushButton* transparent = vx_form::fixedButton("more transparent", this);
    QPushButton* undo = vx_form::fixedButton("UndoFill", this);
    QPushButton* clearButton = vx_form::fixedButton("Clear", this);
    QPushButton* attributes = vx_form::fixedButton("Attributes", this);
    QPushButton* statistics = vx_form::fixedButton("Statistics", this);
    QPushButton* fds = vx_form::fixedButton("FDS", this);
    for (QPushButton* button : {transparent, undo, clearButton, attributes, statistics, fds})
        tools->addWidget(button);
    QPushButton* ruleButton = vx_form::fixedButton("Update Rule", this);
    tools->addWidget(ruleButton);
    updateRuleField = new QLineEdit(updateRule, this);
    updateRuleField->setObjectName(QStringLiteral("Update Rule"));
    tools->addWidget(updateRuleField);
    tools->addStretch();

    // 3. The exports and the attributes of the picked region.
    QVBoxLayout* exports = fixed_column(this, top);
    toleranceField = new QLineEdit(QStringLiteral("0.2"), this);
    toleranceField->setObjectName(QStringLiteral("Rule Tolerance"));
    vx_form::acceptDecimals(toleranceField, 0.0, 1.0, 10);
    add_field_row(exports, this, "Rule Tolerance", toleranceField);
    QPushButton* query = vx_form::fixedButton("Export Query", this);
    QPushButton* sketch = vx_form::fixedButton("Export Sketch", this);
    QPushButton* tableButton = vx_form::fixedButton("Export Table", this);
    QPushButton* all = vx_form::fixedButton("Export All", this);
    QPushButton* load = vx_form::fixedButton("Load Sketch", this);
    for (QPushButton* button : {query, sketch, tableButton, all, load})
        exports->addWidget(button);
    attributesView = vx_form::textView("Region Attributes", this);
    exports->addWidget(attributesView);

    // 4. Connections.
    connect(display, &qimage_frame::midButtonClickAt, this, &VxDrawRegion::mousePressMidButton);
    connect(display, &qimage_frame::leftButtonClickAt, this, &VxDrawRegion::mousePressLeftButton);
    connect(display, &qimage_frame::leftButtonMoveto, this, &VxDrawRegion::mouseMoveLeftButton);
    connect(display, &qimage_frame::leftButtonCtlClickAt, this,
            &VxDrawRegion::mousePressLeftCtlButton);
    connect(labelField, &QLineEdit::returnPressed, this, &VxDrawRegion::setActiveColor);
    connect(alphaField, &QLineEdit::returnPressed, this, &VxDrawRegion::setAlpha);
    connect(updateRuleField, &QLineEdit::textChanged, this, &VxDrawRegion::setUpdateFile);
    connect(toleranceField, &QLineEdit::textChanged, this, &VxDrawRegion::setTolerance);
    connect(save, &QPushButton::clicked, this, &VxDrawRegion::saveImage);
    connect(howto, &QPushButton::clicked, this, &VxDrawRegion::about);
    connect(next, &QPushButton::clicked, this, &VxDrawRegion::nextColor);
    connect(last, &QPushButton::clicked, this, &VxDrawRegion::lastColor);
    connect(opaque, &QPushButton::clicked, this, &VxDrawRegion::upAlpha);
    connect(transparent, &QPushButton::clicked, this, &VxDrawRegion::downAlpha);
    connect(undo, &QPushButton::clicked, this, &VxDrawRegion::undoFill);
    connect(clearButton, &QPushButton::clicked, this, &VxDrawRegion::clear);
    connect(attributes, &QPushButton::clicked, this, &VxDrawRegion::computeAttributes);
    connect(statistics, &QPushButton::clicked, this, &VxDrawRegion::computeStatistics);
    connect(fds, &QPushButton::clicked, this, &VxDrawRegion::analyse_fds);
    connect(ruleButton, &QPushButton::clicked, this, &VxDrawRegion::setUpdateFileDialog);
    connect(query, &QPushButton::clicked, this, qOverload<>(&VxDrawRegion::exportRule));
    connect(sketch, &QPushButton::clicked, this, &VxDrawRegion::exportSketch);
    connect(tableButton, &QPushButton::clicked, this, &VxDrawRegion::exportTable);
    connect(all, &QPushButton::clicked, this, &VxDrawRegion::exportAll);
    connect(load, &QPushButton::clicked, this, &VxDrawRegion::loadSketch);
}

void VxDrawRegion::setExportFileStem(QString qstStem)
{
    exportStem = qstStem;
}

void VxDrawRegion::setUpdateMode(int iMode)
{
    updateMode = iMode;
}

// ---- labels ----

void VxDrawRegion::lastColor()
{
    if (currentLabel > 0)
        --currentLabel;
    labelField->setText(QString::number(currentLabel));
    setActiveColor();
}

void VxDrawRegion::nextColor()
{
    if (currentLabel <= 254)
        ++currentLabel;
    labelField->setText(QString::number(currentLabel));
    setActiveColor();
}

void VxDrawRegion::setActiveColor()
{
    bool ok = false;
    const int value = labelField->text().toInt(&ok);
    if (ok && value >= 1 && value <= 254) {
        currentLabel = value;
        activeColor = value + 256;
    } else if (ok && value == 0) {
        activeColor = 0;
    } else {
        currentLabel = 1;
        activeColor = 257;
        labelField->setText(QStringLiteral("1"));
    }
}

// ---- alpha ----

void VxDrawRegion::setAlpha()
{
    alpha = vx_form::numberInRange(alphaField->text(), 0, 255, alpha);
    showAlpha();
}

void VxDrawRegion::upAlpha()
{
    alpha = alpha > 240 ? 255 : alpha + 15;
    showAlpha();
}

void VxDrawRegion::downAlpha()
{
    alpha = alpha < 15 ? 0 : alpha - 15;
    showAlpha();
}

void VxDrawRegion::showAlpha()
{
    alphaField->setText(QString::number(alpha));
    updateEntireDisplay();
}

// ---- modes, tolerance, closing ----

void VxDrawRegion::setMode(int mode)
{
    drawMode = mode;
    modeButton->setText(QString::fromLatin1(mode_names[mode]));
}

void VxDrawRegion::switchMode()
{
    setMode((drawMode + 1) % 4);
}

void VxDrawRegion::setDrawMode()
{
    setMode(draw_mode);
}

void VxDrawRegion::setEraseMode()
{
    setMode(erase_mode);
}

void VxDrawRegion::setFillMode()
{
    setMode(fill_mode);
}

void VxDrawRegion::setPickMode()
{
    setMode(pick_mode);
}

void VxDrawRegion::setTolerance(QString text)
{
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (ok && value >= 0.0 && value <= 1.0)
        tolerance = value;
}

void VxDrawRegion::about()
{
    if (!helpWindow) {
        helpWindow = std::make_unique<QPlainTextEdit>();
        helpWindow->setReadOnly(true);
        helpWindow->setWindowTitle(QStringLiteral("HOWTO Vx Draw Regions"));
        helpWindow->resize(700, 700);
        helpWindow->setPlainText(vx_sketch_help_text());
        vx_fit_to_screen(helpWindow.get());
    }
    helpWindow->show();
}

void VxDrawRegion::closeEvent(QCloseEvent* e)
{
    if (!testAttribute(Qt::WA_DeleteOnClose)) {
        attributeSelection.reset();
        hide();
    }
    VxBaseDialog::closeEvent(e);
}

bool VxDrawRegion::eventFilter(QObject* watched, QEvent* event)
{
    // A press the frame does not report (beside the image) starts no line:
    // a drag from there paints from where it enters the image.
    if (watched == display && event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
        lastY = -1;
    return VxBaseDialog::eventFilter(watched, event);
}
