#pragma once

// Typing through a real lesson window, key by key, as a learner would.

#include "lessons/cp1250.h"
#include "lessons/tlesson1.h"

#include <QtTest>

// Types what the lesson expects until its text is done (or a wrong key
// instead of every `wrongEvery`-th key, when that is not 0).
inline void typeToTheEnd(TLesson1 *lesson, int wrongEvery = 0)
{
    for (int keys = 1; keys < 20000 && lesson && !lesson->isFinished(); ++keys) {
        const unsigned char expected = lesson->engine().text().expectedChar;
        if (wrongEvery && keys % wrongEvery == 0)
            QTest::sendKeyEvent(QTest::Click, lesson, Qt::Key_unknown, QStringLiteral("~"), Qt::NoModifier);
        else if (expected == '\r')
            QTest::keyClick(lesson, Qt::Key_Return);
        else
            QTest::sendKeyEvent(QTest::Click, lesson, Qt::Key_unknown,
                QString(QChar(char16_t(cp1250::toCodePoint(expected)))), Qt::NoModifier);
    }
}
