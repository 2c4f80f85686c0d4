#include "classroom/classroom.h"
#include "common/dataproblems.h"
#include "common/testsupport.h"
#include "widgets/problemtext.h"

#include <QSignalSpy>
#include <QTemporaryDir>

using Code = DataProblem::Code;

class TestClassProblems : public QObject
{
    Q_OBJECT

private slots:
    // Every problem reads as a Polish sentence that names the file or folder
    // it is about, and the system's own words come on a line of their own.
    void everyProblemHasItsText_data()
    {
        QTest::addColumn<Code>("code");
        QTest::addColumn<bool>("namesFile");
        QTest::addColumn<bool>("namesCopy");
        QTest::addColumn<bool>("namesCount");
        QTest::newRow("list unreadable") << Code::ListUnreadable << true << false << false;
        QTest::newRow("list damaged, copied") << Code::ListDamagedCopied << true << true << true;
        QTest::newRow("list damaged, kept") << Code::ListDamagedKept << true << false << true;
        QTest::newRow("list locked") << Code::ListLocked << true << false << false;
        QTest::newRow("list not saved") << Code::ListNotSaved << true << false << false;
        QTest::newRow("folder read-only") << Code::FolderReadOnly << true << false << false;
        QTest::newRow("no SQLite driver") << Code::HistoryNoDriver << false << false << false;
        QTest::newRow("history too new") << Code::HistoryTooNew << true << false << false;
        QTest::newRow("history not opened") << Code::HistoryNotOpened << true << false << false;
        QTest::newRow("history damaged, copied") << Code::HistoryDamagedCopied << true << true << false;
        QTest::newRow("history damaged, kept") << Code::HistoryDamagedKept << true << false << false;
        QTest::newRow("history not written") << Code::HistoryNotWritten << true << false << false;
        QTest::newRow("class server away") << Code::ServerAway << false << false << false;
    }

    void everyProblemHasItsText()
    {
        QFETCH(Code, code);
        QFETCH(bool, namesFile);
        QFETCH(bool, namesCopy);
        QFETCH(bool, namesCount);
        // Names that look like the table's own placeholders must stay as they are.
        const DataProblem problem { code, QStringLiteral("/pracownia/klasa %2/pisarz.sta"),
            QStringLiteral("/kopie %1/pisarz.sta.bad"), 417, QStringLiteral("No space left on device") };
        const QString text = problemText(problem);
        QVERIFY(!text.isEmpty());
        QCOMPARE(text.contains(problem.path), namesFile);
        QCOMPARE(text.contains(problem.copy), namesCopy);
        QCOMPARE(text.contains(QStringLiteral("417")), namesCount);
        QVERIFY(text.endsWith(QLatin1Char('\n') + problem.reason));
        QString rest = text;
        rest.remove(problem.path).remove(problem.copy);
        QVERIFY2(!rest.contains(QLatin1Char('%')), qPrintable(text));
        QVERIFY(!problemText({ code, problem.path }).contains(QLatin1Char('\n') + problem.reason));
    }

    // The class's data owner reports what it found once, as a code with the
    // file or folder concerned, however often it meets it again.
    void classroomTellsEachProblemOnce_data()
    {
        QTest::addColumn<bool>("damagedList");
        QTest::newRow("a damaged list") << true;
        QTest::newRow("a folder that is not there") << false;
    }

    void classroomTellsEachProblemOnce()
    {
        QFETCH(bool, damagedList);
        QTemporaryDir dir;
        // Root writes wherever permissions say no; a folder that is not there stops everyone.
        const QString folder = damagedList ? dir.path() : dir.filePath(QStringLiteral("pracownia"));
        const QString list = QDir(folder).filePath(QStringLiteral("pisarz.sta"));
        if (damagedList)
            QVERIFY(writeAll(list, "[Stukomat]\nShowAfaterStart=Yes\n"));
        int studentNo = -1;
        Classroom classroom(list, folder, QStringLiteral("pc"), studentNo);
        QSignalSpy told(&classroom, &Classroom::problem);
        classroom.load();
        classroom.editableRoster().add(TStudent(W("Ala"), 0, 1));
        QCOMPARE(classroom.saveRoster(), damagedList);
        classroom.saveRoster();
        QCOMPARE(told.size(), 1);
        const DataProblem problem = told.at(0).at(0).value<DataProblem>();
        if (damagedList) {
            QCOMPARE(problem, (DataProblem { Code::ListDamagedCopied, list, list + QStringLiteral(".bad") }));
        } else {
            QCOMPARE(problem.code, Code::FolderReadOnly);
            QCOMPARE(problem.path, folder);
            QVERIFY(!problem.reason.isEmpty());
        }
    }
};

QTEST_GUILESS_MAIN(TestClassProblems)
#include "tst_classproblems.moc"
