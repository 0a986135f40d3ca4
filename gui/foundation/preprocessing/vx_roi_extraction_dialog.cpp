#include "gui/foundation/preprocessing/vx_roi_extraction_dialog.h"

#include <QBoxLayout>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "gui/foundation/dialog_service.h"
#include "gui/foundation/text_files.h"

namespace {

QPushButton* named_button(const QString& text, const QString& objectName, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(objectName);
    return button;
}

QLineEdit* named_edit(const QString& text, const QString& objectName, QWidget* parent)
{
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(objectName);
    return edit;
}

}  // namespace

VxROIExtractionDialog::VxROIExtractionDialog(QWidget* parent)
    : VxPreprocessDialog(QStringLiteral("Roi Extraction "), parent)
{
    QBoxLayout* protocolRow = addRow();
    QPushButton* protocolButton =
        named_button(QStringLiteral("ProtocolPath"), QStringLiteral("Infiledialog"), this);
    protocolEdit = named_edit(protocolPath, QStringLiteral("ProtocolImagePath"), this);
    protocolRow->addWidget(protocolButton);
    protocolRow->addWidget(protocolEdit);

    scalesEdit =
        addEditRow(QStringLiteral("Scales"), QStringLiteral("Scales"), QString::number(scales));
    acceptIntegers(scalesEdit, 2);
    scalingEdit =
        addEditRow(QStringLiteral("Scaling"), QStringLiteral("Scaling"), QStringLiteral("0.5"));
    acceptDecimals(scalingEdit, 0.0);

    QBoxLayout* updateRow = addRow();
    auto* updateButton = new QPushButton(QStringLiteral("UpdateRule"), this);
    updateRuleEdit = named_edit(updateRule, QStringLiteral("UpdateRule"), this);
    updateRow->addWidget(updateButton);
    updateRow->addWidget(updateRuleEdit);

    QBoxLayout* queryRow = addRow();
    QPushButton* loadButton =
        named_button(QStringLiteral("QueryRule"), QStringLiteral("Load Query Rule"), this);
    queryRuleEdit = named_edit(queryRule, QStringLiteral("QueryRule"), this);
    QPushButton* saveButton =
        named_button(QStringLiteral("Save"), QStringLiteral("Save Query Rule"), this);
    queryRow->addWidget(loadButton);
    queryRow->addWidget(queryRuleEdit);
    queryRow->addWidget(saveButton);

    QBoxLayout* modeRow = addRow();
    modeButton =
        named_button(QStringLiteral("Dark Objects"), QStringLiteral("Mode Selection"), this);
    treeModeButton = named_button(QStringLiteral("Remove Noise"),
                                  QStringLiteral("Remove Noise Selection"), this);
    modeRow->addWidget(modeButton);
    modeRow->addWidget(treeModeButton);

    ruleEditor = new QPlainTextEdit(this);
    ruleEditor->setObjectName(QStringLiteral("Rule Editor"));
    rows->addWidget(ruleEditor);
    addComputeButton();

    connect(protocolEdit, &QLineEdit::textChanged, this, &VxROIExtractionDialog::setProtocolPath);
    connect(scalesEdit, &QLineEdit::textChanged, this, &VxROIExtractionDialog::setScales);
    connect(scalingEdit, &QLineEdit::textChanged, this, &VxROIExtractionDialog::setScaling);
    connect(updateRuleEdit, &QLineEdit::textChanged, this, &VxROIExtractionDialog::setUpdateRule);
    connect(queryRuleEdit, &QLineEdit::textChanged, this, &VxROIExtractionDialog::setQueryRule);
    connect(queryRuleEdit, &QLineEdit::returnPressed, this, &VxROIExtractionDialog::loadQueryRule);
    connect(protocolButton, &QPushButton::clicked, this,
            &VxROIExtractionDialog::setProtocolPathDialog);
    connect(modeButton, &QPushButton::clicked, this, &VxROIExtractionDialog::changeMode);
    connect(treeModeButton, &QPushButton::clicked, this,
            &VxROIExtractionDialog::changeGenerateTreeMode);
    connect(updateButton, &QPushButton::clicked, this, &VxROIExtractionDialog::setUpdateRuleDialog);
    connect(loadButton, &QPushButton::clicked, this, &VxROIExtractionDialog::setQueryRuleDialog);
    connect(saveButton, &QPushButton::clicked, this, &VxROIExtractionDialog::saveQueryRuleDialog);
}

