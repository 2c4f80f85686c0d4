#pragma once

#include "widgets/dataproblem.h"

#include <QString>

// What the learner reads about a problem with the class's files, in Polish;
// the system's own words, when there are any, on a line of their own. Empty
// for no problem.
QString problemText(const DataProblem &problem);

// A notice rather than a failure: nothing the learner asked for went wrong
// (the class server is away). Told with the information icon, and not while
// a dialog is open.
bool isNotice(const DataProblem &problem);
