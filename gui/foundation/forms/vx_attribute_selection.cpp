#include "gui/foundation/forms/vx_attribute_selection.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "gui/foundation/dialog_service.h"
#include "gui/foundation/forms/form_parts.h"
#include "gui/foundation/window_flags.h"

VxAttributeSelection::VxAttributeSelection(int count, const char* const* names, QString title,
                                           QWidget* parent, const char* name, int flags)
    : QDialog(parent, vx_qt_window_flags(flags)), attributeCount(count > 0 ? count : 0)
{
    vx_form::setUpDialog(this, name, flags);
    setWindowTitle(title + ": Attribute Selection");

    layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    list = new QTreeWidget(this);
    list->setSortingEnabled(false);
    list->setColumnCount(1);
    list->setHeaderLabels({QStringLiteral("Attributes")});
    layout->addWidget(list);
    for (int i = 0; i < attributeCount; ++i) {
        auto* item = new QTreeWidgetItem(list);
        item->setText(
            0, names != nullptr && names[i] != nullptr ? QString::fromLatin1(names[i]) : QString());
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(0, Qt::Checked);
    }
    selected.assign(static_cast<size_t>(attributeCount), 0);

    auto* ticks = new QHBoxLayout;
    layout->addLayout(ticks);
    for (const bool all : {true, false}) {
        auto* button = new QPushButton(all ? QStringLiteral("All") : QStringLiteral("None"), this);
        button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
        // Return stays with "Done".
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, all] { checkAll(all); });
        ticks->addWidget(button);
    }
    ticks->addStretch();
}

void VxAttributeSelection::checkAll(bool checked)
{
    for (int i = 0; i < attributeCount; ++i)
        list->topLevelItem(i)->setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
}

std::vector<int> VxAttributeSelection::getSelection() const
{
    std::vector<int> indices;
    for (int i = 0; i < attributeCount; ++i)
        if (list->topLevelItem(i)->checkState(0) == Qt::Checked)
            indices.push_back(i);
    return indices;
}

int* VxAttributeSelection::getSelection(int* count)
{
    const std::vector<int> indices = getSelection();
    std::copy(indices.begin(), indices.end(), selected.begin());
    if (count != nullptr)
        *count = static_cast<int>(indices.size());
    return selected.data();
}

void VxAttributeSelection::uncheckAttribute(int i)
{
    if (i >= 1 && i < attributeCount)
        list->topLevelItem(i)->setCheckState(0, Qt::Unchecked);
}

void VxAttributeSelection::SelectionDone()
{
    done(1);
}

void VxAttributeSelection::addDoneButton()
{
    auto* done = new QPushButton(QStringLiteral("Done"), this);
    done->setObjectName(QStringLiteral("Attribute Selection Done"));
    done->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(done, &QPushButton::clicked, this, &VxAttributeSelection::SelectionDone);
    layout->addWidget(done);
}

int VxAttributeSelection::exec()
{
    if (running)
        return QDialog::exec();
    addDoneButton();
    running = true;
    const int result = vx_dialogs().exec(*this);
    running = false;
    return result;
}

void VxAttributeSelection::showModeless()
{
    if (!modelessDone)
        addDoneButton();
    modelessDone = true;
    show();
}
