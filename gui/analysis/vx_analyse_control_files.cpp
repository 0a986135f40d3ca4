// vx_analyse_control: the tables, contour files and the project.
#include <QFile>
#include <QStringList>
#include <cstdio>

#include "analyse/display/visual_analyse.h"
#include "analyse/files/treeio.h"
#include "analyse/tables/featureio.h"
#include "automation/projects/project_file.h"
#include "gui/analysis/detail/tree_files.h"
#include "gui/analysis/vx_analyse_control.h"
#include "gui/foundation/file_checks.h"
#include "gui/foundation/text_files.h"
#include "gui/foundation/vx_message_popup.h"
#include "imagecore/files/checked_file.h"

namespace {

QString file_text(const std::string& name)
{
    return QFile::decodeName(name.c_str());
}

std::string table_name(const std::string& tree)
{
    return tree + ".csv";
}

}  // namespace

bool vx_analyse_control::writeTable(const QString& file, region_tree* tree, tregionnode** active,
                                    int size)
{
    // Header and rows replace an older table only together.
    checked_file out(QFile::encodeName(file).constData(), "w");
    if (tree != nullptr) {
        fio_writeTreeTableHeader(out, tree);
        fio_writeTreeTableByNodeArray(out, imagename(), active, size);
    }
    const bool written = out.close();
    if (!written)
        vx_write_error(file);
    return written;
}

bool vx_analyse_control::write_bright_result_table(const QString& file)
{
    return writeTable(file, brightTree, opennodelist(), brightListSize);
}

bool vx_analyse_control::write_dark_result_table(const QString& file)
{
    return writeTable(file, darkTree, closenodelist(), darkListSize);
}

bool vx_analyse_control::writeContours(const std::string& file, region_tree* tree,
                                       tregionnode** active, int size)
{
    std::string text;
    char buffer[48];
    int number = 0;
    for (int i = 0; tree != nullptr && active != nullptr && i < size; ++i) {
        const tregionnode* node = active[i];
        if (node == nullptr)
            continue;
        std::snprintf(buffer, sizeof buffer, "%d, %d, ", number++, node->contour_size);
        text += buffer;
        for (int k = 0; k < node->contour_size; ++k) {
            const int p = node->contour[k];
            std::snprintf(buffer, sizeof buffer, "(%d, %d) ", p % tree->width, p / tree->width);
            text += buffer;
        }
        text += '\n';
    }
    const bool written = vx_write_text_file(file_text(file), QByteArray::fromStdString(text));
    if (!written)
        vx_write_error(file_text(file));
    return written;
}

bool vx_analyse_control::write_bright_result_contours()
{
    return writeContours(names.brightResults, brightTree, opennodelist(), brightListSize);
}

bool vx_analyse_control::write_dark_result_contours()
{
    return writeContours(names.darkResults, darkTree, closenodelist(), darkListSize);
}

bool vx_analyse_control::writeProject(const char* file)
{
    const QString project = QFile::decodeName(file);
    if (refusedWhileBusy("writeProject"))
        return false;
    if (!fits(brightTree, working) || !fits(darkTree, working)) {
        vx_message(QStringLiteral("!!Write Error!!"),
                   "No trees of the image to save in\n" + project);
        return false;
    }
    // Nothing is written unless every file can be.
    const QStringList targets = {
        project, file_text(names.openingTree), file_text(names.closingTree),
        file_text(table_name(names.openingTree)), file_text(table_name(names.closingTree))};
    for (const QString& target : targets)
        if (!vx_creatable(target)) {
            vx_write_error(target);
            return false;
        }
    const QString failed = writeProjectFiles(project);
    if (!failed.isEmpty())
        vx_write_error(failed);
    return failed.isEmpty();
}

QString vx_analyse_control::writeProjectFiles(const QString& project)
{
    // The writers number the trees by their file order.
    const vx_kept_labels brightLabels(brightTree);
    const vx_kept_labels darkLabels(darkTree);

    // 1. Both trees.
    QString failed;
    if (try_write_elemset_region_tree(brightTree, names.openingTree.c_str(), nullptr) != 1)
        failed = file_text(names.openingTree);
    else if (try_write_elemset_region_tree(darkTree, names.closingTree.c_str(), nullptr) != 1)
        failed = file_text(names.closingTree);

    // 2. The attribute tables, which compute the attributes with their own
    //    volume references.
    if (failed.isEmpty()) {
        const vx_image_handle grey(init_vximage_from_single_image(working, 1, 0));
        if (fio_writeEntireTreeTable(table_name(names.openingTree).c_str(), brightTree, grey.get(),
                                     updaterule(), imagename(), 2) != 1)
            failed = file_text(table_name(names.openingTree));
        else if (fio_writeEntireTreeTable(table_name(names.closingTree).c_str(), darkTree,
                                          grey.get(), updaterule(), imagename(), 1) != 1)
            failed = file_text(table_name(names.closingTree));
    }

    // 3. The project file last: an old one stays whole unless everything it
    //    names was written.
    if (failed.isEmpty() &&
        !vx_write_text_file(project, QByteArray::fromStdString(project_file_text(
                                         names, QFile::encodeName(project).toStdString()))))
        failed = project;

    // 4. Labels, node arrays (the selection is indexed by label) and the
    //    attributes the analysis works with are given back.
    brightLabels.restore();
    darkLabels.restore();
    va_update_region_tree(working, brightTree, updaterule(), 1);
    va_update_region_tree(working, darkTree, updaterule(), 1);
    return failed;
}
