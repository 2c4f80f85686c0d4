#include "app/aboutdlg.h"
#include "app/ttitle.h"
#include "images/chartgeometry.h"

#include <QtTest>

class TestPictureWindows : public QObject
{
    Q_OBJECT

private slots:
    // A page stays for 31 ticks, a left click shows the next one at once and
    // starts the count again, after the sixth comes the first.
    void titleSlideshow()
    {
        TTitle title;
        title.resize(640, 438);
        QCOMPARE(title.PictureNo(), 1);
        QVERIFY(title.hasPicture());
        for (int tick = 0; tick < 30; ++tick)
            title.tick();
        QCOMPARE(title.PictureNo(), 1);
        title.tick();
        QCOMPARE(title.PictureNo(), 2);
        QCOMPARE(title.picture().size(), QSize(638, 418));

        for (int tick = 0; tick < 20; ++tick)
            title.tick();
        QTest::mouseClick(&title, Qt::RightButton);
        QCOMPARE(title.PictureNo(), 2);
        QTest::mouseClick(&title, Qt::LeftButton);
        QCOMPARE(title.PictureNo(), 3);
        QCOMPARE(title.Countdown(), TTitle::kTicksPerPage);
        for (const int expected : { 4, 5, 6, 1 }) {
            title.nextPage();
            QCOMPARE(title.PictureNo(), expected);
        }
        // Drawn stretched over the whole window, without blending.
        const QImage shown = title.grab().toImage();
        QCOMPARE(shown.pixel(639, 437), title.picture().pixel(637, 417));
    }

    void aboutBoxShowsItsPictureAlone()
    {
        ABCAboutDlg about;
        QVERIFY(about.hasPicture());
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        QCOMPARE(about.size(), QSize(500, 357));
        QTest::mouseClick(&about, Qt::RightButton);
        QVERIFY(about.isVisible());
        QTest::mouseClick(&about, Qt::LeftButton, {}, QPoint(490, 350));
        QVERIFY(!about.isVisible());
        QCOMPARE(about.result(), int(QDialog::Accepted));
    }

    void chartPlacement_data()
    {
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<QSize>("desktop");
        QTest::addColumn<QRect>("window");
        QTest::newRow("the chart on a 640 x 480 screen") << QSize(637, 279) << QSize(640, 480) << QRect(0, 99, 639, 281);
        QTest::newRow("on a 1024 x 768 screen") << QSize(637, 279) << QSize(1024, 768) << QRect(192, 243, 639, 281);
        QTest::newRow("larger than the screen") << QSize(700, 500) << QSize(640, 480) << QRect(-31, -11, 702, 502);
        QTest::newRow("no picture: a 2 x 2 window") << QSize(0, 0) << QSize(640, 480) << QRect(319, 239, 2, 2);
        QTest::newRow("the desktop's sides are 16-bit") << QSize(637, 279) << QSize(70000, 480)
                                                        << QRect(1912, 99, 639, 281);
    }

    void chartPlacement()
    {
        QFETCH(QSize, picture);
        QFETCH(QSize, desktop);
        QFETCH(QRect, window);
        const ChartGeometry g = chartGeometry(picture.width(), picture.height(), desktop.width(), desktop.height());
        QCOMPARE(QRect(g.x, g.y, g.width, g.height), window);
    }
};

QTEST_MAIN(TestPictureWindows)
#include "tst_picturewindows.moc"
