#include "app/appicon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

QPixmap keyPicture(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal margin = size * 0.06;
    const QRectF key(margin, margin, size - 2 * margin, size - 2 * margin);
    const qreal radius = size * 0.18;
    painter.setPen(QPen(QColor(31, 78, 140), qMax(1.0, size / 24.0)));
    painter.setBrush(QColor(232, 240, 252));
    painter.drawRoundedRect(key, radius, radius);
    // The key's top face, a little lighter, as on a real keycap.
    const QRectF face = key.adjusted(size * 0.12, size * 0.08, -size * 0.12, -size * 0.2);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(250, 252, 255));
    painter.drawRoundedRect(face, radius * 0.7, radius * 0.7);
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(qMax(6, int(face.height() * 0.8)));
    painter.setFont(font);
    painter.setPen(QColor(31, 78, 140));
    painter.drawText(face, Qt::AlignCenter, QStringLiteral("P"));
    return pixmap;
}

} // namespace

QIcon palcomirIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128})
        icon.addPixmap(keyPicture(size));
    return icon;
}
