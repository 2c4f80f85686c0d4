#include "lessons/typingengine.h"

#include <algorithm>

namespace {
constexpr std::uint32_t kLongGapMs = 10000; // an idle gap longer than this ...
constexpr std::uint32_t kLongGapCountsAs = 10; // ... adds only 10 ms of typing time
} // namespace

void TypingEngine::load(LessonText text)
{
    m_text = std::move(text);
    m_text.expectedChar = static_cast<unsigned char>(m_text.body.c_str()[m_text.expectedPos]);
    sizeTypedStore();
}

// A line change happens whenever the walk steps onto a line feed, so the rows
// are the runs between line feeds. Each row holds at most its run's bytes
// plus a terminating zero; the rows lie end to end, so the store is never
// larger than the text and its line count.
void TypingEngine::sizeTypedStore()
{
    const std::string &body = m_text.body;
    m_rowStarts.assign(1, 0);
    std::size_t runStart = 0;
    for (std::size_t i = 0; i <= body.size(); ++i) {
        if (i == body.size() || body[i] == char(chars::LineFeed)) {
            m_rowStarts.push_back(m_rowStarts.back() + (i - runStart) + 1);
            runStart = i + 1;
        }
    }
    m_typed.assign(m_rowStarts.back(), 0);
    m_currentLine = 0;
    m_column = 0;
    m_topLineIndex = 0;
}

void TypingEngine::start(std::uint32_t now)
{
    m_lastKeyTime = now;
}

bool TypingEngine::isFinishPosition() const
{
    const std::string &body = m_text.body;
    const std::size_t pos = m_text.expectedPos;
    if (pos >= body.size())
        return true;
    return pos + 2 == body.size() && body[pos] == char(chars::CarriageReturn) && body[pos + 1] == char(chars::LineFeed);
}

TypingEngine::TypingEngine(SameKey sameKey)
    : m_sameKey(sameKey ? std::move(sameKey) : SameKey(plainSameKey))
{ }

KeyOutcome TypingEngine::keyTyped(unsigned char c, std::uint32_t now, ErrorMode mode)
{
    KeyOutcome out;
    if (isFinishPosition()) {
        out.finished = true;
        return out;
    }

    int slot = -1;
    for (int i = 0; i < kStatCharCount; ++i) {
        if (m_sameKey(c, StatChars[i])) {
            slot = i;
            break;
        }
    }
    if (slot < 0)
        return out;
    const unsigned char key = StatChars[slot];

    if (m_paused) {
        togglePause(now);
        out.resumed = true;
    }

    // A clock that went backwards (it never should) counts as no time.
    std::uint32_t interval = now >= m_lastKeyTime ? now - m_lastKeyTime : 0;
    if (interval > kLongGapMs)
        interval = kLongGapCountsAs;
    m_typingTime += static_cast<float>(interval);
    m_lastKeyTime = now;

    const unsigned char expected = m_text.expectedChar;
    const std::size_t place = m_text.expectedPos;
    out.counted = true;
    out.correct = m_sameKey(expected, key);
    if (mode == ErrorMode::AcceptErrors || out.correct) {
        out.accept = acceptChar(key, out.correct);
        out.accepted = true;
    }
    if (!out.correct) {
        ++m_errorCount;
        // Wrong keys are few and their pairs fewer: a short list searched in place.
        const auto same = std::find_if(m_confusions.begin(), m_confusions.end(),
            [&](const TConfusion &c) { return c.Expected == expected && c.Typed == key; });
        if (same != m_confusions.end())
            ++same->Count;
        else
            m_confusions.push_back({ expected, key, 1 });
    }
    ++m_typedCount;

    const bool newMissedPlace = !out.correct && place != m_lastMissedPos;
    if (newMissedPlace)
        m_lastMissedPos = place;
    // The keystroke is booked on the character that was expected.
    for (int j = 0; j < kStatCharCount; ++j) {
        if (m_sameKey(expected, StatChars[j])) {
            if (newMissedPlace)
                ++m_missedPlaces[std::size_t(j)];
            TCharCount &count = m_counts[j];
            count.Time += interval;
            if (out.correct)
                ++count.Hits;
            else
                ++count.Misses;
        }
    }

    if (!out.correct)
        out.clip = KeyClip::Error;
    else if (expected == chars::CarriageReturn)
        out.clip = KeyClip::LineEnd;
    else
        out.clip = KeyClip::Key;

    out.finished = m_text.expectedChar == 0;
    return out;
}

