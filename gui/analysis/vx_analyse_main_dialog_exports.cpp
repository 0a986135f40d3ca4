// vx_analyse_main_dialog: the result image, tables, region images, the
// project, the selection editors and the blob windows.
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "automation/projects/project_file.h"
#include "filter/polarity.h"
#include "gui/analysis/vx_analyse_control.h"
#include "gui/analysis/vx_analyse_main_dialog.h"
#include "gui/foundation/dialog_service.h"
#include "gui/foundation/qimage_frame.h"
#include "gui/foundation/screen_fit.h"
#include "gui/foundation/vx_base_paths.h"
#include "gui/foundation/vx_message_popup.h"
#include "imagecore/handles.h"
#include "imagecore/report.h"

namespace {

const QString warning = QStringLiteral("!Warning!");
const char image_filter[] = "Images (*.png)";

QByteArray file_bytes(const QString& name)
{
    return QFile::encodeName(name);
}

}  // namespace

QString vx_analyse_main_dialog::saveName(const char* filter, const QString& start,
                                         const char* caption)
{
    return paths->getSaveFileNameWorkDir(QString::fromLatin1(filter), start,
                                         QString::fromLatin1(caption));
}

// ---- the result image ----

void vx_analyse_main_dialog::write_result_image()
{
    // A failed write has said so.
    control->pdisplay()->write_image(QFile::decodeName(control->resultname()));
}

void vx_analyse_main_dialog::write_result_image_dialog()
{
    const QString file = saveName(image_filter, QFile::decodeName(control->resultname()),
                                  "Save Result Regions Image");
    if (file.isEmpty())
        return;
    set_write_result_image(file);
    write_result_image();
}

void vx_analyse_main_dialog::set_write_result_image(QString Input)
{
    control->resultname(file_bytes(Input).constData());
}

void vx_analyse_main_dialog::set_write_bright_objects_results(QString Input)
{
    control->brightresultname(file_bytes(Input).constData());
}

void vx_analyse_main_dialog::set_write_dark_objects_results(QString Input)
{
    control->darkresultname(file_bytes(Input).constData());
}

// ---- tables and region images ----

void vx_analyse_main_dialog::tableExport(bool bright)
{
    const QString polarity = bright ? QStringLiteral("Bright") : QStringLiteral("Dark");
    if ((bright ? control->activeBrightNodes() : control->activeDarkNodes()) == 0) {
        vx_message(warning, "\nExport " + polarity +
                                " Regions Table\n\nNo Regions Selected\nWont write anything");
        return;
    }
    const QString file =
        saveName("tables (*.csv)", imageStem() + (bright ? ".bright" : ".dark") + ".regions.csv",
                 bright ? "Save bright regions table" : "Save dark regions table");
    if (file.isEmpty())
        return;
    if (bright)
        control->write_bright_result_table(file);
    else
        control->write_dark_result_table(file);
}

void vx_analyse_main_dialog::write_bright_objects_table_dialog()
{
    tableExport(true);
}

void vx_analyse_main_dialog::write_dark_objects_table_dialog()
{
    tableExport(false);
}

void vx_analyse_main_dialog::regionsExport(const char* infix, const char* caption, bool warnEmpty,
                                           int outputLines, RegionsExport write)
{
    if (warnEmpty)
        vx_message(warning, QStringLiteral("You are about to write an empty images\n"
                                           "To abandon cancel the following save dialog"));
    const QString start = imageStem() + QString::fromLatin1(infix) + imageExtension();
    if (outputLines > 0)
        vx_report("Imagename %s\n", control->imagename());
    for (int line = 0; line < outputLines; ++line)
        vx_report("Output %s\n", file_bytes(start).constData());
    // A failed write has said so.
    const QString file = saveName(image_filter, start, caption);
    if (!file.isEmpty())
        (control.get()->*write)(file);
}

void vx_analyse_main_dialog::write_bright_regions()
{
    regionsExport(".bright.regions.", "Save Bright Regions Image",
                  control->activeBrightNodes() == 0, 1,
                  &vx_analyse_control::export_bright_result_regions);
}

void vx_analyse_main_dialog::write_dark_regions()
{
    regionsExport(".dark.regions.", "Save Dark Regions Image", control->activeDarkNodes() == 0, 0,
                  &vx_analyse_control::export_dark_result_regions);
}

void vx_analyse_main_dialog::write_dual_regions_dialog()
{
    regionsExport(".dual.regions.", "Save Bright Regions Image", false, 1,
                  &vx_analyse_control::export_dual_regions);
}

void vx_analyse_main_dialog::write_dual_closed_regions_dialog()
{
    regionsExport(".dual.closed.regions.", "Save Bright Regions Image", false, 2,
                  &vx_analyse_control::export_dual_closed_regions);
}

// ---- the project ----

