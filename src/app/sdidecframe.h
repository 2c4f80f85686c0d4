#pragma once

#include "students/studentstore.h"
#include "students/tstudentlist.h"

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

    // Writes the student list to pisarz.sta; false when it could not be
    // written. Called after every change to the list or to a student's
    // results, and at exit.
    bool saveStudents();

    // "Rejestracja": every change to the list is saved at once.
    void openRegistration();

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

    // Every registered student, loaded from pisarz.sta when the window is made.
    TStudentList Roster;

protected:
    bool event(QEvent *event) override;

private:
    void saveStudentsAfterChange();
    void lessonFinished();
    void showPlaceholder();
    // The current student's record, or a blank one that is never recorded.
    TStudent &lessonStudent();

    const LessonLibrary &m_library;
    TOptions &m_options;
    StudentStore m_studentStore;
    bool m_toldSaveFailed = false;
    QLabel *m_statusLabel = nullptr;
    // Handed to lessons run without a current student; results are recorded
    // only for a current student, so nothing ever lands here.
    TStudent m_anonymous;
    float m_speed = 0.0F;
    float m_accuracy = 0.0F;
};
