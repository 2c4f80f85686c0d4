#include "common/gifencoder.h"
#include "images/gifdecoder.h"

#include <thread>

#include <QtTest>

namespace {

using Bytes = std::vector<std::uint8_t>;
using Codes = std::vector<std::pair<std::uint32_t, int>>;

std::vector<GifColour> colours(int count)
{
    std::vector<GifColour> table;
    for (int i = 0; i < count; ++i)
        table.push_back({ std::uint8_t(i), std::uint8_t(255 - i), std::uint8_t(i * 7) });
    return table;
}

GifOptions withColours(int count)
{
    GifOptions options;
    options.colours = colours(count);
    return options;
}

// Runs of one value between stretches of noise, so strings grow long and
// codes that are not yet in the table turn up.
Bytes pattern(int width, int height, int values, unsigned seed = 1)
{
    Bytes pixels(std::size_t(width) * std::size_t(height));
    unsigned state = seed;
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        state = state * 1103515245U + 12345U;
        const unsigned noise = state >> 16;
        pixels[i] = std::uint8_t((i / 97) % 3 == 0 ? (i / 500) % unsigned(values) : noise % unsigned(values));
    }
    return pixels;
}

std::optional<PackedDib> decode(const Bytes &file)
{
    return decodeGif(file);
}

