#include "app/appicon.h"
#include "app/appstyle.h"
#include "app/sdidecframe.h"
#include "app/tendinfodlg.h"
#include "app/typingapp.h"
#include "common/appstart.h"
#include "common/messagerecorder.h"
#include "common/testsupport.h"
#include "students/tnewdlg.h"
#include "students/tstatdlg.h"
#include "students/tstudent.h"
#include "widgets/keyguard.h"

#include <functional>

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStyleOption>
#include <QTemporaryDir>
#include <QTimer>

namespace {

using Opener = std::function<void(SDIDecFrame &)>;

// A control by its number, or a button by its caption for the message boxes.
QWidget *controlNamed(QWidget &dialog, const QString &name)
{
    for (QWidget *widget : dialog.findChildren<QWidget *>()) {
        const auto *button = qobject_cast<QAbstractButton *>(widget);
        if (widget->objectName() == name || (button && button->text() == name))
            return widget;
    }
    return nullptr;
}

QString nameOf(const QWidget *widget)
{
    if (!widget)
        return QStringLiteral("<none>");
    const auto *button = qobject_cast<const QAbstractButton *>(widget);
    return widget->objectName().isEmpty() && button ? button->text() : widget->objectName();
}

// The visible controls and windows of a window without an accessible name,
// each as its role and class; a screen reader would read them as nothing.
// Pictures and the frames around controls say nothing of their own.
QStringList unnamedControls(QWidget &window)
{
    static const QSet<QAccessible::Role> named { QAccessible::Window, QAccessible::Dialog, QAccessible::PushButton,
        QAccessible::CheckBox, QAccessible::RadioButton, QAccessible::ComboBox, QAccessible::EditableText,
        QAccessible::SpinBox, QAccessible::Slider, QAccessible::List, QAccessible::Table, QAccessible::Tree,
        QAccessible::PageTab, QAccessible::ButtonMenu, QAccessible::ButtonDropDown, QAccessible::MenuBar,
        QAccessible::MenuItem, QAccessible::Chart, QAccessible::ProgressBar, QAccessible::Canvas, QAccessible::Client,
        QAccessible::StatusBar };
    QStringList unnamed;
    const std::function<void(QAccessibleInterface *)> walk = [&](QAccessibleInterface *node) {
        if (!node || node->state().invisible)
            return;
        if (named.contains(node->role()) && node->text(QAccessible::Name).trimmed().isEmpty()) {
            const QObject *object = node->object();
            unnamed << QStringLiteral("%1 %2 %3")
                           .arg(int(node->role()))
                           .arg(object ? QString::fromLatin1(object->metaObject()->className()) : QString())
                           .arg(object ? object->objectName() : QString());
        }
        for (int i = 0; i < node->childCount(); ++i)
            walk(node->child(i));
    };
    walk(QAccessible::queryAccessibleInterface(&window));
    return unnamed;
}

// What a dialog looked like when it opened, and how it ended.
struct Seen {
    QStringList unnamed;
    bool opened = false;
    QPoint offset; // of its centre from the main window's centre
    QString focus;
    int result = -1;
};

// Runs open(), which runs a modal dialog, and ends the dialog by end() once it
// is active. A dialog that does not close is ended with -99 after a second.
Seen watch(SDIDecFrame &frame, const Opener &open, const std::function<void(QDialog &)> &end)
{
    Seen seen;
    QPointer<QDialog> dialog;
    QElapsedTimer since;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (dialog) {
            if (since.elapsed() > 1000)
                dialog->done(-99);
            return;
        }
        auto *modal = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (seen.opened || !modal || !modal->isActiveWindow())
            return;
        dialog = modal;
        seen.opened = true;
        seen.offset = modal->frameGeometry().center() - frame.frameGeometry().center();
        seen.focus = nameOf(QApplication::focusWidget());
        seen.unnamed = unnamedControls(*modal);
        QObject::connect(modal, &QDialog::finished, [&seen](int result) { seen.result = result; });
        since.start();
        end(*modal);
    });
    poll.start(10);
    open(frame);
    return seen;
}

} // namespace

