#include "common/testsupport.h"
#include "history/classcsv.h"
#include "history/lessonrecord.h"
#include "history/lessonreport.h"
#include "history/weakletters.h"

#include <ctime>
#include <functional>

namespace {

// "ł:30/10/6000" is a letter with 30 hits, 10 places missed (one wrong key
// each) and 6 s of typing; "ł:30/1/6000/12" took 12 wrong keys for its one place.
LessonRecord finished(std::int64_t when, LessonKind kind, int number, const char *detail, float speed)
{
    LessonRecord r;
    r.when = when;
    r.kind = kind;
    r.number = number;
    r.detail = detail;
    r.seconds = 95;
    r.keystrokes = 240;
    r.errors = 3;
    r.speed = speed;
    r.accuracy = 98.75F;
    return r;
}

std::vector<CharTally> tallies(const QStringList &entries)
{
    std::vector<CharTally> out;
    for (const QString &entry : entries) {
        const QStringList parts = entry.section(QLatin1Char(':'), 1).split(QLatin1Char('/'));
        const std::string c = W(entry.section(QLatin1Char(':'), 0, 0).toUtf8().constData());
        const uint places = parts[1].toUInt();
        out.push_back({ static_cast<unsigned char>(c[0]), parts[0].toUInt(),
            parts.size() > 3 ? parts[3].toUInt() : places, parts[2].toUInt(), places });
    }
    return out;
}

} // namespace

class TestHistoryCore : public QObject
{
    Q_OBJECT

private slots:
    void weakLetters_data()
    {
        QTest::addColumn<QStringList>("totals");
        QTest::addColumn<QString>("letters");
        QTest::addColumn<QString>("taught"); // every letter when empty
        QTest::newRow("least accurate first, at most six") << QStringList { "a:19/1/1000", "b:18/2/1000", "c:17/3/1000",
            "d:16/4/1000", "e:15/5/1000", "f:14/6/1000", "g:13/7/1000", "h:12/8/1000" }
                                                           << "hgfedc" << QString();
        QTest::newRow("equal accuracy: the slower first")
            << QStringList { "k:18/2/1000", "l:18/2/3000", "m:18/2/2000" } << "lmk" << QString();
        QTest::newRow("equal in both: alphabet order, Polish letters in place")
            << QStringList { "z:18/2/1000", "ó:18/2/1000", "o:18/2/1000", "ą:18/2/1000" } << "ąoóz" << QString();
        QTest::newRow("fewer than 20 keystrokes are not judged")
            << QStringList { "q:0/19/1000", "w:19/1/1000" } << "w" << QString();
        QTest::newRow("a capital counts with its small letter")
            << QStringList { "Ł:5/5/1000", "ł:10/0/1000", "s:19/1/1000" } << "łs" << QString();
        QTest::newRow("digits, space and punctuation are no letters")
            << QStringList { "1:0/40/1000", " :0/40/1000", ",:0/40/1000", "e:30/0/1000" } << "e" << QString();
        QTest::newRow("nothing typed often enough") << QStringList { "a:10/9/1000" } << "" << QString();
        QTest::newRow("one slip in the wait mode counts once")
            << QStringList { "f:30/1/1000/12", "s:30/3/1000" } << "sf" << QString();
        QTest::newRow("a letter not yet taught is not chosen")
            << QStringList { "w:10/10/1000", "k:30/1/1000", "a:30/0/1000" } << "ka"
            << "adfjkls";
    }

    void weakLetters()
    {
        QFETCH(QStringList, totals);
        QFETCH(QString, letters);
        QFETCH(QString, taught);
        const std::string all = W("aąbcćdeęfghijklłmnńoópqrsśtuvwxyzźż");
        QCOMPARE(bytes(::weakLetters(tallies(totals), taught.isEmpty() ? all : W(taught.toUtf8().constData()))),
            bytes(W(letters.toUtf8().constData())));
    }

