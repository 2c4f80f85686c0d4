#include "common/testsupport.h"
#include "lessons/owntext.h"

namespace {

using Lines = QList<QByteArray>;

QByteArray repeated(char c, int n)
{
    return QByteArray(n, c);
}

// The exercise lines of a body, which must end each of them with CR LF.
Lines linesOf(const std::string &body)
{
    Lines lines = bytes(body).split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    for (QByteArray &line : lines) {
        if (!line.endsWith('\r'))
            return { "<line without CR LF>" };
        line.chop(1);
    }
    return lines;
}

OwnText cut(const QByteArray &file)
{
    return cutOwnText(std::string_view(file.constData(), std::size_t(file.size())));
}

} // namespace

class TestOwnText : public QObject
{
    Q_OBJECT

private slots:
    void cutsIntoExerciseLines_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<Lines>("expected");

        const QByteArray seventy = repeated('a', 30) + ' ' + repeated('b', 39);
        QTest::newRow("70 characters stay one line") << seventy + "\n" << Lines { seventy };
        QTest::newRow("71 characters with a blank at 40 give 40 + 30")
            << repeated('a', 40) + ' ' + repeated('b', 30) << Lines { repeated('a', 40), repeated('b', 30) };
        QTest::newRow("the cut is at the last blank of the first 70")
            << QByteArray("ab cd ") + repeated('e', 66) << Lines { "ab cd", repeated('e', 66) };
        QTest::newRow("no blank: cut every 70")
            << repeated('x', 150) << Lines { repeated('x', 70), repeated('x', 70), repeated('x', 10) };
        QTest::newRow("140 without blanks leave no empty line") << repeated('x', 140) + "\n"
                                                                << Lines { repeated('x', 70), repeated('x', 70) };
        QTest::newRow("a rest of exactly 70 is cut again") << repeated('a', 60) + ' ' + repeated('b', 30) + ' '
                + repeated('c', 39) << Lines { repeated('a', 60), repeated('b', 30), repeated('c', 39) };
        QTest::newRow("a blank at the start of a cut makes no empty line") << repeated('x', 70) + ' '
                + repeated('y', 80) << Lines { repeated('x', 70), repeated('y', 70), repeated('y', 10) };
        QTest::newRow("a file line longer than 4095 is read in pieces") << repeated('z', 4100) << [] {
            Lines lines(58, repeated('z', 70));
            return lines << repeated('z', 35) << repeated('z', 5);
        }();
        QTest::newRow("blank lines leave nothing")
            << QByteArray("\n\nala\n\n\nma\n   \n\t\nkota\n\n") << Lines { "ala", "ma", "kota" };
        QTest::newRow("LF line ends") << QByteArray("ala\nma\nkota") << Lines { "ala", "ma", "kota" };
        QTest::newRow("CR LF line ends") << QByteArray("ala\r\nma\r\nkota\r\n") << Lines { "ala", "ma", "kota" };
        QTest::newRow("a lone CR ends a line") << QByteArray("ala\rma\r\rkota") << Lines { "ala", "ma", "kota" };
        QTest::newRow("nothing but line ends") << QByteArray("\r\n\n\r\r\n") << Lines {};
        QTest::newRow("empty file") << QByteArray() << Lines {};
        QTest::newRow("NUL and control characters are dropped") << QByteArray("al\0a\x01 m\x1b"
                                                                              "a\x7f\n\0\n",
            13) << Lines { "ala ma" };
        QTest::newRow("a tab is a blank") << QByteArray("ala\tma") << Lines { "ala ma" };
        QTest::newRow("Polish letters stay")
            << bytes(W("Zażółć gęślą jaźń")) << Lines { bytes(W("Zażółć gęślą jaźń")) };
        QTest::newRow("typographic marks become keyboard ones") << bytes(
            W("„Tak” – rzekł… «nie» ‘a’—b\u00a0c")) << Lines { bytes(W("\"Tak\" - rzekł... \"nie\" 'a'-b c")) };
        QTest::newRow("characters no key gives are dropped") << bytes(W("a|b é ü §c")) << Lines { "ab   c" };
        QTest::newRow("dropping comes before cutting") << repeated('a', 35) + QByteArray(10, '\0') + ' '
                + repeated('b', 30) << Lines { repeated('a', 35) + ' ' + repeated('b', 30) };
    }

    void cutsIntoExerciseLines()
    {
        QFETCH(QByteArray, file);
        QFETCH(Lines, expected);
        const OwnText text = cut(file);
        QCOMPARE(linesOf(text.body), expected);
        QCOMPARE(text.lineCount, int(expected.size()));
    }

    // The count stops at 100 lines, also in the middle of a long file line.
    void atMostHundredLines_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QByteArray>("lastLine");
        QByteArray shortLines;
        for (int i = 1; i <= 150; ++i)
            shortLines += "linia " + QByteArray::number(i) + "\r\n";
        QTest::newRow("150 short lines") << shortLines << QByteArray("linia 100");
        QByteArray longLast;
        for (int i = 1; i <= 99; ++i)
            longLast += "x\n";
        longLast += repeated('y', 700);
        QTest::newRow("99 lines and one of 700 characters") << longLast << repeated('y', 70);
        QTest::newRow("one line of 50000 characters") << repeated('w', 50000) << repeated('w', 70);
    }

    void atMostHundredLines()
    {
        QFETCH(QByteArray, file);
        QFETCH(QByteArray, lastLine);
        const OwnText text = cut(file);
        const Lines lines = linesOf(text.body);
        QCOMPARE(text.lineCount, 100);
        QCOMPARE(int(lines.size()), 100);
        QCOMPARE(lines.last(), lastLine);
        QVERIFY(text.body.size() <= 100 * (kOwnTextLineLength + 2));
    }

    // Cutting breaks a text only at blanks: no line is longer than 70, none is
    // empty, and the lines joined with blanks give the paragraph back.
    void cuttingLosesNoWord()
    {
        QByteArray paragraph;
        for (int i = 0; i < 300; ++i) {
            if (!paragraph.isEmpty())
                paragraph += ' ';
            paragraph += repeated(char('a' + i % 26), 1 + (i * 7) % 13);
        }
        const Lines lines = linesOf(cut(paragraph).body);
        QVERIFY(lines.size() > 30);
        for (const QByteArray &line : lines) {
            QVERIFY2(!line.isEmpty() && line.size() <= 70, line.constData());
            QVERIFY(!line.startsWith(' ') && !line.endsWith(' '));
        }
        QCOMPARE(lines.join(' '), paragraph);
    }
};

QTEST_APPLESS_MAIN(TestOwnText)
#include "tst_owntext.moc"
