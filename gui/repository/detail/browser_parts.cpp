#include "gui/repository/detail/browser_parts.h"

#include <QBoxLayout>
#include <QFile>
#include <QMenuBar>
#include <cstring>
#include <memory>

#include "automation/repository/vx_labeled_repository.h"
#include "automation/repository/vx_repository.h"
#include "filter/lMMS_Part.h"
#include "gui/analysis/vx_analyse_control.h"
#include "gui/analysis/vx_analyse_main_dialog.h"
#include "gui/foundation/dialog_service.h"
#include "gui/foundation/file_checks.h"
#include "gui/foundation/vx_message_popup.h"

namespace vx_browser {

QMenuBar* addMenuBar(QWidget* browser, QBoxLayout* layout, const QString& name)
{
    auto* bar = new QMenuBar(browser);
    bar->setObjectName(name);
    layout->setMenuBar(bar);
    return bar;
}

QWidget* openAnalysis(VxBasePaths* paths, QWidget* parent, VxRepository& repository, int i,
                      const analysis_files& files)
{
    if (i < 0 || i >= repository.NumberOfImages())
        return nullptr;
    // Each file name accessor overwrites its own buffer: copies are kept.
    const QByteArray image = repository.ImageFilename(i);
    if (std::strcmp(repository.BrightTreeName(i), "-") == 0 ||
        std::strcmp(repository.DarkTreeName(i), "-") == 0) {
        vx_message(QStringLiteral("No region trees"),
                   "No bright and dark tree stored for\n" + QFile::decodeName(image));
        return nullptr;
    }
    const QByteArray brightTree = repository.BrightTreeFilename(i);
    const QByteArray darkTree = repository.DarkTreeFilename(i);
    auto control = std::make_unique<vx_analyse_control>(
        brightTree.constData(), darkTree.constData(), "Result", image.constData(),
        files.brightRule.constData(), files.darkRule.constData(), files.brightResults.constData(),
        files.darkResults.constData(), files.updateRule.constData(), "vx_analyse_control",
        MMS_REMOVE_NOISE, nullptr);
    if (!control->loaded()) {
        vx_message(QStringLiteral("Could not open image"), control->loadFailure());
        return nullptr;
    }
    auto* window = new vx_analyse_main_dialog(paths, control.release(), parent, "Analyse Image", 0);
    window->show();
    return window;
}

QString repositoryNameWith(const VxLabeledRepository& labeled, const QString& ending)
{
    QString name = QFile::decodeName(labeled.RepositoryName());
    if (name.endsWith(QLatin1String(".vxr")))
        name.chop(4);
    return name + ending;
}

void exportClassifiedTable(QWidget* parent, VxLabeledRepository& labeled, const QString& suggested,
                           const QString& updateRule, int mode)
{
    const QString caption = QStringLiteral("Export CSV Table File");
    const QString file = vx_dialogs().saveFileName(
        parent, caption, caption, suggested, QStringLiteral("Labeled Repository (*.csv)"), false);
    if (file.isEmpty())
        return;
    // The table's writer reports no failure.
    if (!vx_creatable(file)) {
        vx_write_error(file);
        return;
    }
    labeled.exportClassifiedTable(QFile::encodeName(file).constData(),
                                  QFile::encodeName(updateRule).constData(), mode);
}

}  // namespace vx_browser
