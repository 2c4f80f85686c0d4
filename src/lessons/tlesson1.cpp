#include "lessons/tlesson1.h"

#include "images/gifresource.h"
#include "lessons/keysounds.h"
#include "lessons/lessonaccessible.h"
#include "lessons/lessonevents.h"
#include "lessons/lessonfont.h"
#include "lessons/lessonlibrary.h"
#include "lessons/statusline.h"
#include "settings/toptions.h"
#include "widgets/messages.h"
#include "widgets/textcodec.h"

#include <algorithm>

#include <QAccessible>
#include <QApplication>
#include <QColorDialog>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>

namespace {

constexpr int kSecondMs = 1000;
constexpr int kRightAltHintMs = 4000;

// What a key event types: its text, and Enter as a carriage return.
QString typedText(const QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        return QStringLiteral("\r");
    // Ctrl, Alt or Meta held alone make a command, not a character (Alt+L
    // opens a menu). Ctrl and Alt together are AltGr on some systems.
    const Qt::KeyboardModifiers held = event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (held == Qt::ControlModifier || held == Qt::AltModifier || (held & Qt::MetaModifier))
        return {};
    return event->text();
}

QColor defaultHighlight()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (screen && screen->depth() <= 8)
        return QColor(0, 0, 160);
    return QColor(128, 128, 255);
}

} // namespace

TLesson1::TLesson1(QWidget *parent, TOptions &options, int textNumber, Clock &clock)
    : TCanvas(parent)
    , m_options(options)
    , m_textNumber(textNumber)
    , m_clock(clock)
    , m_engine([this](unsigned char a, unsigned char b) { return SameKey(a, b); })
    , m_sounds(std::make_unique<KeySounds>())
    , m_font(LessonFont::font())
    , m_highlightColour(defaultHighlight())
{
    const QFontMetrics metrics(m_font);
    m_charHeight = metrics.height();
    m_lineHeight = metrics.height() + metrics.leading();
    m_ascent = metrics.ascent();
    m_leftMargin = metrics.averageCharWidth();

    static const bool accessible = (QAccessible::installFactory(LessonAccessible::create), true);
    Q_UNUSED(accessible);
    setAccessibleName(QStringLiteral("Lekcja"));

    setFont(m_font);
    m_textColour = palette().color(QPalette::Text);
    m_backgroundColour = palette().color(QPalette::Base);

    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_InputMethodEnabled);
    setInputMethodHints(Qt::ImhNoPredictiveText | Qt::ImhNoAutoUppercase);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::IBeamCursor);
    loadPictures();
}

// Decoded once for a zoom: every keystroke and paint draws from the image made here.
void TLesson1::loadPictures()
{
    ScaledPicture keyboard = loadScaledPicture(kKeyboardPicture, screenScaleFactor());
    setPicture(std::move(keyboard.dib), keyboard.scale);
}

TLesson1::~TLesson1()
{
    m_lessonTimer.stop();
    m_caretTimer.stop();
    m_flashTimer.stop();
    m_sounds->release();
    m_statusText.clear();
    emit statusTextChanged(QString());
}

QRect TLesson1::textArea() const
{
    return QRect(0, 0, layoutSize().width(), std::max(0, layoutSize().height() - kKeyboardHeight));
}

QRect TLesson1::keyboardArea() const
{
    return QRect(0, layoutSize().height() - kKeyboardHeight, layoutSize().width(), kKeyboardHeight);
}

int TLesson1::rowTop(int line) const
{
    return (line - m_engine.topLineIndex()) * rowPitch();
}

QRect TLesson1::typedBand(int line) const
{
    return QRect(0, rowTop(line) + m_lineHeight, layoutSize().width(), m_lineHeight);
}

QRect TLesson1::caretRect() const
{
    const int line = m_engine.currentLine();
    const std::string_view row = m_engine.typedRow(line);
    const std::size_t typed = std::min(row.size(), static_cast<std::size_t>(std::max(0, m_engine.column())));
    const int x = m_leftMargin + QFontMetrics(m_font).horizontalAdvance(textcodec::toQString(row.substr(0, typed)));
    const int width = std::max(1, style()->pixelMetric(QStyle::PM_TextCursorWidth, nullptr, this));
    return QRect(x, rowTop(line) + m_lineHeight, width, m_charHeight);
}

namespace {
// The body position where the line holding pos starts.
std::size_t lineStart(const std::string &body, std::size_t pos)
{
    const std::size_t lineFeed = pos == 0 ? std::string::npos : body.rfind('\n', std::min(pos, body.size()) - 1);
    return lineFeed == std::string::npos ? 0 : lineFeed + 1;
}
} // namespace

