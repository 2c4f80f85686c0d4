#include "common/testsupport.h"
#include "lessons/lessontext.h"
#include "lessons/letterexercise.h"
#include "lessons/randomsource.h"

#include <vector>

namespace {

std::vector<std::string> lines(const std::string &body)
{
    std::vector<std::string> out;
    std::size_t at = 0;
    while (at < body.size()) {
        const std::size_t end = body.find("\r\n", at);
        if (end == std::string::npos) {
            out.push_back(body.substr(at));
            break;
        }
        out.push_back(body.substr(at, end - at));
        at = end + 2;
    }
    return out;
}

std::vector<std::string> words(const std::string &body)
{
    std::vector<std::string> out;
    for (const std::string &line : lines(body)) {
        std::size_t at = 0;
        while (at <= line.size()) {
            const std::size_t end = std::min(line.size(), line.find(' ', at));
            out.push_back(line.substr(at, end - at));
            at = end + 1;
        }
    }
    return out;
}

// Answers a fixed sequence, so a test can say exactly what is drawn.
class ScriptedRandom : public RandomSource
{
public:
    explicit ScriptedRandom(std::vector<std::uint32_t> values)
        : m_values(std::move(values))
    { }
    std::uint32_t next() override { return m_values[m_at++ % m_values.size()]; }

private:
    std::vector<std::uint32_t> m_values;
    std::size_t m_at = 0;
};

} // namespace

class TestLetterExercise : public QObject
{
    Q_OBJECT

private slots:
    void randomGroupsKeepTheirShape_data()
    {
        QTest::addColumn<QByteArray>("letters");
        QTest::addColumn<int>("lineCount");
        QTest::newRow("asdf, 6 lines") << QByteArray("asdf") << 6;
        QTest::newRow("one letter, 2 lines") << QByteArray("a") << 2;
        QTest::newRow("polish letters, 100 lines") << bytes(W("ąęśćżźółń")) << 100;
        QTest::newRow("a letter twice") << QByteArray("aab") << 10;
    }

    void randomGroupsKeepTheirShape()
    {
        QFETCH(QByteArray, letters);
        QFETCH(int, lineCount);
        const std::string chosen(letters.constData(), letters.size());
        for (std::uint32_t seed = 1; seed <= 200; ++seed) {
            StdRandomSource random(seed);
            const std::string body = randomGroupsBody(chosen, lineCount, random);
            QCOMPARE(body.size(), std::size_t(lineCount) * 78);
            const auto rows = lines(body);
            QCOMPARE(int(rows.size()), lineCount);
            for (const std::string &row : rows) {
                QCOMPARE(row.size(), std::size_t(76));
                QVERIFY2(row.front() != ' ' && row.back() != ' ', row.c_str());
                QVERIFY2(row.find("  ") == std::string::npos, row.c_str());
                QVERIFY2(row.find_first_not_of(chosen + ' ') == std::string::npos, row.c_str());
                QVERIFY2(row.find(' ') != std::string::npos, "a line is made of groups");
            }
            // The lesson ends at the final line break: the body loads as a lesson of lineCount lines.
            LessonText text;
            text.setBody(body);
            QCOMPARE(text.lineCount, lineCount + 1);
        }
    }

    // Characters that cannot stand in the groups are left out of the draw.
    void unusableCharactersAreLeftOut_data()
    {
        QTest::addColumn<QByteArray>("chosen");
        QTest::addColumn<QByteArray>("used");
        QTest::newRow("a space among the letters") << QByteArray("a s") << QByteArray("as");
        QTest::newRow("a character no key gives") << QByteArray("a|") << QByteArray("a");
        QTest::newRow("a line break") << QByteArray("a\r\nb") << QByteArray("ab");
        QTest::newRow("only a space") << QByteArray(" ") << QByteArray();
        QTest::newRow("only characters no key gives") << bytes(W("|§")) << QByteArray();
        QTest::newRow("nothing chosen") << QByteArray() << QByteArray();
    }

    void unusableCharactersAreLeftOut()
    {
        QFETCH(QByteArray, chosen);
        QFETCH(QByteArray, used);
        const std::string letters = used.toStdString();
        std::string seen;
        for (std::uint32_t seed = 1; seed <= 50; ++seed) {
            StdRandomSource random(seed);
            const std::string body = randomGroupsBody(chosen.toStdString(), 4, random);
            if (letters.empty()) {
                QVERIFY(body.empty());
                continue;
            }
            for (const std::string &row : lines(body)) {
                QCOMPARE(row.size(), std::size_t(76));
                QVERIFY2(row.front() != ' ' && row.back() != ' ', row.c_str());
                QVERIFY2(row.find("  ") == std::string::npos, row.c_str());
                QVERIFY2(row.find_first_not_of(letters + ' ') == std::string::npos, row.c_str());
                seen += row;
            }
        }
        for (char c : letters)
            QVERIFY(seen.find(c) != std::string::npos);
    }

    // With every draw 0 the group length is always 2: one letter and a space.
    void groupLengthsComeFromTheTable()
    {
        ScriptedRandom zeros({ 0 });
        const std::string line = lines(randomGroupsBody("xy", 1, zeros)).front();
        QCOMPARE(bytes(line.substr(0, 8)), QByteArray("x x x x "));
        QCOMPARE(bytes(line.substr(72)), QByteArray("x xx")); // the last column is never a space
        ScriptedRandom nines({ 9 });
        // 9 picks the last entry (5) for the length and the letter 9 % 2 = 1.
        QCOMPARE(bytes(lines(randomGroupsBody("xy", 1, nines)).front().substr(0, 12)), QByteArray("yyyy yyyy yy"));
    }

