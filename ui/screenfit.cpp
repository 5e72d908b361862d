#include "ui/screenfit.h"

#include <QEvent>
#include <QMainWindow>
#include <QPointer>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <QVariant>

namespace screenfit {

namespace {

const char kDesignSize[] = "screenfitDesignSize";

QSize designSize(QMainWindow *window)
{
    return window->property(kDesignSize).toSize();
}

// Until the window is shown its frame is unknown: reserve a title bar and two borders for it.
int frameHeight(QMainWindow *window)
{
    if (window->isVisible())
        return window->frameGeometry().height() - window->height();
    return window->style()->pixelMetric(QStyle::PM_TitleBarHeight)
           + 2 * window->style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
}

int roomOf(QMainWindow *window)
{
    const QScreen *screen = window->screen();
    return screen ? screen->availableGeometry().height() : designSize(window).height();
}

// The window's width follows the vertical scroll bar, so the page is never cut at the side.
class WidthKeeper : public QObject {
public:
    WidthKeeper(QMainWindow *window, QScrollBar *bar) : QObject(bar), window(window), bar(bar) {}
    void apply()
    {
        const int width = designSize(window).width() + (bar->isVisibleTo(window) ? bar->sizeHint().width() : 0);
        if (window->minimumWidth() != width || window->maximumWidth() != width)
            window->setFixedWidth(width);
    }
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == bar && (event->type() == QEvent::Show || event->type() == QEvent::Hide))
            apply();
        else if (watched == window && event->type() == QEvent::Show && !refitted) {
            // The frame is known once the window manager has framed it.
            refitted = true;
            const QPointer<QMainWindow> w(window);
            QTimer::singleShot(0, window, [w] {
                if (w)
                    fitTo(w, roomOf(w));
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QMainWindow *window;
    QScrollBar *bar;
    bool refitted = false;
};

} // namespace

void install(QMainWindow *window, QScrollArea *area)
{
    window->setProperty(kDesignSize, window->maximumSize());
    // The page keeps its design size: below it the scroll area scrolls instead of squeezing it.
    const int border = 2 * area->frameWidth();
    area->widget()->setMinimumSize(window->maximumSize() - QSize(border, border));
    // The window widens by the vertical bar instead, so the page never needs a horizontal one
    // (Qt 6 would otherwise keep the one it showed before the window had widened).
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto *keeper = new WidthKeeper(window, area->verticalScrollBar());
    area->verticalScrollBar()->installEventFilter(keeper);
    window->installEventFilter(keeper);
    fitTo(window, roomOf(window));
}

void fitTo(QMainWindow *window, int roomHeight)
{
    const QSize design = designSize(window);
    const int height = qMin(design.height(), roomHeight - frameHeight(window));
    window->resize(window->width(), qMax(height, 100));
    // Shown below the desktop's top panel when it would reach past the screen's usable part.
    const QScreen *screen = window->screen();
    if (window->isVisible() && screen && roomHeight == screen->availableGeometry().height()) {
        const QRect room = screen->availableGeometry();
        if (window->frameGeometry().top() < room.top() || window->frameGeometry().bottom() > room.bottom())
            window->move(window->x(), room.top());
    }
}

} // namespace screenfit