QString TLesson1::typingLine() const
{
    const LessonText &text = m_engine.text();
    const std::size_t start = lineStart(text.body, text.expectedPos);
    const std::string_view line = m_engine.lineAt(start);
    const bool broken = start + line.size() < text.body.size() && text.body[start + line.size()] == '\r';
    return textcodec::toQString(line) + (broken ? QStringLiteral("\n") : QString());
}

int TLesson1::typingColumn() const
{
    const LessonText &text = m_engine.text();
    const std::size_t pos = std::min(text.expectedPos, text.body.size());
    return static_cast<int>(pos - lineStart(text.body, pos));
}

QRect TLesson1::typingCharacterRect(int column) const
{
    const QString line = typingLine();
    if (column < 0 || column >= line.size())
        return {};
    const QFontMetrics metrics(m_font);
    const int x = m_leftMargin + metrics.horizontalAdvance(line.left(column));
    const int width = std::max(1, metrics.horizontalAdvance(line.at(column)));
    return layoutTransform().mapRect(QRectF(x, rowTop(m_engine.currentLine()), width, m_lineHeight)).toAlignedRect();
}

ErrorMode TLesson1::errorMode() const
{
    return m_options.ErrorType == 1 ? ErrorMode::AcceptErrors : ErrorMode::WaitForCorrect;
}

// ---- the lesson's operations ----

void TLesson1::DrawLines(QPainter &painter)
{
    const QRect area = textArea();
    painter.save();
    painter.setClipRect(area, Qt::IntersectClip);
    painter.fillRect(area & m_paintRect, m_backgroundColour);
    painter.setFont(m_font);
    const QFontMetrics metrics(m_font);

    const std::string &body = m_engine.text().body;
    const int currentLine = m_engine.currentLine();
    std::size_t pos = m_engine.text().topLinePos;
    for (int k = 0; k <= m_engine.lastRowIndex(); ++k) {
        if (pos >= body.size())
            break;
        // A row is what lies between line feeds, as in the engine's walk;
        // the text shown ends at the carriage return.
        const std::size_t lineFeed = body.find('\n', pos);
        const std::size_t rowEnd = lineFeed == std::string::npos ? body.size() : lineFeed;
        const std::string_view row = std::string_view(body).substr(pos, rowEnd - pos);
        const std::string_view line = m_engine.lineAt(pos);
        const int lineIndex = m_engine.topLineIndex() + k;
        pos = lineFeed == std::string::npos ? body.size() : lineFeed + 1;

        const int y = k * rowPitch();
        // Only the rows the paint asks for: a keystroke repaints one typed row.
        if (!m_paintRect.intersects(QRect(0, y, area.width(), 2 * m_lineHeight)))
            continue;

        painter.setPen(m_textColour);
        painter.drawText(m_leftMargin, y + m_ascent, textcodec::toQString(line));

        if (lineIndex > currentLine)
            continue;
        const std::string_view typed = m_engine.typedRow(lineIndex);
        // Runs of one colour, each placed after the width of what comes before it.
        std::size_t runStart = 0;
        while (runStart < typed.size()) {
            auto correctAt = [&](std::size_t i) {
                const unsigned char expected = i < row.size() ? static_cast<unsigned char>(row[i]) : '\r';
                return SameKey(expected, static_cast<unsigned char>(typed[i]));
            };
            const bool correct = correctAt(runStart);
            std::size_t runEnd = runStart + 1;
            while (runEnd < typed.size() && correctAt(runEnd) == correct)
                ++runEnd;
            const int x = m_leftMargin + metrics.horizontalAdvance(textcodec::toQString(typed.substr(0, runStart)));
            painter.setPen(correct ? m_correctColour : m_wrongColour);
            painter.drawText(
                x, y + m_lineHeight + m_ascent, textcodec::toQString(typed.substr(runStart, runEnd - runStart)));
            runStart = runEnd;
        }
    }
    painter.restore();
}

