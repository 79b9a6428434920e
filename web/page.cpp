// SPDX-License-Identifier: GPL-3.0-or-later
#include "web/page.h"

#include <algorithm>
#include <string>

#include <QAccessible>
#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QInputMethodQueryEvent>
#include <QMargins>
#include <QMetaObject>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <qpa/qplatformwindow.h>
#include <qpa/qwindowsysteminterface.h>

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include "app/pendro_app.h"

namespace pendro::web {

namespace {

using emscripten::val;

// Qt's platform plugin takes typed text through a hidden text input of its own, the one input
// directly below <body>, which has the page's focus whenever a control of Pendro has Qt's. A
// tablet shows its keyboard for that element and chooses the kind by its inputmode, and a screen
// reader announces it by its label; Qt 6.8 leaves the one at "text" and the other empty, whatever
// has the focus. So both follow the focused control: the numeric keyboard for fields of digits,
// and the control's accessible name.
void followFocus(QObject* focus)
{
    const val document = val::global("document");
    val input = document.call<val>("querySelector", std::string("body > input[type=text]"));
    if (input.isNull() || input.isUndefined())
        return;
    Qt::InputMethodHints hints;
    QString name;
    if (focus) {
        QInputMethodQueryEvent query(Qt::ImHints);
        QCoreApplication::sendEvent(focus, &query);
        hints = Qt::InputMethodHints(query.value(Qt::ImHints).toInt());
        if (QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(focus))
            name = accessible->text(QAccessible::Name);
    }
    for (const char* attribute : { "autocomplete", "autocorrect", "autocapitalize" })
        input.call<void>("setAttribute", std::string(attribute), std::string("off"));
    input.set("spellcheck", false);
    input.call<void>("setAttribute", std::string("aria-label"), name.toStdString());
    const std::string mode = (hints & Qt::ImhDigitsOnly) ? "numeric" : "text";
    if (input["inputMode"].as<std::string>() == mode)
        return;
    input.set("inputMode", mode);
    // A keyboard already shown changes its kind when its element takes the focus anew; only a
    // touch screen shows one (the browser then lays out the page anew, which costs time).
    if (val::global("navigator")["maxTouchPoints"].as<int>() > 0
        && document["activeElement"].strictlyEquals(input)) {
        input.call<void>("blur");
        input.call<void>("focus");
    }
}

// A desktop's window manager places a new window where it can be seen whole; a page has none,
// and Qt puts every window at the page's top left corner. So each window, when it is shown the
// first time, stands a little below and right of the windows already open, as a window manager
// cascades them, and inside the page as far as its size allows.
class WindowPlacement final : public QObject
{
public:
    using QObject::QObject;

    // Places window unless it was placed before.
    void place(QWidget* window) const
    {
        if (window->property(PlacedProperty).toBool())
            return;
        window->setProperty(PlacedProperty, true);
        moveInside(window, Margin + Cascade * otherWindowsOpen(window));
    }

protected:
    bool eventFilter(QObject* object, QEvent* event) override
    {
        auto* window = qobject_cast<QWidget*>(object);
        // Qt places each control's accessibility element when the control is shown and not
        // again; after a zoom step the controls stand elsewhere in their window, where a
        // screen reader's touch exploration must find them. Only once the page's screen-reader
        // button has switched the elements on (web/start.js notes it).
        // A zoom step resizes the window before or after its controls move: the elements are
        // placed anew once the step is done, from the event loop.
        if (event->type() == QEvent::Resize && window && window->isWindow()
            && val::global("window")["pendroScreenReader"].isTrue()) {
            QMetaObject::invokeMethod(
                this,
                [window = QPointer<QWidget>(window)] {
                    if (window)
                        placeAccessibilityElements(window);
                },
                Qt::QueuedConnection);
        }
        // Placed once it stands in the page: Qt measures a window's frame (its title bar) in the
        // page, which has none to measure while the window is still hidden.
        if (event->type() == QEvent::Show && window && window->isWindow()
            && window->windowType() == Qt::Window) {
            QMetaObject::invokeMethod(
                this,
                [this, window = QPointer<QWidget>(window)] {
                    if (window)
                        place(window);
                },
                Qt::QueuedConnection);
        }
        return false;
    }

private:
    static void placeAccessibilityElements(QWidget* window)
    {
        for (QWidget* control : window->findChildren<QWidget*>()) {
            if (control->isVisible()) {
                QAccessibleEvent shown(control, QAccessible::ObjectShow);
                QAccessible::updateAccessibility(&shown);
            }
        }
    }

    static int otherWindowsOpen(const QWidget* window)
    {
        int open = 0;
        for (const QWidget* other : QApplication::topLevelWidgets()) {
            if (other != window && other->isVisible() && other->windowType() == Qt::Window)
                ++open;
        }
        return open;
    }

