#include "students/tstudent.h"

void RecordCharCounts(TStudent &student, const TCharCounts &counts)
{
    for (int c = 0; c < kStatCharCount; ++c) {
        const TCharCount &count = counts[c];
        TCharStat &stat = student.CharStats[c];
        const bool update = count.Hits > 10 || (stat.Accuracy == 0.0F && count.Hits >= 1);
        if (!update)
            continue;
        const double keystrokes = double(count.Hits) + double(count.Misses);
        if (count.Time != 0)
            stat.Speed = static_cast<float>(keystrokes * 1000.0 * 60.0 / double(count.Time));
        stat.Accuracy = static_cast<float>(double(count.Hits) * 100.0 / keystrokes);
    }
}
