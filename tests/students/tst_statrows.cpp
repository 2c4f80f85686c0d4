#include "common/testsupport.h"
#include "students/statrows.h"

#include <limits>

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

int slotOf(const char *utf8)
{
    const std::string byte = W(utf8);
    const int slot = statCharSlot(static_cast<unsigned char>(byte.at(0)));
    if (slot < 0)
        qFatal("%s is no statistics character", utf8);
    return slot;
}

// Characters (UTF-8, "\r" for Enter) measured with the given speed and accuracy.
struct Measured {
    const char *c;
    float speed;
    float accuracy;
};

TCharStats statsOf(std::initializer_list<Measured> measured)
{
    TCharStats stats {};
    for (const Measured &m : measured)
        stats[slotOf(m.c)] = { m.speed, m.accuracy };
    return stats;
}

QStringList names(const std::vector<StatRow> &rows)
{
    QStringList out;
    for (const StatRow &row : rows)
        out << QString::fromStdString(cp1250::toUtf8(row.name));
    return out;
}

} // namespace

Q_DECLARE_METATYPE(TCharStats)

class TestStatRows : public QObject
{
    Q_OBJECT

private slots:
    void rows_data()
    {
        QTest::addColumn<TCharStats>("stats");
        QTest::addColumn<QStringList>("shown");

        QTest::newRow("no results") << TCharStats {} << QStringList();
        // The rows follow the slots, which are alphabetical, not the home row.
        QTest::newRow("only a s d f measured: four rows in slot order")
            << statsOf({ { "f", 90, 80 }, { "d", 70, 100 }, { "s", 60, 50 }, { "a", 50, 97.5F } })
            << QStringList({ "a", "d", "f", "s" });
        QTest::newRow("space and Enter by name")
            << statsOf({ { " ", 200, 99 }, { "\r", 40, 90 } }) << QStringList({ "Enter", "Spacja" });
        QTest::newRow("capitals after every lower-case letter, W before V")
            << statsOf({ { "V", 10, 10 }, { "ż", 10, 10 }, { "W", 10, 10 }, { "A", 10, 10 }, { "a", 10, 10 } })
            << QStringList({ "a", "ż", "A", "W", "V" });
        QTest::newRow("letters, Enter, space, digits, punctuation") << statsOf(
            { { "'", 1, 1 }, { "0", 1, 1 }, { "1", 1, 1 }, { " ", 1, 1 }, { "\r", 1, 1 }, { "Ż", 1, 1 },
                { "ą", 1, 1 } }) << QStringList({ "ą", "Ż", "Enter", "Spacja", "1", "0", "'" });
        QTest::newRow("a speed without accuracy is not listed")
            << statsOf({ { "x", 120, 0 }, { "y", 0, 5 } }) << QStringList({ "y" });
        QTest::newRow("damaged accuracy counts as not measured")
            << statsOf({ { "a", 50, kNaN }, { "b", 50, -3 }, { "c", 50, kInf }, { "d", 50, -kInf }, { "e", 50, 250 } })
            << QStringList({ "e" });
    }

    void rows()
    {
        QFETCH(TCharStats, stats);
        QFETCH(QStringList, shown);
        const std::vector<StatRow> rows = statRows(stats);
        QCOMPARE(names(rows), shown);
        for (const StatRow &row : rows)
            QCOMPARE(static_cast<unsigned char>(row.name == "Enter" ? '\r'
                             : row.name == "Spacja"                 ? ' '
                                                                    : row.name[0]),
                StatChars[row.slot]);
    }

    void speedScale_data()
    {
        QTest::addColumn<TCharStats>("stats");
        QTest::addColumn<float>("scale");

        QTest::newRow("nothing measured") << TCharStats {} << 100.0F;
        QTest::newRow("every speed below 100") << statsOf({ { "a", 50, 90 }, { "b", 99.9F, 90 } }) << 100.0F;
        QTest::newRow("exactly 100") << statsOf({ { "a", 100, 90 } }) << 100.0F;
        QTest::newRow("fastest 150.7 truncated") << statsOf({ { "a", 150.7F, 90 }, { "b", 120, 90 } }) << 150.0F;
        QTest::newRow("the fastest anywhere in the list")
            << statsOf({ { "a", 120, 90 }, { "9", 310.2F, 90 } }) << 310.0F;
        QTest::newRow("an unlisted character does not count")
            << statsOf({ { "a", 80, 90 }, { "b", 500, 0 } }) << 100.0F;
        QTest::newRow("damaged speeds do not count")
            << statsOf({ { "a", kNaN, 90 }, { "b", kInf, 90 }, { "c", -500, 90 } }) << 100.0F;
        QTest::newRow("an absurd speed stops at the ceiling") << statsOf({ { "a", 1e30F, 90 } }) << 9999.0F;
    }

    void speedScale()
    {
        QFETCH(TCharStats, stats);
        QFETCH(float, scale);
        QCOMPARE(statSpeedScale(stats), scale);
    }