    // Puts the window's frame offset px from the page's top left corner, or as far towards it
    // as keeps the window inside the page.
    static void moveInside(QWidget* window, int offset)
    {
        const QRect page = window->screen()->availableGeometry();
        const QMargins frame(window->geometry().left() - window->frameGeometry().left(),
            window->geometry().top() - window->frameGeometry().top(),
            window->frameGeometry().right() - window->geometry().right(),
            window->frameGeometry().bottom() - window->geometry().bottom());
        const int left = std::max(page.left(),
            std::min(page.left() + offset, page.right() + 1 - window->frameGeometry().width()));
        const int top = std::max(page.top(),
            std::min(page.top() + offset, page.bottom() + 1 - window->frameGeometry().height()));
        window->move(left + frame.left(), top + frame.top());
    }

    static constexpr const char* PlacedProperty = "pendroPlacedInPage";
    static constexpr int Margin = 8; // px from the page's edge
    static constexpr int Cascade = 32; // px further for each window already open
};

// The browser's own zoom (its menu, Ctrl and the mouse wheel) changes the page's size and its
// device pixels per CSS pixel. Qt 6.8 takes the new size but goes on drawing every window at the
// old resolution, which the browser then scales and blurs; so the windows are told of the new
// resolution, get canvases of that many pixels and are drawn anew.
void followResolution()
{
    for (QWindow* window : QGuiApplication::topLevelWindows()) {
        if (!window->isVisible() || !window->handle())
            continue;
        window->handle()->setGeometry(window->geometry());
        QWindowSystemInterface::handleWindowDevicePixelRatioChanged<
            QWindowSystemInterface::SynchronousDelivery>(window);
    }
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible())
            widget->update();
    }
}

// The browser tells of a new resolution in two ways, and not every browser in both: a resize of
// the page (a zoom changes its size in CSS pixels), and a media query for the current resolution
// that stops matching. Either one, when the resolution is not the one the windows were drawn at,
// has them follow it; the media query is asked anew for the resolution of the moment.
double drawnAt = 0;

void watchResolution()
{
    const val window = val::global("window");
    const QString query = QStringLiteral("(resolution: %1dppx)")
                              .arg(window["devicePixelRatio"].as<double>(), 0, 'g', 17);
    val options = val::object();
    options.set("once", true);
    window.call<val>("matchMedia", query.toStdString())
        .call<void>("addEventListener", std::string("change"),
            val::module_property("pendroResolutionMayHaveChanged"), options);
}

void followIfChanged()
{
    const double ratio = val::global("window")["devicePixelRatio"].as<double>();
    if (ratio == drawnAt)
        return;
    drawnAt = ratio;
    followResolution();
    watchResolution();
}

// A browser may tell of the new size a moment before the new resolution holds (Chromium's
// emulation of a zoom does): a resize is looked at again shortly after.
void resolutionMayHaveChanged(val event)
{
    followIfChanged();
    if (event["type"].as<std::string>() == "resize") {
        for (const int delay : { 100, 500, 1500 })
            QTimer::singleShot(delay, qApp, &followIfChanged);
    }
}

void followTheResolution()
{
    drawnAt = val::global("window")["devicePixelRatio"].as<double>();
    val::global("window").call<void>("addEventListener", std::string("resize"),
        val::module_property("pendroResolutionMayHaveChanged"));
    watchResolution();
}

// The page shows that Pendro has ended and offers to start it again (web/start.js).
void tellThePageItEnded()
{
    const val event = val::global("CustomEvent").new_(std::string("pendro-ended"));
    val::global("window").call<void>("dispatchEvent", event);
}

} // namespace

int runInPage(int argc, char* argv[])
{
    QApplication* application = newPageApplication(argc, argv);
    configureApplication(*application);
    // What QApplication::exec() would do before its loop: screen readers start from here.
    QAccessible::setRootObject(application);
    auto* placement = new WindowPlacement(application);
    application->installEventFilter(placement);
    auto* pendro = new PendroApplication(application);
    pendro->zoomToLargestFit();
    QObject::connect(application, &QGuiApplication::focusObjectChanged, application, &followFocus);
    followTheResolution();
    followFocus(application->focusObject());
    // Qt tells of the last window closed only inside exec(); the main window takes every other
    // window along when it closes, so the page hears of it once they are all closed.
    QObject::connect(pendro->mainWindow(), &frmPendro::closingAll, application, &tellThePageItEnded,
        Qt::QueuedConnection);
    return 0;
}

} // namespace pendro::web

EMSCRIPTEN_BINDINGS(pendro_page)
{
    emscripten::function("pendroResolutionMayHaveChanged", &pendro::web::resolutionMayHaveChanged);
}
