#include "app/tendinfodlg.h"
#include "widgets/help.h"
#include "widgets/keyguard.h"

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

    // The keys of the lesson's last moment do not answer the box: neither a
    // key pressed at once nor one held down from the lesson. After that Enter
    // presses the default button, "Powtórz" when the verdict advises it.
    void keys_data()
    {
        QTest::addColumn<int>("defaultChoice");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("result");
        const int next = TEndInfoDlg::Next;
        const int repeat = TEndInfoDlg::Repeat;
        QTest::newRow("Enter chooses Tak") << next << int(Qt::Key_Return) << next;
        QTest::newRow("Enter chooses Powtórz when it is the default") << repeat << int(Qt::Key_Return) << repeat;
        QTest::newRow("Esc dismisses") << next << int(Qt::Key_Escape) << int(TEndInfoDlg::Dismissed);
    }

    void keys()
    {
        QFETCH(int, defaultChoice);
        QFETCH(int, key);
        QFETCH(int, result);
        TEndInfoDlg dialog(nullptr, QStringLiteral("x"), TEndInfoDlg::Choice(defaultChoice));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QCOMPARE(dialog.findChild<QPushButton *>(QString::number(defaultChoice))->isDefault(), true);
        QTest::keyClick(&dialog, Qt::Key(key));
        QVERIFY2(dialog.isVisible(), "a key at once was taken");
        QTest::qWait(KeyGuard::kQuietMs + 100);
        QKeyEvent held(QEvent::KeyPress, key, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(dialog.focusWidget(), &held);
        QVERIFY2(dialog.isVisible(), "a key held from the lesson was taken");
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
        QApplication::sendEvent(dialog.focusWidget(), &release);
        QVERIFY(dialog.isVisible());
        QTest::keyClick(&dialog, Qt::Key(key));
        QVERIFY(!dialog.isVisible());
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
