#include "app/helpcontexts.h"
#include "app/helpwindow.h"
#include "widgets/help.h"

#include <QFile>
#include <QTextBlock>
#include <QTextBrowser>
#include <QtTest>

class TestHelp : public QObject
{
    Q_OBJECT

private slots:
    void contextTable_data()
    {
        QTest::addColumn<QByteArray>("table");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("target");
        QTest::newRow("plain") << QByteArray("0\tindex.html\n530\ta.html#530\n") << 530 << "a.html#530";
        QTest::newRow("windows line ends") << QByteArray("700\tb.html#700\r\n") << 700 << "b.html#700";
        QTest::newRow("no final line break") << QByteArray("0\tindex.html") << 0 << "index.html";
        QTest::newRow("junk lines are skipped") << QByteArray("x\ty\n12a\tz\n\n600\tc.html") << 600 << "c.html";
    }

    void contextTable()
    {
        QFETCH(QByteArray, table);
        QFETCH(int, number);
        QFETCH(QString, target);
        const auto contexts = parseHelpContexts(table.toStdString());
        QVERIFY(contexts.count(number));
        QCOMPARE(QString::fromStdString(contexts.at(number)), target);
        QVERIFY(!contexts.count(12));
    }

    // Every help button of the program lands on a page that has its topic.
    void everyContextHasItsTopic_data()
    {
        QTest::addColumn<int>("context");
        for (int context : { int(Help::Contents), int(Help::LessonList), int(Help::Letters), int(Help::TextList),
                 int(Help::EndOfLesson), int(Help::Registration), int(Help::NewStudent), int(Help::Statistics),
                 int(Help::Options) })
            QTest::addRow("%d", context) << context;
    }

    void everyContextHasItsTopic()
    {
        QFETCH(int, context);
        HelpWindow window;
        const QUrl url = window.urlOf(context);
        QCOMPARE(url.scheme(), QStringLiteral("qrc"));
        QFile page(QLatin1Char(':') + url.path());
        QVERIFY2(page.open(QIODevice::ReadOnly), qPrintable(url.toString()));
        const QString html = QString::fromUtf8(page.readAll());
        if (context == Help::Contents) {
            QVERIFY(url.fragment().isEmpty());
        } else {
            QCOMPARE(url.fragment(), QString::number(context));
            QVERIFY(html.contains(QStringLiteral("name=\"%1\"").arg(context)));
        }
        window.showContext(context);
        QCOMPARE(window.browser()->source(), url);
        QVERIFY(window.browser()->toPlainText().size() > 200);
        QVERIFY(window.isVisible());
    }

    // The pages share one stylesheet: a heading takes its colour from it.
    void pagesTakeTheSharedLook()
    {
        HelpWindow window;
        window.showContext(Help::Options);
        bool headingColoured = false;
        for (QTextBlock block = window.browser()->document()->begin(); block.isValid(); block = block.next()) {
            if (block.text().contains(QStringLiteral("Opcje")) && block.blockFormat().headingLevel() == 1)
                headingColoured = block.charFormat().foreground().color() == QColor(0x1f, 0x4e, 0x8c)
                                  || block.begin().fragment().charFormat().foreground().color() == QColor(0x1f, 0x4e, 0x8c);
        }
        QVERIFY(headingColoured);
    }

    void unknownContextOpensTheContents()
    {
        HelpWindow window;
        QCOMPARE(window.urlOf(4242), window.urlOf(Help::Contents));
    }

    void requestsGoToTheInstalledViewer()
    {
        QList<int> asked;
        Help::show(nullptr, 700); // nothing installed: nothing happens
        Help::setHandler([&asked](QWidget *, int context) { asked << context; });
        Help::show(nullptr, 580);
        Help::setHandler({});
        QCOMPARE(asked, QList<int> { 580 });
    }
};

QTEST_MAIN(TestHelp)
#include "tst_help.moc"
