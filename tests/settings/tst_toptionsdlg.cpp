#include "common/dialogtesting.h"
#include "common/testsupport.h"
#include "settings/toptions.h"
#include "settings/toptionsdlg.h"
#include "widgets/help.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

class TestOptionsDlg : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { Help::setHandler({}); }

    void captions()
    {
        TOptions options;
        TOptionsDlg dialog(nullptr, options);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Opcje"));
        const QList<std::pair<const char *, QString>> expected = {
            { "101", QStringLiteral("Stukanie klawiszy") },
            { "105", QStringLiteral("Stara maszyna do pisania") },
            { "106", QStringLiteral("Elektroniczna") },
            { "102", QStringLiteral("Pokaż klawiaturę") },
            { "103", QStringLiteral("Zaznacz następny klawisz") },
            { "108", QStringLiteral("Czekaj na naciśnięcie poprawnego klawisza") },
            { "109", QStringLiteral("Nie wymagaj poprawy błędów") },
            { "111", QStringLiteral("Pełny ekran (F11)") },
            { "1", QStringLiteral("OK") },
            { "2", QStringLiteral("&Anuluj") },
            { "998", QStringLiteral("&Pomoc") },
        };
        for (const auto &[id, text] : expected)
            QCOMPARE(control(dialog, id)->text(), text);
        QVERIFY(control<QPushButton>(dialog, "1")->isDefault());
        QStringList groups;
        for (const QGroupBox *box : dialog.findChildren<QGroupBox *>())
            groups << box->title();
        QCOMPARE(
            groups, QStringList({ QStringLiteral("Dźwięk"), QStringLiteral("Klawiatura"), QStringLiteral("Błędy"),
                        QStringLiteral("Widok") }));
    }

    void opensWithTheRecord_data()
    {
        QTest::addColumn<bool>("click");
        QTest::addColumn<int>("type");
        QTest::addColumn<bool>("showKeyb");
        QTest::addColumn<bool>("showNext");
        QTest::addColumn<int>("errorType");
        QTest::newRow("defaults") << true << 0 << true << true << 0;
        QTest::newRow("all off, the other buttons") << false << 1 << false << false << 1;
        QTest::newRow("keyboard off, next key on") << true << 1 << false << true << 0;
    }

    void opensWithTheRecord()
    {
        QFETCH(bool, click);
        QFETCH(int, type);
        QFETCH(bool, showKeyb);
        QFETCH(bool, showNext);
        QFETCH(int, errorType);
        TOptions options;
        options.Click = click;
        options.Type = type;
        options.ShowKeyb = showKeyb;
        options.ShowNext = showNext;
        options.ErrorType = errorType;
        TOptionsDlg dialog(nullptr, options);
        QCOMPARE(control(dialog, "101")->isChecked(), click);
        QCOMPARE(control(dialog, "105")->isChecked(), type == 0);
        QCOMPARE(control(dialog, "106")->isChecked(), type == 1);
        QCOMPARE(control(dialog, "102")->isChecked(), showKeyb);
        QCOMPARE(control(dialog, "103")->isChecked(), showNext);
        QCOMPARE(control(dialog, "108")->isChecked(), errorType == 0);
        QCOMPARE(control(dialog, "109")->isChecked(), errorType == 1);
        // the enabling rule, applied at opening
        QCOMPARE(control(dialog, "103")->isEnabled(), showKeyb);
        QCOMPARE(control(dialog, "105")->isEnabled(), click);
        QCOMPARE(control(dialog, "106")->isEnabled(), click);
    }

    void clearingTheKeyboardDisablesTheNextKeyButKeepsItsMark()
    {
        TOptions options;
        TOptionsDlg dialog(nullptr, options);
        dialog.show();
        click(dialog, "102");
        QVERIFY(!control(dialog, "103")->isEnabled());
        QVERIFY(control(dialog, "103")->isChecked());
        click(dialog, "1");
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(options.ShowKeyb, false);
        QCOMPARE(options.ShowNext, true);
    }

    void soundOffDisablesTheSoundSetButKeepsItsChoice()
    {
        TOptions options;
        options.Type = 1;
        TOptionsDlg dialog(nullptr, options);
        dialog.show();
        click(dialog, "101");
        QVERIFY(!control(dialog, "105")->isEnabled());
        QVERIFY(!control(dialog, "106")->isEnabled());
        click(dialog, "101");
        QVERIFY(control(dialog, "106")->isEnabled());
        click(dialog, "101");
        click(dialog, "1");
        QCOMPARE(options.Click, false);
        QCOMPARE(options.Type, 1);
    }

    void okStoresTheControlsAndClearsShowHands()
    {
        TOptions options;
        options.StudentNo = 3;
        options.ShowAfaterStart = false;
        TOptionsDlg dialog(nullptr, options);
        dialog.show();
        click(dialog, "106");
        click(dialog, "109");
        click(dialog, "103");
        click(dialog, "1");
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(options.Type, 1);
        QCOMPARE(options.ErrorType, 1);
        QCOMPARE(options.ShowNext, false);
        QCOMPARE(options.ShowKeyb, true);
        QCOMPARE(options.Click, true);
        QCOMPARE(options.ShowHands, false);
        // not the dialog's to change
        QCOMPARE(options.StudentNo, 3);
        QCOMPARE(options.ShowAfaterStart, false);
    }

    // The window's size offered is the one shown; left as it is, it stays
    // unchosen and keeps following the screen (or a teacher's file).
    void viewChoice_data()
    {
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("picked"); // 0: left as shown
        QTest::addColumn<bool>("tickFullScreen");
        QTest::addColumn<int>("zoom");
        QTest::addColumn<std::optional<bool>>("fullScreen");
        QTest::newRow("left as shown") << 0 << 0 << false << 0 << std::optional<bool>();
        QTest::newRow("another size") << 0 << 175 << false << 175 << std::optional<bool>();
        QTest::newRow("a stored size kept") << 125 << 0 << false << 125 << std::optional<bool>();
        QTest::newRow("full screen ticked") << 0 << 0 << true << 0 << std::optional<bool>(true);
    }

    void viewChoice()
    {
        QFETCH(int, stored);
        QFETCH(int, picked);
        QFETCH(bool, tickFullScreen);
        QFETCH(int, zoom);
        QFETCH(std::optional<bool>, fullScreen);
        TOptions options;
        options.Zoom = stored;
        TOptionsDlg dialog(nullptr, options, 150);
        auto *size = dialog.findChild<QComboBox *>(QStringLiteral("110"));
        QCOMPARE(size->currentData().toInt(), stored ? stored : 150);
        if (picked)
            size->setCurrentIndex(size->findData(picked));
        dialog.show();
        if (tickFullScreen)
            click(dialog, "111");
        click(dialog, "1");
        QCOMPARE(options.Zoom, zoom);
        QCOMPARE(options.FullScreen, fullScreen);
    }

    void cancelChangesNothing_data()
    {
        QTest::addColumn<bool>("withEscape");
        QTest::newRow("Anuluj") << false;
        QTest::newRow("Escape key") << true;
    }

    void cancelChangesNothing()
    {
        QFETCH(bool, withEscape);
        TOptions options;
        TOptionsDlg dialog(nullptr, options);
        dialog.show();
        click(dialog, "101");
        click(dialog, "102");
        click(dialog, "109");
        if (withEscape)
            QTest::keyClick(&dialog, Qt::Key_Escape);
        else
            click(dialog, "2");
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(options.Click && options.ShowKeyb && options.ShowHands);
        QCOMPARE(options.ErrorType, 0);
    }

    void helpAsksForItsPageAndKeepsTheDialogOpen()
    {
        QList<int> asked;
        Help::setHandler([&asked](QWidget *, int context) { asked << context; });
        TOptions options;
        TOptionsDlg dialog(nullptr, options);
        dialog.show();
        click(dialog, "998");
        QCOMPARE(asked, QList<int>({ 700 }));
        QVERIFY(dialog.isVisible());
    }
};

QTEST_MAIN(TestOptionsDlg)
#include "tst_toptionsdlg.moc"
