#include "ScreenFit.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace {

// The window manager's frame is known only once a window is mapped; until then a usual title bar and border
// (none where there is no window manager to draw one).
QMargins frameOf(const QWidget* window) {
    const QRect frame = window->frameGeometry();
    const QRect inner = window->geometry();
    const QMargins known(inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
                         frame.bottom() - inner.bottom());
    if (!known.isNull() || QGuiApplication::platformName() == QLatin1String("offscreen"))
        return known;
    return QMargins(2, 28, 2, 2);
}

class Fitter : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched->isWidgetType()) {
            auto* w = static_cast<QWidget*>(watched);
            const Qt::WindowType type = w->windowType();
            if (w->isWindow() && (type == Qt::Window || type == Qt::Dialog))
                ScreenFit::fit(w);
        }
        return false;
    }
};

} // namespace

QRect ScreenFit::available(const QWidget* window) {
    const QScreen* screen = window ? window->screen() : nullptr;
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

void ScreenFit::fit(QWidget* window) {
    if (!window || !window->isWindow())
        return;
    const QRect area = available(window);
    const QMargins frame = frameOf(window);
    const QSize room(area.width() - frame.left() - frame.right(), area.height() - frame.top() - frame.bottom());
    QSize size = window->size();
    if (size.width() > room.width() || size.height() > room.height()) {
        size = size.boundedTo(room).expandedTo(window->minimumSize());
        window->resize(size);
    }
    // Moved only as far as needed for the whole frame to be on the screen.
    QPoint at = window->pos(); // the frame's top-left corner
    const int outerWidth = size.width() + frame.left() + frame.right();
    const int outerHeight = size.height() + frame.top() + frame.bottom();
    at.setX(std::max(area.left(), std::min(at.x(), area.right() + 1 - outerWidth)));
    at.setY(std::max(area.top(), std::min(at.y(), area.bottom() + 1 - outerHeight)));
    if (at != window->pos())
        window->move(at);
}

void ScreenFit::install() {
    static Fitter* fitter = nullptr;
    if (fitter || !qApp)
        return;
    fitter = new Fitter(qApp);
    qApp->installEventFilter(fitter);
}
