#include "common/lessonharness.h"
#include "common/testsupport.h"
#include "lessons/letterexercise.h"
#include "lessons/randomsource.h"
#include "lessons/tlesson2.h"
#include "lessons/tlesson3.h"
#include "settings/toptions.h"

#include <memory>

#include <QGuiApplication>

namespace {

// The lines of a body, without their line breaks.
QList<QByteArray> bodyLines(const std::string &body)
{
    QList<QByteArray> lines = bytes(body).split('\n');
    for (QByteArray &line : lines)
        line = line.endsWith('\r') ? line.chopped(1) : line;
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// Everything a letter lesson is made with, as the main window has it.
struct Setup : LessonSetup {
    std::unique_ptr<TLesson2> groups(const std::string &letters, int lines, RandomSource &random)
    {
        return std::make_unique<TLesson2>(&parent, options, letters, lines, random);
    }
    std::unique_ptr<TLesson3> words(const std::string &letters, int lines)
    {
        return std::make_unique<TLesson3>(&parent, options, letters, lines);
    }
};

} // namespace

class TestLetterLessons : public QObject
{
    Q_OBJECT

private slots:
    // Either kind runs like any lesson: no instruction, the status counts the
    // lines asked for, the text ends at the final line break and the parent
    // hears of it once.
    void lessonRunsToItsEnd_data()
    {
        QTest::addColumn<bool>("words");
        QTest::addColumn<QByteArray>("letters");
        QTest::addColumn<int>("lineCount");
        QTest::addColumn<int>("errorType");
        QTest::newRow("random groups of asdf, 6 lines") << false << QByteArray("asdf") << 6 << 0;
        QTest::newRow("random groups of polish letters, 2 lines") << false << bytes(W("ąęść")) << 2 << 1;
        QTest::newRow("words with ąęść, 6 lines") << true << bytes(W("ąęść")) << 6 << 0;
        QTest::newRow("words with asdf, 3 lines") << true << QByteArray("asdf") << 3 << 1;
    }

    void lessonRunsToItsEnd()
    {
        QFETCH(bool, words);
        QFETCH(QByteArray, letters);
        QFETCH(int, lineCount);
        QFETCH(int, errorType);
        MessageLog log;
        Setup setup;
        setup.options.ErrorType = errorType;
        StdRandomSource random(11);
        std::unique_ptr<TLesson1> lesson;
        if (words)
            lesson = setup.words(letters.toStdString(), lineCount);
        else
            lesson = setup.groups(letters.toStdString(), lineCount, random);
        QVERIFY(lesson->LoadText(builtLibrary()));
        QVERIFY(QGuiApplication::overrideCursor() == nullptr); // the busy cursor is gone

        const LessonText &text = lesson->engine().text();
        QCOMPARE(lesson->textNumber(), 0);
        QVERIFY(!text.Instruction);
        QCOMPARE(text.lineCount, lineCount);
        QCOMPARE(int(bodyLines(text.body).size()), lineCount);
        QVERIFY(bytes(text.body).endsWith("\r\n"));

        QVERIFY(showLesson(*lesson, setup.parent));
        QVERIFY(log.boxes.isEmpty()); // no instruction box
        QVERIFY(lesson->lessonTimerId() != 0);
        QVERIFY2(lesson->statusText().endsWith(QStringLiteral("1 z %1 linii").arg(lineCount)),
            qPrintable(lesson->statusText()));

        // Every character and every line break but the last, whose key only ends the lesson.
        const int keys = typeToTheEnd(lesson.get());
        QVERIFY(lesson->isFinished());
        QCOMPARE(keys, int(text.body.size()) - lineCount);
        QCOMPARE(int(lesson->engine().typedCount()), keys - 1);
        QCOMPARE(int(lesson->engine().errorCount()), 0);
        QApplication::processEvents();
        QCOMPARE(setup.parent.finished, 1);
        QCOMPARE(lesson->engine().results().accuracy, 100.0F);
    }

    // The groups come from the generator the lesson is given.
    void groupsComeFromTheGivenGenerator()
    {
        Setup setup;
        StdRandomSource first(5);
        StdRandomSource again(5);
        StdRandomSource other(6);
        auto a = setup.groups("asdf", 4, first);
        auto b = setup.groups("asdf", 4, again);
        auto c = setup.groups("asdf", 4, other);
        QVERIFY(a->LoadText(builtLibrary()) && b->LoadText(builtLibrary()) && c->LoadText(builtLibrary()));
        QCOMPARE(bytes(a->engine().text().body), bytes(b->engine().text().body));
        QVERIFY(a->engine().text().body != c->engine().text().body);
        // A second exercise from the same generator goes on with its sequence.
        auto d = setup.groups("asdf", 4, first);
        QVERIFY(d->LoadText(builtLibrary()));
        QVERIFY(d->engine().text().body != a->engine().text().body);
    }

    // Letters no exercise can be made of: the lesson says why it cannot
    // start (the window tells the learner), shows nothing itself, and the
    // busy cursor is gone.
    void impossibleExercise_data()
    {
        QTest::addColumn<bool>("words");
        QTest::addColumn<QByteArray>("letters");
        QTest::addColumn<bool>("withList");
        QTest::addColumn<int>("problem");
        const int none = int(LoadProblem::NoExercise);
        QTest::newRow("words from a digit alone") << true << QByteArray("5") << true << none;
        QTest::newRow("words from punctuation") << true << QByteArray("?;") << true << none;
        QTest::newRow("words without a word list")
            << true << QByteArray("abc") << false << int(LoadProblem::TextMissing);
        QTest::newRow("groups of a space alone") << false << QByteArray(" ") << true << none;
        QTest::newRow("groups of characters no key gives") << false << bytes(W("|§")) << true << none;
    }

    void impossibleExercise()
    {
        QFETCH(bool, words);
        QFETCH(QByteArray, letters);
        QFETCH(bool, withList);
        QFETCH(int, problem);
        MessageLog log;
        Messages::setHook([&](Messages::Kind kind, const QString &caption, const QString &text) {
            log.boxes.append({ kind, caption, text });
            return false;
        });
        Setup setup;
        StdRandomSource random(1);
        const LessonLibrary empty;
        const LessonLibrary &library = withList ? builtLibrary() : empty;
        std::unique_ptr<TLesson1> lesson;
        if (words)
            lesson = setup.words(letters.toStdString(), 6);
        else
            lesson = setup.groups(letters.toStdString(), 6, random);
        QCOMPARE(int(lesson->LoadText(library).problem), problem);
        QVERIFY(QGuiApplication::overrideCursor() == nullptr);
        QVERIFY(log.boxes.isEmpty());
    }
};

QTEST_MAIN(TestLetterLessons)
#include "tst_letterlessons.moc"