void TLesson1::DrawKeyboard(QPainter &painter, unsigned char next)
{
    if (!m_options.ShowKeyb || !hasPicture())
        return;
    const int top = layoutSize().height() - pictureSize().height();
    drawPicture(painter, 0, top);
    // Each pixel ANDed with the colour: light key faces take it, the dark
    // outlines and labels stay readable. The marks go on the picture's own
    // pixels, on the key table scaled as the picture was drawn.
    const int scale = pictureScale();
    painter.save();
    painter.translate(0, top);
    painter.scale(1.0 / scale, 1.0 / scale);
    painter.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
    const auto fill = [&painter, scale](const KeyArea &area, const QColor &colour) {
        const KeyArea a = scaledKeyArea(area, scale);
        painter.fillRect(QRect(a.left, a.top, a.width, a.height), colour);
    };
    const auto fillKeys = [&fill](const MarkedKeys &marked, const QColor &colour) {
        for (int i = 0; i < marked.count; ++i)
            fill(marked.areas[std::size_t(i)], colour);
    };
    if (m_options.ShowNext)
        fillKeys(markedKeys(next), m_highlightColour);
    if (m_capsLockLit)
        fill(kCapsLockArea, QColor(255, 190, 0));
    // A wrong key shows for a moment which key it was, over the next key's mark.
    if (const unsigned char wrong = flashedKey())
        fillKeys(markedKeys(wrong), m_wrongColour);
    painter.restore();
}

MarkedKeys TLesson1::markedKeys(unsigned char next) const
{
    return markedMainKeys(next, [this](unsigned char a, unsigned char b) { return SameKey(a, b); });
}

QRegion TLesson1::markRegion(unsigned char next) const
{
    QRegion region;
    const int top = layoutSize().height() - pictureSize().height();
    const MarkedKeys marked = markedKeys(next);
    for (int i = 0; i < marked.count; ++i) {
        const KeyArea &a = marked.areas[std::size_t(i)];
        region += QRect(a.left, top + a.top, a.width, a.height);
    }
    return region;
}

void TLesson1::AcceptChar(const AcceptResult &accepted)
{
    if (accepted.scrolled) {
        updateLayout(textArea());
    } else {
        updateLayout(typedBand(accepted.line));
        if (accepted.lineChanged)
            updateLayout(typedBand(m_engine.currentLine()));
    }
    showCaretNow();
}

LessonResults TLesson1::results() const
{
    return m_engine.results();
}

float TLesson1::speedTime() const
{
    return m_engine.typingTime();
}

void TLesson1::ShowStatus()
{
    StatusFigures figures;
    figures.seconds = m_engine.seconds();
    figures.errors = m_engine.errorCount();
    figures.typedCount = m_engine.typedCount();
    figures.typingTime = speedTime();
    figures.currentLine = m_engine.currentLine();
    figures.lineCount = m_engine.text().lineCount;
    const QString text = QString::fromStdString(statusLineText(figures));
    if (text == m_statusText)
        return;
    m_statusText = text;
    emit statusTextChanged(text);
}

LoadOutcome TLesson1::LoadText(const LessonLibrary &library)
{
    LessonText text;
    if (!loadStoredText(library, m_textNumber, text))
        return LoadProblem::TextMissing;
    setLessonText(std::move(text));
    return {};
}

bool TLesson1::SameKey(unsigned char a, unsigned char b) const
{
    return a == b;
}

bool TLesson1::KeyTyped(unsigned char c)
{
    // The parent closes a finished lesson on the first LessonFinished; keys
    // that arrive before it does change nothing and finish nothing again.
    if (m_finished)
        return true;
    const unsigned char markedBefore = m_engine.text().expectedChar;
    const KeyOutcome out = m_engine.keyTyped(c, m_clock.now(), errorMode());
    if (!out.counted) {
        if (out.finished)
            FinishLesson();
        return out.finished;
    }
    if (out.resumed) {
        m_lessonTimer.start(kSecondMs, this);
        emit pausedChanged(false);
    }
    if (out.accepted) {
        AcceptChar(out.accept);
        if (QAccessible::isActive()) {
            QAccessibleTextCursorEvent moved(this, typingColumn());
            QAccessible::updateAccessibility(&moved);
        }
    }
    if (!out.correct)
        flashWrongKey(c);
    // Starting a clip only hands it to the audio output, which is already open.
    if (m_options.Click && out.clip != KeyClip::None)
        m_sounds->play(static_cast<int>(out.clip));
    ShowStatus();
    // The mark moves: only the keys it leaves and the keys it goes to.
    const unsigned char markedNow = m_engine.text().expectedChar;
    if (m_options.ShowKeyb && m_options.ShowNext && hasPicture() && markedNow != markedBefore)
        updateLayout(markRegion(markedBefore) | markRegion(markedNow));
    if (out.finished)
        FinishLesson();
    return true;
}