void VxROIExtractionDialog::setProtocolPath(const QString& qstPath)
{
    protocolPath = qstPath;
}

void VxROIExtractionDialog::setScales(const QString& qstScales)
{
    scales = qstScales.toInt(nullptr, 10);
}

void VxROIExtractionDialog::setScaling(const QString& qstScaling)
{
    scaling = qstScaling.toDouble();
}

void VxROIExtractionDialog::setUpdateRule(const QString& qstUpdate)
{
    updateRule = qstUpdate;
}

void VxROIExtractionDialog::setQueryRule(const QString& qstQuery)
{
    queryRule = qstQuery;
}

void VxROIExtractionDialog::Transform()
{
    if (!scalesEdit->hasAcceptableInput() || !scalingEdit->hasAcceptableInput() || scaling <= 0.0)
        return;
    // The step joins its protocol files as "<path>/<name>": an empty path
    // would put them into the root directory.
    const QString path = protocolPath.isEmpty() ? QStringLiteral(".") : protocolPath;
    step.init(QFile::encodeName(path).constData(), scaling, scales, objectMode, treeGenerationMode,
              QFile::encodeName(updateRule).constData(), QFile::encodeName(queryRule).constData());
    emit DoIt(step);
}

void VxROIExtractionDialog::setProtocolPathDialog()
{
    protocolEdit->setText(vx_dialogs().existingDirectory(this, QStringLiteral("Protocol Path"),
                                                         QStringLiteral("Set Protocol Path"),
                                                         QStringLiteral("./")));
}

QString VxROIExtractionDialog::chooseRuleFile(const QString& title, bool save)
{
    const QString start = QStringLiteral("./*.rule");
    const QString filter = QStringLiteral("Rule Files (*.rule)");
    return save ? vx_dialogs().saveFileName(this, title, title, start, filter, false)
                : vx_dialogs().openFileName(this, title, title, start, filter, false);
}

void VxROIExtractionDialog::setUpdateRuleDialog()
{
    const QString chosen = chooseRuleFile(QStringLiteral("Load Update Rule"), false);
    if (!chosen.isEmpty())
        updateRuleEdit->setText(chosen);
}

void VxROIExtractionDialog::setQueryRuleDialog()
{
    const QString chosen = chooseRuleFile(QStringLiteral("Load Query Rule"), false);
    if (chosen.isEmpty())
        return;
    queryRuleEdit->setText(chosen);
    loadQueryRule();
}

void VxROIExtractionDialog::loadQueryRule()
{
    QString text;
    vx_read_text_file(queryRule, &text);
    ruleEditor->setPlainText(text);
}

void VxROIExtractionDialog::saveQueryRuleDialog()
{
    const QString chosen = chooseRuleFile(QStringLiteral("Save Query Rule"), true);
    if (!chosen.isEmpty() && vx_save_text_file(chosen, vx_editor_text(*ruleEditor)))
        queryRuleEdit->setText(chosen);
}

void VxROIExtractionDialog::changeMode()
{
    objectMode = objectMode == POLARITY_DARK ? POLARITY_BRIGHT : POLARITY_DARK;
    modeButton->setText(objectMode == POLARITY_DARK ? QStringLiteral("Dark Objects")
                                                    : QStringLiteral("Bright Objects"));
}

void VxROIExtractionDialog::changeGenerateTreeMode()
{
    treeGenerationMode =
        treeGenerationMode == MMS_REMOVE_NOISE ? MMS_NO_DENOISING : MMS_REMOVE_NOISE;
    treeModeButton->setText(treeGenerationMode == MMS_REMOVE_NOISE
                                ? QStringLiteral("Remove Noise")
                                : QStringLiteral("No Denoising"));
}
