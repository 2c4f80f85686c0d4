#include "common/testsupport.h"
#include "lessons/lessontext.h"

class TestLessonText : public QObject
{
    Q_OBJECT

private slots:
    void parse_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("plusMark");
        QTest::addColumn<QByteArray>("instruction");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<int>("lineCount");

        auto row = [](const char *name, const std::string &stored, bool ok, int plus, const std::string &instruction,
                       const std::string &body, int lines) {
            QTest::newRow(name) << bytes(stored) << ok << plus << bytes(instruction) << bytes(body) << lines;
        };
        row("two lines", crlf("Opis\nasdf\njkl;"), true, 0, "Opis", crlf("asdf\njkl;"), 2);
        row("final line break counts one more", crlf("Opis\nasdf\njkl;\n"), true, 0, "Opis", crlf("asdf\njkl;\n"), 3);
        row("plus mark", crlf("+Szybko.\n1+2"), true, 1, W("Szybko."), "1+2", 1);
        row("plus alone", crlf("+\n12"), true, 1, "", "12", 1);
        row("empty instruction", crlf("\nfff"), true, 0, "", "fff", 1);
        row("plus later is text", crlf("A+B\nx"), true, 0, "A+B", "x", 1);
        row("polish instruction", crlf("Zażółć gęślą jaźń\nąę"), true, 0, W("Zażółć gęślą jaźń"), W("ąę"), 1);
        row("cut after the carriage return", "Opis\r", true, 0, "Opis", "", 1);
        row("empty body", "Opis\r\n", true, 0, "Opis", "", 1);
        row("body starting with a line break", crlf("Opis\n\nabc"), true, 0, "Opis", crlf("\nabc"), 1);
        row("no carriage return", "Opis bez konca", false, 0, "", "", 0);
        row("only line feeds", "Opis\nabc\ndef", false, 0, "", "", 0);
        row("empty", "", false, 0, "", "", 0);
    }

    void parse()
    {
        QFETCH(QByteArray, stored);
        QFETCH(bool, ok);
        QFETCH(int, plusMark);
        QFETCH(QByteArray, instruction);
        QFETCH(QByteArray, body);
        QFETCH(int, lineCount);

        LessonText text;
        QCOMPARE(parseLessonText(std::string_view(stored.constData(), stored.size()), text), ok);
        if (!ok)
            return;
        QCOMPARE(text.PlusMark, plusMark);
        QVERIFY(text.Instruction);
        QCOMPARE(bytes(*text.Instruction), instruction);
        QCOMPARE(bytes(text.body), body);
        QCOMPARE(text.lineCount, lineCount);
        QCOMPARE(text.expectedPos, std::size_t(0));
        QCOMPARE(text.topLinePos, std::size_t(0));
        QCOMPARE(int(text.expectedChar), body.isEmpty() ? 0 : int(static_cast<unsigned char>(body[0])));
    }

    void missingText()
    {
        LessonLibrary library;
        library.addText(1201, crlf("a\nb"));
        LessonText text;
        QVERIFY(!loadStoredText(library, 1202, text));
        QVERIFY(loadStoredText(library, 1201, text));
    }

    // The lessons every installation relies on, as the build packed them.
    void lesson1201()
    {
        LessonText text;
        QVERIFY(loadStoredText(builtLibrary(), 1201, text));
        QCOMPARE(text.PlusMark, 0);
        QVERIFY(
            text.Instruction->rfind(W("Lekcje polegają na przepisywaniu liter znajdujących się powyżej kursora."), 0)
            == 0);
        QCOMPARE(text.lineCount, 5);
        QVERIFY(text.body.rfind("fff fff fff fff fff fff fff fff ddd ddd ddd ddd ddd ddd ddd ddd fd\r\n", 0) == 0);
        QVERIFY2(text.body.back() != '\n', "1201 has no final line break");
    }

    void lesson1213()
    {
        LessonText text;
        QVERIFY(loadStoredText(builtLibrary(), 1213, text));
        QVERIFY(text.body.size() >= 2 && text.body.substr(text.body.size() - 2) == "\r\n");
        QCOMPARE(text.lineCount, 12); // 11 lines and the empty one after the final break
    }

    void lesson1404()
    {
        LessonText text;
        QVERIFY(loadStoredText(builtLibrary(), 1404, text));
        QCOMPARE(text.PlusMark, 1);
        QVERIFY(text.Instruction->rfind(W("Tę lekcję proszę wykonać jak najszybciej."), 0) == 0);
    }

    void titles_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("title");
        const char *basic[] = {
            "nauka klawiszy: a, s, d, f;",
            "dodatkowo: j, k, l, ;",
            "dodatkowo: e",
            "dodatkowo: i",
            "dodatkowo: z",
            "dodatkowo: o",
            "dodatkowo: c",
            "dodatkowo: u",
            "dodatkowo: r",
            "dodatkowo: g, H",
            "dodatkowo: m, n",
            "dodatkowo: b, v",
            "dodatkowo: u, y",
            "duże litery",
            "dodatkowo: t",
            "dodatkowo: w",
            "dodatkowo: p",
            "znaki interpunkcyjne",
            "dodatkowo: q, x",
            "Dodatkowo: ą ę ć ł ń ó ś ż ź",
            "cyfry",
            "wprawki dla lewego palca wskazującego",
            "wprawki dla prawego palca wskazującego",
            "wprawki dla palców serdecznych",
            "wprawki dla palców środkowych",
            "wprawki dla małych palców",
        };
        for (int i = 0; i < 26; ++i)
            QTest::addRow("%d", 1201 + i) << 1201 + i << QString::fromUtf8(basic[i]);
        const char *keypad[]
            = { "Klawiatura numeryczna I", "Klawiatura numeryczna II", "Klawiatura numeryczna III", "Sumowanie" };
        for (int i = 0; i < 4; ++i)
            QTest::addRow("%d", 1401 + i) << 1401 + i << QString::fromUtf8(keypad[i]);
    }

    void titles()
    {
        QFETCH(int, number);
        QFETCH(QString, title);
        const auto stored = builtLibrary().title(number);
        QVERIFY(stored);
        QCOMPARE(bytes(*stored), bytes(W(title.toUtf8().constData())));
    }

    void noTitleBeyondTheGroups()
    {
        QVERIFY(!builtLibrary().title(1227));
        QVERIFY(!builtLibrary().title(1405));
    }
};

QTEST_APPLESS_MAIN(TestLessonText)
#include "tst_lessontext.moc"
