// vx_analyse_control: construction, loading a stored analysis, names and
// state.
#include "gui/analysis/vx_analyse_control.h"

#include <QFile>
#include <cstdio>
#include <cstring>

#include "analyse/display/dual_analyse.h"
#include "analyse/display/visual_analyse.h"
#include "analyse/files/treeio.h"
#include "analyse/handles.h"
#include "analyse/trees/regiontree.h"
#include "automation/projects/project_file.h"
#include "gui/foundation/computation_memory.h"
#include "gui/foundation/file_checks.h"
#include "gui/foundation/qimage_frame.h"
#include "gui/foundation/rule_check.h"
#include "gui/foundation/text_files.h"
#include "imagecore/report.h"

namespace {

constexpr char local_update_rule[] = "Attributes.rule";

// The update rule a new analysis writes when the current directory has none.
constexpr char default_update_rule[] =
    "DECLS:\n"
    "  conv :=  (4 * area * 3.14176) /(pow((left+ahead+right),2.0));\n"
    " areafraction := area / sons;\n"
    "#DECLS\n"
    "RULES:\n"
    "TD:\n"
    "#RULES\n";

void write_local_update_rule()
{
    if (vx_readable(local_update_rule))
        return;
    vx_report("Writing Local Attributes\n");
    if (!vx_write_text_file(QString::fromLatin1(local_update_rule), default_update_rule))
        vx_report("Could not write %s\n", local_update_rule);
}

QString file_text(const std::string& name)
{
    return QFile::decodeName(name.c_str());
}

// The element-set tree of the file, named after it; null with the reason in
// `fault` when the file does not open or holds no such tree.
region_tree* read_tree(const std::string& file, QString& fault)
{
    FILE* in = std::fopen(file.c_str(), "rb");
    if (in == nullptr) {
        fault = "Unable to open tree file\n" + file_text(file);
        return nullptr;
    }
    const char* error = "";
    region_tree* tree = try_read_elemset_region_tree(in, &error);
    std::fclose(in);
    if (tree == nullptr) {
        fault = "Tree file\n" + file_text(file) + "\nrefused: " + QString::fromLatin1(error);
        return nullptr;
    }
    std::snprintf(tree->name, sizeof tree->name, "%s", file.c_str());
    return tree;
}

}  // namespace

vx_analyse_control::vx_analyse_control(const char* openingTree, const char* closingTree,
                                       const char* result, const char* imageFile,
                                       const char* brightRule, const char* darkRule,
                                       const char* brightResults, const char* darkResults,
                                       const char* updateRule, const char* name, int treeMode,
                                       QObject* parent)
    : QObject(parent), treeMode(treeMode)
{
    setObjectName(QString::fromLatin1(name));
    vx_report("Receiving Open File %s\n", openingTree != nullptr ? openingTree : "");
    vx_report("Receiving Close File %s\n", closingTree != nullptr ? closingTree : "");
    const char* given[] = {openingTree, closingTree,   result,      imageFile, brightRule,
                           darkRule,    brightResults, darkResults, updateRule};
    static_assert(std::size(given) == std::size(vx_project_fields));
    vx_project_names read;
    for (std::size_t k = 0; k < std::size(given) && loaded(); ++k)
        if (!setName(read.*vx_project_fields[k], given[k]))
            loadFault = "Name of more than 499 characters refused:\n" +
                        QFile::decodeName(given[k]).left(80) + "...";
    if (loaded()) {
        names = read;
        vx_report("vx_analyse_control::Loading %s\n", imagename());
        loadStoredAnalysis();
    }
    reportLoadFault();
}

vx_analyse_control::vx_analyse_control(const char* projectFile, const char* name, int treeMode,
                                       QObject* parent)
    : QObject(parent), treeMode(treeMode)
{
    setObjectName(QString::fromLatin1(name));
    std::string fault;
    if (read_project_file(projectFile != nullptr ? projectFile : "", names, fault)) {
        vx_report("vx_analyse_control::Loading %s\n", imagename());
        loadStoredAnalysis();
    } else {
        loadFault = QFile::decodeName(fault.c_str());
    }
    reportLoadFault();
}

