#pragma once

// "Roi Extraction ": the settings of a RuleRoiExtraction step (protocol
// directory, scaling, scales, object mode, tree generation mode, update and
// query rule files) and an editor of the query rule's text. The step gets
// the query rule as a file name, so edits reach it only once saved. Rule
// files are Latin-1; file choosers go through the dialog service.

#include <QString>

#include "automation/preprocessing/rule_roi_extraction.h"
#include "filter/lMMS_Part.h"
#include "filter/polarity.h"
#include "gui/foundation/preprocessing/vx_preprocess_dialog.h"

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

class VxROIExtractionDialog : public VxPreprocessDialog {
    Q_OBJECT
public:
    explicit VxROIExtractionDialog(QWidget* parent = nullptr);

public slots:
    void setProtocolPath(const QString& qstPath);
    // Integers from 2 and decimals from 0, up to 1000000, in the C locale.
    void setScales(const QString& qstScales);
    void setScaling(const QString& qstScaling);
    void setUpdateRule(const QString& qstUpdate);
    void setQueryRule(const QString& qstQuery);
    // RuleRoiExtraction::init(path, scaling, scales, object mode, tree
    // generation mode, update rule, query rule), then DoIt; nothing while
    // Scales or Scaling holds no acceptable number or the scaling is not
    // above 0. An empty protocol path is handed on as ".".
    void Transform() override;

    // The directory chooser "Set Protocol Path"; its answer, empty on
    // Cancel, becomes the protocol path.
    void setProtocolPathDialog();
    // The chooser "Load Update Rule"; a chosen file becomes the update rule,
    // Cancel changes nothing.
    void setUpdateRuleDialog();
    // The chooser "Load Query Rule"; a chosen file becomes the query rule and
    // is loaded into the editor, Cancel changes nothing.
    void setQueryRuleDialog();
    // Replaces the editor's text with the query rule file's; a file that
    // cannot be read leaves the editor empty.
    void loadQueryRule();
    // The chooser "Save Query Rule"; the editor's text is written to the
    // chosen file, which becomes the query rule. Cancel changes nothing; a
    // failed write shows the save error pop-up and keeps the query rule.
    void saveQueryRuleDialog();
    // Dark objects (2) and bright objects (1) in turn; the button names the
    // current mode.
    void changeMode();
    // Remove noise (3) and no denoising (0) in turn; the button names the
    // current mode.
    void changeGenerateTreeMode();

private:
    QString chooseRuleFile(const QString& title, bool save);

    RuleRoiExtraction step;
    QString protocolPath = QStringLiteral("./");
    double scaling = 0.5;
    int scales = 20;
    QString updateRule = QStringLiteral("Attributes.rule");
    QString queryRule;
    int objectMode = POLARITY_DARK;
    int treeGenerationMode = MMS_REMOVE_NOISE;

    QLineEdit* protocolEdit = nullptr;
    QLineEdit* scalesEdit = nullptr;
    QLineEdit* scalingEdit = nullptr;
    QLineEdit* updateRuleEdit = nullptr;
    QLineEdit* queryRuleEdit = nullptr;
    QPushButton* modeButton = nullptr;
    QPushButton* treeModeButton = nullptr;
    QPlainTextEdit* ruleEditor = nullptr;
};
