#include "gui/foundation/sofm/vx_gui_som.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

#include "automation/tables/vxtable.h"
#include "gui/foundation/busy_window.h"
#include "gui/foundation/dialog_service.h"
#include "gui/foundation/forms/form_parts.h"
#include "gui/foundation/forms/form_widgets.h"
#include "gui/foundation/qimage_frame.h"
#include "gui/foundation/screen_fit.h"
#include "gui/foundation/sofm/vxqtsofm.h"
#include "gui/foundation/vx_message_popup.h"
#include "gui/foundation/window_flags.h"
#include "imagecore/report.h"
#include "imagecore/text/cnumbers.h"

namespace {

// The placeholder shown before a map exists: a ramp growing with the
// distance from the top-left cell over the diagonal. A window that grew its
// map for a large table draws it with the square root taken last.
std::vector<int> placeholder_picture(int width, int height, bool grown)
{
    std::vector<int> cells(static_cast<size_t>(width) * static_cast<size_t>(height));
    const double diagonal =
        std::sqrt(static_cast<double>(width) * width + static_cast<double>(height) * height);
    for (size_t i = 0; i < cells.size(); ++i) {
        const double r = static_cast<double>(i / static_cast<size_t>(width));
        const double c = static_cast<double>(i % static_cast<size_t>(width));
        const double squared = r * r + c * c;
        cells[i] = static_cast<int>(grown ? std::sqrt(squared / diagonal * 255.0)
                                          : std::sqrt(squared) / diagonal * 255.0);
    }
    return cells;
}

// The longer side of the map's picture, in pixels, that small maps are
// zoomed to at least.
constexpr int kShownSide = 400;

void print_vectors(const vector_array& inputs)
{
    std::string line;
    for (int i = 0; i < inputs.count; ++i) {
        line = std::to_string(i) + ": ";
        for (int k = 0; k < inputs.dim; ++k)
            line.append(vx_fixed(inputs.vectors[i].values[k]).text).append(", ");
        vx_report("%s\n", line.c_str());
    }
}

}  // namespace

VxGUISOM::VxGUISOM(const QString& file, const QString& title, QWidget* parent, const char* name)
    : QWidget(parent, vx_qt_window_flags(VX_DELETE_ON_CLOSE))
{
    vx_apply_close_flag(this, VX_DELETE_ON_CLOSE);
    setObjectName(QString::fromLatin1(name));

    // 1.-2. Title, placeholder and the display made from it.
    setWindowTitle(title + file);
    placeholder = placeholder_picture(mapWidth, mapHeight, false);
    display = new qimage_frame(mapWidth, mapHeight, placeholder.data(), this, nullptr, 0);

    // 3.-4. The table, or the map with the table it names.
    if (file.endsWith(QLatin1String(".csv"))) {
        if (QFile(file).open(QIODevice::ReadOnly)) {
            table = std::make_unique<VxTable>(QFile::encodeName(file).constData(), ',');
            somFileName = QStringLiteral("Unnamed.som");
            for (int c = 0; c < table->getColumns(); ++c)
                if (table->getColumnType(c) == VxTable::DOUBLE)
                    selection.push_back(static_cast<unsigned>(c));
            showPlaceholderForRows(table->getRows());
        } else {
            popUp(QStringLiteral("SOM Table"), "Could not read the table:\n" + file);
        }
    } else if (file.endsWith(QLatin1String(".som"))) {
        somFileName = file;
        loadSOMFile();
    } else {
        popUp(QStringLiteral("SOM Table"), "Neither a table (.csv) nor a SOM (.som):\n" + file);
    }
    if (!table) {
        close();
        return;
    }
    enlargeSmallMap();

    // 5.-7. Steps, controls and the column list.
    maxSteps = table->getRows();
    buildControls();
    initAttributeSelection();
}

VxGUISOM::~VxGUISOM()
{
    vx_report("Delete SOFM GUI\n");
    map.reset();
    vectors.reset();
    delete display;
    columnList.reset();
    table.reset();
    vx_report("Deleting SOM GUI\n");
}

void VxGUISOM::showPlaceholderForRows(int rows)
{
    if (static_cast<long long>(mapWidth) * mapHeight >= 4LL * rows)
        return;
    mapWidth = mapHeight = static_cast<int>(std::sqrt(4.0 * rows)) + 1;
    // The display shows the old picture in place until it holds its copy
    // of the new one.
    std::vector<int> grown = placeholder_picture(mapWidth, mapHeight, true);
    display->reset_qimage(mapWidth, mapHeight, grown.data(), nullptr, -1);
    placeholder = std::move(grown);
}

