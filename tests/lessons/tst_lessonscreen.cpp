#include "common/lessonharness.h"
#include "common/messagerecorder.h"
#include "common/pictures.h"
#include "common/testsupport.h"
#include "lessons/keyboardkeys.h"
#include "lessons/lessonevents.h"
#include "lessons/tlesson1.h"
#include "settings/toptions.h"
#include "widgets/messages.h"

#include <memory>

#include <QAccessible>
#include <QApplication>
#include <QColorDialog>
#include <QInputMethodEvent>
#include <QMainWindow>
#include <QScreen>
#include <QShortcut>
#include <QSignalSpy>
#include <QStatusBar>

namespace {

constexpr int kLessonNumber = 1201;
const QRgb kBlue = qRgb(0, 0, 255);
const QRgb kRed = qRgb(255, 0, 0);

// A lesson kind that has a keyboard picture.
class PictureLesson : public TLesson1
{
public:
    using TLesson1::TLesson1;
    void showPicture(PackedDib picture) { setPicture(std::move(picture)); }
};

// One running lesson in a 640 x 480 parent, as the main window holds it.
struct Running : LessonSetup {
    LessonLibrary library;
    ManualClock clock;
    std::unique_ptr<TLesson1> lesson;

    // stored: the stored text, instruction line first ("\n" is CR LF).
    Running(const std::string &stored, int errorType = 0, int height = 480, bool withPicture = false)
    {
        library.addText(kLessonNumber, stored);
        options = TOptions();
        options.ErrorType = errorType;
        parent.resize(640, height);
        if (withPicture)
            lesson = std::make_unique<PictureLesson>(&parent, options, kLessonNumber, clock);
        else
            lesson = std::make_unique<TLesson1>(&parent, options, kLessonNumber, clock);
    }

    bool start() { return lesson->LoadText(library) && showLesson(*lesson, parent); }

    TLesson1 &operator*() const { return *lesson; }
    TLesson1 *operator->() const { return lesson.get(); }

    // Types text: one key press per character, "\r" is Enter, each stepMs
    // after the previous one.
    void type(const QString &keys, std::uint32_t stepMs = 200)
    {
        for (const QChar c : keys) {
            clock.advance(stepMs);
            if (c == QLatin1Char('\r'))
                QTest::keyClick(lesson.get(), Qt::Key_Return);
            else if (c.unicode() < 128)
                QTest::keyClick(lesson.get(), c.toLatin1());
            else
                QTest::sendKeyEvent(QTest::Click, lesson.get(), Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }

    // The timer's ticks, as the event loop would deliver them.
    void tick(int times)
    {
        for (int i = 0; i < times; ++i) {
            QTimerEvent tick(lesson->lessonTimerId());
            QCoreApplication::sendEvent(lesson.get(), &tick);
        }
    }

    QRect textBand(int row) const { return QRect(0, row * lesson->rowPitch(), lesson->width(), lesson->lineHeight()); }
    QRect typedBand(int row) const { return textBand(row).translated(0, lesson->lineHeight()); }
    QRect rowPair(int row) const { return textBand(row).united(typedBand(row)); }

    // What the window shows after the pending repaints: only the parts the
    // keystrokes asked to repaint have been drawn again.
    QImage onScreen() const
    {
        QApplication::processEvents();
        const QPoint at = lesson->mapTo(&parent, QPoint(0, 0));
        return parent.screen()
            ->grabWindow(parent.winId(), at.x(), at.y(), lesson->width(), lesson->height())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    }
    // The whole window drawn anew.
    QImage repainted() const { return lesson->grab().toImage().convertToFormat(QImage::Format_RGB32); }
};

// The colours of the typed characters in a band, left to right: one letter
// per run of columns holding pure blue (B) or pure red (R) pixels.
QString colourRuns(const QImage &image, const QRect &band)
{
    QString runs;
    QChar last;
    for (int x = band.left(); x <= band.right(); ++x) {
        bool blue = false;
        bool red = false;
        for (int y = band.top(); y <= band.bottom(); ++y) {
            const QRgb pixel = image.pixel(x, y) & 0xFFFFFF;
            blue = blue || pixel == (kBlue & 0xFFFFFF);
            red = red || pixel == (kRed & 0xFFFFFF);
        }
        const QChar c = blue && red ? QLatin1Char('?') : blue ? QLatin1Char('B') : red ? QLatin1Char('R') : QChar();
        if (c.isNull())
            continue;
        if (c != last)
            runs += c;
        last = c;
    }
    return runs;
}

// A stored text: an instruction line and the given exercise lines.
std::string storedText(const QStringList &lines, const char *instruction = "Przepisz.")
{
    return crlf(instruction) + "\r\n" + crlf(lines.join(QLatin1Char('\n')).toUtf8().constData());
}

QStringList numberedLines(int count, int width = 20)
{
    QStringList lines;
    for (int i = 0; i < count; ++i) {
        QString line = QStringLiteral("linia %1 ").arg(i);
        while (line.size() < width)
            line += QChar(char16_t(u'a' + (i + line.size()) % 26));
        lines << line;
    }
    return lines;
}

} // namespace

class TestLessonScreen : public QObject
{
    Q_OBJECT

