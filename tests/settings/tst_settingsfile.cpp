#include "common/testsupport.h"
#include "settings/settingsfile.h"

#include <QTemporaryDir>

namespace {

QString described(const TOptions &o)
{
    const auto yn = [](bool b) { return b ? QStringLiteral("Yes") : QStringLiteral("No"); };
    return QStringLiteral("ShowAfaterStart=%1 ErrorType=%2 StudentNo=%3 ShowKeyb=%4 ShowNext=%5 ShowHands=%6 "
                          "Click=%7 Type=%8 Skala=%9 PelnyEkran=%10")
        .arg(yn(o.ShowAfaterStart))
        .arg(o.ErrorType)
        .arg(o.StudentNo)
        .arg(yn(o.ShowKeyb), yn(o.ShowNext), yn(o.ShowHands), yn(o.Click))
        .arg(o.Type)
        .arg(o.Zoom)
        .arg(o.FullScreen ? yn(*o.FullScreen) : QStringLiteral("-"));
}

} // namespace

class TestSettingsFile : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_path;

private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        m_path = m_dir.filePath(QStringLiteral("pisarz.ini"));
        QFile::remove(m_path);
    }

    void missingFileGivesDefaultsAndIsCreatedOnSave()
    {
        TOptions options = SettingsFile::load(m_path);
        QCOMPARE(options.StudentNo, -1);
        QVERIFY(options.ShowAfaterStart && options.Click && options.ShowKeyb && options.ShowNext && options.ShowHands);
        QVERIFY(SettingsFile::save(m_path, options));
        QCOMPARE(readAll(m_path),
            QByteArray("[Stukomat]\nShowAfaterStart=Yes\nErrorType=0\n\n[Students]\nStudentNo=-1\n\n"
                       "[ShowAttr]\nShowKeyb=Yes\nShowNext=Yes\nShowHands=Yes\n\n"
                       "[Sounds]\nClick=Yes\nType=0\n"));
    }

    void saveKeepsWhatElseIsInTheFile()
    {
        QVERIFY(writeAll(m_path, "; pracownia 3\r\n[Sounds]\r\nClick=No\r\nVolume=7\r\n[Extra]\r\nA=B\r\n"));
        TOptions options = SettingsFile::load(m_path);
        QVERIFY(!options.Click);
        options.Click = true;
        options.ErrorType = 1;
        QVERIFY(SettingsFile::save(m_path, options));
        const QByteArray saved = readAll(m_path);
        QVERIFY2(saved.startsWith("; pracownia 3\r\n[Sounds]\r\nClick=Yes\r\nVolume=7\r\nType=0\r\n[Extra]\r\nA=B\r\n"),
            saved.constData());
        const TOptions again = SettingsFile::load(m_path);
        QVERIFY(again.Click);
        QCOMPARE(again.ErrorType, 1);
        QCOMPARE(SettingsFile::save(m_path, again), true);
        QCOMPARE(readAll(m_path), saved);
    }

    // A file we cannot read must not be replaced by one that lost its other lines.
    void unusableFileIsLeftAlone_data()
    {
        QTest::addColumn<bool>("directory");
        QTest::newRow("a folder where the file should be") << true;
        QTest::newRow("a file of several megabytes") << false;
    }

    void unusableFileIsLeftAlone()
    {
        QFETCH(bool, directory);
        QByteArray big;
        if (directory) {
            QVERIFY(QDir().mkpath(m_path));
        } else {
            big = QByteArray("[Sounds]\nClick=No\n") + QByteArray(3 * 1024 * 1024, 'x');
            QVERIFY(writeAll(m_path, big));
        }
        TOptions options = SettingsFile::load(m_path);
        QVERIFY2(options.Click, "nothing is read from a file we refuse");
        QVERIFY(!SettingsFile::save(m_path, options));
        if (directory) {
            QVERIFY(QFileInfo(m_path).isDir());
            QDir(m_path).removeRecursively();
        } else {
            QCOMPARE(readAll(m_path), big);
        }
    }

    // A teacher's files under the system's configuration folders fill in what
    // the user's own file lacks. A null file is not there.
    // A key the teacher locks is the teacher's at every start; the user's own
    // value stays in the user's file and comes back with the lock lifted.
    void lockedKeys_data()
    {
        QTest::addColumn<QByteArray>("teacher");
        QTest::addColumn<int>("errorType");
        QTest::addColumn<bool>("click");
        QTest::newRow("locked, in any case and with an unknown name")
            << QByteArray("[Stukomat]\nErrorType=1\n[Sounds]\nClick=No\n[Nauczyciel]\nZablokowane= errortype ,Nic\n")
            << 1 << false;
        QTest::newRow("two locked") << QByteArray(
            "[Stukomat]\nErrorType=1\n[Sounds]\nClick=No\n[Nauczyciel]\nZablokowane=ErrorType,Click\n")
                                    << 1 << false;
        QTest::newRow("locked without the teacher's value: the built-in one")
            << QByteArray("[Nauczyciel]\nZablokowane=Click\n") << 0 << true;
        QTest::newRow("no lock: the user's values") << QByteArray("[Stukomat]\nErrorType=1\n") << 0 << false;
    }

    void lockedKeys()
    {
        QFETCH(QByteArray, teacher);
        QFETCH(int, errorType);
        QFETCH(bool, click);
        const QString system = m_dir.filePath(QStringLiteral("etc/palcomir/pisarz.ini"));
        QVERIFY(QDir().mkpath(QFileInfo(system).absolutePath()));
        QVERIFY(writeAll(system, teacher));
        const QByteArray own = "[Stukomat]\nErrorType=0\n\n[Sounds]\nClick=No\n";
        QVERIFY(writeAll(m_path, own));

        TeacherRules rules;
        TOptions options = SettingsFile::load(m_path, { system }, &rules);
        QCOMPARE(options.ErrorType, errorType);
        QCOMPARE(options.Click, click);
        QVERIFY(SettingsFile::save(m_path, options, rules));
        QVERIFY(readAll(m_path).startsWith(own.left(own.indexOf("\n\n"))));
        QVERIFY(readAll(m_path).contains("Click=No"));
        QVERIFY(!readAll(m_path).contains("Nauczyciel"));

        QVERIFY(QFile::remove(system));
        options = SettingsFile::load(m_path, { system }, &rules);
        QCOMPARE(options.ErrorType, 0);
        QCOMPARE(options.Click, false);
        QVERIFY(rules.locked.empty());
    }

    void teacherDefaults_data()
    {
        QTest::addColumn<QByteArray>("user");
        QTest::addColumn<QByteArray>("first");
        QTest::addColumn<QByteArray>("second");
        QTest::addColumn<QString>("expected");
        const QString builtIn = described(TOptions());
        QTest::newRow("no file anywhere") << QByteArray() << QByteArray() << QByteArray() << builtIn;
        QTest::newRow("a new user gets the teacher's values")
            << QByteArray() << QByteArray("[Sounds]\r\nClick=No\r\n[Stukomat]\r\nErrorType=1\r\n") << QByteArray()
            << described(TOptions { true, false, true, true, true, -1, 0, 1, 0, {} });
        QTest::newRow("the user's key wins, the lacking ones come from the teacher")
            << QByteArray("[Sounds]\nClick=Yes\nType=1\n")
            << QByteArray("[Sounds]\nClick=No\n[ShowAttr]\nShowKeyb=No\n") << QByteArray()
            << described(TOptions { true, true, false, true, true, -1, 1, 0, 0, {} });
        QTest::newRow("the first system folder wins over the second")
            << QByteArray() << QByteArray("[Sounds]\nClick=No\n") << QByteArray("[Sounds]\nClick=Yes\nType=1\n")
            << described(TOptions { true, false, true, true, true, -1, 1, 0, 0, {} });
        QTest::newRow("the user's unreadable Yes/No falls back on the teacher's")
            << QByteArray("[Sounds]\nClick=Tak\n") << QByteArray("[Sounds]\nClick=No\n") << QByteArray()
            << described(TOptions { true, false, true, true, true, -1, 0, 0, 0, {} });
        QTest::newRow("the teacher's unreadable value leaves the built-in one")
            << QByteArray() << QByteArray("[Sounds]\nClick=Nie\nType=7\n") << QByteArray() << builtIn;
        QTest::newRow("the teacher's names in any case")
            << QByteArray() << QByteArray("[SHOWATTR]\nSHOWNEXT=No\n") << QByteArray()
            << described(TOptions { true, true, true, false, true, -1, 0, 0, 0, {} });
        QTest::newRow("the view: the teacher's full screen, the user's zoom, odd numbers as no choice")
            << QByteArray("[Widok]\nSkala=130\n") << QByteArray("[Widok]\nSkala=abc\nPelnyEkran=Yes\n")
            << QByteArray("[Widok]\nSkala=300\n")
            << described(TOptions { true, true, true, true, true, -1, 0, 0, 125, true });
        QTest::newRow("a teacher's folder in place of the file")
            << QByteArray() << QByteArray("/") << QByteArray("[Sounds]\nClick=No\n")
            << described(TOptions { true, false, true, true, true, -1, 0, 0, 0, {} });
    }

    void teacherDefaults()
    {
        QFETCH(QByteArray, user);
        QFETCH(QByteArray, first);
        QFETCH(QByteArray, second);
        QFETCH(QString, expected);
        QStringList system;
        for (const QByteArray &contents : { first, second }) {
            const QString file = m_dir.filePath(QStringLiteral("etc%1/palcomir/pisarz.ini").arg(system.size()));
            system << file;
            QDir().mkpath(QFileInfo(file).absolutePath());
            if (contents == "/")
                QVERIFY(QDir().mkpath(file));
            else if (!contents.isNull())
                QVERIFY(writeAll(file, contents));
        }
        if (!user.isNull())
            QVERIFY(writeAll(m_path, user));

        const TOptions options = SettingsFile::load(m_path, system);
        QCOMPARE(described(options), expected);

        // The user's file is written as without a teacher's file; the teacher's are never touched.
        QVERIFY(SettingsFile::save(m_path, options));
        const QString alone = m_dir.filePath(QStringLiteral("alone.ini"));
        QFile::remove(alone);
        if (!user.isNull())
            QVERIFY(writeAll(alone, user));
        QVERIFY(SettingsFile::save(alone, options));
        QCOMPARE(readAll(m_path), readAll(alone));
        for (int i = 0; i < 2; ++i) {
            const QByteArray contents = i == 0 ? first : second;
            if (contents == "/") {
                QVERIFY(QFileInfo(system[i]).isDir());
                QDir(system[i]).removeRecursively();
                continue;
            }
            QCOMPARE(QFile::exists(system[i]), !contents.isNull());
            if (!contents.isNull())
                QCOMPARE(readAll(system[i]), contents);
            QFile::remove(system[i]);
        }
    }

    void saveIntoAFolderThatCannotBeMadeFails()
    {
        QVERIFY(writeAll(m_dir.filePath(QStringLiteral("plik")), "x"));
        QVERIFY(!SettingsFile::save(m_dir.filePath(QStringLiteral("plik/pisarz.ini")), TOptions()));
    }
};

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "tst_settingsfile.moc"
