// The whole course as the build packed it: every rule the lesson texts must
// keep, so a later edit of a text cannot break a lesson.

#include "choice/lessonrows.h"
#include "common/testsupport.h"
#include "lessons/lessontext.h"
#include "text/statchars.h"

#include <set>
#include <vector>

namespace {

std::vector<std::string> split(std::string_view text, std::string_view separator)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t at = text.find(separator, start);
        parts.emplace_back(text.substr(start, at == std::string_view::npos ? std::string_view::npos : at - start));
        if (at == std::string_view::npos)
            return parts;
        start = at + separator.size();
    }
}

struct Exercise {
    LessonText text;
    std::vector<std::string> lines; // the exercise lines, without the empty one after a final break
    bool finalBreak = false;
};

bool load(int number, Exercise &e)
{
    if (!loadStoredText(builtLibrary(), number, e.text))
        return false;
    e.finalBreak = e.text.body.size() >= 2 && e.text.body.compare(e.text.body.size() - 2, 2, "\r\n") == 0;
    const std::string_view body(e.text.body.data(), e.text.body.size() - (e.finalBreak ? 2 : 0));
    e.lines = split(body, "\r\n");
    return true;
}

// Declares `e` loaded with lesson `number`, or fails the test.
#define LOAD_EXERCISE(e, number)                                                                                       \
    Exercise e;                                                                                                        \
    QVERIFY2(load((number), e), qPrintable(QStringLiteral("lesson %1 is missing or is no lesson text").arg(number)))

// Problems of form shared by every exercise: characters a learner can type,
// single spaces, no line beginning or ending with a space, no empty line.
QString formProblem(const Exercise &e, std::size_t maxLength)
{
    for (std::size_t i = 0; i < e.lines.size(); ++i) {
        const std::string &line = e.lines[i];
        const QString where
            = QStringLiteral("line %1 \"%2\": ").arg(i + 1).arg(QString::fromStdString(cp1250::toUtf8(line)));
        if (line.empty())
            return where + QStringLiteral("empty");
        if (line.size() > maxLength)
            return where + QStringLiteral("%1 characters, more than %2").arg(line.size()).arg(maxLength);
        if (line.front() == ' ' || line.back() == ' ')
            return where + QStringLiteral("begins or ends with a space");
        if (line.find("  ") != std::string::npos)
            return where + QStringLiteral("two spaces in a row");
        for (char c : line) {
            const auto byte = static_cast<unsigned char>(c);
            if (byte != ' ' && (statCharSlot(byte) < 0 || byte == '\r'))
                return where + QStringLiteral("character %1 cannot be typed").arg(int(byte));
        }
    }
    return {};
}

// Keys taught by each basic lesson, in course order.
struct Taught {
    int number;
    const char *keys; // UTF-8
};
const Taught kCourse[] = {
    { 1201, "asdf" },
    { 1202, "jkl;" },
    { 1203, "e" },
    { 1204, "i" },
    { 1205, "z" },
    { 1206, "o" },
    { 1207, "c" },
    { 1208, "u" },
    { 1209, "r" },
    { 1210, "gh" },
    { 1211, "mn" },
    { 1212, "bv" },
    { 1213, "uy" },
    { 1214, "" },
    { 1215, "t" },
    { 1216, "w" },
    { 1217, "p" },
    { 1218, "" },
    { 1219, "qx" },
    { 1220, "ąęćłńóśżź" },
    { 1221, "1234567890" },
    { 1222, "" },
    { 1223, "" },
    { 1224, "" },
    { 1225, "" },
    { 1226, "" },
};
constexpr int kCapitalsFrom = 1214;
constexpr int kPunctuationFrom = 1218;

std::string upper(std::string_view lowerCp1250)
{
    std::string out;
    for (char c : lowerCp1250) {
        const auto byte = static_cast<unsigned char>(c);
        const int slot = statCharSlot(byte);
        // Lower-case letters take slots 0-34, their capitals 35-69 in the same order but for v/w.
        if (slot >= 0 && slot < 35) {
            int upperSlot = slot + 35;
            if (byte == 'v')
                upperSlot = statCharSlot('V');
            else if (byte == 'w')
                upperSlot = statCharSlot('W');
            out += static_cast<char>(StatChars[upperSlot]);
        }
    }
    return out;
}

} // namespace

class TestCourse : public QObject
{
    Q_OBJECT

private slots:
    void groupsAreContiguous_data()
    {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("count");
        QTest::newRow("basic lessons") << 1201 << 26;
        QTest::newRow("practical texts") << 1301 << 21;
        QTest::newRow("keypad drills") << 1401 << 4;
        QTest::newRow("single-letter lessons") << 1 << 47;
        QTest::newRow("word list") << 5000 << 1;
    }

    void groupsAreContiguous()
    {
        QFETCH(int, first);
        QFETCH(int, count);
        QCOMPARE(builtLibrary().countGroup(first), count);
    }