    std::unique_ptr<MessageRecorder> m_recorder;

private slots:
    void initTestCase() { QApplication::setCursorFlashTime(0); } // a steady caret for the pictures

    void init() { m_recorder = std::make_unique<MessageRecorder>(); }
    void cleanup() { m_recorder.reset(); }

    void typedRowColours_data()
    {
        QTest::addColumn<int>("errorType");
        QTest::addColumn<QString>("body");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("row0");
        QTest::addColumn<QString>("row1");
        QTest::addColumn<int>("errors");

        QTest::newRow("wait: correct keys are blue") << 0 << "lilt\nhi"
                                                     << "lil"
                                                     << "B"
                                                     << "" << 0;
        QTest::newRow("wait: wrong keys show nothing") << 0 << "lilt\nhi"
                                                       << "HlHi"
                                                       << "B"
                                                       << "" << 2;
        QTest::newRow("accept: a wrong key is red between blue ones") << 1 << "lilt\nhi"
                                                                      << "lHlt"
                                                                      << "BRB"
                                                                      << "" << 1;
        QTest::newRow("accept: a wrong Enter is a red pilcrow") << 1 << "lilt\nhi"
                                                                << "l\r"
                                                                << "BR"
                                                                << "" << 1;
        QTest::newRow("accept: a letter for the line end is red") << 1 << "lil\nhi"
                                                                  << "lilH"
                                                                  << "BR"
                                                                  << "" << 1;
        QTest::newRow("accept: after a line change") << 1 << "lil\nhi"
                                                     << "lil\rHi"
                                                     << "B"
                                                     << "RB" << 1;
        QTest::newRow("wait: Enter for a letter shows nothing") << 0 << "lil\nhi"
                                                                << "\r"
                                                                << ""
                                                                << "" << 1;
        QTest::newRow("polish letters") << 1 << QString::fromUtf8("łąkę\nhi") << QString::fromUtf8("łękę") << "BRB"
                                        << "" << 1;
    }

    // The learner sees blue for right and red for wrong, on the screen as
    // the keystrokes drew it and again after the window is repainted.
    void typedRowColours()
    {
        QFETCH(int, errorType);
        QFETCH(QString, body);
        QFETCH(QString, keys);
        QFETCH(QString, row0);
        QFETCH(QString, row1);
        QFETCH(int, errors);

        Running lesson(storedText({ body }), errorType);
        QVERIFY(lesson.start());
        const QImage before = lesson.onScreen();
        lesson.type(keys);
        QCOMPARE(int(lesson->engine().errorCount()), errors);

        const QImage shown = lesson.onScreen();
        const QImage repainted = lesson.repainted();
        QCOMPARE(colourRuns(shown, lesson.typedBand(0)), row0);
        QCOMPARE(colourRuns(shown, lesson.typedBand(1)), row1);
        QCOMPARE(colourRuns(repainted, lesson.typedBand(0)), row0);
        QCOMPARE(colourRuns(repainted, lesson.typedBand(1)), row1);
        QCOMPARE(shown, repainted);
        // The text lines themselves never change colour.
        QCOMPARE(shown.copy(lesson.textBand(0)), before.copy(lesson.textBand(0)));
        QCOMPARE(colourRuns(shown, lesson.textBand(0)), QString());
    }

    void caretFollowsTheTyping_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("typedBefore"); // what stands left of the caret
        QTest::newRow("start") << "" << 0 << "";
        QTest::newRow("after two letters") << "ab" << 0 << "ab";
        QTest::newRow("a wrong key does not move it") << "abx" << 0 << "ab";
        QTest::newRow("end of the line") << "abc" << 0 << "abc";
        QTest::newRow("next line") << "abc\r" << 1 << "";
        QTest::newRow("on the next line") << "abc\rd" << 1 << "d";
    }

