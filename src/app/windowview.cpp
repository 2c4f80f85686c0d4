#include "app/windowview.h"

#include "images/tcanvas.h"
#include "settings/toptions.h"
#include "widgets/viewzoom.h"

#include <algorithm>

#include <QAction>
#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>

namespace {

// The whole screen the window is on, or the part of it windows may take.
QRect screenArea(const QWidget *window, bool available = false)
{
    const QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return QRect(QPoint(), ViewZoom::kLayoutSize);
    return available ? screen->availableGeometry() : screen->geometry();
}

QRect availableArea(const QWidget *window)
{
    return screenArea(window, true);
}

} // namespace

WindowView::WindowView(QMainWindow *window, TOptions &options)
    : QObject(window)
    , m_window(window)
    , m_options(options)
    , m_zoomIn(new QAction(QStringLiteral("Po&większ"), this))
    , m_zoomOut(new QAction(QStringLiteral("Po&mniejsz"), this))
    , m_normalSize(new QAction(QStringLiteral("Wielkość &zwykła"), this))
    , m_fullScreen(new QAction(QStringLiteral("Pełny &ekran"), this))
{
    m_zoomIn->setShortcuts({ QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal) });
    m_zoomOut->setShortcuts({ QKeySequence(Qt::CTRL | Qt::Key_Minus) });
    m_normalSize->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
    m_fullScreen->setShortcut(QKeySequence(Qt::Key_F11));
    m_fullScreen->setCheckable(true);
    m_zoomIn->setStatusTip(QStringLiteral("Większe okno, litery i rysunki"));
    m_zoomOut->setStatusTip(QStringLiteral("Mniejsze okno, litery i rysunki"));
    m_normalSize->setStatusTip(QStringLiteral("Okno w zwykłej wielkości, 640 × 480"));
    m_fullScreen->setStatusTip(QStringLiteral("Okno na cały ekran"));
    for (QAction *action : { m_zoomIn, m_zoomOut, m_normalSize, m_fullScreen }) {
        action->setShortcutContext(Qt::WindowShortcut);
        window->addAction(action);
    }
    connect(m_zoomIn, &QAction::triggered, this, [this] { setPercent(ZoomSteps::nextStep(percent())); });
    connect(m_zoomOut, &QAction::triggered, this, [this] { setPercent(ZoomSteps::previousStep(percent())); });
    connect(m_normalSize, &QAction::triggered, this, [this] {
        m_options.FullScreen = false;
        setPercent(ZoomSteps::kSteps[0]);
    });
    connect(m_fullScreen, &QAction::triggered, this, [this] { setFullScreen(!fullScreen()); });
}

int WindowView::percent() const
{
    const QRect room = availableArea(m_window);
    const int chosen = m_options.Zoom ? m_options.Zoom : ZoomSteps::stepForScreen(room.width(), room.height());
    return std::min(chosen, largestStep());
}

bool WindowView::fullScreen() const
{
    return m_options.FullScreen.value_or(false);
}

void WindowView::setPercent(int percent)
{
    m_options.Zoom = std::min(ZoomSteps::stepFor(percent), largestStep());
    apply();
}

void WindowView::setFullScreen(bool on)
{
    m_options.FullScreen = on;
    apply();
}

int WindowView::largestStep() const
{
    const QRect room = availableArea(m_window);
    return ZoomSteps::largestFitting(room.width(), room.height());
}

void WindowView::apply()
{
    qreal zoom = percent() / 100.0;
    if (fullScreen()) {
        const QSize screen = screenArea(m_window).size();
        zoom = std::max(1.0,
            std::min(qreal(screen.width()) / ViewZoom::kLayoutSize.width(),
                qreal(screen.height()) / ViewZoom::kLayoutSize.height()));
    }
    ViewZoom::setFactor(zoom);
    if (fullScreen()) {
        if (!m_window->isFullScreen())
            m_windowPlace = m_window->pos();
        m_window->setMinimumSize(0, 0);
        m_window->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        m_window->setWindowState(m_window->windowState() | Qt::WindowFullScreen);
    } else {
        const bool wasFullScreen = m_window->isFullScreen();
        m_window->setFixedSize(ViewZoom::scaled(ViewZoom::kLayoutSize));
        m_window->setWindowState(m_window->windowState() & ~Qt::WindowFullScreen);
        // Back where the window was before the full screen.
        if (wasFullScreen && m_windowPlace)
            m_window->move(*m_windowPlace);
        // A larger window stays on the screen.
        const QRect room = availableArea(m_window);
        QRect frame = m_window->frameGeometry();
        if (m_window->isVisible() && !room.contains(frame)) {
            frame.moveRight(std::min(frame.right(), room.right()));
            frame.moveBottom(std::min(frame.bottom(), room.bottom()));
            frame.moveLeft(std::max(frame.left(), room.left()));
            frame.moveTop(std::max(frame.top(), room.top()));
            m_window->move(frame.topLeft());
        }
    }
    if (auto *canvas = qobject_cast<TCanvas *>(m_window->centralWidget()))
        canvas->setZoom(zoom);
    updateActions();
}

void WindowView::setLocks(bool zoom, bool fullScreen)
{
    m_zoomLocked = zoom;
    m_fullScreenLocked = fullScreen;
    updateActions();
}

void WindowView::updateActions()
{
    const bool window = !fullScreen();
    m_zoomIn->setEnabled(!m_zoomLocked && window && percent() < largestStep());
    m_zoomOut->setEnabled(!m_zoomLocked && window && percent() > ZoomSteps::kSteps[0]);
    m_normalSize->setEnabled(!m_zoomLocked && !m_fullScreenLocked);
    m_fullScreen->setEnabled(!m_fullScreenLocked);
    m_fullScreen->setChecked(!window);
}
