#include "common/testsupport.h"
#include "settings/inifile.h"
#include "settings/labsettings.h"
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
            << QByteArray("[Nauczyciel]\nMinimalnaPoprawnosc=101\n")
            << QByteArray("[Nauczyciel]\nMinimalnaPoprawnosc=95\n") << QString() << 0 << QByteArray();
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

    void exam_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QList<int>>("expected"); // text, seconds, speed, accuracy, errorType
        QTest::newRow("nothing set") << QByteArray() << QList<int> { 0, 300, 120, 95, 1 };
        QTest::newRow("all set") << QByteArray(
            "[Sprawdzian]\nTekst=1305\nCzas=10\nSzybkosc=150\nPoprawnosc=97\nBledy=0\n")
                                 << QList<int> { 1305, 600, 150, 97, 0 };
        QTest::newRow("a time other than 3, 5 or 10 is 5")
            << QByteArray("[Sprawdzian]\nCzas=7\n") << QList<int> { 0, 300, 120, 95, 1 };
        QTest::newRow("values out of range or in words keep the defaults") << QByteArray(
            "[Sprawdzian]\nCzas=3\nSzybkosc=0\nPoprawnosc=dużo\nBledy=2\n") << QList<int> { 0, 180, 120, 95, 1 };
    }

    void exam()
    {
        QFETCH(QByteArray, file);
        QFETCH(QList<int>, expected);
        const IniFile ini(file.toStdString());
        const ExamRules exam = loadTeacherRules({ &ini }).exam;
        QCOMPARE((QList<int> { exam.text, exam.seconds, exam.speed, exam.accuracy, exam.errorType }), expected);
        // Passed as the figures are shown, to one decimal.
        QVERIFY(examPassed(exam.speed - 0.04, exam.accuracy, exam));
        QVERIFY(!examPassed(exam.speed - 0.06, exam.accuracy, exam));
        QVERIFY(!examPassed(exam.speed, exam.accuracy - 0.06, exam));
    }

    // Class mode comes from the first file that names a server, the
    // teacher's before the user's, with that file's class.
    void classMode_data()
    {
        QTest::addColumn<QString>("teacher");
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("server");
        QTest::addColumn<QString>("className");
        QTest::newRow("none") << ""
                              << "[Stukomat]\nClick=1\n"
                              << ""
                              << "";
        QTest::newRow("the user's") << ""
                                    << "[pracownia]\nserwer = host=s dbname=p\nKlasa=3b\n"
                                    << "host=s dbname=p"
                                    << "3b";
        QTest::newRow("the teacher's wins") << "[Pracownia]\nSerwer=host=t\nKlasa=4a\n"
                                            << "[Pracownia]\nSerwer=host=u\nKlasa=1c\n"
                                            << "host=t"
                                            << "4a";
        QTest::newRow("a class alone is no server") << "[Pracownia]\nKlasa=4a\n"
                                                    << "[Pracownia]\nSerwer=host=u\n"
                                                    << "host=u"
                                                    << "";
    }

    void classMode()
    {
        QFETCH(QString, teacher);
        QFETCH(QString, user);
        QFETCH(QString, server);
        QFETCH(QString, className);
        const IniFile teacherFile(teacher.toStdString());
        const IniFile userFile(user.toStdString());
        const LabSettings lab = loadLabSettings({ &teacherFile, &userFile });
        QCOMPARE(QString::fromStdString(lab.server), server);
        QCOMPARE(QString::fromStdString(lab.className), className);
        QCOMPARE(lab.classMode(), !server.isEmpty());
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