    void wordsMadeOnlyOfTheLettersComeFirst()
    {
        const std::string list = "kot baba ab bab sad aba bag abba tabu ";
        const auto body = wordsBody("ab", 2, list);
        QVERIFY(body);
        const auto taken = words(*body);
        // Whole words of a and b in list order, then each lower share level: "bag" (2 of 3), "tabu"
        // (2 of 4). The lowest level, "sad" (1 of 3), is where the levels end: the words start over.
        QCOMPARE(taken[0], std::string("baba"));
        QCOMPARE(taken[1], std::string("ab"));
        QCOMPARE(taken[2], std::string("bab"));
        QCOMPARE(taken[3], std::string("aba"));
        QCOMPARE(taken[4], std::string("abba"));
        QCOMPARE(taken[5], std::string("bag"));
        QCOMPARE(taken[6], std::string("tabu"));
        QCOMPARE(taken[7], std::string("baba"));
        QVERIFY(std::find(taken.begin(), taken.end(), std::string("sad")) == taken.end());
    }

    void wordLinesKeepTheirShape_data()
    {
        QTest::addColumn<QByteArray>("letters");
        QTest::addColumn<int>("lineCount");
        QTest::newRow("asdf") << QByteArray("asdf") << 6;
        QTest::newRow("polish letters") << bytes(W("ąęść")) << 10;
        QTest::newRow("one rare letter") << bytes(W("ź")) << 3;
        QTest::newRow("100 lines") << QByteArray("klm") << 100;
    }

    void wordLinesKeepTheirShape()
    {
        QFETCH(QByteArray, letters);
        QFETCH(int, lineCount);
        const auto list = builtLibrary().text(5000);
        QVERIFY(list);
        int lastTaken = 0;
        const auto body = wordsBody(std::string(letters.constData(), letters.size()), lineCount, *list,
            [&lastTaken](int taken) { lastTaken = taken; });
        QVERIFY(body);
        QVERIFY(lastTaken > 0);
        const auto rows = lines(*body);
        QCOMPARE(int(rows.size()), lineCount);
        QVERIFY(body->size() >= 2 && body->substr(body->size() - 2) == "\r\n");
        for (const std::string &row : rows) {
            QVERIFY2(!row.empty() && row.size() <= 76, row.c_str());
            QVERIFY2(row.front() != ' ' && row.back() != ' ', row.c_str());
            QVERIFY2(row.find("  ") == std::string::npos, row.c_str());
        }
        // Every word holds at least one chosen letter.
        for (const std::string &word : words(*body))
            QVERIFY2(word.find_first_of(std::string(letters.constData(), letters.size())) != std::string::npos,
                word.c_str());
    }

    void noWordWithTheLetters_data()
    {
        QTest::addColumn<QByteArray>("letters");
        QTest::newRow("a digit alone") << QByteArray("5");
        QTest::newRow("punctuation") << QByteArray("?!");
        QTest::newRow("capital letters") << QByteArray("QX");
    }

    void noWordWithTheLetters()
    {
        QFETCH(QByteArray, letters);
        QVERIFY(!wordsBody(std::string(letters.constData(), letters.size()), 6, *builtLibrary().text(5000)));
    }

    void emptyWordListGivesNothing()
    {
        QVERIFY(!wordsBody("abc", 6, ""));
        QVERIFY(!wordsBody("abc", 6, "   "));
    }

    // When the words with chosen letters all share one level, that level is taken over and over.
    void oneShareLevelIsTaken_data()
    {
        QTest::addColumn<QByteArray>("letters");
        QTest::addColumn<QByteArray>("list");
        QTest::addColumn<QByteArray>("firstLine");
        QTest::newRow("only whole words") << QByteArray("ab") << QByteArray("kot ab ba ") << QByteArray("ab ba ab ba");
        QTest::newRow("one level below whole") << QByteArray("q") << QByteArray("ala quiz kot aqua ")
                                               << QByteArray("quiz aqua quiz"); // q is 1 of 4 in both
        QTest::newRow("one level, words apart")
            << QByteArray("z") << QByteArray("zo ala za ") << QByteArray("zo za zo za");
    }

    void oneShareLevelIsTaken()
    {
        QFETCH(QByteArray, letters);
        QFETCH(QByteArray, list);
        QFETCH(QByteArray, firstLine);
        const auto body = wordsBody(letters.toStdString(), 3, list.toStdString());
        QVERIFY(body);
        const auto rows = lines(*body);
        QCOMPARE(int(rows.size()), 3);
        QVERIFY2(rows[0].starts_with(firstLine.toStdString()), rows[0].c_str());
        for (const std::string &word : words(*body))
            QVERIFY2(word.find_first_of(letters.toStdString()) != std::string::npos, word.c_str());
    }

    // Words made only of the chosen letters and nothing else with any of them still make an exercise.
    void aShortListRepeatsUntilTheLinesAreFull()
    {
        const auto body = wordsBody("ab", 3, "ab ");
        QVERIFY(body);
        const auto rows = lines(*body);
        QCOMPARE(rows.size(), std::size_t(3));
        QCOMPARE(bytes(rows[0]), bytes("ab ab ab ab ab ab ab ab ab ab ab ab ab ab ab ab ab ab ab ab ab ab ab ab ab"));
    }
};

QTEST_APPLESS_MAIN(TestLetterExercise)
#include "tst_letterexercise.moc"
