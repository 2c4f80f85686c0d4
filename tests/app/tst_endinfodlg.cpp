#include "app/tendinfodlg.h"
#include "widgets/help.h"

#include <QLabel>
#include <QPushButton>
#include <QtTest>

class TestEndInfoDlg : public QObject
{
    Q_OBJECT

private slots:
    void buttons_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("result");
        QTest::newRow("Tak") << "6" << 6;
        QTest::newRow("Nie") << "7" << 7;
        QTest::newRow("Powtórz") << "101" << 101;
    }

    void buttons()
    {
        QFETCH(QString, button);
        QFETCH(int, result);
        TEndInfoDlg dialog(nullptr, QStringLiteral("Szybkość"));
        dialog.show();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Koniec lekcji"));
        QCOMPARE(dialog.findChild<QLabel *>(QStringLiteral("100"))->text(), QStringLiteral("Szybkość"));
        QTest::mouseClick(dialog.findChild<QPushButton *>(button), Qt::LeftButton);
        QCOMPARE(dialog.result(), result);
        QVERIFY(!dialog.isVisible());
    }

    void keys_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("result");
        QTest::newRow("Enter chooses Tak") << int(Qt::Key_Return) << 6;
        QTest::newRow("Esc dismisses") << int(Qt::Key_Escape) << int(TEndInfoDlg::Dismissed);
    }

    void keys()
    {
        QFETCH(int, key);
        QFETCH(int, result);
        TEndInfoDlg dialog(nullptr, QStringLiteral("x"));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QTest::keyClick(&dialog, Qt::Key(key));
        QCOMPARE(dialog.result(), result);
    }

    void helpLeavesItOpen()
    {
        QList<int> asked;
        Help::setHandler([&asked](QWidget *, int context) { asked << context; });
        TEndInfoDlg dialog(nullptr, QStringLiteral("x"));
        dialog.show();
        QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("998")), Qt::LeftButton);
        Help::setHandler({});
        QCOMPARE(asked, QList<int> { 565 });
        QVERIFY(dialog.isVisible());
    }
};

QTEST_MAIN(TestEndInfoDlg)
#include "tst_endinfodlg.moc"
