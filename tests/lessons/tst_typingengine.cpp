#include "common/testsupport.h"
#include "lessons/typingengine.h"

#include <malloc.h>
#include <tuple>
#include <vector>

namespace {

// An engine loaded with a body given as readable lines ("\n" is CR LF).
TypingEngine engineFor(const char *bodyLines, TypingEngine::SameKey sameKey = TypingEngine::plainSameKey)
{
    LessonText text;
    text.setBody(crlf(bodyLines));
    TypingEngine engine(std::move(sameKey));
    engine.load(std::move(text));
    engine.start(0);
    return engine;
}

// Types each byte of keys ("\r" is Enter), one every stepMs milliseconds.
KeyOutcome typeKeys(
    TypingEngine &engine, std::string_view keys, ErrorMode mode, std::uint32_t &now, std::uint32_t stepMs = 100)
{
    KeyOutcome last;
    for (char key : keys) {
        now += stepMs;
        last = engine.keyTyped(static_cast<unsigned char>(key), now, mode);
    }
    return last;
}

// Bytes the C library's allocator hands out at the moment (a sanitizer's own
// allocator leaves these at rest, so the check below then cannot fail).
std::size_t heapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

const TCharCount &countOf(const TypingEngine &engine, const char *utf8Char)
{
    return engine.charCounts()[statCharSlot(static_cast<unsigned char>(W(utf8Char)[0]))];
}

} // namespace

class TestTypingEngine : public QObject
{
    Q_OBJECT

private slots:
    void judging_data()
    {
        QTest::addColumn<QString>("body");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QByteArray>("keys");
        QTest::addColumn<int>("typed");
        QTest::addColumn<int>("errors");
        QTest::addColumn<QByteArray>("row0");
        QTest::addColumn<int>("line");
        QTest::addColumn<int>("column");
        QTest::addColumn<bool>("finished");

        QTest::newRow("wait: three wrong keys, then the right one")
            << "abc" << 0 << QByteArray("xxxa") << 4 << 3 << QByteArray("a") << 0 << 1 << false;
        QTest::newRow("accept: a wrong key is shown and the text moves on")
            << "abc" << 1 << QByteArray("x") << 1 << 1 << QByteArray("x") << 0 << 1 << false;
        QTest::newRow("accept: a wrong Enter shows the pilcrow")
            << "ab\ncd" << 1 << QByteArray("\r") << 1 << 1 << QByteArray("\xB6") << 0 << 1 << false;
        QTest::newRow("wait: a wrong Enter shows nothing")
            << "ab\ncd" << 0 << QByteArray("\r") << 1 << 1 << QByteArray() << 0 << 0 << false;
        QTest::newRow("a correct Enter moves to the next line")
            << "ab\ncd" << 0 << QByteArray("ab\r") << 3 << 0 << QByteArray("ab") << 1 << 0 << false;
        QTest::newRow("accept: a letter at the line end also changes line")
            << "ab\ncd" << 1 << QByteArray("abx") << 3 << 1 << QByteArray("abx") << 1 << 0 << false;
        QTest::newRow("keys outside the lesson change nothing") << "ab" << 0
                                                                << QByteArray("\t|\b\n\x7F"
                                                                              "a")
                                                                << 1 << 0 << QByteArray("a") << 0 << 1 << false;
        QTest::newRow("polish letters count like any other")
            << QString::fromUtf8("żółw") << 0 << bytes(W("żół")) << 3 << 0 << bytes(W("żół")) << 0 << 3 << false;
        QTest::newRow("upper-case keys are their own keys")
            << "Aa" << 0 << QByteArray("aAa") << 3 << 1 << QByteArray("Aa") << 0 << 2 << true;
        QTest::newRow("no final line break: ends on the last character")
            << "ab\ncd" << 0 << QByteArray("ab\rcd") << 5 << 0 << QByteArray("ab") << 1 << 2 << true;
        QTest::newRow("final line break: the next keystroke ends it uncounted")
            << "ab\n"
            << 0 << QByteArray("abz") << 2 << 0 << QByteArray("ab") << 0 << 2 << true;
        QTest::newRow("final line break: Enter is not needed either")
            << "ab\n"
            << 0 << QByteArray("ab\r") << 2 << 0 << QByteArray("ab") << 0 << 2 << true;
    }

