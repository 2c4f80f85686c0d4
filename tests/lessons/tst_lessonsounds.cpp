#include "common/lessonharness.h"
#include "common/testsupport.h"
#include "lessons/keysounds.h"
#include "lessons/lessonlibrary.h"
#include "settings/toptions.h"

#include <memory>

#include <QFile>
#include <QTemporaryDir>

namespace {

constexpr int kLesson = 1201;
const QString kSoundError = QStringLiteral("Błąd odczytu zapisu dźwięku.");

// A stored lesson with an instruction and two short lines ending with a line
// break, and the lesson window on it with sounds of its own.
struct SoundLesson : LessonSetup {
    LessonLibrary library;
    std::unique_ptr<TLesson1> lesson;
    KeySounds *sounds = nullptr;

    SoundLesson(bool click, int type, int errorType, const QString &wavePath = QStringLiteral(":/sounds/wave%1.wav"))
    {
        library.addText(kLesson, crlf("Przepisz.\nab\ncd\n"));
        options.Click = click;
        options.Type = type;
        options.ErrorType = errorType;
        lesson = std::make_unique<TLesson1>(&parent, options, kLesson);
        auto own = std::make_unique<KeySounds>(wavePath);
        sounds = own.get();
        lesson->setKeySounds(std::move(own));
    }

    bool start() { return lesson->LoadText(library) && showLesson(*lesson, parent); }

    // The wave each key started (0 for none), one entry per key.
    QList<int> type(const QByteArray &keys)
    {
        QList<int> waves;
        for (const char c : keys) {
            const int before = sounds->playCount();
            pressKey(*lesson, static_cast<unsigned char>(c));
            waves << (sounds->playCount() == before ? 0 : sounds->lastWavePlayed());
        }
        return waves;
    }
};

// A folder with copies of the program's waves, some left out or damaged.
QString waveFolder(QTemporaryDir &dir, const QList<int> &missing, const QList<int> &damaged)
{
    for (int wave = 1; wave <= 8; ++wave) {
        if (missing.contains(wave))
            continue;
        const QString target = dir.filePath(QStringLiteral("wave%1.wav").arg(wave));
        if (damaged.contains(wave)) {
            QFile file(target);
            if (!file.open(QIODevice::WriteOnly) || file.write("RIFF\x10\0\0\0WAVEjunk", 16) != 16)
                return {};
        } else if (!QFile::copy(QStringLiteral(":/sounds/wave%1.wav").arg(wave), target)) {
            return {};
        }
    }
    return dir.filePath(QStringLiteral("wave%1.wav"));
}

} // namespace

