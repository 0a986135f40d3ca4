#include "gui/repository/vx_select_regions_from_tree.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/analysis/vx_analyse_control.h"
#include "gui/foundation/forms/form_parts.h"
#include "gui/foundation/forms/form_widgets.h"
#include "gui/foundation/qimage_frame.h"
#include "gui/foundation/screen_fit.h"
#include "gui/foundation/window_flags.h"
#include "imagecore/report.h"

namespace {

constexpr char blocked[] = "BlockedMode";

}  // namespace

VxSelectRegionsFromTree::VxSelectRegionsFromTree(vx_analyse_control* pmsacControl, int mode,
                                                 const int* modes, int buttonIndex, int imageIndex,
                                                 int classCount, char** classNames, QWidget* parent,
                                                 const char* name, int flags)
    : vx_analyse_scales(pmsacControl, mode, parent, name, flags),
      buttonIndex(buttonIndex),
      imageIndex(imageIndex),
      classCount(classCount),
      classNames(classNames),
      ownedControl(pmsacControl)
{
    makeIntegratedView();
    for (int k = 1; k < classCount && active == 0; ++k)
        if (modes[k] == type)
            active = k;
    makeClassControls(modes);
    findChild<QLabel*>(QStringLiteral("Frame Hint"))
        ->setText(QStringLiteral("Ctrl + right click adds a region to the checked class"));
}

VxSelectRegionsFromTree::~VxSelectRegionsFromTree()
{
    emit closedID(imageIndex);
}

void VxSelectRegionsFromTree::makeIntegratedView()
{
    integratedView = std::make_unique<QWidget>(nullptr, vx_qt_window_flags(0x100));
    integratedView->setObjectName(QStringLiteral("Integrated View"));
    qimage_frame* frame = control->init_display(integratedView.get());
    frame->setDisplayMode(1);
    integratedView->setWindowTitle("Validate: " + QString::fromLatin1(control->imagename()));
    auto* row = new QHBoxLayout(vx_scrolled_content(integratedView.get()));
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->setSizeConstraint(QLayout::SetFixedSize);
    vx_form::addFrameColumn(row, frame, integratedView.get());
    control->displaymode(1);
    integratedView->show();
    connect(control, &vx_analyse_control::displayVxAnalyseControl, integratedView.get(),
            &QWidget::show);
}

void VxSelectRegionsFromTree::makeClassControls(const int* modes)
{
    QVBoxLayout* layout = windowLayout();
    QStringList labels;
    for (int k = 1; k < classCount; ++k)
        labels << (modes[k] == type ? nameOf(k) : QString::fromLatin1(blocked));
    classButtons =
        vx_form::addRadioGroup(this, layout, QStringLiteral("Classes"), labels, 0, active - 1);
    static_cast<QGroupBox*>(classButtons->parent())->setTitle(QStringLiteral("Classes"));
    connect(classButtons, &QButtonGroup::idClicked, this, &VxSelectRegionsFromTree::setClass);

    classEdit = new QLineEdit(nameOf(active), this);
    classEdit->setObjectName(QStringLiteral("Class Display and Edit"));
    connect(classEdit, &QLineEdit::returnPressed, this, &VxSelectRegionsFromTree::resetClassName);
    layout->addWidget(classEdit);

    QPushButton* clearButton = vx_form::fixedButton("Clear Class", this);
    QPushButton* validateButton = vx_form::fixedButton("Validate", this);
    connect(clearButton, &QPushButton::clicked, this, &VxSelectRegionsFromTree::clear);
    connect(validateButton, &QPushButton::clicked, this, &VxSelectRegionsFromTree::validateRegions);
    layout->addWidget(clearButton);
    layout->addWidget(validateButton);
    layout->addStretch();
}

QString VxSelectRegionsFromTree::nameOf(int cls) const
{
    return QString::fromLatin1(classNames[cls]);
}

void VxSelectRegionsFromTree::clear()
{
    control->clear_open_objects();
    control->clear_close_objects();
}

void VxSelectRegionsFromTree::validateRegions()
{
    if (active == 0)
        return;
    integratedView->show();
    emit validate(control, active, buttonIndex, imageIndex);
}

void VxSelectRegionsFromTree::setClass(int iClass)
{
    const int cls = iClass + 1;
    vx_report("Class %d\n", cls);
    if (cls < 1 || cls >= classCount)
        return;
    QAbstractButton* clicked = classButtons->button(iClass);
    if (clicked->text() != QLatin1String(blocked)) {
        classEdit->setText(nameOf(cls));
        active = cls;
        clicked->setChecked(true);
    } else if (active != 0) {
        classButtons->button(active - 1)->setChecked(true);
    } else {
        // An exclusive group keeps its checked button.
        classButtons->setExclusive(false);
        clicked->setChecked(false);
        classButtons->setExclusive(true);
    }
}

void VxSelectRegionsFromTree::resetClassName()
{
    if (active == 0) {
        classEdit->setText(QStringLiteral("Irrelevant"));
        return;
    }
    const QByteArray name = classEdit->text().toLatin1();
    vx_report("Changing Class %s to Class %s\n", classNames[active], name.constData());
    emit renameClass(active, name.constData());
    classButtons->button(active - 1)->setText(nameOf(active));
}
