#include "app/appicon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

// The shapes of the installed palcomir.svg, on its 128-unit grid.
QPainterPath letterP()
{
    QPainterPath path;
    path.setFillRule(Qt::OddEvenFill);
    path.moveTo(44, 33);
    path.lineTo(66, 33);
    path.cubicTo(77.5, 33, 85, 39.5, 85, 49);
    path.cubicTo(85, 58.5, 77.5, 65, 66, 65);
    path.lineTo(57.5, 65);
    path.lineTo(57.5, 80);
    path.lineTo(44, 80);
    path.closeSubpath();
    path.moveTo(57.5, 43.5);
    path.lineTo(57.5, 54.5);
    path.lineTo(64.5, 54.5);
    path.cubicTo(69, 54.5, 71.5, 52.5, 71.5, 49);
    path.cubicTo(71.5, 45.5, 69, 43.5, 64.5, 43.5);
    path.closeSubpath();
    return path;
}

QPixmap keyPicture(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 128.0, size / 128.0);
    const QColor ink(31, 78, 140);
    painter.setPen(QPen(ink, 5.33));
    painter.setBrush(QColor(232, 240, 252));
    painter.drawRoundedRect(QRectF(7.68, 7.68, 112.64, 112.64), 23.04, 23.04);
    // The key's top face, a little lighter, as on a real keycap.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(250, 252, 255));
    painter.drawRoundedRect(QRectF(23.04, 17.92, 81.92, 76.8), 16.13, 16.13);
    painter.setBrush(ink);
    painter.drawPath(letterP());
    return pixmap;
}

} // namespace

QIcon drawnPalcomirIcon()
{
    QIcon icon;
    for (int size : { 16, 24, 32, 48, 64, 128 })
        icon.addPixmap(keyPicture(size));
    return icon;
}
