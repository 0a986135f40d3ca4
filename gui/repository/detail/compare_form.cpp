#include "gui/repository/detail/compare_form.h"

#include <QBoxLayout>
#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <algorithm>

#include "gui/foundation/forms/form_parts.h"
#include "gui/foundation/vx_base_paths.h"
#include "gui/foundation/vx_message_popup.h"
#include "gui/repository/detail/repository_images.h"

namespace vx_compare_form {

namespace {

// Images a pop-up names, so that it fits the screen.
constexpr int kListedImages = 12;

}  // namespace

QLineEdit* addTextRow(QWidget* form, QBoxLayout* layout, const QString& label,
                      const QString& editName)
{
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(label, form));
    auto* edit = new QLineEdit(form);
    edit->setObjectName(editName);
    row->addWidget(edit);
    layout->addLayout(row);
    return edit;
}

QProgressBar* addProgressBar(QWidget* form, QBoxLayout* layout)
{
    auto* bar = new QProgressBar(form);
    bar->setObjectName(QStringLiteral("Dark Progress Bar"));
    bar->setMaximum(1);
    layout->addWidget(bar);
    layout->addStretch();
    return bar;
}

void showProgress(QProgressBar* bar, int step, int total)
{
    bar->setMaximum(std::max(total, 1));
    bar->setValue(std::clamp(step, 0, bar->maximum()));
    bar->repaint();
    QCoreApplication::processEvents();
}

bool fieldsGiven(std::initializer_list<Field> fields)
{
    for (const Field& field : fields)
        if (field.text.isEmpty()) {
            vx_message(QStringLiteral("Nothing compared"),
                       QStringLiteral("The field \"%1\" is empty.").arg(QLatin1String(field.name)));
            return false;
        }
    return true;
}

void readError(const QString& file)
{
    vx_message(QStringLiteral("!!Read Error!!"), "Unable to read file\n" + file);
}

void reportComparison(const WriteFailures& failed,
                      const std::vector<std::string>& withoutGroundTruth, int total,
                      const QString& directory)
{
    if (!failed.empty()) {
        repository_images::show_write_failures(failed);
        return;
    }
    const int missing = static_cast<int>(withoutGroundTruth.size());
    if (missing == 0)
        return;
    QString text = QStringLiteral(
                       "No ground truth could be read in\n%1\nfor %2 of %3 images; "
                       "their rows in the table hold zeros:\n")
                       .arg(directory)
                       .arg(missing)
                       .arg(total);
    const int listed = std::min(missing, kListedImages);
    for (int i = 0; i < listed; ++i)
        text += "\n" + QFile::decodeName(withoutGroundTruth[i].c_str());
    if (missing > listed)
        text += QStringLiteral("\n... and %1 more, all named on the standard output.")
                    .arg(missing - listed);
    vx_message(QStringLiteral("No ground truth"), text);
}

void chooseOpenFile(VxBasePaths* paths, QLineEdit* edit, const QString& filter,
                    const QString& caption)
{
    const QString chosen = paths->getOpenFileNameWorkDir(filter, QString(), caption);
    if (!chosen.isEmpty())
        edit->setText(chosen);
}

void chooseResultTable(VxBasePaths* paths, QLineEdit* edit)
{
    const QString chosen =
        paths->getSaveFileNameWorkDir(QStringLiteral("(Result Table) *.csv"), QString(),
                                      QStringLiteral("Comparison Result Filename"));
    if (!chosen.isEmpty())
        edit->setText(chosen);
}

void chooseGroundTruthPath(QWidget* form, VxBasePaths* paths, QLineEdit* edit)
{
    vx_form::chooseDirectory(form, edit, QStringLiteral("Set Path to Ground Truth Images"),
                             QStringLiteral("Path to Ground Truth Images"), paths->WorkingDir());
}

void chooseResultPath(QWidget* form, VxBasePaths* paths, QLineEdit* pathEdit, QLineEdit* tagEdit)
{
    if (vx_form::chooseDirectory(form, pathEdit, QStringLiteral("Set Path to Result Images"),
                                 QStringLiteral("Path to Result Images"), paths->WorkingDir()))
        tagEdit->setText(QStringLiteral("cmpres"));
}

const char* textOrNull(const QByteArray& text)
{
    return text.isEmpty() ? nullptr : text.constData();
}

}  // namespace vx_compare_form
