#pragma once

#include "images/tcanvas.h"
#include "lessons/clock.h"
#include "lessons/keyboardkeys.h"
#include "lessons/lessonkind.h"
#include "lessons/typingengine.h"

#include <memory>

#include <QBasicTimer>
#include <QColor>
#include <QFont>
#include <QString>

class KeySounds;
class LessonLibrary;
class QPainter;
struct TOptions;

// The lesson window: a stored text shown as pairs of rows, each text line
// with what the learner typed for it underneath, a caret on the typed row
// and the keyboard area at the bottom. It turns keys, ticks and paints into
// calls of its TypingEngine and draws what the engine decided.
//
// When the text is done the lesson posts LessonFinished to its parent, which
// reads the results from the engine.
class TLesson1 : public TCanvas
{
    Q_OBJECT

public:
    // Height of the keyboard area at the bottom of the window.
    static constexpr int kKeyboardHeight = 193;
    // The keyboard picture among the program's pictures.
    static constexpr int kKeyboardPicture = 100;

    TLesson1(QWidget *parent, TOptions &options, int textNumber, Clock &clock = SteadyClock::instance());
    ~TLesson1() override;

    // The lesson's operations; the other lesson kinds replace some of them.
    virtual void DrawLines(QPainter &painter);
    virtual void DrawKeyboard(QPainter &painter, unsigned char next);
    // Shows a character the text moved on with.
    virtual void AcceptChar(const AcceptResult &accepted);
    virtual void ShowStatus();
    virtual LoadOutcome LoadText(const LessonLibrary &library);
    virtual bool SameKey(unsigned char a, unsigned char b) const;
    // The keys the keyboard view marks for the next character.
    virtual MarkedKeys markedKeys(unsigned char next) const;
    // One typed character (Windows-1250). False when it is no lesson key, so
    // the caller passes the key on.
    virtual bool KeyTyped(unsigned char c);
    virtual void ShowLessonMenu();
    // Shows the instruction (if there is one) and starts the one-second timer.
    virtual void StartLesson();
    void TogglePause() override;

    int textNumber() const { return m_textNumber; }
    // What this lesson is, for the learning history.
    virtual LessonDescription describe() const { return { LessonKind::Stored, m_textNumber, {} }; }
    // An instruction that "Instrukcja" can show again.
    bool hasInstruction() const;
    // Practical texts start without their heading line as an instruction.
    void discardInstruction();
    const TypingEngine &engine() const { return m_engine; }
    bool isFinished() const { return m_finished; }
    // The speed and accuracy the learner is judged by.
    virtual LessonResults results() const;
    QString statusText() const { return m_statusText; }

    // Layout in pixels.
    int lineHeight() const { return m_lineHeight; }
    int leftMargin() const { return m_leftMargin; }
    int rowPitch() const { return 2 * m_lineHeight + 10; }
    QRect textArea() const;
    QRect keyboardArea() const;
    // Where the caret stands: on the typed row, after the typed characters.
    QRect caretRect() const;

    // The text line holding the next character to type, ending in "\n" when
    // Enter ends it, and where that character stands in it; what a screen
    // reader reads.
    QString typingLine() const;
    int typingColumn() const;
    // Where a character of that line is drawn, in the window's pixels; an empty
    // rectangle outside it.
    QRect typingCharacterRect(int column) const;

    QColor highlightColour() const { return m_highlightColour; }
    // Lights the keyboard view's Caps Lock key, as the keyboard's own lamp.
    void setCapsLockLit(bool lit);
    bool capsLockLit() const { return m_capsLockLit; }
    // Told in the status bar for a while when the left Alt is used for a Polish letter.
    static QString rightAltHint() { return QStringLiteral("Polskie litery: prawy Alt (AltGr) + litera"); }

    // How long a wrong key's mark stays on the keyboard view.
    static constexpr int kWrongKeyFlashMs = 300;
    // The wrong key being shown in red, 0 when none.
    unsigned char flashedKey() const { return m_flashTimer.isActive() ? m_flashedKey : 0; }
    // The colour dialog of a right double click.
    void chooseHighlightColour();

    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

    // Id of the running one-second timer, 0 while it is stopped.
    int lessonTimerId() const { return m_lessonTimer.timerId(); }

    // The key sounds, loaded when the window is first shown if Click is on.
    // Another set may be put in before that (tests read clips from elsewhere).
    void setKeySounds(std::unique_ptr<KeySounds> sounds);
    const KeySounds &keySounds() const { return *m_sounds; }

signals:
    // The status bar text; empty when the lesson window goes away.
    void statusTextChanged(const QString &text);
    // The main window should show its lesson menu.
    void lessonMenuRequested();
    // Paused by the pause command, or resumed by it or by a key.
    void pausedChanged(bool paused);

protected:
    const TOptions &options() const { return m_options; }
    // Installs a loaded text (for the lesson kinds that make their own).
    void setLessonText(LessonText text);
    void FinishLesson();

    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void timerEvent(QTimerEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void loadPictures() override;

    // How a wrong key is taken: as the options say.
    virtual ErrorMode errorMode() const;
    // After each second of the lesson's clock.
    virtual void secondPassed() { }
    // The time (ms) the speed is measured over: the keystrokes' own.
    virtual float speedTime() const;

private:
    int rowTop(int line) const;
    QRect typedBand(int line) const;
    void showCaretNow();
    void drawCaret(QPainter &painter);
    // Where the marks for a character lie in the window.
    QRegion markRegion(unsigned char next) const;
    void loadKeySounds();
    void flashWrongKey(unsigned char c);
    QRect capsLockRect() const;
    void beginLesson();

    TOptions &m_options;
    int m_textNumber;
    Clock &m_clock;
    TypingEngine m_engine;
    std::unique_ptr<KeySounds> m_sounds;

    QFont m_font;
    int m_lineHeight = 0;
    int m_ascent = 0;
    int m_charHeight = 0;
    int m_leftMargin = 0;
    QColor m_textColour;
    QColor m_correctColour { 0, 0, 255 };
    QColor m_wrongColour { 255, 0, 0 };
    QColor m_backgroundColour;
    QColor m_highlightColour;

    QBasicTimer m_lessonTimer;
    QBasicTimer m_caretTimer;
    QBasicTimer m_flashTimer;
    unsigned char m_flashedKey = 0;
    bool m_capsLockLit = false;
    bool m_caretOn = false;
    bool m_setUp = false;
    bool m_firstPaintPending = true;
    bool m_finished = false;
    int m_soundFailures = 0; // clips not read, still to be reported
    QRect m_paintRect;
    QString m_statusText;
};
