#include "history/studentkeys.h"

#include <cstdlib>
#include <limits>

std::vector<std::int64_t> matchStudentKeys(
    const std::vector<std::string> &names, const std::vector<KnownStudent> &known)
{
    std::vector<std::int64_t> keys(names.size(), 0);
    std::vector<bool> taken(known.size(), false);
    const auto take = [&](std::size_t student, std::size_t k) {
        keys[student] = known[k].key;
        taken[k] = true;
    };

    for (std::size_t s = 0; s < names.size(); ++s) {
        for (std::size_t k = 0; k < known.size(); ++k) {
            if (!taken[k] && known[k].position == int(s) && known[k].name == names[s]) {
                take(s, k);
                break;
            }
        }
    }
    // Of several known students of that name, the one nearest the position.
    for (std::size_t s = 0; s < names.size(); ++s) {
        if (keys[s] != 0)
            continue;
        std::size_t best = known.size();
        long bestDistance = std::numeric_limits<long>::max();
        for (std::size_t k = 0; k < known.size(); ++k) {
            if (taken[k] || known[k].name != names[s])
                continue;
            const long distance = known[k].position < 0 ? std::numeric_limits<long>::max() - 1
                                                        : std::labs(long(known[k].position) - long(s));
            if (distance < bestDistance) {
                bestDistance = distance;
                best = k;
            }
        }
        if (best != known.size())
            take(s, best);
    }
    for (std::size_t s = 0; s < names.size(); ++s) {
        if (keys[s] != 0)
            continue;
        for (std::size_t k = 0; k < known.size(); ++k) {
            if (!taken[k] && known[k].position == int(s)) {
                take(s, k);
                break;
            }
        }
    }
    return keys;
}
