#pragma once

#include "lessons/lessontext.h"
#include "text/statchars.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

// How a lesson reacts to a wrong key (the ErrorType setting).
enum class ErrorMode { WaitForCorrect = 0, AcceptErrors = 1 };

// Which key sound a counted keystroke asks for.
enum class KeyClip { None = 0, Key = 1, LineEnd = 3, Error = 4 };

// Where the walk through the text went by accepting one character.
struct AcceptResult {
    unsigned char shown = 0; // stored in the typed row; 0 draws nothing
    int line = 0; // text line and column it was stored at
    int column = 0;
    bool lineChanged = false;
    bool scrolled = false;
};

// What one keystroke did: how it was judged, and where the text went when
// it moved on.
struct KeyOutcome {
    bool finished = false; // the text is done: the lesson must finish
    bool counted = false; // a lesson key, judged and counted
    bool resumed = false; // it ended a pause
    bool correct = false;
    bool accepted = false; // the text moved on; accept says where
    AcceptResult accept;
    KeyClip clip = KeyClip::None;
};

// Per counted character (StatChars order): the places of the text where it
// was expected and at least one wrong key was pressed.
using PlaceCounts = std::array<std::uint32_t, kStatCharCount>;

// Keystrokes per minute from a count and the typing time in ms; 0 when
// either is 0.
float typingSpeed(std::uint32_t typedCount, float typingTime);

struct LessonResults {
    float speed = 0.0F; // keystrokes per minute
    float accuracy = 0.0F; // per cent
};

// The keystroke model of a running lesson: judging, counting, timing and the
// walk through the text. Times are readings of a millisecond clock; the
// caller supplies them, so the engine never looks at a clock itself.
class TypingEngine
{
public:
    // Whether a typed and an expected character come from the same key:
    // plain equality for most lessons, the lesson's own rule for some.
    using SameKey = std::function<bool(unsigned char, unsigned char)>;

    static bool plainSameKey(unsigned char a, unsigned char b) { return a == b; }

    explicit TypingEngine(SameKey sameKey = plainSameKey);

    // Takes the loaded text and sizes the typed store to it.
    void load(LessonText text);
    LessonText &text() { return m_text; }
    const LessonText &text() const { return m_text; }

    // Window set-up: the first keystroke interval is measured from here.
    void start(std::uint32_t now);

    // Judges one typed character, counts it and, when it is accepted, moves
    // the text on. Characters that no key of StatChars gives are ignored.
    KeyOutcome keyTyped(unsigned char c, std::uint32_t now, ErrorMode mode);

    void togglePause(std::uint32_t now);
    void tick() { ++m_seconds; }

    // Speed and accuracy of the lesson so far; 0 where nothing was counted.
    LessonResults results() const;

    bool isFinishPosition() const;
    bool paused() const { return m_paused; }
    std::uint32_t seconds() const { return m_seconds; }
    std::uint32_t typedCount() const { return m_typedCount; }
    std::uint32_t errorCount() const { return m_errorCount; }
    float typingTime() const { return m_typingTime; }
    const TCharCounts &charCounts() const { return m_counts; }
    // One slip in the wait mode counts every key until the right one; this
    // counts the place once.
    const PlaceCounts &missedPlaces() const { return m_missedPlaces; }
    // Every wrong keystroke as the expected and the typed character, counted.
    const std::vector<TConfusion> &confusions() const { return m_confusions; }
    int currentLine() const { return m_currentLine; }
    int column() const { return m_column; }
    int topLineIndex() const { return m_topLineIndex; }
    int lastRowIndex() const { return m_lastRowIndex; }
    void setLastRowIndex(int index) { m_lastRowIndex = index < 0 ? 0 : index; }

    // What was typed for a text line, up to its first zero; empty for a line
    // not reached.
    std::string_view typedRow(int line) const;

    // The text line that starts at a body position, up to its carriage
    // return (or line feed, or the end).
    std::string_view lineAt(std::size_t pos) const;

private:
    void sizeTypedStore();
    // Stores a character for display and moves on through the text.
    AcceptResult acceptChar(unsigned char typed, bool correct);

    SameKey m_sameKey;
    LessonText m_text;
    TCharCounts m_counts {};
    PlaceCounts m_missedPlaces {};
    std::size_t m_lastMissedPos = std::size_t(-1);
    std::vector<TConfusion> m_confusions;
    std::uint32_t m_seconds = 0;
    std::uint32_t m_lastKeyTime = 0;
    std::uint32_t m_pauseStart = 0;
    bool m_paused = false;
    std::uint32_t m_typedCount = 0;
    std::uint32_t m_errorCount = 0;
    float m_typingTime = 0.0F;
    int m_currentLine = 0;
    int m_column = 0;
    int m_topLineIndex = 0;
    int m_lastRowIndex = 6;
    std::vector<unsigned char> m_typed; // the rows, end to end
    std::vector<std::size_t> m_rowStarts; // where each row begins in m_typed, and the end
};