    void basicLessons_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("allowed");
        QTest::addColumn<QString>("newKeys");
        QString lower;
        bool capitals = false;
        bool punctuation = false;
        for (const Taught &lesson : kCourse) {
            lower += QString::fromUtf8(lesson.keys);
            capitals = capitals || lesson.number >= kCapitalsFrom;
            punctuation = punctuation || lesson.number >= kPunctuationFrom;
            QString allowed = lower + QLatin1Char(' ');
            if (capitals)
                allowed += QString::fromStdString(cp1250::toUtf8(upper(W(lower.toUtf8().constData()))));
            if (punctuation)
                for (int slot = statCharSlot('.'); slot < kStatCharCount; ++slot)
                    allowed += QChar(char16_t(cp1250::toCodePoint(StatChars[slot])));
            QTest::addRow("%d", lesson.number) << lesson.number << allowed << QString::fromUtf8(lesson.keys);
        }
    }

    // Each basic lesson uses only the keys taught so far, and practises its own new ones.
    void basicLessons()
    {
        QFETCH(int, number);
        QFETCH(QString, allowed);
        QFETCH(QString, newKeys);
        LOAD_EXERCISE(e, number);
        QVERIFY(e.text.Instruction && e.text.Instruction->size() > 40);
        QCOMPARE(e.text.PlusMark, 0);
        QVERIFY2(e.lines.size() >= 4 && e.lines.size() <= 14, qPrintable(QString::number(e.lines.size())));
        const QString problem = formProblem(e, 72);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        const std::string allowedBytes = W(allowed.toUtf8().constData());
        for (const std::string &line : e.lines)
            for (char c : line)
                QVERIFY2(allowedBytes.find(c) != std::string::npos,
                    qPrintable(QStringLiteral("\"%1\" is not taught yet in \"%2\"")
                                   .arg(QString::fromStdString(cp1250::toUtf8(std::string(1, c))),
                                       QString::fromStdString(cp1250::toUtf8(line)))));
        for (char key : W(newKeys.toUtf8().constData()))
            QVERIFY2(e.text.body.find(key) != std::string::npos, "a new key of the lesson is never practised");
    }

    void capitalsArePractisedFromTheirLesson()
    {
        LOAD_EXERCISE(e, kCapitalsFrom);
        int capitals = 0;
        for (const std::string &line : e.lines)
            for (char c : line)
                capitals += statCharSlot(static_cast<unsigned char>(c)) >= 35
                    && statCharSlot(static_cast<unsigned char>(c)) < 70;
        QVERIFY(capitals >= 20);
    }

    void lessonsTheCourseIsKnownBy()
    {
        LOAD_EXERCISE(first, 1201);
        QCOMPARE(first.lines.size(), std::size_t(5));
        QVERIFY(!first.finalBreak);
        QCOMPARE(
            bytes(first.lines[0]), QByteArray("fff fff fff fff fff fff fff fff ddd ddd ddd ddd ddd ddd ddd ddd fd"));
        QVERIFY(first.text.Instruction->rfind(
                    W("Lekcje polegają na przepisywaniu liter znajdujących się powyżej kursora. "), 0)
            == 0);

        LOAD_EXERCISE(withBreak, 1213);
        QCOMPARE(withBreak.lines.size(), std::size_t(11));
        QVERIFY(withBreak.finalBreak);
        QCOMPARE(withBreak.text.lineCount, 12);
    }

    void practicalTexts_data()
    {
        QTest::addColumn<int>("number");
        for (int number = 1301; number <= 1321; ++number)
            QTest::addRow("%d", number) << number;
    }

    void practicalTexts()
    {
        QFETCH(int, number);
        LOAD_EXERCISE(e, number);
        const std::string &title = *e.text.Instruction;
        QVERIFY2(!title.empty() && title.size() <= 60 && title.back() == '.', title.c_str());
        QCOMPARE(std::count(title.begin(), title.end(), '.'), std::ptrdiff_t(1));
        QVERIFY(!e.finalBreak);
        QVERIFY2(e.lines.size() >= 16 && e.lines.size() <= 138, qPrintable(QString::number(e.lines.size())));
        const QString problem = formProblem(e, 76);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        QVERIFY2(number == 1320 || e.lines.size() < 138, "1320 is the longest text");
    }

    void textListRows_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("row");
        QTest::newRow("1303") << 1303 << QStringLiteral("Wybór i ustawienie biurka do pracy. (19 linii)");
        QTest::newRow("1312") << 1312 << QStringLiteral("Kredyty bankowe. (32 linie)");
    }

    void textListRows()
    {
        QFETCH(int, number);
        QFETCH(QString, row);
        QCOMPARE(bytes(textListRow(*builtLibrary().text(number))), bytes(W(row.toUtf8().constData())));
    }

    void longestText()
    {
        LOAD_EXERCISE(e, 1320);
        QCOMPARE(e.lines.size(), std::size_t(138));
    }

    void keypadDrills_data()
    {
        QTest::addColumn<int>("number");
        for (int number = 1401; number <= 1404; ++number)
            QTest::addRow("%d", number) << number;
    }

    void keypadDrills()
    {
        QFETCH(int, number);
        LOAD_EXERCISE(e, number);
        QVERIFY2(e.lines.size() >= 7 && e.lines.size() <= 26, qPrintable(QString::number(e.lines.size())));
        const QString problem = formProblem(e, 38);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        const std::string keypad = "0123456789/*-+., ";
        for (const std::string &line : e.lines)
            QVERIFY2(line.find_first_not_of(keypad) == std::string::npos, line.c_str());
        QCOMPARE(e.text.PlusMark, number == 1404 ? 1 : 0);
    }

    void addingUpDrill()
    {
        LOAD_EXERCISE(e, 1404);
        QVERIFY(e.text.Instruction->rfind(W("Tę lekcję proszę wykonać jak najszybciej."), 0) == 0);
        QVERIFY(e.text.Instruction->find('+') != std::string::npos);
        // Amounts to add up: every line holds a number.
        for (const std::string &line : e.lines)
            QVERIFY2(line.find_first_of("0123456789") != std::string::npos, line.c_str());
    }

    void letterLessons_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("characters"); // any of them is the lesson's subject
        const char *letters[] = { "aA", "ąĄ", "bB", "cC", "ćĆ", "dD", "eE", "ęĘ", "fF", "gG", "hH", "iI", "jJ", "kK",
            "lL", "łŁ", "mM", "nN", "ńŃ", "oO", "óÓ", "pP", "qQ", "rR", "sS", "śŚ", "tT", "uU", "vV", "wW", "xX", "yY",
            "zZ", "żŻ", "źŹ", "0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "!,.:?", "()*+-/<=>[]^" };
        for (int i = 0; i < 47; ++i)
            QTest::addRow("%d %s", i + 1, letters[i]) << i + 1 << QString::fromUtf8(letters[i]);
    }

    void letterLessons()
    {
        QFETCH(int, number);
        QFETCH(QString, characters);
        LOAD_EXERCISE(e, number);
        QCOMPARE(e.text.PlusMark, 0);
        QVERIFY2(e.lines.size() >= 4 && e.lines.size() <= 14, qPrintable(QString::number(e.lines.size())));
        const QString problem = formProblem(e, 76);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        const std::string subject = W(characters.toUtf8().constData());
        QVERIFY2(
            e.text.Instruction->find_first_of(subject) != std::string::npos, "the instruction names the character");
        int occurrences = 0;
        for (char c : e.text.body)
            occurrences += subject.find(c) != std::string::npos;
        QVERIFY2(occurrences >= 30, qPrintable(QStringLiteral("%1 occurrences").arg(occurrences)));
    }

    void wordList()
    {
        const std::string_view list = *builtLibrary().text(5000);
        QVERIFY(!list.empty() && list.back() == ' ');
        QVERIFY(list.find("  ") == std::string_view::npos);
        QVERIFY(list.find_first_of("\r\n\t") == std::string_view::npos);
        const std::string letters = W("aąbcćdeęfghijklłmnńoópqrsśtuvwxyzźż");
        const auto words = split(list.substr(0, list.size() - 1), " ");
        QCOMPARE(words.size(), std::size_t(5426));
        std::set<std::string> distinct;
        std::size_t longest = 0;
        for (const std::string &word : words) {
            QVERIFY2(!word.empty() && word.find_first_not_of(letters) == std::string::npos, word.c_str());
            QVERIFY2(distinct.insert(word).second, word.c_str());
            longest = std::max(longest, word.size());
        }
        QCOMPARE(longest, std::size_t(17));
    }

    void linesWordRule_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("word");
        const int counts[] = { 0, 1, 2, 4, 5, 11, 12, 21, 22, 25, 13, 14, 104, 111 };
        const char *words[] = { "linii", "linii", "linie", "linie", "linii", "linii", "linie", "linii", "linie",
            "linii", "linie", "linie", "linie", "linii" };
        for (int i = 0; i < 14; ++i)
            QTest::addRow("%d", counts[i]) << counts[i] << QString::fromLatin1(words[i]);
    }

    void linesWordRule()
    {
        QFETCH(int, n);
        QFETCH(QString, word);
        QCOMPARE(QString::fromLatin1(linesWord(n)), word);
    }

    void textRowsOfOddTexts_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QByteArray>("row");
        QTest::newRow("a final line break counts one more")
            << bytes(crlf("Tytuł.\na\nb\n")) << bytes(W("Tytuł. (3 linie)"));
        QTest::newRow("a leading break gives an empty title") << bytes(crlf("\na\nb")) << QByteArray(" (1 linii)");
        QTest::newRow("no line break at all") << QByteArray("Sam tytul") << QByteArray("Sam tytul (0 linii)");
    }

    void textRowsOfOddTexts()
    {
        QFETCH(QByteArray, stored);
        QFETCH(QByteArray, row);
        QCOMPARE(bytes(textListRow(std::string_view(stored.constData(), stored.size()))), row);
    }
};

QTEST_APPLESS_MAIN(TestCourse)
#include "tst_course.moc"
