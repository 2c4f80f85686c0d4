#include "common/lessonharness.h"
#include "common/randomkeys.h"
#include "common/testsupport.h"
#include "lessons/randomsource.h"
#include "lessons/tlesson2.h"
#include "lessons/tlesson3.h"
#include "lessons/tlesson4.h"
#include "lessons/tlesson5.h"

#include <functional>
#include <memory>

#include <QRandomGenerator>
#include <QTemporaryDir>

namespace {

// Events per lesson kind; PALCOMIR_RANDOM_KEYS sets another count.
int eventCount()
{
    return qEnvironmentVariableIsSet("PALCOMIR_RANDOM_KEYS") ? qEnvironmentVariableIntValue("PALCOMIR_RANDOM_KEYS")
                                                             : 100000;
}

} // namespace

class TestRandomKeys : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_ownText;

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_ownText = m_dir.filePath(QStringLiteral("tekst.txt"));
        QVERIFY(writeAll(m_ownText, "Zażółć gęślą jaźń, a potem\r\nkilka słów więcej.\n\tI trzecia linia."));
    }

    // Whatever arrives from the keyboard or an input method, whatever the
    // pauses and however often the window is hidden, a lesson keeps its
    // counters sound and still ends when its text is then typed.
    void lessonSurvivesAnythingTyped_data()
    {
        QTest::addColumn<int>("kind");
        QTest::newRow("TLesson1, a stored lesson") << 1;
        QTest::newRow("TLesson2, random groups") << 2;
        QTest::newRow("TLesson3, words") << 3;
        QTest::newRow("TLesson4, a keypad drill") << 4;
        QTest::newRow("TLesson5, an own text") << 5;
    }

    void lessonSurvivesAnythingTyped()
    {
        QFETCH(int, kind);
        const quint32 seed = qEnvironmentVariableIsSet("PALCOMIR_SEED")
            ? quint32(qEnvironmentVariableIntValue("PALCOMIR_SEED"))
            : QRandomGenerator::global()->generate();
        const QByteArray withSeed = " (PALCOMIR_SEED=" + QByteArray::number(seed) + ")";
        MessageLog log;
        LessonSetup setup;
        StdRandomSource letters(seed);
        RandomKeys keys(seed);
        const std::function<std::unique_ptr<TLesson1>()> make = [&]() -> std::unique_ptr<TLesson1> {
            // Both ways of meeting a wrong key, in turn.
            setup.options.ErrorType = keys.pick(2);
            switch (kind) {
            case 1:
                return std::make_unique<TLesson1>(&setup.parent, setup.options, 1201 + keys.pick(3));
            case 2:
                return std::make_unique<TLesson2>(&setup.parent, setup.options, W("asdfjklłąę"), 3, letters);
            case 3:
                return std::make_unique<TLesson3>(&setup.parent, setup.options, W("ołż"), 3);
            case 4:
                return std::make_unique<TLesson4>(&setup.parent, setup.options, 1401 + keys.pick(4));
            default:
                return std::make_unique<TLesson5>(&setup.parent, setup.options, m_ownText);
            }
        };
        std::unique_ptr<TLesson1> lesson;
        // A lesson that follows a finished one, in the window already shown;
        // its first paint starts it. The keys go to it whether or not the
        // window is active.
        const auto next = [&] {
            lesson = make();
            if (!lesson->LoadText(builtLibrary()))
                return false;
            lesson->setGeometry(setup.parent.rect());
            lesson->show();
            lesson->setFocus();
            QApplication::processEvents();
            QApplication::processEvents();
            return true;
        };
        lesson = make();
        QVERIFY2(lesson->LoadText(builtLibrary()) && showLesson(*lesson, setup.parent), withSeed.constData());

        int finished = 0;
        const int events = eventCount();
        for (int n = 0; n < events; ++n) {
            const int what = keys.pick(1000);
            if (what == 0) {
                lesson->TogglePause();
            } else if (what == 1) {
                // As when the window is minimised and brought back.
                setup.parent.hide();
                QApplication::processEvents();
                setup.parent.show();
                QVERIFY2(QTest::qWaitForWindowExposed(&setup.parent), withSeed.constData());
            } else {
                keys.send(lesson.get(), lesson->engine().text().expectedChar);
            }
            if (n % 64 == 0)
                QApplication::processEvents();

            const TypingEngine &engine = lesson->engine();
            const QByteArray where = " after event " + QByteArray::number(n) + withSeed;
            QVERIFY2(engine.errorCount() <= engine.typedCount(), where.constData());
            QVERIFY2(engine.currentLine() >= 0 && engine.currentLine() < engine.text().lineCount, where.constData());
            QVERIFY2(engine.text().expectedPos <= engine.text().body.size(), where.constData());
            if (lesson->isFinished()) {
                QApplication::processEvents();
                ++finished;
                QVERIFY2(setup.parent.finished == finished, where.constData());
                QVERIFY2(next(), where.constData());
            }
        }
        if (lesson->engine().paused())
            lesson->TogglePause();
        typeToTheEnd(lesson.get());
        QVERIFY2(lesson->isFinished(), withSeed.constData());
        QApplication::processEvents();
        QVERIFY2(setup.parent.finished == finished + 1, withSeed.constData());
        qInfo("%d events, %d lessons finished on the way, seed %u", events, finished, seed);
    }
};

QTEST_MAIN(TestRandomKeys)
#include "tst_randomkeys.moc"
