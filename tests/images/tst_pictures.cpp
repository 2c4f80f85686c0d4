#include "common/gifencoder.h"
#include "common/pictures.h"
#include "images/dibdrawing.h"
#include "images/gifdecoder.h"
#include "images/gifresource.h"
#include "images/stretch.h"
#include "images/tcanvas.h"
#include "images/testpicture.h"

#include <QDir>
#include <QImageReader>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

using Bytes = std::vector<std::uint8_t>;

const QRgb kBackground = qRgb(1, 2, 3);

// A canvas that draws its picture unscaled or stretched and counts its paints.
class Canvas : public TCanvas
{
public:
    using TCanvas::setPicture;

    int paints = 0;
    QPoint at;
    bool stretched = false;
    int stretchWidth = 0;
    int stretchHeight = 0;

protected:
    void paintEvent(QPaintEvent *) override
    {
        ++paints;
        QPainter painter(this);
        painter.fillRect(rect(), kBackground);
        if (stretched)
            drawPictureStretched(painter, at.x(), at.y(), stretchWidth, stretchHeight);
        else
            drawPicture(painter, at.x(), at.y());
    }
};

QRgb colourOf(int index)
{
    return qRgb(index, 255 - index, index * 37 % 256);
}

// An 8-bit picture in which pixel (x, y) has colour y * width + x of its own.
PackedDib numberedPicture(int width, int height)
{
    PackedDib dib = *PackedDib::blank(width, height, 8);
    for (int i = 0; i < width * height; ++i)
        dib.setColour(
            i, std::uint8_t(qRed(colourOf(i))), std::uint8_t(qGreen(colourOf(i))), std::uint8_t(qBlue(colourOf(i))));
    const std::span<std::uint8_t> rows = dib.pixels();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            rows[std::size_t(height - 1 - y) * dib.stride() + std::size_t(x)] = std::uint8_t(y * width + x);
    return dib;
}

QByteArray qbytes(std::span<const std::uint8_t> bytes)
{
    return QByteArray(reinterpret_cast<const char *>(bytes.data()), qsizetype(bytes.size()));
}

QImage shown(QWidget &widget)
{
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

bool qtReadsGif()
{
    return QImageReader::supportedImageFormats().contains("gif");
}

enum class Notice { Query, ChangedByOther, ChangedBySelf };

} // namespace

Q_DECLARE_METATYPE(Bytes)

class TestPictures : public QObject
{
    Q_OBJECT

private slots:
    // The image made from a decoded picture shows what Qt's own GIF reader shows.
    void imageMatchesQtReader_data()
    {
        QTest::addColumn<int>("colours");
        QTest::newRow("1 bit") << 2;
        QTest::newRow("4 bits") << 16;
        QTest::newRow("8 bits") << 256;
    }

    void imageMatchesQtReader()
    {
        QFETCH(int, colours);
        if (!qtReadsGif())
            QSKIP("this Qt has no GIF reader to compare with");
        const Bytes file = encodeGif(37, 11, gifPattern(37, 11, colours), gifOptions(colours));
        const QImage ours = dibToImage(*decodeGif(file));
        QCOMPARE(ours.format(), QImage::Format_Indexed8);
        const QImage qt = QImage::fromData(qbytes(file), "GIF");
        QCOMPARE(ours.convertToFormat(QImage::Format_RGB32), qt.convertToFormat(QImage::Format_RGB32));
    }

