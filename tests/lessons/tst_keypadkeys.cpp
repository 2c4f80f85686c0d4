#include "common/testsupport.h"
#include "lessons/keypadkeys.h"
#include "lessons/typingengine.h"

namespace {

constexpr unsigned char CR = 13;

QRect rectOf(const KeyArea &area)
{
    return QRect(area.left, area.top, area.width, area.height);
}

// A keypad drill's text in an engine judging with the keypad rule.
TypingEngine drillEngine(const char *body, bool plusMark)
{
    TypingEngine engine([plusMark](unsigned char a, unsigned char b) { return keypadSameKey(a, b, plusMark); });
    LessonText text;
    text.PlusMark = plusMark ? 1 : 0;
    text.setBody(body);
    engine.load(std::move(text));
    engine.start(0);
    return engine;
}

} // namespace

class TestKeypadKeys : public QObject
{
    Q_OBJECT

private slots:
    void sameKey_data()
    {
        QTest::addColumn<char>("a");
        QTest::addColumn<char>("b");
        QTest::addColumn<bool>("plusMark");
        QTest::addColumn<bool>("same");
        QTest::newRow("comma is the point key") << ',' << '.' << false << true;
        QTest::newRow("point is the comma key") << '.' << ',' << false << true;
        QTest::newRow("comma and comma") << ',' << ',' << false << true;
        QTest::newRow("digits compare plainly") << '5' << '5' << false << true;
        QTest::newRow("different digits") << '5' << '6' << false << false;
        QTest::newRow("comma is no digit") << ',' << '0' << false << false;
        QTest::newRow("plus is Enter with the plus mark") << '+' << char(CR) << true << true;
        QTest::newRow("plus is not Enter without it") << '+' << char(CR) << false << false;
        QTest::newRow("Enter is not plus, only the other way") << char(CR) << '+' << true << false;
        QTest::newRow("Enter stays Enter with the plus mark") << char(CR) << char(CR) << true << true;
        QTest::newRow("plus stays plus with the plus mark") << '+' << '+' << true << true;
        QTest::newRow("minus is not Enter") << '-' << char(CR) << true << false;
    }

    void sameKey()
    {
        QFETCH(char, a);
        QFETCH(char, b);
        QFETCH(bool, plusMark);
        QFETCH(bool, same);
        QCOMPARE(keypadSameKey(static_cast<unsigned char>(a), static_cast<unsigned char>(b), plusMark), same);
    }

    // A keystroke as the engine judges it in a drill: what the key is taken
    // for, whether it is right, and where the text goes.
    void keystrokeInADrill_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<bool>("plusMark");
        QTest::addColumn<char>("typed");
        QTest::addColumn<int>("errorType");
        QTest::addColumn<bool>("correct");
        QTest::addColumn<QByteArray>("shown"); // the typed row of line 0 afterwards
        QTest::addColumn<int>("line");
        QTest::newRow("comma where a point is expected")
            << QByteArray(".5\r\n1") << false << ',' << 0 << true << QByteArray(".") << 0;
        QTest::newRow("point where a comma is expected")
            << QByteArray(",5\r\n1") << false << '.' << 0 << true << QByteArray(".") << 0;
        QTest::newRow("plus at a line end with the plus mark")
            << QByteArray("\r\n1") << true << '+' << 0 << true << QByteArray() << 1;
        QTest::newRow("Enter at a line end with the plus mark")
            << QByteArray("\r\n1") << true << char(CR) << 0 << true << QByteArray() << 1;
        QTest::newRow("plus where a plus is expected with the plus mark")
            << QByteArray("+1\r\n1") << true << '+' << 0 << true << QByteArray() << 0;
        QTest::newRow("plus at a line end without the plus mark, waiting")
            << QByteArray("\r\n1") << false << '+' << 0 << false << QByteArray() << 0;
        QTest::newRow("plus at a line end without the plus mark, accepting errors")
            << QByteArray("\r\n1") << false << '+' << 1 << false << QByteArray("+") << 1;
        QTest::newRow("plus where a digit is expected with the plus mark")
            << QByteArray("7\r\n1") << true << '+' << 1 << false << QByteArray("\xb6") << 0;
    }

    void keystrokeInADrill()
    {
        QFETCH(QByteArray, body);
        QFETCH(bool, plusMark);
        QFETCH(char, typed);
        QFETCH(int, errorType);
        QFETCH(bool, correct);
        QFETCH(QByteArray, shown);
        QFETCH(int, line);
        TypingEngine engine = drillEngine(body.constData(), plusMark);
        const KeyOutcome out = engine.keyTyped(static_cast<unsigned char>(typed), 100, ErrorMode(errorType));
        QVERIFY(out.counted);
        QCOMPARE(out.correct, correct);
        QCOMPARE(int(engine.errorCount()), correct ? 0 : 1);
        QCOMPARE(bytes(engine.typedRow(0)), shown);
        QCOMPARE(engine.currentLine(), line);
    }

    void keyForNextCharacter_data()
    {
        QTest::addColumn<char>("next");
        QTest::addColumn<bool>("plusMark");
        QTest::addColumn<char>("key"); // 0: no key marked
        QTest::newRow("point: the decimal key") << '.' << false << '.';
        QTest::newRow("comma finds no key") << ',' << false << char(0);
        QTest::newRow("line end: Enter") << char(CR) << false << char(CR);
        QTest::newRow("line end with the plus mark: plus") << char(CR) << true << '+';
        QTest::newRow("plus with the plus mark: plus") << '+' << true << '+';
        QTest::newRow("zero") << '0' << false << '0';
        QTest::newRow("slash") << '/' << false << '/';
        QTest::newRow("end of text") << char(0) << true << char(0);
        QTest::newRow("a letter has no keypad key") << 'a' << false << char(0);
        QTest::newRow("space has no keypad key") << ' ' << false << char(0);
    }

    void keyForNextCharacter()
    {
        QFETCH(char, next);
        QFETCH(bool, plusMark);
        QFETCH(char, key);
        const int index = keypadKeyFor(static_cast<unsigned char>(next), plusMark);
        if (key == 0) {
            QCOMPARE(index, -1);
            return;
        }
        QVERIFY(index >= 0 && index < kKeypadKeyCount);
        QCOMPARE(char(KeypadKeys[index].character), key);
    }

    // The keys lie on the keypad part of the 638 x 193 picture, in the
    // searched order, and no two overlap.
    void keysLieOnTheKeypad()
    {
        QByteArray order;
        for (const KeypadKey &key : KeypadKeys)
            order += char(key.character);
        QCOMPARE(order, QByteArray("/*-789+456123\r0."));
        const QRect keypad(517, 51, 4 * 26, 5 * 26);
        QRect covered;
        int area = 0;
        for (int i = 0; i < kKeypadKeyCount; ++i) {
            const QRect key = rectOf(KeypadKeys[i].area);
            QVERIFY2(keypad.contains(key), qPrintable(QString::number(i)));
            for (int j = 0; j < i; ++j)
                QVERIFY2(
                    !key.intersects(rectOf(KeypadKeys[j].area)), qPrintable(QStringLiteral("%1 %2").arg(i).arg(j)));
            covered |= key;
            area += key.width() * key.height();
        }
        // Together they fill the keypad, with no hole: the 17 key places of
        // a keypad less the top-left Num Lock.
        QCOMPARE(covered, keypad);
        QCOMPARE(area, keypad.width() * keypad.height() - 26 * 26);
    }
};

QTEST_APPLESS_MAIN(TestKeypadKeys)
#include "tst_keypadkeys.moc"
