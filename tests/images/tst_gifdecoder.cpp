#include "common/dibpixels.h"
#include "common/gifencoder.h"
#include "images/gifdecoder.h"

#include <thread>

#include <QtTest>

namespace {

using Bytes = std::vector<std::uint8_t>;
using Codes = std::vector<std::pair<std::uint32_t, int>>;

std::optional<PackedDib> decode(const Bytes &file)
{
    return decodeGif(file);
}

QByteArray hex(std::span<const std::uint8_t> bytes)
{
    return QByteArray(reinterpret_cast<const char *>(bytes.data()), qsizetype(bytes.size())).toHex(' ');
}

std::uint32_t field32(const PackedDib &dib, std::size_t offset)
{
    const std::uint8_t *p = dib.bytes().data() + offset;
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}

Bytes header(const GifOptions &options)
{
    Bytes file = gifFile(1, 1, {}, options);
    file.resize(13 + (options.globalTable ? 3 * (2U << tableSizeField(options)) : 0));
    return file;
}

Bytes operator+(Bytes a, const Bytes &b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

} // namespace

Q_DECLARE_METATYPE(Bytes)
Q_DECLARE_METATYPE(GifOptions)
Q_DECLARE_METATYPE(Codes)

class TestGifDecoder : public QObject
{
    Q_OBJECT

private slots:
    void refused_data()
    {
        QTest::addColumn<Bytes>("file");
        GifOptions noTable = gifOptions(4);
        noTable.globalTable = false;
        // Twelve bytes, as long as a 4-colour table would be: read as one, the image would follow.
        noTable.beforeImage = { 0x21, 0xFE, 0x08, 1, 2, 3, 4, 5, 6, 7, 8, 0x00 };
        GifOptions localOnly = noTable;
        localOnly.localTable = true;
        const Bytes whole = encodeGif(5, 5, gifPattern(5, 5, 4), gifOptions(4));
        const Bytes top = header(gifOptions(4));
        const auto withSignature = [](const char *signature) {
            GifOptions options = gifOptions(4);
            options.signature = signature;
            return encodeGif(7, 5, gifPattern(7, 5, 4), options);
        };
        QTest::newRow("fifth byte not a digit") << withSignature("GIF8a9");
        QTest::newRow("only the fifth byte wrong") << withSignature("GIF8aa");
        QTest::newRow("only the fourth byte wrong") << withSignature("GIFa9a");
        QTest::newRow("sixth byte below A") << withSignature("GIF89@");
        QTest::newRow("sixth byte above z") << withSignature("GIF89{");
        QTest::newRow("lower-case gif") << withSignature("gif89a");
        QTest::newRow("empty") << Bytes();
        QTest::newRow("no global table") << encodeGif(5, 5, gifPattern(5, 5, 4), noTable);
        QTest::newRow("only a local table") << encodeGif(5, 5, gifPattern(5, 5, 4), localOnly);
        QTest::newRow("header cut short") << Bytes(whole.begin(), whole.begin() + 12);
        QTest::newRow("colour table cut short") << Bytes(whole.begin(), whole.begin() + 13 + 11);
        QTest::newRow("nothing after the table") << top;
        QTest::newRow("descriptor cut short") << Bytes(whole.begin(), whole.begin() + 13 + 12 + 9);
        QTest::newRow("trailer before the image") << top + Bytes { 0x3B } + Bytes(whole.begin() + 25, whole.end());
        QTest::newRow("unknown block before the image")
            << top + Bytes { 0x00 } + Bytes(whole.begin() + 25, whole.end());
        QTest::newRow("extension cut short") << top + Bytes { 0x21, 0xFE, 0x05, 'a', 'b' };
        QTest::newRow("extension without its end") << top + Bytes { 0x21, 0xFE, 0x01, 'a' };
        QTest::newRow("2050 pixels wide") << encodeGif(2050, 1, Bytes(2050, 1), gifOptions(4));
        // 2049 x 65535 pixels could never come from a few bytes of LZW data.
        QTest::newRow("huge picture from a tiny file") << gifFile(2049, 65535, packCodes({ { 4, 3 }, { 1, 3 } }));
        Bytes cutData = encodeGif(2049, 8000, Bytes(2049 * 8000, 1), gifOptions(4));
        cutData.resize(80);
        QTest::newRow("large picture cut to 80 bytes") << cutData;
    }

