#include "lessons/statusline.h"

#include "app/verdict.h"
#include "lessons/numberformat.h"

#include <clocale>
#include <cstdio>
#include <iomanip>
#include <locale>
#include <sstream>

#include <QtTest>

namespace {

// Numbers the way a Polish locale writes them, "1 234,5", without needing one
// installed on the machine.
class DecimalComma : public std::numpunct<char>
{
protected:
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return ' '; }
    std::string do_grouping() const override { return "\3"; }
};

// Installs the decimal comma as the global C++ locale, and a Polish C locale
// where the machine has one, for as long as it lives.
class PolishNumbers
{
public:
    PolishNumbers()
        : m_previous(std::locale::global(std::locale(std::locale::classic(), new DecimalComma)))
        , m_previousC(std::setlocale(LC_ALL, nullptr))
        , m_polishC(std::setlocale(LC_ALL, "pl_PL.UTF-8") != nullptr)
    { }
    ~PolishNumbers()
    {
        std::setlocale(LC_ALL, m_previousC.c_str());
        std::locale::global(m_previous);
    }
    PolishNumbers(const PolishNumbers &) = delete;
    PolishNumbers &operator=(const PolishNumbers &) = delete;

    bool polishC() const { return m_polishC; }

private:
    std::locale m_previous;
    std::string m_previousC;
    bool m_polishC;
};

QString q(const std::string &utf8)
{
    return QString::fromStdString(utf8);
}

QString statusOf(
    std::uint32_t seconds, std::uint32_t errors, std::uint32_t typed, float typingTime, int line, int lines)
{
    StatusFigures f;
    f.seconds = seconds;
    f.errors = errors;
    f.typedCount = typed;
    f.typingTime = typingTime;
    f.currentLine = line;
    f.lineCount = lines;
    return q(statusLineText(f));
}

using Printer = QString (*)();

} // namespace

Q_DECLARE_METATYPE(Printer)

class TestStatusLine : public QObject
{
    Q_OBJECT

private slots:
    void wholeText_data()
    {
        QTest::addColumn<uint>("seconds");
        QTest::addColumn<uint>("errors");
        QTest::addColumn<uint>("typed");
        QTest::addColumn<float>("typingTime");
        QTest::addColumn<int>("line");
        QTest::addColumn<int>("lines");
        QTest::addColumn<QString>("text");

        QTest::newRow("start of a 5-line lesson")
            << 0u << 0u << 0u << 0.0F << 0 << 5
            << QStringLiteral("Czas: 00:00:00    0 błędów        — znaków/min.    1 z 5 linii");
        QTest::newRow("one key gives no speed yet")
            << 0u << 0u << 1u << 10.0F << 0 << 5
            << QStringLiteral("Czas: 00:00:00    0 błędów        — znaków/min.    1 z 5 linii");
        QTest::newRow("four keys in 3 s: still none")
            << 3u << 0u << 4u << 3000.0F << 0 << 5
            << QStringLiteral("Czas: 00:00:03    0 błędów        — znaków/min.    1 z 5 linii");
        QTest::newRow("five keys in just under 2 s: still none")
            << 1u << 0u << 5u << 1999.0F << 0 << 5
            << QStringLiteral("Czas: 00:00:01    0 błędów        — znaków/min.    1 z 5 linii");
        QTest::newRow("five keys in 2 s: shown")
            << 2u << 0u << 5u << 2000.0F << 0 << 5
            << QStringLiteral("Czas: 00:00:02    0 błędów    150.0 znaków/min.    1 z 5 linii");
        QTest::newRow("65 s, 3 errors, 123 keystrokes in 60 s")
            << 65u << 3u << 123u << 60000.0F << 2 << 5
            << QStringLiteral("Czas: 00:01:05    3 błędy    123.0 znaków/min.    3 z 5 linii");
        QTest::newRow("a speed of four digits widens the field")
            << 3599u << 1u << 100u << 2000.0F << 137 << 138
            << QStringLiteral("Czas: 00:59:59    1 błąd    3000.0 znaków/min.    138 z 138 linii");
        QTest::newRow("hours of a long lesson")
            << 86399u << 5u << 300u << 60000.0F << 0 << 3
            << QStringLiteral("Czas: 23:59:59    5 błędów    300.0 znaków/min.    1 z 3 linii");
        QTest::newRow("a day or more wraps to 00")
            << 86400u + 3661u << 2u << 300u << 120000.0F << 0 << 3
            << QStringLiteral("Czas: 01:01:01    2 błędy    150.0 znaków/min.    1 z 3 linii");
    }

