// VxDrawRegion: the update rule and the files of a sketch (picture, table
// and rule).
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <cmath>
#include <cstring>
#include <string>

#include "automation/tables/vxtable.h"
#include "gui/analysis/vx_draw_region.h"
#include "gui/foundation/dialog_service.h"
#include "gui/foundation/vx_message_popup.h"
#include "gui/foundation/forms/form_parts.h"
#include "gui/foundation/forms/vx_attribute_selection.h"
#include "gui/foundation/image_loading.h"
#include "gui/foundation/image_writing.h"
#include "gui/foundation/qimage_frame.h"
#include "gui/foundation/text_files.h"
#include "imagecore/text/cnumbers.h"

namespace {

// The columns the table carries for its own bookkeeping: the rule language
// knows no attribute of these names.
bool bookkeeping_column(const char* name)
{
    for (const char* own : {"Classlabel", "RegionID", "TFatherID", "TSonID", "TNumAttr"})
        if (std::strcmp(name, own) == 0)
            return true;
    return false;
}

// The update rule's lines up to the first empty one or the first holding
// "RULES:", each with its line break.
std::string declarations(const QByteArray& rule)
{
    std::string copied;
    for (const QByteArray& line : rule.split('\n')) {
        if (line.isEmpty() || line.contains("RULES:"))
            break;
        copied.append(line.constData(), static_cast<size_t>(line.size())).push_back('\n');
    }
    return copied;
}

}  // namespace

// ---- the update rule ----

void VxDrawRegion::setUpdateFileDialog()
{
    const QString caption = QStringLiteral("Select Update rule");
    const QString file = vx_dialogs().openFileName(this, caption, caption, updateRule,
                                                   QStringLiteral("Update (*.rule)"), false);
    if (!file.isEmpty())
        updateRuleField->setText(file);
}

void VxDrawRegion::setUpdateFile(QString s)
{
    updateRule = s;
    attributeSelection.reset();
}

// ---- helpers ----

QString VxDrawRegion::askSaveName(const QString& start, const QString& filter,
                                  const QString& caption, const QString& ending)
{
    return vx_form::withEnding(
        vx_dialogs().saveFileName(this, caption, caption, start, filter, false), ending);
}

bool VxDrawRegion::attributesReady()
{
    if (table && attributeSelection)
        return true;
    vx_message(QStringLiteral("No Attributes"),
               QStringLiteral("Please compute the region attributes first (\"Attributes\")"));
    return false;
}

bool VxDrawRegion::writeSketch(const QString& file)
{
    const image_handle plain = plainLabels();
    QImage picture(plain->width, plain->height, QImage::Format_RGB32);
    for (int y = 0; y < plain->height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < plain->width; ++x)
            row[x] = 0xFF000000u | static_cast<QRgb>(plain->pixels[y * plain->width + x]);
    }
    return vx_write_image(picture, file, QStringLiteral("PNG"), this);
}

bool VxDrawRegion::writeTable(const QString& file)
{
    const std::vector<int> selected = attributeSelection->getSelection();
    const std::vector<unsigned> columns(selected.begin(), selected.end());
    if (table->writeCSV(QFile::encodeName(file).constData(), static_cast<unsigned>(columns.size()),
                        columns.data()))
        return true;
    vx_write_error(file);
    return false;
}

bool VxDrawRegion::writeRule(int count, const int* columns)
{
    if (!table)
        return false;
    QString rule;
    if (!vx_read_text_file(updateRule, &rule)) {
        vx_message(QStringLiteral("Could not read update rule"), "Unable to open\n" + updateRule);
        return false;
    }

    // 1. The update rule's declarations, then a top-down interval block.
    std::string text = declarations(rule.toLatin1()) + "RULES:\nTD:\nNNIV:\n0.0\n";

    // 2. One interval per ticked number column: its range over the regions,
    //    widened by the tolerance on each side.
    for (int k = 0; k < count; ++k) {
        const char* name = table->getColumnName(columns[k]);
        double low = 0.0;
        double high = 0.0;
        // Text columns have no range; "nan" or "inf" would not parse.
        if (name == nullptr || bookkeeping_column(name) ||
            !table->getMinMax(columns[k], &low, &high) || !std::isfinite(low) ||
            !std::isfinite(high))
            continue;
        // An interval of zero width is infinitely far from every other value:
        // a column that is 0 in every sketched region would reject the rest.
        if (low == 0.0 && high == 0.0)
            continue;
        low -= tolerance * std::fabs(low);
        high += tolerance * std::fabs(high);
        text +=
            std::string(name) + "(" + vx_fixed(low).text + ", " + vx_fixed(high).text + ", 0.0);\n";
    }
    text += "\n#NNIV\n#RULES\n";

    if (!vx_write_text_file(ruleFile, QByteArray::fromStdString(text))) {
        vx_write_error(ruleFile);
        return false;
    }
    emit validSketchQueryRule(ruleFile, updateRule);
    return true;
}