    void refused()
    {
        QFETCH(Bytes, file);
        QVERIFY(!decode(file));
    }

    // The depth and the stride follow from the size of the GIF's table; the
    // header and colour table are those of a Windows bitmap.
    void depthAndLayout_data()
    {
        QTest::addColumn<int>("tableSize");
        QTest::addColumn<int>("bits");
        QTest::addColumn<int>("colourCount");
        QTest::addColumn<int>("stride");
        QTest::newRow("2 colours") << 2 << 1 << 2 << 80;
        QTest::newRow("4 colours") << 4 << 4 << 16 << 320;
        QTest::newRow("8 colours") << 8 << 4 << 16 << 320;
        QTest::newRow("16 colours") << 16 << 4 << 16 << 320;
        QTest::newRow("32 colours") << 32 << 8 << 256 << 640;
        QTest::newRow("128 colours") << 128 << 8 << 256 << 640;
        QTest::newRow("256 colours") << 256 << 8 << 256 << 640;
    }

    void depthAndLayout()
    {
        QFETCH(int, tableSize);
        QFETCH(int, bits);
        QFETCH(int, colourCount);
        QFETCH(int, stride);
        const int width = 637;
        const int height = 9;
        const Bytes pixels = gifPattern(width, height, tableSize);
        const std::optional<PackedDib> dib = decode(encodeGif(width, height, pixels, gifOptions(tableSize)));
        QVERIFY(dib);
        QCOMPARE(dib->bitsPerPixel(), bits);
        QCOMPARE(dib->colourCount(), colourCount);
        QCOMPARE(int(dib->stride()), stride);
        QCOMPARE(dib->size(), std::size_t(40 + 4 * colourCount + stride * height));
        QCOMPARE(field32(*dib, 0), 40U);
        QCOMPARE(field32(*dib, 4), std::uint32_t(width));
        QCOMPARE(field32(*dib, 8), std::uint32_t(height));
        QCOMPARE(field32(*dib, 12), 1U | std::uint32_t(bits) << 16); // planes, bits per pixel
        QCOMPARE(field32(*dib, 16), 0U); // no compression
        QCOMPARE(field32(*dib, 20), std::uint32_t(stride * height));
        QCOMPARE(field32(*dib, 24) | field32(*dib, 28), 0U);
        QCOMPARE(field32(*dib, 32), std::uint32_t(colourCount));
        QCOMPARE(field32(*dib, 36), std::uint32_t(colourCount));
        Bytes table;
        for (const GifColour &c : gifColours(tableSize))
            table.insert(table.end(), { c.blue, c.green, c.red, 0 });
        table.resize(4 * std::size_t(colourCount));
        QCOMPARE(hex(dib->bytes().subspan(40, table.size())), hex(table));
        QCOMPARE(dibPixels(*dib), pixels);
    }

    // Bottom row first, the left pixel in the high nibble or the most
    // significant bit, values beyond the depth cut to their low bits.
    void rowPacking_data()
    {
        QTest::addColumn<int>("tableSize");
        QTest::addColumn<int>("codeSize");
        QTest::addColumn<int>("width");
        QTest::addColumn<Bytes>("pixels");
        QTest::addColumn<QByteArray>("rows");
        QTest::newRow("8 bits") << 256 << 8 << 3 << Bytes { 1, 2, 3, 200, 201, 202 }
                                << QByteArray("c8 c9 ca 00 01 02 03 00");
        QTest::newRow("4 bits") << 16 << 4 << 3 << Bytes { 1, 2, 3, 4, 5, 6 } << QByteArray("45 60 00 00 12 30 00 00");
        QTest::newRow("4 bits, values modulo 16")
            << 16 << 6 << 2 << Bytes { 17, 34, 63, 16 } << QByteArray("f0 00 00 00 12 00 00 00");
        QTest::newRow("1 bit") << 2 << 2 << 10 << Bytes { 1, 0, 0, 0, 0, 0, 0, 1, 1, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 1 }
                               << QByteArray("40 40 00 00 81 80 00 00");
        QTest::newRow("1 bit, values modulo 2")
            << 2 << 3 << 2 << Bytes { 2, 3, 7, 6 } << QByteArray("80 00 00 00 40 00 00 00");
    }

