#pragma once

// A lesson window as the main window holds it, for the widget tests of the
// lesson kinds: a 640 x 480 parent that counts LessonFinished, and a way to
// type what the lesson expects.

#include "common/messagerecorder.h"
#include "lessons/cp1250.h"
#include "lessons/lessonevents.h"
#include "lessons/tlesson1.h"

#include <QApplication>
#include <QtTest>

class LessonParent : public QWidget
{
public:
    LessonParent() { resize(640, 480); }
    int finished = 0;

protected:
    bool event(QEvent *event) override
    {
        if (event->type() == LessonFinished) {
            ++finished;
            return true;
        }
        return QWidget::event(event);
    }
};

// Answers every message box with "Nie" and remembers it.
using MessageLog = MessageRecorder;

// Shows a loaded lesson and lets its first paint start it.
inline bool showLesson(TLesson1 &lesson, LessonParent &parent)
{
    lesson.setGeometry(0, 0, 640, 480);
    parent.show();
    if (!QTest::qWaitForWindowExposed(&parent))
        return false;
    parent.activateWindow();
    if (!QTest::qWaitForWindowActive(&parent))
        return false;
    lesson.setFocus();
    QApplication::processEvents();
    QApplication::processEvents();
    return lesson.hasFocus();
}

// One key press as the keyboard gives it: Enter for a carriage return, the
// character's text otherwise.
inline void pressKey(TLesson1 &lesson, unsigned char c)
{
    if (c == '\r')
        QTest::keyClick(&lesson, Qt::Key_Return);
    else
        QTest::sendKeyEvent(
            QTest::Click, &lesson, Qt::Key_unknown, QString(QChar(char16_t(cp1250::toCodePoint(c)))), Qt::NoModifier);
}

// Types what the lesson expects until its text is done; the number of keys.
inline int typeToTheEnd(TLesson1 &lesson, int limit = 20000)
{
    int keys = 0;
    while (!lesson.isFinished() && keys < limit) {
        pressKey(lesson, lesson.engine().text().expectedChar);
        ++keys;
    }
    return keys;
}
