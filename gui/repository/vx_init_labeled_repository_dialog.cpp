#include "gui/repository/vx_init_labeled_repository_dialog.h"

#include <QDialog>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <vector>

#include "filter/polarity.h"
#include "gui/foundation/dialog_service.h"
#include "gui/foundation/file_checks.h"
#include "gui/foundation/vx_message_popup.h"
#include "gui/foundation/forms/form_parts.h"
#include "gui/foundation/forms/form_widgets.h"
#include "gui/foundation/vx_base_paths.h"
#include "gui/foundation/window_flags.h"
#include "gui/repository/qtvx_labeled_repository.h"
#include "gui/repository/vx_classification_view.h"
#include "imagecore/report.h"

namespace {

// Columns of the class list.
constexpr int kNameColumn = 1;
constexpr int kModeColumn = 2;

QString mode_text(int mode)
{
    return mode == POLARITY_BRIGHT ? QStringLiteral("Bright") : QStringLiteral("Dark");
}

}  // namespace

VxInitLabeledRepositoryDialog::VxInitLabeledRepositoryDialog(VxBasePaths* paths, QWidget* parent,
                                                             const char* name, int flags)
    : VxBaseDialog(paths, parent, name, flags | VX_DELETE_ON_CLOSE),
      labeledRepositoryPath(paths->WorkingDir()),
      updateRule(QFile::encodeName(paths->UpdateRule()).toStdString())
{
    setWindowTitle(QStringLiteral("Init Labeled Repository"));
    vx_report("CurrentDir %s\n", QFile::encodeName(labeledRepositoryPath).constData());
    connect(paths, &VxBasePaths::changedUpdateRule, this,
            qOverload<QString>(&VxInitLabeledRepositoryDialog::setUpdateRule));
    makeForm();
}

VxInitLabeledRepositoryDialog::~VxInitLabeledRepositoryDialog() = default;

void VxInitLabeledRepositoryDialog::makeForm()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    const vx_form::FileRow repository =
        vx_form::addFileRow(this, layout, QStringLiteral("Repository"),
                            QStringLiteral("Repository"), QStringLiteral("Repository"));
    repositoryEdit = repository.edit;
    connect(repository.button, &QPushButton::clicked, this,
            &VxInitLabeledRepositoryDialog::setRepositoryDialog);
    connect(repositoryEdit, &QLineEdit::returnPressed, this,
            &VxInitLabeledRepositoryDialog::loadRepository);
    connect(repositoryEdit, &QLineEdit::textChanged, this,
            &VxInitLabeledRepositoryDialog::setRepository);

    const vx_form::FileRow path = vx_form::addFileRow(
        this, layout, QStringLiteral("Repository Path"), QStringLiteral("Repository Path"),
        QStringLiteral("Repository Path"), labeledRepositoryPath);
    pathEdit = path.edit;
    connect(path.button, &QPushButton::clicked, this,
            &VxInitLabeledRepositoryDialog::setLabeledRepositoryPathDialog);
    connect(pathEdit, &QLineEdit::textChanged, this,
            &VxInitLabeledRepositoryDialog::setLabeledRepositoryPath);
    connect(pathEdit, &QLineEdit::returnPressed, this,
            &VxInitLabeledRepositoryDialog::loadRepository);

    auto* classesRow = new QHBoxLayout;
    classesRow->addWidget(new QLabel(QStringLiteral("Classes"), this));
    classesEdit = vx_form::numberField(QStringLiteral("2"), 2, 1000000, this);
    classesEdit->setObjectName(QStringLiteral("Classes"));
    connect(classesEdit, &QLineEdit::textChanged, this, &VxInitLabeledRepositoryDialog::setClasses);
    classesRow->addWidget(classesEdit);
    layout->addLayout(classesRow);

    modeButton = vx_form::fixedButton("Bright Mode", this);
    modeButton->setObjectName(QStringLiteral("Mode Selector"));
    connect(modeButton, &QPushButton::clicked, this, &VxInitLabeledRepositoryDialog::switchMode);
    layout->addWidget(modeButton);
    QPushButton* done = vx_form::fixedButton("Done", this);
    connect(done, &QPushButton::clicked, this, &VxInitLabeledRepositoryDialog::Done);
    layout->addWidget(done);
    layout->addStretch();
}

