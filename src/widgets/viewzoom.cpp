#include "widgets/viewzoom.h"

#include <QApplication>
#include <QFont>

namespace ViewZoom {
namespace {

qreal g_factor = 1.0;

} // namespace

qreal factor()
{
    return g_factor;
}

void setFactor(qreal factor)
{
    // The font the program started with, before any zoom.
    static const QFont base = QApplication::font();
    g_factor = factor;
    QFont font = base;
    if (base.pointSizeF() > 0)
        font.setPointSizeF(base.pointSizeF() * factor);
    else if (base.pixelSize() > 0)
        font.setPixelSize(qRound(base.pixelSize() * factor));
    if (font != QApplication::font())
        QApplication::setFont(font);
}

int scaled(int length)
{
    return qRound(length * g_factor);
}

QSize scaled(QSize size)
{
    return { scaled(size.width()), scaled(size.height()) };
}

} // namespace ViewZoom