    void rowPacking()
    {
        QFETCH(int, tableSize);
        QFETCH(int, codeSize);
        QFETCH(int, width);
        QFETCH(Bytes, pixels);
        QFETCH(QByteArray, rows);
        GifOptions options = gifOptions(tableSize);
        options.codeSize = codeSize;
        const std::optional<PackedDib> dib = decode(encodeGif(width, 2, pixels, options));
        QVERIFY(dib);
        QCOMPARE(hex(dib->pixels()), rows);
    }

    // Both versions, extensions before the image and the ways encoders
    // write LZW data: each gives back the pixels.
    void decodes_data()
    {
        QTest::addColumn<GifOptions>("options");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        GifOptions options = gifOptions(16);
        options.signature = "GIF87a";
        QTest::newRow("GIF87a") << options << 9 << 4;
        options.signature = "GIF00Z";
        QTest::newRow("any digits and a letter") << options << 9 << 4;
        options = gifOptions(16);
        options.beforeImage = { 0x21, 0xFE, 0x03, 'a', 'b', 'c', 0x00 };
        QTest::newRow("comment") << options << 9 << 4;
        options.beforeImage = { 0x21, 0xFE, 0x01, 'a', 0x02, 0x2C, 0x3B, 0x00 };
        QTest::newRow("comment in two sub-blocks") << options << 9 << 4;
        options.beforeImage = { 0x21, 0xF9, 0x04, 0x01, 0x00, 0x00, 0x03, 0x00, 0x21, 0xFF, 0x03, 'N', 'E', 'T', 0x00 };
        QTest::newRow("graphic control, then application") << options << 9 << 4;
        options = gifOptions(256);
        QTest::newRow("table cleared when full") << options << 300 << 200;
        options.clearWhenFull = false;
        QTest::newRow("full table kept at width 12") << options << 300 << 200;
        options = gifOptions(256);
        options.initialClear = false;
        QTest::newRow("no clear code at the start") << options << 300 << 200;
        options = gifOptions(4);
        options.initialClear = false;
        QTest::newRow("no clear code at the start, 4 colours") << options << 61 << 7;
        options = gifOptions(16);
        options.literalsOnly = true;
        QTest::newRow("only literal codes") << options << 200 << 40;
        options = gifOptions(256);
        options.codeSize = 9;
        QTest::newRow("minimum code size 9") << options << 300 << 50;
    }

    void decodes()
    {
        QFETCH(GifOptions, options);
        QFETCH(int, width);
        QFETCH(int, height);
        const Bytes pixels = gifPattern(width, height, int(options.colours.size()));
        const std::optional<PackedDib> dib = decode(encodeGif(width, height, pixels, options));
        QVERIFY(dib);
        QCOMPARE(dibPixels(*dib), pixels);
    }

