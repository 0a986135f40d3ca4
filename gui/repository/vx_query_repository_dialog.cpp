// VxQueryRepositoryDialog: the form, its file fields and the rows of rule
// files with their editor.
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "filter/polarity.h"
#include "gui/foundation/dialog_service.h"
#include "gui/foundation/forms/form_parts.h"
#include "gui/foundation/screen_fit.h"
#include "gui/foundation/text_files.h"
#include "gui/foundation/vx_base_paths.h"
#include "gui/foundation/window_flags.h"
#include "gui/repository/vx_query_repository_dialog.h"

namespace {

constexpr int kModeColumn = 0;
constexpr int kRuleColumn = 1;
// The list grows with its rows up to this many, then scrolls: a long
// ".query" file would make the window taller than any screen.
constexpr int kRowsShown = 10;

}  // namespace

VxQueryRepositoryDialog::VxQueryRepositoryDialog(VxBasePaths* paths, QWidget* parent,
                                                 const char* name, int flags)
    : VxWorkingDialog(paths, parent, name, flags | VX_DELETE_ON_CLOSE)
{
    updateRule = paths->UpdateRule();
    setWindowTitle(QStringLiteral("Query Repository"));
    resize(500, 600);
    makeForm();
}

VxQueryRepositoryDialog::~VxQueryRepositoryDialog() = default;

void VxQueryRepositoryDialog::makeForm()
{
    using Dialog = VxQueryRepositoryDialog;
    // The list grows with its rows; the form scrolls where the screen ends.
    auto* layout = new QVBoxLayout(vx_scrolled_content(this));

    // 1.-3. Repository, result and destination.
    const vx_form::FileRow repository = vx_form::addFileRow(
        this, layout, QStringLiteral("Repository"), QStringLiteral("Select Repository File"),
        QStringLiteral("Repository Filename"));
    repositoryEdit = repository.edit;
    connect(repository.button, &QPushButton::clicked, this, &Dialog::setRepositoryFileDialog);
    connect(repositoryEdit, &QLineEdit::textChanged, this, &Dialog::setRepositoryFile);
    const vx_form::FileRow result = vx_form::addFileRow(
        this, layout, QStringLiteral("Result"), QString(), QStringLiteral("Resultfilename"));
    resultEdit = result.edit;
    connect(result.button, &QPushButton::clicked, this, &Dialog::setResultFileDialog);
    connect(resultEdit, &QLineEdit::textChanged, this, &Dialog::setResultFile);
    const vx_form::FileRow destination = vx_form::addFileRow(
        this, layout, QStringLiteral("Destination"), QString(), QStringLiteral("Destination Path"));
    destinationEdit = destination.edit;
    connect(destination.button, &QPushButton::clicked, this, &Dialog::setDestinationPathDialog);
    connect(destinationEdit, &QLineEdit::textChanged, this, &Dialog::setDestinationPath);

    // 4. The table switch.
    auto* tableRow = new QHBoxLayout;
    writeModeButton = vx_form::addButton(this, tableRow, QStringLiteral("Write Table"),
                                         QStringLiteral("Write Mode Selection"));
    connect(writeModeButton, &QPushButton::clicked, this, &Dialog::setWriteMode);
    tableRow->addStretch();
    layout->addLayout(tableRow);

    // 5.-6. Update rule and query rule.
    const vx_form::FileRow update =
        vx_form::addFileRow(this, layout, QStringLiteral("Update Rule"), QString(),
                            QStringLiteral("Update Rule"), updateRule);
    updateEdit = update.edit;
    connect(update.button, &QPushButton::clicked, this, &Dialog::setUpdateFileDialog);
    connect(updateEdit, &QLineEdit::textChanged, this, &Dialog::setUpdateFile);
    const vx_form::FileRow query = vx_form::addFileRow(
        this, layout, QStringLiteral("Add Query Rule"), QString(), QStringLiteral("Query Rule"));
    queryEdit = query.edit;
    connect(query.button, &QPushButton::clicked, this, &Dialog::setQueryFileDialog);
    connect(queryEdit, &QLineEdit::textChanged, this, &Dialog::setQueryFile);
    connect(queryEdit, &QLineEdit::returnPressed, this, &Dialog::addQueryFile);

    // 7. The rows; clicks reach the slots through the viewport's filter.
    queryList = new QTreeWidget(this);
    queryList->setObjectName(QStringLiteral("Selected Query Rules"));
    queryList->setHeaderLabels({QStringLiteral("Mode"), QStringLiteral("Rulename")});
    queryList->setRootIsDecorated(false);
    // One line per row: the view need not measure every row on a change.
    queryList->setUniformRowHeights(true);
    queryList->setMaximumHeight(listHeight);
    queryList->viewport()->installEventFilter(this);
    layout->addWidget(queryList);

    // 8.-10. The rule editor.
    ruleLabel = new QLabel(QStringLiteral("Edit Rule:"), this);
    ruleLabel->setObjectName(QStringLiteral("Edit Rule Label"));
    layout->addWidget(ruleLabel);
    ruleEditor = new QPlainTextEdit(this);
    ruleEditor->setObjectName(QStringLiteral("Rule Editor"));
    layout->addWidget(ruleEditor, 1);
    auto* saveRow = new QHBoxLayout;
    connect(vx_form::addButton(this, saveRow, QStringLiteral("Save Rule")), &QPushButton::clicked,
            this, &Dialog::SaveRule);
    saveRow->addStretch();
    layout->addLayout(saveRow);

    // 11.-12. Progress and the run.
    progress = new QProgressBar(this);
    layout->addWidget(progress);
    auto* runRow = new QHBoxLayout;
    connect(vx_form::addButton(this, runRow, QStringLiteral("Save Query")), &QPushButton::clicked,
            this, &Dialog::SaveQueryParameters);
    connect(vx_form::addButton(this, runRow, QStringLiteral("Load Query")), &QPushButton::clicked,
            this, &Dialog::LoadQueryParameters);
    runRow->addStretch();
    connect(vx_form::addButton(this, runRow, QStringLiteral("Exec Query"),
                               QStringLiteral("Start Query")),
            &QPushButton::clicked, this, &Dialog::executeQuery);
    connect(vx_form::addButton(this, runRow, QStringLiteral("Cancel")), &QPushButton::clicked, this,
            &Dialog::destroyDialog);
    layout->addLayout(runRow);
}

