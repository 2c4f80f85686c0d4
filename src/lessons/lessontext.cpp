#include "lessons/lessontext.h"

#include "lessons/lessonlibrary.h"
#include "text/statchars.h"

#include <algorithm>

void LessonText::setBody(std::string newBody)
{
    body = std::move(newBody);
    expectedPos = 0;
    topLinePos = 0;
    expectedChar = static_cast<unsigned char>(body.c_str()[0]);
    lineCount = countLessonLines(body);
}

int countLessonLines(std::string_view body)
{
    if (body.empty())
        return 1;
    return 1 + static_cast<int>(std::count(body.begin() + 1, body.end(), char(chars::CarriageReturn)));
}

bool parseLessonText(std::string_view stored, LessonText &text)
{
    const std::size_t n = stored.find(char(chars::CarriageReturn));
    if (n == std::string_view::npos)
        return false;
    const bool plus = !stored.empty() && stored.front() == '+';
    text.PlusMark = plus ? 1 : 0;
    const std::size_t flag = plus ? 1 : 0;
    // The instruction ends before the carriage return; a "+" standing alone
    // before it leaves an empty instruction.
    text.Instruction = std::string(stored.substr(flag, n >= flag ? n - flag : 0));
    // The body follows the CR LF; a text cut right after its CR has an empty body.
    const std::size_t bodyStart = std::min(stored.size(), n + 2);
    text.setBody(std::string(stored.substr(bodyStart)));
    return true;
}

bool loadStoredText(const LessonLibrary &library, int number, LessonText &text)
{
    const auto stored = library.text(number);
    if (!stored)
        return false;
    return parseLessonText(*stored, text);
}