void VxGUISOM::buildControls()
{
    auto* layout = new QHBoxLayout(vx_scrolled_content(this));

    // The training parameters.
    auto* parameters = new QVBoxLayout;
    layout->addLayout(parameters);
    enum class Number { count, real };
    auto addEdit = [&](const char* label, const char* name, const QString& text, Number number) {
        parameters->addWidget(new QLabel(QString::fromLatin1(label), this));
        auto* edit = new QLineEdit(text, this);
        edit->setObjectName(QString::fromLatin1(name));
        if (number == Number::count)
            vx_form::acceptIntegers(edit, 1, 1000000);
        else
            vx_form::acceptDecimals(edit, 0, 1000, 5);
        parameters->addWidget(edit);
        return edit;
    };
    connect(addEdit("DisplaySteps", "DispalySteps", QString::number(displaySteps), Number::count),
            &QLineEdit::textChanged, this, &VxGUISOM::set_DispalySteps);
    connect(addEdit("Width", "Width", QString::number(mapWidth), Number::count), &QLineEdit::textChanged,
            this, &VxGUISOM::set_width);
    connect(addEdit("Height", "Height", QString::number(mapHeight), Number::count),
            &QLineEdit::textChanged, this, &VxGUISOM::set_height);
    connect(addEdit("MaxStep", "MaxStep", QString::number(maxSteps), Number::count),
            &QLineEdit::textChanged, this, &VxGUISOM::set_maxstep);
    connect(addEdit("Learn Rate", "LearnRate", QString::number(learnRate, 'g', 6), Number::real),
            &QLineEdit::textChanged, this, &VxGUISOM::set_learnrate);
    connect(addEdit("Scope", "Scope", QString::number(learnScope, 'g', 6), Number::real),
            &QLineEdit::textChanged, this, &VxGUISOM::set_scope);
    functionGroup = vx_form::addRadioGroup(
        this, parameters, QStringLiteral("Function"),
        {QStringLiteral("Gauss"), QStringLiteral("Pyramid"), QStringLiteral("Cone")}, 1, function);
    connect(functionGroup, &QButtonGroup::idClicked, this, &VxGUISOM::set_function);
    normalizationGroup = vx_form::addRadioGroup(
        this, parameters, QStringLiteral("Normalization"),
        {QStringLiteral("No Normalize"), QStringLiteral("Euclidean"), QStringLiteral("Intervall")},
        0, normalization);
    connect(normalizationGroup, &QButtonGroup::idClicked, this, &VxGUISOM::set_normalize);
    auto* run = new QHBoxLayout;
    QPushButton* start = vx_form::fixedButton("Start", this);
    connect(start, &QPushButton::clicked, this, &VxGUISOM::DoIt);
    run->addWidget(start);
    stopButton = vx_form::fixedButton("Stop", this);
    stopButton->setEnabled(false);
    run->addWidget(stopButton);
    connect(stopButton, &QPushButton::clicked, this, &VxGUISOM::stopTraining);
    run->addStretch();
    parameters->addLayout(run);
    parameters->addStretch();

    // Beside them the map with its files and display buttons.
    auto* mapColumn = new QVBoxLayout;
    layout->addLayout(mapColumn);
    const vx_form::FileRow load =
        vx_form::addFileRow(this, mapColumn, QStringLiteral("Load"), QStringLiteral("Load"),
                            QStringLiteral("Load SOM Name"), somFileName);
    loadNameEdit = load.edit;
    connect(load.button, &QPushButton::clicked, this, &VxGUISOM::loadSOM);
    connect(loadNameEdit, &QLineEdit::textChanged, this, &VxGUISOM::setSOMLoadFilename);
    connect(loadNameEdit, &QLineEdit::returnPressed, this, &VxGUISOM::loadSOMFile);
    mapColumn->addWidget(display);
    // Under the map the training's step. The line wraps within the map's
    // width and keeps room for two lines, so that its changing text never
    // resizes the window.
    stepLine = new QLabel(this);
    stepLine->setObjectName(QStringLiteral("Step Line"));
    stepLine->setWordWrap(true);
    stepLine->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    stepLine->setMinimumHeight(2 * stepLine->fontMetrics().lineSpacing());
    mapColumn->addWidget(stepLine);
    const vx_form::FileRow save =
        vx_form::addFileRow(this, mapColumn, QStringLiteral("Save"), QStringLiteral("Save"),
                            QStringLiteral("Save SOM Name"), QStringLiteral("Unnamed.som"));
    saveNameEdit = save.edit;
    connect(save.button, &QPushButton::clicked, this, &VxGUISOM::saveSOM);
    connect(saveNameEdit, &QLineEdit::textChanged, this, &VxGUISOM::setSOMFilename);
    connect(saveNameEdit, &QLineEdit::returnPressed, this, &VxGUISOM::writeSOMFile);
    displayModeButton = new QPushButton(QStringLiteral("Distance Map"), this);
    displayModeButton->setObjectName(QStringLiteral("Display Mode"));
    displayModeButton->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(displayModeButton, &QPushButton::clicked, this, &VxGUISOM::selectDisplayMode);
    mapColumn->addWidget(displayModeButton);
    auto* markers = new QPushButton(QStringLiteral("Marker"), this);
    markers->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(markers, &QPushButton::clicked, this, &VxGUISOM::selectMarkerMode);
    mapColumn->addWidget(markers);
    mapColumn->addStretch();
}

