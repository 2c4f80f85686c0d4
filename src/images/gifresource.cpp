#include "images/gifresource.h"

#include "images/gifdecoder.h"
#include "widgets/viewzoom.h"

#include <QFile>
#include <QGuiApplication>

int pictureScale(qreal scaleFactor)
{
    return scaleFactor > 1 ? 2 : 1;
}

qreal screenScaleFactor()
{
    return (qGuiApp ? qGuiApp->devicePixelRatio() : 1.0) * ViewZoom::factor();
}

QString gifResourcePath(int identifier, int scale)
{
    if (scale > 1)
        return QStringLiteral(":/pictures/gif%1@%2x.gif").arg(identifier).arg(scale);
    return QStringLiteral(":/pictures/gif%1.gif").arg(identifier);
}

std::optional<PackedDib> LoadGifResource(int identifier, int scale)
{
    return loadGifFile(gifResourcePath(identifier, scale));
}

ScaledPicture loadScaledPicture(int identifier, qreal scaleFactor)
{
    const int scale = pictureScale(scaleFactor);
    if (scale > 1) {
        if (std::optional<PackedDib> dib = LoadGifResource(identifier, scale))
            return { std::move(dib), scale };
    }
    return { LoadGifResource(identifier), 1 };
}

std::optional<PackedDib> loadGifFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    return decodeGif(std::span(reinterpret_cast<const std::uint8_t *>(bytes.constData()), std::size_t(bytes.size())));
}
