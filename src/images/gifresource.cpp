#include "images/gifresource.h"

#include "images/gifdecoder.h"

#include <QFile>

QString gifResourcePath(int identifier)
{
    return QStringLiteral(":/pictures/gif%1.gif").arg(identifier);
}

std::optional<PackedDib> LoadGifResource(int identifier)
{
    return loadGifFile(gifResourcePath(identifier));
}

std::optional<PackedDib> loadGifFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    return decodeGif(std::span(reinterpret_cast<const std::uint8_t *>(bytes.constData()), std::size_t(bytes.size())));
}
