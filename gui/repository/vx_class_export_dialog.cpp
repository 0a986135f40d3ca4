#include "gui/repository/vx_class_export_dialog.h"

#include <QButtonGroup>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/foundation/forms/form_parts.h"
#include "gui/foundation/window_flags.h"

VxClassExportDialog::VxClassExportDialog(int classCount, const char* const* classNames,
                                         QString buttonCaption, QString filter,
                                         QString requiredEnding, QWidget* parent, const char* name,
                                         int flags)
    : QDialog(parent, vx_qt_window_flags(flags)),
      classCount(classCount),
      classNames(classNames),
      buttonCaption(buttonCaption),
      filter(filter),
      requiredEnding(requiredEnding)
{
    vx_form::setUpDialog(this, name, flags);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    const vx_form::FileRow row = vx_form::addFileRow(this, layout, buttonCaption, buttonCaption,
                                                     QStringLiteral("ExportFileName"));
    fileNameEdit = row.edit;
    connect(row.button, &QPushButton::clicked, this, &VxClassExportDialog::setFileNameDialog);
    connect(fileNameEdit, &QLineEdit::textChanged, this, &VxClassExportDialog::setFileName);

    QButtonGroup* classes =
        vx_form::addClassChoice(this, layout, classCount, classNames,
                                QStringLiteral("Export Class Selection"), &classLabel);
    connect(classes, &QButtonGroup::idClicked, this, &VxClassExportDialog::setClass);

    auto* done = new QPushButton(QStringLiteral("Done"), this);
    done->setObjectName(QStringLiteral("Export Done"));
    done->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(done, &QPushButton::clicked, this, &VxClassExportDialog::DoIt);
    layout->addWidget(done);
    layout->addStretch();
}

void VxClassExportDialog::DoIt()
{
    accept();
}

void VxClassExportDialog::setClass(int iClass)
{
    vx_form::chooseClass(iClass, classCount, classNames, classLabel, selectedClass);
}

void VxClassExportDialog::setFileNameDialog()
{
    vx_form::chooseSaveName(this, fileNameEdit, buttonCaption, buttonCaption, fileName, filter,
                            requiredEnding);
}

void VxClassExportDialog::setFileName(QString qstName)
{
    fileName = qstName;
}

void VxClassExportDialog::setMode(int iMode)
{
    mode = iMode + 1;
}
