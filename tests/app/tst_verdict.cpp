#include "app/verdict.h"

#include <cmath>

#include <QtTest>

namespace {
QString q(const std::string &utf8)
{
    return QString::fromStdString(utf8);
}
float below(float value)
{
    return std::nextafter(value, 0.0F);
}
} // namespace

class TestVerdict : public QObject
{
    Q_OBJECT

private slots:
    void accuracy_data()
    {
        QTest::addColumn<float>("accuracy");
        QTest::addColumn<bool>("masculine");
        QTest::addColumn<QString>("verdict");
        const QString tooMany = QStringLiteral("Za dużo błędów. Lepiej powtórz tę lekcję");
        const QString good = QStringLiteral("Poprawność jest dobra.");
        QTest::newRow("94.94, man")
            << 94.94F << true
            << QStringLiteral(
                   "Niezbyt dobrze. Popełniłeś zdecydowanie za dużo błędów! Powinieneś powtórzyć tę lekcję.");
        QTest::newRow("94.94, woman")
            << 94.94F << false
            << QStringLiteral("Niezbyt dobrze. Popełniłaś zdecydowanie za dużo błędów! Powinnaś powtórzyć tę lekcję.");
        QTest::newRow("exactly 95") << 95.0F << true << tooMany;
        QTest::newRow("97.5") << 97.5F << false << tooMany;
        QTest::newRow("94.96 reads 95.0") << 94.96F << true << tooMany;
        QTest::newRow("97.94 reads 97.9") << 97.94F << true << tooMany;
        QTest::newRow("97.98 reads 98.0") << 97.98F << true << good;
        QTest::newRow("just below 98 reads 98.0") << below(98.0F) << true << good;
        QTest::newRow("exactly 98") << 98.0F << true << good;
        QTest::newRow("99.97 reads 100.0 but had an error") << 99.97F << false << good;
        QTest::newRow("exactly 100, man") << 100.0F << true << QStringLiteral("Brawo! Nie zrobiłeś żadnego błędu.");
        QTest::newRow("exactly 100, woman") << 100.0F << false << QStringLiteral("Brawo! Nie zrobiłaś żadnego błędu.");
        QTest::newRow("nothing typed")
            << 0.0F << true
            << QStringLiteral(
                   "Niezbyt dobrze. Popełniłeś zdecydowanie za dużo błędów! Powinieneś powtórzyć tę lekcję.");
    }

    void accuracy()
    {
        QFETCH(float, accuracy);
        QFETCH(bool, masculine);
        QFETCH(QString, verdict);
        QCOMPARE(q(accuracyVerdict(accuracy, masculine)), verdict);
    }

    void speed_data()
    {
        QTest::addColumn<float>("speed");
        QTest::addColumn<QString>("verdict");
        QTest::newRow("0") << 0.0F << QStringLiteral("Dużo za wolno.");
        QTest::newRow("79.94 reads 79.9") << 79.94F << QStringLiteral("Dużo za wolno.");
        QTest::newRow("79.96 reads 80.0") << 79.96F << QStringLiteral("Trochę za wolno.");
        QTest::newRow("exactly 80") << 80.0F << QStringLiteral("Trochę za wolno.");
        QTest::newRow("exactly 100") << 100.0F << QStringLiteral("Prędkość jest dobra.");
        QTest::newRow("119.94") << 119.94F << QStringLiteral("Prędkość jest dobra.");
        QTest::newRow("exactly 120") << 120.0F << QStringLiteral("Prędkość jest bardzo dobra.");
        QTest::newRow("199.94") << 199.94F << QStringLiteral("Prędkość jest bardzo dobra.");
        QTest::newRow("199.96 reads 200.0") << 199.96F << QStringLiteral("Prędkość jest fenomenalna.");
        QTest::newRow("exactly 200") << 200.0F << QStringLiteral("Prędkość jest fenomenalna.");
    }

    void speed()
    {
        QFETCH(float, speed);
        QFETCH(QString, verdict);
        QCOMPARE(q(speedVerdict(speed)), verdict);
    }

    // "Powtórz" is offered first whenever the verdict says to repeat.
    void advisesRepeating_data()
    {
        QTest::addColumn<float>("accuracy");
        QTest::addColumn<bool>("repeat");
        QTest::newRow("nothing typed") << 0.0F << true;
        QTest::newRow("below 95") << 94.9F << true;
        QTest::newRow("97.94") << 97.94F << true;
        QTest::newRow("97.98 reads 98.0") << 97.98F << false;
        QTest::newRow("100") << 100.0F << false;
    }

    void advisesRepeating()
    {
        QFETCH(float, accuracy);
        QFETCH(bool, repeat);
        QCOMPARE(advisesRepeat(accuracy), repeat);
        // The advice and the verdict's words agree.
        const QString verdict = q(accuracyVerdict(accuracy, true));
        QCOMPARE(verdict.contains(QStringLiteral("powt")), repeat);
    }

    void wholeText_data()
    {
        QTest::addColumn<float>("speed");
        QTest::addColumn<float>("accuracy");
        QTest::addColumn<bool>("masculine");
        QTest::addColumn<bool>("suggested");
        QTest::addColumn<QString>("text");
        QTest::newRow("chosen lesson, 150.0 and 97.5")
            << 150.0F << 97.5F << true << false
            << QStringLiteral("Szybkość pisania wyniosła 150.0 znaków/minutę, poprawność -  97.5%.\n"
                              "Za dużo błędów. Lepiej powtórz tę lekcję\nPrędkość jest bardzo dobra. ");
        QTest::newRow("suggested lesson asks about the next one")
            << 61.25F << 100.0F << false << true
            << QStringLiteral(
                   "Szybkość pisania wyniosła  61.2 znaków/minutę, poprawność - 100.0%.\n"
                   "Brawo! Nie zrobiłaś żadnego błędu.\nDużo za wolno. Czy chcesz rozpocząć kolejną lekcję?");
        QTest::newRow("wider than five places")
            << 1234.56F << 99.04F << true << false
            << QStringLiteral("Szybkość pisania wyniosła 1234.6 znaków/minutę, poprawność -  99.0%.\n"
                              "Poprawność jest dobra.\nPrędkość jest fenomenalna. ");
    }

    void wholeText()
    {
        QFETCH(float, speed);
        QFETCH(float, accuracy);
        QFETCH(bool, masculine);
        QFETCH(bool, suggested);
        QFETCH(QString, text);
        QCOMPARE(q(verdictText(speed, accuracy, masculine, suggested)), text);
    }
};

QTEST_APPLESS_MAIN(TestVerdict)
#include "tst_verdict.moc"
