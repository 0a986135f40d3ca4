// vx_analyse_main_dialog: the sketch tools, whose exported rules become the
// object rules.
#include <QFile>

#include "filter/polarity.h"
#include "gui/analysis/vx_analyse_control.h"
#include "gui/analysis/vx_analyse_main_dialog.h"
#include "gui/analysis/vx_draw_region.h"
#include "gui/foundation/vx_edit_dialog.h"
#include "imagecore/handles.h"

void vx_analyse_main_dialog::openSketch(bool bright)
{
    std::unique_ptr<VxDrawRegion>& tool = bright ? brightSketch : darkSketch;
    // 1. Made once; closing it only hides it.
    if (!tool) {
        tool = std::make_unique<VxDrawRegion>(
            paths, control->image(), nullptr,
            bright ? "Draw Bright Region from Main Dialog" : "Draw Dark Region  from Main Dialog",
            0);
        connect(tool.get(), &VxDrawRegion::validSketchQueryRule, this,
                bright ? &vx_analyse_main_dialog::UpdateBrightRuleNames
                       : &vx_analyse_main_dialog::UpdateDarkRuleNames);
        tool->setExportFileStem(QFile::decodeName(control->imagename()));
        tool->setUpdateMode(bright ? POLARITY_BRIGHT : POLARITY_DARK);
    }
    // 2. The active regions are the sketch.
    const image_handle regions(bright ? control->bright_regions_image()
                                      : control->dark_regions_image());
    tool->setSketch(regions.get());
    tool->show();
}

void vx_analyse_main_dialog::drawBrightRegionDialog()
{
    openSketch(true);
}

void vx_analyse_main_dialog::drawDarkRegionDialog()
{
    openSketch(false);
}

void vx_analyse_main_dialog::useSketchRule(VxEditDialog* editor, QString queryRule,
                                           const QString& updateRule)
{
    control->setUpdateRule(updateRule);
    // The editor announces the rule file, which the next query runs.
    editor->readText(queryRule);
}

void vx_analyse_main_dialog::UpdateDarkRuleNames(QString qstQueryRule, QString qstUpdateRule)
{
    useSketchRule(darkRuleEditor, qstQueryRule, qstUpdateRule);
}

void vx_analyse_main_dialog::UpdateBrightRuleNames(QString qstQueryRule, QString qstUpdateRule)
{
    useSketchRule(brightRuleEditor, qstQueryRule, qstUpdateRule);
}