class TestDialogs : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<TypingApp> m_app;
    TStudent m_student { "Ala", 12, 0 };

    std::unique_ptr<TypingApp> startApp(bool registrationAtStart)
    {
        writeAll(m_dir.filePath(QStringLiteral("pisarz.ini")),
            registrationAtStart ? "[Stukomat]\nShowAfaterStart=Yes\n" : "[Stukomat]\nShowAfaterStart=No\n");
        return startTypingApp(m_dir.path());
    }

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        m_app = startApp(false);
        QVERIFY(m_app);
        QVERIFY(QTest::qWaitForWindowExposed(m_app->mainWindow()));
    }

    void cleanupTestCase() { m_app.reset(); }

    void mainWindowHasAFixedSize()
    {
        SDIDecFrame &frame = *m_app->mainWindow();
        QCOMPARE(frame.size(), QSize(640, 480));
        QCOMPARE(frame.minimumSize(), frame.maximumSize());
        QVERIFY(!(frame.windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(frame.windowFlags() & Qt::WindowMinimizeButtonHint);
        QVERIFY(!frame.statusBar()->isSizeGripEnabled());
    }

    // Set for the program, so a dialog open at start shows it too.
    void programHasItsIcon() { QVERIFY(!QGuiApplication::windowIcon().isNull()); }

    // The tool bar arrows, looked up only when drawn, are the style's own.
    void extensionArrowsAreTheStylesOwn_data()
    {
        QTest::addColumn<QStyle::StandardPixmap>("which");
        QTest::addColumn<Qt::LayoutDirection>("direction");
        QTest::newRow("horizontal") << QStyle::SP_ToolBarHorizontalExtensionButton << Qt::LeftToRight;
        QTest::newRow("horizontal, right to left") << QStyle::SP_ToolBarHorizontalExtensionButton << Qt::RightToLeft;
        QTest::newRow("vertical") << QStyle::SP_ToolBarVerticalExtensionButton << Qt::LeftToRight;
    }
    void extensionArrowsAreTheStylesOwn()
    {
        QFETCH(QStyle::StandardPixmap, which);
        QFETCH(Qt::LayoutDirection, direction);
        AppStyle style(QStringLiteral("Fusion"));
        QStyleOption option;
        option.direction = direction;
        const QImage own = style.baseStyle()->standardIcon(which, &option).pixmap(16).toImage();
        QVERIFY(!own.isNull());
        QCOMPARE(style.standardIcon(which, &option).pixmap(16).toImage(), own);
    }

    // The drawn window icon and the installed one are the same picture.
    void drawnIconMatchesTheInstalledOne()
    {
        const QImage installed(QString::fromLocal8Bit(qgetenv("PALCOMIR_SOURCE_DIR"))
            + QStringLiteral("/packaging/icons/palcomir-128.png"));
        QCOMPARE(installed.size(), QSize(128, 128));
        const QImage drawn = drawnPalcomirIcon().pixmap(128).toImage().convertToFormat(installed.format());
        int differing = 0;
        for (int y = 0; y < 128; ++y) {
            for (int x = 0; x < 128; ++x) {
                const QColor a = installed.pixelColor(x, y), b = drawn.pixelColor(x, y);
                if (qAbs(a.red() - b.red()) + qAbs(a.green() - b.green()) + qAbs(a.blue() - b.blue())
                        + qAbs(a.alpha() - b.alpha())
                    > 96)
                    ++differing;
            }
        }
        QVERIFY2(differing < 128 * 128 / 100, qPrintable(QString::number(differing))); // edges may differ
    }

    // Every control of the main window, on the title screen and in a lesson,
    // has a name a screen reader can say.
    void mainWindowControlsAreNamed_data()
    {
        QTest::addColumn<int>("lesson");
        QTest::newRow("title screen") << 0;
        QTest::newRow("lesson") << 1201;
    }
    void mainWindowControlsAreNamed()
    {
        QFETCH(int, lesson);
        SDIDecFrame &frame = *m_app->mainWindow();
        MessageRecorder recorder; // the lesson's instruction, and yes to ending it
        recorder.answerYes = true;
        if (lesson)
            QVERIFY(frame.startStoredLesson(lesson));
        const QStringList unnamed = unnamedControls(frame);
        if (lesson)
            frame.runCommand(SDIDecFrame::CmAbort);
        QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QStringLiteral("; "))));
    }

    // cancel: the control that cancels, empty when only the close box does.
    // focus: the control that has the focus when the dialog opens.
    void dialog_data()
    {
        QTest::addColumn<Opener>("open");
        QTest::addColumn<QString>("cancel");
        QTest::addColumn<QString>("focus");
        const auto command = [](int id) { return Opener([id](SDIDecFrame &frame) { frame.runCommand(id); }); };
        QTest::newRow("registration") << command(SDIDecFrame::CmRegistration) << "2"
                                      << "101";
        QTest::newRow("options") << command(SDIDecFrame::CmOptions) << "2"
                                 << "101";
        QTest::newRow("lesson list") << command(SDIDecFrame::CmChooseLesson) << "2"
                                     << "101";
        QTest::newRow("single letter") << command(SDIDecFrame::CmSingleLetter) << "2"
                                       << "100";
        QTest::newRow("practical texts") << command(SDIDecFrame::CmTexts) << "2"
                                         << "101";
        QTest::newRow("letters") << command(SDIDecFrame::CmLetters) << "2"
                                 << "100";
        QTest::newRow("keypad drills") << command(SDIDecFrame::CmKeypad) << "2"
                                       << "101";
        QTest::newRow("about box") << command(SDIDecFrame::CmAbout) << ""
                                   << "<none>";
        QTest::newRow("exit question") << command(SDIDecFrame::CmExit) << "&Nie"
                                       << "&Nie";
        QTest::newRow("new student") << Opener([this](SDIDecFrame &frame) {
            TStudent student;
            TNewDlg(&frame, student).exec();
        }) << "2"
                                     << "101";
        QTest::newRow("statistics") << Opener([this](SDIDecFrame &frame) { TStatDlg(&frame, m_student).exec(); }) << ""
                                    << "100";
        QTest::newRow("end of lesson") << Opener([](SDIDecFrame &frame) {
            TEndInfoDlg(&frame, QStringLiteral("Brawo!")).exec();
        }) << ""
                                       << "6";
    }

    // Every dialog opens centred over the main window with its first control
    // focused and every control named for a screen reader, and Escape ends it as its cancel button (or close box) does.
    void dialog()
    {
        QFETCH(Opener, open);
        QFETCH(QString, cancel);
        QFETCH(QString, focus);
        SDIDecFrame &frame = *m_app->mainWindow();
        frame.move(12, 20); // away from the middle of the screen
        QTRY_COMPARE(frame.pos(), QPoint(12, 20));

        const Seen escaped = watch(frame, open, [](QDialog &dialog) {
            // The end of a lesson takes no key at once: typing may still go on.
            if (qobject_cast<TEndInfoDlg *>(&dialog))
                QTest::qWait(KeyGuard::kQuietMs + 50);
            QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &dialog, Qt::Key_Escape);
        });
        QVERIFY(escaped.opened);
        QVERIFY2(qAbs(escaped.offset.x()) <= 1 && qAbs(escaped.offset.y()) <= 1,
            qPrintable(QStringLiteral("%1,%2").arg(escaped.offset.x()).arg(escaped.offset.y())));
        QCOMPARE(escaped.focus, focus);
        QVERIFY2(escaped.unnamed.isEmpty(), qPrintable(escaped.unnamed.join(QStringLiteral("; "))));

        const Seen cancelled = watch(frame, open, [&cancel](QDialog &dialog) {
            if (cancel.isEmpty()) {
                dialog.close();
            } else if (auto *button = qobject_cast<QAbstractButton *>(controlNamed(dialog, cancel))) {
                button->click();
            }
        });
        QVERIFY(cancelled.opened);
        QVERIFY(cancelled.result != -99);
        QCOMPARE(escaped.result, cancelled.result);
        QVERIFY(frame.isVisible());
    }

    // The registration dialog at start opens over the main window too.
    void registrationAtStartIsCentred()
    {
        m_app.reset();
        Seen seen;
        std::unique_ptr<TypingApp> app;
        SDIDecFrame *frame = nullptr;
        QTimer poll;
        connect(&poll, &QTimer::timeout, [&] {
            auto *modal = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            if (seen.opened || !modal || !modal->isActiveWindow() || !frame)
                return;
            seen.opened = true;
            seen.offset = modal->frameGeometry().center() - frame->frameGeometry().center();
            seen.focus = modal->windowTitle();
            modal->reject();
        });
        poll.start(10);
        app = startApp(true);
        QVERIFY(app);
        frame = app->mainWindow();
        QTRY_VERIFY(seen.opened);
        QCOMPARE(seen.focus, QStringLiteral("Rejestracja"));
        QVERIFY2(qAbs(seen.offset.x()) <= 1 && qAbs(seen.offset.y()) <= 1,
            qPrintable(QStringLiteral("%1,%2").arg(seen.offset.x()).arg(seen.offset.y())));
    }
};

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