vx_analyse_control::vx_analyse_control(const char* imageFile, int oscales, int cscales,
                                       const char* name, int treeMode, QObject* parent)
    : QObject(parent), brightScales(oscales), darkScales(cscales)
{
    if (imageFile == nullptr)
        imageFile = "";
    initNewAnalysis("Unnamed.tiff", imageFile, name, treeMode);
    write_local_update_rule();
    ownFrame(new qimage_frame(imageFile, nullptr));
    takeFramePicture();
    fileImage = working->width > 0 && working->height > 0;
}

vx_analyse_control::vx_analyse_control(const char* name, int treeMode, QObject* parent)
    : QObject(parent)
{
    initNewAnalysis("Unnamed.png", "Unknown.png", name, treeMode);
    ownFrame(new qimage_frame(256, 256, nullptr));
    takeFramePicture();
}

vx_analyse_control::~vx_analyse_control()
{
    dropTreesAndSelection();
    delete_image(working);
    if (ownsFrame && displayFrame && displayFrame->parent() == nullptr)
        delete displayFrame;
}

void vx_analyse_control::initNewAnalysis(const char* result, const char* imageFile,
                                         const char* name, int mode)
{
    setObjectName(QString::fromLatin1(name));
    treeMode = mode;
    names.openingTree = vx_default_opening_tree;
    names.closingTree = vx_default_closing_tree;
    names.result = result;
    names.brightRule = vx_default_bright_rule;
    names.darkRule = vx_default_dark_rule;
    names.updateRule = local_update_rule;
    imagename("Unknown.png");
    imagename(imageFile);
}

void vx_analyse_control::loadStoredAnalysis()
{
    // Memory that runs out fails the load as a file that cannot be read
    // does.
    if (vx_within_memory([this] { readStoredAnalysis(); }))
        return;
    loadFault = "Not enough memory to open the analysis of\n" + file_text(names.image);
    if (working != nullptr && working->width > 0 && working->height > 0)
        loadFault += ":\n" + vx_measured_trees_need(working->width, working->height) + ".";
}

void vx_analyse_control::readStoredAnalysis()
{
    // 1.-2. The image in Euclidean grey.
    ownFrame(new qimage_frame(names.image.c_str(), nullptr));
    displayFrame->convertGreyEuclidean();
    takeFramePicture();
    fileImage = working->width > 0 && working->height > 0;
    if (!fileImage) {
        loadFault = "Unable to load image\n" + file_text(names.image);
        return;
    }

    // 3.-4. Both trees, which must cover the image, with their attributes,
    //       from an update rule that parses.
    loadFault = updateRuleFault();
    if (!loaded())
        return;
    region_tree_handle bright(read_tree(names.openingTree, loadFault));
    region_tree_handle dark(bright ? read_tree(names.closingTree, loadFault) : nullptr);
    if (!bright || !dark)
        return;
    for (const region_tree* tree : {bright.get(), dark.get()})
        if (!fits(tree, working)) {
            loadFault = "Tree file\n" + QFile::decodeName(tree->name) +
                        "\ndoes not fit the image\n" + file_text(names.image);
            return;
        }
    loadFault = updateAttributes(bright.get(), dark.get());
    if (!loaded())
        return;

    // 5.-6. The tree-derived state.
    adoptTrees(std::move(bright), std::move(dark));
}

QString vx_analyse_control::ruleFaultText(const char* what, const std::string& rule,
                                          const QString& fault)
{
    return QString::fromLatin1(what) + "\n" + file_text(rule) + "\n" + fault;
}

QString vx_analyse_control::updateRuleFault() const
{
    const QString fault = vx_rule_fault(file_text(names.updateRule));
    return fault.isEmpty() ? fault : ruleFaultText("The update rule", names.updateRule, fault);
}

