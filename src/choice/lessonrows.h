#pragma once

#include <string>
#include <string_view>

// Rows of the text list: a practical text's first line and how many lines
// follow it, "Kredyty bankowe. (32 linie)".

// "linie" when the last digit is 2, 3 or 4 (so 12 to 14 too), else "linii".
const char *linesWord(int n);

// The first line of a stored text, up to its first CR or LF.
std::string_view textTitle(std::string_view stored);

// Carriage returns in a stored text, not counting one that is its very first byte.
int textLineCount(std::string_view stored);

// The row for a stored text, in Windows-1250 like the text itself.
std::string textListRow(std::string_view stored);
