// VxClassificationView: the ".vxq" file and the exports of the labels.
#include <QDialog>
#include <QFile>
#include <utility>

#include "gui/foundation/dialog_service.h"
#include "gui/foundation/forms/vx_attribute_selection.h"
#include "gui/foundation/vx_message_popup.h"
#include "gui/repository/detail/browser_parts.h"
#include "gui/repository/detail/repository_images.h"
#include "gui/repository/qtvx_labeled_repository.h"
#include "gui/repository/vx_class_export_dialog.h"
#include "gui/repository/vx_classification_view.h"
#include "gui/repository/vx_rurevudu_dialog.h"
#include "imagecore/report.h"

namespace {

QByteArray encoded(const QString& name)
{
    return QFile::encodeName(name);
}

// A save dialog whose object name is its caption.
QString save_name(QWidget* parent, const QString& caption, const QString& start,
                  const QString& filter)
{
    return vx_dialogs().saveFileName(parent, caption, caption, start, filter, false);
}

// The file and the class chosen in a class export dialog; an empty file
// when it was left without one.
std::pair<QString, int> class_export(VxLabeledRepository& labeled, QWidget* parent,
                                     const QString& caption, const QString& filter,
                                     const QString& ending, const char* name)
{
    VxClassExportDialog dialog(labeled.getNumberOfClasses(), labeled.getClassNames(), caption,
                               filter, ending, parent, name, 0);
    if (vx_dialogs().exec(dialog) != QDialog::Accepted)
        return {QString(), 0};
    return {dialog.getFileName(), dialog.getClass()};
}

}  // namespace

bool VxClassificationView::writeLabels(const QString& file)
{
    if (labeled->write(encoded(file).constData()) == 1)
        return true;
    vx_write_error(file);
    return false;
}

void VxClassificationView::WriteClassification()
{
    const QString file =
        save_name(this, QStringLiteral("Store Repository"),
                  vx_browser::repositoryNameWith(*labeled, QStringLiteral(".Classified.vxq")),
                  QStringLiteral("Labeled Repository (*.vxq)"));
    if (!file.isEmpty() && writeLabels(file))
        autosaveName = file;
}

QString VxClassificationView::chooseUpdateRule()
{
    const QString caption = QStringLiteral("Select Update rule");
    return vx_dialogs().openFileName(this, caption, caption, QFile::decodeName(updateRule.c_str()),
                                     QStringLiteral("Update (*.rule)"), false);
}

void VxClassificationView::exportRegionsTable()
{
    const QString rule = chooseUpdateRule();
    if (!rule.isEmpty())
        vx_browser::exportClassifiedTable(
            this, *labeled,
            vx_browser::repositoryNameWith(*labeled, QStringLiteral(".Classified.csv")), rule,
            mode);
}

void VxClassificationView::presentAttributeSelection(const char* rule)
{
    if (attributeSelection && selectionRule == rule) {
        vx_report("Show Existing Attribureselection\n");
        attributeSelection->exec();
        return;
    }
    vx_report("New Attribureselection Last Update %s New Update %s Selection %p\n",
              selectionRule.c_str(), rule, static_cast<void*>(attributeSelection.get()));
    attributeSelection.reset();
    selectionRule = rule;
    const int count = labeled->initAttributes(rule);
    attributeSelection = std::make_unique<VxAttributeSelection>(
        count, labeled->getAttributes(), QStringLiteral("Write RUREVUDU "), nullptr,
        "Atribute Selection for ZAZORIR Dialog", 0);
    attributeSelection->exec();
}

void VxClassificationView::generateRUREVUDUData()
{
    VxRurevuduDialog dialog(labeled->getNumberOfClasses(), labeled->getClassNames(), nullptr,
                            "RUREVUDU Init Dialog", 0);
    connect(&dialog, &VxRurevuduDialog::writeRUREVUDU, this,
            &VxClassificationView::writeRUREVUDUData, Qt::DirectConnection);
    vx_dialogs().exec(dialog);
}

void VxClassificationView::writeRUREVUDUData(const char* pcImagefilelist,
                                             const char* pcTrainingPath, const char* pcUpdaterule,
                                             int iSelectedClass, int iSelectionType)
{
    for (const char* text : {pcImagefilelist, pcTrainingPath, pcUpdaterule})
        if (text == nullptr || *text == '\0') {
            vx_message(QStringLiteral("RUREVUDU Data"),
                       QStringLiteral("Please name the image list, the data path and the "
                                      "update rule"));
            return;
        }
    presentAttributeSelection(pcUpdaterule);
    int count = 0;
    const int* attributes = attributeSelection->getSelection(&count);
    if (iSelectionType == 1)
        labeled->selectLabeledImages(iSelectedClass);
    else if (iSelectionType == 2)
        labeled->selectUnlabeledImages(iSelectedClass);
    else
        labeled->selectAllImages();
    if (labeled->rurevudu_training(attributes, count, pcTrainingPath, pcImagefilelist, pcUpdaterule,
                                   iSelectedClass) == 0)
        vx_write_error(QFile::decodeName(pcImagefilelist));
}

void VxClassificationView::c4_5_training()
{
    const QString rule = chooseUpdateRule();
    if (rule.isEmpty())
        return;
    const QString stem = save_name(this, QStringLiteral("File Stem for C4.5"), QString(),
                                   QStringLiteral("Filestem"));
    if (stem.isEmpty())
        return;
    const QByteArray ruleName = encoded(rule);
    presentAttributeSelection(ruleName.constData());
    int count = 0;
    const int* attributes = attributeSelection->getSelection(&count);
    if (labeled->c4_5_training(attributes, count, mode, encoded(stem).constData(),
                               ruleName.constData()) == 0)
        vx_write_error(stem);
}

void VxClassificationView::exportResultRegionsByClass()
{
    const auto [stem, cls] =
        class_export(*labeled, this, QStringLiteral("Filestem for Export of Regions"),
                     QStringLiteral("FileStem"), QString(), "Export Result Regions");
    if (stem.isEmpty())
        return;
    labeled->writeResultRegions(encoded(stem).constData(), cls);
    repository_images::show_write_failures(labeled->takeWriteFailures());
}

void VxClassificationView::exportResultRegions()
{
    const QString stem = save_name(this, QStringLiteral("Filestem for Export of Regions"),
                                   QString(), QStringLiteral("Filestem"));
    if (stem.isEmpty())
        return;
    labeled->writeResultRegions(encoded(stem).constData());
    repository_images::show_write_failures(labeled->takeWriteFailures());
}

void VxClassificationView::exportISOSurfaceVolume()
{
    const auto [file, cls] =
        class_export(*labeled, this, QStringLiteral("Filename for Isosurf Volume"),
                     QStringLiteral("IsoVolume (*.isovol)"), QStringLiteral(".isovol"),
                     "Export Volume for IsoSurf");
    if (!file.isEmpty() && labeled->writeIsoSurface(encoded(file).constData(), cls) == 0)
        vx_write_error(file);
}
