#include "app/lessonflow.h"

#include "lessons/lessongroups.h"

namespace lessonflow {

bool hasSuggestedLesson(int nextLesson, int lessonLimit)
{
    return nextLesson >= lessongroups::kFirstBasicLesson && nextLesson < lessonLimit;
}

NextStep afterSuggestedLesson(int nextLesson, EndAnswer answer, int lessonLimit)
{
    NextStep step { nextLesson, 0 };
    switch (answer) {
    case EndAnswer::Next:
        step.nextLesson = nextLesson + 1;
        step.startLesson = step.nextLesson;
        break;
    case EndAnswer::No:
        step.nextLesson = nextLesson + 1;
        break;
    case EndAnswer::Repeat:
        step.startLesson = nextLesson;
        break;
    case EndAnswer::Closed:
        break;
    }
    if (!hasSuggestedLesson(step.startLesson, lessonLimit))
        step.startLesson = 0;
    return step;
}

} // namespace lessonflow