    void caretFollowsTheTyping()
    {
        QFETCH(QString, keys);
        QFETCH(int, row);
        QFETCH(QString, typedBefore);
        Running lesson(storedText({ QStringLiteral("abc"), QStringLiteral("def") }));
        QVERIFY(lesson.start());
        lesson.type(keys);
        const QRect caret = lesson->caretRect();
        QCOMPARE(caret.top(), lesson.typedBand(row).top());
        QCOMPARE(caret.left(), lesson->leftMargin() + QFontMetrics(lesson->font()).horizontalAdvance(typedBefore));
        // It is drawn in the text colour on the typed row.
        const QImage shown = lesson.onScreen();
        QCOMPARE(shown.pixel(caret.left(), caret.center().y()), lesson->palette().color(QPalette::Text).rgb());
        QCOMPARE(lesson->cursor().shape(), Qt::IBeamCursor);
    }

    // A screen reader reads the line being typed, the caret's place in it and,
    // at the caret, the next character ("\n" for Enter).
    void screenReaderReadsTheLine_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<int>("errorType");
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("caret");
        QTest::addColumn<QString>("next");
        const QString first = QString::fromUtf8("zaż\n");
        QTest::newRow("start") << "" << 0 << first << 0 << "z";
        QTest::newRow("a Polish letter next") << "za" << 0 << first << 2 << QString::fromUtf8("ż");
        QTest::newRow("a wrong key does not move it") << "zx" << 0 << first << 1 << "a";
        QTest::newRow("accepted errors move it") << "zx" << 1 << first << 2 << QString::fromUtf8("ż");
        QTest::newRow("Enter next") << QString::fromUtf8("zaż") << 0 << first << 3 << "\n";
        QTest::newRow("last line") << QString::fromUtf8("zaż\rg") << 0 << QString::fromUtf8("gęś") << 1
                                   << QString::fromUtf8("ę");
    }
    void screenReaderReadsTheLine()
    {
        QFETCH(QString, keys);
        QFETCH(int, errorType);
        QFETCH(QString, line);
        QFETCH(int, caret);
        QFETCH(QString, next);
        Running lesson(storedText({ QString::fromUtf8("zaż"), QString::fromUtf8("gęś") }), errorType);
        QVERIFY(lesson.start());
        lesson.type(keys);
        QAccessibleInterface *reader = QAccessible::queryAccessibleInterface(lesson.lesson.get());
        QVERIFY(reader && reader->textInterface());
        QVERIFY(!reader->text(QAccessible::Name).isEmpty());
        QAccessibleTextInterface &text = *reader->textInterface();
        QCOMPARE(text.text(0, text.characterCount()), line);
        QCOMPARE(text.cursorPosition(), caret);
        int start = -1, end = -1;
        QCOMPARE(text.textAtOffset(caret, QAccessible::CharBoundary, &start, &end), next);
        // The reader's character lies where the character is drawn.
        const QRect at = text.characterRect(caret);
        QVERIFY(!at.isEmpty());
        QCOMPARE(text.offsetAtPoint(at.center()), caret);
        QCOMPARE(lesson->mapFromGlobal(at.topLeft()).y(), lesson.textBand(lesson->engine().currentLine()).top());
    }

    void rowsFitAboveTheKeyboard_data()
    {
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("rows");
        QTest::newRow("a 480-pixel lesson window") << 480 << 7;
        QTest::newRow("the main window's client") << 458 << 7;
        QTest::newRow("a low window") << 300 << 3;
        QTest::newRow("no room at all still shows one row") << 200 << 1;
    }

