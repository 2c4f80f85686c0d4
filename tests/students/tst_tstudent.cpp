#include "common/testsupport.h"
#include "students/tstudent.h"

class TestStudent : public QObject
{
    Q_OBJECT

private slots:
    void recordCharCounts_data()
    {
        QTest::addColumn<int>("slot");
        QTest::addColumn<float>("storedSpeed");
        QTest::addColumn<float>("storedAccuracy");
        QTest::addColumn<uint>("hits");
        QTest::addColumn<uint>("misses");
        QTest::addColumn<uint>("time");
        QTest::addColumn<float>("speed");
        QTest::addColumn<float>("accuracy");

        QTest::newRow("11 hits, 1 miss, 6000 ms on an unmeasured slot")
            << 0 << 0.0F << 0.0F << 11u << 1u << 6000u << 120.0F << float(1100.0 / 12.0);
        QTest::newRow("11 hits replace a measured slot")
            << 57 << 50.0F << 50.0F << 11u << 1u << 6000u << 120.0F << float(1100.0 / 12.0);
        QTest::newRow("replaced, not averaged") << 112 << 300.0F << 100.0F << 20u << 0u << 6000u << 200.0F << 100.0F;
        QTest::newRow("10 hits leave a measured slot") << 3 << 80.0F << 50.0F << 10u << 0u << 1000u << 80.0F << 50.0F;
        QTest::newRow("1 hit, 3 misses, 0 ms on an unmeasured slot")
            << 5 << 0.0F << 0.0F << 1u << 3u << 0u << 0.0F << 25.0F;
        QTest::newRow("0 ms keeps the stored speed") << 5 << 80.0F << 0.0F << 1u << 0u << 0u << 80.0F << 100.0F;
        QTest::newRow("0 ms with many hits keeps the speed too")
            << 6 << 70.0F << 90.0F << 30u << 0u << 0u << 70.0F << 100.0F;
        QTest::newRow("only misses leave an unmeasured slot") << 7 << 0.0F << 0.0F << 0u << 5u << 900u << 0.0F << 0.0F;
        QTest::newRow("a slot not in the lesson stays") << 8 << 150.0F << 95.0F << 0u << 0u << 0u << 150.0F << 95.0F;
        QTest::newRow("counts beyond 32 bits when added")
            << 9 << 0.0F << 0.0F << 4000000000u << 4000000000u << 4000000000u << 120000.0F << 50.0F;
    }

    void recordCharCounts()
    {
        QFETCH(int, slot);
        QFETCH(float, storedSpeed);
        QFETCH(float, storedAccuracy);
        QFETCH(uint, hits);
        QFETCH(uint, misses);
        QFETCH(uint, time);
        QFETCH(float, speed);
        QFETCH(float, accuracy);

        TStudent student;
        student.CharStats[slot] = { storedSpeed, storedAccuracy };
        TCharCounts counts {};
        counts[slot] = { hits, time, misses };
        RecordCharCounts(student, counts);
        QCOMPARE(student.CharStats[slot].Speed, speed);
        QCOMPARE(student.CharStats[slot].Accuracy, accuracy);
        for (int other = 0; other < kStatCharCount; ++other) {
            if (other != slot)
                QVERIFY(student.CharStats[other].Speed == 0.0F && student.CharStats[other].Accuracy == 0.0F);
        }
    }
};

QTEST_APPLESS_MAIN(TestStudent)
#include "tst_tstudent.moc"
