// VxDisplayImageList: clicks on thumbnails and list rows, and the full-size
// display windows.
#include <QBoxLayout>
#include <QCoreApplication>
#include <QFile>
#include <QFocusEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QTreeWidget>

#include "gui/foundation/qimage_frame.h"
#include "gui/foundation/thumbnails/vx_display_image_list.h"
#include "gui/foundation/thumbnails/vx_image_button.h"
#include "gui/foundation/window_flags.h"

namespace {

// A top-level window of the file at full size with the frame's zoom buttons
// and coordinate readout; it deletes itself when closed.
QWidget* full_image_display(const QString& file)
{
    auto* window = new QWidget(nullptr, vx_qt_window_flags(VX_DELETE_ON_CLOSE));
    vx_apply_close_flag(window, VX_DELETE_ON_CLOSE);
    window->setObjectName(QStringLiteral("Current Display"));
    window->setWindowTitle("Display:" + file);
    auto* box = new QHBoxLayout(window);
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(0);
    box->setSizeConstraint(QLayout::SetFixedSize);
    auto* frame = new qimage_frame(QFile::encodeName(file).constData(), window,
                                   "image display from VxDisplayImageList");
    frame->setZoomOnWheel(true);
    box->addWidget(frame->initResizeVButtons(window));
    auto* column = new QVBoxLayout;
    column->addWidget(frame);
    column->addWidget(frame->initCoordinateLabel(window));
    box->addLayout(column);
    return window;
}

}  // namespace

void VxDisplayImageList::focusButton(int button)
{
    VxImageButton* target = buttonAt(button);
    if (target == nullptr)
        return;
    // The focus look is asked for directly: a window that is not active
    // gives its widgets no focus events.
    QFocusEvent focusIn(QEvent::FocusIn, Qt::OtherFocusReason);
    QCoreApplication::sendEvent(target, &focusIn);
    target->setFocus(Qt::OtherFocusReason);
}

bool VxDisplayImageList::focusClicked(const t_imagebuttoninfo& properties)
{
    if (properties.imageIndex < 0)
        return false;
    focusButton(properties.buttonIndex);
    return true;
}

void VxDisplayImageList::ImageSelected(t_imagebuttoninfo& ibiProperties)
{
    if (!focusClicked(ibiProperties))
        return;
    emit clickedImage(ibiProperties.imageIndex);
    emit clickedImageButton(ibiProperties.buttonIndex, ibiProperties.imageIndex);
}

void VxDisplayImageList::ContextHandler(t_imagebuttoninfo& ibiProperties)
{
    if (!focusClicked(ibiProperties))
        return;
    emit clickedImageContext(ibiProperties.imageIndex);
    emit clickedImageButtonContext(ibiProperties.buttonIndex, ibiProperties.imageIndex);
}

void VxDisplayImageList::ShowFullImage(t_imagebuttoninfo& ibiProperties)
{
    if (!focusClicked(ibiProperties))
        return;
    QWidget* window = full_image_display(ibiProperties.file);
    connect(this, &VxDisplayImageList::closeFullImageDisplays, window, &QWidget::close);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    window->show();
}

void VxDisplayImageList::ListEntrySelected(int button, QTreeWidgetItem* pqlvItem, const QPoint&,
                                           int c)
{
    if (pqlvItem == nullptr)
        return;
    const int k = pqlvItem->text(indexColumn).toInt();
    if (k < 1 || k > n)
        return;
    showImageListWindow((k - 1) / pageSize * pageSize);
    const int b = (k - 1) % pageSize;
    focusButton(b);
    if (c != viewColumn)
        return;
    t_imagebuttoninfo& properties = buttonAt(b)->getProperties();
    switch (button) {
    case Qt::LeftButton: ImageSelected(properties); break;
    case Qt::RightButton: ContextHandler(properties); break;
    case Qt::MiddleButton: ShowFullImage(properties); break;
    default: break;
    }
}

bool VxDisplayImageList::eventFilter(QObject* watched, QEvent* event)
{
    if (fileListView != nullptr && watched == fileListView->viewport() &&
        event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint at = mouse->position().toPoint();
        ListEntrySelected(static_cast<int>(mouse->button()), fileListView->itemAt(at),
                          mouse->globalPosition().toPoint(), fileListView->columnAt(at.x()));
    }
    return QWidget::eventFilter(watched, event);
}
