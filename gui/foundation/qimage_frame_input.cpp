// qimage_frame: mouse, wheel, the readout and the resize buttons.
#include <QBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QWheelEvent>

#include "gui/foundation/qimage_frame.h"

void qimage_frame::mousePressEvent(QMouseEvent* event)
{
    event->ignore();
    if (!mouseEnabled)
        return;
    const QPoint point = event->position().toPoint();
    // Only the viewport shows the image: a press beside it reports nothing.
    if (!insideViewport(point.x(), point.y()))
        return;
    const int column = zoomLeft + point.x() / zoom;
    const int row = zoomTop + point.y() / zoom;
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    if (event->button() == Qt::RightButton) {
        lastRightX = point.x();
        lastRightY = point.y();
        lastReportedX = column;
        lastReportedY = row;
        if (!insideImage(column, row))
            return;
        if (ctrl)
            emit rightButtonCtlClickAt(column, row);
        else
            emit rightButtonClickAt(column, row);
        return;
    }
    if (!insideImage(column, row))
        return;
    if (event->button() == Qt::LeftButton) {
        if (ctrl)
            emit leftButtonCtlClickAt(column, row);
        else
            emit leftButtonClickAt(column, row);
    } else if (event->button() == Qt::MiddleButton) {
        if (ctrl)
            emit midButtonCtlClickAt(column, row);
        else
            emit midButtonClickAt(column, row);
    }
}

void qimage_frame::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    const int x = point.x();
    const int y = point.y();
    if (x < 0 || x >= viewportWidth()) {
        event->ignore();
        return;
    }
    event->accept();
    const int column = zoomLeft + x / zoom;
    const int row = zoomTop + y / zoom;
    if (y < 0 || y >= viewportHeight() || !insideImage(column, row))
        return;
    showReadout(x, y, column, row);
    if (!mouseEnabled)
        return;
    if (event->buttons() & Qt::RightButton) {
        // One viewport pixel of pointer travel moves the window by one image
        // pixel.
        applyZoomWindow(zoom, zoomLeft + lastRightX - x, zoomTop + lastRightY - y);
        lastRightX = x;
        lastRightY = y;
        display_image_zoomed();
    }
    if (event->buttons() & Qt::LeftButton) {
        if (column != lastReportedX || row != lastReportedY)
            emit leftButtonMoveto(column, row);
        lastReportedX = column;
        lastReportedY = row;
    }
}

void qimage_frame::showReadout(int x, int y, int column, int row)
{
    if (!coordinateLabel)
        return;
    if (typedCopy) {
        const int value =
            typedCopy->pixels[static_cast<size_t>(row) * static_cast<size_t>(imageWidth) +
                              static_cast<size_t>(column)];
        coordinateLabel->setText(QString::asprintf("(%d X %d) (%d)", column, row, value));
        return;
    }
    const QRgb pixel = screen.pixel(x, y);
    coordinateLabel->setText(QString::asprintf("(%d X %d) (%d, %d, %d)", column, row, qRed(pixel),
                                               qGreen(pixel), qBlue(pixel)));
}

void qimage_frame::wheelEvent(QWheelEvent* event)
{
    const QPoint point = event->position().toPoint();
    const int turn = event->angleDelta().y();
    if (!mouseEnabled || !insideViewport(point.x(), point.y()) || turn == 0) {
        event->ignore();
        return;
    }
    event->accept();
    if (event->modifiers() == Qt::ControlModifier && event->buttons() == Qt::NoButton) {
        if (turn > 0)
            emit wheelCtlUp();
        else
            emit wheelCtlDown();
        return;
    }
    if (turn > 0)
        ZoomFactorUp(point.x(), point.y());
    else if (zoom > 1)
        ZoomFactorDown();
    emitZoomFactor();
    display_image_zoomed();
}

QLabel* qimage_frame::initCoordinateLabel(QWidget* parent)
{
    if (coordinateLabel)
        delete coordinateLabel;
    coordinateLabel = new QLabel(QStringLiteral("(xPos X yPos) (Color)"), parent);
    setMouseTracking(true);
    return coordinateLabel;
}

void qimage_frame::addResizeButtons(QWidget* parent, QBoxLayout* box)
{
    auto* plus = new QPushButton(QStringLiteral("+"), parent);
    plus->setObjectName(QStringLiteral("Resize Image View Bigger"));
    plus->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(plus, &QPushButton::clicked, this, &qimage_frame::bigger);
    auto* minus = new QPushButton(QStringLiteral("-"), parent);
    minus->setObjectName(QStringLiteral("Make Image View Smaller"));
    minus->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(minus, &QPushButton::clicked, this, &qimage_frame::smaller);
    box->addWidget(plus);
    box->addWidget(minus);
}

QWidget* qimage_frame::resizeButtonsWidget(QWidget* parent, bool horizontal)
{
    auto* holder = new QWidget(parent);
    holder->setObjectName(QStringLiteral("Resize Buttons"));
    QBoxLayout* box =
        horizontal ? static_cast<QBoxLayout*>(new QHBoxLayout(holder)) : new QVBoxLayout(holder);
    if (horizontal)
        box->setSpacing(5);
    addResizeButtons(holder, box);
    box->addStretch();
    return holder;
}

QWidget* qimage_frame::initResizeHButtons(QWidget* parent)
{
    return resizeButtonsWidget(parent, true);
}

QWidget* qimage_frame::initResizeVButtons(QWidget* parent)
{
    return resizeButtonsWidget(parent, false);
}

QBoxLayout* qimage_frame::initControls(QWidget* parent)
{
    auto* box = new QHBoxLayout(parent);
    box->setSpacing(5);
    addResizeButtons(parent, box);
    box->addWidget(initCoordinateLabel(parent));
    return box;
}