void VxInitLabeledRepositoryDialog::setUpdateRule(const char* rule)
{
    updateRule = rule != nullptr ? rule : "";
}

void VxInitLabeledRepositoryDialog::setUpdateRule(QString stRuleFile)
{
    updateRule = QFile::encodeName(stRuleFile).toStdString();
}

void VxInitLabeledRepositoryDialog::setLabeledRepositoryPath(QString qstPath)
{
    labeledRepositoryPath = qstPath;
}

void VxInitLabeledRepositoryDialog::setLabeledRepositoryPathDialog()
{
    vx_form::chooseDirectory(this, pathEdit, QStringLiteral("Labeled Repository Path"),
                             QStringLiteral("Set Labeled Repository Path"), labeledRepositoryPath);
}

void VxInitLabeledRepositoryDialog::setRepository(QString qstRepository)
{
    repositoryFile = qstRepository;
}

void VxInitLabeledRepositoryDialog::setRepositoryDialog()
{
    const QString caption = QStringLiteral("Load Repository");
    const QString file =
        vx_dialogs().openFileName(this, caption, caption, paths->WorkingDir() + "/",
                                  QStringLiteral("Repositories (*.vxq *.vxr)"), false);
    if (file.isEmpty())
        return;
    repositoryEdit->setText(file);
    loadRepository();
}

void VxInitLabeledRepositoryDialog::setClasses(QString qstClasses)
{
    const int classes = qstClasses.toInt();
    if (!classesEditable && classes != classCount)
        classesEdit->setText(QString::number(classCount));
    else
        classCount = classes;
}

void VxInitLabeledRepositoryDialog::switchMode()
{
    if (!classesEditable)
        return;
    mode = mode == POLARITY_BRIGHT ? POLARITY_DARK : POLARITY_BRIGHT;
    modeButton->setText(mode == POLARITY_BRIGHT ? QStringLiteral("Bright Mode")
                                                : QStringLiteral("Dark Mode"));
}

void VxInitLabeledRepositoryDialog::loadRepository()
{
    if (!repositoryFile.endsWith(QLatin1String(".vxq"))) {
        classesEditable = true;
        switchMode();
        return;
    }
    const QByteArray file = QFile::encodeName(repositoryFile);
    std::unique_ptr<QTVxLabeledRepository> loaded;
    if (vx_readable(file.constData()))
        loaded = std::make_unique<QTVxLabeledRepository>(file.constData());
    if (!loaded || !loaded->loaded()) {
        vx_message(QStringLiteral("Could not load labeled repository"),
                   "Unable to read the labeled repository\n" + repositoryFile);
        return;
    }
    labeled = std::move(loaded);
    classesEditable = false;
    classCount = labeled->getNumberOfClasses();
    pathEdit->setText(QFile::decodeName(labeled->getResultPath()));
    classesEdit->setText(QString::number(classCount));
    modeButton->setText(QStringLiteral("Modes Loaded"));
}

bool VxInitLabeledRepositoryDialog::buildLabeledRepository()
{
    // One class is enough: class 0 comes with it.
    const int classes =
        vx_form::numberInRange(classesEdit->text(), 1, VxLabeledRepository::MOST_CLASSES, 0);
    if (classes == 0) {
        vx_message(QStringLiteral("Invalid number of classes"),
                   QStringLiteral("Please give between 1 and %1 classes")
                       .arg(VxLabeledRepository::MOST_CLASSES));
        return false;
    }
    const QByteArray file = QFile::encodeName(repositoryFile);
    if (!vx_readable(file.constData())) {
        vx_message(QStringLiteral("Could not load repository"),
                   "Unable to read the repository\n" + repositoryFile);
        return false;
    }
    // Class 0, "Irrelevant", comes first.
    const std::vector<int> modes(static_cast<size_t>(classes + 1), mode);
    auto built = std::make_unique<QTVxLabeledRepository>(
        classes + 1, modes.data(), QFile::encodeName(labeledRepositoryPath).constData(),
        file.constData());
    // A file that opens may still be no repository: only its reader knows.
    VxRepository* read = built->getRepository();
    if (read == nullptr || !read->isRead()) {
        vx_message(QStringLiteral("Could not load repository"),
                   "Unable to read the repository\n" + repositoryFile);
        return false;
    }
    if (read->NumberOfImages() == 0) {
        vx_message(QStringLiteral("Could not load repository"),
                   "No images in the repository\n" + repositoryFile);
        return false;
    }
    classCount = classes + 1;
    labeled = std::move(built);
    classesEditable = true;
    return true;
}

