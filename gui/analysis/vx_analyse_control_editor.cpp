// vx_analyse_control: the region-list editors, which let the user drop
// active regions one by one.
#include <QCursor>
#include <QEvent>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "analyse/display/dual_analyse.h"
#include "analyse/trees/regiontree.h"
#include "filter/polarity.h"
#include "gui/analysis/vx_analyse_control.h"
#include "gui/foundation/qimage_frame.h"

namespace {

enum column { index_column = 0, region_column = 1, selection_column = 2 };

const QString kept = QStringLiteral("delete");
const QString dropped = QStringLiteral("show");

// Overlay code 4 over grey 255: the highlight of the region of a row.
constexpr int highlight_value = 1279;

// Copies the non-null entries of `active` into `copy`; with `list` one row
// per entry.
void copy_entries(tregionnode* const* active, tregionnode** copy, int size, QTreeWidget* list)
{
    int row = 0;
    for (int i = 0; active != nullptr && i < size; ++i) {
        if (active[i] == nullptr)
            continue;
        copy[i] = active[i];
        if (list != nullptr)
            new QTreeWidgetItem(list, {QString::number(++row), QString::number(i), kept});
    }
}

}  // namespace

void vx_analyse_control::edit_selection(int iMode)
{
    if ((iMode != POLARITY_BRIGHT && iMode != POLARITY_DARK) || !dual || brightTree == nullptr ||
        darkTree == nullptr)
        return;
    const bool bright = iMode == POLARITY_BRIGHT;
    SelectionEditor& editor = bright ? brightEditor : darkEditor;

    // 1.-2. The window, its "Accept" and the list.
    auto* window = new QWidget(nullptr, Qt::Window);
    window->setObjectName(QStringLiteral("Dark region edit  vx_analyse control"));
    window->setWindowTitle(bright ? QStringLiteral("Bright List View: ")
                                  : QStringLiteral("Dark List View: "));
    auto* box = new QVBoxLayout(window);
    auto* accept = new QPushButton(QStringLiteral("Accept"), window);
    accept->setObjectName(QStringLiteral("Dark region edit  done vx_analyse control"));
    auto* list = new QTreeWidget(window);
    list->setObjectName(QStringLiteral("Display Image List List View"));
    list->setHeaderLabels(
        {QStringLiteral("Index"), QStringLiteral("Region"), QStringLiteral("Selection")});
    list->setRootIsDecorated(false);
    box->addWidget(accept);
    box->addWidget(list);
    connect(this, &vx_analyse_control::close_edit_selections, window, &QWidget::close);
    window->installEventFilter(this);

    // 3. It replaces the editor of its polarity, whose edits on screen go
    // with it.
    delete editor.window;
    editor.window = window;
    if (editor.shown) {
        editor.shown = false;
        redrawSelection();
    }
    const auto clicked = bright ? &vx_analyse_control::BrightRegionSelected
                                : &vx_analyse_control::DarkRegionSelected;
    connect(list, &QTreeWidget::itemClicked, this, [this, clicked](QTreeWidgetItem* item, int c) {
        (this->*clicked)(Qt::LeftButton, item, QCursor::pos(), c);
    });
    connect(list, &QTreeWidget::currentItemChanged, this,
            bright ? &vx_analyse_control::ShowBrightRegionSelected
                   : &vx_analyse_control::ShowDarkRegionSelected);
    connect(accept, &QPushButton::clicked, this,
            bright ? &vx_analyse_control::bright_list_view_selection
                   : &vx_analyse_control::dark_list_view_selection);

    // 4.-5. The edit copy of both polarities; rows for this one.
    editor.copy.reset(init_dual_analyse(brightTree, darkTree));
    copy_entries(opennodelist(), editor.copy->bright_nodes, brightListSize,
                 bright ? list : nullptr);
    copy_entries(closenodelist(), editor.copy->dark_nodes, darkListSize, bright ? nullptr : list);

    // 6. The editor shown.
    window->show();
}

void vx_analyse_control::BrightRegionSelected(int, QTreeWidgetItem* qlvItem, const QPoint&,
                                              int iColumn)
{
    if (brightEditor.copy)
        RegionSelected(qlvItem, iColumn, opennodelist(), brightEditor.copy->bright_nodes);
}

