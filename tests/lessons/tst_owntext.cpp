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

    // Files as editors save them come out as the same Windows-1250 text;
    // bytes that are no text give nothing.
    void readsEveryEncoding_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QByteArray>("expected"); // "<none>" when refused

        const QByteArray polish = bytes(W("Zażółć gęślą jaźń"));
        const QByteArray utf8 = QString::fromUtf8("Zażółć gęślą jaźń").toUtf8();
        auto utf16 = [](const char *text, bool bigEndian) {
            QByteArray out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
            for (const QChar qc : QString::fromUtf8(text)) {
                const char16_t u = qc.unicode();
                const char hi = char(u >> 8), lo = char(u & 0xFF);
                out.append(bigEndian ? hi : lo).append(bigEndian ? lo : hi);
            }
            return out;
        };
        QTest::newRow("UTF-8") << utf8 << polish;
        QTest::newRow("UTF-8 with its mark") << "\xEF\xBB\xBF" + utf8 << polish;
        QTest::newRow("UTF-16 little-endian") << utf16("Zażółć gęślą jaźń", false) << polish;
        QTest::newRow("UTF-16 big-endian") << utf16("Zażółć gęślą jaźń", true) << polish;
        QTest::newRow("UTF-16 outside the code page") << utf16("a😀b€", false) << QByteArray("ab\x80");
        QTest::newRow("Windows-1250 stays") << polish << polish;
        QTest::newRow("not UTF-8 after a valid start") << "\xC5\xBC" + polish << "\xC5\xBC" + polish;
        QTest::newRow("overlong UTF-8 is Windows-1250") << QByteArray("a\xC0\xAF"
                                                                      "b")
                                                        << QByteArray("a\xC0\xAF"
                                                                      "b");
        QTest::newRow("a character cut off at the end") << utf8 + "\xC5" << polish;
        QTest::newRow("typographic marks outside the code page")
            << QString::fromUtf8("a‐b−c′d″e\u2009f\u202Fg").toUtf8() << QByteArray("a-b-c'd\"e f g");
        QTest::newRow("typographic marks of the code page")
            << QString::fromUtf8("„Tak” – …").toUtf8() << bytes(W("„Tak” – …"));
        QTest::newRow("form feeds and tabs are text") << QByteArray("a\fb\tc\r\n") << QByteArray("a\fb\tc\r\n");
        QTest::newRow("empty file") << QByteArray() << QByteArray();
        QTest::newRow("a NUL byte") << QByteArray("tekst\0tekst", 11) << QByteArray("<none>");
        QTest::newRow("UTF-16 without its mark") << utf16("tekst", false).mid(2) << QByteArray("<none>");
        QTest::newRow("a NUL in UTF-16") << utf16("ab", false) + QByteArray(2, '\0') << QByteArray("<none>");
        QTest::newRow("mostly control bytes") << QByteArray("\x01\x02\x03"
                                                            "abcdefgh\x1b\x1b")
                                              << QByteArray("<none>");
        QTest::newRow("one control byte in ten is still text") << QByteArray("\x1b"
                                                                             "abcdefghi")
                                                               << QByteArray("\x1b"
                                                                             "abcdefghi");
    }

    void readsEveryEncoding()
    {
        QFETCH(QByteArray, file);
        QFETCH(QByteArray, expected);
        const auto text = ownTextToCp1250(std::string_view(file.constData(), std::size_t(file.size())));
        QCOMPARE(text ? bytes(*text) : QByteArray("<none>"), expected);
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
