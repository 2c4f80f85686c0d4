#include "common/gifencoder.h"
#include "images/gifdecoder.h"
#include "images/packeddib.h"
#include "images/stretch.h"

#include <QtTest>

namespace {

using Bytes = std::vector<std::uint8_t>;

void put16(Bytes &block, std::size_t at, unsigned value)
{
    block[at] = std::uint8_t(value);
    block[at + 1] = std::uint8_t(value >> 8);
}

void put32(Bytes &block, std::size_t at, std::uint32_t value)
{
    put16(block, at, value & 0xFFFF);
    put16(block, at + 2, value >> 16);
}

// A core header block: 12 bytes, then 3-byte entries, then rows.
Bytes coreBlock(int width, int height, int bits, std::size_t tableAndRows)
{
    Bytes block(12 + tableAndRows);
    put32(block, 0, 12);
    put16(block, 4, unsigned(width));
    put16(block, 6, unsigned(height));
    put16(block, 8, 1);
    put16(block, 10, unsigned(bits));
    return block;
}

// An information header block with the given colours-used field.
Bytes infoBlock(std::uint32_t width, int height, int bits, std::uint32_t coloursUsed, std::size_t tableAndRows)
{
    Bytes block(40 + tableAndRows);
    put32(block, 0, 40);
    put32(block, 4, width);
    put32(block, 8, std::uint32_t(height));
    put16(block, 12, 1);
    put16(block, 14, unsigned(bits));
    put32(block, 32, coloursUsed);
    return block;
}

Bytes cut(Bytes block, std::size_t length)
{
    block.resize(length);
    return block;
}

} // namespace

Q_DECLARE_METATYPE(Bytes)

class TestPackedDib : public QObject
{
    Q_OBJECT

private slots:
    void headerForms_data()
    {
        QTest::addColumn<Bytes>("block");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("colours");
        QTest::addColumn<int>("pixelOffset");
        QTest::newRow("core, 1 bit") << coreBlock(30, 2, 1, 6 + 8) << 30 << 2 << 2 << 18;
        QTest::newRow("core, 4 bits") << coreBlock(7, 3, 4, 48 + 12) << 7 << 3 << 16 << 60;
        QTest::newRow("core, 8 bits") << coreBlock(640, 1, 8, 768 + 640) << 640 << 1 << 256 << 780;
        QTest::newRow("core, 24 bits") << coreBlock(4, 1, 24, 12) << 4 << 1 << 0 << 12;
        QTest::newRow("information, 8 bits, colours used 0")
            << infoBlock(3, 2, 8, 0, 1024 + 8) << 3 << 2 << 256 << 1064;
        QTest::newRow("information, 8 bits, colours used 5") << infoBlock(3, 2, 8, 5, 20 + 8) << 3 << 2 << 5 << 60;
        QTest::newRow("information, 24 bits") << infoBlock(1, 1, 24, 0, 4) << 1 << 1 << 0 << 40;
        // Width and height are taken as 16-bit values.
        QTest::newRow("information, wide field") << infoBlock(0x10005, 1, 1, 0, 8 + 4) << 5 << 1 << 2 << 48;
    }

