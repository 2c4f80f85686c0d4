#include "app/helpcontexts.h"

#include <charconv>

std::map<int, std::string> parseHelpContexts(std::string_view table)
{
    std::map<int, std::string> contexts;
    std::size_t at = 0;
    while (at < table.size()) {
        std::size_t end = table.find('\n', at);
        if (end == std::string_view::npos)
            end = table.size();
        std::string_view line = table.substr(at, end - at);
        at = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        const std::size_t tab = line.find('\t');
        if (tab == std::string_view::npos || tab + 1 >= line.size())
            continue;
        int number = 0;
        const auto [ptr, ec] = std::from_chars(line.data(), line.data() + tab, number);
        if (ec != std::errc() || ptr != line.data() + tab)
            continue;
        contexts[number] = std::string(line.substr(tab + 1));
    }
    return contexts;
}
