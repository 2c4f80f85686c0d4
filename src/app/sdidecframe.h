#pragma once

#include "app/lessonflow.h"
#include "history/lessonrecord.h"
#include "images/thintwindow.h"
#include "settings/labsettings.h"
#include "settings/teacherrules.h"
#include "widgets/dataproblem.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

#include <QMainWindow>
#include <QPointer>

class Classroom;
class HelpWindow;
class LessonLibrary;
class LockKeys;

class QLabel;
class QTimer;
class QMenu;
class TCanvas;
class TLesson1;
class WindowView;
struct TOptions;
struct TStudent;

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
        CmProgress = 104,
        CmClass = 105,
        CmZoomIn = 106,
        CmZoomOut = 107,
        CmNormalSize = 108,
        CmFullScreen = 109,
        CmSuggested = 200,
        CmChooseLesson = 213,
        CmSingleLetter = 214,
        CmTexts = 215,
        CmLetters = 216,
        CmKeypad = 217,
        CmOwnTexts = 218,
        CmWeakLetters = 219,
        CmExam = 220,
        CmAbort = 300,
        CmPause = 301,
        CmInstruction = 302,
        CmFingering = 303,
        CmHelpContents = 2008,
        CmAbout = 2009,
        CmExit = 24310,
    };

    // lab: class mode, when it names a class server.
    SDIDecFrame(
        const LessonLibrary &library, TOptions &options, const LabSettings &lab = {}, QWidget *parent = nullptr);
    ~SDIDecFrame() override;

    TOptions &options() const { return m_options; }
    // The teacher's locks, minimal accuracy and password.
    void setTeacherRules(const TeacherRules &rules);

    // The action of a command, for the menus, the accelerators and tests.
    QAction *action(int command) const;
    // Runs a command as its menu item would: nothing while it is disabled.
    void runCommand(int command);
    // Enables the commands that depend on the current student and the
    // lesson, and names the student in the title.
    void updateCommands();
    // True while the lesson menu is shown.
    bool lessonMenuShown() const { return m_lessonMenuShown; }

    // The class's data: the pupils and their history.
    Classroom &classroom() const { return *m_classroom; }
    // One past the last lesson of the course.
    int lessonLimit() const { return m_lessonLimit; }

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

    // Where the running (or last) lesson came from.
    lessonflow::LessonSource lessonSource() const { return m_source; }
    // The help viewer of the main window, or of the modal dialog `asking` is in.
    HelpWindow *helpWindow(QWidget *asking = nullptr);
    // The fingering chart while it is open.
    THintWindow *fingeringChart() const { return m_chart; }

signals:
    // The current student is another one, or none.
    void currentStudentChanged();
    // Another client is installed: a lesson or the title screen.
    void clientChanged();

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
    bool startLesson(std::unique_ptr<TLesson1> lesson, lessonflow::LessonSource source, bool dropInstruction = false);
    std::unique_ptr<TLesson1> makeStoredLesson(int number);

    // The commands.
    void exitProgram();
    void suggestedLesson();
    void chooseLesson();
    void chooseText();
    void chooseKeypadDrill();
    void chooseOwnText();
    void chooseLetters();
    void chooseSingleLetter();
    void openOptions();
    void showStatistics();
    void showProgress();
    void showClass();
    void weakLettersExercise();
    void startExam();
    void examFinished(const TLesson1 &finished);
    void showHelpContents();
    void showAbout();
    void abortLesson();
    void togglePause();
    void showInstruction();
    void showFingering();

    void lessonFinished();
    LessonRecord describeForHistory(const TLesson1 &finished) const;
    void tellLoadProblem(LoadProblem problem, const LessonDescription &lesson);
    void tellProblem(const DataProblem &problem);
    // Told now, or when the running lesson ends: a box must not catch the typing.
    void tellWhenFree(const DataProblem &problem);
    void tellDeferred();
    void retellSoon();
    // Whoever opens the teacher's side gives the teacher's password, when
    // there is one; false when it was not given.
    bool teacherAllows();
    void updateNotices();
    TStudent *currentStudent();

    const LessonLibrary &m_library;
    TOptions &m_options;
    Classroom *m_classroom = nullptr;
    int m_lessonLimit = 0;
    QLabel *m_statusLabel = nullptr;
    QLabel *m_noticeLabel = nullptr;
    QLabel *m_capsLabel = nullptr;
    QLabel *m_numLabel = nullptr;
    LockKeys *m_lockKeys = nullptr;
    WindowView *m_view = nullptr;
    TeacherRules m_rules;
    std::map<int, QAction *> m_actions;
    QList<QMenu *> m_mainMenus;
    QList<QMenu *> m_lessonMenus;
    bool m_lessonMenuShown = false;
    HelpWindow *m_help = nullptr;
    QPointer<THintWindow> m_chart;
    QString m_lastOwnText; // offered again by the next "Własne teksty"
    QList<DataProblem> m_deferredProblems; // found while a lesson ran
    QTimer *m_retell = nullptr; // tries them again
    lessonflow::LessonSource m_source = lessonflow::LessonSource::Chosen;
};
