#include "gui/repository/vx_rurevudu_dialog.h"

#include <QButtonGroup>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/foundation/dialog_service.h"
#include "gui/foundation/forms/form_parts.h"
#include "gui/foundation/window_flags.h"

VxRurevuduDialog::VxRurevuduDialog(int classCount, const char* const* classNames, QWidget* parent,
                                   const char* name, int flags)
    : QDialog(parent, vx_qt_window_flags(flags)), classCount(classCount), classNames(classNames)
{
    vx_form::setUpDialog(this, name, flags);

    auto* layout = new QVBoxLayout(this);
    const vx_form::FileRow list =
        vx_form::addFileRow(this, layout, QStringLiteral("FileList"), QStringLiteral("FileList"),
                            QStringLiteral("ImageFileListName"));
    const vx_form::FileRow path =
        vx_form::addFileRow(this, layout, QStringLiteral("Data Path"), QStringLiteral("Data Path"),
                            QStringLiteral("TrainingPath"));
    const vx_form::FileRow rule =
        vx_form::addFileRow(this, layout, QStringLiteral("Update Rule"),
                            QStringLiteral("Update Rule"), QStringLiteral("Update Rule Name"));
    listEdit = list.edit;
    pathEdit = path.edit;
    ruleEdit = rule.edit;
    connect(list.button, &QPushButton::clicked, this,
            &VxRurevuduDialog::setImageFilelistNameDialog);
    connect(listEdit, &QLineEdit::textChanged, this, &VxRurevuduDialog::setImageFilelistName);
    connect(path.button, &QPushButton::clicked, this, &VxRurevuduDialog::setDataPathDialog);
    connect(pathEdit, &QLineEdit::textChanged, this, &VxRurevuduDialog::setDataPath);
    connect(rule.button, &QPushButton::clicked, this, &VxRurevuduDialog::setUpdateRuleNameDialog);
    connect(ruleEdit, &QLineEdit::textChanged, this, &VxRurevuduDialog::setUpdateRuleName);

    QButtonGroup* classes = vx_form::addClassChoice(this, layout, classCount, classNames,
                                                    QStringLiteral("ClassSelection"), &classLabel);
    connect(classes, &QButtonGroup::idClicked, this, &VxRurevuduDialog::setClass);

    QButtonGroup* types = vx_form::addRadioGroup(
        this, layout, QStringLiteral("ImageSelectionType"),
        {QStringLiteral("Select All Images"), QStringLiteral("Select Labeled Images"),
         QStringLiteral("Select Unlabeled Images")},
        0, 0);
    connect(types, &QButtonGroup::idClicked, this, &VxRurevuduDialog::setSelectionType);

    auto* write = new QPushButton(QStringLiteral("Write "), this);
    write->setObjectName(QStringLiteral("WriteTree.csv"));
    connect(write, &QPushButton::clicked, this, &VxRurevuduDialog::DoIt);
    layout->addWidget(write);
    layout->addStretch();
}

void VxRurevuduDialog::DoIt()
{
    const QByteArray list = QFile::encodeName(imageFilelistName);
    const QByteArray path = QFile::encodeName(dataPath);
    const QByteArray rule = QFile::encodeName(updateRuleName);
    emit writeRUREVUDU(list.constData(), path.constData(), rule.constData(), selectedClass,
                       selectionType);
}

void VxRurevuduDialog::setClass(int iClass)
{
    vx_form::chooseClass(iClass, classCount, classNames, classLabel, selectedClass);
}

void VxRurevuduDialog::setImageFilelistNameDialog()
{
    vx_form::chooseSaveName(this, listEdit, QStringLiteral("RUREVUDU List File"),
                            QStringLiteral("Set RUREVUDU-List Filename"), imageFilelistName,
                            QStringLiteral("(RUREVUDU List) *.hclst"), QStringLiteral(".hclst"));
}

void VxRurevuduDialog::setImageFilelistName(QString qstName)
{
    imageFilelistName = qstName;
}

void VxRurevuduDialog::setDataPathDialog()
{
    vx_form::chooseDirectory(this, pathEdit, QStringLiteral("RUREVUDU Files Destination"),
                             QStringLiteral("Set RUREVUDU Files Destination"), dataPath);
}

void VxRurevuduDialog::setDataPath(QString qstName)
{
    dataPath = qstName;
}

void VxRurevuduDialog::setUpdateRuleNameDialog()
{
    const QString chosen = vx_dialogs().openFileName(
        this, QStringLiteral("Update Rule"), QStringLiteral("Set Update Rule Filename"),
        QStringLiteral("./"), QStringLiteral("(Rule) *.rule"), false);
    if (chosen.endsWith(QLatin1String(".rule")))
        ruleEdit->setText(chosen);
}

void VxRurevuduDialog::setUpdateRuleName(QString qstName)
{
    updateRuleName = qstName;
}

void VxRurevuduDialog::setSelectionType(int iSelectionType)
{
    selectionType = iSelectionType;
}
