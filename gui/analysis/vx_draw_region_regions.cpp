// VxDrawRegion: the regions of the sketch, their attributes, statistics and
// Fourier descriptors.
#include <QFile>
#include <QPlainTextEdit>
#include <cstdlib>
#include <cstring>

#include "analyse/display/region_texts.h"
#include "analyse/features/labeled_region_node.h"
#include "automation/compare/vx_object_statistics.h"
#include "automation/tables/vxtable.h"
#include "gui/analysis/vx_analyse_contour_fds.h"
#include "gui/analysis/vx_draw_region.h"
#include "gui/foundation/vx_message_popup.h"
#include "gui/foundation/forms/vx_attribute_selection.h"
#include "imagecore/label.h"

namespace {

// The text of a number for the statistics lines.
QString num(int value)
{
    return QString::number(value);
}

}  // namespace

image_handle VxDrawRegion::plainLabels() const
{
    image_handle plain(create_copy_image(labels.get()));
    const int n = plain->width * plain->height;
    for (int p = 0; p < n; ++p)
        plain->pixels[p] = plain->pixels[p] > 256 ? plain->pixels[p] - 256 : 0;
    return plain;
}

// ---- attributes ----

void VxDrawRegion::computeAttributes()
{
    attributesView->clear();
    fdRegion = 0;
    if (updateRule.endsWith(QStringLiteral(".rule"))) {
        if (computeRegions()) {
            makeTable();
        } else {
            regions.clear();
            table.reset();
            vx_message(QStringLiteral("Update rule failed"),
                       "No region attributes from the update rule\n" + updateRule);
        }
        updateDisplay();
    }
    if (!table)
        return;
    if (!attributeSelection) {
        attributeSelection = std::make_unique<VxAttributeSelection>(
            table->getColumns(), table->getColumnNames(),
            QStringLiteral("Select Region Atributes "), this, "Select Region Atributes ", 0);
        uncheckPlaceColumns();
    }
    attributeSelection->showModeless();
}

void VxDrawRegion::uncheckPlaceColumns()
{
    const auto uncheck = [this](const char* column) {
        for (int i = 0; i < table->getColumns(); ++i) {
            const char* name = table->getColumnName(i);
            if (name != nullptr && std::strcmp(name, column) == 0)
                attributeSelection->uncheckAttribute(i);
        }
    };
    // A sketched region stands alone: without father, sons, scales or a
    // number in a tree its tree attributes never agree with those of a tree
    // region of the same pixels.
    for (const char* column : {"age", "birth", "sons", "node", "decompentropy"})
        uncheck(column);
    // Its place in the image would keep the query to the sketched spots.
    for (const char* column : {"centroidX", "centroidY", "centroidXn", "centroidYn", "minx", "maxx",
                               "miny", "maxy", "border"})
        uncheck(column);
}

bool VxDrawRegion::computeRegions()
{
    regions.clear();
    regions.emplace_back();
    const int w = labels->width;
    const int h = labels->height;
    const int n = w * h;

    // 1. Each 4-connected patch of one label gets the next region number,
    //    in raster order of its first pixel.
    for (int p = 0; p < n; ++p)
        workImage->pixels[p] = -labels->pixels[p];
    int count = 1;
    for (int p = 0; p < n; ++p)
        if (workImage->pixels[p] < 0)
            label_iterate_local(workImage->pixels, offsets, 4, count++, workImage->pixels[p], p, w,
                                h, fillQueue.get());

    // 2. The pixels of each region, in raster order.
    std::vector<int> first(static_cast<size_t>(count) + 1, 0);
    for (int p = 0; p < n; ++p)
        ++first[static_cast<size_t>(workImage->pixels[p]) + 1];
    for (size_t r = 1; r < first.size(); ++r)
        first[r] += first[r - 1];
    std::vector<int> positions(static_cast<size_t>(n));
    std::vector<int> next(first.begin(), first.end() - 1);
    for (int p = 0; p < n; ++p)
        positions[static_cast<size_t>(next[static_cast<size_t>(workImage->pixels[p])]++)] = p;

    // 3. The node of each region, made on an image that holds this region
    //    alone: touching or enclosing patches of other labels then neither
    //    cut its outer contour nor leave the contour walk without a start.
    image_handle alone(create_image(w, h, 0));
    const QByteArray rule = QFile::encodeName(updateRule);
    for (int r = 1; r < count; ++r) {
        const int* begin = positions.data() + first[static_cast<size_t>(r)];
        const int* end = positions.data() + first[static_cast<size_t>(r) + 1];
        for (const int* p = begin; p != end; ++p)
            alone->pixels[*p] = r;
        tregionnode* node = computeNodeFromLabeledRegion(rule.constData(), alone.get(),
                                                         templateImage.get(), r, updateMode);
        for (const int* p = begin; p != end; ++p)
            alone->pixels[*p] = 0;
        if (node == nullptr)
            return false;
        node->label = labels->pixels[*begin] - 256;
        regions.emplace_back(node);
    }
    return true;
}

