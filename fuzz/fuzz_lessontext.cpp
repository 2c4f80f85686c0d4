// A stored lesson text of any bytes, loaded and walked by the typing engine:
// typed correctly it runs to its end (or stops at a character no key gives),
// typed wrongly it keeps its counters and positions inside the text.
#include "fuzzcheck.h"

#include "lessons/lessontext.h"
#include "lessons/typingengine.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace {

void checkPlace(const TypingEngine &engine)
{
    const LessonText &text = engine.text();
    FUZZ_CHECK(text.expectedPos <= text.body.size());
    FUZZ_CHECK(text.topLinePos <= text.body.size());
    FUZZ_CHECK(engine.topLineIndex() <= engine.currentLine());
    FUZZ_CHECK(engine.errorCount() <= engine.typedCount());
    FUZZ_CHECK(engine.lineAt(text.topLinePos).size() <= text.body.size() - text.topLinePos);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view stored(reinterpret_cast<const char *>(data), size);
    LessonText text;
    if (!parseLessonText(stored, text)) {
        FUZZ_CHECK(stored.find('\r') == std::string_view::npos);
        return 0;
    }
    FUZZ_CHECK(text.lineCount == countLessonLines(text.body));
    FUZZ_CHECK(text.Instruction && text.Instruction->size() < size);

    TypingEngine right;
    right.load(text);
    right.start(0);
    std::uint32_t now = 0;
    std::size_t steps = 0;
    while (!right.isFinishPosition()) {
        FUZZ_CHECK(++steps <= text.body.size());
        const KeyOutcome outcome = right.keyTyped(right.text().expectedChar, now += 150, ErrorMode::WaitForCorrect);
        if (!outcome.counted)
            break;
        FUZZ_CHECK(outcome.correct && outcome.accepted);
        checkPlace(right);
    }
    FUZZ_CHECK(right.errorCount() == 0);
    FUZZ_CHECK(right.typedRow(right.currentLine()).size() <= text.body.size());

    // The text's first bytes typed as keys: mostly wrong, all accepted.
    TypingEngine wrong;
    wrong.load(text);
    wrong.start(0);
    for (std::size_t i = 0; i < std::min<std::size_t>(size, 512) && !wrong.isFinishPosition(); ++i) {
        wrong.keyTyped(static_cast<unsigned char>(stored[i]), now += 7000, ErrorMode::AcceptErrors);
        if (i % 64 == 0)
            wrong.togglePause(now);
        checkPlace(wrong);
    }
    FUZZ_CHECK(wrong.typedRow(wrong.currentLine()).size() <= text.body.size());
    const LessonResults results = wrong.results();
    FUZZ_CHECK(results.accuracy >= 0.0F && results.accuracy <= 100.0F && results.speed >= 0.0F);
    return 0;
}
