#pragma once

#include "students/studentstore.h"
#include "students/tstudentlist.h"

#include <QMainWindow>

class LessonLibrary;
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

    // Every registered student, loaded from pisarz.sta when the window is made.
    TStudentList Roster;

private:
    void saveStudentsAfterChange();

    const LessonLibrary &m_library;
    TOptions &m_options;
    StudentStore m_studentStore;
    bool m_toldSaveFailed = false;
};