void VxDrawRegion::makeTable()
{
    table.reset();
    const int count = static_cast<int>(regions.size()) - 1;
    if (count < 1)
        return;
    std::vector<tregionnode*> nodes;
    for (int r = 1; r <= count; ++r)
        nodes.push_back(regions[static_cast<size_t>(r)].get());
    table = std::make_unique<VxTable>(nodes.data(), static_cast<unsigned>(count));
    const attrib_array* first = nodes[0]->attribs;
    table->prependColumn("TNumAttr", first != nullptr ? first->count : 0);
    table->prependColumn("TSonID", -1);
    table->prependColumn("TFatherID", 1);
    table->prependColumn(VxTable::INT, "RegionID");
    table->prependColumn(VxTable::INT, "Classlabel");
    for (int row = 0; row < count; ++row) {
        table->setEntry(row, 0, nodes[static_cast<size_t>(row)]->label);
        table->setEntry(row, 1, row + 1);
    }
}

void VxDrawRegion::mousePressMidButton(int iX, int iY)
{
    const int r =
        inside(iX, iY) ? workImage->pixels[static_cast<size_t>(iY) * workImage->width + iX] : 0;
    if (r <= 0 || r >= static_cast<int>(regions.size()) || !regions[static_cast<size_t>(r)]) {
        attributesView->clear();
        return;
    }
    char* text = va_fixed_attribute_output(regions[static_cast<size_t>(r)].get());
    attributesView->setPlainText(QString::asprintf("Label %d\n", r) +
                                 QString::fromLatin1(text != nullptr ? text : ""));
    std::free(text);
    fdRegion = r;
}

void VxDrawRegion::analyse_fds()
{
    if (fdRegion <= 0 || fdRegion >= static_cast<int>(regions.size()) ||
        !regions[static_cast<size_t>(fdRegion)])
        return;
    auto* view = new vx_analyse_contour_fds(labels->width, labels->height,
                                            regions[static_cast<size_t>(fdRegion)].get(),
                                            shownGrey.get(), nullptr, "FDS for Drawn Region");
    connect(this, &VxDrawRegion::close_fds, view, &QWidget::close);
    fdWindow = view;
}

// ---- statistics ----

void VxDrawRegion::computeStatistics()
{
    statisticsWindow.reset();
    const VxObjectStatistics statistics(plainLabels().get());
    QString text = "# Objects: " + num(statistics.NumObjects()) +
                   "\n# Classes: " + num(statistics.NumClasses()) +
                   "\n# RangeOfClasses: " + num(statistics.RangeOfClasses()) + "\n\nClasses\n";
    for (int i = 0; i < statistics.RangeOfClasses(); ++i)
        if (statistics.NumberInClass(i) > 0)
            text += "C." + num(i) + ", Size " + num(statistics.NumberInClass(i)) + "\n";
    text += "\nObjects\n";
    const int w = labels->width;
    for (int j = 0; j < statistics.NumObjects(); ++j) {
        const int first = statistics.ObjectPixels(j)[0];
        text += "O." + num(j) + ", Size " + num(statistics.ObjectSize(j)) + ", Label " +
                num(statistics.ObjectLabel(j)) + ", Pos (" + num(first % w) + "," + num(first / w) +
                ")\n";
    }
    statisticsWindow = std::make_unique<QPlainTextEdit>();
    statisticsWindow->setReadOnly(true);
    statisticsWindow->setWindowTitle(QStringLiteral("Statistics for Sketched Regions"));
    statisticsWindow->setPlainText(text);
    statisticsWindow->show();
}