void VxQueryRepositoryDialog::setCallPath(const char* path)
{
    callPath = QString::fromLatin1(path);
}

bool VxQueryRepositoryDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == queryList->viewport() && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint at = mouse->position().toPoint();
        QTreeWidgetItem* item = queryList->itemAt(at);
        if (mouse->button() == Qt::LeftButton) {
            contextQueryFile(item, mouse->globalPosition().toPoint(), queryList->columnAt(at.x()));
        } else if (mouse->button() == Qt::RightButton) {
            // The row goes: the view must not see the release on it.
            removeQueryFile(item);
            return true;
        }
    }
    return VxWorkingDialog::eventFilter(watched, event);
}

void VxQueryRepositoryDialog::setRepositoryFileDialog()
{
    const QString chosen = vx_dialogs().openFileName(
        this, QStringLiteral("open file dialog"), QStringLiteral("Select Repository"),
        repositoryDirectory + "*.vxr", QStringLiteral("Repository (*.vxr)"), false);
    if (chosen.isEmpty())
        return;
    repositoryDirectory = VxBasePaths::PathNamePart(chosen);
    repositoryEdit->setText(chosen);
}

void VxQueryRepositoryDialog::setRepositoryFile(QString)
{
    repositoryFile = repositoryEdit->text();
}

void VxQueryRepositoryDialog::setResultFileDialog()
{
    const QString chosen = vx_dialogs().saveFileName(
        this, QStringLiteral("Query Result file dialog"), QStringLiteral("Set Query Result File"),
        repositoryDirectory + "*.vxq", QStringLiteral("Query File(*.vxq)"), false);
    if (chosen.isEmpty())
        return;
    const QString name = vx_form::withEnding(chosen, QStringLiteral(".vxq"));
    repositoryDirectory = VxBasePaths::PathNamePart(name);
    resultEdit->setText(name);
}

void VxQueryRepositoryDialog::setResultFile(QString qstFile)
{
    resultFile = qstFile;
}

void VxQueryRepositoryDialog::setDestinationPathDialog()
{
    vx_form::chooseDirectory(this, destinationEdit, QStringLiteral("Destination Path"),
                             QStringLiteral("Destination Path"), repositoryDirectory);
}

void VxQueryRepositoryDialog::setDestinationPath()
{
    destinationPath = destinationEdit->text();
}

void VxQueryRepositoryDialog::setUpdateFileDialog()
{
    const QString chosen = vx_dialogs().openFileName(
        this, QStringLiteral("Select Update rule"), QStringLiteral("Select Update rule"),
        updateRule, QStringLiteral("Update (*.rule)"), false);
    if (!chosen.isEmpty())
        updateEdit->setText(chosen);
}