// The picture's pixels top row first, read back from the bottom-up rows.
Bytes pixelsOf(const PackedDib &dib)
{
    const int width = dib.width();
    const int height = dib.height();
    const int bits = dib.bitsPerPixel();
    const std::span<const std::uint8_t> rows = dib.pixels();
    Bytes pixels;
    for (int y = 0; y < height; ++y) {
        const std::uint8_t *row = rows.data() + std::size_t(height - 1 - y) * dib.stride();
        for (int x = 0; x < width; ++x) {
            const int bit = x * bits;
            pixels.push_back(std::uint8_t(row[bit / 8] >> (8 - bits - bit % 8) & ((1 << bits) - 1)));
        }
    }
    return pixels;
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
    void signature_data()
    {
        QTest::addColumn<QByteArray>("signature");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("GIF87a") << QByteArray("GIF87a") << true;
        QTest::newRow("GIF89a") << QByteArray("GIF89a") << true;
        QTest::newRow("any digits and a letter") << QByteArray("GIF00Z") << true;
        QTest::newRow("fifth byte not a digit") << QByteArray("GIF8a9") << false;
        QTest::newRow("only the fifth byte wrong") << QByteArray("GIF8aa") << false;
        QTest::newRow("only the fourth byte wrong") << QByteArray("GIFa9a") << false;
        QTest::newRow("sixth byte below A") << QByteArray("GIF89@") << false;
        QTest::newRow("sixth byte above z") << QByteArray("GIF89{") << false;
        QTest::newRow("lower-case gif") << QByteArray("gif89a") << false;
    }

    void signature()
    {
        QFETCH(QByteArray, signature);
        QFETCH(bool, accepted);
        GifOptions options = withColours(4);
        options.signature = signature.toStdString();
        const Bytes pixels = pattern(7, 5, 4);
        const std::optional<PackedDib> dib = decode(encodeGif(7, 5, pixels, options));
        QCOMPARE(dib.has_value(), accepted);
        if (dib)
            QCOMPARE(pixelsOf(*dib), pixels);
    }

    void refused_data()
    {
        QTest::addColumn<Bytes>("file");
        GifOptions noTable = withColours(4);
        noTable.globalTable = false;
        // Twelve bytes, as long as a 4-colour table would be: read as one, the image would follow.
        noTable.beforeImage = { 0x21, 0xFE, 0x08, 1, 2, 3, 4, 5, 6, 7, 8, 0x00 };
        GifOptions localOnly = noTable;
        localOnly.localTable = true;
        const Bytes whole = encodeGif(5, 5, pattern(5, 5, 4), withColours(4));
        const Bytes top = header(withColours(4));
        QTest::newRow("empty") << Bytes();
        QTest::newRow("no global table") << encodeGif(5, 5, pattern(5, 5, 4), noTable);
        QTest::newRow("only a local table") << encodeGif(5, 5, pattern(5, 5, 4), localOnly);
        QTest::newRow("header cut short") << Bytes(whole.begin(), whole.begin() + 12);
        QTest::newRow("colour table cut short") << Bytes(whole.begin(), whole.begin() + 13 + 11);
        QTest::newRow("nothing after the table") << top;
        QTest::newRow("descriptor cut short") << Bytes(whole.begin(), whole.begin() + 13 + 12 + 9);
        QTest::newRow("trailer before the image") << top + Bytes { 0x3B } + Bytes(whole.begin() + 25, whole.end());
        QTest::newRow("unknown block before the image")
            << top + Bytes { 0x00 } + Bytes(whole.begin() + 25, whole.end());
        QTest::newRow("extension cut short") << top + Bytes { 0x21, 0xFE, 0x05, 'a', 'b' };
        QTest::newRow("extension without its end") << top + Bytes { 0x21, 0xFE, 0x01, 'a' };
        QTest::newRow("2050 pixels wide") << encodeGif(2050, 1, Bytes(2050, 1), withColours(4));
        // 2049 x 65535 pixels could never come from a few bytes of LZW data.
        QTest::newRow("huge picture from a tiny file") << gifFile(2049, 65535, packCodes({ { 4, 3 }, { 1, 3 } }));
        Bytes cutData = encodeGif(2049, 8000, Bytes(2049 * 8000, 1), withColours(4));
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
        QTest::addColumn<int>("gifColours");
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
        QFETCH(int, gifColours);
        QFETCH(int, bits);
        QFETCH(int, colourCount);
        QFETCH(int, stride);
        const int width = 637;
        const int height = 9;
        const Bytes pixels = pattern(width, height, gifColours);
        const std::optional<PackedDib> dib = decode(encodeGif(width, height, pixels, withColours(gifColours)));
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
        for (const GifColour &c : colours(gifColours))
            table.insert(table.end(), { c.blue, c.green, c.red, 0 });
        table.resize(4 * std::size_t(colourCount));
        QCOMPARE(hex(dib->bytes().subspan(40, table.size())), hex(table));
        QCOMPARE(pixelsOf(*dib), pixels);
    }

    // Bottom row first, the left pixel in the high nibble or the most
    // significant bit, values beyond the depth cut to their low bits.
    void rowPacking_data()
    {
        QTest::addColumn<int>("gifColours");
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
        QFETCH(int, gifColours);
        QFETCH(int, codeSize);
        QFETCH(int, width);
        QFETCH(Bytes, pixels);
        QFETCH(QByteArray, rows);
        GifOptions options = withColours(gifColours);
        options.codeSize = codeSize;
        const std::optional<PackedDib> dib = decode(encodeGif(width, 2, pixels, options));
        QVERIFY(dib);
        QCOMPARE(hex(dib->pixels()), rows);
    }

    void extensionsSkipped_data()
    {
        QTest::addColumn<Bytes>("extensions");
        QTest::newRow("comment") << Bytes { 0x21, 0xFE, 0x03, 'a', 'b', 'c', 0x00 };
        QTest::newRow("comment in two sub-blocks") << Bytes { 0x21, 0xFE, 0x01, 'a', 0x02, 0x2C, 0x3B, 0x00 };
        QTest::newRow("graphic control, then application")
            << Bytes { 0x21, 0xF9, 0x04, 0x01, 0x00, 0x00, 0x03, 0x00, 0x21, 0xFF, 0x03, 'N', 'E', 'T', 0x00 };
    }

    void extensionsSkipped()
    {
        QFETCH(Bytes, extensions);
        const Bytes pixels = pattern(9, 4, 16);
        GifOptions options = withColours(16);
        const std::optional<PackedDib> plain = decode(encodeGif(9, 4, pixels, options));
        options.beforeImage = extensions;
        const std::optional<PackedDib> extended = decode(encodeGif(9, 4, pixels, options));
        QVERIFY(plain && extended);
        QCOMPARE(hex(extended->bytes()), hex(plain->bytes()));
    }

    // The ways encoders write LZW data, each of which must give back the pixels.
    void lzwStreams_data()
    {
        QTest::addColumn<GifOptions>("options");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        GifOptions options = withColours(256);
        QTest::newRow("table cleared when full") << options << 300 << 200;
        options.clearWhenFull = false;
        QTest::newRow("full table kept at width 12") << options << 300 << 200;
        options = withColours(256);
        options.initialClear = false;
        QTest::newRow("no clear code at the start") << options << 300 << 200;
        options = withColours(4);
        options.initialClear = false;
        QTest::newRow("no clear code at the start, 4 colours") << options << 61 << 7;
        options = withColours(16);
        options.literalsOnly = true;
        QTest::newRow("only literal codes") << options << 200 << 40;
        options = withColours(256);
        options.codeSize = 9;
        QTest::newRow("minimum code size 9") << options << 300 << 50;
        options = withColours(2);
        QTest::newRow("minimum code size 2") << options << 300 << 50;
    }

    void lzwStreams()
    {
        QFETCH(GifOptions, options);
        QFETCH(int, width);
        QFETCH(int, height);
        const Bytes pixels = pattern(width, height, int(options.colours.size()));
        const std::optional<PackedDib> dib = decode(encodeGif(width, height, pixels, options));
        QVERIFY(dib);
        QCOMPARE(pixelsOf(*dib), pixels);
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
        QTest::newRow("rows beyond the height dropped")
            << 2 << 1 << Codes { { 4, 3 }, { 1, 3 }, { 2, 3 }, { 3, 3 }, { 3, 3 } } << Bytes { 1, 2 };
    }

    void codeRules()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(Codes, codes);
        QFETCH(Bytes, pixels);
        const std::optional<PackedDib> dib = decode(gifFile(width, height, packCodes(codes), withColours(4)));
        QVERIFY(dib);
        QCOMPARE(pixelsOf(*dib), pixels);
    }

    // A full table stays as it is until the next clear code: more 12-bit
    // codes add nothing and do not widen, and a clear code starts again.
    void fullTableKeptUntilClear()
    {
        // Minimum code size 8: clear 256, first free code 258. After a 1,
        // each code is the next free one and one pixel longer than the last.
        Codes codes { { 256, 9 }, { 1, 9 } };
        std::size_t ones = 1;
        int width = 9;
        for (std::uint32_t code = 258; code < 4096; ++code) {
            codes.push_back({ code, width });
            ones += code - 256;
            if (code + 1 == (1U << width) && width < 12)
                ++width;
        }
        codes.push_back({ 4095, 12 });
        ones += 4095 - 256;
        const int pictureWidth = 2049;
        // Literal 1s fill the last row but the three pixels that follow the clear code.
        while ((ones + 3) % pictureWidth != 0) {
            codes.push_back({ 1, 12 });
            ++ones;
        }
        // After the clear code 258 is the next free code again: 7 7.
        codes.insert(codes.end(), { { 256, 12 }, { 7, 9 }, { 258, 9 } });
        Bytes pixels(ones, 1);
        pixels.insert(pixels.end(), { 7, 7, 7 });
        const int height = int(pixels.size()) / pictureWidth;
        const std::optional<PackedDib> dib = decode(gifFile(pictureWidth, height, packCodes(codes), withColours(256)));
        QVERIFY(dib);
        QVERIFY(pixelsOf(*dib) == pixels);
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
        GifOptions options = withColours(16);
        options.codeSizeByte = codeSize;
        const std::optional<PackedDib> dib = decode(encodeGif(21, 6, pattern(21, 6, 16), options));
        QVERIFY(dib);
        QCOMPARE(dib->width(), 21);
        QCOMPARE(dib->height(), 6);
        QCOMPARE(pixelsOf(*dib), Bytes(21 * 6, 0));
    }

    void cutInRowTen()
    {
        const Bytes pixels = pattern(16, 20, 16);
        const Bytes tenAndAHalf(pixels.begin(), pixels.begin() + 16 * 10 + 8);
        const std::optional<PackedDib> dib = decode(encodeGif(16, 20, tenAndAHalf, withColours(16)));
        QVERIFY(dib);
        Bytes expected(pixels.begin(), pixels.begin() + 16 * 10);
        expected.resize(pixels.size(), 0);
        QCOMPARE(pixelsOf(*dib), expected);
    }

    // A copy of a file cut at any length gives nothing until the image
    // descriptor is whole, then the picture with a growing number of top rows.
    void cutAtEveryLength_data()
    {
        QTest::addColumn<int>("gifColours");
        QTest::newRow("1 bit") << 2;
        QTest::newRow("4 bits") << 16;
        QTest::newRow("8 bits") << 256;
    }

    void cutAtEveryLength()
    {
        QFETCH(int, gifColours);
        const int width = 23;
        const int height = 30;
        const Bytes pixels = pattern(width, height, gifColours);
        const Bytes file = encodeGif(width, height, pixels, withColours(gifColours));
        const std::size_t descriptorEnd = 13 + 3 * (2U << tableSizeField(withColours(gifColours))) + 10;
        int rowsBefore = 0;
        for (std::size_t length = 0; length <= file.size(); ++length) {
            const std::optional<PackedDib> dib = decode(Bytes(file.begin(), file.begin() + std::ptrdiff_t(length)));
            QCOMPARE(dib.has_value(), length >= descriptorEnd);
            if (!dib)
                continue;
            const Bytes got = pixelsOf(*dib);
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
        const std::optional<PackedDib> dib = decode(encodeGif(width, height, pattern(3, 3, 16), withColours(16)));
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
        GifOptions kept = withColours(4);
        kept.clearWhenFull = false;
        // One colour with the table kept full packs more pixels into a byte
        // than any other picture can.
        QTest::newRow("2049 x 8000, one colour") << encodeGif(2049, 8000, Bytes(2049 * 8000, 3), kept) << 3;
        QTest::newRow("2049 x 2000 from a few bytes")
            << gifFile(2049, 2000, packCodes({ { 4, 3 }, { 1, 3 } }), withColours(4)) << 0;
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
            expected.push_back(pattern(300, 100, 256, unsigned(i + 1)));
            files.push_back(encodeGif(300, 100, expected.back(), withColours(256)));
        }
        std::vector<int> good(files.size(), 0);
        std::vector<std::thread> threads;
        for (std::size_t t = 0; t < files.size(); ++t)
            threads.emplace_back([&, t] {
                for (int round = 0; round < 20; ++round) {
                    const std::optional<PackedDib> dib = decodeGif(files[t]);
                    good[t] += dib && pixelsOf(*dib) == expected[t];
                }
            });
        for (std::thread &thread : threads)
            thread.join();
        QCOMPARE(good, std::vector<int>(files.size(), 20));
    }
};

QTEST_APPLESS_MAIN(TestGifDecoder)
#include "tst_gifdecoder.moc"
