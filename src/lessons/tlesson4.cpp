#include "lessons/tlesson4.h"

#include "lessons/keypadkeys.h"

int TLesson4::markedKey(unsigned char next) const
{
    return keypadKeyFor(next, plusMark());
}

MarkedKeys TLesson4::markedKeys(unsigned char next) const
{
    return markedKeypadKey(markedKey(next));
}

bool TLesson4::SameKey(unsigned char a, unsigned char b) const
{
    return keypadSameKey(a, b, plusMark());
}

LessonDescription TLesson4::describe() const
{
    return { LessonKind::Keypad, textNumber(), {} };
}
