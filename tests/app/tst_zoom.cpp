#include "app/apppaths.h"
#include "app/sdidecframe.h"
#include "app/ttitle.h"
#include "common/messagerecorder.h"
#include "common/testsupport.h"
#include "settings/toptions.h"
#include "widgets/viewzoom.h"

#include <QMenuBar>
#include <QTemporaryDir>

// The program on a 1920 x 1080 screen: the zoom steps, the full screen and
// what follows them (the window's size, the title page's clicks).
class TestZoom : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<MessageRecorder> m_recorder;
    TOptions m_options;
    std::unique_ptr<SDIDecFrame> m_frame;

    SDIDecFrame &frame(TOptions options)
    {
        m_frame.reset();
        m_options = options;
        m_options.Click = false;
        m_frame = std::make_unique<SDIDecFrame>(builtLibrary(), m_options);
        m_frame->show();
        return *m_frame;
    }

    TTitle *title() const { return qobject_cast<TTitle *>(m_frame->centralWidget()); }

    // Clicks the title page at a point of its layout; whether the page turned.
    bool clickTurnsThePage(QPointF layoutPoint)
    {
        TTitle *page = title();
        const int before = page->PictureNo();
        QTest::mouseClick(page, Qt::LeftButton, {}, page->layoutTransform().map(layoutPoint).toPoint());
        return page->PictureNo() != before;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(AppPaths::setDataDir(m_dir.path()));
    }

    void init() { m_recorder = std::make_unique<MessageRecorder>(); }

    void cleanup()
    {
        m_frame.reset();
        m_recorder.reset();
    }

    void stepsForAScreen_data()
    {
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("largest");
        QTest::newRow("1920 x 1080") << QSize(1920, 1080) << 150 << 200;
        QTest::newRow("1920 x 1080 under a panel") << QSize(1920, 1040) << 150 << 200;
        QTest::newRow("1366 x 768") << QSize(1366, 768) << 100 << 150;
        QTest::newRow("1024 x 768") << QSize(1024, 768) << 100 << 150;
        QTest::newRow("800 x 600: 125 % only just fits") << QSize(800, 600) << 100 << 125;
        QTest::newRow("smaller than the window") << QSize(600, 400) << 100 << 100;
        QTest::newRow("2560 x 1440") << QSize(2560, 1440) << 200 << 200;
    }

    void stepsForAScreen()
    {
        QFETCH(QSize, screen);
        QFETCH(int, start);
        QFETCH(int, largest);
        QCOMPARE(ZoomSteps::stepForScreen(screen.width(), screen.height()), start);
        QCOMPARE(ZoomSteps::largestFitting(screen.width(), screen.height()), largest);
    }

    void storedPercentages_data()
    {
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("step");
        QTest::addColumn<int>("next");
        QTest::addColumn<int>("previous");
        QTest::newRow("a step") << 150 << 150 << 175 << 125;
        QTest::newRow("between steps: the nearest") << 130 << 125 << 150 << 100;
        QTest::newRow("the first") << 100 << 100 << 125 << 100;
        QTest::newRow("the last") << 200 << 200 << 200 << 175;
        QTest::newRow("below the range: no choice") << 99 << 0 << 100 << 100;
        QTest::newRow("above the range: no choice") << 201 << 0 << 200 << 200;
    }

    void storedPercentages()
    {
        QFETCH(int, stored);
        QFETCH(int, step);
        QFETCH(int, next);
        QFETCH(int, previous);
        QCOMPARE(ZoomSteps::stepFor(stored), step);
        if (step) {
            QCOMPARE(ZoomSteps::nextStep(step), next);
            QCOMPARE(ZoomSteps::previousStep(step), previous);
        }
    }

    // The screen's step at first, then each command; the window is always
    // the layout at the step, and the choice is kept for the settings file.
    void commandsSizeTheWindow()
    {
        SDIDecFrame &window = frame(TOptions());
        QCOMPARE(window.size(), QSize(960, 720));
        QCOMPARE(m_options.Zoom, 0);
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        // The menus' letters grow with the window.
        const int menuAt150 = window.menuBar()->height();
        QVERIFY(menuAt150 > 25);
        const std::pair<int, int> steps[] = {
            { SDIDecFrame::CmZoomIn, 175 },
            { SDIDecFrame::CmZoomIn, 200 },
            { SDIDecFrame::CmZoomIn, 200 },
            { SDIDecFrame::CmZoomOut, 175 },
            { SDIDecFrame::CmNormalSize, 100 },
            { SDIDecFrame::CmZoomOut, 100 },
        };
        for (const auto &[command, percent] : steps) {
            window.runCommand(command);
            QCOMPARE(m_options.Zoom, percent);
            QCOMPARE(window.size(), QSize(640 * percent / 100, 480 * percent / 100));
            QCOMPARE(title()->zoom(), percent / 100.0);
            QCOMPARE(title()->layoutSize().width(), 640);
        }
        QTRY_VERIFY(window.menuBar()->height() < menuAt150);
        QCOMPARE(title()->pictureScale(), 1);
        window.runCommand(SDIDecFrame::CmZoomIn);
        QCOMPARE(title()->pictureScale(), 2);
    }

    void aStoredChoiceWins()
    {
        TOptions options;
        options.Zoom = 125;
        QCOMPARE(frame(options).size(), QSize(800, 600));
    }

    // The whole page turns it at any zoom, the margin of a full screen does not.
    void titlePageClicks_data()
    {
        QTest::addColumn<bool>("fullScreen");
        QTest::addColumn<QPointF>("point");
        QTest::addColumn<bool>("turns");
        QTest::newRow("200 %: the far corner") << false << QPointF(638, 5) << true;
        QTest::newRow("full screen: the far corner") << true << QPointF(638, 5) << true;
        QTest::newRow("full screen: left of the page") << true << QPointF(-20, 100) << false;
        QTest::newRow("full screen: right of the page") << true << QPointF(660, 100) << false;
    }

    void titlePageClicks()
    {
        QFETCH(bool, fullScreen);
        QFETCH(QPointF, point);
        QFETCH(bool, turns);
        TOptions options;
        options.Zoom = 200;
        options.FullScreen = fullScreen;
        QVERIFY(QTest::qWaitForWindowExposed(&frame(options)));
        QTRY_COMPARE(m_frame->size(), fullScreen ? QSize(1920, 1080) : QSize(1280, 960));
        QCOMPARE(clickTurnsThePage(point), turns);
    }

    // F11 scales the layout to the screen and centres it; Ctrl+0 gives the
    // plain window back.
    void fullScreenAndBack()
    {
        SDIDecFrame &window = frame(TOptions());
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.runCommand(SDIDecFrame::CmFullScreen);
        QVERIFY(window.isFullScreen());
        QCOMPARE(m_options.FullScreen, std::optional<bool>(true));
        QTRY_COMPARE(window.size(), QSize(1920, 1080));
        QCOMPARE(title()->zoom(), 2.25);
        QTRY_COMPARE(title()->layoutTransform().map(QPointF(0, 0)).x(), 240.0);
        QVERIFY(!window.action(SDIDecFrame::CmZoomIn)->isEnabled());

        window.runCommand(SDIDecFrame::CmNormalSize);
        QVERIFY(!window.isFullScreen());
        QCOMPARE(m_options.FullScreen, std::optional<bool>(false));
        QTRY_COMPARE(window.size(), QSize(640, 480));
        QCOMPARE(title()->zoom(), 1.0);
        QCOMPARE(title()->layoutTransform(), QTransform());
    }
};

int main(int argc, char **argv)
{
    // A screen of a school's usual monitor.
    QTemporaryDir screens;
    const QString config = screens.filePath(QStringLiteral("screen.json"));
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly)
        || file.write(R"({ "screens": [ { "name": "sala", "x": 0, "y": 0, "width": 1920, "height": 1080,
                           "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1 } ] })")
            < 0)
        return 2;
    file.close();
    qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + config).toUtf8());
    QApplication app(argc, argv);
    TestZoom test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_zoom.moc"
