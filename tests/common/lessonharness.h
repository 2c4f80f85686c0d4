#pragma once

// A lesson window as the main window holds it, for the widget tests: a
// 640 x 480 parent that counts LessonFinished, the settings a lesson is made
// with, and typing what the lesson expects, key by key, as a learner would.

#include "common/messagerecorder.h"
#include "text/cp1250.h"
#include "lessons/lessonevents.h"
#include "lessons/tlesson1.h"
#include "settings/toptions.h"

#include <QApplication>
#include <QPointer>
#include <QtTest>

// Counts the LessonFinished notices and the keys the lesson passed on.
class LessonParent : public QWidget
{
public:
    LessonParent() { resize(640, 480); }
    int finished = 0;
    QList<int> passedKeys;

protected:
    bool event(QEvent *event) override
    {
        if (event->type() == LessonFinished) {
            ++finished;
            return true;
        }
        if (event->type() == QEvent::KeyPress) {
            passedKeys.append(static_cast<QKeyEvent *>(event)->key());
            return true;
        }
        return QWidget::event(event);
    }
};

// What every lesson is made with; silent unless a test asks for sounds.
struct LessonSetup {
    TOptions options;
    LessonParent parent;

    LessonSetup() { options.Click = false; }
};

// Answers every message box with "Nie" and remembers it.
using MessageLog = MessageRecorder;

// Shows a loaded lesson and lets its first paint start it.
inline bool showLesson(TLesson1 &lesson, QWidget &parent)
{
    lesson.setGeometry(parent.rect());
    parent.show();
    if (!QTest::qWaitForWindowExposed(&parent))
        return false;
    parent.activateWindow();
    if (!QTest::qWaitForWindowActive(&parent))
        return false;
    lesson.setFocus();
    // The first paint queues the instruction and the timer.
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

// Types what the lesson expects until its text is done (or, when wrongEvery
// is not 0, a wrong key instead of every wrongEvery-th one); the number of
// keys. The lesson may be gone afterwards: the main window replaces it.
inline int typeToTheEnd(TLesson1 *lesson, int wrongEvery = 0)
{
    const QPointer<TLesson1> running(lesson);
    int keys = 0;
    while (running && !running->isFinished() && keys < 20000) {
        ++keys;
        if (wrongEvery && keys % wrongEvery == 0)
            QTest::sendKeyEvent(QTest::Click, running, Qt::Key_unknown, QStringLiteral("~"), Qt::NoModifier);
        else
            pressKey(*running, running->engine().text().expectedChar);
    }
    return keys;
}
