#include "common/testsupport.h"
#include "settings/inifile.h"

class TestIniFile : public QObject
{
    Q_OBJECT

private slots:
    void reading_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QByteArray>("section");
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<QByteArray>("expected"); // "<missing>" when the key is not found

        const QByteArray missing("<missing>");
        QTest::newRow("plain") << QByteArray("[Sounds]\nClick=No\n") << QByteArray("Sounds") << QByteArray("Click")
                               << QByteArray("No");
        QTest::newRow("names in another case")
            << QByteArray("[sOUNDS]\ncLICK=No\n") << QByteArray("Sounds") << QByteArray("Click") << QByteArray("No");
        QTest::newRow("value keeps its case")
            << QByteArray("[Sounds]\nClick=yes\n") << QByteArray("Sounds") << QByteArray("Click") << QByteArray("yes");
        QTest::newRow("blanks around everything") << QByteArray("  [ Sounds ]  \r\n\t Click \t=  No \t\r\n")
                                                  << QByteArray("Sounds") << QByteArray("Click") << QByteArray("No");
        QTest::newRow("blanks inside the value kept")
            << QByteArray("[A]\nk= x  y \n") << QByteArray("A") << QByteArray("k") << QByteArray("x  y");
        QTest::newRow("empty value is a value")
            << QByteArray("[A]\nk=\n") << QByteArray("A") << QByteArray("k") << QByteArray("");
        QTest::newRow("second equals sign belongs to the value")
            << QByteArray("[A]\nk=a=b\n") << QByteArray("A") << QByteArray("k") << QByteArray("a=b");
        QTest::newRow("key in another section")
            << QByteArray("[ShowAttr]\nClick=No\n[Sounds]\n") << QByteArray("Sounds") << QByteArray("Click") << missing;
        QTest::newRow("key before any section")
            << QByteArray("Click=No\n[Sounds]\n") << QByteArray("Sounds") << QByteArray("Click") << missing;
        QTest::newRow("commented-out key")
            << QByteArray("[Sounds]\n;Click=No\n") << QByteArray("Sounds") << QByteArray("Click") << missing;
        QTest::newRow("line without equals sign")
            << QByteArray("[Sounds]\nClick\n") << QByteArray("Sounds") << QByteArray("Click") << missing;
        QTest::newRow("first of two keys")
            << QByteArray("[A]\nk=1\nk=2\n") << QByteArray("A") << QByteArray("k") << QByteArray("1");
        QTest::newRow("section repeated later")
            << QByteArray("[A]\nx=1\n[B]\ny=2\n[A]\nk=3\n") << QByteArray("A") << QByteArray("k") << QByteArray("3");
        QTest::newRow("section without closing bracket")
            << QByteArray("[Sounds\nClick=No\n") << QByteArray("Sounds") << QByteArray("Click") << QByteArray("No");
        QTest::newRow("byte order mark before the first section")
            << QByteArray("\xEF\xBB\xBF[Sounds]\nClick=No") << QByteArray("Sounds") << QByteArray("Click")
            << QByteArray("No");
        QTest::newRow("empty file") << QByteArray() << QByteArray("A") << QByteArray("k") << missing;
        QTest::newRow("binary noise") << QByteArray("\x00\xFF[\x01\n=\n\x1A", 8) << QByteArray("A") << QByteArray("k")
                                      << missing;
    }

    void reading()
    {
        QFETCH(QByteArray, file);
        QFETCH(QByteArray, section);
        QFETCH(QByteArray, key);
        QFETCH(QByteArray, expected);
        const IniFile ini(file.toStdString());
        const auto value = ini.value(section.toStdString(), key.toStdString());
        QCOMPARE(value ? bytes(*value) : QByteArray("<missing>"), expected);
    }

    void bufferCutsTheValueAndTheFallback()
    {
        const IniFile ini(std::string("[A]\nk=Yes12\n"));
        QCOMPARE(bytes(ini.getString("A", "k", "No", 5)), QByteArray("Yes1"));
        QCOMPARE(bytes(ini.getString("A", "k", "No", 100)), QByteArray("Yes12"));
        QCOMPARE(bytes(ini.getString("A", "missing", "abcdefgh", 5)), QByteArray("abcd"));
        QCOMPARE(bytes(ini.getString("A", "k", "x", 0)), QByteArray());
    }

    void integers_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("expected");
        QTest::newRow("missing key gives the fallback") << QByteArray("[A]\n") << 77;
        QTest::newRow("missing section gives the fallback") << QByteArray() << 77;
        QTest::newRow("number") << QByteArray("[A]\nk=12\n") << 12;
        QTest::newRow("minus one") << QByteArray("[A]\nk=-1\n") << -1;
        QTest::newRow("leading number only") << QByteArray("[A]\nk=3abc\n") << 3;
        QTest::newRow("text reads as zero") << QByteArray("[A]\nk=abc\n") << 0;
        QTest::newRow("empty value reads as zero") << QByteArray("[A]\nk=\n") << 0;
        QTest::newRow("lone minus reads as zero") << QByteArray("[A]\nk=-\n") << 0;
        QTest::newRow("blanks around the number") << QByteArray("[A]\nk =  42  \n") << 42;
        QTest::newRow("too large saturates") << QByteArray("[A]\nk=99999999999999999999\n") << INT_MAX;
        QTest::newRow("too small saturates") << QByteArray("[A]\nk=-99999999999999999999\n") << INT_MIN;
        QTest::newRow("smallest int") << QByteArray("[A]\nk=-2147483648\n") << INT_MIN;
    }

    void integers()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, expected);
        QCOMPARE(IniFile(file.toStdString()).getInt("A", "k", 77), expected);
    }

    void writing_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");

        QTest::newRow("new file") << QByteArray() << QByteArray("[A]\nk=v\n");
        QTest::newRow("new section after other lines")
            << QByteArray("; mine\n[B]\nx=1\n") << QByteArray("; mine\n[B]\nx=1\n\n[A]\nk=v\n");
        QTest::newRow("new section after a last line without line end")
            << QByteArray("[B]\nx=1") << QByteArray("[B]\nx=1\n\n[A]\nk=v\n");
        QTest::newRow("new key goes to the end of its section")
            << QByteArray("[A]\nx=1\n\n[B]\ny=2\n") << QByteArray("[A]\nx=1\nk=v\n\n[B]\ny=2\n");
        QTest::newRow("new key in an empty section at the end of the file")
            << QByteArray("[A]") << QByteArray("[A]\nk=v\n");
        QTest::newRow("existing key replaced, the rest untouched")
            << QByteArray(";c\n[a]\n  K = old ; x\nz=1\n") << QByteArray(";c\n[a]\nk=v\nz=1\n");
        QTest::newRow("unchanged value keeps the line as written")
            << QByteArray("[A]\n  k =  v  \n") << QByteArray("[A]\n  k =  v  \n");
        QTest::newRow("CR LF file gets CR LF lines")
            << QByteArray("[B]\r\nx=1\r\n") << QByteArray("[B]\r\nx=1\r\n\r\n[A]\r\nk=v\r\n");
        QTest::newRow("byte order mark kept")
            << QByteArray("\xEF\xBB\xBF[A]\nk=old\n") << QByteArray("\xEF\xBB\xBF[A]\nk=v\n");
        QTest::newRow("only the first of two keys changes")
            << QByteArray("[A]\nk=1\nk=2\n") << QByteArray("[A]\nk=v\nk=2\n");
    }

    void writing()
    {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        IniFile ini(before.toStdString());
        QVERIFY(ini.writeString("A", "k", "v"));
        QCOMPARE(bytes(ini.text()), after);
        QCOMPARE(bytes(*ini.value("A", "k")), QByteArray("v"));
    }

    void untouchedFileComesBackByteForByte()
    {
        const std::string text = "\xEF\xBB\xBF; comment\r\n[A]\nk = 1 \r\n\r\nstray line\n[B]";
        QCOMPARE(bytes(IniFile(text).text()), bytes(text));
    }

    void refusedWrites_data()
    {
        QTest::addColumn<QByteArray>("section");
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<QByteArray>("value");
        QTest::newRow("empty section") << QByteArray("") << QByteArray("k") << QByteArray("v");
        QTest::newRow("empty key") << QByteArray("A") << QByteArray(" ") << QByteArray("v");
        QTest::newRow("line break in the value") << QByteArray("A") << QByteArray("k") << QByteArray("a\nb");
        QTest::newRow("equals sign in the key") << QByteArray("A") << QByteArray("k=x") << QByteArray("v");
        QTest::newRow("bracket in the section") << QByteArray("A]") << QByteArray("k") << QByteArray("v");
        QTest::newRow("key that reads as a comment") << QByteArray("A") << QByteArray(";k") << QByteArray("v");
    }

    void refusedWrites()
    {
        QFETCH(QByteArray, section);
        QFETCH(QByteArray, key);
        QFETCH(QByteArray, value);
        IniFile ini(std::string("[A]\nx=1\n"));
        QVERIFY(!ini.writeString(section.toStdString(), key.toStdString(), value.toStdString()));
        QCOMPARE(bytes(ini.text()), QByteArray("[A]\nx=1\n"));
    }
};

QTEST_APPLESS_MAIN(TestIniFile)
#include "tst_inifile.moc"
