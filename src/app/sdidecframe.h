#pragma once

#include "lessons/randomsource.h"
#include "students/studentstore.h"
#include "students/tstudentlist.h"

#include <map>
#include <memory>

#include <QMainWindow>

class HelpWindow;
class LessonLibrary;
class LockKeys;
class QLabel;
class QMenu;
class TCanvas;
class TLesson1;
struct TOptions;

// The program's one main window: two menus, the status bar and one client,
// the title screen or a running lesson. Every command of the program starts
// here; this is also where a lesson is started, aborted and judged.
class SDIDecFrame : public QMainWindow
{
    Q_OBJECT

public:
    // Command numbers of the menus and accelerators.
    enum Command {
        CmRegistration = 101,
        CmStatistics = 102,
        CmOptions = 103,
        CmSuggested = 200,
        CmChooseLesson = 213,
        CmSingleLetter = 214,
        CmTexts = 215,
        CmLetters = 216,
        CmKeypad = 217,
        CmOwnTexts = 218,
        CmAbort = 300,
        CmPause = 301,
        CmInstruction = 302,
        CmFingering = 303,
        CmHelpContents = 2008,
        CmAbout = 2009,
        CmExit = 24310,
    };

    static constexpr int kFirstBasicLesson = 1201;

    SDIDecFrame(const LessonLibrary &library, TOptions &options, QWidget *parent = nullptr);
    ~SDIDecFrame() override;

    const LessonLibrary &library() const { return m_library; }
    TOptions &options() const { return m_options; }

    // The action of a command, for the menus, the accelerators and tests.
    QAction *action(int command) const;
    // Runs a command as its menu item would.
    void runCommand(int command);
    // Enables the commands that depend on the current student and the lesson.
    void updateCommands();
    // True while the lesson menu is shown.
    bool lessonMenuShown() const { return m_lessonMenuShown; }

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

    // The running lesson, or none.
    TLesson1 *lesson() const;

    // The lesson's text in the status bar.
    QString statusText() const;
    // What the status bar tells beside it: a pause, Caps Lock or Num Lock.
    QString noticeText() const;
    // The lock indicators of the status bar's right end ("CAPS", "NUM" or empty).
    QString lockIndicatorText() const;

    // How the running (or last) lesson was started: 0 suggested, a lesson
    // number when chosen from a list, 1 for a letter exercise or own text.
    int LessonChoice = 0;
    // One past the last lesson of the course.
    int LessonLimit = kFirstBasicLesson;

    // Where a finished lesson writes its results.
    float lessonSpeed() const { return m_speed; }
    float lessonAccuracy() const { return m_accuracy; }

    // Every registered student, loaded from pisarz.sta when the window is made.
    TStudentList Roster;

    // The program's one random generator, seeded when the window is made.
    RandomSource &random() { return m_random; }

    // The help viewer of the main window, or of the modal dialog `asking` is in.
    HelpWindow *helpWindow(QWidget *asking = nullptr);

protected:
    bool event(QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void createActions();
    void createMenus();
    void showMainMenu();
    void showLessonMenu();
    void showTitle();

    // Loads and installs a lesson; false leaves the screen as it was.
    bool startLesson(std::unique_ptr<TLesson1> lesson, int lessonChoice, bool dropInstruction = false);
    std::unique_ptr<TLesson1> makeStoredLesson(int number);
    void startSuggested(int number);

    void suggestedLesson();
    void chooseLesson(int firstLesson);
    void chooseText();
    void chooseKeypadDrill();
    void chooseOwnText();
    void chooseLetters();
    void chooseSingleLetter();
    void openOptions();
    void abortLesson();
    void togglePause();
    void showInstruction();
    void showAbout();

    void lessonFinished();
    void saveStudentsAfterChange();
    void updateNotices();
    // The current student's record, or a blank one that is never recorded.
    TStudent &lessonStudent();
    TStudent *currentStudent();

    const LessonLibrary &m_library;
    TOptions &m_options;
    StudentStore m_studentStore;
    bool m_toldSaveFailed = false;
    QLabel *m_statusLabel = nullptr;
    QLabel *m_noticeLabel = nullptr;
    QLabel *m_capsLabel = nullptr;
    QLabel *m_numLabel = nullptr;
    LockKeys *m_lockKeys = nullptr;
    std::map<int, QAction *> m_actions;
    QList<QMenu *> m_mainMenus;
    QList<QMenu *> m_lessonMenus;
    bool m_lessonMenuShown = false;
    HelpWindow *m_help = nullptr;
    QString m_lastOwnText; // offered again by the next "Własne teksty"
    StdRandomSource m_random;
    // Handed to lessons run without a current student; results are recorded
    // only for a current student, so nothing ever lands here.
    TStudent m_anonymous;
    float m_speed = 0.0F;
    float m_accuracy = 0.0F;
};
