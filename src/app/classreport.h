#pragma once

#include "app/commandline.h"
#include "history/lessonreport.h"

#include <vector>

class Classroom;
class LessonLibrary;

// What "Klasa" and the lesson report are made of, for the window and for
// palcomir --report alike.
namespace ClassReport {

// The pupils of the list in its order, then those whose results remain after
// they left it (gone), each with their lessons from every computer's history.
std::vector<ClassPupil> pupils(Classroom &classroom, const LessonLibrary &library);

// The report's local time, the library's lesson titles and the Polish
// alphabet order of names, as "Klasa" sorts them.
ReportSources sources(const LessonLibrary &library);

// palcomir --report FILE: the report's CSV file, written whole or not at all,
// with no window and no display. Returns the exit status: 0 once the file is
// written, otherwise 1 with a Polish line on standard error. Problems with
// the class's data that still leave a report are told there too.
int writeCsv(const StartupOptions &options);

} // namespace ClassReport