    void judging()
    {
        QFETCH(QString, body);
        QFETCH(int, mode);
        QFETCH(QByteArray, keys);
        QFETCH(int, typed);
        QFETCH(int, errors);
        QFETCH(QByteArray, row0);
        QFETCH(int, line);
        QFETCH(int, column);
        QFETCH(bool, finished);

        TypingEngine engine = engineFor(body.toUtf8().constData());
        std::uint32_t now = 0;
        const KeyOutcome last = typeKeys(engine, std::string_view(keys.constData(), keys.size()), ErrorMode(mode), now);
        QCOMPARE(int(engine.typedCount()), typed);
        QCOMPARE(int(engine.errorCount()), errors);
        QCOMPARE(bytes(engine.typedRow(0)), row0);
        QCOMPARE(engine.currentLine(), line);
        QCOMPARE(engine.column(), column);
        QCOMPARE(last.finished, finished);
    }

    void countsAreBookedOnTheExpectedCharacter()
    {
        TypingEngine engine = engineFor("ab");
        std::uint32_t now = 0;
        typeKeys(engine, "xxxa", ErrorMode::WaitForCorrect, now, 250);
        QCOMPARE(countOf(engine, "a").Hits, 1u);
        QCOMPARE(countOf(engine, "a").Misses, 3u);
        QCOMPARE(countOf(engine, "a").Time, 1000u);
        QCOMPARE(countOf(engine, "x").Misses, 0u);
        QCOMPARE(countOf(engine, "x").Hits, 0u);

        TypingEngine accepting = engineFor("ab");
        now = 0;
        typeKeys(accepting, "xb", ErrorMode::AcceptErrors, now);
        QCOMPARE(countOf(accepting, "a").Misses, 1u);
        QCOMPARE(countOf(accepting, "b").Hits, 1u);
    }

