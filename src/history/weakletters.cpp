#include "history/weakletters.h"

#include "text/cp1250.h"

#include <algorithm>
#include <map>
#include <string_view>

namespace {

// Small Polish letters in alphabet order, UTF-8.
constexpr std::string_view kAlphabet = "aąbcćdeęfghijklłmnńoópqrsśtuvwxyzźż";

const std::string &alphabet()
{
    static const std::string letters = cp1250::fromUtf8(kAlphabet);
    return letters;
}

// The small letter of a capital, or the byte itself.
unsigned char smallLetter(unsigned char c)
{
    const std::string capitals = cp1250::fromUtf8("AĄBCĆDEĘFGHIJKLŁMNŃOÓPQRSŚTUVWXYZŹŻ");
    const std::size_t at = capitals.find(char(c));
    return at == std::string::npos ? c : static_cast<unsigned char>(alphabet()[at]);
}

} // namespace

bool isExerciseLetter(unsigned char c)
{
    return alphabet().find(char(c)) != std::string::npos;
}

std::string weakLetters(const std::vector<CharTally> &totals)
{
    std::map<unsigned char, CharTally> letters;
    for (const CharTally &t : totals) {
        const unsigned char small = smallLetter(t.Char);
        if (!isExerciseLetter(small))
            continue;
        CharTally &sum = letters[small];
        sum.Char = small;
        sum.Hits += t.Hits;
        sum.Misses += t.Misses;
        sum.Time += t.Time;
    }

    struct Candidate {
        unsigned char letter;
        double accuracy;
        double speed;
        std::size_t order;
    };
    std::vector<Candidate> candidates;
    for (const auto &[letter, t] : letters) {
        const double typed = double(t.Hits) + double(t.Misses);
        if (typed < kWeakLetterMinimum)
            continue;
        const double speed = t.Time == 0 ? 0.0 : typed * 60000.0 / double(t.Time);
        candidates.push_back({ letter, double(t.Hits) / typed, speed, alphabet().find(char(letter)) });
    }
    std::sort(candidates.begin(), candidates.end(), [](const Candidate &a, const Candidate &b) {
        if (a.accuracy != b.accuracy)
            return a.accuracy < b.accuracy;
        if (a.speed != b.speed)
            return a.speed < b.speed;
        return a.order < b.order;
    });
    std::string out;
    for (const Candidate &c : candidates) {
        if (out.size() == kWeakLetterCount)
            break;
        out += char(c.letter);
    }
    return out;
}
