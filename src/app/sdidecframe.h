#pragma once

#include "students/tstudent.h"

#include <QMainWindow>

class LessonLibrary;
class QLabel;
struct TOptions;

// The program's one main window: menus, status bar and one client, the title
// screen or a running lesson.
class SDIDecFrame : public QMainWindow
{
    Q_OBJECT

public:
    SDIDecFrame(const LessonLibrary &library, TOptions &options, QWidget *parent = nullptr);

    const LessonLibrary &library() const { return m_library; }
    TOptions &options() const { return m_options; }

    // Runs stored lesson `number` as the client, as if it had been chosen
    // from the lesson list. False (the learner is told) when it cannot be loaded.
    bool startStoredLesson(int number);

    // Installs a new client; the previous one is destroyed at once.
    void ReplaceClient(QWidget *client);

    // The lesson's text in the status bar.
    QString statusText() const;

    // Where a finished lesson writes its results.
    float lessonSpeed() const { return m_speed; }
    float lessonAccuracy() const { return m_accuracy; }

protected:
    bool event(QEvent *event) override;

private:
    void lessonFinished();
    void showPlaceholder();

    const LessonLibrary &m_library;
    TOptions &m_options;
    QLabel *m_statusLabel = nullptr;
    // The learner the lessons are recorded for until students can be chosen.
    TStudent m_student;
    float m_speed = 0.0F;
    float m_accuracy = 0.0F;
};