QString vx_analyse_control::updateAttributes(region_tree* bright, region_tree* dark)
{
    for (region_tree* tree : {bright, dark})
        if (va_update_region_tree(working, tree, updaterule(), 1) == 0) {
            const QString fault = vx_run_fault();
            return ruleFaultText(
                "The update rule", names.updateRule,
                fault.isEmpty() ? QStringLiteral("gave the regions no attributes") : fault);
        }
    return QString();
}

void vx_analyse_control::reportLoadFault() const
{
    if (!loaded())
        vx_report("%s\n", QFile::encodeName(loadFault).constData());
}

bool vx_analyse_control::setName(std::string& field, const char* name)
{
    const char* text = name != nullptr ? name : "";
    if (std::strlen(text) > vx_name_capacity) {
        vx_report("Name of more than %zu characters refused: %.60s...\n", vx_name_capacity, text);
        return false;
    }
    field = text;
    return true;
}

bool vx_analyse_control::imagename(const char* name)
{
    static const std::string bright_suffix = ".bright_object.contours";
    static const std::string dark_suffix = ".dark_object.contours";
    // The contour names must fit as well.
    const std::size_t length = name != nullptr ? std::strlen(name) : 0;
    if (length + bright_suffix.size() > vx_name_capacity) {
        vx_report("Image name of more than %zu characters refused: %.60s...\n",
                  vx_name_capacity - bright_suffix.size(), name);
        return false;
    }
    setName(names.image, name);
    names.brightResults = names.image + bright_suffix;
    names.darkResults = names.image + dark_suffix;
    return true;
}

bool vx_analyse_control::resultname(const char* name)
{
    return setName(names.result, name);
}

bool vx_analyse_control::brightrulesname(const char* name)
{
    return setName(names.brightRule, name);
}

bool vx_analyse_control::darkrulesname(const char* name)
{
    return setName(names.darkRule, name);
}

bool vx_analyse_control::brightresultname(const char* name)
{
    return setName(names.brightResults, name);
}

bool vx_analyse_control::darkresultname(const char* name)
{
    return setName(names.darkResults, name);
}

bool vx_analyse_control::openingtreename(const char* name)
{
    return setName(names.openingTree, name);
}

bool vx_analyse_control::closingtreename(const char* name)
{
    return setName(names.closingTree, name);
}

bool vx_analyse_control::setUpdateRule(const char* name)
{
    return setName(names.updateRule, name);
}

bool vx_analyse_control::setUpdateRule(const QString& name)
{
    return setName(names.updateRule, QFile::encodeName(name).constData());
}

tregionnode** vx_analyse_control::opennodelist() const
{
    return dual ? dual->bright_nodes : nullptr;
}

tregionnode** vx_analyse_control::closenodelist() const
{
    return dual ? dual->dark_nodes : nullptr;
}

int vx_analyse_control::activeBrightNodes() const
{
    return active_count(opennodelist(), brightListSize);
}

int vx_analyse_control::activeDarkNodes() const
{
    return active_count(closenodelist(), darkListSize);
}

int vx_analyse_control::active_count(tregionnode* const* active, int size)
{
    int count = 0;
    for (int i = 0; active != nullptr && i < size; ++i)
        count += active[i] != nullptr;
    return count;
}

bool vx_analyse_control::fits(const region_tree* tree, const ::image* img)
{
    return tree != nullptr && img != nullptr && tree->width == img->width &&
           tree->height == img->height;
}

void vx_analyse_control::adoptTrees(region_tree_handle bright, region_tree_handle dark)
{
    dual_analyse_handle selection(init_dual_analyse(bright.get(), dark.get()));
    darkListSize = dark->regions + 1;
    brightListSize = bright->regions + 1;
    brightScales = bright->scales;
    darkScales = dark->scales;
    invertFlag = 0;
    brightTree = bright.release();
    darkTree = dark.release();
    dual = std::move(selection);
}

void vx_analyse_control::dropTreesAndSelection()
{
    // The editors point into the trees too.
    dropEditors();
    dual.reset();
    delete_regiontree(brightTree);
    delete_regiontree(darkTree);
    brightTree = nullptr;
    darkTree = nullptr;
    brightListSize = 0;
    darkListSize = 0;
}
