// vx_analyse_main_dialog: the window, the trees, the scale browsers and the
// display mode.
#include "gui/analysis/vx_analyse_main_dialog.h"

#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "filter/polarity.h"
#include "gui/analysis/detail/tree_files.h"
#include "gui/analysis/vx_analyse_control.h"
#include "gui/analysis/vx_analyse_scales.h"
#include "gui/analysis/vx_draw_region.h"
#include "gui/foundation/dialog_service.h"
#include "gui/foundation/forms/form_widgets.h"
#include "gui/foundation/qimage_frame.h"
#include "gui/foundation/screen_fit.h"
#include "gui/foundation/vx_base_paths.h"
#include "gui/foundation/vx_edit_dialog.h"
#include "gui/foundation/vx_message_popup.h"
#include "gui/foundation/window_flags.h"
#include "imagecore/report.h"

namespace {

QString latin1(const char* text)
{
    return QString::fromLatin1(text);
}

QString file_text(const char* name)
{
    return QFile::decodeName(name);
}

void add_gap(QBoxLayout* layout)
{
    layout->addSpacerItem(new QSpacerItem(10, 10, QSizePolicy::Fixed, QSizePolicy::Fixed));
}

}  // namespace

vx_analyse_main_dialog::vx_analyse_main_dialog(VxBasePaths* shared, vx_analyse_control* control,
                                               QWidget* parent, const char* name, int flags)
    : VxBaseDialog(shared, parent, name, flags | VX_DELETE_ON_CLOSE),
      control(control),
      parentWindow(parent)
{
    // 2.-3. The announcement, the size and the title.
    vx_report("Setting up the Analyse Main Window\n");
    setMinimumSize(100, 200);
    setWindowTitle("Analyse Image " + file_text(control->imagename()));
    // 4. Active regions drawn filled, not inverted; the result named after
    //    the image.
    control->displaymode(1);
    control->invert(0);
    const QByteArray result = QFile::encodeName(imageStem() + ".result." + imageExtension());
    control->resultname(result.constData());
    // 5.-6. The controls and the display.
    makeLayout();
}

vx_analyse_main_dialog::~vx_analyse_main_dialog() = default;

