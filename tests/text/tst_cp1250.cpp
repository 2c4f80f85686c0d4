#include "common/testsupport.h"
#include "text/cp1250.h"
#include "text/statchars.h"

#include <QStringDecoder>

class TestCp1250 : public QObject
{
    Q_OBJECT

private slots:
    void polishLetters_data()
    {
        QTest::addColumn<QString>("letter");
        QTest::addColumn<int>("byte");
        const struct {
            const char *letter;
            int byte;
        } rows[] = {
            { "ą", 0xB9 },
            { "ć", 0xE6 },
            { "ę", 0xEA },
            { "ł", 0xB3 },
            { "ń", 0xF1 },
            { "ó", 0xF3 },
            { "ś", 0x9C },
            { "ź", 0x9F },
            { "ż", 0xBF },
            { "Ą", 0xA5 },
            { "Ć", 0xC6 },
            { "Ę", 0xCA },
            { "Ł", 0xA3 },
            { "Ń", 0xD1 },
            { "Ó", 0xD3 },
            { "Ś", 0x8C },
            { "Ź", 0x8F },
            { "Ż", 0xAF },
            { "¶", 0xB6 },
        };
        for (const auto &row : rows)
            QTest::newRow(row.letter) << QString::fromUtf8(row.letter) << row.byte;
    }

    void polishLetters()
    {
        QFETCH(QString, letter);
        QFETCH(int, byte);
        const std::string bytes = cp1250::fromUtf8(letter.toUtf8().constData());
        QCOMPARE(bytes.size(), std::size_t(1));
        QCOMPARE(int(static_cast<unsigned char>(bytes[0])), byte);
        QCOMPARE(cp1250::toUtf8(bytes), std::string(letter.toUtf8().constData()));
    }

    // Our table must agree with the code page as the system knows it.
    void agreesWithSystemCodec()
    {
        QStringDecoder decoder("windows-1250");
        if (!decoder.isValid())
            QSKIP("this Qt has no Windows-1250 codec to compare with");
        const unsigned char undefined[] = { 0x81, 0x83, 0x88, 0x90, 0x98 };
        for (int b = 0; b < 256; ++b) {
            if (std::find(std::begin(undefined), std::end(undefined), b) != std::end(undefined))
                continue;
            const char byte = static_cast<char>(b);
            const QString decoded = decoder.decode(QByteArrayView(&byte, 1));
            QCOMPARE(decoded.size(), 1);
            QCOMPARE(uint(cp1250::toCodePoint(static_cast<unsigned char>(b))), uint(decoded.at(0).unicode()));
        }
    }

    void everyByteRoundTrips()
    {
        std::string all;
        for (int b = 0; b < 256; ++b)
            all += static_cast<char>(b);
        QCOMPARE(bytes(cp1250::fromUtf8(cp1250::toUtf8(all))), bytes(all));
    }

    void unmappableAndMalformedBecomeQuestionMarks_data()
    {
        QTest::addColumn<QByteArray>("utf8");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("cyrillic") << QByteArray("a\xD0\x96z") << QByteArray("a?z");
        QTest::newRow("emoji") << QByteArray("\xF0\x9F\x98\x80!") << QByteArray("?!");
        QTest::newRow("cut sequence") << QByteArray("ab\xC5") << QByteArray("ab?");
        QTest::newRow("stray continuation") << QByteArray("\x80x") << QByteArray("?x");
    }

    void unmappableAndMalformedBecomeQuestionMarks()
    {
        QFETCH(QByteArray, utf8);
        QFETCH(QByteArray, expected);
        QCOMPARE(bytes(cp1250::fromUtf8(std::string_view(utf8.constData(), utf8.size()))), expected);
    }

    void statCharsOrder()
    {
        QCOMPARE(statCharSlot('a'), 0);
        QCOMPARE(statCharSlot(static_cast<unsigned char>(W("ż")[0])), 34);
        QCOMPARE(statCharSlot('W'), 63);
        QCOMPARE(statCharSlot('V'), 64);
        QCOMPARE(statCharSlot('\r'), 70);
        QCOMPARE(statCharSlot(' '), 71);
        QCOMPARE(statCharSlot('1'), 72);
        QCOMPARE(statCharSlot('0'), 81);
        QCOMPARE(statCharSlot('.'), 82);
        QCOMPARE(statCharSlot('\''), 112);
        QCOMPARE(statCharSlot('\t'), -1);
        QCOMPARE(statCharSlot('|'), -1);
        QCOMPARE(statCharSlot('\n'), -1);
        QCOMPARE(statCharSlot(8), -1); // backspace
        // Every slot holds a distinct character.
        for (int i = 0; i < kStatCharCount; ++i)
            QCOMPARE(statCharSlot(StatChars[i]), i);
    }
};

QTEST_APPLESS_MAIN(TestCp1250)
#include "tst_cp1250.moc"
