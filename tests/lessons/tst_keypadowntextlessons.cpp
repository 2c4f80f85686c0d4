#include "common/lessonharness.h"
#include "common/pictures.h"
#include "common/testsupport.h"
#include "lessons/keypadkeys.h"
#include "lessons/tlesson4.h"
#include "lessons/tlesson5.h"
#include "settings/toptions.h"

#include <memory>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

constexpr unsigned char CR = 13;

// A keypad drill with a plain white keyboard picture, so the marked key
// shows as the highlight colour.
class PicturedDrill : public TLesson4
{
public:
    using TLesson4::TLesson4;
    void putWhitePicture() { setPicture(solidPicture(638, kKeyboardHeight, qRgb(255, 255, 255))); }
};

struct Setup : LessonSetup {
    std::unique_ptr<PicturedDrill> drill(int number)
    {
        return std::make_unique<PicturedDrill>(&parent, options, number);
    }
    std::unique_ptr<TLesson5> ownText(const QString &path)
    {
        return std::make_unique<TLesson5>(&parent, options, path);
    }
};

QString writeFile(const QTemporaryDir &dir, const QByteArray &content)
{
    const QString path = dir.filePath(QStringLiteral("tekst.txt"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        qFatal("cannot write the test file");
    return path;
}

// Types the expected characters up to (not including) the next `stop`.
void typeUpTo(TLesson1 &lesson, unsigned char stop)
{
    while (!lesson.isFinished() && lesson.engine().text().expectedChar != stop)
        pressKey(lesson, lesson.engine().text().expectedChar);
}

QColor pixelOfKey(TLesson1 &lesson, unsigned char character)
{
    const int index = keypadKeyFor(character, false);
    const KeyArea &area = KeypadKeys[index].area;
    const QImage shot = lesson.grab().toImage();
    const int top = lesson.height() - TLesson1::kKeyboardHeight;
    return shot.pixelColor(area.left + area.width / 2, top + area.top + area.height / 2);
}

} // namespace

class TestKeypadOwnTextLessons : public QObject
{
    Q_OBJECT

private slots:
    // Each drill runs to its end without an error when typed as its
    // instruction says: points with either key, lines ended with "+" in the
    // drill that asks for it, and Enter is still right there.
    void drillRunsToItsEnd_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<bool>("commaForPoint");
        QTest::addColumn<char>("lineEndKey");
        QTest::newRow("1401 as written") << 1401 << false << char(CR);
        QTest::newRow("1403 with commas for points") << 1403 << true << char(CR);
        QTest::newRow("1404 with plus at the line ends") << 1404 << true << '+';
        QTest::newRow("1404 with Enter at the line ends") << 1404 << false << char(CR);
    }

    void drillRunsToItsEnd()
    {
        QFETCH(int, number);
        QFETCH(bool, commaForPoint);
        QFETCH(char, lineEndKey);
        MessageLog log;
        Setup setup;
        auto drill = setup.drill(number);
        QVERIFY(drill->LoadText(builtLibrary()));
        QCOMPARE(drill->engine().text().PlusMark, number == 1404 ? 1 : 0);
        QVERIFY(showLesson(*drill, setup.parent));
        int keys = 0;
        while (!drill->isFinished() && keys < 5000) {
            unsigned char c = drill->engine().text().expectedChar;
            if (c == '.' && commaForPoint)
                c = ',';
            else if (c == CR)
                c = static_cast<unsigned char>(lineEndKey);
            pressKey(*drill, c);
            ++keys;
        }
        QVERIFY(drill->isFinished());
        QCOMPARE(int(drill->engine().errorCount()), 0);
        QVERIFY(drill->engine().typedCount() > 0);
        QApplication::processEvents();
        QCOMPARE(setup.parent.finished, 1);
        QCOMPARE(drill->engine().results().accuracy, 100.0F);
    }

    // The picture shows the key to press next in the highlight colour and
    // leaves the other keys as they are.
    void marksTheNextKeypadKey_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<char>("stop"); // the drill is typed up to this character
        QTest::addColumn<bool>("showNext");
        QTest::addColumn<char>("marked"); // 0: none
        QTest::addColumn<char>("unmarked");
        QTest::newRow("1404 line end: plus, not Enter") << 1404 << char(CR) << true << '+' << char(CR);
        QTest::newRow("1402 line end: Enter, not plus") << 1402 << char(CR) << true << char(CR) << '+';
        QTest::newRow("ShowNext off marks nothing") << 1404 << char(CR) << false << char(0) << '+';
        QTest::newRow("1403 point: the decimal key") << 1403 << '.' << true << '.' << '+';
    }

    void marksTheNextKeypadKey()
    {
        QFETCH(int, number);
        QFETCH(char, stop);
        QFETCH(bool, showNext);
        QFETCH(char, marked);
        QFETCH(char, unmarked);
        MessageLog log;
        Setup setup;
        setup.options.ShowNext = showNext;
        auto drill = setup.drill(number);
        QVERIFY(drill->LoadText(builtLibrary()));
        drill->putWhitePicture();
        QVERIFY(showLesson(*drill, setup.parent));
        typeUpTo(*drill, static_cast<unsigned char>(stop));
        const QColor highlight = drill->highlightColour();
        QVERIFY(highlight != QColor(Qt::white));
        if (marked)
            QCOMPARE(pixelOfKey(*drill, static_cast<unsigned char>(marked)), highlight);
        QCOMPARE(pixelOfKey(*drill, static_cast<unsigned char>(unmarked)), QColor(Qt::white));
    }

    void ownTextRunsToItsEnd()
    {
        QTemporaryDir dir;
        const QByteArray line70 = QByteArray(30, 'a') + ' ' + QByteArray(39, 'b');
        const QString path = writeFile(dir,
            "\r\n" + line70 + "\r\n\r\n" + bytes(W("Zażółć gęślą jaźń")) + "\r\n" + QByteArray(40, 'c') + ' '
                + QByteArray(30, 'd'));
        MessageLog log;
        Setup setup;
        auto lesson = setup.ownText(path);
        QVERIFY(lesson->LoadText(builtLibrary()));
        const LessonText &text = lesson->engine().text();
        QCOMPARE(bytes(text.body),
            line70 + "\r\n" + bytes(W("Zażółć gęślą jaźń")) + "\r\n" + QByteArray(40, 'c') + "\r\n"
                + QByteArray(30, 'd') + "\r\n");
        QCOMPARE(text.lineCount, 4);
        QVERIFY(!text.Instruction);
        QCOMPARE(text.PlusMark, 0);

        QVERIFY(showLesson(*lesson, setup.parent));
        QVERIFY(log.boxes.isEmpty());
        QVERIFY(!lesson->hasInstruction());
        QVERIFY2(lesson->statusText().endsWith(QStringLiteral("1 z 4 linii")), qPrintable(lesson->statusText()));
        typeToTheEnd(lesson.get());
        QVERIFY(lesson->isFinished());
        QCOMPARE(int(lesson->engine().errorCount()), 0);
        QApplication::processEvents();
        QCOMPARE(setup.parent.finished, 1);
        QCOMPARE(lesson->engine().results().accuracy, 100.0F);
    }

    // A file that cannot be opened makes no lesson, and is not made.
    void unreadableFileIsRefused_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("missing file") << QStringLiteral("brak.txt");
        QTest::newRow("a directory") << QStringLiteral("katalog");
        QTest::newRow("empty path") << QString();
    }

    void unreadableFileIsRefused()
    {
        QFETCH(QString, name);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("katalog")));
        const QString path = name.isEmpty() ? QString() : dir.filePath(name);
        Setup setup;
        auto lesson = setup.ownText(path);
        QVERIFY(!lesson->LoadText(builtLibrary()));
        if (name == QStringLiteral("brak.txt"))
            QVERIFY(!QFile::exists(path));
    }

    // A file as a Linux editor saves it becomes the lesson's text; a file
    // with nothing to type, or no text at all, is refused, so no lesson
    // starts that could never end or shows garbage.
    void ownTextFiles_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QByteArray>("body"); // "<refused>" when it does not load
        const QByteArray refused("<refused>");
        QTest::newRow("UTF-8 with Polish letters")
            << QByteArray("Zażółć gęślą jaźń\n") << bytes(W("Zażółć gęślą jaźń\r\n"));
        QTest::newRow("empty") << QByteArray() << refused;
        QTest::newRow("only line ends and blanks") << QByteArray("\r\n\n   \r\n\t\n") << refused;
        QTest::newRow("only NUL and control bytes") << QByteArray("\0\0\x01\x02\x1a\n\0", 7) << refused;
        QTest::newRow("a picture") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) << refused;
        // More than is read of a huge file before any text.
        QTest::newRow("text after 5 MB of line ends") << QByteArray(5 * 1024 * 1024, '\n') + "ala ma kota" << refused;
    }

    void ownTextFiles()
    {
        QFETCH(QByteArray, content);
        QFETCH(QByteArray, body);
        QTemporaryDir dir;
        Setup setup;
        auto lesson = setup.ownText(writeFile(dir, content));
        const bool loaded = bool(lesson->LoadText(builtLibrary()));
        QCOMPARE(loaded ? bytes(lesson->engine().text().body) : QByteArray("<refused>"), body);
    }
};

QTEST_MAIN(TestKeypadOwnTextLessons)
#include "tst_keypadowntextlessons.moc"