void vx_analyse_main_dialog::makeLayout()
{
    auto* box = new QVBoxLayout(vx_scrolled_content(this));
    box->setSizeConstraint(QLayout::SetMinimumSize);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);

    // 1. The image.
    processingLabel = new QLabel("Processing: " + file_text(control->imagename()), this);
    processingLabel->setObjectName(QStringLiteral("Processing"));
    box->addWidget(processingLabel);

    // 2. The scale counts.
    auto* row = new QHBoxLayout;
    box->addLayout(row);
    row->addWidget(new QLabel("Bright Scales: " + QString::number(control->oscales()), this));
    row->addWidget(new QLabel("Dark Scales: " + QString::number(control->cscales()), this));
    QPushButton* quit = vx_form::fixedButton("Quit", this, "Quit");
    row->addWidget(quit);
    // Quit stays beside the counts however wide a picture makes the window.
    row->addStretch();
    connect(quit, &QPushButton::clicked, this, &vx_analyse_main_dialog::quit_analyse);

    // 3. The tree files.
    row = new QHBoxLayout;
    box->addLayout(row);
    brightTreeField = new QLineEdit(file_text(control->openingtreename()), this);
    brightTreeField->setObjectName(QStringLiteral("Bright Tree Name"));
    QPushButton* writeBright = vx_form::fixedButton("Write", this, "Write Bright Tree");
    darkTreeField = new QLineEdit(file_text(control->closingtreename()), this);
    darkTreeField->setObjectName(QStringLiteral("Dark Tree Name"));
    QPushButton* writeDark = vx_form::fixedButton("Write", this, "Write Dark Tree");
    row->addWidget(brightTreeField);
    row->addWidget(writeBright);
    row->addWidget(darkTreeField);
    row->addWidget(writeDark);
    row->addStretch();
    connect(brightTreeField, &QLineEdit::textChanged, this,
            &vx_analyse_main_dialog::set_write_opening_tree);
    connect(brightTreeField, &QLineEdit::returnPressed, this,
            &vx_analyse_main_dialog::write_opening_tree);
    connect(writeBright, &QPushButton::clicked, this,
            &vx_analyse_main_dialog::write_opening_tree_dialog);
    connect(darkTreeField, &QLineEdit::textChanged, this,
            &vx_analyse_main_dialog::set_write_closing_tree);
    connect(darkTreeField, &QLineEdit::returnPressed, this,
            &vx_analyse_main_dialog::write_closing_tree);
    connect(writeDark, &QPushButton::clicked, this,
            &vx_analyse_main_dialog::write_closing_tree_dialog);

    // 4.-5. The scale browsers.
    row = new QHBoxLayout;
    box->addLayout(row);
    QPushButton* browseBright = vx_form::fixedButton("Browse Bright", this, "Browse Bright");
    QPushButton* browseDark = vx_form::fixedButton("Browse Dark", this, "Browse Dark");
    row->addWidget(browseBright);
    row->addWidget(browseDark);
    row->addStretch();
    connect(browseBright, &QPushButton::clicked, this, &vx_analyse_main_dialog::analyse_bright);
    connect(browseDark, &QPushButton::clicked, this, &vx_analyse_main_dialog::analyse_dark);
    add_gap(box);

    // 6. Tools, the display, exports.
    row = new QHBoxLayout;
    box->addLayout(row);
    auto* tools = new QVBoxLayout;
    row->addLayout(tools);
    const struct {
        const char* text;
        void (vx_analyse_main_dialog::*slot)();
    } toolButtons[] = {
        {"Write VXP", &vx_analyse_main_dialog::writeProject},
        {"Draw Bright", &vx_analyse_main_dialog::drawBrightRegionDialog},
        {"Draw Dark", &vx_analyse_main_dialog::drawDarkRegionDialog},
        {"Save Image", &vx_analyse_main_dialog::write_result_image_dialog},
    };
    for (const auto& tool : toolButtons) {
        QPushButton* made = vx_form::fixedButton(tool.text, this, tool.text);
        tools->addWidget(made);
        connect(made, &QPushButton::clicked, this, tool.slot);
    }
    modeButton = vx_form::fixedButton("Contours", this, "Display Mode");
    tools->addWidget(modeButton);
    tools->addStretch();
    connect(modeButton, &QPushButton::clicked, this, &vx_analyse_main_dialog::switch_display_mode);

    qimage_frame* display = control->init_display(this);
    display->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    display->setResizeStep(20);
    display->setDisplayMode(1);
    display->setZoomOnWheel(true);
    vx_form::addFrameColumn(row, display, this);

    auto* exports = new QVBoxLayout;
    row->addLayout(exports);
    const struct {
        const char* text;
        void (vx_analyse_main_dialog::*slot)();
        bool gapAfter;
    } exportButtons[] = {
        {"Export Bright Table", &vx_analyse_main_dialog::write_bright_objects_table_dialog, false},
        {"Export Bright Regions", &vx_analyse_main_dialog::write_bright_regions, false},
        {"Edit Bright Selection", &vx_analyse_main_dialog::edit_bright_selection, false},
        {"Bright Blobs", &vx_analyse_main_dialog::show_bright_blobs, true},
        {"Export Regions", &vx_analyse_main_dialog::write_dual_regions_dialog, false},
        {"Export wo Gaps", &vx_analyse_main_dialog::write_dual_closed_regions_dialog, true},
        {"Export Dark Table", &vx_analyse_main_dialog::write_dark_objects_table_dialog, false},
        {"Export Dark Regions", &vx_analyse_main_dialog::write_dark_regions, false},
        {"Edit Dark Selection", &vx_analyse_main_dialog::edit_dark_selection, false},
        {"Dark Blobs", &vx_analyse_main_dialog::show_dark_blobs, true},
    };
    for (const auto& entry : exportButtons) {
        QPushButton* made = vx_form::fixedButton(entry.text, this, entry.text);
        exports->addWidget(made);
        connect(made, &QPushButton::clicked, this, entry.slot);
        if (entry.gapAfter)
            add_gap(exports);
    }
    add_gap(box);

    // 8. The two query columns.
    row = new QHBoxLayout;
    box->addLayout(row);
    const auto queryColumn = [&](bool bright) {
        auto* column = new QVBoxLayout;
        row->addLayout(column);
        auto* label = new QLabel(
            bright ? QStringLiteral("Bright Objects Query") : QStringLiteral("Dark Objects Query"),
            this);
        column->addWidget(label);
        auto* buttons = new QHBoxLayout;
        column->addLayout(buttons);
        QPushButton* apply = vx_form::fixedButton("Apply Query", this,
                                             bright ? "Apply Bright Query" : "Apply Dark Query");
        QPushButton* clear =
            vx_form::fixedButton("Clear", this, bright ? "Clear Bright Query" : "Clear Dark Query");
        buttons->addWidget(apply);
        buttons->addWidget(clear);
        auto* selected = new QLabel(this);
        selected->setObjectName(bright ? QStringLiteral("Bright Selected Regions")
                                       : QStringLiteral("Dark Selected Regions"));
        buttons->addWidget(selected);
        buttons->addStretch();
        column->addWidget(new QLabel(bright ? QStringLiteral("Bright Objects Query Rule")
                                            : QStringLiteral("Dark Objects Query Rule"),
                                     this));
        auto* editor = new VxEditDialog(
            sharedPaths, file_text(bright ? control->brightrulesname() : control->darkrulesname()),
            this, bright ? "Bright Rule Edit" : "Dark Rule Edit", 0);
        column->addWidget(editor);
        connect(apply, &QPushButton::clicked, this,
                bright ? &vx_analyse_main_dialog::apply_bright_objects_rule
                       : &vx_analyse_main_dialog::apply_dark_objects_rule);
        connect(clear, &QPushButton::clicked, this,
                bright ? &vx_analyse_main_dialog::clear_bright_objects
                       : &vx_analyse_main_dialog::clear_dark_objects);
        connect(editor, &VxEditDialog::changedFile, this,
                bright ? &vx_analyse_main_dialog::set_load_bright_object_rule
                       : &vx_analyse_main_dialog::set_load_dark_object_rule);
        (bright ? brightQueryLabel : darkQueryLabel) = label;
        (bright ? brightSelectedLabel : darkSelectedLabel) = selected;
        (bright ? brightRuleEditor : darkRuleEditor) = editor;
    };
    queryColumn(true);
    queryColumn(false);
    // Every change of the selection ends in a redraw.
    connect(control.get(), &vx_analyse_control::displayVxAnalyseControl, this,
            &vx_analyse_main_dialog::showSelectedCounts);
    showSelectedCounts();
}

