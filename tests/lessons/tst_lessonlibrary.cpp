#include "common/testsupport.h"
#include "lessons/lessonlibrary.h"

class TestLessonLibrary : public QObject
{
    Q_OBJECT

private:
    static LessonLibrary sample()
    {
        LessonLibrary library;
        library.addText(1201, crlf("Instrukcja\nfff ddd\nfds"));
        library.addText(1202, crlf("Druga\njjj"));
        library.addText(1204, crlf("Po przerwie\nkkk"));
        library.addText(5000, W("ala ma kota "));
        library.addTitle(1201, W("nauka klawiszy: a, s, d, f;"));
        library.addTitle(1202, "");
        library.addTitle(1203, std::string(200, 'x'));
        return library;
    }

private slots:
    void lookups()
    {
        const LessonLibrary library = sample();
        QVERIFY(library.text(1201));
        QCOMPARE(bytes(*library.text(1201)), bytes(crlf("Instrukcja\nfff ddd\nfds")));
        QVERIFY(!library.text(1203));
        QVERIFY(!library.text(0));
        QCOMPARE(bytes(*library.title(1201)), bytes(W("nauka klawiszy: a, s, d, f;")));
        QVERIFY2(!library.title(1202), "an empty title counts as missing");
        QCOMPARE(library.title(1203)->size(), std::size_t(149));
        QVERIFY(!library.title(1204));
    }

    void groupEndsAtFirstGap()
    {
        const LessonLibrary library = sample();
        QCOMPARE(library.countGroup(1201), 2);
        QCOMPARE(library.countGroup(1204), 1);
        QCOMPARE(library.countGroup(1301), 0);
    }

    void roundTrip()
    {
        const LessonLibrary library = sample();
        const std::string packed = library.serialize();
        std::string error;
        const auto again = LessonLibrary::parse(packed, &error);
        QVERIFY2(again, error.c_str());
        QCOMPARE(bytes(again->serialize()), bytes(packed));
        QCOMPARE(bytes(*again->text(5000)), bytes(W("ala ma kota ")));
    }

    // A library cut anywhere is refused with a reason, never half-read.
    void truncatedAtEveryOffset()
    {
        const std::string packed = sample().serialize();
        for (std::size_t size = 0; size < packed.size(); ++size) {
            std::string error;
            const auto cut = LessonLibrary::parse(std::string_view(packed).substr(0, size), &error);
            QVERIFY2(!cut, qPrintable(QStringLiteral("accepted a library cut to %1 bytes").arg(size)));
            QVERIFY(!error.empty());
        }
    }

    void damaged_data()
    {
        QTest::addColumn<QByteArray>("file");
        const std::string good = sample().serialize();
        auto patched = [&good](std::size_t at, std::string_view with) {
            std::string copy = good;
            copy.replace(at, with.size(), with);
            return bytes(copy);
        };
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("other file") << QByteArray("GIF89a\x01\x00\x01\x00");
        QTest::newRow("wrong version") << patched(8, std::string("\x02\x00\x00\x00", 4));
        QTest::newRow("absurd count") << patched(12, std::string("\xFF\xFF\xFF\x7F", 4));
        QTest::newRow("entry size past the end") << patched(16 + 5, std::string("\xFF\xFF\xFF\x0F", 4));
        QTest::newRow("unknown kind") << patched(16, std::string("\x07", 1));
        QTest::newRow("trailing bytes") << bytes(good + "junk");
        LessonLibrary twice;
        twice.addText(1, "a\r\nb");
        std::string doubled = twice.serialize();
        doubled[12] = 2; // two entries ...
        doubled += doubled.substr(16); // ... both for text 1
        QTest::newRow("same text twice") << bytes(doubled);
    }

    void damaged()
    {
        QFETCH(QByteArray, file);
        std::string error;
        QVERIFY(!LessonLibrary::parse(std::string_view(file.constData(), file.size()), &error));
        QVERIFY(!error.empty());
    }
};

QTEST_APPLESS_MAIN(TestLessonLibrary)
#include "tst_lessonlibrary.moc"