void vx_analyse_control::DarkRegionSelected(int, QTreeWidgetItem* qlvItem, const QPoint&,
                                            int iColumn)
{
    if (darkEditor.copy)
        RegionSelected(qlvItem, iColumn, closenodelist(), darkEditor.copy->dark_nodes);
}

void vx_analyse_control::ShowBrightRegionSelected(QTreeWidgetItem* qlvItem)
{
    BrightRegionSelected(Qt::LeftButton, qlvItem, QPoint(), region_column);
}

void vx_analyse_control::ShowDarkRegionSelected(QTreeWidgetItem* qlvItem)
{
    DarkRegionSelected(Qt::LeftButton, qlvItem, QPoint(), region_column);
}

vx_analyse_control::SelectionEditor* vx_analyse_control::editorOf(tregionnode** edited, int* size)
{
    if (edited == nullptr)
        return nullptr;
    if (brightEditor.copy && edited == brightEditor.copy->bright_nodes) {
        *size = brightListSize;
        return &brightEditor;
    }
    if (darkEditor.copy && edited == darkEditor.copy->dark_nodes) {
        *size = darkListSize;
        return &darkEditor;
    }
    return nullptr;
}

void vx_analyse_control::RegionSelected(QTreeWidgetItem* qlvItem, int iColumn,
                                        tregionnode** pptnSrcNodelist,
                                        tregionnode** pptnDestNodelist)
{
    int size = 0;
    SelectionEditor* editor = editorOf(pptnDestNodelist, &size);
    if (qlvItem == nullptr || pptnSrcNodelist == nullptr || editor == nullptr)
        return;
    bool number = false;
    const int index = qlvItem->text(region_column).toInt(&number);
    if (!number || index < 0 || index >= size)
        return;

    if (iColumn == selection_column) {
        const QString text = qlvItem->text(selection_column);
        if (text == kept || text == dropped) {
            qlvItem->setText(selection_column, text == kept ? dropped : kept);
            pptnDestNodelist[index] = text == kept ? nullptr : pptnSrcNodelist[index];
        }
        showEdits(*editor);
    } else if ((iColumn == index_column || iColumn == region_column) &&
               pptnDestNodelist[index] != nullptr) {
        showEdits(*editor);
        highlight(pptnDestNodelist[index]);
    }
    display();
}

void vx_analyse_control::showEdits(SelectionEditor& editor)
{
    if (!output || grey() == nullptr)
        return;
    // Filled, whatever the display mode.
    contour_update_dual_analyse(editor.copy.get());
    update_dual_analyse_output(output.get(), grey(), editor.copy.get());
    editor.shown = true;
}

void vx_analyse_control::highlight(const tregionnode* node)
{
    if (output)
        paint_region(output.get(), node, highlight_value);
}

void vx_analyse_control::acceptEdits(SelectionEditor& editor, tregionnode** active, int size)
{
    if (!editor.copy || active == nullptr)
        return;
    tregionnode** edited =
        &editor == &brightEditor ? editor.copy->bright_nodes : editor.copy->dark_nodes;
    for (int i = 0; i < size; ++i)
        active[i] = edited[i];
    // The button belongs to the window: it goes once the click is handled.
    if (editor.window) {
        editor.window->removeEventFilter(this);
        editor.window->deleteLater();
    }
    editor.window = nullptr;
    editor.shown = false;
}

void vx_analyse_control::bright_list_view_selection()
{
    acceptEdits(brightEditor, opennodelist(), brightListSize);
}

void vx_analyse_control::dark_list_view_selection()
{
    acceptEdits(darkEditor, closenodelist(), darkListSize);
}

bool vx_analyse_control::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Close) {
        for (SelectionEditor* editor : {&brightEditor, &darkEditor})
            if (watched == editor->window && editor->shown) {
                editor->shown = false;
                redrawSelection();
            }
    }
    return QObject::eventFilter(watched, event);
}

void vx_analyse_control::dropEditors()
{
    for (SelectionEditor* editor : {&brightEditor, &darkEditor}) {
        delete editor->window;
        editor->copy.reset();
        editor->shown = false;
    }
}