void vx_analyse_main_dialog::showSelectedCounts()
{
    brightSelectedLabel->setText(
        QStringLiteral("Selected regions: %1").arg(control->activeBrightNodes()));
    darkSelectedLabel->setText(
        QStringLiteral("Selected regions: %1").arg(control->activeDarkNodes()));
}

QString vx_analyse_main_dialog::imageStem() const
{
    const QString name = file_text(control->imagename());
    return VxBasePaths::PathNamePart(name) +
           VxBasePaths::truncateFormatPart(VxBasePaths::FileNamePart(name));
}

QString vx_analyse_main_dialog::imageExtension() const
{
    return VxBasePaths::FormatPart(VxBasePaths::FileNamePart(file_text(control->imagename())));
}

// ---- scales and the trees ----

void vx_analyse_main_dialog::set_oscales(QString Input)
{
    control->oscales(Input.toInt());
}

void vx_analyse_main_dialog::set_cscales(QString Input)
{
    control->cscales(Input.toInt());
}

void vx_analyse_main_dialog::compute_trees()
{
    brightBrowser.reset();
    darkBrowser.reset();
    control->compute_scales();
}

void vx_analyse_main_dialog::quit_analyse()
{
    destroyDialog();
}

void vx_analyse_main_dialog::set_write_opening_tree(QString Input)
{
    control->openingtreename(QFile::encodeName(Input).constData());
}

void vx_analyse_main_dialog::set_write_closing_tree(QString Input)
{
    control->closingtreename(QFile::encodeName(Input).constData());
}

void vx_analyse_main_dialog::writeTree(region_tree* tree, QLineEdit* field, const char* name)
{
    // A name the controller refused is not written under the old one.
    if (field->text() != file_text(name)) {
        vx_write_error(field->text());
        return;
    }
    vx_write_tree_file(tree, file_text(name));
}

void vx_analyse_main_dialog::write_opening_tree()
{
    writeTree(control->openingtree(), brightTreeField, control->openingtreename());
}

void vx_analyse_main_dialog::write_closing_tree()
{
    writeTree(control->closingtree(), darkTreeField, control->closingtreename());
}

void vx_analyse_main_dialog::treeDialog(QLineEdit* field, const char* caption,
                                        void (vx_analyse_main_dialog::*write)())
{
    const QString file = vx_dialogs().saveFileName(this, latin1(caption), latin1(caption),
                                                   field->text(), QString(), false);
    if (file.isEmpty())
        return;
    field->setText(file);
    (this->*write)();
}

void vx_analyse_main_dialog::write_opening_tree_dialog()
{
    treeDialog(brightTreeField, "Write Bright Tree", &vx_analyse_main_dialog::write_opening_tree);
}

void vx_analyse_main_dialog::write_closing_tree_dialog()
{
    treeDialog(darkTreeField, "Write Dark Tree", &vx_analyse_main_dialog::write_closing_tree);
}

// ---- scale browsers and the display ----

void vx_analyse_main_dialog::analyse_bright()
{
    if (!brightBrowser && control->openingtree() != nullptr)
        brightBrowser = std::make_unique<vx_analyse_scales>(
            control.get(), POLARITY_BRIGHT, parentWindow, "Browse Bright Scales", 0);
    if (brightBrowser)
        brightBrowser->show();
}

void vx_analyse_main_dialog::analyse_dark()
{
    if (!darkBrowser && control->closingtree() != nullptr)
        darkBrowser = std::make_unique<vx_analyse_scales>(control.get(), POLARITY_DARK,
                                                          parentWindow, "Browse Dark Scales", 0);
    if (darkBrowser)
        darkBrowser->show();
}

void vx_analyse_main_dialog::switch_display_mode()
{
    if (control->displaymode() == 0) {
        modeButton->setText(QStringLiteral("Contours"));
        control->displaymode(1);
    } else if (control->displaymode() == 1) {
        modeButton->setText(QStringLiteral("Regions"));
        control->displaymode(0);
    }
    control->dva_update_output();
}

void vx_analyse_main_dialog::invert_display()
{
    control->invert(1 - control->invert());
}