    void drawsUnscaled()
    {
        Canvas canvas;
        canvas.resize(20, 20);
        canvas.at = QPoint(5, 6);
        canvas.setPicture(numberedPicture(4, 3));
        const QImage screen = shown(canvas);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 4; ++x)
                QCOMPARE(screen.pixel(5 + x, 6 + y), colourOf(y * 4 + x));
        QCOMPARE(screen.pixel(4, 6), kBackground);
        QCOMPARE(screen.pixel(9, 6), kBackground);
        QCOMPARE(screen.pixel(5, 9), kBackground);
    }

    void drawsStretched_data()
    {
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::newRow("enlarged") << QSize(4, 3) << 10 << 7;
        QTest::newRow("reduced") << QSize(5, 4) << 3 << 2;
        QTest::newRow("a percentage") << QSize(4, 3) << 0 << 200;
    }

    // Every drawn pixel is the source pixel the core mapping names, also
    // after the size changes.
    void drawsStretched()
    {
        QFETCH(QSize, picture);
        QFETCH(int, width);
        QFETCH(int, height);
        Canvas canvas;
        canvas.resize(30, 30);
        canvas.at = QPoint(2, 1);
        canvas.stretched = true;
        canvas.setPicture(numberedPicture(picture.width(), picture.height()));
        for (const QSize request : { QSize(width, height), QSize(3, 3) }) {
            canvas.stretchWidth = request.width();
            canvas.stretchHeight = request.height();
            const PictureSize size
                = stretchedSize(picture.width(), picture.height(), request.width(), request.height());
            const QImage screen = shown(canvas);
            for (int y = 0; y < size.height; ++y) {
                for (int x = 0; x < size.width; ++x) {
                    const int sx = stretchSource(x, size.width, picture.width());
                    const int sy = stretchSource(y, size.height, picture.height());
                    QCOMPARE(screen.pixel(2 + x, 1 + y), colourOf(sy * picture.width() + sx));
                }
            }
            QCOMPARE(screen.pixel(2 + size.width, 1), kBackground);
            QCOMPARE(screen.pixel(2, 1 + size.height), kBackground);
        }
        // A new picture is stretched anew, also to the size drawn last.
        canvas.setPicture(solidPicture(picture.width(), picture.height(), qRgb(9, 8, 7)));
        QCOMPARE(shown(canvas).pixel(3, 2), qRgb(9, 8, 7));
    }

    // A new picture replaces the old one with its palette and image; none leaves nothing.
    void replacingPicture()
    {
        Canvas canvas;
        canvas.setPicture(*decodeGif(encodeGif(2, 1, { 0, 1 }, gifOptions(2))));
        QCOMPARE(canvas.logicalPalette()->entries.size(), std::size_t(2));
        QCOMPARE(canvas.picture().pixel(1, 0), qRgb(1, 254, 7));

        const PackedDib second = *decodeGif(encodeGif(3, 2, gifPattern(3, 2, 16), gifOptions(16)));
        canvas.setPicture(second);
        QCOMPARE(qbytes(canvas.dib()->bytes()), qbytes(second.bytes()));
        QCOMPARE(canvas.logicalPalette()->entries.size(), std::size_t(16));
        QCOMPARE(canvas.picture().size(), QSize(3, 2));
        QCOMPARE(canvas.picture().format(), QImage::Format_Indexed8);

        canvas.setPicture(std::nullopt);
        QVERIFY(!canvas.hasPicture());
        QVERIFY(!canvas.dib());
        QVERIFY(!canvas.logicalPalette());
        QVERIFY(canvas.picture().isNull());
    }

    void paletteNotices_data()
    {
        QTest::addColumn<bool>("withPicture");
        QTest::addColumn<int>("notice");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<bool>("repainted");
        QTest::newRow("query without a palette") << false << int(Notice::Query) << false << false;
        QTest::newRow("query with a palette") << true << int(Notice::Query) << true << true;
        QTest::newRow("changed by another window") << true << int(Notice::ChangedByOther) << false << true;
        QTest::newRow("changed by this window") << true << int(Notice::ChangedBySelf) << false << false;
        QTest::newRow("changed by another, no palette") << false << int(Notice::ChangedByOther) << false << false;
    }

    void paletteNotices()
    {
        QFETCH(bool, withPicture);
        QFETCH(int, notice);
        QFETCH(bool, answer);
        QFETCH(bool, repainted);
        Canvas canvas;
        QWidget other;
        canvas.resize(40, 30);
        if (withPicture)
            canvas.setPicture(numberedPicture(3, 3));
        canvas.show();
        QVERIFY(QTest::qWaitForWindowExposed(&canvas));
        QTRY_VERIFY(canvas.paints > 0);
        QTest::qWait(50);
        canvas.paints = 0;

        bool got = false;
        if (notice == int(Notice::Query))
            got = canvas.PaletteQuery();
        else
            canvas.PaletteChanged(notice == int(Notice::ChangedBySelf) ? &canvas : &other);
        QCOMPARE(got, answer);
        if (repainted) {
            QTRY_VERIFY(canvas.paints > 0);
        } else {
            QTest::qWait(100);
            QCOMPARE(canvas.paints, 0);
        }
    }

    void resources()
    {
        const std::optional<PackedDib> own = LoadGifResource(kTestPictureNumber);
        QVERIFY(own);
        QCOMPARE(qbytes(own->bytes()), qbytes(decodeGif(testPictureGif())->bytes()));
        QVERIFY(!LoadGifResource(kTestPictureNumber + 1));
        QVERIFY(!LoadGifResource(-1));

        // The program's own pictures, as many as there are.
        const QDir folder(qEnvironmentVariable("PALCOMIR_SOURCE_DIR") + QStringLiteral("/resources/pictures"));
        const QRegularExpression name(QStringLiteral("^gif(\\d+)\\.gif$"));
        for (const QString &file : folder.entryList({ QStringLiteral("gif*.gif") }, QDir::Files)) {
            const QRegularExpressionMatch match = name.match(file);
            if (!match.hasMatch())
                continue;
            QFile in(folder.filePath(file));
            QVERIFY(in.open(QIODevice::ReadOnly));
            const QByteArray bytes = in.readAll();
            const std::optional<PackedDib> expected = decodeGif(
                std::span(reinterpret_cast<const std::uint8_t *>(bytes.constData()), std::size_t(bytes.size())));
            const std::optional<PackedDib> loaded = LoadGifResource(match.captured(1).toInt());
            QVERIFY2(loaded && expected, qPrintable(file));
            QCOMPARE(qbytes(loaded->bytes()), qbytes(expected->bytes()));
        }
    }

    void gif2bmp_data()
    {
        QTest::addColumn<QByteArray>("input"); // empty: no input file
        QTest::addColumn<int>("exitCode");
        QTest::newRow("1 bit") << qbytes(encodeGif(37, 5, gifPattern(37, 5, 2), gifOptions(2))) << 0;
        QTest::newRow("4 bits") << qbytes(encodeGif(37, 5, gifPattern(37, 5, 16), gifOptions(16))) << 0;
        QTest::newRow("8 bits") << qbytes(encodeGif(37, 5, gifPattern(37, 5, 200), gifOptions(200))) << 0;
        GifOptions noTable = gifOptions(4);
        noTable.globalTable = false;
        QTest::newRow("no global table") << qbytes(encodeGif(4, 4, gifPattern(4, 4, 4), noTable)) << 1;
        QTest::newRow("not a GIF") << QByteArray("hello") << 1;
        QTest::newRow("no input file") << QByteArray() << 1;
    }

    // The .bmp file is the picture's block behind a file header, and Qt's
    // bitmap reader shows it as the program does; a failure writes nothing.
    void gif2bmp()
    {
        QFETCH(QByteArray, input);
        QFETCH(int, exitCode);
        QTemporaryDir dir;
        const QString in = dir.filePath(QStringLiteral("in.gif"));
        const QString out = dir.filePath(QStringLiteral("out.bmp"));
        if (!input.isEmpty()) {
            QFile file(in);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(input) == input.size());
        }
        QProcess tool;
        tool.start(QStringLiteral(GIF2BMP), { in, out });
        QVERIFY(tool.waitForFinished());
        QCOMPARE(tool.exitStatus(), QProcess::NormalExit);
        QCOMPARE(tool.exitCode(), exitCode);
        if (exitCode != 0) {
            const QByteArray message = tool.readAllStandardError();
            QVERIFY(message.startsWith("gif2bmp: ") && message.count('\n') == 1);
            QCOMPARE(QDir(dir.path()).entryList(QDir::Files),
                input.isEmpty() ? QStringList() : QStringList { QStringLiteral("in.gif") });
            return;
        }
        const PackedDib dib = *decodeGif(
            std::span(reinterpret_cast<const std::uint8_t *>(input.constData()), std::size_t(input.size())));
        QFile written(out);
        QVERIFY(written.open(QIODevice::ReadOnly));
        const QByteArray bmp = written.readAll();
        QCOMPARE(bmp, qbytes(bmpFileBytes(dib)));
        QCOMPARE(QImage::fromData(bmp, "BMP").convertToFormat(QImage::Format_RGB32),
            dibToImage(dib).convertToFormat(QImage::Format_RGB32));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files),
            (QStringList { QStringLiteral("in.gif"), QStringLiteral("out.bmp") }));
    }
};

QTEST_MAIN(TestPictures)
#include "tst_pictures.moc"
