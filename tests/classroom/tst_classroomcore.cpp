#include "classroom/pupilids.h"
#include "classroom/rostermerge.h"
#include "common/testsupport.h"

namespace {

TStudent pupil(const char *name, const char *id, int next = 1201)
{
    TStudent s(W(name), 0, 1);
    s.Id = id;
    s.NextLesson = next;
    return s;
}

TStudentList listOf(std::initializer_list<TStudent> pupils)
{
    TStudentList list;
    for (const TStudent &p : pupils)
        list.add(p);
    return list;
}

QString idsOf(const TStudentList &list)
{
    QStringList ids;
    for (int i = 0; i < list.count(); ++i)
        ids << QString::fromStdString(list.at(i).Id);
    return ids.join(QLatin1Char(' '));
}

// A lesson of `hits` correct keystrokes of one character, 60 ms each.
TCharCounts lessonOf(unsigned char c, std::uint32_t hits, std::uint32_t misses = 0)
{
    TCharCounts counts {};
    counts[std::size_t(statCharSlot(c))] = { hits, hits * 60, misses };
    return counts;
}

} // namespace

class TestClassroomCore : public QObject
{
    Q_OBJECT

private slots:
    void identitiesFollowTheList_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("ids");
        QTest::newRow("the list as written") << "none"
                                             << "a b c";
        QTest::newRow("a record changed elsewhere: only that pupil is new") << "results"
                                                                            << "a new1 c";
        QTest::newRow("the list deleted and a pupil registered at an old place") << "reset"
                                                                                 << "new1";
        QTest::newRow("a new pupil under an old name at an old place") << "same name"
                                                                       << "new1";
        QTest::newRow("identities damaged") << "damaged ids"
                                            << "new1 new2 new3";
    }

    void identitiesFollowTheList()
    {
        QFETCH(QString, change);
        QFETCH(QString, ids);
        TStudentList written = listOf({ pupil("Ala", "a"), pupil("Bartek", "b"), pupil("Celina", "c") });
        written.at(1).CharStats[0] = { 100.0F, 90.0F };
        PupilIds known = PupilIds::parse(PupilIds::of(written, written.serialize(), {}).serialize());

        TStudentList now = listOf({ written.at(0), written.at(1), written.at(2) });
        if (change == "results")
            now.at(1).CharStats[0] = { 120.0F, 95.0F };
        else if (change == "reset")
            now = listOf({ pupil("Zosia", "") });
        else if (change == "same name")
            now = listOf({ pupil("Ala", "") }), now.at(0).NextLesson = 1202;
        else if (change == "damaged ids")
            known = PupilIds::parse("Palcomir ids 1\nlist zz\npupil a 1 \npupil \x01 2\n");
        const std::string bytes = now.serialize();
        int made = 0;
        assignIds(now, bytes, known, [&made] { return "new" + std::to_string(++made); });
        QCOMPARE(idsOf(now), ids);
    }

    void mergeKeepsEveryComputersWork()
    {
        // Both computers read [Ala a, Bartek b]. Elsewhere Celina was added,
        // Ala did a lesson and reached 1203. Here Darek was added, Bartek
        // removed, and Ala did another lesson of other letters.
        TStudent alaThere = pupil("Ala", "a", 1203);
        RecordCharCounts(alaThere, lessonOf('a', 20));
        const TStudentList file = listOf({ alaThere, pupil("Bartek", "b"), pupil("Celina", "c") });

        TStudent alaHere = pupil("Ala", "a", 1202);
        RecordCharCounts(alaHere, lessonOf('s', 30, 10));
        const TStudentList mine = listOf({ alaHere, pupil("Darek", "d") });
        LocalChanges changes;
        changes.base = { "a", "b" };
        changes.lessons["a"] = { lessonOf('s', 30, 10) };

        const MergedRoster merged = mergeRosters(file, {}, mine, changes);
        QCOMPARE(idsOf(merged.list), QStringLiteral("a c d"));
        QVERIFY(merged.removed.count("b"));
        const TStudent &ala = merged.list.at(0);
        QCOMPARE(ala.NextLesson, 1203); // the furthest either reached
        QCOMPARE(ala.CharStats[std::size_t(statCharSlot('a'))].Accuracy, 100.0F); // theirs kept
        QCOMPARE(ala.CharStats[std::size_t(statCharSlot('s'))].Accuracy, 75.0F); // ours applied again

        // Removed elsewhere while this computer still had her: she stays removed.
        LocalChanges later;
        later.base = { "a", "c", "d" };
        const MergedRoster again = mergeRosters(listOf({ pupil("Darek", "d") }), { "a", "c" }, merged.list, later);
        QCOMPARE(idsOf(again.list), QStringLiteral("d"));
    }

    void lessonsApplyInTheOrderTheyFinished()
    {
        // Each lesson with more than 10 hits replaces the result: the last one counts.
        LocalChanges changes;
        changes.base = { "a" };
        changes.lessons["a"] = { lessonOf('k', 11), lessonOf('k', 12, 4) };
        const MergedRoster merged
            = mergeRosters(listOf({ pupil("Ala", "a") }), {}, listOf({ pupil("Ala", "a") }), changes);
        QCOMPARE(merged.list.at(0).CharStats[std::size_t(statCharSlot('k'))].Accuracy, 75.0F);
    }
};

QTEST_APPLESS_MAIN(TestClassroomCore)
#include "tst_classroomcore.moc"