    void rowsFitAboveTheKeyboard()
    {
        QFETCH(int, height);
        QFETCH(int, rows);
        Running lesson(storedText(numberedLines(12)), 0, height);
        lesson.options.ShowKeyb = false;
        QVERIFY(lesson.start());
        QCOMPARE(lesson->lineHeight(), 14);
        QCOMPARE(lesson->rowPitch(), 38);
        QCOMPARE(lesson->engine().lastRowIndex() + 1, rows);
        // The keyboard area below the rows stays free of text.
        const QImage shown = lesson.onScreen();
        const QRect keyboard = lesson->keyboardArea();
        const QRgb free = lesson->palette().color(QPalette::Window).rgb();
        for (int y = std::max(0, keyboard.top()); y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                QCOMPARE(shown.pixel(x, y), free);
    }

    void keyboardPicture_data()
    {
        QTest::addColumn<bool>("showKeyb");
        QTest::newRow("shown") << true;
        QTest::newRow("switched off") << false;
    }

    // The keyboard picture stands at the left edge and the bottom, unless
    // the learner switched it off.
    void keyboardPicture()
    {
        QFETCH(bool, showKeyb);
        Running lesson(storedText({ QStringLiteral("abc") }), 0, 480, true);
        lesson.options.ShowKeyb = showKeyb;
        const QRgb green = qRgb(10, 120, 10);
        static_cast<PictureLesson &>(*lesson).showPicture(solidPicture(600, TLesson1::kKeyboardHeight, green));
        QVERIFY(lesson.start());
        lesson.type(QStringLiteral("ab"));
        const QImage shown = lesson.onScreen();
        QCOMPARE(shown, lesson.repainted());
        const QRgb free = lesson->palette().color(QPalette::Window).rgb();
        const int top = 480 - TLesson1::kKeyboardHeight;
        QCOMPARE(shown.pixel(0, top), showKeyb ? green : free);
        QCOMPARE(shown.pixel(599, 479), showKeyb ? green : free);
        QCOMPARE(shown.pixel(600, top), free);
        QCOMPARE(shown.pixel(0, top - 1), lesson->palette().color(QPalette::Base).rgb());
    }

    // The keyboard picture marks the next key and the Shift or right Alt to
    // hold: every pixel of a marked area is the picture's pixel ANDed with
    // the highlight colour, every other one the picture's own. What a
    // keystroke repainted is what a whole repaint shows.
    void marksTheNextKey_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("showNext");
        QTest::newRow("a") << QStringLiteral("xa") << QStringLiteral("x") << true;
        QTest::newRow("A and the right Shift") << QStringLiteral("xA") << QStringLiteral("x") << true;
        QTest::newRow("H and the left Shift") << QStringLiteral("H") << QString() << true;
        QTest::newRow("ą and the right Alt") << QStringLiteral("ą") << QString() << true;
        QTest::newRow("Ł, the left Shift and the right Alt") << QStringLiteral("Ł") << QString() << true;
        QTest::newRow("Ż, the right Shift and the right Alt") << QStringLiteral("Ż") << QString() << true;
        QTest::newRow("a line end: the L-shaped Enter") << QStringLiteral("ab\nc") << QStringLiteral("ab") << true;
        QTest::newRow("marking off: the picture alone") << QStringLiteral("xA") << QStringLiteral("x") << false;
    }