    // Hand-written code streams for the decoder's own rules (minimum code size 2:
    // clear 4, end 5, first free code 6, codes 3 bits wide at first).
    void codeRules_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<Codes>("codes");
        QTest::addColumn<Bytes>("pixels");
        QTest::newRow("no clear code: previous string 0")
            << 3 << 1 << Codes { { 2, 3 }, { 6, 3 } } << Bytes { 2, 0, 2 };
        QTest::newRow("code above the next free one")
            << 5 << 1 << Codes { { 4, 3 }, { 1, 3 }, { 7, 3 }, { 6, 3 } } << Bytes { 1, 1, 1, 1, 1 };
        QTest::newRow("first code after a clear beyond the table")
            << 3 << 1 << Codes { { 4, 3 }, { 7, 3 }, { 1, 3 }, { 6, 3 } } << Bytes { 0, 1, 0 };
        QTest::newRow("clear codes in a row")
            << 2 << 1 << Codes { { 4, 3 }, { 4, 3 }, { 4, 3 }, { 2, 3 }, { 3, 3 } } << Bytes { 2, 3 };
        QTest::newRow("end code stops") << 1 << 2 << Codes { { 4, 3 }, { 3, 3 }, { 5, 3 }, { 1, 3 } } << Bytes { 3, 0 };
        QTest::newRow("end code right after a clear")
            << 1 << 2 << Codes { { 4, 3 }, { 5, 3 }, { 1, 3 }, { 1, 3 } } << Bytes { 0, 0 };
        // After the second 1 the next free code is 7, after the 2 it is
        // 8 = 2^3, so 8 comes 4 bits wide (read 3 bits wide it would be 0).
        QTest::newRow("width grows at 2^width")
            << 5 << 1 << Codes { { 4, 3 }, { 1, 3 }, { 1, 3 }, { 2, 3 }, { 8, 4 } } << Bytes { 1, 1, 2, 2, 2 };
        QTest::newRow("incomplete last row not stored")
            << 2 << 2 << Codes { { 4, 3 }, { 1, 3 }, { 2, 3 }, { 3, 3 }, { 5, 3 } } << Bytes { 1, 2, 0, 0 };
    }

