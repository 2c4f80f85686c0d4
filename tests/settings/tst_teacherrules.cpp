#include "common/testsupport.h"
#include "settings/inifile.h"
#include "settings/passwordhash.h"
#include "settings/teacherrules.h"

class TestTeacherRules : public QObject
{
    Q_OBJECT

private slots:
    void reading_data()
    {
        QTest::addColumn<QByteArray>("first");
        QTest::addColumn<QByteArray>("second");
        QTest::addColumn<QString>("locked");
        QTest::addColumn<int>("minimal"); // 0: none
        QTest::addColumn<QByteArray>("hash");
        QTest::newRow("none") << QByteArray("[Sounds]\nClick=No\n") << QByteArray() << QString() << 0 << QByteArray();
        QTest::newRow("the keys as written, the unknown and repeated left out")
            << QByteArray("[nauczyciel]\nzablokowane=click, SKALA,,Click,StudentNo,x\nMinimalnaPoprawnosc=95\n")
            << QByteArray() << QStringLiteral("Click Skala") << 95 << QByteArray();
        QTest::newRow("each key from the first file that has it")
            << QByteArray("[Nauczyciel]\nMinimalnaPoprawnosc=90\n")
            << QByteArray("[Nauczyciel]\nZablokowane=Type\nMinimalnaPoprawnosc=99\nHaslo=$argon2id$v=19$x\n")
            << QStringLiteral("Type") << 90 << QByteArray("$argon2id$v=19$x");
        QTest::newRow("an accuracy out of range or not a number is none")
            << QByteArray("[Nauczyciel]\nMinimalnaPoprawnosc=101\n") << QByteArray("[Nauczyciel]\nMinimalnaPoprawnosc=95\n")
            << QString() << 0 << QByteArray();
        QTest::newRow("an accuracy in words is none")
            << QByteArray("[Nauczyciel]\nMinimalnaPoprawnosc=dużo\n") << QByteArray() << QString() << 0 << QByteArray();
    }

    void reading()
    {
        QFETCH(QByteArray, first);
        QFETCH(QByteArray, second);
        QFETCH(QString, locked);
        QFETCH(int, minimal);
        QFETCH(QByteArray, hash);
        const IniFile a(first.toStdString());
        const IniFile b(second.toStdString());
        const TeacherRules rules = loadTeacherRules({ &a, &b });
        QStringList names;
        for (const std::string &key : rules.locked)
            names << QString::fromStdString(key);
        QCOMPARE(names.join(QLatin1Char(' ')), locked);
        QCOMPARE(rules.minimalAccuracy.value_or(0), minimal);
        QCOMPARE(bytes(rules.passwordHash), hash);
    }

    void minimalAccuracy_data()
    {
        QTest::addColumn<double>("accuracy");
        QTest::addColumn<bool>("passes");
        QTest::newRow("shown as 95,0") << 94.96 << true;
        QTest::newRow("shown as 94,9") << 94.94 << false;
        QTest::newRow("well above") << 100.0 << true;
    }

    void minimalAccuracy()
    {
        QFETCH(double, accuracy);
        QFETCH(bool, passes);
        TeacherRules rules;
        QVERIFY(meetsMinimalAccuracy(accuracy, rules));
        rules.minimalAccuracy = 95;
        QCOMPARE(meetsMinimalAccuracy(accuracy, rules), passes);
    }

    void passwordHash()
    {
        const std::string hash = PasswordHash::make("Żółw 3b");
        QVERIFY(hash.rfind("$argon2id$", 0) == 0);
        QVERIFY(hash.find("Żółw") == std::string::npos);
        QVERIFY(PasswordHash::make("Żółw 3b") != hash); // salted
        QVERIFY(PasswordHash::check(hash, "Żółw 3b"));
        QVERIFY(!PasswordHash::check(hash, "żółw 3b"));
        QVERIFY(!PasswordHash::check(hash, ""));
        QVERIFY(!PasswordHash::check(hash.substr(0, hash.size() - 4), "Żółw 3b"));
        QVERIFY(!PasswordHash::check("", ""));
    }
};

QTEST_APPLESS_MAIN(TestTeacherRules)
#include "tst_teacherrules.moc"
