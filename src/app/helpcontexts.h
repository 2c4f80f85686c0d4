#pragma once

#include <map>
#include <string>
#include <string_view>

// Which help page, and which anchor on it, answers each help context number.
// The table is text, one "NUMBER<TAB>PAGE#ANCHOR" a line; 0 is the contents.
std::map<int, std::string> parseHelpContexts(std::string_view table);