    void marksTheNextKey()
    {
        QFETCH(QString, line);
        QFETCH(QString, typed);
        QFETCH(bool, showNext);
        Running lesson(storedText({ line }));
        lesson.options.ShowNext = showNext;
        QVERIFY(lesson.start());
        QVERIFY(lesson->hasPicture());
        lesson.type(typed);
        const QImage shown = lesson.onScreen();
        QCOMPARE(shown, lesson.repainted());

        const unsigned char next = lesson->engine().text().expectedChar;
        const MarkedKeys marked = markedMainKeys(next, TypingEngine::plainSameKey);
        QVERIFY(marked.count > 0);
        QRegion region;
        for (int i = 0; i < marked.count; ++i) {
            const KeyArea &a = marked.areas[std::size_t(i)];
            region += QRect(a.left, a.top, a.width, a.height);
        }
        const QImage &picture = lesson->picture();
        const QRgb highlight = lesson->highlightColour().rgb();
        const int top = shown.height() - picture.height();
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                const QRgb own = picture.pixel(x, y);
                const QRgb expected = showNext && region.contains(QPoint(x, y)) ? (own & highlight) : own;
                if ((shown.pixel(x, top + y) & 0xFFFFFF) != (expected & 0xFFFFFF))
                    QFAIL(qPrintable(QStringLiteral("pixel %1,%2").arg(x).arg(y)));
            }
        }
    }

    // The keyboard view's Caps Lock key is lit while Caps Lock is on.
    void capsLockKeyIsLit()
    {
        Running lesson(storedText({ QStringLiteral("abc") }));
        QVERIFY(lesson.start());
        const QImage &picture = lesson->picture();
        const QPoint face(kCapsLockArea.left + 2, kCapsLockArea.top + 2);
        const int top = lesson->height() - picture.height();
        const auto shown = [&] { return lesson.onScreen().pixel(face.x(), top + face.y()) & 0xFFFFFF; };
        QCOMPARE(shown(), picture.pixel(face) & 0xFFFFFF);
        lesson->setCapsLockLit(true);
        QVERIFY(shown() != (picture.pixel(face) & 0xFFFFFF));
        QCOMPARE(lesson.repainted().pixel(face.x(), top + face.y()) & 0xFFFFFF, shown());
        lesson->setCapsLockLit(false);
        QCOMPARE(shown(), picture.pixel(face) & 0xFFFFFF);
    }

    // Left Alt with a letter, when a Polish letter is due, opens no menu:
    // the status bar says which Alt makes Polish letters.
    void leftAltForAPolishLetter_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("hint");
        QTest::newRow("ł is due") << QStringLiteral("ła") << true;
        QTest::newRow("Ż is due") << QStringLiteral("Ża") << true;
        QTest::newRow("l is due: Alt+L is the menu's") << QStringLiteral("la") << false;
    }

    void leftAltForAPolishLetter()
    {
        QFETCH(QString, line);
        QFETCH(bool, hint);
        LessonLibrary library;
        library.addText(kLessonNumber, storedText({ line }));
        TOptions options;
        options.Click = false;
        ManualClock clock;
        QMainWindow frame;
        frame.resize(640, 480);
        auto *lesson = new TLesson1(&frame, options, kLessonNumber, clock);
        QVERIFY(lesson->LoadText(library));
        frame.setCentralWidget(lesson);
        frame.show();
        frame.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&frame));
        lesson->setFocus();
        bool menuAsked = false;
        auto *menuKey = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_L), &frame);
        connect(menuKey, &QShortcut::activated, this, [&menuAsked] { menuAsked = true; });
        QTest::keyClick(frame.windowHandle(), Qt::Key_L, Qt::AltModifier);
        QCOMPARE(frame.statusBar()->currentMessage(), hint ? TLesson1::rightAltHint() : QString());
        QCOMPARE(menuAsked, !hint);
        QCOMPARE(int(lesson->engine().typedCount()), 0);
    }

    // Once the current line passes the last row, each new line moves the
    // text up by exactly one row.
    void scrollsOneLineAtATime()
    {
        const QStringList lines = numberedLines(12);
        Running lesson(storedText(lines));
        QVERIFY(lesson.start());
        const int last = lesson->engine().lastRowIndex();
        QVERIFY(last >= 2);
        for (int i = 0; i < last; ++i)
            lesson.type(lines[i] + QLatin1Char('\r'), 20);
        lesson.type(lines[last], 20);
        lesson->clearFocus(); // no caret in the pictures compared
        const QImage before = lesson.onScreen();
        QCOMPARE(lesson->engine().topLineIndex(), 0);

        for (int scroll = 1; scroll <= 2; ++scroll) {
            lesson->setFocus();
            lesson.type(QStringLiteral("\r"), 20);
            QCOMPARE(lesson->engine().topLineIndex(), scroll);
            QCOMPARE(lesson->engine().currentLine(), last + scroll);
            QCOMPARE(lesson->caretRect().top(), lesson.typedBand(last).top());
            lesson->clearFocus();
            const QImage after = lesson.onScreen();
            QCOMPARE(after, lesson.repainted());
            // Every row shows what the row below it showed before.
            for (int row = 0; row + scroll <= last; ++row)
                QCOMPARE(after.copy(lesson.rowPair(row)), before.copy(lesson.rowPair(row + scroll)));
            // The new line is in the last row, nothing typed under it yet.
            QCOMPARE(colourRuns(after, lesson.typedBand(last)), QString());
            QVERIFY(after.copy(lesson.textBand(last)) != before.copy(lesson.textBand(last)));
            if (scroll == 1)
                lesson.type(lines[last + 1], 20);
        }
    }

    void statusLine()
    {
        Running lesson(storedText({ QString(30, QLatin1Char('a')), QString(30, QLatin1Char('s')),
            QString(30, QLatin1Char('d')), QString(30, QLatin1Char('f')), QString(30, QLatin1Char('j')) }));
        QSignalSpy spy(lesson.lesson.get(), &TLesson1::statusTextChanged);
        QVERIFY(lesson.start());
        const QString atStart = QStringLiteral("Czas: 00:00:00    0 błędów        — znaków/min.    1 z 5 linii");
        QCOMPARE(lesson->statusText(), atStart);
        QVERIFY(!spy.isEmpty());
        QCOMPARE(spy.last().at(0).toString(), atStart);

        // 3 wrong and 120 right keystrokes, 60 s of typing in all, 65 ticks.
        lesson.type(QStringLiteral("qqq"), 488);
        QString right;
        for (int i = 0; i < 120; ++i)
            right += i % 31 == 30 ? QChar(u'\r') : QChar(u"asdfj"[i / 31]);
        lesson.type(right.left(119), 488);
        lesson.type(right.right(1), 60000 - 122 * 488);
        lesson.tick(65);
        const QString after = QStringLiteral("Czas: 00:01:05    3 błędy    123.0 znaków/min.    4 z 5 linii");
        QCOMPARE(lesson->statusText(), after);
        QCOMPARE(spy.last().at(0).toString(), after);

        // Other timers are not the lesson's seconds.
        QTimerEvent other(lesson->lessonTimerId() + 1000);
        QCoreApplication::sendEvent(lesson.lesson.get(), &other);
        QCOMPARE(lesson->statusText(), after);

        // The window's clean-up empties the status bar.
        lesson.lesson.reset();
        QCOMPARE(spy.last().at(0).toString(), QString());
    }

    void pauseKeepsTheTime()
    {
        Running lesson(storedText({ QStringLiteral("abcdef") }));
        QVERIFY(lesson.start());
        QVERIFY(lesson->lessonTimerId() != 0);
        lesson.type(QStringLiteral("abcd"), 250);
        lesson.tick(3);
        lesson.clock.advance(1000);
        lesson->TogglePause();
        const int stoppedTimer = lesson->lessonTimerId();
        QCOMPARE(stoppedTimer, 0);
        const QString paused = lesson->statusText();
        QVERIFY(paused.startsWith(QStringLiteral("Czas: 00:00:03")));

        lesson.clock.advance(28000);
        QApplication::processEvents();
        lesson.repainted();
        QCOMPARE(lesson->statusText(), paused);

        // Typing resumes the lesson; the paused span is not typing time.
        lesson.type(QStringLiteral("e"), 0);
        QVERIFY(!lesson->engine().paused());
        QVERIFY(lesson->lessonTimerId() != 0);
        QCOMPARE(
            lesson->statusText(), QStringLiteral("Czas: 00:00:03    0 błędów    150.0 znaków/min.    1 z 1 linii"));
        lesson.tick(1);
        QVERIFY(lesson->statusText().startsWith(QStringLiteral("Czas: 00:00:04")));

        // The instruction asked for while paused does not restart the clock.
        lesson->TogglePause();
        lesson->StartLesson();
        QCOMPARE(lesson->lessonTimerId(), 0);
        QVERIFY(lesson->engine().paused());
    }

    void lessonFinishedArrivesOnce_data()
    {
        QTest::addColumn<QString>("body");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<float>("accuracy");
        QTest::newRow("ends on its last character") << "ab\nc"
                                                    << "ab\rxc" << 80.0F;
        QTest::newRow("ends at the key after the final line break") << "ab\ncd\n"
                                                                    << "ab\rcd\rz" << 100.0F;
    }

    void lessonFinishedArrivesOnce()
    {
        QFETCH(QString, body);
        QFETCH(QString, keys);
        QFETCH(float, accuracy);
        Running lesson(storedText({ body }));
        QVERIFY(lesson.start());
        lesson.type(keys, 250);
        QVERIFY(lesson->isFinished());
        // Posted, not sent: it arrives once the keystroke is over.
        QCOMPARE(lesson.parent.finished, 0);
        lesson.type(QStringLiteral("cd\r"));
        QApplication::processEvents();
        QCOMPARE(lesson.parent.finished, 1);
        QApplication::processEvents();
        QCOMPARE(lesson.parent.finished, 1);

        // The keys after the end changed nothing the parent reads.
        QCOMPARE(lesson->engine().results().speed, 240.0F); // a key every 250 ms
        QCOMPARE(lesson->engine().results().accuracy, accuracy);
        QCOMPARE(lesson->lessonTimerId(), 0);
    }

    void longTextsTypeToTheEnd_data()
    {
        QTest::addColumn<int>("errorType");
        QTest::newRow("waiting for the right key") << 0;
        QTest::newRow("accepting errors") << 1;
    }

    // A practical text's 138 lines with one line far longer than 99
    // characters, typed to the end with some mistakes.
    void longTextsTypeToTheEnd()
    {
        QFETCH(int, errorType);
        QStringList lines = numberedLines(138, 70);
        lines[60] = numberedLines(1, 150).first();
        Running lesson(storedText(lines), errorType);
        QVERIFY(lesson.start());
        int keys = 0;
        while (!lesson->isFinished() && keys < 40000) {
            const unsigned char expected = lesson->engine().text().expectedChar;
            QString key = expected == '\r' ? QStringLiteral("\r") : QString(QChar(expected));
            if (++keys % 17 == 0)
                key = expected == 'q' ? QStringLiteral("w") : QStringLiteral("q");
            lesson.type(key, 150);
            if (keys % 500 == 0)
                QCOMPARE(lesson.onScreen(), lesson.repainted());
        }
        QVERIFY(lesson->isFinished());
        QApplication::processEvents();
        QCOMPARE(lesson.parent.finished, 1);
        QCOMPARE(lesson->engine().currentLine(), 137);
        QVERIFY(lesson->statusText().endsWith(QStringLiteral("138 z 138 linii")));
        QCOMPARE(lesson->engine().topLineIndex(), 137 - lesson->engine().lastRowIndex());
        const QImage shown = lesson.onScreen();
        QCOMPARE(shown, lesson.repainted());
        QVERIFY(colourRuns(shown, lesson.typedBand(lesson->engine().lastRowIndex())).contains(QLatin1Char('B')));
    }

    void keysThatAreNoLessonKeys_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("modifiers");
        QTest::newRow("backspace") << int(Qt::Key_Backspace) << "\b" << int(Qt::NoModifier);
        QTest::newRow("escape") << int(Qt::Key_Escape) << "\x1b" << int(Qt::NoModifier);
        QTest::newRow("vertical bar") << int(Qt::Key_Bar) << "|" << int(Qt::NoModifier);
        QTest::newRow("euro sign, no lesson character")
            << int(Qt::Key_unknown) << QString::fromUtf8("€") << int(Qt::NoModifier);
        QTest::newRow("a character without a code")
            << int(Qt::Key_unknown) << QString::fromUtf8("中") << int(Qt::NoModifier);
        QTest::newRow("Ctrl+a") << int(Qt::Key_A) << "\x01" << int(Qt::ControlModifier);
        QTest::newRow("Alt+a opens menus, types nothing") << int(Qt::Key_A) << "a" << int(Qt::AltModifier);
        QTest::newRow("F1") << int(Qt::Key_F1) << "" << int(Qt::NoModifier);
    }

    void keysThatAreNoLessonKeys()
    {
        QFETCH(int, key);
        QFETCH(QString, text);
        QFETCH(int, modifiers);
        Running lesson(storedText({ QStringLiteral("abc") }));
        QVERIFY(lesson.start());
        QTest::sendKeyEvent(QTest::Press, lesson.lesson.get(), Qt::Key(key), text, Qt::KeyboardModifiers(modifiers));
        QCOMPARE(int(lesson->engine().typedCount()), 0);
        // Passed on to the parent (after any modifier keys held with it).
        QVERIFY(!lesson.parent.passedKeys.isEmpty());
        QCOMPARE(lesson.parent.passedKeys.last(), key);
        // AltGr (Ctrl+Alt on some systems) still types its letter.
        QTest::sendKeyEvent(
            QTest::Press, lesson.lesson.get(), Qt::Key_A, QStringLiteral("a"), Qt::ControlModifier | Qt::AltModifier);
        QCOMPARE(int(lesson->engine().typedCount()), 1);
    }

    // Polish letters arrive as key text (AltGr) or as composed input.
    void polishLettersFromKeysAndInputMethods()
    {
        Running lesson(storedText({ QString::fromUtf8("zażółć gęślą") }));
        QVERIFY(lesson.start());
        lesson.type(QString::fromUtf8("zaż"));
        QInputMethodEvent composed;
        composed.setCommitString(QString::fromUtf8("ó"));
        QCoreApplication::sendEvent(lesson.lesson.get(), &composed);
        QInputMethodEvent two;
        two.setCommitString(QString::fromUtf8("łć"));
        QCoreApplication::sendEvent(lesson.lesson.get(), &two);
        QInputMethodEvent preedit(QString::fromUtf8("´"), {});
        QCoreApplication::sendEvent(lesson.lesson.get(), &preedit);
        QCOMPARE(int(lesson->engine().typedCount()), 6);
        QCOMPARE(int(lesson->engine().errorCount()), 0);
        QCOMPARE(bytes(lesson->engine().typedRow(0)), bytes(W("zażółć")));
        QCOMPARE(lesson->inputMethodQuery(Qt::ImCursorRectangle).toRect(), lesson->caretRect());
    }

    void instructionAtTheFirstPaint_data()
    {
        QTest::addColumn<QString>("instruction");
        QTest::addColumn<int>("boxes");
        QTest::newRow("an instruction") << QString::fromUtf8("Połóż palce na klawiszach.") << 1;
        QTest::newRow("an empty instruction is not shown") << QString() << 0;
        QTest::newRow("a lone plus mark leaves it empty") << QStringLiteral("+") << 0;
    }

    void instructionAtTheFirstPaint()
    {
        QFETCH(QString, instruction);
        QFETCH(int, boxes);
        Running lesson(storedText({ QStringLiteral("abc") }, instruction.toUtf8().constData()));
        QVERIFY(lesson.start());
        QCOMPARE(m_recorder->boxes.size(), boxes);
        if (boxes) {
            QCOMPARE(m_recorder->boxes[0].kind, Messages::Kind::Information);
            QCOMPARE(m_recorder->boxes[0].caption, QStringLiteral("Instrukcja"));
            QCOMPARE(m_recorder->boxes[0].text, instruction);
        }
        QVERIFY(lesson->lessonTimerId() != 0);
        // Later paints do not show it again; asking for it does.
        lesson->repaint();
        QApplication::processEvents();
        QCOMPARE(m_recorder->boxes.size(), boxes);
        lesson->StartLesson();
        QCOMPARE(m_recorder->boxes.size(), 2 * boxes);
        QVERIFY(lesson->lessonTimerId() != 0);
    }

    void highlightColourDialog()
    {
        Running lesson(storedText({ QStringLiteral("abc") }));
        QVERIFY(lesson.start());
        const QColor standard(128, 128, 255);
        QCOMPARE(lesson->highlightColour(), standard);

        // Answers the colour dialog the next right double click opens.
        QList<QColor> customSeen;
        auto answer = [&](const QColor &choice, bool accept, int changeCustom) {
            QTimer::singleShot(0, [&, choice, accept, changeCustom] {
                auto *dialog = qobject_cast<QColorDialog *>(QApplication::activeModalWidget());
                if (!dialog)
                    return;
                customSeen.clear();
                for (int i = 0; i < QColorDialog::customCount(); ++i)
                    customSeen << QColorDialog::customColor(i);
                if (changeCustom >= 0)
                    QColorDialog::setCustomColor(changeCustom, QColor(10, 20, 30));
                dialog->setCurrentColor(choice);
                accept ? dialog->accept() : dialog->reject();
            });
            QTest::mouseDClick(lesson.lesson.get(), Qt::RightButton, Qt::NoModifier, QPoint(50, 50));
        };

        answer(QColor(0, 200, 0), false, 3);
        QCOMPARE(customSeen.size(), 16);
        QCOMPARE(customSeen[0], QColor(1, 1, 1));
        for (int i = 1; i < 16; ++i)
            QCOMPARE(customSeen[i], QColor(16 * i, 16 * i, 16 * i));
        QCOMPARE(lesson->highlightColour(), standard); // cancelled

        answer(QColor(0, 200, 0), true, -1);
        QCOMPARE(customSeen[3], QColor(10, 20, 30)); // the learner's change is kept
        QCOMPARE(customSeen[4], QColor(64, 64, 64));
        QCOMPARE(lesson->highlightColour(), QColor(0, 200, 0));

        // A left double click opens nothing.
        bool opened = false;
        QTimer::singleShot(0, [&] {
            if (QWidget *dialog = QApplication::activeModalWidget()) {
                opened = true;
                dialog->close();
            }
        });
        QTest::mouseDClick(lesson.lesson.get(), Qt::LeftButton, Qt::NoModifier, QPoint(50, 50));
        QApplication::processEvents();
        QVERIFY(!opened);
        QCOMPARE(lesson->highlightColour(), QColor(0, 200, 0));

        // Every new lesson starts with the standard colour.
        Running next(storedText({ QStringLiteral("abc") }));
        QCOMPARE(next->highlightColour(), standard);
    }

    void missingTextIsNoLesson()
    {
        Running lesson(storedText({ QStringLiteral("abc") }));
        LessonLibrary empty;
        QVERIFY(!lesson->LoadText(empty));
        LessonLibrary broken;
        broken.addText(kLessonNumber, "no line break at all");
        QVERIFY(!lesson->LoadText(broken));
        QVERIFY(m_recorder->boxes.isEmpty());
    }
};

QTEST_MAIN(TestLessonScreen)
#include "tst_lessonscreen.moc"