void vx_analyse_main_dialog::ownTreeName(QLineEdit* field, const char* defaultName,
                                         const QString& name, const QString& project)
{
    if (field->text() == QString::fromLatin1(defaultName) ||
        !in_project_folder(file_bytes(field->text()).toStdString(),
                           file_bytes(project).toStdString()))
        field->setText(name);
}

void vx_analyse_main_dialog::writeProject()
{
    const QString caption = QStringLiteral("Set Project File");
    QString file = vx_dialogs().saveFileName(this, caption, caption, QStringLiteral("./*.vxp"),
                                             QStringLiteral("Corvella Projects (*.vxp)"), false);
    if (file.isEmpty())
        return;
    if (!file.endsWith(QLatin1String(".vxp")))
        file += QLatin1String(".vxp");
    // The project keeps its files beside it, named after it: trees under
    // the default names would be every project's of this working folder,
    // and trees outside the project's folder (a copied project's, or any a
    // project file named) another's. Its tables follow its trees.
    const QString stem = VxBasePaths::truncateFormatPart(file);
    ownTreeName(brightTreeField, vx_default_opening_tree, stem + ".bright.tree", file);
    ownTreeName(darkTreeField, vx_default_closing_tree, stem + ".dark.tree", file);
    // Names the controller refused are not written under the old ones.
    if (brightTreeField->text() != QFile::decodeName(control->openingtreename()) ||
        darkTreeField->text() != QFile::decodeName(control->closingtreename())) {
        vx_write_error(file);
        return;
    }
    // Rules under the default names are every analysis' of this working
    // folder: the editors' rules go beside the project.
    if (!ownRule(brightRuleEditor, vx_default_bright_rule, stem + ".bright.rule") ||
        !ownRule(darkRuleEditor, vx_default_dark_rule, stem + ".dark.rule"))
        return;
    control->writeProject(file_bytes(file).constData());
}

// ---- the selection ----

void vx_analyse_main_dialog::edit_bright_selection()
{
    control->edit_selection(POLARITY_BRIGHT);
}

void vx_analyse_main_dialog::edit_dark_selection()
{
    control->edit_selection(POLARITY_DARK);
}

// ---- blob windows ----

void vx_analyse_main_dialog::showBlobs(bool bright)
{
    std::unique_ptr<QWidget>& window = bright ? brightBlobWindow : darkBlobWindow;
    qimage_frame*& frame = bright ? brightBlobFrame : darkBlobFrame;
    // 1. Made once: the frame over an image of the working image's size.
    if (!window) {
        window = std::make_unique<QWidget>();
        window->setWindowTitle(bright ? QStringLiteral("Bright Blobs")
                                      : QStringLiteral("Dark Blobs"));
        window->setFocusPolicy(Qt::ClickFocus);
        const ::image* working = control->image();
        const image_handle blank(create_image(working != nullptr ? working->width : 0,
                                              working != nullptr ? working->height : 0, 0));
        frame = new qimage_frame(blank.get(), window.get());
        auto* box = new QVBoxLayout(vx_scrolled_content(window.get()));
        auto* row = new QHBoxLayout;
        box->addLayout(row);
        row->addWidget(frame->initResizeVButtons(window.get()));
        row->addWidget(frame);
        box->addWidget(frame->initCoordinateLabel(window.get()));
        frame->createRandomDisplayPalette(
            (bright ? control->onodelistsize() : control->cnodelistsize()) + 2);
        frame->setDisplayMode(1);
        // Only this dialog asks where to save.
        frame->CTL_S_SaveDialog(1);
        connect(frame, &qimage_frame::ctlSpressed, this,
                bright ? &vx_analyse_main_dialog::write_bright_blob_dialog
                       : &vx_analyse_main_dialog::write_dark_blob_dialog);
    }
    // 2. Every time: the blobs of the current selection, shown.
    if (bright)
        control->draw_bright_blobs(frame->get_t_image());
    else
        control->draw_dark_blobs(frame->get_t_image());
    frame->display_image_zoomed();
    window->show();
}

void vx_analyse_main_dialog::show_bright_blobs()
{
    showBlobs(true);
}

void vx_analyse_main_dialog::show_dark_blobs()
{
    showBlobs(false);
}

void vx_analyse_main_dialog::writeBlobs(qimage_frame* frame, const char* caption)
{
    // A failed write has said so.
    const QString file = saveName(image_filter, QFile::decodeName(control->resultname()), caption);
    if (!file.isEmpty())
        frame->write_image(file);
}

void vx_analyse_main_dialog::write_bright_blob_dialog()
{
    writeBlobs(brightBlobFrame, "Save Bright Blob Image");
}

void vx_analyse_main_dialog::write_dark_blob_dialog()
{
    writeBlobs(darkBlobFrame, "Save Dark Blob Image");
}
