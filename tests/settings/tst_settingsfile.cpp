#include "common/testsupport.h"
#include "settings/settingsfile.h"

#include <QTemporaryDir>

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

    void saveIntoAFolderThatCannotBeMadeFails()
    {
        QVERIFY(writeAll(m_dir.filePath(QStringLiteral("plik")), "x"));
        QVERIFY(!SettingsFile::save(m_dir.filePath(QStringLiteral("plik/pisarz.ini")), TOptions()));
    }
};

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "tst_settingsfile.moc"
