#include "app/apppaths.h"
#include "app/sdidecframe.h"
#include "classroom/classroom.h"
#include "common/lessonharness.h"
#include "common/messagerecorder.h"
#include "common/testsupport.h"
#include "history/classdlg.h"
#include "history/historystore.h"
#include "history/progresschart.h"
#include "history/progressdlg.h"
#include "history/reportdlg.h"
#include "history/weakletters.h"
#include "lessons/tlesson3.h"
#include "settings/toptions.h"
#include "students/tstatdlg.h"
#include "students/tstatlistbox.h"

#include <functional>

#include <QAction>
#include <QListWidget>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTemporaryDir>

namespace {

// Runs `look` on the next modal dialog once it is up, then closes it.
void whenDialogOpens(std::function<void(QDialog *)> look)
{
    auto *timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, look] {
        if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            look(dialog);
            dialog->accept();
        }
    });
    timer->start(5);
}

} // namespace

class TestHistoryCommands : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<MessageRecorder> m_recorder;
    TOptions m_options;
    std::unique_ptr<SDIDecFrame> m_frame;

    SDIDecFrame *frameWith(QStringList students)
    {
        m_frame.reset();
        for (const QString &file : QDir(m_dir.path()).entryList(QDir::Files))
            QFile::remove(m_dir.filePath(file));
        m_options = TOptions();
        m_options.Click = false;
        m_frame = std::make_unique<SDIDecFrame>(builtLibrary(), m_options);
        for (const QString &name : students)
            m_frame->classroom().editableRoster().add(TStudent(W(name.toUtf8().constData()), 12, 0));
        m_frame->classroom().saveRoster();
        m_options.StudentNo = students.isEmpty() ? -1 : 0;
        m_frame->updateCommands();
        m_frame->show();
        return m_frame.get();
    }

    // A lesson of the pupil at `position` in this computer's history.
    bool recordFor(int position, const LessonRecord &lesson)
    {
        const TStudent &pupil = m_frame->classroom().roster().at(position);
        HistoryStore store(m_frame->classroom().historyFile());
        return store.record(pupil.Id, pupil.Name, lesson);
    }

    std::vector<LessonRecord> lessonsOf(int position)
    {
        return m_frame->classroom().lessons(m_frame->classroom().roster().at(position).Id);
    }

    // A finished stored lesson, typed with a wrong key now and then.
    void finishLesson(int number, int wrongEvery = 0)
    {
        QVERIFY(m_frame->startStoredLesson(number));
        QPointer<TLesson1> lesson = m_frame->lesson();
        typeToTheEnd(lesson, wrongEvery);
        QTRY_VERIFY(!lesson);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(AppPaths::setDataDir(m_dir.path()));
        QCOMPARE(AppPaths::dataFolder(), m_dir.path());
    }

    void init() { m_recorder = std::make_unique<MessageRecorder>(); }

    void cleanup()
    {
        m_recorder->answerYes = true;
        m_frame.reset();
        m_recorder.reset();
    }

    void commands_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("hint");
        QTest::addColumn<bool>("needsStudent");
        QTest::newRow("104") << 104 << "&Opcje"
                             << "&Postępy"
                             << "Wykres i tabela wyników kolejnych lekcji ucznia" << true;
        QTest::newRow("105") << 105 << "&Plik"
                             << "K&lasa"
                             << "Wyniki wszystkich uczniów na jednej stronie, z eksportem do arkusza" << false;
        QTest::newRow("219") << 219 << "&Lekcja"
                             << "Słab&e litery"
                             << "Ćwiczenie ze słów z liter, które uczniowi sprawiają najwięcej kłopotu" << false;
    }

    void commands()
    {
        QFETCH(int, command);
        QFETCH(QString, menu);
        QFETCH(QString, text);
        QFETCH(QString, hint);
        QFETCH(bool, needsStudent);
        SDIDecFrame *frame = frameWith({});
        QAction *action = frame->action(command);
        QCOMPARE(action->text(), text);
        QCOMPARE(action->statusTip(), hint);
        QCOMPARE(action->isEnabled(), !needsStudent);
        bool inMenu = false;
        for (QAction *title : frame->menuBar()->actions()) {
            if (title->text() == menu)
                inMenu = title->menu()->actions().contains(action);
        }
        QVERIFY(inMenu);
        frame = frameWith({ "Ala" });
        QVERIFY(frame->action(command)->isEnabled());
        // Not while a lesson runs: the lesson menu has none of them.
        QVERIFY(frame->startStoredLesson(1201));
        for (QAction *title : frame->menuBar()->actions())
            QVERIFY(!title->menu()->actions().contains(frame->action(command)));
    }

    void finishedLessonsAreRecordedAndShown()
    {
        SDIDecFrame *frame = frameWith({ "Ala" });
        finishLesson(1201);
        finishLesson(1202, 5);
        QVERIFY(frame->startStoredLesson(1203)); // aborted with Esc: not recorded
        m_recorder->answerYes = true;
        frame->runCommand(SDIDecFrame::CmAbort);
        QVERIFY(!frame->lesson());
        finishLesson(1203);

        const std::vector<LessonRecord> lessons = lessonsOf(0);
        QCOMPARE(lessons.size(), std::size_t(3));
        QCOMPARE(lessons[1].number, 1202);
        QVERIFY(lessons[1].errors > 0);
        QVERIFY(lessons[1].accuracy < 100.0F);

        int points = 0;
        int rows = 0;
        QString newest;
        QStringList days;
        whenDialogOpens([&](QDialog *dialog) {
            auto *progress = qobject_cast<ProgressDlg *>(dialog);
            QVERIFY(progress);
            points = progress->chart()->pointCount();
            days = progress->chart()->dayLabels();
            rows = progress->lastResults()->rowCount();
            newest = progress->lastResults()->item(0, 1)->text();
        });
        frame->runCommand(SDIDecFrame::CmProgress);
        QCOMPARE(points, 3);
        QCOMPARE(days.size(), 1); // three lessons of one day: the day once
        QCOMPARE(rows, 3);
        QVERIFY2(newest.startsWith(QStringLiteral("1203 ")), qPrintable(newest));

        // The student list holds exactly the list: the history lives elsewhere.
        QCOMPARE(readAll(AppPaths::studentsFile()), bytes(frame->classroom().roster().serialize()));
    }

    void removingAStudentRemovesTheirHistory()
    {
        SDIDecFrame *frame = frameWith({ "Ala", "Bartek" });
        LessonRecord lesson;
        for (int position : { 0, 1 }) {
            lesson.speed = float(100 + position);
            QVERIFY(recordFor(position, lesson));
        }
        m_recorder->answerYes = true; // "Tak" to the removal
        whenDialogOpens([](QDialog *dialog) {
            dialog->findChild<QListWidget *>(QStringLiteral("101"))->setCurrentRow(1); // Ala
            dialog->findChild<QPushButton *>(QStringLiteral("103"))->click();
        });
        frame->runCommand(SDIDecFrame::CmRegistration);
        QCOMPARE(frame->classroom().roster().count(), 1);
        QCOMPARE(lessonsOf(0).size(), std::size_t(1));
        QCOMPARE(lessonsOf(0).front().speed, 101.0F);
        // Registered again under the same name: a new pupil with no history.
        frame->classroom().editableRoster().add(TStudent(W("Ala"), 12, 0));
        QVERIFY(frame->classroom().saveRoster());
        QVERIFY(lessonsOf(1).empty());
    }

    void statisticsTellWhatWasTypedInstead()
    {
        SDIDecFrame *frame = frameWith({ "Ala" });
        LessonRecord typed;
        typed.confusions = { { 'l', 'k', 4 }, { 'l', 'j', 1 }, { 'l', 'o', 2 }, { 'l', 'p', 1 } };
        QVERIFY(recordFor(0, typed));
        frame->classroom().editableRoster().at(0).CharStats[std::size_t(statCharSlot('l'))] = { 100.0F, 50.0F };
        QString told;
        whenDialogOpens([&](QDialog *dialog) {
            auto *list = dialog->findChild<TStatListBox *>();
            list->setCurrentRow(0);
            told = qobject_cast<TStatDlg *>(dialog)->confusedText();
        });
        frame->runCommand(SDIDecFrame::CmStatistics);
        QCOMPARE(told, QStringLiteral("l – mylone z: k, o, j"));
    }

    void weakLetters_data()
    {
        QTest::addColumn<bool>("student");
        QTest::addColumn<int>("typed"); // keystrokes on each letter
        QTest::addColumn<QString>("told");
        QTest::addColumn<QString>("letters"); // of the exercise started, if any
        QTest::addColumn<int>("nextLesson"); // the student's place in the course
        QTest::newRow("no student") << false << 0 << "Najpierw wybierz ucznia"
                                    << "" << 1227;
        QTest::newRow("too little typed") << true << 19 << "Za mało wpisanych liter"
                                          << "" << 1227;
        QTest::newRow("enough") << true << 40 << "Najwięcej kłopotu sprawiają Ci litery: ł, k, a."
                                << "łka" << 1227;
        QTest::newRow("after two lessons: only their letters")
            << true << 40 << "Najwięcej kłopotu sprawiają Ci litery: k, a."
            << "ka" << 1203;
    }

    void weakLetters()
    {
        QFETCH(bool, student);
        QFETCH(int, typed);
        QFETCH(QString, told);
        QFETCH(QString, letters);
        QFETCH(int, nextLesson);
        SDIDecFrame *frame = frameWith(student ? QStringList { "Ala" } : QStringList {});
        if (student) {
            frame->classroom().editableRoster().at(0).NextLesson = nextLesson;
            LessonRecord lesson;
            const auto l = static_cast<unsigned char>(W("ł")[0]);
            const auto n = std::uint32_t(typed);
            lesson.chars = { { 'a', n, 0, 9000, 0 }, { 'k', n - 2, 20, 9000, 2 }, { l, n - 5, 5, 9000, 5 } };
            QVERIFY(recordFor(0, lesson));
        }
        frame->runCommand(SDIDecFrame::CmWeakLetters);
        QVERIFY(!m_recorder->boxes.isEmpty());
        QVERIFY2(m_recorder->boxes.front().text.startsWith(told), qPrintable(m_recorder->boxes.front().text));
        auto *exercise = qobject_cast<TLesson3 *>(frame->lesson());
        QCOMPARE(exercise != nullptr, !letters.isEmpty());
        if (exercise) {
            QCOMPARE(bytes(exercise->letters()), bytes(W(letters.toUtf8().constData())));
            QCOMPARE(exercise->lineCount(), 10);
            // Its words are made of the letters taught so far.
            const std::string taught = taughtLetters(builtLibrary(), nextLesson) + " \r\n";
            QCOMPARE(exercise->engine().text().body.find_first_not_of(taught), std::string::npos);
            QCOMPARE(frame->lessonSource(), lessonflow::LessonSource::Exercise);
        }
    }

    void classPageSortsAndExports()
    {
        SDIDecFrame *frame = frameWith({ "Żaneta", "Adam" });
        LessonRecord lesson;
        lesson.speed = 150.0F;
        lesson.accuracy = 90.0F;
        QVERIFY(recordFor(1, lesson));
        QStringList byName, bySpeed;
        QByteArray exported;
        const QString csv = m_dir.filePath(QStringLiteral("klasa.csv"));
        whenDialogOpens([&](QDialog *dialog) {
            auto *page = qobject_cast<ClassDlg *>(dialog);
            QTableWidget *table = page->table();
            for (int row = 0; row < table->rowCount(); ++row)
                byName << table->item(row, ClassDlg::Name)->text();
            table->sortByColumn(ClassDlg::Speed, Qt::DescendingOrder);
            for (int row = 0; row < table->rowCount(); ++row)
                bySpeed << table->item(row, ClassDlg::Speed)->text();
            QVERIFY(page->exportTo(csv));
        });
        frame->runCommand(SDIDecFrame::CmClass);
        QCOMPARE(byName, QStringList({ "Adam", "Żaneta" }));
        QCOMPARE(bySpeed, QStringList({ "150.0", "" }));
        const QByteArray file = readAll(csv);
        QVERIFY(file.startsWith("\xEF\xBB\xBF"));
        QVERIFY(file.contains(QStringLiteral("\r\nŻaneta;\"1201 ").toUtf8()));
        QVERIFY(file.contains(";1;"));
        QVERIFY(file.contains(";150,0;90,0\r\n"));
    }
    // "Klasa" → "Raport…" over 90 lessons of three pupils in March and two
    // just outside it: the PDF has a page per 40 rows, each under the column
    // names, and the CSV is the one palcomir --report writes without a display.
    void lessonReport()
    {
        SDIDecFrame *frame = frameWith({ "Zenon", "Łucja Żółć", "Lena" });
        {
            HistoryStore store(frame->classroom().historyFile());
            const auto record = [&](int position, const QDateTime &when, int i) {
                const TStudent &pupil = frame->classroom().roster().at(position);
                LessonRecord lesson;
                lesson.when = when.toSecsSinceEpoch();
                lesson.kind = i % 4 ? LessonKind::Stored : LessonKind::Letters;
                lesson.number = i % 4 ? 1201 + i % 5 : 0;
                lesson.detail = i % 4 ? "" : "ąę";
                lesson.seconds = 60 + i;
                lesson.keystrokes = 200 + i;
                lesson.errors = i % 7;
                lesson.speed = 100.0F + float(i) / 4;
                lesson.accuracy = 90.0F + float(i % 10);
                return store.record(pupil.Id, pupil.Name, lesson);
            };
            for (int i = 0; i < 90; ++i)
                QVERIFY(record(i % 3, QDateTime(QDate(2026, 3, 1 + i % 31), QTime(8, i % 60)), i));
            QVERIFY(record(0, QDateTime(QDate(2026, 2, 28), QTime(23, 59)), 1));
            QVERIFY(record(1, QDateTime(QDate(2026, 4, 1), QTime(0, 0)), 2));
        }
        const QString csv = m_dir.filePath(QStringLiteral("raport.csv"));
        const QString pdf = m_dir.filePath(QStringLiteral("raport.pdf"));
        std::vector<ReportRow> rows;
        whenDialogOpens([&](QDialog *dialog) {
            auto *reportButton = dialog->findChild<QPushButton *>(QStringLiteral("104"));
            QVERIFY(reportButton && reportButton->isVisible());
            whenDialogOpens([&](QDialog *inner) {
                auto *report = qobject_cast<ReportDlg *>(inner);
                QVERIFY(report);
                report->setDays(QDate(2026, 3, 1), QDate(2026, 3, 31));
                rows = report->rows();
                QVERIFY(report->exportCsv(csv));
                QVERIFY(report->exportPdf(pdf));
            });
            reportButton->click();
        });
        frame->runCommand(SDIDecFrame::CmClass);
        QCOMPARE(rows.size(), std::size_t(90));
        QStringList pupils;
        for (const ReportRow &row : rows) {
            if (pupils.isEmpty() || pupils.last() != QString::fromStdString(row.pupil))
                pupils << QString::fromStdString(row.pupil);
        }
        QCOMPARE(pupils, QStringList({ "Lena", "Łucja Żółć", "Zenon" })); // Polish alphabet order

        QProcess text;
        text.start(QStringLiteral("pdftotext"), { QStringLiteral("-layout"), pdf, QStringLiteral("-") });
        QVERIFY2(text.waitForFinished(30000) && text.exitCode() == 0,
            "pdftotext (poppler-utils, installed by make setup) cannot read the PDF");
        QStringList pages = QString::fromUtf8(text.readAllStandardOutput()).split(QLatin1Char('\f'));
        if (pages.last().trimmed().isEmpty())
            pages.removeLast();
        QCOMPARE(pages.size(), 3);
        QVERIFY2(pages[0].contains(QStringLiteral("Raport lekcji"))
                && pages[0].contains(QStringLiteral("od 2026-03-01 do 2026-03-31")),
            qPrintable(pages[0].left(300)));
        for (const QString &page : pages)
            QCOMPARE(page.count(QStringLiteral("Poprawność")), 1);
        for (std::size_t i = 0; i < rows.size(); ++i) {
            QStringList fields;
            for (const std::string &field : reportFields(rows[i])) {
                if (!field.empty())
                    fields << QRegularExpression::escape(QString::fromStdString(field));
            }
            const QRegularExpression line(fields.join(QStringLiteral("\\s+")));
            QVERIFY2(line.match(pages[qsizetype(i / ReportDlg::kRowsPerPage)]).hasMatch(), qPrintable(line.pattern()));
        }

        // The same report from the command line, with no display at all.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : { "DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM" })
            environment.remove(QString::fromLatin1(name));
        const auto report = [&](const QString &file) {
            auto process = std::make_unique<QProcess>();
            process->setProcessEnvironment(environment);
            process->start(QString::fromLocal8Bit(qgetenv("PALCOMIR_EXECUTABLE")),
                { "--report", file, "--from", "2026-03-01", "--to=2026-03-31", "--data-dir", m_dir.path(), "--library",
                    QString::fromLocal8Bit(qgetenv("PALCOMIR_LIBRARY")) });
            process->waitForFinished(30000);
            return process;
        };
        const QString fromCommandLine = m_dir.filePath(QStringLiteral("wiersz.csv"));
        const auto done = report(fromCommandLine);
        QCOMPARE(done->exitStatus(), QProcess::NormalExit);
        QCOMPARE(done->exitCode(), 0);
        QCOMPARE(done->readAllStandardError(), QByteArray());
        const QByteArray written = readAll(csv);
        QCOMPARE(readAll(fromCommandLine), written);
        QCOMPARE(written.count("\r\n"), 91);
        QVERIFY(written.contains("\r\nLena;;2026-03-"));

        const auto failed = report(m_dir.filePath(QStringLiteral("brak/raport.csv")));
        const QString told = QString::fromLocal8Bit(failed->readAllStandardError());
        QCOMPARE(failed->exitCode(), 1);
        QVERIFY2(told.startsWith(QStringLiteral("Nie można zapisać pliku ")), qPrintable(told));
    }
};

QTEST_MAIN(TestHistoryCommands)
#include "tst_historycommands.moc"