AcceptResult TypingEngine::acceptChar(unsigned char typed, bool correct)
{
    AcceptResult result;
    unsigned char shown = typed;
    if (typed == chars::CarriageReturn)
        shown = correct ? 0 : chars::Pilcrow;
    result.shown = shown;
    result.line = m_currentLine;
    result.column = m_column;
    // The store is sized to the text, but a text edited under us must still
    // never be written outside it.
    if (const std::size_t line = static_cast<std::size_t>(m_currentLine); line + 1 < m_rowStarts.size()) {
        const std::size_t at = m_rowStarts[line] + static_cast<std::size_t>(m_column);
        if (at + 1 < m_rowStarts[line + 1])
            m_typed[at] = shown;
    }
    ++m_column;

    std::string &body = m_text.body;
    if (m_text.expectedPos < body.size())
        ++m_text.expectedPos;
    if (m_text.expectedPos < body.size() && body[m_text.expectedPos] == char(chars::LineFeed)) {
        ++m_currentLine;
        ++m_text.expectedPos;
        m_column = 0;
        result.lineChanged = true;
        if (m_currentLine - m_topLineIndex > m_lastRowIndex) {
            ++m_topLineIndex;
            const std::size_t next = body.find(char(chars::LineFeed), m_text.topLinePos);
            m_text.topLinePos = next == std::string::npos ? body.size() : next + 1;
            result.scrolled = true;
        }
    }
    m_text.expectedChar = static_cast<unsigned char>(body.c_str()[m_text.expectedPos]);
    return result;
}

void TypingEngine::togglePause(std::uint32_t now)
{
    if (!m_paused) {
        m_paused = true;
        m_pauseStart = now;
    } else {
        m_paused = false;
        m_lastKeyTime += now - m_pauseStart;
    }
}

float typingSpeed(std::uint32_t typedCount, float typingTime)
{
    if (typedCount == 0 || typingTime == 0.0F)
        return 0.0F;
    return static_cast<float>(double(typedCount) * 60.0 * 1000.0 / double(typingTime));
}

LessonResults TypingEngine::results() const
{
    LessonResults r;
    r.speed = typingSpeed(m_typedCount, m_typingTime);
    if (m_typedCount != 0)
        r.accuracy = static_cast<float>(double(m_typedCount - m_errorCount) * 100.0 / double(m_typedCount));
    return r;
}

std::string_view TypingEngine::typedRow(int line) const
{
    if (line < 0 || static_cast<std::size_t>(line) + 1 >= m_rowStarts.size())
        return {};
    const auto *row = m_typed.data() + m_rowStarts[static_cast<std::size_t>(line)];
    const std::size_t width
        = m_rowStarts[static_cast<std::size_t>(line) + 1] - m_rowStarts[static_cast<std::size_t>(line)];
    std::size_t length = 0;
    while (length < width && row[length] != 0)
        ++length;
    return { reinterpret_cast<const char *>(row), length };
}

std::string_view TypingEngine::lineAt(std::size_t pos) const
{
    const std::string &body = m_text.body;
    if (pos >= body.size())
        return {};
    std::size_t end = pos;
    while (end < body.size() && body[end] != char(chars::CarriageReturn) && body[end] != char(chars::LineFeed))
        ++end;
    return std::string_view(body).substr(pos, end - pos);
}
