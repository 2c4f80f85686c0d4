#include "choice/lessonrows.h"

#include <algorithm>

const char *linesWord(int n)
{
    const int last = (n < 0 ? -n : n) % 10;
    return last >= 2 && last <= 4 ? "linie" : "linii";
}

std::string_view textTitle(std::string_view stored)
{
    return stored.substr(0, std::min(stored.size(), stored.find_first_of("\r\n")));
}

int textLineCount(std::string_view stored)
{
    if (stored.empty())
        return 0;
    return static_cast<int>(std::count(stored.begin() + 1, stored.end(), '\r'));
}

std::string textListRow(std::string_view stored)
{
    const int n = textLineCount(stored);
    std::string row(textTitle(stored));
    row += " (";
    row += std::to_string(n);
    row += ' ';
    row += linesWord(n);
    row += ')';
    return row;
}