    void wholeText()
    {
        QFETCH(uint, seconds);
        QFETCH(uint, errors);
        QFETCH(uint, typed);
        QFETCH(float, typingTime);
        QFETCH(int, line);
        QFETCH(int, lines);
        QFETCH(QString, text);
        QCOMPARE(statusOf(seconds, errors, typed, typingTime, line, lines), text);
    }

    void pluralOfErrors_data()
    {
        QTest::addColumn<uint>("errors");
        QTest::addColumn<QString>("text");
        QTest::newRow("0") << 0u << QStringLiteral("    0 błędów");
        QTest::newRow("1") << 1u << QStringLiteral("    1 błąd");
        QTest::newRow("2") << 2u << QStringLiteral("    2 błędy");
        QTest::newRow("3") << 3u << QStringLiteral("    3 błędy");
        QTest::newRow("4") << 4u << QStringLiteral("    4 błędy");
        QTest::newRow("5") << 5u << QStringLiteral("    5 błędów");
        QTest::newRow("11") << 11u << QStringLiteral("    11 błędów");
        QTest::newRow("12") << 12u << QStringLiteral("    12 błędów");
        QTest::newRow("21") << 21u << QStringLiteral("    21 błędów");
        QTest::newRow("22 takes the form of 5") << 22u << QStringLiteral("    22 błędów");
        QTest::newRow("largest count") << 4294967295u << QStringLiteral("    4294967295 błędów");
    }

    void pluralOfErrors()
    {
        QFETCH(uint, errors);
        QFETCH(QString, text);
        QCOMPARE(q(errorCountText(errors)), text);
    }

    // The speed field reads exactly as "%5.1f" in the C locale, for speeds
    // from the smallest to the largest a lesson can reach.
    void speedReadsLikeFixedPointWithOneDecimal()
    {
        const char *previous = std::setlocale(LC_NUMERIC, nullptr);
        const std::string saved = previous ? previous : "C";
        std::setlocale(LC_NUMERIC, "C");
        int checked = 0;
        for (std::uint32_t typed : { 5u, 7u, 99u, 123u, 1000u, 4999u, 65535u }) {
            for (float time : { 2000.0F, 2001.0F, 2999.0F, 6000.0F, 59999.0F, 60000.0F, 1234567.0F }) {
                const double speed = float(double(typed) * 60000.0 / double(time));
                char expected[64];
                std::snprintf(expected, sizeof expected, "    %5.1f znaków/min.", speed);
                const QString text = statusOf(0, 0, typed, time, 0, 1);
                QVERIFY2(text.contains(QString::fromUtf8(expected)),
                    qPrintable(QStringLiteral("%1 keys in %2 ms: %3").arg(typed).arg(time).arg(text)));
                ++checked;
            }
        }
        std::setlocale(LC_NUMERIC, saved.c_str());
        QCOMPARE(checked, 49);
    }

    void pointWhateverTheLocale_data()
    {
        QTest::addColumn<Printer>("print");
        QTest::addColumn<QString>("text");
        QTest::newRow("fixed point") << Printer([] { return q(formatFixed1(97.5, 5)); }) << QStringLiteral(" 97.5");
        QTest::newRow("fixed point, thousands")
            << Printer([] { return q(formatFixed1(12345.6, 5)); }) << QStringLiteral("12345.6");
        QTest::newRow("status line") << Printer([] {
            return statusOf(3599, 1, 7, 2100.0F, 137, 138);
        }) << QStringLiteral("Czas: 00:59:59    1 błąd    200.0 znaków/min.    138 z 138 linii");
        QTest::newRow("verdict") << Printer([] { return q(verdictText(1234.56F, 99.04F, true, false)); })
                                 << QStringLiteral(
                                        "Szybkość pisania wyniosła 1234.6 znaków/minutę, poprawność -  99.0%.\n"
                                        "Poprawność jest dobra.\nPrędkość jest fenomenalna. ");
    }

    // A Polish locale writes decimal commas; the learner always sees a point.
    void pointWhateverTheLocale()
    {
        QFETCH(Printer, print);
        QFETCH(QString, text);
        const PolishNumbers polish;
        // What a stream that follows the locale would print.
        std::ostringstream stream;
        stream << std::fixed << std::setprecision(1) << 1234.5;
        QCOMPARE(stream.str(), std::string("1 234,5"));
        if (polish.polishC()) {
            char buffer[16];
            std::snprintf(buffer, sizeof buffer, "%.1f", 97.5);
            QCOMPARE(std::string(buffer), std::string("97,5"));
        }
        QCOMPARE(print(), text);
    }
};

QTEST_APPLESS_MAIN(TestStatusLine)
#include "tst_statusline.moc"
