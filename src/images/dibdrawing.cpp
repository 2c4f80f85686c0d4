#include "images/dibdrawing.h"

#include "images/stretch.h"

#include <QWidget>

QImage dibToImage(const PackedDib &dib, int scale)
{
    const int bits = dib.bitsPerPixel();
    const std::span<const std::uint8_t> rows = dib.pixels();
    const int width = dib.width();
    const int height = dib.height();
    if ((bits != 1 && bits != 4 && bits != 8) || rows.empty() || width == 0 || height == 0)
        return {};

    QList<QRgb> colours(256, qRgb(0, 0, 0));
    if (const std::optional<LogicalPalette> palette = makePalette(dib)) {
        const qsizetype count = std::min<qsizetype>(256, qsizetype(palette->entries.size()));
        for (qsizetype i = 0; i < count; ++i) {
            const PaletteEntry &e = palette->entries[std::size_t(i)];
            colours[i] = qRgb(e.red, e.green, e.blue);
        }
    }
    QImage image(width, height, QImage::Format_Indexed8);
    if (image.isNull())
        return {};
    image.setColorTable(colours);
    image.setDevicePixelRatio(scale);
    const std::size_t stride = dib.stride();
    for (int y = 0; y < height; ++y) {
        const std::uint8_t *src = rows.data() + std::size_t(height - 1 - y) * stride;
        uchar *dst = image.scanLine(y);
        if (bits == 8) {
            std::copy_n(src, width, dst);
        } else if (bits == 4) {
            for (int x = 0; x < width; ++x)
                dst[x] = static_cast<uchar>(x % 2 ? src[x / 2] & 0x0F : src[x / 2] >> 4);
        } else {
            for (int x = 0; x < width; ++x)
                dst[x] = static_cast<uchar>(src[x / 8] >> (7 - x % 8) & 1);
        }
    }
    return image;
}

QImage stretchImage(const QImage &indexed, int width, int height)
{
    if (indexed.format() != QImage::Format_Indexed8 || width <= 0 || height <= 0)
        return {};
    QImage stretched(width, height, QImage::Format_Indexed8);
    if (stretched.isNull())
        return {};
    stretched.setColorTable(indexed.colorTable());
    stretched.setDevicePixelRatio(indexed.devicePixelRatio());
    const std::vector<int> columns = stretchMap(indexed.width(), width);
    const std::vector<int> rows = stretchMap(indexed.height(), height);
    for (int y = 0; y < height; ++y) {
        const uchar *src = indexed.constScanLine(rows[std::size_t(y)]);
        uchar *dst = stretched.scanLine(y);
        if (y > 0 && rows[std::size_t(y)] == rows[std::size_t(y) - 1]) {
            std::copy_n(stretched.constScanLine(y - 1), width, dst);
            continue;
        }
        for (int x = 0; x < width; ++x)
            dst[x] = src[columns[std::size_t(x)]];
    }
    return stretched;
}

bool realiseWindowPalette(QWidget *window, const LogicalPalette *palette, bool asBackground)
{
    Q_UNUSED(asBackground);
    if (!palette || !window)
        return false;
    window->update();
    return true;
}