    // The accuracy scale fits the lessons: 97 to 100 per cent is not a line
    // along the frame.
    void accuracyAxisFitsTheLessons_data()
    {
        QTest::addColumn<QList<float>>("accuracies");
        QTest::addColumn<int>("low");
        QTest::addColumn<int>("high");
        QTest::newRow("no lessons: the whole scale") << QList<float> {} << 0 << 100;
        QTest::newRow("97 to 100: twelve points") << QList<float> { 97.1F, 100.0F, 98.5F } << 88 << 100;
        QTest::newRow("all perfect: at least ten points") << QList<float> { 100.0F } << 88 << 100;
        QTest::newRow("wide results: to a step of four") << QList<float> { 61.5F, 95.0F } << 59 << 95;
        QTest::newRow("near zero stays above it") << QList<float> { 2.0F, 5.0F } << 0 << 12;
        QTest::newRow("everything") << QList<float> { 0.0F, 100.0F } << 0 << 100;
    }

    void accuracyAxisFitsTheLessons()
    {
        QFETCH(QList<float>, accuracies);
        QFETCH(int, low);
        QFETCH(int, high);
        std::vector<LessonRecord> records;
        for (const float a : accuracies) {
            LessonRecord r;
            r.accuracy = a;
            records.push_back(r);
        }
        const AccuracyAxis axis = accuracyAxis(records);
        QCOMPARE(axis.low, low);
        QCOMPARE(axis.high, high);
    }

    void classCsvBytes()
    {
        ClassRow first { "Łucja Żółć", "1203 Litery ś i ć", 12, "2026-12-08", 143.26, 97.04 };
        ClassRow second { "Jan; \"Kowal\"", "kurs ukończony", 0, "", std::nullopt, std::nullopt };
        const std::string csv = classCsv({ first, second });
        QCOMPARE(bytes(csv),
            QByteArray("\xEF\xBB\xBF"
                       "Ucze\xC5\x84;Nast\xC4\x99pna lekcja;Uko\xC5\x84"
                       "czone lekcje;Ostatnie \xC4\x87wiczenie;"
                       "Szybko\xC5\x9B\xC4\x87 (znaki/min);Poprawno\xC5\x9B\xC4\x87 (%)\r\n"
                       "\xC5\x81ucja \xC5\xBB\xC3\xB3\xC5\x82\xC4\x87;1203 Litery \xC5\x9B i \xC4\x87;12;2026-12-08;"
                       "143,3;97,0\r\n"
                       "\"Jan; \"\"Kowal\"\"\";kurs uko\xC5\x84"
                       "czony;0;;;\r\n"));
    }

