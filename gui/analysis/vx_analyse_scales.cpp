#include "gui/analysis/vx_analyse_scales.h"

#include <QCloseEvent>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdlib>

#include "analyse/attributes/attributes.h"
#include "analyse/display/region_texts.h"
#include "analyse/display/scale_selection.h"
#include "analyse/tables/featureio.h"
#include "analyse/trees/regiontree.h"
#include "analyse/trees/tree_walk.h"
#include "automation/programs/run_program.h"
#include "filter/polarity.h"
#include "gui/analysis/vx_analyse_contour_fds.h"
#include "gui/analysis/vx_analyse_control.h"
#include "gui/foundation/dialog_service.h"
#include "gui/foundation/forms/form_parts.h"
#include "gui/foundation/forms/form_widgets.h"
#include "gui/foundation/forms/vx_attribute_selection.h"
#include "gui/foundation/image_loading.h"
#include "gui/foundation/qimage_frame.h"
#include "gui/foundation/screen_fit.h"
#include "gui/foundation/sofm/vx_gui_som.h"
#include "gui/foundation/vx_message_popup.h"
#include "gui/foundation/window_flags.h"
#include "imagecore/neighbourhood.h"
#include "imagecore/report.h"

namespace {

// The word written for contours and picked regions: palette index 1530.
constexpr int picked_value = 1530;

QString latin1(const char* text)
{
    return QString::fromLatin1(text != nullptr ? text : "");
}

}  // namespace

vx_analyse_scales::vx_analyse_scales(vx_analyse_control* control, int type, QWidget* parent,
                                     const char* name, int flags)
    : QWidget(parent, vx_qt_window_flags(flags)), control(control), type(type), parentWindow(parent)
{
    vx_apply_close_flag(this, flags);
    setObjectName(latin1(name));
    setWindowTitle(latin1(name) + ": " + imageFilePart());

    // 1. The tree and the active regions of this polarity.
    if (control != nullptr) {
        tree = type == POLARITY_BRIGHT ? control->openingtree()
               : type == POLARITY_DARK ? control->closingtree()
                                       : nullptr;
        activeRegions = type == POLARITY_BRIGHT ? control->opennodelist()
                        : type == POLARITY_DARK ? control->closenodelist()
                                                : nullptr;
    }

    // 2. Buffers.
    const int width = tree != nullptr ? tree->width : 0;
    const int height = tree != nullptr ? tree->height : 0;
    regionCount = tree != nullptr ? tree->regions : 0;
    const attrib_array* attributes = tree != nullptr ? get_root_attrib_vector(tree) : nullptr;
    selectedAttributes.assign(attributes != nullptr ? static_cast<size_t>(attributes->capacity) : 0,
                              0);
    classNames.assign(static_cast<size_t>(std::max(regionCount, 0)), std::string());
    labelImage.reset(create_image(width, height, 0));
    regionPath.assign(static_cast<size_t>(tree != nullptr ? std::max(tree->scales, 0) + 2 : 2), 0);

    // 3. The frame on the tree's base image, in values that leave room for
    //    the picked value above them.
    const image* base = baseImage();
    if (base != nullptr)
        shownGrey.reset(vx_display_grey(base));
    display = new qimage_frame(shownGrey.get(), this);
    display->setDisplayMode(1);

    buildLayout();
    set_scale();
}

vx_analyse_scales::~vx_analyse_scales()
{
    emit closed();
}