void VxQueryRepositoryDialog::setUpdateFile()
{
    updateRule = updateEdit->text();
}

void VxQueryRepositoryDialog::setQueryFileDialog()
{
    const QString chosen = vx_dialogs().openFileName(
        this, QStringLiteral("Select Query rule"), QStringLiteral("Select Query rule"),
        queryDirectory + "*.rule", QStringLiteral("Query (*.rule)"), false);
    if (chosen.isEmpty())
        return;
    queryDirectory = VxBasePaths::PathNamePart(chosen);
    queryEdit->setText(chosen);
    addQueryFile();
}

void VxQueryRepositoryDialog::setQueryFile()
{
    queryFile = queryEdit->text();
}

int VxQueryRepositoryDialog::rowHeight(QTreeWidgetItem* item) const
{
    return queryList->sizeHintForRow(queryList->indexOfTopLevelItem(item));
}

void VxQueryRepositoryDialog::addQueryFile()
{
    if (queryEdit->text().isEmpty())
        return;
    addRows({{queryEdit->text(), POLARITY_BRIGHT}});
}

void VxQueryRepositoryDialog::addRows(const std::vector<std::pair<QString, int>>& queries)
{
    if (queries.empty())
        return;
    QList<QTreeWidgetItem*> rows;
    rows.reserve(static_cast<int>(queries.size()));
    for (const auto& [rule, mode] : queries)
        rows.append(new QTreeWidgetItem(
            {mode == POLARITY_DARK ? QStringLiteral("Dark") : QStringLiteral("Bright"), rule}));
    queryList->addTopLevelItems(rows);
    listHeight += rowHeight(rows.front()) * rows.size();
    fitListHeight();
    editQueryFile(rows.back());
}

void VxQueryRepositoryDialog::fitListHeight()
{
    if (queryList->topLevelItemCount() <= kRowsShown)
        queryList->setFixedHeight(listHeight);
    else
        queryList->setFixedHeight(kInitialListHeight +
                                  kRowsShown * rowHeight(queryList->topLevelItem(0)));
}

void VxQueryRepositoryDialog::editQueryFile(QTreeWidgetItem* item)
{
    if (item == nullptr)
        return;
    ruleLabel->setText(item->text(kRuleColumn));
    loadQueryFile();
}

void VxQueryRepositoryDialog::loadQueryFile()
{
    QString text;
    vx_read_text_file(ruleLabel->text(), &text);
    ruleEditor->setPlainText(text);
}

void VxQueryRepositoryDialog::contextQueryFile(QTreeWidgetItem* item, const QPoint&, int column)
{
    if (item == nullptr)
        return;
    if (column == kModeColumn)
        item->setText(kModeColumn, item->text(kModeColumn) == QLatin1String("Bright")
                                       ? QStringLiteral("Dark")
                                       : QStringLiteral("Bright"));
    editQueryFile(item);
}

void VxQueryRepositoryDialog::removeQueryFile(QTreeWidgetItem* item)
{
    if (item == nullptr)
        return;
    const int row = queryList->indexOfTopLevelItem(item);
    listHeight -= rowHeight(item);
    delete item;
    fitListHeight();
    QTreeWidgetItem* next = queryList->topLevelItem(row > 0 ? row - 1 : 0);
    if (next != nullptr) {
        editQueryFile(next);
        return;
    }
    ruleLabel->clear();
    ruleEditor->clear();
}

void VxQueryRepositoryDialog::SaveRule()
{
    const QString chosen = vx_dialogs().saveFileName(
        this, QStringLiteral("Store Query Rule"), QStringLiteral("Query Rule Save Dialog"),
        ruleLabel->text(), QStringLiteral("Query (*.rule)"), false);
    if (chosen.isEmpty())
        return;
    const QString name = vx_form::withEnding(chosen, QStringLiteral(".rule"));
    queryDirectory = VxBasePaths::PathNamePart(name);
    if (!vx_save_text_file(name, vx_editor_text(*ruleEditor)) || name == ruleLabel->text())
        return;
    queryEdit->setText(name);
    ruleLabel->setText(name);
    addQueryFile();
}

void VxQueryRepositoryDialog::setMode()
{
    queryMode = queryMode == POLARITY_BRIGHT ? POLARITY_DARK : POLARITY_BRIGHT;
}

void VxQueryRepositoryDialog::setWriteMode()
{
    writeTable = writeTable == 1 ? 0 : 1;
    writeModeButton->setText(writeTable == 1 ? QStringLiteral("Write Table")
                                             : QStringLiteral("No Table"));
}