    // A made history: two pupils given out of order, one of them also with
    // results left by a pupil of the same name who is gone, lessons around
    // midnight and out of time order, every kind of lesson.
    void lessonReport_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QStringList>("rows");
        const QString sunday = "Adam;4a;2026-03-01 23:59;1203 Litery ś i ć;95;240;3;143,3;98,8";
        const QString monday = "Adam;4a;2026-03-02 00:00;Wybór liter: ąę;95;240;3;120,0;98,8";
        const QString ownText = "Adam;4a;2026-03-02 08:15;\"Własny tekst: a;\"\"b\"\".txt\";95;240;3;80,5;98,8";
        const QString gone = "Adam (bez ucznia);;2026-02-28 10:00;Słowa: kot;95;240;3;60,0;98,8";
        const QString keypad = "Żaneta;4a;2026-03-03 12:05;Klawiatura numeryczna 1402;95;240;3;200,0;98,8";
        QTest::newRow("every day: by pupil, then by time")
            << ""
            << "" << QStringList { sunday, monday, ownText, gone, keypad };
        QTest::newRow("from a day: its first minute counts") << "2026-03-02"
                                                             << "" << QStringList { monday, ownText, keypad };
        QTest::newRow("to a day: its last minute counts") << ""
                                                          << "2026-03-01" << QStringList { sunday, gone };
        QTest::newRow("one day") << "2026-03-02"
                                 << "2026-03-02" << QStringList { monday, ownText };
        QTest::newRow("no lesson within the days: the header alone") << "2026-03-04"
                                                                     << "2026-12-31" << QStringList {};
    }

    void lessonReport()
    {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QStringList, rows);
        const auto pupil = [](const char *name, std::vector<LessonRecord> lessons, const char *className, bool gone) {
            ClassPupil p;
            p.name = name;
            p.lessons = std::move(lessons);
            p.className = className;
            p.gone = gone;
            return p;
        };
        const ClassPupil zaneta
            = pupil("Żaneta", { finished(1772539500, LessonKind::Keypad, 1402, "", 200.0F) }, "4a", false);
        const ClassPupil adam = pupil("Adam",
            { finished(1772439300, LessonKind::OwnText, 0, "a;\"b\".txt", 80.5F),
                finished(1772409600, LessonKind::Letters, 0, "ąę", 120.0F),
                finished(1772409540, LessonKind::Stored, 1203, "", 143.26F) },
            "4a", false);
        const ClassPupil adamGone
            = pupil("Adam", { finished(1772272800, LessonKind::Words, 0, "kot", 60.0F) }, "", true);
        ReportSources sources;
        sources.localTime = [](std::int64_t when) {
            const std::time_t t = when;
            char text[32];
            std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", std::gmtime(&t));
            return std::string(text);
        };
        sources.title
            = [](int number) { return number == 1203 ? std::optional<std::string>("Litery ś i ć") : std::nullopt; };
        sources.nameBefore = std::less<std::string>();
        const std::vector<ReportRow> report
            = reportRows({ zaneta, adam, adamGone }, { from.toStdString(), to.toStdString() }, sources);
        QString expected = QString::fromUtf8("\xEF\xBB\xBF")
            + "Uczeń;Klasa;Data i godzina;Lekcja;Czas (s);Naciśnięcia;Błędy;"
              "Szybkość (znaki/min);Poprawność (%)\r\n";
        for (const QString &row : rows)
            expected += row + "\r\n";
        QCOMPARE(bytes(reportCsv(report)), "\xEF\xBB\xBF" + expected.toUtf8());
    }

    void summaries()
    {
        const auto lesson = [](int number, float speed, float accuracy, LessonKind kind = LessonKind::Stored) {
            LessonRecord r;
            r.kind = kind;
            r.number = number;
            r.speed = speed;
            r.accuracy = accuracy;
            return r;
        };
        const std::vector<LessonRecord> records { lesson(1202, 100, 90), lesson(1201, 80, 99), lesson(1202, 120, 80),
            lesson(1202, 120, 95), lesson(1301, 300, 100), lesson(0, 500, 100, LessonKind::Words) };
        const std::vector<LessonRecord> best = bestOfCourse(records, 1201, 1227);
        QCOMPARE(best.size(), std::size_t(2));
        QCOMPARE(best[0].number, 1201);
        QCOMPARE(best[1].accuracy, 95.0F); // of two equal speeds the more accurate

        QVERIFY(!averageOfLast({}, 5));
        QCOMPARE(averageOfLast(records, 2)->speed, 400.0);
        QCOMPARE(averageOfLast(records, 100)->accuracy, (90.0 + 99 + 80 + 95 + 100 + 100) / 6);

        const std::vector<TConfusion> totals { { 'l', 'k', 5 }, { 'l', 'p', 2 }, { 'l', 'o', 2 }, { 'l', ';', 1 },
            { 'k', 'l', 9 } };
        const std::vector<unsigned char> typed = confusedWith(totals, 'l', 3);
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(typed.data()), qsizetype(typed.size())), QByteArray("kop"));
    }
};

QTEST_APPLESS_MAIN(TestHistoryCore)
#include "tst_historycore.moc"