void vx_analyse_scales::buildLayout()
{
    outerLayout = new QVBoxLayout(vx_scrolled_content(this));
    outerLayout->setContentsMargins(0, 0, 0, 0);
    outerLayout->setSpacing(0);
    auto* row = new QHBoxLayout;
    outerLayout->addLayout(row);

    auto* buttons = new QVBoxLayout;
    row->addLayout(buttons);
    QPushButton* up = vx_form::fixedButton("Up", this);
    buttons->addWidget(up);
    auto* scaleRow = new QHBoxLayout;
    buttons->addLayout(scaleRow);
    scaleRow->addWidget(new QLabel(QStringLiteral("Scale"), this));
    const int lastScale = tree != nullptr ? std::max(tree->scales - 1, 0) : 0;
    scaleField = vx_form::numberField(QStringLiteral("0"), 0, lastScale, this);
    scaleField->setFixedWidth(40);
    scaleField->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    scaleRow->addWidget(scaleField);
    QPushButton* down = vx_form::fixedButton("Down", this);
    QPushButton* fds = vx_form::fixedButton("FDS", this);
    QPushButton* table = vx_form::fixedButton("Write Tree .csv", this);
    QPushButton* c4_5 = vx_form::fixedButton("Write C4.5 Data", this);
    QPushButton* som = vx_form::fixedButton("SOM", this);
    QPushButton* view = vx_form::fixedButton("Export View", this);
    for (QPushButton* button : {down, fds, table, c4_5, som, view})
        buttons->addWidget(button);
    buttons->addStretch();

    vx_form::addFrameColumn(
        row, display, this,
        QStringLiteral("Ctrl + right click adds a region to the selected regions"));
    row->addSpacing(10);
    attributesView = vx_form::textView("Attributes", this);
    row->addWidget(attributesView);

    connect(up, &QPushButton::clicked, this, &vx_analyse_scales::scale_up);
    connect(down, &QPushButton::clicked, this, &vx_analyse_scales::scale_down);
    connect(fds, &QPushButton::clicked, this, &vx_analyse_scales::analyse_fds);
    connect(table, &QPushButton::clicked, this, &vx_analyse_scales::write_tree_csv);
    connect(c4_5, &QPushButton::clicked, this, &vx_analyse_scales::write_c4_5_data);
    connect(som, &QPushButton::clicked, this, &vx_analyse_scales::compute_som);
    connect(view, &QPushButton::clicked, this, &vx_analyse_scales::export_view);
    connect(scaleField, &QLineEdit::textChanged, this,
            qOverload<QString>(&vx_analyse_scales::set_scale));
    connect(scaleField, &QLineEdit::returnPressed, this,
            qOverload<>(&vx_analyse_scales::set_scale));
    connect(display, &qimage_frame::leftButtonClickAt, this, &vx_analyse_scales::leftButtonClickAt);
    connect(display, &qimage_frame::midButtonClickAt, this, &vx_analyse_scales::midButtonClickAt);
    connect(display, &qimage_frame::rightButtonCtlClickAt, this,
            &vx_analyse_scales::rightButtonCtlClickAt);
    connect(display, &qimage_frame::wheelCtlDown, this, &vx_analyse_scales::wheelCTLDown);
    connect(display, &qimage_frame::wheelCtlUp, this, &vx_analyse_scales::wheelCTLUp);
}

// ---- helpers ----

QString vx_analyse_scales::imageFilePart() const
{
    const QString name = control != nullptr ? latin1(control->imagename()) : QString();
    return name.mid(name.lastIndexOf('/') + 1);
}

const image* vx_analyse_scales::baseImage() const
{
    const vx_image* scales = tree != nullptr ? tree->attr_image : nullptr;
    return scales != nullptr && scales->nscales > 0 ? &scales->scales[0] : nullptr;
}

tregionnode* vx_analyse_scales::regionNode(int r) const
{
    return r >= 1 && r < regionCount && tree->nodes != nullptr ? tree->nodes[r] : nullptr;
}

int vx_analyse_scales::labelAt(int x, int y) const
{
    if (!inside_image(x, y, labelImage->width, labelImage->height))
        return -1;
    return labelImage->pixels[static_cast<size_t>(y) * static_cast<size_t>(labelImage->width) +
                              static_cast<size_t>(x)];
}

int* vx_analyse_scales::framePixels() const
{
    return display->get_t_image()->pixels;
}

void vx_analyse_scales::drawScale(int scale)
{
    if (shownGrey)
        select_scale_over(display->get_t_image(), labelImage.get(), shownGrey.get(), tree, scale,
                          picked_value);
}

void vx_analyse_scales::paintRegion(int r)
{
    const tregionnode* node = regionNode(r);
    if (node != nullptr && node->pixels != nullptr)
        paint_region(display->get_t_image(), node, picked_value);
    display->display_image_zoomed();
}

void vx_analyse_scales::set_region(int r)
{
    drawScale(currentScale);
    paintRegion(r);
}

void vx_analyse_scales::set_single_region(int r)
{
    const image* frame = display->get_t_image();
    if (shownGrey)
        std::copy_n(shownGrey->pixels,
                    std::min(static_cast<long long>(shownGrey->width) * shownGrey->height,
                             static_cast<long long>(frame->width) * frame->height),
                    framePixels());
    fdRegion = r;
    paintRegion(r);
}

