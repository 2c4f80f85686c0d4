#include "choice/lettertable.h"
#include "choice/tchosekeydlg.h"
#include "choice/tchosekeysdlg.h"
#include "common/dialogtesting.h"
#include "common/testsupport.h"
#include "widgets/messages.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

class TestLetterDialogs : public QObject
{
    Q_OBJECT

    QStringList m_boxes;

private slots:
    void init()
    {
        m_boxes.clear();
        Messages::setHook([this](Messages::Kind, const QString &caption, const QString &text) {
            m_boxes << caption + QLatin1Char('|') + text;
            return false;
        });
    }

    void cleanup() { Messages::setHook({}); }

    void letterTable_data()
    {
        QTest::addColumn<QString>("character");
        QTest::addColumn<int>("number");
        const char *lower[] = { "a", "ą", "b", "c", "ć", "d", "e", "ę", "f", "g", "h", "i", "j", "k", "l", "ł", "m",
            "n", "ń", "o", "ó", "p", "q", "r", "s", "ś", "t", "u", "v", "w", "x", "y", "z", "ż", "ź" };
        for (int i = 0; i < 35; ++i) {
            const QString letter = QString::fromUtf8(lower[i]);
            QTest::addRow("%s", lower[i]) << letter << i + 1;
            QTest::addRow("upper %s", lower[i]) << letter.toUpper() << i + 1;
        }
        for (int digit = 0; digit <= 9; ++digit)
            QTest::addRow("digit %d", digit) << QString::number(digit) << 36 + digit;
        for (const char *c : { "!", ",", ".", ":", "?" })
            QTest::addRow("sentence mark %s", c) << QString::fromLatin1(c) << 46;
        for (const char *c : { "(", ")", "*", "+", "-", "/", "<", "=", ">", "[", "]", "^" })
            QTest::addRow("operator %s", c) << QString::fromLatin1(c) << 47;
        for (const char *c : { " ", ";", "\"", "'", "{", "@", "_", "\t" })
            QTest::addRow("no lesson for '%s'", c) << QString::fromLatin1(c) << 0;
    }

    void letterTable()
    {
        QFETCH(QString, character);
        QFETCH(int, number);
        const std::string byte = W(character.toUtf8().constData());
        QCOMPARE(byte.size(), std::size_t(1));
        QCOMPARE(letterLessonNumber(static_cast<unsigned char>(byte[0])), number);
    }

    void lettersDialog_data()
    {
        QTest::addColumn<QString>("characters");
        QTest::addColumn<QString>("lines");
        QTest::addColumn<bool>("randomGroups");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QByteArray>("storedCharacters");
        QTest::addColumn<int>("storedLines");
        QTest::newRow("asdf, 6 lines, words") << "asdf"
                                              << "6" << false << true << QByteArray("asdf") << 6;
        QTest::newRow("random groups") << "jkl"
                                       << "6" << true << true << QByteArray("jkl") << 6;
        QTest::newRow("2 lines") << "a"
                                 << "2" << false << true << QByteArray("a") << 2;
        QTest::newRow("100 lines") << "a"
                                   << "100" << false << true << QByteArray("a") << 100;
        QTest::newRow("1 line refused") << "a"
                                        << "1" << false << false << QByteArray("a") << 1;
        QTest::newRow("101 lines refused") << "a"
                                           << "101" << false << false << QByteArray("a") << 101;
        QTest::newRow("0 lines refused") << "a"
                                         << "0" << false << false << QByteArray("a") << 0;
        QTest::newRow("letters as the count refused") << "a"
                                                      << "abc" << false << false << QByteArray("a") << 0;
        QTest::newRow("empty count refused") << "a"
                                             << "" << false << false << QByteArray("a") << 0;
        QTest::newRow("empty characters refused") << ""
                                                  << "6" << false << false << QByteArray() << -1;
        QTest::newRow("sixteen characters keep ten") << "abcdefghijklmnop"
                                                     << "6" << false << true << QByteArray("abcdefghij") << 6;
        QTest::newRow("polish letters") << QString::fromUtf8("ąęść") << "6" << false << true << bytes(W("ąęść")) << 6;
        QTest::newRow("characters without a byte are left out")
            << QString::fromUtf8("aЖb") << "6" << false << true << QByteArray("ab") << 6;
    }

    void lettersDialog()
    {
        QFETCH(QString, characters);
        QFETCH(QString, lines);
        QFETCH(bool, randomGroups);
        QFETCH(bool, accepted);
        QFETCH(QByteArray, storedCharacters);
        QFETCH(int, storedLines);

        std::string resultCharacters = "unchanged";
        bool words = !randomGroups ? false : true;
        int lineCount = -1;
        TChoseKeysDlg dialog(nullptr, resultCharacters, words, lineCount);
        dialog.show();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Wybór liter"));
        QVERIFY2(dialog.findChild<QRadioButton *>(QStringLiteral("103"))->isChecked(), "Słowa is preselected");
        QCOMPARE(dialog.lineCountEdit()->text(), QStringLiteral("6"));
        if (randomGroups)
            click(dialog, "102");
        dialog.charactersEdit()->setText(characters);
        dialog.lineCountEdit()->setText(lines);
        click(dialog, "1");
        QCOMPARE(dialog.result() == QDialog::Accepted, accepted);
        QCOMPARE(dialog.isVisible(), !accepted);
        QVERIFY2(m_boxes.isEmpty(), "refusals show no message");
        QCOMPARE(bytes(resultCharacters), storedCharacters);
        QCOMPARE(lineCount, storedLines);
        if (accepted)
            QCOMPARE(words, !randomGroups);
    }

    void letterDialog_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("number");
        QTest::newRow("capital Ł") << QString::fromUtf8("Ł") << 16;
        QTest::newRow("small ł") << QString::fromUtf8("ł") << 16;
        QTest::newRow("digit 5") << "5" << 41;
        QTest::newRow("digit 0") << "0" << 36;
        QTest::newRow("question mark") << "?" << 46;
        QTest::newRow("caret") << "^" << 47;
        QTest::newRow("a word: only the first character counts") << QString::fromUtf8("żaba") << 34;
        QTest::newRow("space") << " " << 0;
        QTest::newRow("semicolon") << ";" << 0;
        QTest::newRow("empty field") << "" << 0;
        QTest::newRow("a character outside the code page") << QString::fromUtf8("Ж") << 0;
    }

    void letterDialog()
    {
        QFETCH(QString, typed);
        QFETCH(int, number);
        int result = -1;
        TChoseKeyDlg dialog(nullptr, result);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Wybór litery"));
        dialog.letterEdit()->setText(typed);
        dialog.findChild<QPushButton *>(QStringLiteral("1"))->setFocus();
        click(dialog, "1");
        if (number > 0) {
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
            QCOMPARE(result, number);
            QVERIFY(m_boxes.isEmpty());
        } else {
            QVERIFY(dialog.isVisible());
            QCOMPARE(result, -1);
            QCOMPARE(
                m_boxes, QStringList { QStringLiteral("Stop|Nie ma przewidzianej osobnej lekcji dla tej litery") });
            QVERIFY2(dialog.letterEdit()->hasFocus(), "the focus is back in the field");
        }
    }
};

QTEST_MAIN(TestLetterDialogs)
#include "tst_letterdlgs.moc"