    void valueText_data()
    {
        QTest::addColumn<float>("speed");
        QTest::addColumn<float>("accuracy");
        QTest::addColumn<QString>("speedText");
        QTest::addColumn<QString>("accuracyText");

        QTest::newRow("50 and 97.5") << 50.0F << 97.5F << " 50.0 z/m"
                                     << " 97.5 %";
        QTest::newRow("full accuracy, fast") << 150.7F << 100.0F << "150.7 z/m"
                                             << "100.0 %";
        QTest::newRow("small numbers padded") << 7.24F << 3.0F << "  7.2 z/m"
                                              << "  3.0 %";
        QTest::newRow("wider than five") << 1234.5F << 12.0F << "1234.5 z/m"
                                         << " 12.0 %";
        QTest::newRow("NaN shows 0") << kNaN << kNaN << "  0.0 z/m"
                                     << "  0.0 %";
        QTest::newRow("negative shows 0") << -20.0F << -1.0F << "  0.0 z/m"
                                          << "  0.0 %";
        QTest::newRow("too large stops at the ceiling") << kInf << 400.0F << "  0.0 z/m"
                                                        << "100.0 %";
        QTest::newRow("absurd speed") << 3e9F << 50.0F << "9999.9 z/m"
                                      << " 50.0 %";
    }

    void valueText()
    {
        QFETCH(float, speed);
        QFETCH(float, accuracy);
        QFETCH(QString, speedText);
        QFETCH(QString, accuracyText);
        const TCharStat stat { speed, accuracy };
        QCOMPARE(QString::fromStdString(statValueText(stat, StatMode::Speed)), speedText);
        QCOMPARE(QString::fromStdString(statValueText(stat, StatMode::Accuracy)), accuracyText);
    }

    void rowLayout_data()
    {
        QTest::addColumn<QList<int>>("rect"); // left, top, right, bottom
        QTest::addColumn<QList<int>>("cells"); // nameRight, valueRight, barLeft, barArea

        // 402 wide: w = 400, q = 100, name 40 wide, value up to q - 2, bar area 300.
        QTest::newRow("400 inside") << QList<int>({ 0, 0, 402, 18 }) << QList<int>({ 41, 99, 101, 300 });
        QTest::newRow("moved right") << QList<int>({ 10, 30, 412, 48 }) << QList<int>({ 51, 109, 111, 300 });
        // w = 403: q = 100, name (2 * 100) / 5 = 40, bar area 303.
        QTest::newRow("odd width") << QList<int>({ 0, 0, 405, 18 }) << QList<int>({ 41, 99, 101, 303 });
        // w = 19: q = 4, name 1.
        QTest::newRow("narrow") << QList<int>({ 0, 0, 21, 18 }) << QList<int>({ 2, 3, 5, 15 });
        QTest::newRow("no width at all") << QList<int>({ 5, 0, 6, 18 }) << QList<int>({ 6, 6, 6, 0 });
    }

    void rowLayout()
    {
        QFETCH(QList<int>, rect);
        QFETCH(QList<int>, cells);
        const StatRowLayout layout = statRowLayout(rect[0], rect[1], rect[2], rect[3]);
        QCOMPARE(layout.nameLeft, rect[0] + 1);
        QCOMPARE(layout.top, rect[1] + 1);
        QCOMPARE(layout.bottom, rect[3] - 1);
        QCOMPARE(layout.valueLeft, layout.nameRight);
        QCOMPARE(QList<int>({ layout.nameRight, layout.valueRight, layout.barLeft, layout.barArea }), cells);
    }

    void barLength_data()
    {
        QTest::addColumn<float>("speed");
        QTest::addColumn<float>("accuracy");
        QTest::addColumn<float>("scale");
        QTest::addColumn<int>("barArea");
        QTest::addColumn<int>("speedBar");
        QTest::addColumn<int>("accuracyBar");

        QTest::newRow("50 on scale 100 is half") << 50.0F << 100.0F << 100.0F << 300 << 150 << 300;
        QTest::newRow("half of an odd area floors") << 50.0F << 50.0F << 100.0F << 301 << 150 << 150;
        // floor(0.975 * 300) = 292, floor(0.975 * 400) = 390.
        QTest::newRow("97.5 per cent") << 10.0F << 97.5F << 100.0F << 300 << 30 << 292;
        QTest::newRow("97.5 per cent of 400") << 10.0F << 97.5F << 100.0F << 400 << 40 << 390;
        // 300 * 120 / 150.
        QTest::newRow("against a larger scale") << 120.0F << 1.0F << 150.0F << 300 << 240 << 3;
        // 300 * 150.7 / 150 = 301.4: the fastest key fills the area and stops there.
        QTest::newRow("fastest key over its truncated scale") << 150.7F << 100.0F << 150.0F << 300 << 300 << 300;
        QTest::newRow("nothing to draw in") << 50.0F << 50.0F << 100.0F << 0 << 0 << 0;
        QTest::newRow("NaN draws no bar") << kNaN << kNaN << 100.0F << 300 << 0 << 0;
        QTest::newRow("negative draws no bar") << -50.0F << -50.0F << 100.0F << 300 << 0 << 0;
        QTest::newRow("infinite draws no bar") << kInf << -kInf << 100.0F << 300 << 0 << 0;
        QTest::newRow("too large stops at the area") << 5000.0F << 1e20F << 100.0F << 300 << 300 << 300;
    }

    void barLength()
    {
        QFETCH(float, speed);
        QFETCH(float, accuracy);
        QFETCH(float, scale);
        QFETCH(int, barArea);
        QFETCH(int, speedBar);
        QFETCH(int, accuracyBar);
        const TCharStat stat { speed, accuracy };
        QCOMPARE(statBarLength(stat, StatMode::Speed, scale, barArea), speedBar);
        QCOMPARE(statBarLength(stat, StatMode::Accuracy, scale, barArea), accuracyBar);
    }
};

QTEST_APPLESS_MAIN(TestStatRows)
#include "tst_statrows.moc"
