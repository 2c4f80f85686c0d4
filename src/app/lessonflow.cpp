#include "app/lessonflow.h"

#include "lessons/lessongroups.h"

namespace lessonflow {

bool hasSuggestedLesson(int nextLesson, int lessonLimit)
{
    return nextLesson >= lessongroups::kFirstBasicLesson && nextLesson < lessonLimit;
}

NextStep afterSuggestedLesson(int nextLesson, EndAnswer answer, int lessonLimit, bool passed)
{
    NextStep step { nextLesson, 0 };
    const int next = passed ? nextLesson + 1 : nextLesson;
    switch (answer) {
    case EndAnswer::Next:
        step.nextLesson = next;
        step.startLesson = next;
        break;
    case EndAnswer::No:
        step.nextLesson = next;
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