void VxGUISOM::initAttributeSelection()
{
    columnList = std::make_unique<QTreeWidget>();
    columnList->setObjectName(QStringLiteral("Attribute Selection"));
    columnList->setWindowTitle(QStringLiteral("Attribute Selection"));
    columnList->setSortingEnabled(false);
    columnList->setHeaderLabels({QStringLiteral("Table Columns")});
    for (int c = 0; c < table->getColumns(); ++c) {
        auto* item = new QTreeWidgetItem(columnList.get());
        item->setText(0, QString::fromUtf8(table->getColumnName(c)));
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(0, Qt::Unchecked);
    }
    for (unsigned c : selection)
        if (QTreeWidgetItem* item = columnList->topLevelItem(static_cast<int>(c)))
            item->setCheckState(0, Qt::Checked);
    columnList->show();
    show();
}

std::vector<unsigned> VxGUISOM::checkedColumns() const
{
    std::vector<unsigned> columns;
    for (int c = 0; c < columnList->topLevelItemCount(); ++c)
        if (columnList->topLevelItem(c)->checkState(0) == Qt::Checked)
            columns.push_back(static_cast<unsigned>(c));
    return columns;
}

void VxGUISOM::popUp(const QString& title, const QString& message)
{
    VxMessagePopUp box(VxMessagePopUp::notice, title, message);
    vx_dialogs().exec(box);
}

void VxGUISOM::DoIt()
{
    // 1. The checked columns; the rows of the table are the inputs.
    std::vector<unsigned> columns = checkedColumns();
    if (table->getRows() == 0 || columns.empty()) {
        popUp(QStringLiteral("SOFM not started"),
              table->getRows() == 0
                  ? "The table has no rows:\n" + QString::fromUtf8(table->FileName())
                  : QStringLiteral("No table column is checked."));
        return;
    }

    // 2.-3. The vectors, printed.
    vector_array_handle inputs(
        table->extractVArray(static_cast<unsigned>(columns.size()), columns.data(), "Class"));
    print_vectors(*inputs);

    // 4. The new map replaces the old one once it could be built, then trains.
    auto trained = std::make_unique<vxqtsofm>(display, mapWidth, mapHeight, inputs.get(), learnRate,
                                              learnScope, maxSteps, function, normalization);
    if (trained->sofm()->units == 0) {
        popUp(QStringLiteral("SOFM not started"),
              QStringLiteral("No map of %1 x %2 units can be built.").arg(mapWidth).arg(mapHeight));
        return;
    }
    map = std::move(trained);
    vectors = std::move(inputs);
    selection = std::move(columns);
    enlargeSmallMap();
    update();
    train();
}

