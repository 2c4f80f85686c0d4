#include "images/thintwindow.h"

#include "images/chartgeometry.h"
#include "images/dibdrawing.h"
#include "images/gifresource.h"
#include "widgets/viewzoom.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

THintWindow::THintWindow(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
{
    setWindowTitle(QStringLiteral("Ściąga"));
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    // Without its picture the window is only its border.
    if (const ScaledPicture picture = loadScaledPicture(kPicture, screenScaleFactor()); picture.dib)
        m_picture = dibToImage(*picture.dib, picture.scale);
    const QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    const QRect desktop = screen ? screen->geometry() : QRect();
    const QSize shown = (m_picture.deviceIndependentSize() * ViewZoom::factor()).toSize();
    const ChartGeometry g = chartGeometry(shown.width(), shown.height(), desktop.width(), desktop.height());
    setGeometry(desktop.left() + g.x, desktop.top() + g.y, g.width, g.height);
    setFixedSize(g.width, g.height);
}

void THintWindow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.translate(1, 1);
    painter.scale(ViewZoom::factor(), ViewZoom::factor());
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(0, 0, m_picture);
}

void THintWindow::keyPressEvent(QKeyEvent *event)
{
    // F2 is the key that shows the chart: pressed again it keeps it in front.
    if (event->key() == Qt::Key_F2) {
        raise();
        activateWindow();
        return;
    }
    close();
}

void THintWindow::keyReleaseEvent(QKeyEvent *event)
{
    event->ignore();
}

void THintWindow::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        close();
}