void VxInitLabeledRepositoryDialog::Done()
{
    if (repositoryFile.endsWith(QLatin1String(".vxr")) && !buildLabeledRepository())
        return;
    if (labeled) {
        askClassNames();
        auto* view = new VxClassificationView(labeled.release(), nullptr, "Classification View");
        view->setUpdateRule(updateRule.c_str());
        view->show();
    } else {
        vx_report("No repository to label: %s\n", QFile::encodeName(repositoryFile).constData());
    }
    close();
}

void VxInitLabeledRepositoryDialog::askClassNames()
{
    QDialog dialog(this);
    dialog.setObjectName(QStringLiteral("Class Selection"));
    dialog.setWindowTitle("Class Names for: " + QFile::decodeName(labeled->RepositoryName()));
    auto* layout = new QVBoxLayout(&dialog);
    classList = new QTreeWidget(&dialog);
    classList->setObjectName(QStringLiteral("Class name Selection"));
    classList->setHeaderLabels(
        {QStringLiteral("Index"), QStringLiteral("Classname"), QStringLiteral("Mode")});
    classList->setRootIsDecorated(false);
    // Only ClassListEntrySelected starts an edit, and only of a name.
    classList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    const int count = labeled->getNumberOfClasses();
    for (int i = 0; i < count; ++i) {
        auto* row = new QTreeWidgetItem(
            classList, {QString::number(i), QString::fromLatin1(labeled->getClassName(i)),
                        mode_text(labeled->getMode(i))});
        row->setFlags(row->flags() | Qt::ItemIsEditable);
    }
    classList->viewport()->installEventFilter(this);
    layout->addWidget(classList);
    auto* done = new QPushButton(QStringLiteral("Done"), &dialog);
    done->setObjectName(QStringLiteral("Class name Selection Done"));
    connect(done, &QPushButton::clicked, &dialog, &QDialog::accept);
    layout->addWidget(done);
    vx_dialogs().exec(dialog);

    for (int i = 0; i < count; ++i) {
        const QTreeWidgetItem* row = classList->topLevelItem(i);
        labeled->setClassName(row->text(kNameColumn).toLatin1().constData(), i);
        if (row->text(kModeColumn) == mode_text(POLARITY_BRIGHT))
            labeled->setMode(i, POLARITY_BRIGHT);
        else if (row->text(kModeColumn) == mode_text(POLARITY_DARK))
            labeled->setMode(i, POLARITY_DARK);
    }
    classList = nullptr;
}

void VxInitLabeledRepositoryDialog::ClassListEntrySelected(int, QTreeWidgetItem* pqlvItem, QPoint,
                                                           int c)
{
    if (pqlvItem == nullptr)
        return;
    if (c == kNameColumn)
        pqlvItem->treeWidget()->editItem(pqlvItem, kNameColumn);
    else if (c == kModeColumn && classesEditable)
        pqlvItem->setText(kModeColumn, pqlvItem->text(kModeColumn) == mode_text(POLARITY_DARK)
                                           ? mode_text(POLARITY_BRIGHT)
                                           : mode_text(POLARITY_DARK));
}

bool VxInitLabeledRepositoryDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (classList != nullptr && watched == classList->viewport() &&
        event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint at = mouse->position().toPoint();
        ClassListEntrySelected(static_cast<int>(mouse->button()), classList->itemAt(at),
                               mouse->globalPosition().toPoint(), classList->columnAt(at.x()));
    }
    return VxBaseDialog::eventFilter(watched, event);
}
