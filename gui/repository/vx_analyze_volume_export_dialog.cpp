#include "gui/repository/vx_analyze_volume_export_dialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/foundation/forms/form_parts.h"
#include "gui/foundation/window_flags.h"

VxAnalyzeVolumeExportDialog::VxAnalyzeVolumeExportDialog(QString buttonCaption, QString filter,
                                                         QString requiredEnding, QWidget* parent,
                                                         const char* name, int flags)
    : QDialog(parent, vx_qt_window_flags(flags)),
      buttonCaption(buttonCaption),
      filter(filter),
      requiredEnding(requiredEnding)
{
    vx_form::setUpDialog(this, name, flags);

    auto* layout = new QVBoxLayout(this);
    const vx_form::FileRow row = vx_form::addFileRow(this, layout, buttonCaption, buttonCaption,
                                                     QStringLiteral("ExportFileName"));
    fileNameEdit = row.edit;
    connect(row.button, &QPushButton::clicked, this,
            &VxAnalyzeVolumeExportDialog::setFileNameDialog);
    connect(fileNameEdit, &QLineEdit::textChanged, this, &VxAnalyzeVolumeExportDialog::setFileName);

    layout->addWidget(new QLabel(QStringLiteral("ZScale"), this));
    auto* zScaleEdit = new QLineEdit(QString::number(zScale, 'g', 6), this);
    zScaleEdit->setObjectName(QStringLiteral("ZScale"));
    connect(zScaleEdit, &QLineEdit::textChanged, this, &VxAnalyzeVolumeExportDialog::setZScale);
    layout->addWidget(zScaleEdit);

    binarizeButton = new QPushButton(QStringLiteral("Binarize"), this);
    binarizeButton->setObjectName(QStringLiteral("Binarize"));
    connect(binarizeButton, &QPushButton::clicked, this,
            &VxAnalyzeVolumeExportDialog::toggleBinarize);
    layout->addWidget(binarizeButton);

    auto* done = new QPushButton(QStringLiteral("Done"), this);
    done->setObjectName(QStringLiteral("Export Done"));
    connect(done, &QPushButton::clicked, this, &VxAnalyzeVolumeExportDialog::DoIt);
    layout->addWidget(done);
}

void VxAnalyzeVolumeExportDialog::DoIt()
{
    accept();
}

void VxAnalyzeVolumeExportDialog::setZScale(QString qstName)
{
    zScale = qstName.toFloat();
}

void VxAnalyzeVolumeExportDialog::toggleBinarize()
{
    binarize = !binarize;
    binarizeButton->setText(binarize ? QStringLiteral("Binarize") : QStringLiteral("No Binarize"));
}

void VxAnalyzeVolumeExportDialog::setFileNameDialog()
{
    vx_form::chooseSaveName(this, fileNameEdit, buttonCaption, buttonCaption, fileName, filter,
                            requiredEnding);
}

void VxAnalyzeVolumeExportDialog::setFileName(QString qstName)
{
    fileName = qstName;
}