QRect TLesson1::capsLockRect() const
{
    const int top = layoutSize().height() - pictureSize().height();
    return QRect(kCapsLockArea.left, top + kCapsLockArea.top, kCapsLockArea.width, kCapsLockArea.height);
}

void TLesson1::setCapsLockLit(bool lit)
{
    if (lit == m_capsLockLit)
        return;
    m_capsLockLit = lit;
    if (m_options.ShowKeyb && hasPicture())
        updateLayout(capsLockRect());
}

void TLesson1::flashWrongKey(unsigned char c)
{
    if (!m_options.ShowKeyb || !hasPicture())
        return;
    if (const unsigned char before = flashedKey())
        updateLayout(markRegion(before));
    m_flashedKey = c;
    m_flashTimer.start(kWrongKeyFlashMs, this);
    updateLayout(markRegion(c));
}

bool TLesson1::hasInstruction() const
{
    const std::optional<std::string> &instruction = m_engine.text().Instruction;
    return instruction && !instruction->empty();
}

void TLesson1::discardInstruction()
{
    m_engine.text().Instruction.reset();
}

void TLesson1::ShowLessonMenu()
{
    emit lessonMenuRequested();
}

void TLesson1::StartLesson()
{
    m_lessonTimer.stop();
    const std::optional<std::string> &instruction = m_engine.text().Instruction;
    if (instruction && !instruction->empty()) {
        const QPointer<TLesson1> self(this);
        Messages::information(this, QStringLiteral("Instrukcja"), textcodec::toQString(*instruction), true);
        if (!self)
            return;
    }
    // A paused lesson keeps its time until typing resumes it.
    if (!m_engine.paused() && !m_finished)
        m_lessonTimer.start(kSecondMs, this);
}

void TLesson1::TogglePause()
{
    if (m_finished)
        return;
    m_engine.togglePause(m_clock.now());
    if (m_engine.paused())
        m_lessonTimer.stop();
    else
        m_lessonTimer.start(kSecondMs, this);
    emit pausedChanged(m_engine.paused());
}

void TLesson1::setKeySounds(std::unique_ptr<KeySounds> sounds)
{
    if (sounds)
        m_sounds = std::move(sounds);
}

void TLesson1::loadKeySounds()
{
    if (m_options.Click)
        m_soundFailures = static_cast<int>(m_sounds->load(m_options.Type).size());
}

void TLesson1::beginLesson()
{
    // One box for each clip that could not be read, before the instruction;
    // the lesson goes on without those clips.
    const QPointer<TLesson1> self(this);
    while (m_soundFailures > 0) {
        --m_soundFailures;
        Messages::stop(this, QStringLiteral("Błąd wewnętrzny"), QStringLiteral("Błąd odczytu zapisu dźwięku."));
        if (!self)
            return;
    }
    StartLesson();
}

void TLesson1::setLessonText(LessonText text)
{
    m_engine.load(std::move(text));
    update();
}

void TLesson1::FinishLesson()
{
    if (m_finished)
        return;
    m_finished = true;
    m_lessonTimer.stop();
    if (QWidget *parent = parentWidget())
        QCoreApplication::postEvent(parent, new QEvent(LessonFinished));
}

void TLesson1::chooseHighlightColour()
{
    // The custom colours are set up once and then kept, with the learner's
    // changes, for the rest of the run.
    static bool customColoursSet = false;
    if (!customColoursSet) {
        QColorDialog::setCustomColor(0, QColor(1, 1, 1));
        for (int i = 1; i < 16; ++i)
            QColorDialog::setCustomColor(i, QColor(16 * i, 16 * i, 16 * i));
        customColoursSet = true;
    }
    QColorDialog dialog(m_highlightColour, this);
    // Only the program's own dialog shows the custom colours.
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    const QPointer<TLesson1> self(this);
    const int answer = dialog.exec();
    if (!self || answer != QDialog::Accepted || !dialog.selectedColor().isValid())
        return;
    m_highlightColour = dialog.selectedColor();
    update();
}

// ---- events ----

void TLesson1::showEvent(QShowEvent *event)
{
    TCanvas::showEvent(event);
    if (!m_setUp) {
        m_setUp = true;
        loadKeySounds();
        // The first keystroke interval is measured from here.
        m_engine.start(m_clock.now());
    }
    ShowLessonMenu();
}

