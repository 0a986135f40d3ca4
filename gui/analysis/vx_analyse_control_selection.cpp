// vx_analyse_control: rules, the active regions and the images made of them.
#include <QFile>
#include <QFileInfo>
#include <cstdlib>
#include <memory>

#include "analyse/display/dual_analyse.h"
#include "analyse/display/region_blobs.h"
#include "analyse/handles.h"
#include "analyse/query/query_analysis.h"
#include "analyse/rules/rule_file.h"
#include "analyse/trees/regiontree.h"
#include "filter/elementary.h"
#include "gui/analysis/vx_analyse_control.h"
#include "gui/foundation/file_checks.h"
#include "gui/foundation/qimage_frame.h"
#include "gui/foundation/rule_check.h"
#include "imagecore/image_arith.h"
#include "imagecore/palette.h"

namespace {

constexpr int first_region_value = 257;
constexpr int dual_region_value = 254;

struct palette_deleter {
    void operator()(int* palette) const { std::free(palette); }
};

// Writes the image as the display frame shows it: through the palette (the
// image core's packed colours, given to the frame unchanged) or, without
// one, each value as the colour word it is (254 is blue 254).
bool write_through_frame(image* img, const QString& file, int* palette, int entries)
{
    qimage_frame frame(img->width, img->height, img->pixels, nullptr, nullptr, -1);
    if (palette != nullptr)
        frame.set_palette(reinterpret_cast<unsigned char*>(palette), entries);
    return frame.write_image(file);
}

}  // namespace

bool vx_analyse_control::applyRule(const std::string& rule, region_tree* tree, tregionnode** active,
                                   int size)
{
    ruleFault.clear();
    if (!QFileInfo(QFile::decodeName(rule.c_str())).isFile() || !vx_readable(rule.c_str()) ||
        !fits(tree, working))
        return true;
    const program_handle prog(parse_rule_file(rule.c_str(), tree->width));
    if (!prog) {
        ruleFault = ruleFaultText("The rule", rule, vx_parse_fault());
        return false;
    }
    // A run that fails leaves the active regions as they were.
    program_based_query_analysis(prog.get(), tree, working);
    const QString runFault = vx_run_fault();
    if (!runFault.isEmpty()) {
        ruleFault = ruleFaultText("The rule", rule, runFault);
        return false;
    }
    clearActive(active, size);
    dva_update_output();
    qa_reconstruct_nodevector(active, tree);
    dva_update_output();
    return true;
}

bool vx_analyse_control::apply_open_rule()
{
    return applyRule(names.brightRule, brightTree, opennodelist(), brightListSize);
}

bool vx_analyse_control::apply_close_rule()
{
    return applyRule(names.darkRule, darkTree, closenodelist(), darkListSize);
}

void vx_analyse_control::clearActive(tregionnode** active, int size)
{
    for (int i = 0; active != nullptr && i < size; ++i)
        active[i] = nullptr;
}

void vx_analyse_control::clear_open_objects()
{
    clearActive(opennodelist(), brightListSize);
    dva_update_output();
}

void vx_analyse_control::clear_close_objects()
{
    clearActive(closenodelist(), darkListSize);
    dva_update_output();
}

void vx_analyse_control::drawBlobs(::image* dest, region_tree* tree, tregionnode** active)
{
    if (dest == nullptr)
        return;
    if (tree != nullptr && active != nullptr)
        va_draw_blobs(dest, tree, active);
    else
        erase_image(dest, 0);
}

void vx_analyse_control::draw_bright_blobs(::image* ptiDest)
{
    drawBlobs(ptiDest, brightTree, opennodelist());
}

void vx_analyse_control::draw_dark_blobs(::image* ptiDest)
{
    drawBlobs(ptiDest, darkTree, closenodelist());
}

image* vx_analyse_control::regionsImage(tregionnode* const* active, int size) const
{
    ::image* regions =
        output ? create_image(output->width, output->height, 0) : create_image(0, 0, 0);
    int value = first_region_value;
    for (int i = 0; active != nullptr && i < size; ++i)
        if (active[i] != nullptr)
            paint_region(regions, active[i], value++);
    if (regions->width > 0 && regions->height > 0)
        update_image_struct(regions);
    return regions;
}

image* vx_analyse_control::bright_regions_image() const
{
    return regionsImage(opennodelist(), brightListSize);
}

image* vx_analyse_control::dark_regions_image() const
{
    return regionsImage(closenodelist(), darkListSize);
}

bool vx_analyse_control::exportRegions(const QString& file, tregionnode* const* active, int size)
{
    const image_handle regions(regionsImage(active, size));
    // Grey for 0..255, a colour for every region value.
    const int colours = first_region_value + active_count(active, size);
    const std::unique_ptr<int, palette_deleter> palette(initGreyColorScrambledPalette(colours));
    return write_through_frame(regions.get(), file, palette.get(), colours + 256);
}

bool vx_analyse_control::export_bright_result_regions(const QString& qstFilename)
{
    return exportRegions(qstFilename, opennodelist(), brightListSize);
}

bool vx_analyse_control::export_dark_result_regions(const QString& qstFilename)
{
    return exportRegions(qstFilename, closenodelist(), darkListSize);
}

image* vx_analyse_control::dualRegionsImage() const
{
    const image_handle dark(dark_regions_image());
    const image_handle bright(bright_regions_image());
    return binarizedMerge(dark.get(), bright.get(), dual_region_value);
}

bool vx_analyse_control::export_dual_regions(const QString& qstFilename)
{
    const image_handle merged(dualRegionsImage());
    return write_through_frame(merged.get(), qstFilename, nullptr, 0);
}

bool vx_analyse_control::export_dual_closed_regions(const QString& qstFilename)
{
    const image_handle merged(dualRegionsImage());
    const image_handle dilated(create_image(merged->width, merged->height, 0));
    const image_handle closed(create_image(merged->width, merged->height, 0));
    n_dilation_buff(merged.get(), dilated.get(), 4);
    n_masked_erosion_buff(dilated.get(), closed.get(), merged.get(), 8);
    return write_through_frame(closed.get(), qstFilename, nullptr, 0);
}
