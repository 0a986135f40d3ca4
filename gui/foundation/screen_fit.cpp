#include "gui/foundation/screen_fit.h"

#include <QEvent>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

namespace {

const QString scroll_area_name = QStringLiteral("Window Scroll Area");
const QString fit_name = QStringLiteral("Screen Fit");

// A scroll area that asks for room for its whole content: QScrollArea's own
// hint is cut to a few dozen text lines, far less than an image.
class ContentScrollArea : public QScrollArea {
public:
    using QScrollArea::QScrollArea;

    QSize sizeHint() const override
    {
        if (widget() == nullptr)
            return QScrollArea::sizeHint();
        const int frame = 2 * frameWidth();
        return widget()->sizeHint() + QSize(frame, frame);
    }
};

// `lowest` when the span does not fit between lowest and end.
int clamped(int start, int span, int lowest, int end)
{
    return std::max(lowest, std::min(start, end - span));
}

class ScreenFit : public QObject {
public:
    explicit ScreenFit(QWidget* window) : QObject(window), window(window)
    {
        setObjectName(fit_name);
        window->installEventFilter(this);
    }

    void watch(QScrollArea* scrolled)
    {
        area = scrolled;
        content = scrolled->widget();
        content->installEventFilter(this);
        if (window->testAttribute(Qt::WA_Resized))
            given = window->size();
    }

protected:
    // Compares pointers only: the content also hears of children removed
    // while the window is being destroyed.
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == window)
            windowEvent(event);
        else if (watched == content && event->type() == QEvent::LayoutRequest &&
                 window->isVisible())
            fit(false);
        return false;
    }

private:
    // The window manager frames a window only once it maps it, after the
    // fit on showing. Its first answer (a move or a resize; a paint where no
    // window manager answers) tells the frame, and a window that does not
    // lie inside with it is fitted again. A window shown again keeps its
    // frame.
    void windowEvent(const QEvent* event)
    {
        if (event->type() == QEvent::Show && !event->spontaneous()) {
            fit(true);
            awaitingFrame = window->frameGeometry() == window->geometry();
            return;
        }
        const bool answer = event->type() == QEvent::Move || event->type() == QEvent::Resize ||
                            event->type() == QEvent::Paint;
        if (!awaitingFrame || !answer || !event->spontaneous())
            return;
        awaitingFrame = false;
        if (!freeArea().contains(window->frameGeometry()))
            fit(true);
    }

    QRect freeArea() const { return window->screen()->availableGeometry(); }

    // 1. The size the window wants: room for the whole content and what
    //    lies beside it, but no less
    //    than the size its owner gave it before building the content; or,
    //    without a scrolled content, the size its owner gave it.
    // 2. No more than the screen's free area less the window manager's
    //    frame (known once the window was mapped).
    // 3. The frame moved into that area.
    void fit(bool shown)
    {
        QSize wanted = window->size();
        if (area != nullptr) {
            // The area asks for its whole content; what lies beside it in
            // the window's layout adds to that.
            area->updateGeometry();
            wanted = window->layout()->totalSizeHint().expandedTo(given);
        }
        if (!shown && wanted == lastWanted)
            return;
        lastWanted = wanted;

        const QRect free = freeArea();
        const QSize frame = window->frameGeometry().size() - window->size();
        const QSize cap = free.size() - frame;
        // Room for the scroll bar of a side whose content cannot shrink to
        // fit, so that the other side still does.
        if (area != nullptr) {
            const int bar = area->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, area);
            const QSize least = content->minimumSizeHint();
            if (least.height() > cap.height())
                wanted.rwidth() += bar;
            if (least.width() > cap.width())
                wanted.rheight() += bar;
        }
        window->resize(wanted.boundedTo(cap));

        const QRect placed = window->frameGeometry();
        const QPoint inside(
            clamped(placed.x(), placed.width(), free.left(), free.left() + free.width()),
            clamped(placed.y(), placed.height(), free.top(), free.top() + free.height()));
        if (inside != placed.topLeft())
            window->move(inside);
    }

    QWidget* window;
    QScrollArea* area = nullptr;
    QWidget* content = nullptr;
    // The size given before the scrolled content was made; none when empty.
    QSize given;
    QSize lastWanted;
    bool awaitingFrame = false;
};

ScreenFit* fit_of(QWidget* window)
{
    auto* fit =
        static_cast<ScreenFit*>(window->findChild<QObject*>(fit_name, Qt::FindDirectChildrenOnly));
    return fit != nullptr ? fit : new ScreenFit(window);
}

}  // namespace

QWidget* vx_scrolled_content(QWidget* window)
{
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    return vx_scrolled_part(window, layout);
}

QWidget* vx_scrolled_part(QWidget* window, QBoxLayout* layout)
{
    auto* area = new ContentScrollArea(window);
    area->setObjectName(scroll_area_name);
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    // The controls keep the focus; the area scrolls to the one that has it.
    area->setFocusPolicy(Qt::NoFocus);
    auto* content = new QWidget;
    content->setObjectName(QStringLiteral("Window Content"));
    area->setWidget(content);
    layout->addWidget(area);
    fit_of(window)->watch(area);
    return content;
}

QWidget* vx_window_content(QWidget* window)
{
    const auto* area =
        window->findChild<QScrollArea*>(scroll_area_name, Qt::FindDirectChildrenOnly);
    return area != nullptr && area->widget() != nullptr ? area->widget() : window;
}

void vx_fit_to_screen(QWidget* window)
{
    fit_of(window);
}
