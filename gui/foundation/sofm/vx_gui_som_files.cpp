// The trainer's ".som" files: saving the map, and loading a map with the
// table and columns it was trained on.
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>

#include "automation/sofm/som_file_head.h"
#include "automation/tables/vxtable.h"
#include "gui/foundation/dialog_service.h"
#include "gui/foundation/forms/form_parts.h"
#include "gui/foundation/sofm/vx_gui_som.h"
#include "gui/foundation/sofm/vxqtsofm.h"
#include "imagecore/report.h"

void VxGUISOM::writeSOMFile()
{
    if (!map)
        return;
    if (!map->write(QFile::encodeName(somFileName).constData(), table->FileName(),
                    selection.data()))
        popUp(QStringLiteral("SOM not saved"), "Could not write the SOM:\n" + somFileName);
}

void VxGUISOM::saveSOM()
{
    if (vx_form::chooseSaveName(this, saveNameEdit, QStringLiteral("Save Resulting SOM"),
                                QStringLiteral("Save Resulting SOM"), QStringLiteral("./"),
                                QStringLiteral("(SOM Table) *.som"), QStringLiteral(".som")))
        writeSOMFile();
}

void VxGUISOM::loadSOM()
{
    const QString chosen = vx_dialogs().openFileName(
        this, QStringLiteral("Open SOM dialog"), QStringLiteral("Select SOM"), QStringLiteral("./"),
        QStringLiteral("(SOM Table) *.som"), false);
    if (chosen.isEmpty())
        return;
    loadNameEdit->setText(chosen);
    loadSOMFile();
}

void VxGUISOM::loadSOMFile()
{
    const QString file = somFileName;
    auto refuse = [&](const QString& why) {
        popUp(QStringLiteral("SOM not loaded"), "Could not load the SOM:\n" + file + "\n" + why);
    };

    // 1.-3. The head: the table and the columns the map was trained on.
    som_file_head head;
    std::string why;
    if (!read_som_file_head(QFile::encodeName(file).constData(), head, why))
        return refuse(QString::fromStdString(why));
    vx_report("File From %s\nAt %s\n", head.date.c_str(), head.time.c_str());
    vx_report("Loading Table %s\n", head.table.c_str());

    // 4. The table it names when that is a ".csv" file, else the current one.
    std::unique_ptr<VxTable> named;
    const QString tableFile = QFile::decodeName(head.table.c_str());
    if (tableFile.endsWith(QLatin1String(".csv"))) {
        if (!QFile(tableFile).open(QIODevice::ReadOnly))
            return refuse("Its table cannot be read: " + tableFile);
        named = std::make_unique<VxTable>(head.table.c_str(), ',');
    }
    vx_report("Done ");
    VxTable* source = named ? named.get() : table.get();
    if (source == nullptr)
        return refuse(QStringLiteral("It names no table (.csv)."));

    // 5. The vectors of the map's columns.
    for (unsigned column : head.columns)
        if (column >= static_cast<unsigned>(source->getColumns()))
            return refuse(QStringLiteral("Its table has no column %1.").arg(column));
    vector_array_handle inputs(source->extractVArray(static_cast<unsigned>(head.columns.size()),
                                                     head.columns.data(), "Class"));

    // 6. The map; it replaces table, selection and map once it could be read.
    auto loaded =
        std::make_unique<vxqtsofm>(display, QFile::encodeName(file).constData(), inputs.get());
    if (loaded->sofm()->units == 0)
        return refuse(QStringLiteral("It does not fit its table."));
    map = std::move(loaded);
    vectors = std::move(inputs);
    selection = std::move(head.columns);
    if (named)
        table = std::move(named);
    const sofm_params* p = map->sofm();
    mapWidth = p->width;
    mapHeight = p->height;
    normalization = p->normalization;
    maxSteps = p->max_steps;
    learnRate = p->learn_rate;
    learnScope = p->learn_scope;
    function = p->function;
    enlargeSmallMap();
    // The column list, the codes and the step line follow the map.
    if (columnList)
        initAttributeSelection();
    if (functionGroup != nullptr) {
        showCodes();
        stepLine->setText(QStringLiteral("Step %1 of %2").arg(p->step).arg(p->max_steps));
    }
    update();
}
