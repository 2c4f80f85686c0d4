#include "common/lessonharness.h"
#include "common/messagerecorder.h"
#include "common/testsupport.h"
#include "lessons/keyboardkeys.h"
#include "lessons/lessonlibrary.h"
#include "lessons/tlesson1.h"
#include "widgets/viewzoom.h"

#include <QApplication>
#include <QtTest>

namespace {

constexpr int kLessonNumber = 1201;

QRect doubled(const KeyArea &a)
{
    return QRect(2 * a.left, 2 * a.top, 2 * a.width, 2 * a.height);
}

const TKP &unshiftedKey(unsigned char c)
{
    for (const TKP &key : MainKeys) {
        if (key.character == c && key.shiftMark == NoShift)
            return key;
    }
    return MainKeys[0];
}

} // namespace

// The lesson with two device pixels for each pixel of the layout, from the
// screen or (ZOOMED) from the program's zoom at 200 %: the keyboard is the
// picture drawn at twice the size, and the marks cover exactly its keys, each
// twice as wide and high as in the key table.
class TestSharpKeyboard : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_recorder = std::make_unique<MessageRecorder>(); }
    void cleanup() { m_recorder.reset(); }

    void marksTheKeysOfTheLargerPicture_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QList<QRect>>("areas");
        const TKP &z = unshiftedKey('z');
        const TKP &enter = unshiftedKey('\r');
        QTest::newRow("Ż: Z, the right Shift and the right Alt")
            << QStringLiteral("Ż") << QString()
            << QList<QRect> { doubled(z.area[0]), doubled(MainKeys[kRightShiftKey].area[0]),
                   doubled(MainKeys[kRightAltKey].area[0]) };
        QTest::newRow("a line end: both parts of Enter") << QStringLiteral(
            "a\nb") << QStringLiteral("a") << QList<QRect> { doubled(enter.area[0]), doubled(enter.area[1]) };
    }

    void marksTheKeysOfTheLargerPicture()
    {
        QFETCH(QString, line);
        QFETCH(QString, typed);
        QFETCH(QList<QRect>, areas);
        LessonSetup setup;
        setup.parent.resize(ViewZoom::scaled(ViewZoom::kLayoutSize));
        LessonLibrary library;
        library.addText(kLessonNumber, crlf("Przepisz.") + "\r\n" + crlf(line.toUtf8().constData()));
        TLesson1 lesson(&setup.parent, setup.options, kLessonNumber);
        QVERIFY(lesson.LoadText(library));
        QVERIFY(showLesson(lesson, setup.parent));
        for (const QChar c : typed)
            pressKey(lesson, static_cast<unsigned char>(c.toLatin1()));
        QCOMPARE(lesson.devicePixelRatio() * lesson.zoom(), 2.0);
        QCOMPARE(lesson.pictureScale(), 2);
        const QImage &picture = lesson.picture();
        QCOMPARE(picture.size(), QSize(1276, 386));

        const QImage shown = lesson.grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shown.size(), QSize(1280, 960));
        QRegion marked;
        for (const QRect &area : std::as_const(areas))
            marked += area;
        const QRgb highlight = lesson.highlightColour().rgb();
        const int top = shown.height() - picture.height();
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                const QRgb own = picture.pixel(x, y);
                const QRgb expected = marked.contains(QPoint(x, y)) ? (own & highlight) : own;
                if ((shown.pixel(x, top + y) & 0xFFFFFF) != (expected & 0xFFFFFF))
                    QFAIL(qPrintable(QStringLiteral("pixel %1,%2").arg(x).arg(y)));
            }
        }
    }

private:
    std::unique_ptr<MessageRecorder> m_recorder;
};

int main(int argc, char **argv)
{
#ifndef ZOOMED
    qputenv("QT_SCALE_FACTOR", "2");
#endif
    QApplication app(argc, argv);
#ifdef ZOOMED
    ViewZoom::setFactor(2.0);
#endif
    TestSharpKeyboard test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_sharpkeyboard.moc"