void vx_analyse_scales::showAttributes(int r)
{
    char* text = va_fixed_attribute_output(regionNode(r));
    attributesView->setPlainText(latin1(text));
    std::free(text);
}

void vx_analyse_scales::showScale(int scale)
{
    // set_scale(QString) draws once, whether the text changes or not.
    const QString text = QString::number(scale);
    {
        const QSignalBlocker blocker(scaleField);
        scaleField->setText(text);
    }
    set_scale(text);
}

// ---- scales and the region path ----

void vx_analyse_scales::scale_up()
{
    if (tree == nullptr)
        return;
    if (mode == region_path_mode)
        pathStep(1);
    else if (currentScale < tree->scales - 1)
        showScale(currentScale + 1);
}

void vx_analyse_scales::scale_down()
{
    if (tree == nullptr)
        return;
    if (mode == region_path_mode)
        pathStep(-1);
    else if (currentScale > 0)
        showScale(currentScale - 1);
}

void vx_analyse_scales::pathStep(int step)
{
    const int index = pathIndex + step;
    if (index < 0 || index >= pathLength)
        return;
    pathIndex = index;
    currentRegion = regionPath[static_cast<size_t>(index)];
    showScale(regionNode(currentRegion)->birth);
}

void vx_analyse_scales::set_scale(QString text)
{
    if (tree == nullptr)
        return;
    const int scale = vx_form::numberInRange(text, 0, tree->scales - 1, -1);
    if (scale < 0)
        return;
    currentScale = scale;
    set_scale();
}

void vx_analyse_scales::set_scale()
{
    if (tree == nullptr)
        return;
    if (mode == region_path_mode) {
        showAttributes(currentRegion);
        set_single_region(currentRegion);
    } else {
        drawScale(currentScale);
        display->display_image_zoomed();
    }
}

void vx_analyse_scales::wheelCTLDown()
{
    scale_down();
}

void vx_analyse_scales::wheelCTLUp()
{
    scale_up();
}

// ---- clicks ----

void vx_analyse_scales::leftButtonClickAt(int iX, int iY)
{
    if (tree == nullptr)
        return;
    if (mode == region_path_mode) {
        mode = scale_mode;
        set_scale();
    }
    const int r = labelAt(iX, iY);
    if (regionNode(r) == nullptr)
        return;
    fdRegion = r;
    showAttributes(r);
    set_region(r);
}

void vx_analyse_scales::midButtonClickAt(int iX, int iY)
{
    if (tree == nullptr)
        return;
    // 1. The labels of the finest scale.
    erase_image(labelImage.get(), 0);
    drawScale(0);

    // 2. The region under the pixel, or of its first labelled neighbour.
    int r = labelAt(iX, iY);
    for (int d = 0; r == 0 && d < 8; ++d) {
        const int label = labelAt(iX + nb_order.dx[d], iY + nb_order.dy[d]);
        if (label > 0)
            r = label;
    }
    tregionnode* picked = regionNode(r);
    if (picked == nullptr)
        return;

    // 3. The path: the region, then its fathers below the root. A damaged
    //    tree's longer chain (or a father outside the node array) ends it.
    mode = region_path_mode;
    regionPath[0] = r;
    pathLength = 1;
    walk_to_root(picked->father, [this](tregionnode* father) {
        if (father == tree->root || pathLength == static_cast<int>(regionPath.size()) ||
            regionNode(father->label) != father)
            return false;
        regionPath[static_cast<size_t>(pathLength++)] = father->label;
        return true;
    });
    pathIndex = 0;
    currentRegion = r;
    fdRegion = r;

    // 4. The region alone, with its attributes.
    showScale(0);
}

void vx_analyse_scales::rightButtonCtlClickAt(int iX, int iY)
{
    if (tree == nullptr)
        return;
    const int r = mode == region_path_mode ? currentRegion : labelAt(iX, iY);
    tregionnode* node = regionNode(r);
    if (node == nullptr)
        return;
    fdRegion = r;
    showAttributes(r);
    if (mode == region_path_mode)
        set_single_region(r);
    else
        set_region(r);
    if (activeRegions != nullptr) {
        activeRegions[r] = node;
        control->dva_update_output();
    }
}

void vx_analyse_scales::closeEvent(QCloseEvent* e)
{
    emit vx_analyse_scales_hidden();
    hide();
    e->accept();
}

// ---- windows and exports ----

