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
        QTest::newRow("just below 95, man")
            << below(95.0F) << true
            << QStringLiteral(
                   "Niezbyt dobrze. Popełniłeś zdecydowanie za dużo błędów! Powinieneś powtórzyć tę lekcję.");
        QTest::newRow("just below 95, woman")
            << below(95.0F) << false
            << QStringLiteral("Niezbyt dobrze. Popełniłaś zdecydowanie za dużo błędów! Powinnaś powtórzyć tę lekcję.");
        QTest::newRow("exactly 95") << 95.0F << true << tooMany;
        QTest::newRow("97.5") << 97.5F << false << tooMany;
        QTest::newRow("just below 98") << below(98.0F) << true << tooMany;
        QTest::newRow("exactly 98") << 98.0F << true << good;
        QTest::newRow("just below 100") << below(100.0F) << false << good;
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
        QTest::newRow("just below 80") << below(80.0F) << QStringLiteral("Dużo za wolno.");
        QTest::newRow("exactly 80") << 80.0F << QStringLiteral("Trochę za wolno.");
        QTest::newRow("exactly 100") << 100.0F << QStringLiteral("Prędkość jest dobra.");
        QTest::newRow("just below 120") << below(120.0F) << QStringLiteral("Prędkość jest dobra.");
        QTest::newRow("exactly 120") << 120.0F << QStringLiteral("Prędkość jest bardzo dobra.");
        QTest::newRow("just below 200") << below(200.0F) << QStringLiteral("Prędkość jest bardzo dobra.");
        QTest::newRow("exactly 200") << 200.0F << QStringLiteral("Prędkość jest fenomenalna.");
    }

    void speed()
    {
        QFETCH(float, speed);
        QFETCH(QString, verdict);
        QCOMPARE(q(speedVerdict(speed)), verdict);
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