class TestLessonSounds : public QObject
{
    Q_OBJECT

private slots:
    // Each counted key starts the clip its outcome asks for, from the set the
    // settings choose; keys that are not counted start nothing.
    void keysStartTheirClips_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("errorType");
        QTest::addColumn<QByteArray>("keys");
        QTest::addColumn<QList<int>>("waves");
        QTest::newRow("electronic: letters and a line end")
            << 1 << 0 << QByteArray("ab\rc") << QList<int> { 5, 5, 7, 5 };
        QTest::newRow("electronic: a wrong key") << 1 << 0 << QByteArray("x") << QList<int> { 8 };
        QTest::newRow("electronic: each wrong press again")
            << 1 << 0 << QByteArray("axxb") << QList<int> { 5, 8, 8, 5 };
        QTest::newRow("electronic: Enter for a letter") << 1 << 1 << QByteArray("\r") << QList<int> { 8 };
        QTest::newRow("electronic: a letter for the line end") << 1 << 1 << QByteArray("abx") << QList<int> { 5, 5, 8 };
        QTest::newRow("typewriter: letters and a line end")
            << 0 << 0 << QByteArray("ab\rc") << QList<int> { 1, 1, 3, 1 };
        QTest::newRow("typewriter: a wrong key") << 0 << 0 << QByteArray("ax") << QList<int> { 1, 4 };
        QTest::newRow("a key no lesson knows") << 1 << 0 << QByteArray("|a") << QList<int> { 0, 5 };
        QTest::newRow("the key that only ends the lesson")
            << 1 << 0 << QByteArray("ab\rcd\r") << QList<int> { 5, 5, 7, 5, 5, 0 };
    }

    void keysStartTheirClips()
    {
        QFETCH(int, type);
        QFETCH(int, errorType);
        QFETCH(QByteArray, keys);
        QFETCH(QList<int>, waves);
        MessageLog log;
        SoundLesson lesson(true, type, errorType);
        QVERIFY(lesson.start());
        QCOMPARE(log.texts(), QStringList { QStringLiteral("Przepisz.") });
        QCOMPARE(lesson.type(keys), waves);
    }

    // With the sounds off nothing is read, so nothing can fail, and nothing plays.
    void clickOffLoadsNothing()
    {
        MessageLog log;
        QTemporaryDir empty;
        SoundLesson lesson(false, 1, 0, empty.filePath(QStringLiteral("wave%1.wav")));
        QVERIFY(lesson.start());
        for (int clip = 1; clip <= 4; ++clip)
            QVERIFY(!lesson.sounds->isLoaded(clip));
        QCOMPARE(lesson.type("ab\rx"), (QList<int> { 0, 0, 0, 0 }));
        QCOMPARE(log.texts(), QStringList { QStringLiteral("Przepisz.") });
    }

    // A clip that cannot be read is reported once, before the instruction,
    // and is silent; the lesson runs with the others.
    void unreadableClipsAreReportedOnce_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QList<int>>("missing");
        QTest::addColumn<QList<int>>("damaged");
        QTest::addColumn<int>("reports");
        QTest::addColumn<QList<int>>("waves"); // for the keys "ab\rx"
        QTest::newRow("all there") << 1 << QList<int> {} << QList<int> {} << 0 << QList<int> { 5, 5, 7, 8 };
        QTest::newRow("the key clip missing")
            << 1 << QList<int> { 5 } << QList<int> {} << 1 << QList<int> { 0, 0, 7, 8 };
        QTest::newRow("a damaged error clip")
            << 1 << QList<int> {} << QList<int> { 8 } << 1 << QList<int> { 5, 5, 7, 0 };
        QTest::newRow("the unplayed clip missing")
            << 0 << QList<int> { 2 } << QList<int> {} << 1 << QList<int> { 1, 1, 3, 4 };
        QTest::newRow("the other set missing")
            << 0 << QList<int> { 5, 6, 7, 8 } << QList<int> {} << 0 << QList<int> { 1, 1, 3, 4 };
        QTest::newRow("the whole set gone")
            << 1 << QList<int> { 5, 6, 7 } << QList<int> { 8 } << 4 << QList<int> { 0, 0, 0, 0 };
    }

    void unreadableClipsAreReportedOnce()
    {
        QFETCH(int, type);
        QFETCH(QList<int>, missing);
        QFETCH(QList<int>, damaged);
        QFETCH(int, reports);
        QFETCH(QList<int>, waves);
        QTemporaryDir dir;
        const QString path = waveFolder(dir, missing, damaged);
        QVERIFY(!path.isEmpty());
        MessageLog log;
        SoundLesson lesson(true, type, 0, path);
        QVERIFY(lesson.start());
        QStringList expected(reports, kSoundError);
        expected << QStringLiteral("Przepisz.");
        QCOMPARE(log.texts(), expected);
        for (const Box &box : log.boxes.mid(0, reports)) {
            QCOMPARE(box.kind, Messages::Kind::Stop);
            QCOMPARE(box.caption, QStringLiteral("Błąd wewnętrzny"));
        }
        QCOMPARE(lesson.type("ab\rx"), waves);
        // Asking for the instruction again shows only the instruction.
        lesson.lesson->StartLesson();
        QCOMPARE(log.boxes.size(), reports + 2);
        QCOMPARE(log.boxes.last().text, QStringLiteral("Przepisz."));
    }
};

QTEST_MAIN(TestLessonSounds)
#include "tst_lessonsounds.moc"
