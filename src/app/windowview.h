#pragma once

#include <optional>

#include <QObject>
#include <QPoint>

class QAction;
class QMainWindow;
struct TOptions;

// How large the main window is shown: a zoom step in a window, or the full
// screen with the layout scaled to fit and centred. Owns the four commands
// (larger, smaller, the layout's own size, full screen) and keeps the
// choice in the options, where it is saved with them.
class WindowView : public QObject
{
    Q_OBJECT

public:
    WindowView(QMainWindow *window, TOptions &options);

    QAction *zoomInAction() const { return m_zoomIn; }
    QAction *zoomOutAction() const { return m_zoomOut; }
    QAction *normalSizeAction() const { return m_normalSize; }
    QAction *fullScreenAction() const { return m_fullScreen; }

    // The zoom step of the window (also while the full screen is shown):
    // the one chosen, or the screen's own while none is.
    int percent() const;
    bool fullScreen() const;
    void setPercent(int percent);
    void setFullScreen(bool on);

    // The teacher's locks: the zoom and the full screen stay as set.
    void setLocks(bool zoom, bool fullScreen);

    // Sizes the window, the program's zoom and the client for the choice
    // in force; called again for a new client.
    void apply();

private:
    // The largest step whose window fits on the screen.
    int largestStep() const;
    void updateActions();

    QMainWindow *m_window;
    TOptions &m_options;
    QAction *m_zoomIn;
    QAction *m_zoomOut;
    QAction *m_normalSize;
    QAction *m_fullScreen;
    bool m_zoomLocked = false;
    bool m_fullScreenLocked = false;
    std::optional<QPoint> m_windowPlace; // where the window was before the full screen
};
