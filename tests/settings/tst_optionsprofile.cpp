#include "common/testsupport.h"
#include "settings/inifile.h"
#include "settings/optionsprofile.h"

namespace {

// The fields in one line, so a row can say what it expects.
QString describe(const TOptions &o)
{
    auto yn = [](bool b) { return b ? QStringLiteral("Y") : QStringLiteral("N"); };
    return QStringLiteral("start=%1 click=%2 keyb=%3 next=%4 hands=%5 student=%6 type=%7 error=%8")
        .arg(yn(o.ShowAfaterStart), yn(o.Click), yn(o.ShowKeyb), yn(o.ShowNext), yn(o.ShowHands))
        .arg(o.StudentNo)
        .arg(o.Type)
        .arg(o.ErrorType);
}

const QString kDefaults = QStringLiteral("start=Y click=Y keyb=Y next=Y hands=Y student=-1 type=0 error=0");

struct Write {
    std::string section, key, value;
};

} // namespace

class TestOptionsProfile : public QObject
{
    Q_OBJECT

private slots:
    void loading_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("expected");

        QTest::newRow("empty file gives the defaults") << QByteArray() << kDefaults;
        QTest::newRow("only other sections") << QByteArray("[Other]\nClick=No\n") << kDefaults;
        QTest::newRow("every key set") << QByteArray(
            "[Stukomat]\nShowAfaterStart=No\nErrorType=1\n[Students]\nStudentNo=4\n"
            "[ShowAttr]\nShowKeyb=No\nShowNext=No\nShowHands=No\n[Sounds]\nClick=No\nType=1\n")
                                       << QStringLiteral(
                                              "start=N click=N keyb=N next=N hands=N student=4 type=1 error=1");
        QTest::newRow("lower-case yes gives the default") << QByteArray("[ShowAttr]\nShowKeyb=yes\n") << kDefaults;
        QTest::newRow("No gives false") << QByteArray("[ShowAttr]\nShowKeyb=No\n")
                                        << QStringLiteral(
                                               "start=Y click=Y keyb=N next=Y hands=Y student=-1 type=0 error=0");
        QTest::newRow("lower-case no gives the default") << QByteArray("[ShowAttr]\nShowKeyb=no\n") << kDefaults;
        QTest::newRow("only four characters count: Yes1 is no answer")
            << QByteArray("[Sounds]\nClick=No\n[ShowAttr]\nShowNext=Yes1\n")
            << QStringLiteral("start=Y click=N keyb=Y next=Y hands=Y student=-1 type=0 error=0");
        QTest::newRow("only four characters count: Noxx is no answer")
            << QByteArray("[ShowAttr]\nShowHands=Noxx\n") << kDefaults;
        QTest::newRow("five characters are cut to four, not to Yes")
            << QByteArray("[ShowAttr]\nShowHands=Nonsense\n") << kDefaults;
        QTest::newRow("blanks around Yes and No do not count")
            << QByteArray("[Stukomat]\nShowAfaterStart =  No  \n")
            << QStringLiteral("start=N click=Y keyb=Y next=Y hands=Y student=-1 type=0 error=0");
        QTest::newRow("key names in another case")
            << QByteArray("[SOUNDS]\nclick=No\ntype=1\n")
            << QStringLiteral("start=Y click=N keyb=Y next=Y hands=Y student=-1 type=1 error=0");
        QTest::newRow("Type 7 and ErrorType -3 load as 0")
            << QByteArray("[Stukomat]\nErrorType=-3\n[Sounds]\nType=7\n") << kDefaults;
        QTest::newRow("Type 2 and ErrorType 2 load as 0")
            << QByteArray("[Stukomat]\nErrorType=2\n[Sounds]\nType=2\n") << kDefaults;
        QTest::newRow("Type written as text loads as 0") << QByteArray("[Sounds]\nType=Elektroniczna\n") << kDefaults;
        QTest::newRow("Type with trailing text")
            << QByteArray("[Sounds]\nType=1 (electronic)\n")
            << QStringLiteral("start=Y click=Y keyb=Y next=Y hands=Y student=-1 type=1 error=0");
        QTest::newRow("StudentNo -1") << QByteArray("[Students]\nStudentNo=-1\n") << kDefaults;
        QTest::newRow("StudentNo below -1 is taken as -1") << QByteArray("[Students]\nStudentNo=-5\n") << kDefaults;
        QTest::newRow("StudentNo far below -1 is taken as -1")
            << QByteArray("[Students]\nStudentNo=-99999999999\n") << kDefaults;
        QTest::newRow("StudentNo past any list is kept for the main window to check")
            << QByteArray("[Students]\nStudentNo=1000\n")
            << QStringLiteral("start=Y click=Y keyb=Y next=Y hands=Y student=1000 type=0 error=0");
        QTest::newRow("StudentNo as text reads 0")
            << QByteArray("[Students]\nStudentNo=abc\n")
            << QStringLiteral("start=Y click=Y keyb=Y next=Y hands=Y student=0 type=0 error=0");
    }

    void loading()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, expected);
        QCOMPARE(describe(loadOptions(IniFile(file.toStdString()))), expected);
    }

    void savingWritesEveryKeyInOrder()
    {
        TOptions options;
        options.ShowAfaterStart = false;
        options.ShowHands = false;
        options.StudentNo = -1;
        options.Type = 1;
        std::vector<Write> writes;
        QVERIFY(saveOptions(options, [&writes](std::string_view s, std::string_view k, std::string_view v) {
            writes.push_back({ std::string(s), std::string(k), std::string(v) });
            return true;
        }));
        QStringList seen;
        for (const Write &w : writes)
            seen << QString::fromStdString(w.section + "/" + w.key + "=" + w.value);
        QCOMPARE(seen,
            QStringList({ "Stukomat/ShowAfaterStart=No", "Stukomat/ErrorType=0", "Students/StudentNo=-1",
                "ShowAttr/ShowKeyb=Yes", "ShowAttr/ShowNext=Yes", "ShowAttr/ShowHands=No", "Sounds/Click=Yes",
                "Sounds/Type=1" }));
    }

    // A teacher's file decides the view until the learner chooses one.
    void viewKeysOnlyOnceChosen_data()
    {
        QTest::addColumn<int>("zoom");
        QTest::addColumn<int>("fullScreen"); // -1 not chosen
        QTest::addColumn<QByteArray>("written");
        QTest::newRow("nothing chosen") << 0 << -1 << QByteArray();
        QTest::newRow("a zoom") << 175 << -1 << QByteArray("[Widok]\nSkala=175\n");
        QTest::newRow("a window chosen") << 0 << 0 << QByteArray("[Widok]\nPelnyEkran=No\n");
        QTest::newRow("both") << 125 << 1 << QByteArray("[Widok]\nSkala=125\nPelnyEkran=Yes\n");
    }

    void viewKeysOnlyOnceChosen()
    {
        QFETCH(int, zoom);
        QFETCH(int, fullScreen);
        QFETCH(QByteArray, written);
        TOptions options;
        options.Zoom = zoom;
        if (fullScreen >= 0)
            options.FullScreen = fullScreen == 1;
        IniFile file("");
        QVERIFY(saveOptions(options, file));
        const QByteArray text = bytes(file.text());
        const qsizetype view = text.indexOf("[Widok]");
        QCOMPARE(view < 0 ? QByteArray() : text.mid(view), written);
        const TOptions loaded = loadOptions(IniFile(file.text()));
        QCOMPARE(loaded.Zoom, zoom);
        QCOMPARE(loaded.FullScreen.has_value(), fullScreen >= 0);
    }

    void firstFailedWriteStopsTheRest_data()
    {
        QTest::addColumn<int>("failing");
        for (int i = 0; i < 8; ++i)
            QTest::addRow("write %d fails", i + 1) << i;
    }

    void firstFailedWriteStopsTheRest()
    {
        QFETCH(int, failing);
        int attempts = 0;
        const bool saved = saveOptions(
            TOptions(), [&](std::string_view, std::string_view, std::string_view) { return attempts++ != failing; });
        QVERIFY(!saved);
        QCOMPARE(attempts, failing + 1);
    }

    void otherSectionsAndCommentsSurviveASave()
    {
        const std::string before = "; ustawienia pracowni\r\n[Stukomat]\r\nShowAfaterStart=Yes\r\nMotto=abc\r\n\r\n"
                                   "[Drukarka]\r\nPort=LPT1\r\n";
        IniFile file(before);
        TOptions options;
        options.ShowAfaterStart = false;
        options.StudentNo = 2;
        QVERIFY(saveOptions(options, file));
        const std::string after = file.text();
        QCOMPARE(bytes(after),
            QByteArray("; ustawienia pracowni\r\n[Stukomat]\r\nShowAfaterStart=No\r\nMotto=abc\r\n"
                       "ErrorType=0\r\n\r\n[Drukarka]\r\nPort=LPT1\r\n\r\n[Students]\r\n"
                       "StudentNo=2\r\n\r\n[ShowAttr]\r\nShowKeyb=Yes\r\nShowNext=Yes\r\n"
                       "ShowHands=Yes\r\n\r\n[Sounds]\r\nClick=Yes\r\nType=0\r\n"));
    }

    void roundTrip_data()
    {
        QTest::addColumn<int>("seed");
        for (int seed = 0; seed < 16; ++seed)
            QTest::addRow("combination %d", seed) << seed;
    }

    // Every boolean both ways and both values of the small numbers come back.
    void roundTrip()
    {
        QFETCH(int, seed);
        TOptions options;
        options.ShowAfaterStart = seed & 1;
        options.Click = seed & 2;
        options.ShowKeyb = seed & 4;
        options.ShowNext = seed & 8;
        options.ShowHands = !(seed & 1);
        options.StudentNo = seed - 1;
        options.Type = (seed >> 1) & 1;
        options.ErrorType = (seed >> 2) & 1;
        IniFile file(std::string("[Other]\nx=1\n"));
        QVERIFY(saveOptions(options, file));
        QCOMPARE(describe(loadOptions(IniFile(file.text()))), describe(options));
        QCOMPARE(bytes(*IniFile(file.text()).value("Other", "x")), QByteArray("1"));
    }
};

QTEST_APPLESS_MAIN(TestOptionsProfile)
#include "tst_optionsprofile.moc"