    void codeRules()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(Codes, codes);
        QFETCH(Bytes, pixels);
        const std::optional<PackedDib> dib = decode(gifFile(width, height, packCodes(codes), gifOptions(4)));
        QVERIFY(dib);
        QCOMPARE(dibPixels(*dib), pixels);
    }

    void codeSizeOutsideRange_data()
    {
        QTest::addColumn<int>("codeSize");
        QTest::newRow("0") << 0;
        QTest::newRow("1") << 1;
        QTest::newRow("10") << 10;
        QTest::newRow("255") << 255;
    }

    void codeSizeOutsideRange()
    {
        QFETCH(int, codeSize);
        GifOptions options = gifOptions(16);
        options.codeSizeByte = codeSize;
        const std::optional<PackedDib> dib = decode(encodeGif(21, 6, gifPattern(21, 6, 16), options));
        QVERIFY(dib);
        QCOMPARE(dib->width(), 21);
        QCOMPARE(dib->height(), 6);
        QCOMPARE(dibPixels(*dib), Bytes(21 * 6, 0));
    }

    void cutInRowTen()
    {
        const Bytes pixels = gifPattern(16, 20, 16);
        const Bytes tenAndAHalf(pixels.begin(), pixels.begin() + 16 * 10 + 8);
        const std::optional<PackedDib> dib = decode(encodeGif(16, 20, tenAndAHalf, gifOptions(16)));
        QVERIFY(dib);
        Bytes expected(pixels.begin(), pixels.begin() + 16 * 10);
        expected.resize(pixels.size(), 0);
        QCOMPARE(dibPixels(*dib), expected);
    }

    // A copy of a file cut at any length gives nothing until the image
    // descriptor is whole, then the picture with a growing number of top rows.
    void cutAtEveryLength_data()
    {
        QTest::addColumn<int>("tableSize");
        QTest::newRow("1 bit") << 2;
        QTest::newRow("4 bits") << 16;
        QTest::newRow("8 bits") << 256;
    }

    void cutAtEveryLength()
    {
        QFETCH(int, tableSize);
        const int width = 23;
        const int height = 30;
        const Bytes pixels = gifPattern(width, height, tableSize);
        const Bytes file = encodeGif(width, height, pixels, gifOptions(tableSize));
        const std::size_t descriptorEnd = 13 + 3 * (2U << tableSizeField(gifOptions(tableSize))) + 10;
        int rowsBefore = 0;
        for (std::size_t length = 0; length <= file.size(); ++length) {
            const std::optional<PackedDib> dib = decode(Bytes(file.begin(), file.begin() + std::ptrdiff_t(length)));
            QCOMPARE(dib.has_value(), length >= descriptorEnd);
            if (!dib)
                continue;
            const Bytes got = dibPixels(*dib);
            QCOMPARE(got.size(), pixels.size());
            int rows = 0;
            while (rows < height
                && std::equal(
                    got.begin() + rows * width, got.begin() + (rows + 1) * width, pixels.begin() + rows * width))
                ++rows;
            QVERIFY(std::all_of(got.begin() + rows * width, got.end(), [](std::uint8_t p) { return p == 0; }));
            QVERIFY2(rows >= rowsBefore, qPrintable(QString("cut at %1").arg(length)));
            rowsBefore = rows;
        }
        QCOMPARE(rowsBefore, height);
    }

    void noPixels_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::newRow("zero width") << 0 << 12;
        QTest::newRow("zero height") << 12 << 0;
    }

    void noPixels()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        const std::optional<PackedDib> dib = decode(encodeGif(width, height, gifPattern(3, 3, 16), gifOptions(16)));
        QVERIFY(dib);
        QCOMPARE(dib->width(), width);
        QCOMPARE(dib->height(), height);
        QCOMPARE(dib->size(), std::size_t(40 + 4 * 16));
        QVERIFY(dib->pixels().empty());
    }

    // The size bound refuses only pictures that their data could never fill.
    void largePictures_data()
    {
        QTest::addColumn<Bytes>("file");
        QTest::addColumn<int>("value");
        GifOptions kept = gifOptions(4);
        kept.clearWhenFull = false;
        // One colour with the table kept full packs more pixels into a byte
        // than any other picture can.
        QTest::newRow("2049 x 8000, one colour") << encodeGif(2049, 8000, Bytes(2049 * 8000, 3), kept) << 3;
        QTest::newRow("2049 x 2000 from a few bytes")
            << gifFile(2049, 2000, packCodes({ { 4, 3 }, { 1, 3 } }), gifOptions(4)) << 0;
    }

    void largePictures()
    {
        QFETCH(Bytes, file);
        QFETCH(int, value);
        const std::optional<PackedDib> dib = decode(file);
        QVERIFY(dib);
        const std::span<const std::uint8_t> rows = dib->pixels();
        QCOMPARE(rows.size(), dib->stride() * std::size_t(dib->height()));
        const std::uint8_t full = std::uint8_t(value << 4 | value);
        const std::size_t used = (std::size_t(dib->width()) + 1) / 2;
        for (std::size_t r = 0; r < std::size_t(dib->height()); ++r)
            QVERIFY(std::all_of(rows.begin() + r * dib->stride(), rows.begin() + r * dib->stride() + used - 1,
                [full](std::uint8_t b) { return b == full; }));
    }

    // Nothing is shared between calls, so threads may decode at once.
    void decodesInParallel()
    {
        std::vector<Bytes> files;
        std::vector<Bytes> expected;
        for (int i = 0; i < 4; ++i) {
            expected.push_back(gifPattern(300, 100, 256, unsigned(i + 1)));
            files.push_back(encodeGif(300, 100, expected.back(), gifOptions(256)));
        }
        std::vector<int> good(files.size(), 0);
        std::vector<std::thread> threads;
        for (std::size_t t = 0; t < files.size(); ++t)
            threads.emplace_back([&, t] {
                for (int round = 0; round < 20; ++round) {
                    const std::optional<PackedDib> dib = decodeGif(files[t]);
                    good[t] += dib && dibPixels(*dib) == expected[t];
                }
            });
        for (std::thread &thread : threads)
            thread.join();
        QCOMPARE(good, std::vector<int>(files.size(), 20));
    }
};

QTEST_APPLESS_MAIN(TestGifDecoder)
#include "tst_gifdecoder.moc"
