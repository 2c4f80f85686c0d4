#include "choice/lettertable.h"

#include <string_view>

namespace {
// Lower-case letters in lesson order: ż comes before ź here, unlike in the
// table of counted characters.
constexpr std::string_view kLetters = "a\xB9"
                                      "bc\xE6"
                                      "de\xEA"
                                      "fghijkl\xB3"
                                      "mn\xF1"
                                      "o\xF3"
                                      "pqrs\x9C"
                                      "tuvwxyz\xBF\x9F";
constexpr std::string_view kUpper = "A\xA5"
                                    "BC\xC6"
                                    "DE\xCA"
                                    "FGHIJKL\xA3"
                                    "MN\xD1"
                                    "O\xD3"
                                    "PQRS\x8C"
                                    "TUVWXYZ\xAF\x8F";
constexpr std::string_view kDigits = "0123456789";
constexpr std::string_view kSentencePunctuation = "!,.:?";
constexpr std::string_view kOperators = "()*+-/<=>[]^";
} // namespace

int letterLessonNumber(unsigned char c)
{
    const char ch = static_cast<char>(c);
    if (const auto at = kLetters.find(ch); at != std::string_view::npos)
        return static_cast<int>(at) + 1;
    if (const auto at = kUpper.find(ch); at != std::string_view::npos)
        return static_cast<int>(at) + 1;
    if (const auto at = kDigits.find(ch); at != std::string_view::npos)
        return static_cast<int>(at) + 36;
    if (kSentencePunctuation.find(ch) != std::string_view::npos)
        return 46;
    if (kOperators.find(ch) != std::string_view::npos)
        return 47;
    return 0;
}