void TLesson1::paintEvent(QPaintEvent *event)
{
    if (m_firstPaintPending) {
        m_firstPaintPending = false;
        // As many row pairs as fit above the keyboard area; the last one
        // needs no gap below it.
        m_engine.setLastRowIndex((layoutSize().height() - kKeyboardHeight + 10) / rowPitch() - 1);
        // The message boxes must not open inside a paint.
        QMetaObject::invokeMethod(this, &TLesson1::beginLesson, Qt::QueuedConnection);
    }
    QPainter painter(this);
    beginLayoutPaint(painter);
    m_paintRect = layoutRect(event->rect());
    const QRect keyboard = keyboardArea();
    if (keyboard.intersects(m_paintRect)) {
        painter.fillRect(keyboard & m_paintRect, palette().color(QPalette::Window));
        DrawKeyboard(painter, m_engine.text().expectedChar);
    }
    DrawLines(painter);
    drawCaret(painter);
    ShowStatus();
}

void TLesson1::drawCaret(QPainter &painter)
{
    if (!m_caretOn || !hasFocus())
        return;
    const QRect caret = caretRect();
    if (caret.intersects(m_paintRect) && caret.bottom() < keyboardArea().top())
        painter.fillRect(caret, m_textColour);
}

// After a keystroke or a focus change the caret is seen at once, and its
// blinking starts over.
void TLesson1::showCaretNow()
{
    m_caretOn = true;
    updateLayout(caretRect());
    const int flash = QApplication::cursorFlashTime();
    if (hasFocus() && flash > 0)
        m_caretTimer.start(flash / 2, this);
}

bool TLesson1::event(QEvent *event)
{
    // Left Alt with a letter would open a menu ("Lekcja" for L) in the middle
    // of the lesson; when a Polish letter is due, the learner is told which
    // Alt makes it instead.
    if (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool leftAltLetter = (key->modifiers() & ~Qt::ShiftModifier) == Qt::AltModifier && key->key() >= Qt::Key_A
            && key->key() <= Qt::Key_Z;
        if (leftAltLetter && !m_finished && needsRightAlt(m_engine.text().expectedChar)) {
            event->accept();
            if (event->type() == QEvent::KeyPress) {
                if (auto *frame = qobject_cast<QMainWindow *>(window()))
                    frame->statusBar()->showMessage(rightAltHint(), kRightAltHintMs);
            }
            return true;
        }
    }
    return TCanvas::event(event);
}

void TLesson1::keyPressEvent(QKeyEvent *event)
{
    bool used = false;
    const QString text = typedText(event);
    for (const char32_t codePoint : text.toUcs4()) {
        const std::optional<unsigned char> byte = textcodec::byteOf(codePoint);
        if (byte && KeyTyped(*byte))
            used = true;
    }
    if (used)
        event->accept();
    else
        TCanvas::keyPressEvent(event);
}

void TLesson1::inputMethodEvent(QInputMethodEvent *event)
{
    for (const char32_t codePoint : event->commitString().toUcs4()) {
        if (const std::optional<unsigned char> byte = textcodec::byteOf(codePoint))
            KeyTyped(*byte);
    }
    event->accept();
}

QVariant TLesson1::inputMethodQuery(Qt::InputMethodQuery query) const
{
    switch (query) {
    case Qt::ImEnabled:
        return true;
    case Qt::ImCursorRectangle:
        return layoutTransform().mapRect(QRectF(caretRect())).toAlignedRect();
    case Qt::ImFont:
        return m_font;
    case Qt::ImHints:
        return int(inputMethodHints());
    default:
        return TCanvas::inputMethodQuery(query);
    }
}

void TLesson1::timerEvent(QTimerEvent *event)
{
    if (event->timerId() == m_lessonTimer.timerId() && m_lessonTimer.isActive()) {
        m_engine.tick();
        ShowStatus();
        secondPassed();
    } else if (event->timerId() == m_flashTimer.timerId() && m_flashTimer.isActive()) {
        m_flashTimer.stop();
        updateLayout(markRegion(m_flashedKey));
    } else if (event->timerId() == m_caretTimer.timerId() && m_caretTimer.isActive()) {
        m_caretOn = !m_caretOn;
        updateLayout(caretRect());
    } else {
        TCanvas::timerEvent(event);
    }
}

void TLesson1::focusInEvent(QFocusEvent *event)
{
    TCanvas::focusInEvent(event);
    showCaretNow();
}

void TLesson1::focusOutEvent(QFocusEvent *event)
{
    TCanvas::focusOutEvent(event);
    m_caretTimer.stop();
    m_caretOn = false;
    updateLayout(caretRect());
}

void TLesson1::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::RightButton)
        chooseHighlightColour();
    event->accept();
}