void vx_analyse_scales::analyse_fds()
{
    tregionnode* node = tree != nullptr ? regionNode(fdRegion) : nullptr;
    if (node == nullptr || node->contour == nullptr || node->contour_size < 2) {
        vx_report("No contour to resample for node %d\n", fdRegion);
        return;
    }
    const std::string title =
        "Node " + std::to_string(fdRegion) + " Image:" + std::string(control->imagename());
    auto* view = new vx_analyse_contour_fds(labelImage->width, labelImage->height, node,
                                            shownGrey.get(), parentWindow, title.c_str());
    connect(this, &vx_analyse_scales::vx_analyse_scales_hidden, view, &QWidget::close);
    connect(this, &vx_analyse_scales::closed, view, &QWidget::close);
    fdWindow = view;
}

void vx_analyse_scales::compute_som()
{
    const QString caption = QStringLiteral("Select Table");
    const QString file = vx_dialogs().openFileName(this, caption, caption, QStringLiteral("*.csv"),
                                                   QStringLiteral("Table (*.csv)"), false);
    if (!file.isEmpty())
        somWindow = new VxGUISOM(file, QStringLiteral("SOM for Tree Analysis"), parentWindow,
                                 "SOMAnalysis");
}

void vx_analyse_scales::write_tree_csv()
{
    if (tree == nullptr)
        return;
    const QString caption = QStringLiteral("Set filename for regionfeatures table");
    const QString start =
        imageFilePart() + (type == POLARITY_BRIGHT ? "_bright" : "_dark") + ".csv";
    const QString file =
        vx_form::withEnding(vx_dialogs().saveFileName(this, caption, caption, start,
                                                      QStringLiteral("(CSV Table) *.csv"), false),
                            QStringLiteral(".csv"));
    if (!file.isEmpty() && fio_writeEntireTreeTable_csv(QFile::encodeName(file).constData(),
                                                        control->imagename(), tree) == 0)
        vx_write_error(file);
}

void vx_analyse_scales::export_view()
{
    const QString caption = QStringLiteral("Export view filename");
    const QString start = (control != nullptr ? latin1(control->imagename()) : QString()) +
                          (type == POLARITY_BRIGHT ? "_bright_scale_" : "_dark_scale_") +
                          QString::number(currentScale) + ".png";
    const QString file =
        vx_form::withEnding(vx_dialogs().saveFileName(this, caption, caption, start,
                                                      QStringLiteral("(png) *.png"), false),
                            QStringLiteral(".png"));
    if (!file.isEmpty())
        display->write_image(file);
}

void vx_analyse_scales::write_c4_5_data()
{
    if (tree == nullptr)
        return;
    // 1. The attributes to write.
    int count = 0;
    char** names = get_attribs_from_node(tree->root, &count);
    VxAttributeSelection selection(count, names, QStringLiteral("Select Region Atributes "), this,
                                   "Select Region Atributes ", 1);
    delete_attribute_names(names, count);
    selection.exec();

    // 2. The file stem; Cancel ends the export.
    const QString caption = QStringLiteral("Set filename for C4.5 .name and .data");
    const QString stem = vx_dialogs().saveFileName(this, caption, caption, QString(),
                                                   QStringLiteral("(C4.5 Input)"), false);
    if (stem.isEmpty())
        return;

    // 3. The chosen attributes and each region's class.
    int chosen = 0;
    const int* indices = selection.getSelection(&chosen);
    selectedAttributes.assign(indices, indices + chosen);
    selectedAttributeCount = chosen;
    for (int i = 0; i < regionCount; ++i)
        classNames[static_cast<size_t>(i)] =
            activeRegions != nullptr && activeRegions[i] != nullptr ? "Object" : "Irrelevant";
    runC4_5(stem);
}

void vx_analyse_scales::runC4_5(const QString& stem)
{
    // 1. The learner's input; without it the learner does not run.
    std::vector<char*> labels;
    for (std::string& name : classNames)
        labels.push_back(name.data());
    const std::string base = QFile::encodeName(stem).toStdString();
    if (writeClassifiedTreeC4_5(base.c_str(), tree, tree->nodes, labels.data(), regionCount,
                                selectedAttributes.data(), selectedAttributeCount,
                                "Object, Irrelevant") == 0) {
        vx_write_error(stem);
        return;
    }
    // 2. Each program gets the stem as one argument; no shell reads it.
    run_program({"c4.5", "-f", base});
    run_program({"c4.5rules", "-c", "99", "-f", base});
}
