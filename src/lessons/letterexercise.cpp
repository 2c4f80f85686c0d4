#include "lessons/letterexercise.h"

#include "lessons/randomsource.h"
#include "text/statchars.h"

#include <array>

namespace {
// Group lengths, drawn at random; a group of n is n - 1 letters and a space.
constexpr std::array<int, 10> kGroupLengths = { 2, 3, 4, 4, 4, 4, 4, 4, 5, 5 };

double shareOfLetters(std::string_view word, std::string_view letters)
{
    int matching = 0;
    for (char c : word)
        matching += letters.find(c) != std::string_view::npos;
    return static_cast<double>(matching) / static_cast<double>(word.size());
}
} // namespace

std::string randomGroupsBody(std::string_view chosen, int lineCount, RandomSource &random)
{
    std::string letters;
    for (char c : chosen) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte != ' ' && byte != chars::CarriageReturn && statCharSlot(byte) >= 0)
            letters += c;
    }
    std::string body;
    if (letters.empty() || lineCount <= 0)
        return body;
    const int k = static_cast<int>(letters.size());
    body.reserve(static_cast<std::size_t>(lineCount) * (kExerciseLineWidth + 2) + 3);
    for (int line = 0; line < lineCount; ++line) {
        int n = 0;
        char previous = 0;
        for (int i = 0; i < kExerciseLineWidth; ++i) {
            if (n == 0)
                n = kGroupLengths[static_cast<std::size_t>(random.random(10))];
            --n;
            char c;
            if (n == 0 && i != 0 && i != kExerciseLineWidth - 1 && previous != ' ')
                c = ' ';
            else
                c = letters[static_cast<std::size_t>(random.random(k))];
            body += c;
            previous = c;
        }
        body += "\r\n";
    }
    return body;
}

std::optional<std::string> wordsBody(
    std::string_view letters, int lineCount, std::string_view wordList, const std::function<void(int)> &onWordTaken)
{
    if (lineCount <= 0)
        return std::nullopt;
    std::string body;
    body.reserve(static_cast<std::size_t>(lineCount) * (kExerciseLineWidth + 2) + 3);
    double best = 0.0;
    double upper = 1.0;
    double lower = 1.0;
    int accepted = 0;
    int takenInRound = 0; // words taken since the bounds last started over
    bool takingLastLevel = false;
    int lineLength = 0;
    int linesLeft = lineCount;

    for (;;) {
        bool anyShare = false;
        std::size_t at = 0;
        while (at < wordList.size()) {
            if (wordList[at] == ' ') {
                ++at;
                continue;
            }
            const std::size_t end = std::min(wordList.size(), wordList.find(' ', at));
            const std::string_view word = wordList.substr(at, end - at);
            at = end;

            const double r = shareOfLetters(word, letters);
            anyShare = anyShare || r > 0.0;
            if (best < r && r < upper)
                best = r;
            if (!(lower < r && r <= upper))
                continue;

            if (onWordTaken)
                onWordTaken(accepted + 1);
            const int length = static_cast<int>(word.size());
            if (lineLength + length >= kExerciseLineWidth) {
                body += "\r\n";
                lineLength = 0;
                if (--linesLeft == 0)
                    return body;
            } else if (lineLength > 0) {
                body += ' ';
                ++lineLength;
            }
            body += word;
            ++accepted;
            ++takenInRound;
            lineLength += length;
        }

        upper = lower;
        lower = best;
        best = 0.0;
        if (lower == 0.0) {
            // No lower level is left. The level in upper, the lowest, is never taken in a
            // round that took words of a higher one. When this round took nothing, it is the
            // only level there is: take it, rather than call the exercise impossible while
            // words hold the chosen letters (or look for another level for ever).
            if (takenInRound == 0 && anyShare && !takingLastLevel) {
                takingLastLevel = true;
                continue;
            }
            if (accepted == 0)
                return std::nullopt;
            // Every share level has been used: the same words again, in the same order.
            upper = 1.0;
            lower = 1.0;
            takenInRound = 0;
            takingLastLevel = false;
        }
    }
}

LessonText exerciseText(std::string body, int lineCount)
{
    LessonText text;
    text.setBody(std::move(body));
    text.lineCount = lineCount;
    return text;
}

std::string wordsMadeOf(std::string_view wordList, std::string_view allowed)
{
    std::string out;
    std::size_t at = 0;
    while (at < wordList.size()) {
        const std::size_t end = std::min(wordList.size(), wordList.find(' ', at));
        const std::string_view word = wordList.substr(at, end - at);
        at = end + 1;
        if (word.empty() || word.find_first_not_of(allowed) != std::string_view::npos)
            continue;
        if (!out.empty())
            out += ' ';
        out += word;
    }
    return out;
}