void VxGUISOM::train()
{
    training = true;
    stopAsked = false;
    {
        const VxBusyWindow modal(
            this, [this](bool enabled) { setFormEnabled(enabled); }, stopButton);
        map->setRefreshed([this] { trainingRefreshed(); });
        map->sofm_run(displaySteps);
        map->setRefreshed(nullptr);
    }
    training = false;
    const sofm_params* p = map->sofm();
    stepLine->setText((p->step < p->max_steps ? QStringLiteral("Stopped at step %1 of %2")
                                              : QStringLiteral("Step %1 of %2"))
                          .arg(p->step)
                          .arg(p->max_steps));
    if (closeAsked)
        close();
}

void VxGUISOM::trainingRefreshed()
{
    // A refresh after the training's end belongs to the cluster map.
    const sofm_params* p = map->sofm();
    QString line = QStringLiteral("Step %1 of %2").arg(p->step).arg(p->max_steps);
    if (stopAsked || p->step >= p->max_steps) {
        line += QStringLiteral(": building the cluster map");
        stopButton->setEnabled(false);
    }
    stepLine->setText(line);
    stepLine->repaint();
    QCoreApplication::processEvents();
}

void VxGUISOM::stopTraining()
{
    if (!training)
        return;
    stopAsked = true;
    map->stop_training();
    stopButton->setEnabled(false);
}

void VxGUISOM::closeEvent(QCloseEvent* event)
{
    if (!training) {
        QWidget::closeEvent(event);
        return;
    }
    closeAsked = true;
    stopTraining();
    event->ignore();
}

void VxGUISOM::setFormEnabled(bool enabled)
{
    for (QWidget* child :
         vx_window_content(this)->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        if (child != stopButton && child != stepLine)
            child->setEnabled(enabled);
    stopButton->setEnabled(!enabled);
}

void VxGUISOM::enlargeSmallMap()
{
    const int width = display->ImageWidth();
    const int height = display->ImageHeight();
    const int longer = std::max(width, height);
    if (longer < 1 || longer >= kShownSide)
        return;
    const int zoom = (kShownSide + longer - 1) / longer;
    display->resizeFrame(width * zoom, height * zoom);
    display->setZoomWindow(zoom, 0, 0);
    display->updateZoomWindow();
}

void VxGUISOM::showCodes()
{
    for (auto [group, code] :
         {std::pair{functionGroup, function}, {normalizationGroup, normalization}}) {
        // Exclusive groups keep one button checked: a code without a button
        // unchecks them all.
        group->setExclusive(false);
        for (QAbstractButton* button : group->buttons())
            button->setChecked(group->id(button) == code);
        group->setExclusive(true);
    }
}

void VxGUISOM::set_width(QString qstInput)
{
    mapWidth = qstInput.toInt();
}

void VxGUISOM::set_height(QString qstInput)
{
    mapHeight = qstInput.toInt();
}

void VxGUISOM::set_maxstep(QString qstInput)
{
    maxSteps = qstInput.toInt();
}

void VxGUISOM::set_learnrate(QString qstInput)
{
    learnRate = qstInput.toDouble();
}

void VxGUISOM::set_scope(QString qstInput)
{
    learnScope = qstInput.toDouble();
}

void VxGUISOM::set_function(int ID)
{
    function = ID;
}

void VxGUISOM::setSOMFilename(QString qstName)
{
    somFileName = qstName;
}

void VxGUISOM::set_DispalySteps(QString qstSteps)
{
    displaySteps = qstSteps.toInt();
}

void VxGUISOM::set_normalize(int ID)
{
    normalization = ID;
}

void VxGUISOM::setSOMLoadFilename(QString qstFName)
{
    somFileName = qstFName;
}

void VxGUISOM::DisplayMap()
{
    if (!map)
        return;
    if (displayMode == 2)
        map->displayDistanceMap();
    else if (displayMode == 3)
        map->displayLocalDistanceMap();
    else if (displayMode == 1)
        map->displayClusterLabelMap();
    if (marker)
        map->setMarkerForInput();
}

void VxGUISOM::selectDisplayMode()
{
    if (!map)
        return;
    if (displayMode == 2) {
        displayMode = 3;
        displayModeButton->setText(QStringLiteral("Label Map"));
    } else if (displayMode == 3) {
        displayMode = 1;
        displayModeButton->setText(QStringLiteral("Distance Map"));
    } else if (displayMode == 1) {
        displayMode = 2;
        displayModeButton->setText(QStringLiteral("Local Distance"));
    }
    DisplayMap();
}

void VxGUISOM::selectMarkerMode()
{
    marker = !marker;
    DisplayMap();
}
