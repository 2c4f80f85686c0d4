#pragma once

#include "lessons/tlesson1.h"

// A numeric keypad drill from the lesson library. The decimal key counts
// for a point or a comma; a drill whose text begins with "+" ends its lines
// with the keypad's "+" key, as on an adding machine, and Enter is still
// taken there. The keyboard view marks the keypad keys.
class TLesson4 : public TLesson1
{
    Q_OBJECT

public:
    LessonDescription describe() const override;
    using TLesson1::TLesson1;

    bool SameKey(unsigned char a, unsigned char b) const override;
    // The keypad key for the next character; never a Shift or right Alt.
    MarkedKeys markedKeys(unsigned char next) const override;

    // Index in KeypadKeys of the key marked for a next character, or -1.
    int markedKey(unsigned char next) const;

private:
    bool plusMark() const { return engine().text().PlusMark != 0; }
};