    // Every wrong key is counted against the expected character, but a place
    // of the text missed is one place however many keys it took.
    void missedPlacesCountOnce_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QByteArray>("keys");
        QTest::addColumn<int>("missesOfA");
        QTest::addColumn<int>("placesOfA");
        const int wait = int(ErrorMode::WaitForCorrect);
        const int accept = int(ErrorMode::AcceptErrors);
        QTest::newRow("wait: one slip, keys until the right one") << wait << QByteArray("salsdfa") << 3 << 1;
        QTest::newRow("wait: two places missed") << wait << QByteArray("sxalxa") << 2 << 2;
        QTest::newRow("accept: each wrong key is a place") << accept << QByteArray("sxlx") << 2 << 2;
        QTest::newRow("no slip") << wait << QByteArray("sala") << 0 << 0;
    }

    void missedPlacesCountOnce()
    {
        QFETCH(int, mode);
        QFETCH(QByteArray, keys);
        QFETCH(int, missesOfA);
        QFETCH(int, placesOfA);
        TypingEngine engine = engineFor("sala");
        std::uint32_t now = 0;
        typeKeys(engine, keys.toStdString(), ErrorMode(mode), now);
        QCOMPARE(int(countOf(engine, "a").Misses), missesOfA);
        QCOMPARE(int(engine.missedPlaces()[statCharSlot('a')]), placesOfA);
    }

    void wrongKeysAreKeptAsPairs()
    {
        // "k" twice and "ł" once for "l", "x" for Enter; right keys leave no pair.
        TypingEngine engine = engineFor("ll\nl");
        std::uint32_t now = 0;
        typeKeys(engine, W("kklłlx\rl"), ErrorMode::WaitForCorrect, now);
        std::vector<std::tuple<int, int, int>> pairs;
        for (const TConfusion &c : engine.confusions())
            pairs.emplace_back(c.Expected, c.Typed, c.Count);
        const auto l = static_cast<unsigned char>('l');
        const auto lStroke = static_cast<unsigned char>(W("ł")[0]);
        QCOMPARE(
            pairs, (std::vector<std::tuple<int, int, int>> { { l, 'k', 2 }, { l, lStroke, 1 }, { '\r', 'x', 1 } }));
    }

    void idleGaps_data()
    {
        QTest::addColumn<int>("gap");
        QTest::addColumn<float>("added");
        QTest::newRow("12 s counts as 10 ms") << 12000 << 10.0F;
        QTest::newRow("9.9 s counts in full") << 9900 << 9900.0F;
        QTest::newRow("exactly 10 s counts in full") << 10000 << 10000.0F;
        QTest::newRow("10.001 s counts as 10 ms") << 10001 << 10.0F;
        QTest::newRow("an hour counts as 10 ms") << 3600000 << 10.0F;
    }

    void idleGaps()
    {
        QFETCH(int, gap);
        QFETCH(float, added);
        TypingEngine engine = engineFor("abc");
        engine.keyTyped('a', 500, ErrorMode::WaitForCorrect);
        QCOMPARE(engine.typingTime(), 500.0F);
        engine.keyTyped('b', 500 + gap, ErrorMode::WaitForCorrect);
        QCOMPARE(engine.typingTime(), 500.0F + added);
        QCOMPARE(countOf(engine, "b").Time, std::uint32_t(added));
    }

    void pausedTimeIsNeverCounted()
    {
        TypingEngine engine = engineFor("abcd");
        engine.keyTyped('a', 1000, ErrorMode::WaitForCorrect);
        engine.togglePause(2000);
        QVERIFY(engine.paused());
        // A key typed while paused resumes the lesson and is processed.
        const KeyOutcome resumed = engine.keyTyped('b', 7000, ErrorMode::WaitForCorrect);
        QVERIFY(resumed.resumed);
        QVERIFY(resumed.counted);
        QVERIFY(!engine.paused());
        QCOMPARE(engine.typingTime(), 2000.0F); // 1000 + the 1000 before the pause
        engine.togglePause(8000);
        engine.togglePause(20000);
        engine.keyTyped('c', 20500, ErrorMode::WaitForCorrect);
        QCOMPARE(engine.typingTime(), 3500.0F);
        QCOMPARE(int(engine.typedCount()), 3);
    }

    void results_data()
    {
        QTest::addColumn<int>("correct");
        QTest::addColumn<int>("wrong");
        QTest::addColumn<int>("stepMs");
        QTest::addColumn<float>("speed");
        QTest::addColumn<float>("accuracy");
        QTest::newRow("300 keys, 15 errors, 60 s") << 285 << 15 << 200 << 300.0F << 95.0F;
        QTest::newRow("no counted keystroke") << 0 << 0 << 100 << 0.0F << 0.0F;
        QTest::newRow("no typing time") << 3 << 1 << 0 << 0.0F << 75.0F;
        QTest::newRow("all correct") << 120 << 0 << 500 << 120.0F << 100.0F;
    }

    void results()
    {
        QFETCH(int, correct);
        QFETCH(int, wrong);
        QFETCH(int, stepMs);
        QFETCH(float, speed);
        QFETCH(float, accuracy);
        const std::string body(400, 'a');
        TypingEngine engine = engineFor(body.c_str());
        std::uint32_t now = 0;
        typeKeys(engine, std::string(wrong, 'x'), ErrorMode::AcceptErrors, now, stepMs);
        typeKeys(engine, std::string(correct, 'a'), ErrorMode::AcceptErrors, now, stepMs);
        const LessonResults r = engine.results();
        QCOMPARE(r.speed, speed);
        QCOMPARE(r.accuracy, accuracy);
    }

    void clips_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<char>("key");
        QTest::addColumn<int>("clip");
        QTest::newRow("correct letter") << QByteArray() << 'a' << int(KeyClip::Key);
        QTest::newRow("wrong letter") << QByteArray() << 'x' << int(KeyClip::Error);
        QTest::newRow("correct Enter") << QByteArray("ab") << '\r' << int(KeyClip::LineEnd);
        QTest::newRow("wrong Enter") << QByteArray("a") << '\r' << int(KeyClip::Error);
        QTest::newRow("wrong key again") << QByteArray("x") << 'y' << int(KeyClip::Error);
    }

    void clips()
    {
        QFETCH(QByteArray, before);
        QFETCH(char, key);
        QFETCH(int, clip);
        TypingEngine engine = engineFor("ab\ncd");
        std::uint32_t now = 0;
        typeKeys(engine, std::string_view(before.constData(), before.size()), ErrorMode::WaitForCorrect, now);
        QCOMPARE(
            int(engine.keyTyped(static_cast<unsigned char>(key), now + 100, ErrorMode::WaitForCorrect).clip), clip);
    }

    void scrollsOneLineAtATime()
    {
        TypingEngine engine = engineFor("a\nb\nc\nd\ne");
        engine.setLastRowIndex(2); // three row pairs fit
        std::uint32_t now = 0;
        KeyOutcome out = typeKeys(engine, "a\rb\r", ErrorMode::WaitForCorrect, now);
        QVERIFY(out.accept.lineChanged);
        QVERIFY(!out.accept.scrolled);
        typeKeys(engine, "c", ErrorMode::WaitForCorrect, now);
        out = typeKeys(engine, "\r", ErrorMode::WaitForCorrect, now);
        QVERIFY(out.accept.scrolled);
        QCOMPARE(engine.currentLine(), 3);
        QCOMPARE(engine.topLineIndex(), 1);
        QCOMPARE(bytes(engine.lineAt(engine.text().topLinePos)), QByteArray("b"));
        out = typeKeys(engine, "d\r", ErrorMode::WaitForCorrect, now);
        QVERIFY(out.accept.scrolled);
        QCOMPARE(engine.topLineIndex(), 2);
        QCOMPARE(bytes(engine.lineAt(engine.text().topLinePos)), QByteArray("c"));
    }

    void sameKeyDecidesWhatIsTyped()
    {
        // A keypad-like rule: the comma is the decimal key.
        auto keypad = [](unsigned char a, unsigned char b) {
            if (a == ',')
                a = '.';
            if (b == ',')
                b = '.';
            return a == b;
        };
        TypingEngine engine = engineFor("1.5", keypad);
        std::uint32_t now = 0;
        const KeyOutcome out = typeKeys(engine, "1,", ErrorMode::WaitForCorrect, now);
        QVERIFY(out.correct);
        QCOMPARE(bytes(engine.typedRow(0)), QByteArray("1."));
        QCOMPARE(countOf(engine, ".").Hits, 1u);
        QCOMPARE(countOf(engine, ",").Hits, 1u); // booked on every slot that counts as the same key
    }

    // The outcome tells the lesson window exactly which keys moved the text
    // on and where, so it repaints just those.
    void outcomeTellsWhatMovedOn_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QByteArray>("keys");
        QTest::addColumn<QByteArray>("accepted"); // typed byte, then '+' correct or '-' wrong
        QTest::addColumn<QByteArray>("row0");
        QTest::newRow("wait: wrong keys are not accepted")
            << 0 << QByteArray("xab\rc") << QByteArray("a+b+\r+c+") << QByteArray("ab");
        QTest::newRow("accept: wrong keys are accepted as wrong")
            << 1 << QByteArray("x\rzc") << QByteArray("x-\r-z-c+") << QByteArray("x\xB6z");
    }

    void outcomeTellsWhatMovedOn()
    {
        QFETCH(int, mode);
        QFETCH(QByteArray, keys);
        QFETCH(QByteArray, accepted);
        QFETCH(QByteArray, row0);
        TypingEngine engine = engineFor("ab\ncd");
        QByteArray seen;
        KeyOutcome last;
        std::uint32_t now = 0;
        for (const char key : keys) {
            last = engine.keyTyped(static_cast<unsigned char>(key), now += 100, ErrorMode(mode));
            if (last.accepted)
                seen += QByteArray(1, key) + (last.correct ? '+' : '-');
        }
        QCOMPARE(seen, accepted);
        QCOMPARE(bytes(engine.typedRow(0)), row0);
        QCOMPARE(bytes(engine.typedRow(1)), QByteArray("c"));
        QCOMPARE(engine.text().expectedChar, (unsigned char)'d');
        QCOMPARE(last.accept.line, 1);
        QCOMPARE(last.accept.column, 0);
    }

    // Long texts and lines must type to the end without writing outside the typed store.
    void longTextsTypeToTheEnd_data()
    {
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("mode");
        QTest::newRow("138 lines, waiting") << 138 << 76 << 0;
        QTest::newRow("140-character lines, accepting errors") << 10 << 140 << 1;
        QTest::newRow("one line of 5000 characters") << 1 << 5000 << 1;
    }

    void longTextsTypeToTheEnd()
    {
        QFETCH(int, lines);
        QFETCH(int, width);
        QFETCH(int, mode);
        std::string body;
        for (int i = 0; i < lines; ++i) {
            if (i)
                body += '\n';
            body += std::string(width, 'a' + i % 26);
        }
        TypingEngine engine = engineFor(body.c_str());
        std::uint32_t now = 0;
        std::string keys;
        KeyOutcome out;
        int keysTyped = 0;
        while (!out.finished && keysTyped < lines * (width + 2) * 2) {
            // Accepting errors: every other keystroke is wrong; Enter is typed wrongly as a letter.
            unsigned char key = engine.text().expectedChar;
            if (mode == 1 && keysTyped % 2)
                key = key == '\r' ? 'z' : '\r';
            out = engine.keyTyped(key, now += 50, ErrorMode(mode));
            ++keysTyped;
        }
        QVERIFY(out.finished);
        QCOMPARE(engine.currentLine(), lines - 1);
        QCOMPARE(int(engine.typedRow(lines - 1).size()), width);
        if (mode == 0)
            QCOMPARE(bytes(engine.typedRow(lines - 1)), bytes(std::string(width, 'a' + (lines - 1) % 26)));
    }

    // Many short lines and one long one: the typed store keeps to the size of
    // the text instead of giving every line the longest line's width (36 MB here).
    void typedStoreIsAsLargeAsTheText()
    {
        std::string body;
        for (int i = 0; i < 6000; ++i)
            body += "a\r\n";
        body += std::string(6000, 'b');
        LessonText text;
        text.setBody(body);
        const std::size_t before = heapInUse();
        TypingEngine engine;
        engine.load(std::move(text));
        QVERIFY(heapInUse() < before + 1024 * 1024);
        std::uint32_t now = 0;
        KeyOutcome out;
        for (std::size_t i = 0; i < body.size() && !out.finished; ++i)
            out = engine.keyTyped(engine.text().expectedChar, now += 50, ErrorMode::WaitForCorrect);
        QVERIFY(out.finished);
        QCOMPARE(bytes(engine.typedRow(0)), QByteArray("a"));
        QCOMPARE(bytes(engine.typedRow(6000)), QByteArray(6000, 'b'));
    }

    void emptyBodyFinishesAtOnce()
    {
        LessonText text;
        text.setBody("");
        TypingEngine engine;
        engine.load(text);
        const KeyOutcome out = engine.keyTyped('a', 10, ErrorMode::WaitForCorrect);
        QVERIFY(out.finished);
        QVERIFY(!out.counted);
        QCOMPARE(engine.results().speed, 0.0F);
        QCOMPARE(engine.results().accuracy, 0.0F);
    }
};

QTEST_APPLESS_MAIN(TestTypingEngine)
#include "tst_typingengine.moc"
