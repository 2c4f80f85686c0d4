#include "history/weakletters.h"

#include "lessons/lessongroups.h"
#include "lessons/lessontext.h"
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

std::string taughtLetters(const LessonLibrary &library, int nextLesson)
{
    std::string seen;
    for (int number = lessongroups::kFirstBasicLesson; number < nextLesson; ++number) {
        LessonText text;
        if (!loadStoredText(library, number, text))
            break;
        for (const char c : text.body) {
            const unsigned char small = smallLetter(static_cast<unsigned char>(c));
            if (isExerciseLetter(small) && seen.find(char(small)) == std::string::npos)
                seen += char(small);
        }
    }
    std::string out;
    for (const char c : alphabet()) {
        if (seen.find(c) != std::string::npos)
            out += c;
    }
    return out;
}

std::string weakLetters(const std::vector<CharTally> &totals, std::string_view taught)
{
    std::map<unsigned char, CharTally> letters;
    for (const CharTally &t : totals) {
        const unsigned char small = smallLetter(t.Char);
        if (!isExerciseLetter(small) || taught.find(char(small)) == std::string_view::npos)
            continue;
        CharTally &sum = letters[small];
        sum.Char = small;
        sum.Hits += t.Hits;
        sum.Misses += t.Misses;
        sum.MissedPlaces += t.MissedPlaces;
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
        const double typed = double(t.Hits) + double(t.MissedPlaces);
        if (typed < kWeakLetterMinimum)
            continue;
        const double keystrokes = double(t.Hits) + double(t.Misses);
        const double speed = t.Time == 0 ? 0.0 : keystrokes * 60000.0 / double(t.Time);
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
