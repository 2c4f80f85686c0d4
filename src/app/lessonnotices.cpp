#include "app/lessonnotices.h"

#include <array>
#include <utility>

namespace lessonnotices {
namespace {

enum class Case { None, Lower, Upper };

// Lower and upper case of the Polish letters.
constexpr std::array<std::pair<char32_t, char32_t>, 9> kPolish = { {
    { U'ą', U'Ą' },
    { U'ć', U'Ć' },
    { U'ę', U'Ę' },
    { U'ł', U'Ł' },
    { U'ń', U'Ń' },
    { U'ó', U'Ó' },
    { U'ś', U'Ś' },
    { U'ź', U'Ź' },
    { U'ż', U'Ż' },
} };

Case caseOf(char32_t c)
{
    if (c >= U'a' && c <= U'z')
        return Case::Lower;
    if (c >= U'A' && c <= U'Z')
        return Case::Upper;
    for (const auto &[lower, upper] : kPolish) {
        if (c == lower)
            return Case::Lower;
        if (c == upper)
            return Case::Upper;
    }
    return Case::None;
}

} // namespace

std::optional<bool> capsLockFrom(char32_t typed, bool shiftHeld)
{
    const Case c = caseOf(typed);
    if (c == Case::None)
        return std::nullopt;
    return (c == Case::Upper) != shiftHeld;
}

std::optional<bool> numLockFrom(char32_t typed, bool cursorKey)
{
    if (typed >= U'0' && typed <= U'9')
        return true;
    if (cursorKey)
        return false;
    return std::nullopt;
}

std::string noticeText(const LessonState &state)
{
    if (!state.running)
        return {};
    std::string text;
    auto add = [&text](const char *part) {
        if (!text.empty())
            text += ", ";
        text += part;
    };
    if (state.paused)
        add("Pauza");
    if (state.capsLock.value_or(false))
        add("Włączony Caps Lock");
    if (state.keypadDrill && !state.numLock.value_or(true))
        add("Włącz Num Lock");
    return text;
}

} // namespace lessonnotices