// ---- exports ----

void VxDrawRegion::saveImage()
{
    const QString caption = QStringLiteral("Set Save File");
    QString file =
        vx_dialogs().saveFileName(this, caption, caption, exportStem + ".and.overlay.png",
                                  QStringLiteral("(PNG Image) *.png"), false);
    if (file.isEmpty())
        return;
    if (!file.endsWith(QStringLiteral(".png")) && !file.endsWith(QStringLiteral(".PNG")))
        file += ".png";
    display->write_image(QFile::encodeName(file).constData(), "PNG");
}

void VxDrawRegion::exportSketch()
{
    sketchImageFile =
        askSaveName(exportStem + ".sketch.png", QStringLiteral("Sketch Images (*.sketch.png)"),
                    QStringLiteral("Set Table Savefile"), QStringLiteral(".png"));
    if (!sketchImageFile.isEmpty() && writeSketch(sketchImageFile))
        emit validSketchImage(sketchImageFile);
}

void VxDrawRegion::exportTable()
{
    if (!attributesReady())
        return;
    tableFile =
        askSaveName(exportStem + ".sketch.csv", QStringLiteral("Sketch Tables (*.sketch.csv)"),
                    QStringLiteral("Set Table Savefile"), QStringLiteral(".csv"));
    if (!tableFile.isEmpty() && writeTable(tableFile))
        emit validSketchTable(tableFile);
}

void VxDrawRegion::exportRule()
{
    if (!attributesReady())
        return;
    ruleFile =
        askSaveName(exportStem + ".sketch.rule", QStringLiteral("Sketch Images (*.sketch.rule)"),
                    QStringLiteral("Set Table Savefile"), QStringLiteral(".rule"));
    if (ruleFile.isEmpty())
        return;
    int count = 0;
    int* columns = attributeSelection->getSelection(&count);
    exportRule(count, columns);
}

void VxDrawRegion::exportRule(int count, int* columns)
{
    writeRule(count, columns);
}

void VxDrawRegion::exportAll()
{
    if (!attributesReady())
        return;
    const QString stem =
        askSaveName(exportStem, QStringLiteral("(Stem for sketch.csv, sketch.png)"),
                    QStringLiteral("Set Save File"), QString());
    if (stem.isEmpty())
        return;
    sketchImageFile = stem + ".sketch.png";
    tableFile = stem + ".sketch.csv";
    ruleFile = stem + ".sketch.rule";
    // Each file only after the one before it was written.
    if (!writeSketch(sketchImageFile))
        return;
    emit validSketchImage(sketchImageFile);
    int count = 0;
    const int* columns = attributeSelection->getSelection(&count);
    if (writeRule(count, columns) && writeTable(tableFile))
        emit validSketchTable(tableFile);
}

// ---- loading ----

void VxDrawRegion::loadSketch()
{
    const QString caption = QStringLiteral("Choose a Sketch to open");
    const QString file = vx_dialogs().openFileName(
        this, caption, caption, QString(), QStringLiteral("Sketches (*.sketch.png)"), false);
    if (file.isEmpty())
        return;
    const QString refused = QStringLiteral("Sketch not loaded");
    QString failure;
    const QImage picture = vx_read_platform_picture(file, &failure);
    if (picture.isNull()) {
        vx_message(refused, "Unable to read\n" + file + "\n" + failure);
        return;
    }
    if (picture.width() != labels->width || picture.height() != labels->height) {
        vx_message(refused, file + QString::asprintf("\nis no picture of %d x %d", labels->width,
                                                     labels->height));
        return;
    }
    // Labels sit in the blue channel: a word above 254 is another picture.
    std::vector<int> words(static_cast<size_t>(labels->width) * labels->height);
    vx_copy_picture_words(picture, words.data(), false);
    for (const int word : words)
        if (word > 254) {
            vx_message(refused, file + "\nholds values other than labels 0..254");
            return;
        }
    for (size_t p = 0; p < words.size(); ++p)
        labels->pixels[p] = words[p] > 0 ? words[p] + 256 : 0;
    updateEntireDisplay();
}
