#include "common/dibpixels.h"
#include "images/gifdecoder.h"
#include "images/gifresource.h"
#include "images/packeddib.h"
#include "lessons/keyboardkeys.h"

#include <QFile>
#include <QFileInfo>
#include <QtTest>

namespace {

struct Colour {
    int red, green, blue;
    friend bool operator==(const Colour &, const Colour &) = default;
};

// The colours a picture was drawn with, as its source lists them.
QList<Colour> sourcePalette(int number, int scale)
{
    QFile file(qEnvironmentVariable("PALCOMIR_SOURCE_DIR") + QStringLiteral("/tools/pictures/palettes/")
        + QFileInfo(gifResourcePath(number, scale)).completeBaseName() + QStringLiteral(".txt"));
    QList<Colour> colours;
    if (!file.open(QIODevice::ReadOnly))
        return colours;
    for (const QByteArray &line : file.readAll().split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (line.startsWith('#') || fields.size() < 4)
            continue;
        colours << Colour { fields[1].toInt(), fields[2].toInt(), fields[3].toInt() };
    }
    return colours;
}

Colour colourAt(const PackedDib &dib, int index)
{
    const std::uint8_t *entry = dib.bytes().data() + dib.headerSize() + 4 * std::size_t(index);
    return { entry[2], entry[1], entry[0] };
}

int luma(const Colour &c)
{
    return (299 * c.red + 587 * c.green + 114 * c.blue) / 1000;
}

// The pixels of a key's area on the picture drawn `scale` times its size:
// one rectangle, or the two of the L-shaped Enter.
QSet<QPoint> areaOf(const std::array<KeyArea, 2> &area, int areaCount, int scale)
{
    QSet<QPoint> pixels;
    for (int r = 0; r < areaCount; ++r) {
        const KeyArea a = scaledKeyArea(area[r], scale);
        for (int y = a.top; y < a.top + a.height; ++y) {
            for (int x = a.left; x < a.left + a.width; ++x)
                pixels.insert(QPoint(x, y));
        }
    }
    return pixels;
}

} // namespace

class TestShippedPictures : public QObject
{
    Q_OBJECT

private slots:
    // Each picture of the program decodes from the program's resources at its
    // size, in the colours it was drawn with; so does the one drawn at twice
    // the size, exactly twice as wide and high, within the decoder's limit.
    void decodeInTheirColours_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<int>("scale");
        QTest::addColumn<QSize>("size");
        for (const int scale : { 1, 2 }) {
            for (int n = 1; n <= 6; ++n)
                QTest::addRow("title page %d at %dx", n, scale) << n << scale << QSize(638, 418);
            QTest::addRow("keyboard at %dx", scale) << 100 << scale << QSize(638, 193);
            QTest::addRow("about at %dx", scale) << 200 << scale << QSize(500, 375);
            QTest::addRow("fingering chart at %dx", scale) << 300 << scale << QSize(637, 279);
        }
    }

    void decodeInTheirColours()
    {
        QFETCH(int, number);
        QFETCH(int, scale);
        QFETCH(QSize, size);
        const std::optional<PackedDib> dib = LoadGifResource(number, scale);
        QVERIFY(dib);
        QCOMPARE(QSize(dib->width(), dib->height()), size * scale);
        QVERIFY(dib->width() <= kGifMaxWidth);
        const QList<Colour> source = sourcePalette(number, scale);
        QVERIFY(!source.isEmpty() && source.size() <= dib->colourCount());
        for (int i = 0; i < source.size(); ++i)
            QVERIFY2(colourAt(*dib, i) == source[i], qPrintable(QStringLiteral("colour %1").arg(i)));
        std::vector<bool> used(std::size_t(dib->colourCount()), false);
        for (const std::uint8_t pixel : dibPixels(*dib))
            used[pixel] = true;
        // Every colour is drawn, and nothing outside the source's colours.
        for (int i = 0; i < dib->colourCount(); ++i)
            QCOMPARE(bool(used[std::size_t(i)]), i < source.size());
    }

    // Every key of the lesson's tables lies on a key of the keyboard picture:
    // a dark outline all round and one light face inside, so the highlight
    // tints the face and leaves the labels readable.
    void keyTablesLieOnKeyFaces_data()
    {
        QTest::addColumn<int>("scale");
        QTest::newRow("ordinary size") << 1;
        QTest::newRow("twice the size, on the scaled tables") << 2;
    }

    void keyTablesLieOnKeyFaces()
    {
        QFETCH(int, scale);
        const std::optional<PackedDib> dib = LoadGifResource(100, scale);
        QVERIFY(dib);
        const std::vector<std::uint8_t> pixels = dibPixels(*dib);
        auto colour = [&](QPoint p) { return colourAt(*dib, pixels[std::size_t(p.y() * dib->width() + p.x())]); };

        QList<std::pair<QString, QSet<QPoint>>> keys;
        for (const TKP &key : MainKeys)
            keys.append({ QStringLiteral("key %1").arg(key.character), areaOf(key.area, key.areaCount, scale) });
        for (const KeypadKey &key : KeypadKeys)
            keys.append({ QStringLiteral("keypad %1").arg(key.character), areaOf({ key.area, {} }, 1, scale) });
        for (const auto &[name, area] : std::as_const(keys)) {
            std::optional<Colour> face;
            int facePixels = 0;
            for (const QPoint p : area) {
                const bool edge = !area.contains(p + QPoint(1, 0)) || !area.contains(p - QPoint(1, 0))
                    || !area.contains(p + QPoint(0, 1)) || !area.contains(p - QPoint(0, 1));
                const Colour c = colour(p);
                if (edge) {
                    QVERIFY2(luma(c) < 100, qPrintable(name + QStringLiteral(": a light outline")));
                } else if (luma(c) >= 100) {
                    QVERIFY2(!face || *face == c, qPrintable(name + QStringLiteral(": two light colours")));
                    face = c;
                    ++facePixels;
                }
            }
            QVERIFY2(face && luma(*face) > 200 && facePixels * 2 > area.size(),
                qPrintable(name + QStringLiteral(": no light face")));
        }
    }
};

QTEST_MAIN(TestShippedPictures)
#include "tst_shippedpictures.moc"
