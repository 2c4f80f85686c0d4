#include "choice/tchosedlg.h"
#include "choice/tchosetextdlg.h"
#include "common/dialogtesting.h"
#include "common/testsupport.h"
#include "widgets/help.h"

#include <QListWidget>
#include <QPushButton>

namespace {

QStringList rows(const QListWidget *list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

void doubleClickRow(QListWidget *list, int row)
{
    const QRect rect = list->visualItemRect(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rect.center());
}

LessonLibrary textsWithGap()
{
    LessonLibrary library;
    for (int n : { 1301, 1302, 1303, 1304, 1306 })
        library.addText(n, crlf(QStringLiteral("Tekst %1.\na\nb").arg(n).toUtf8().constData()));
    return library;
}

} // namespace

class TestChoseDlg : public QObject
{
    Q_OBJECT

private slots:
    void basicLessonList()
    {
        int result = -7;
        TChoseDlg dialog(nullptr, nullptr, result, 1201, builtLibrary());
        dialog.show();
        const QStringList titles = rows(dialog.list());
        QCOMPARE(titles.size(), 26);
        QCOMPARE(titles.first(), QStringLiteral("nauka klawiszy: a, s, d, f;"));
        QCOMPARE(titles.last(), QStringLiteral("wprawki dla małych palców"));
        QCOMPARE(dialog.list()->currentRow(), 0);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Wybór lekcji"));
        dialog.list()->setCurrentRow(2);
        click(dialog, "1");
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(result, 1203);
    }

    void doubleClickActsAsOk()
    {
        int result = 0;
        TChoseDlg dialog(nullptr, nullptr, result, 1201, builtLibrary());
        dialog.show();
        doubleClickRow(dialog.list(), 3);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(result, 1204);
    }

    void keypadList()
    {
        int result = 0;
        TChoseDlg dialog(nullptr, nullptr, result, 1401, builtLibrary());
        dialog.show();
        QCOMPARE(rows(dialog.list()),
            QStringList({ QStringLiteral("Klawiatura numeryczna I"), QStringLiteral("Klawiatura numeryczna II"),
                QStringLiteral("Klawiatura numeryczna III"), QStringLiteral("Sumowanie") }));
        dialog.list()->setCurrentRow(3);
        click(dialog, "1");
        QCOMPARE(result, 1404);
    }

    void cancelLeavesTheResult()
    {
        int result = 42;
        TChoseDlg dialog(nullptr, nullptr, result, 1201, builtLibrary());
        dialog.show();
        dialog.list()->setCurrentRow(5);
        click(dialog, "2");
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(result, 42);
    }

    void emptyGroupGivesTheNumberBeforeIt_data()
    {
        QTest::addColumn<int>("first");
        QTest::newRow("lessons") << 1201;
        QTest::newRow("texts") << 1301;
        QTest::newRow("keypad") << 1401;
    }

    void emptyGroupGivesTheNumberBeforeIt()
    {
        QFETCH(int, first);
        const LessonLibrary empty;
        int result = 0;
        std::unique_ptr<TChoseDlg> dialog(first == 1301 ? new TChoseTextDlg(nullptr, nullptr, result, first, empty)
                                                        : new TChoseDlg(nullptr, nullptr, result, first, empty));
        dialog->show();
        QCOMPARE(dialog->list()->count(), 0);
        click(*dialog, "1");
        QCOMPARE(result, first - 1);
    }

    void textRowsEndAtTheFirstGap()
    {
        const LessonLibrary library = textsWithGap();
        int result = 0;
        TChoseTextDlg dialog(nullptr, nullptr, result, 1301, library);
        dialog.show();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Wybór tekstu"));
        QCOMPARE(rows(dialog.list()),
            QStringList({ QStringLiteral("Tekst 1301. (2 linie)"), QStringLiteral("Tekst 1302. (2 linie)"),
                QStringLiteral("Tekst 1303. (2 linie)"), QStringLiteral("Tekst 1304. (2 linie)") }));
        doubleClickRow(dialog.list(), 1);
        QCOMPARE(result, 1302);
    }

    void storedTexts()
    {
        int result = 0;
        TChoseTextDlg dialog(nullptr, nullptr, result, 1301, builtLibrary());
        dialog.show();
        const QStringList texts = rows(dialog.list());
        QCOMPARE(texts.size(), 21);
        QCOMPARE(texts[2], QStringLiteral("Wybór i ustawienie biurka do pracy. (19 linii)"));
        QCOMPARE(texts[11], QStringLiteral("Kredyty bankowe. (32 linie)"));
    }

    void helpAsksForItsPage_data()
    {
        QTest::addColumn<bool>("texts");
        QTest::addColumn<int>("context");
        QTest::newRow("lesson list") << false << 530;
        QTest::newRow("text list") << true << 550;
    }

    void helpAsksForItsPage()
    {
        QFETCH(bool, texts);
        QFETCH(int, context);
        QList<int> asked;
        Help::setHandler([&asked](QWidget *, int c) { asked << c; });
        int result = 0;
        std::unique_ptr<TChoseDlg> dialog(texts ? new TChoseTextDlg(nullptr, nullptr, result, 1301, builtLibrary())
                                                : new TChoseDlg(nullptr, nullptr, result, 1201, builtLibrary()));
        dialog->show();
        click(*dialog, "998");
        Help::setHandler({});
        QCOMPARE(asked, QList<int> { context });
        QVERIFY2(dialog->isVisible(), "the dialog stays open");
    }
};

QTEST_MAIN(TestChoseDlg)
#include "tst_chosedlg.moc"
