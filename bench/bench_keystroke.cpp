// The core cost of one keystroke while a long text is typed: judging,
// counting and the walk through the text, without any drawing.

#include "benchstats.h"
#include "lessons/typingengine.h"

#include <chrono>
#include <string>

int main()
{
    // A practical text's size: 138 lines of 76 characters.
    std::string body;
    for (int line = 0; line < 138; ++line) {
        if (line)
            body += "\r\n";
        for (int i = 0; i < 76; ++i)
            body += (i % 6 == 5) ? ' ' : char('a' + (line + i) % 26);
    }

    std::vector<double> samples;
    for (int round = 0; round < 5; ++round) {
        LessonText text;
        text.setBody(body);
        TypingEngine engine;
        engine.load(text);
        engine.start(0);
        std::uint32_t now = 0;
        int n = 0;
        for (;;) {
            // Every 20th key is wrong, the rest are right; errors are accepted in odd rounds.
            unsigned char key = engine.text().expectedChar;
            if (++n % 20 == 0)
                key = key == 'q' ? 'w' : 'q';
            const auto mode = round % 2 ? ErrorMode::AcceptErrors : ErrorMode::WaitForCorrect;
            const auto start = std::chrono::steady_clock::now();
            const KeyOutcome out = engine.keyTyped(key, now += 180, mode);
            const auto stop = std::chrono::steady_clock::now();
            samples.push_back(std::chrono::duration<double, std::micro>(stop - start).count());
            if (out.finished)
                break;
        }
    }
    std::printf("%zu keystrokes over a 138-line text\n", samples.size());
    return report("core keystroke (judge, count, walk)", percentiles(samples), "us", 2.0, 10.0) ? 0 : 1;
}