    void headerForms()
    {
        QFETCH(Bytes, block);
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, colours);
        QFETCH(int, pixelOffset);
        const PackedDib dib(block);
        QCOMPARE(dib.width(), width);
        QCOMPARE(dib.height(), height);
        QCOMPARE(dib.colourCount(), colours);
        QCOMPARE(int(dib.pixelDataOffset()), pixelOffset);
        QCOMPARE(dib.pixels().size(), block.size() - std::size_t(pixelOffset));
    }

    // A block too short for what its header claims reads as nothing.
    void shortBlocks_data()
    {
        QTest::addColumn<Bytes>("block");
        QTest::newRow("empty") << Bytes();
        QTest::newRow("3 bytes") << Bytes { 40, 0, 0 };
        QTest::newRow("information header cut at 30 bytes") << cut(infoBlock(2, 2, 8, 0, 0), 30);
        QTest::newRow("core header cut at 11 bytes") << cut(coreBlock(2, 2, 8, 0), 11);
        QTest::newRow("256 colours, room for 10") << infoBlock(2, 2, 8, 0, 40);
        QTest::newRow("colours used 2^32 - 1") << infoBlock(2, 2, 8, 0xFFFFFFFF, 2000);
        QTest::newRow("core table cut short") << coreBlock(2, 2, 4, 47);
    }

    void shortBlocks()
    {
        QFETCH(Bytes, block);
        const PackedDib dib(block);
        QCOMPARE(dib.colourCount(), 0);
        QCOMPARE(dib.pixelDataOffset(), std::size_t(0));
        QVERIFY(dib.pixels().empty());
        QVERIFY(!makePalette(dib));
    }

    void palette_data()
    {
        QTest::addColumn<Bytes>("block");
        QTest::addColumn<QList<int>>("entries"); // red, green, blue of each
        Bytes info = infoBlock(8, 1, 1, 0, 8 + 4);
        const Bytes infoTable { 3, 2, 1, 0, 30, 20, 10, 0 };
        std::copy(infoTable.begin(), infoTable.end(), info.begin() + 40);
        QTest::newRow("2 colours") << info << QList<int> { 1, 2, 3, 10, 20, 30 };
        Bytes core = coreBlock(8, 1, 1, 6 + 4);
        const Bytes coreTable { 3, 2, 1, 30, 20, 10 };
        std::copy(coreTable.begin(), coreTable.end(), core.begin() + 12);
        QTest::newRow("core header, 2 colours") << core << QList<int> { 1, 2, 3, 10, 20, 30 };
        QTest::newRow("no colours") << infoBlock(1, 1, 24, 0, 4) << QList<int>();
    }

    void palette()
    {
        QFETCH(Bytes, block);
        QFETCH(QList<int>, entries);
        const std::optional<LogicalPalette> palette = makePalette(PackedDib(block));
        QCOMPARE(palette.has_value(), !entries.isEmpty());
        if (!palette)
            return;
        QCOMPARE(palette->version, std::uint16_t(0x300));
        QList<int> got;
        for (const PaletteEntry &e : palette->entries) {
            got << e.red << e.green << e.blue;
            QCOMPARE(e.flags, std::uint8_t(0));
        }
        QCOMPARE(got, entries);
    }

    void paletteOfEightBitPicture()
    {
        const std::optional<LogicalPalette> palette = makePalette(*PackedDib::blank(4, 4, 8));
        QVERIFY(palette);
        QCOMPARE(palette->entries.size(), std::size_t(256));
    }

    void stretchedSize_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("resultWidth");
        QTest::addColumn<int>("resultHeight");
        QTest::newRow("50 per cent") << 0 << 50 << 319 << 209;
        QTest::newRow("33 per cent, rounded down") << 0 << 33 << 210 << 137;
        QTest::newRow("200 per cent") << 0 << 200 << 1276 << 836;
        QTest::newRow("given size") << 100 << 40 << 100 << 40;
        QTest::newRow("negative") << 0 << -50 << 0 << 0;
    }

    void stretchedSize()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, resultWidth);
        QFETCH(int, resultHeight);
        QCOMPARE(::stretchedSize(638, 418, width, height), (PictureSize { resultWidth, resultHeight }));
    }

    void stretchMap_data()
    {
        QTest::addColumn<int>("source");
        QTest::addColumn<QList<int>>("map");
        QTest::newRow("doubled") << 3 << QList<int> { 0, 0, 1, 1, 2, 2 };
        QTest::newRow("halved") << 6 << QList<int> { 1, 3, 5 };
        QTest::newRow("one line repeated") << 4 << QList<int> { 0, 1, 2, 2, 3 };
        QTest::newRow("one line dropped") << 5 << QList<int> { 0, 1, 3, 4 };
        QTest::newRow("same size") << 4 << QList<int> { 0, 1, 2, 3 };
    }

    void stretchMap()
    {
        QFETCH(int, source);
        QFETCH(QList<int>, map);
        const std::vector<int> got = ::stretchMap(source, int(map.size()));
        QCOMPARE(QList<int>(got.begin(), got.end()), map);
    }

    // Enlarging repeats lines and never drops one; reducing drops lines and
    // never repeats one; the order is kept.
    void stretchMapKeepsOrder()
    {
        for (int source = 1; source <= 40; ++source) {
            for (int dest = 1; dest <= 40; ++dest) {
                const std::vector<int> map = ::stretchMap(source, dest);
                for (std::size_t i = 0; i < map.size(); ++i) {
                    QVERIFY(map[i] >= 0 && map[i] < source);
                    if (i > 0) {
                        const int step = map[i] - map[i - 1];
                        QVERIFY2(dest >= source ? step == 0 || step == 1 : step >= 1,
                            qPrintable(QString("%1 to %2").arg(source).arg(dest)));
                    }
                }
            }
        }
    }

    void bmpFile()
    {
        GifOptions options;
        options.colours.resize(4);
        const PackedDib dib = *decodeGif(encodeGif(3, 2, Bytes(6, 1), options));
        const Bytes file = bmpFileBytes(dib);
        const Bytes header { 'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 14 + 40 + 64, 0, 0, 0 };
        Bytes expected = header;
        put32(expected, 2, std::uint32_t(14 + dib.size()));
        expected.insert(expected.end(), dib.bytes().begin(), dib.bytes().end());
        QCOMPARE(file, expected);
    }
};

QTEST_APPLESS_MAIN(TestPackedDib)
#include "tst_packeddib.moc"
