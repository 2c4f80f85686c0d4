#include "app/sdidecframe.h"

#include "app/aboutdlg.h"
#include "app/appicon.h"
#include "app/apppaths.h"
#include "app/classreport.h"
#include "app/examresultdlg.h"
#include "app/helpwindow.h"
#include "app/lessonflow.h"
#include "app/lessonnotices.h"
#include "app/lockkeys.h"
#include "app/tendinfodlg.h"
#include "app/ttitle.h"
#include "app/verdict.h"
#include "app/windowview.h"
#include "choice/tchosedlg.h"
#include "choice/tchosekeydlg.h"
#include "choice/tchosekeysdlg.h"
#include "choice/tchosetextdlg.h"
#include "classroom/classroom.h"
#include "history/classdlg.h"
#include "history/progresschart.h"
#include "history/progressdlg.h"
#include "history/weakletters.h"
#include "images/tcanvas.h"
#include "images/thintwindow.h"
#include "lessons/lessonevents.h"
#include "lessons/lessongroups.h"
#include "lessons/lessonlibrary.h"
#include "lessons/texam.h"
#include "lessons/tlesson1.h"
#include "lessons/tlesson2.h"
#include "lessons/tlesson3.h"
#include "lessons/tlesson4.h"
#include "lessons/tlesson5.h"
#include "settings/passwordhash.h"
#include "settings/toptions.h"
#include "settings/toptionsdlg.h"
#include "students/tstatdlg.h"
#include "students/tstuddlg.h"
#include "text/cp1250.h"
#include "widgets/help.h"
#include "widgets/messages.h"
#include "widgets/openfiledialog.h"
#include "widgets/problemtext.h"
#include "widgets/textcodec.h"

#include <cstdio>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>

namespace {

struct CommandText {
    int command;
    const char *text;
    const char *hint; // shown in the status bar while the item is highlighted
};

// The texts of the commands, as the menus show them.
const CommandText kCommands[] = {
    { SDIDecFrame::CmRegistration, "&Rejestracja", "Rejestracja ucznia - umożliwia tryb sugerowany nauki" },
    { SDIDecFrame::CmClass, "K&lasa", "Wyniki wszystkich uczniów na jednej stronie, z eksportem do arkusza" },
    { SDIDecFrame::CmExit, "&Koniec\tAlt+F4", "Wyjście z programu." },
    { SDIDecFrame::CmSuggested, "&Sugerowana", "Lekcja sugerowana" },
    { SDIDecFrame::CmChooseLesson, "&Wybór lekcji", "Wybór ze wszystkich lekcji" },
    { SDIDecFrame::CmSingleLetter, "Ćwiczenie &jednej litery", "Doskonalenie pojedynczej litery" },
    { SDIDecFrame::CmLetters, "Wybór &liter", "Ćwiczenie generowane automatycznie" },
    { SDIDecFrame::CmTexts, "&Teksty", "Praktyczne teksty z wykorzystaniem wszystkich klawiszy" },
    { SDIDecFrame::CmKeypad, "&Klawiatura numeryczna", "Ćwiczenia na klawiaturze numerycznej" },
    { SDIDecFrame::CmOwnTexts, "Włas&ne teksty", "Lekcje utworzone z własnych plików tekstowych" },
    { SDIDecFrame::CmWeakLetters, "Słab&e litery",
        "Ćwiczenie ze słów z liter, które uczniowi sprawiają najwięcej kłopotu" },
    { SDIDecFrame::CmExam, "Sp&rawdzian", "Przepisywanie tekstu na czas, z oceną i świadectwem" },
    { SDIDecFrame::CmOptions, "&Opcje ogólne", "Opcje programu: dźwięk, reakcja na błędy" },
    { SDIDecFrame::CmStatistics, "&Statystyka", "Informacje o postępie w nauce, błędach, szybkości pisania" },
    { SDIDecFrame::CmProgress, "&Postępy", "Wykres i tabela wyników kolejnych lekcji ucznia" },
    { SDIDecFrame::CmHelpContents, "&Tematy pomocy", "Dostępne tematy pomocy" },
    { SDIDecFrame::CmAbout, "&Informacje", "Informacje o programie" },
    { SDIDecFrame::CmAbort, "&Przerwanie lekcji\tEsc", "Przerwanie aktualnie wykonywanej lekcji" },
    { SDIDecFrame::CmPause, "P&auza\tPauza", "Chwilowe zatrzymanie lekcji" },
    { SDIDecFrame::CmInstruction, "&Instrukcja", "Instrukcja do tej lekcji." },
    { SDIDecFrame::CmFingering, "Pa&lcowanie\tF2", "Rozmieszczenie palców na klawiaturze" },
};

} // namespace

using namespace lessonflow;

SDIDecFrame::SDIDecFrame(const LessonLibrary &library, TOptions &options, const LabSettings &lab, QWidget *parent)
    : QMainWindow(parent,
        Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
            | Qt::WindowCloseButtonHint)
    , m_library(library)
    , m_options(options)
    , m_classroom(new Classroom(
          AppPaths::studentsFile(), AppPaths::dataFolder(), AppPaths::computerName(), options.StudentNo, this))
{
    // Problems found at start are told once the window is up, so start-up
    // itself never waits on a box.
    connect(m_classroom, &Classroom::problem, this, [this](const DataProblem &problem) {
        if (isVisible())
            tellWhenFree(problem);
        else
            QTimer::singleShot(0, this, [this, problem] { tellWhenFree(problem); });
    });
    // The class as the server has it: the current pupil may be another one's
    // place now, or gone.
    connect(m_classroom, &Classroom::rosterChanged, this, &SDIDecFrame::currentStudentChanged);
    connect(m_classroom, &Classroom::pupilsHidden, this, [this] {
        QWidget *over = QApplication::activeModalWidget();
        Messages::information(over ? over : this, QStringLiteral("Rejestracja"),
            QStringLiteral("Uczeń zniknie z listy tylko na tym komputerze, a jego wyniki zostaną na serwerze klasy. "
                           "Z klasy usuwa uczniów nauczyciel."));
    });
    m_classroom->useClassServer(lab);
    m_classroom->load();
    m_lessonLimit = lessongroups::kFirstBasicLesson + m_library.countGroup(lessongroups::kFirstBasicLesson);

    setWindowTitle(QStringLiteral("Palcomir"));
    m_view = new WindowView(this, m_options);
    m_view->apply();
    createActions();
    createMenus();
    // A permanent label: menu hints cover it only while they are shown.
    m_statusLabel = new QLabel(this);
    statusBar()->addWidget(m_statusLabel, 1);
    m_noticeLabel = new QLabel(this);
    m_noticeLabel->setStyleSheet(QStringLiteral("color: #a00000; font-weight: bold;"));
    statusBar()->addWidget(m_noticeLabel);
    // A lamp takes room only while it is lit: the bar must hold the lesson's
    // figures, a notice and both lamps at once.
    for (QLabel **lamp : { &m_capsLabel, &m_numLabel }) {
        *lamp = new QLabel(this);
        (*lamp)->hide();
        statusBar()->addPermanentWidget(*lamp);
    }
    // A window of a fixed size has nothing to resize.
    statusBar()->setSizeGripEnabled(false);
    statusBar()->setAccessibleName(QStringLiteral("Pasek stanu"));
    menuBar()->setAccessibleName(QStringLiteral("Pasek menu"));
    connect(this, &SDIDecFrame::currentStudentChanged, this, &SDIDecFrame::updateCommands);
    connect(this, &SDIDecFrame::clientChanged, this, &SDIDecFrame::updateCommands);
    connect(this, &SDIDecFrame::clientChanged, this, &SDIDecFrame::updateNotices);
    m_lockKeys = new LockKeys(this);
    connect(m_lockKeys, &LockKeys::changed, this, &SDIDecFrame::updateNotices);
    m_lockKeys->openDisplay();
    // The program's icon, so that a dialog open at start (the registration) has it too.
    QGuiApplication::setWindowIcon(drawnPalcomirIcon());
    Help::setHandler([this](QWidget *asking, int context) { helpWindow(asking)->showContext(context); });
    showTitle();
}

SDIDecFrame::~SDIDecFrame()
{
    Help::setHandler({});
    // The client goes first: a lesson's clean-up still talks to this window.
    delete takeCentralWidget();
}

void SDIDecFrame::createActions()
{
    using Handler = void (SDIDecFrame::*)();
    const std::pair<int, Handler> handlers[] = {
        { CmRegistration, &SDIDecFrame::openRegistration },
        { CmExit, &SDIDecFrame::exitProgram },
        { CmSuggested, &SDIDecFrame::suggestedLesson },
        { CmChooseLesson, &SDIDecFrame::chooseLesson },
        { CmSingleLetter, &SDIDecFrame::chooseSingleLetter },
        { CmLetters, &SDIDecFrame::chooseLetters },
        { CmTexts, &SDIDecFrame::chooseText },
        { CmKeypad, &SDIDecFrame::chooseKeypadDrill },
        { CmOwnTexts, &SDIDecFrame::chooseOwnText },
        { CmOptions, &SDIDecFrame::openOptions },
        { CmStatistics, &SDIDecFrame::showStatistics },
        { CmProgress, &SDIDecFrame::showProgress },
        { CmClass, &SDIDecFrame::showClass },
        { CmWeakLetters, &SDIDecFrame::weakLettersExercise },
        { CmExam, &SDIDecFrame::startExam },
        { CmHelpContents, &SDIDecFrame::showHelpContents },
        { CmAbout, &SDIDecFrame::showAbout },
        { CmAbort, &SDIDecFrame::abortLesson },
        { CmPause, &SDIDecFrame::togglePause },
        { CmInstruction, &SDIDecFrame::showInstruction },
        { CmFingering, &SDIDecFrame::showFingering },
    };
    for (const CommandText &command : kCommands) {
        auto *action = new QAction(QString::fromUtf8(command.text), this);
        if (command.hint)
            action->setStatusTip(QString::fromUtf8(command.hint));
        m_actions[command.command] = action;
    }
    for (const auto &[command, handler] : handlers)
        connect(m_actions.at(command), &QAction::triggered, this, handler);
    m_actions[CmZoomIn] = m_view->zoomInAction();
    m_actions[CmZoomOut] = m_view->zoomOutAction();
    m_actions[CmNormalSize] = m_view->normalSizeAction();
    m_actions[CmFullScreen] = m_view->fullScreenAction();
    // The accelerators work whichever menu is shown.
    const std::pair<int, QKeySequence> accelerators[] = {
        { CmExit, QKeySequence(Qt::ALT | Qt::Key_F4) },
        { CmPause, QKeySequence(Qt::Key_Pause) },
        { CmAbort, QKeySequence(Qt::Key_Escape) },
        { CmFingering, QKeySequence(Qt::Key_F2) },
    };
    for (const auto &[command, keys] : accelerators) {
        QAction *a = m_actions.at(command);
        a->setShortcut(keys);
        a->setShortcutContext(Qt::WindowShortcut);
        addAction(a);
    }
}

void SDIDecFrame::createMenus()
{
    auto menu = [this](const char *title, std::initializer_list<int> commands) {
        auto *m = new QMenu(QString::fromUtf8(title), this);
        for (int command : commands) {
            if (command == 0)
                m->addSeparator();
            else
                m->addAction(m_actions.at(command));
        }
        return m;
    };
    QMenu *help = menu("Pomo&c", { CmHelpContents, 0, CmAbout });
    m_mainMenus = {
        menu("&Plik", { CmRegistration, CmClass, 0, CmExit }),
        menu("&Lekcja",
            { CmSuggested, 0, CmChooseLesson, CmLetters, CmSingleLetter, CmTexts, CmKeypad, CmOwnTexts, 0,
                CmWeakLetters, CmExam }),
        menu("&Opcje", { CmOptions, CmStatistics, CmProgress, 0, CmZoomIn, CmZoomOut, CmNormalSize, CmFullScreen }),
        help,
    };
    m_lessonMenus = {
        menu("&Plik", { CmExit }),
        menu("&Lekcja", { CmAbort, CmPause, CmInstruction, CmFingering }),
        help,
    };
}

void SDIDecFrame::showMainMenu()
{
    menuBar()->clear();
    for (QMenu *m : std::as_const(m_mainMenus))
        menuBar()->addMenu(m);
    m_lessonMenuShown = false;
}

void SDIDecFrame::showLessonMenu()
{
    menuBar()->clear();
    for (QMenu *m : std::as_const(m_lessonMenus))
        menuBar()->addMenu(m);
    m_lessonMenuShown = true;
}

QAction *SDIDecFrame::action(int command) const
{
    const auto it = m_actions.find(command);
    return it == m_actions.end() ? nullptr : it->second;
}

void SDIDecFrame::updateCommands()
{
    const bool student = m_options.StudentNo != -1;
    m_actions.at(CmSuggested)->setEnabled(student);
    m_actions.at(CmStatistics)->setEnabled(student);
    m_actions.at(CmProgress)->setEnabled(student);
    m_actions.at(CmExam)->setEnabled(student);
    const TLesson1 *running = lesson();
    m_actions.at(CmInstruction)->setEnabled(running && running->hasInstruction());
    // At a shared computer the next pupil sees whose results a lesson adds to.
    const TStudent *current = currentStudent();
    setWindowTitle(
        current ? QStringLiteral("Palcomir — ") + textcodec::toQString(current->Name) : QStringLiteral("Palcomir"));
}

void SDIDecFrame::runCommand(int command)
{
    if (QAction *a = action(command))
        a->trigger();
}

void SDIDecFrame::exitProgram()
{
    close();
}

void SDIDecFrame::showStatistics()
{
    const TStudent *student = currentStudent();
    if (!student)
        return;
    TStatDlg dialog(this, *student);
    dialog.setConfusedWith(confusionTexts(m_classroom->confusionTotals(student->Id)));
    dialog.exec();
}

void SDIDecFrame::showProgress()
{
    const TStudent *student = currentStudent();
    if (!student)
        return;
    const std::vector<LessonRecord> lessons = m_classroom->lessons(student->Id);
    const auto titleOf = [this](int number) -> std::optional<std::string> {
        if (const std::optional<std::string> title = m_library.title(number))
            return cp1250::toUtf8(*title);
        return std::nullopt;
    };
    ProgressDlg dialog(
        this, textcodec::toQString(student->Name), lessons, titleOf, lessongroups::kFirstBasicLesson, m_lessonLimit);
    dialog.exec();
}

void SDIDecFrame::setTeacherRules(const TeacherRules &rules)
{
    m_rules = rules;
    m_view->setLocks(rules.isLocked("Skala"), rules.isLocked("PelnyEkran"));
}

bool SDIDecFrame::teacherAllows()
{
    if (m_rules.passwordHash.empty())
        return true;
    QInputDialog dialog(this);
    dialog.setWindowTitle(QStringLiteral("Hasło nauczyciela"));
    dialog.setLabelText(QStringLiteral("To okno jest dla nauczyciela. Wpisz hasło nauczyciela:"));
    dialog.setTextEchoMode(QLineEdit::Password);
    dialog.setOkButtonText(QStringLiteral("OK"));
    dialog.setCancelButtonText(QStringLiteral("Anuluj"));
    if (dialog.exec() != QDialog::Accepted)
        return false;
    if (PasswordHash::check(m_rules.passwordHash, dialog.textValue().toStdString()))
        return true;
    Messages::stop(this, QStringLiteral("Hasło nauczyciela"), QStringLiteral("To nie jest hasło nauczyciela."));
    return false;
}

void SDIDecFrame::showClass()
{
    if (!teacherAllows())
        return;
    std::vector<ClassPupil> pupils = ClassReport::pupils(*m_classroom, m_library);
    std::vector<int> next;
    std::vector<bool> forgettable;
    for (const ClassPupil &p : pupils) {
        next.push_back(p.nextLesson);
        forgettable.push_back(p.gone);
    }
    const auto dateOf = [](std::int64_t when) {
        return QDateTime::fromSecsSinceEpoch(when).toString(QStringLiteral("yyyy-MM-dd")).toStdString();
    };
    ClassDlg dialog(this, classRows(pupils, m_lessonLimit, dateOf), next);
    dialog.allowForgetting(forgettable, [this, &pupils](int row) {
        ClassPupil &pupil = pupils[std::size_t(row)];
        m_classroom->forgetPupil(pupil.id);
        pupil.lessons.clear(); // nor are they in a report any more
    });
    dialog.allowReport([&pupils, sources = ClassReport::sources(m_library)](
                           const ReportDays &days) { return reportRows(pupils, days, sources); });
    dialog.exec();
}

void SDIDecFrame::startExam()
{
    const ExamRules &exam = m_rules.exam;
    const int text = exam.text ? exam.text : lessongroups::kFirstPracticalText;
    Messages::information(this, QStringLiteral("Sprawdzian"),
        QStringLiteral("Przepisuj tekst przez %1 minut, aż czas się skończy. Lekcji nie można wstrzymać.\n"
                       "Aby zaliczyć, potrzebujesz co najmniej %2 znaków na minutę i %3% poprawności.\n\n"
                       "Czas liczy się od zamknięcia tego okna.")
            .arg(exam.seconds / 60)
            .arg(exam.speed)
            .arg(exam.accuracy));
    const ErrorMode mode = exam.errorType == 1 ? ErrorMode::AcceptErrors : ErrorMode::WaitForCorrect;
    startLesson(std::make_unique<TExam>(this, m_options, text, exam.seconds, mode), LessonSource::Exam, true);
}

// The exam is stored with the history as any lesson; its result and
// certificate follow.
void SDIDecFrame::examFinished(const TLesson1 &finished)
{
    const TStudent *student = currentStudent();
    const LessonResults results = finished.results();
    const ExamRules &exam = m_rules.exam;
    ExamResult result;
    if (student) {
        result.pupil = cp1250::toUtf8(student->Name);
        result.masculine = student->Male != 0;
        result.className = m_classroom->className();
    }
    result.date = QLocale(QLocale::Polish).toString(QDate::currentDate(), QStringLiteral("d.MM.yyyy")).toStdString();
    const int number = finished.describe().number;
    result.text = std::to_string(number);
    if (const std::optional<std::string> title = m_library.title(number))
        result.text += ' ' + cp1250::toUtf8(*title);
    result.minutes = exam.seconds / 60;
    result.speed = results.speed;
    result.accuracy = results.accuracy;
    result.passSpeed = exam.speed;
    result.passAccuracy = exam.accuracy;
    result.passed = examPassed(results.speed, results.accuracy, exam);
    ExamResultDlg dialog(this, result);
    dialog.exec();
    showTitle();
}

void SDIDecFrame::weakLettersExercise()
{
    if (!currentStudent()) {
        Messages::information(this, QStringLiteral("Słabe litery"),
            QStringLiteral("Najpierw wybierz ucznia w oknie „Rejestracja” (menu Plik): słabe litery wskazuje "
                           "historia jego lekcji."));
        return;
    }
    const std::string taught = taughtLetters(m_library, currentStudent()->NextLesson);
    const std::string letters = weakLetters(m_classroom->charTotals(currentStudent()->Id), taught);
    if (letters.empty()) {
        Messages::information(this, QStringLiteral("Słabe litery"),
            QStringLiteral("Za mało wpisanych liter, by wskazać słabe. Każdą literę trzeba napisać co najmniej "
                           "%1 razy: przerób najpierw kilka lekcji.")
                .arg(kWeakLetterMinimum));
        return;
    }
    QStringList shown;
    for (char c : letters)
        shown << textcodec::toQString(std::string(1, c));
    Messages::information(this, QStringLiteral("Słabe litery"),
        QStringLiteral("Najwięcej kłopotu sprawiają Ci litery: %1.\nTeraz ćwiczenie ze słów z tych liter.")
            .arg(shown.join(QStringLiteral(", "))));
    auto exercise = std::make_unique<TLesson3>(this, m_options, letters, 10);
    exercise->keepToLetters(taught);
    startLesson(std::move(exercise), LessonSource::Exercise);
}

// Every problem with the class's data is told once, here, in the words of
// problemText(); also on the standard error, for whoever started the
// program from a terminal.
void SDIDecFrame::tellWhenFree(const DataProblem &problem)
{
    m_deferredProblems << problem;
    // A notice comes from a thread of its own, at any moment: given a
    // second, the dialog that opens at start is up and it waits.
    if (isNotice(problem))
        retellSoon();
    else
        tellDeferred();
}

void SDIDecFrame::retellSoon()
{
    if (!m_retell) {
        m_retell = new QTimer(this);
        m_retell->setSingleShot(true);
        m_retell->setInterval(1000);
        connect(m_retell, &QTimer::timeout, this, &SDIDecFrame::tellDeferred);
    }
    m_retell->start();
}

// Nothing interrupts the typing; a notice, which no action of the
// learner's brought about, also waits for the dialogs to close.
void SDIDecFrame::tellDeferred()
{
    const TLesson1 *running = lesson();
    const bool typing = running && !running->isFinished();
    const bool dialog = QApplication::activeModalWidget() != nullptr;
    QList<DataProblem> waiting;
    for (const DataProblem &problem : std::exchange(m_deferredProblems, {})) {
        if (typing || (dialog && isNotice(problem)))
            waiting << problem;
        else
            tellProblem(problem);
    }
    m_deferredProblems << waiting;
    if (!m_deferredProblems.isEmpty())
        retellSoon();
}

void SDIDecFrame::tellProblem(const DataProblem &problem)
{
    const QString text = problemText(problem);
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    if (isNotice(problem))
        Messages::information(this, QStringLiteral("Palcomir"), text);
    else
        Messages::stop(this, QStringLiteral("Palcomir"), text);
}

// What a finished lesson was, as the history keeps it.
LessonRecord SDIDecFrame::describeForHistory(const TLesson1 &finished) const
{
    const TypingEngine &engine = finished.engine();
    LessonRecord record;
    record.when = QDateTime::currentSecsSinceEpoch();
    record.suggested = m_source == LessonSource::Suggested;
    const LessonDescription what = finished.describe();
    record.kind = what.kind;
    record.number = what.number;
    record.detail = what.detail;
    record.seconds = engine.seconds();
    record.keystrokes = engine.typedCount();
    record.errors = engine.errorCount();
    const LessonResults results = finished.results();
    record.speed = results.speed;
    record.accuracy = results.accuracy;
    record.chars = talliesOf(engine.charCounts(), engine.missedPlaces());
    record.confusions = engine.confusions();
    return record;
}

void SDIDecFrame::showHelpContents()
{
    helpWindow()->showContext(Help::Contents);
}

void SDIDecFrame::showFingering()
{
    // One chart at a time: F2 again brings the open one forward.
    if (!m_chart) {
        m_chart = new THintWindow(this);
        m_chart->show();
    }
    m_chart->raise();
    m_chart->activateWindow();
    m_chart->setFocus();
}

void SDIDecFrame::showTitle()
{
    ReplaceClient(new TTitle(this));
    tellDeferred();
}

void SDIDecFrame::ReplaceClient(QWidget *client)
{
    // QMainWindow would delete the old client later; a lesson's clean-up
    // must run before the new client shows its status.
    std::unique_ptr<QWidget> old(takeCentralWidget());
    old.reset();
    setCentralWidget(client);
    setFocusProxy(client);
    if (qobject_cast<TLesson1 *>(client))
        showLessonMenu();
    else
        showMainMenu();
    // The layout would show the client only later; a widget not yet shown
    // cannot take the focus, and it would stay with the menu bar.
    client->show();
    client->setFocus();
    emit clientChanged();
}

void SDIDecFrame::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    auto *canvas = qobject_cast<TCanvas *>(centralWidget());
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        // A window about to become active is asked to realise its palette.
        if (canvas)
            canvas->PaletteQuery();
        // Back from a message box, a dialog or another program, the keyboard
        // belongs to the client again, wherever the focus was left.
        if (QWidget *client = centralWidget(); client && focusWidget() != client)
            client->setFocus(Qt::ActiveWindowFocusReason);
    } else if (event->type() == QEvent::PaletteChange && canvas) {
        // The nearest Qt has to a change of the system palette.
        canvas->PaletteChanged(this);
    }
}

TLesson1 *SDIDecFrame::lesson() const
{
    return qobject_cast<TLesson1 *>(centralWidget());
}

QString SDIDecFrame::statusText() const
{
    return m_statusLabel->text();
}

QString SDIDecFrame::noticeText() const
{
    return m_noticeLabel->text();
}

QString SDIDecFrame::lockIndicatorText() const
{
    return QStringList { m_capsLabel->text(), m_numLabel->text() }.join(QLatin1Char(' ')).trimmed();
}

void SDIDecFrame::updateNotices()
{
    lessonnotices::LessonState state;
    const TLesson1 *running = lesson();
    state.running = running && !running->isFinished();
    state.paused = running && running->engine().paused();
    state.keypadDrill = qobject_cast<const TLesson4 *>(running) != nullptr;
    state.capsLock = m_lockKeys->capsLock();
    state.numLock = m_lockKeys->numLock();
    m_noticeLabel->setText(QString::fromStdString(lessonnotices::noticeText(state)));
    m_capsLabel->setText(state.capsLock.value_or(false) ? QStringLiteral("CAPS") : QString());
    m_numLabel->setText(state.numLock.value_or(false) ? QStringLiteral("NUM") : QString());
    m_capsLabel->setVisible(!m_capsLabel->text().isEmpty());
    m_numLabel->setVisible(!m_numLabel->text().isEmpty());
    if (TLesson1 *shown = lesson())
        shown->setCapsLockLit(state.capsLock.value_or(false));
}

TStudent *SDIDecFrame::currentStudent()
{
    return m_classroom->current();
}

std::unique_ptr<TLesson1> SDIDecFrame::makeStoredLesson(int number)
{
    return std::make_unique<TLesson1>(this, m_options, number);
}

bool SDIDecFrame::startLesson(std::unique_ptr<TLesson1> lesson, LessonSource source, bool dropInstruction)
{
    // A lesson whose text cannot be made does not start; the screen stays as
    // it was and the learner is told why.
    if (const LoadOutcome loaded = lesson->LoadText(m_library); !loaded) {
        tellLoadProblem(loaded.problem, lesson->describe());
        return false;
    }
    if (dropInstruction)
        lesson->discardInstruction();
    connect(lesson.get(), &TLesson1::statusTextChanged, m_statusLabel, &QLabel::setText);
    connect(lesson.get(), &TLesson1::lessonMenuRequested, this, &SDIDecFrame::showLessonMenu);
    connect(lesson.get(), &TLesson1::pausedChanged, this, &SDIDecFrame::updateNotices);
    m_source = source;
    ReplaceClient(lesson.release());
    return true;
}

bool SDIDecFrame::startStoredLesson(int number)
{
    return startLesson(makeStoredLesson(number), LessonSource::Chosen);
}

void SDIDecFrame::tellLoadProblem(LoadProblem problem, const LessonDescription &lesson)
{
    switch (problem) {
    case LoadProblem::None:
        return;
    case LoadProblem::TextMissing:
        if (lesson.kind == LessonKind::Words)
            Messages::stop(this, QStringLiteral("Błąd"), QStringLiteral("Biblioteka lekcji nie ma listy słów."));
        else
            Messages::stop(
                this, QStringLiteral("Błąd"), QStringLiteral("Nie można wczytać lekcji %1.").arg(lesson.number));
        return;
    case LoadProblem::NoExercise:
        Messages::stop(
            this, QStringLiteral("Stop"), QStringLiteral("Utworzenie ćwiczenia z podanych liter nie było możliwe"));
        return;
    case LoadProblem::BadFile:
        Messages::stop(this, QStringLiteral("Wystąpił błąd"), QStringLiteral("Niewłaściwy format pliku."));
        return;
    }
}

void SDIDecFrame::suggestedLesson()
{
    // A finished course: nothing happens.
    if (const TStudent *student = currentStudent(); student && hasSuggestedLesson(student->NextLesson, m_lessonLimit))
        startLesson(makeStoredLesson(student->NextLesson), LessonSource::Suggested);
}

void SDIDecFrame::chooseLesson()
{
    int chosen = 0;
    TChoseDlg dialog(this, currentStudent(), chosen, lessongroups::kFirstBasicLesson, m_library);
    if (dialog.exec() == QDialog::Accepted)
        startLesson(makeStoredLesson(chosen), LessonSource::Chosen);
}

void SDIDecFrame::chooseText()
{
    int chosen = 0;
    TChoseTextDlg dialog(this, currentStudent(), chosen, lessongroups::kFirstPracticalText, m_library);
    // A practical text's first line is its title, not an instruction to show.
    if (dialog.exec() == QDialog::Accepted)
        startLesson(makeStoredLesson(chosen), LessonSource::Chosen, true);
}

void SDIDecFrame::chooseKeypadDrill()
{
    int chosen = 0;
    TChoseDlg dialog(this, currentStudent(), chosen, lessongroups::kFirstKeypadDrill, m_library);
    if (dialog.exec() == QDialog::Accepted)
        startLesson(std::make_unique<TLesson4>(this, m_options, chosen), LessonSource::Chosen);
}

void SDIDecFrame::chooseOwnText()
{
    // The dialog opens on the file chosen last in this run.
    const QString file
        = askForFileToOpen(this, m_lastOwnText, QStringLiteral("Pliki tekstowe (*.txt);;Wszystkie (*.*)"));
    if (file.isEmpty())
        return;
    m_lastOwnText = file;
    startLesson(std::make_unique<TLesson5>(this, m_options, file), LessonSource::Exercise);
}

void SDIDecFrame::chooseSingleLetter()
{
    int number = 0;
    TChoseKeyDlg dialog(this, number);
    if (dialog.exec() == QDialog::Accepted)
        startLesson(makeStoredLesson(number), LessonSource::Exercise);
}

void SDIDecFrame::chooseLetters()
{
    std::string letters;
    bool words = true;
    int lines = 6;
    TChoseKeysDlg dialog(this, letters, words, lines);
    if (dialog.exec() != QDialog::Accepted)
        return;
    // A words exercise that cannot be made has told the learner why.
    if (words)
        startLesson(std::make_unique<TLesson3>(this, m_options, letters, lines), LessonSource::Exercise);
    else
        startLesson(std::make_unique<TLesson2>(this, m_options, letters, lines), LessonSource::Exercise);
}

void SDIDecFrame::openOptions()
{
    TOptionsDlg dialog(this, m_options, m_view->percent());
    dialog.lock(m_rules);
    if (dialog.exec() == QDialog::Accepted)
        m_view->apply();
}

void SDIDecFrame::abortLesson()
{
    if (!Messages::ask(
            this, QStringLiteral("Przerwanie lekcji"), QStringLiteral("Czy na pewno chcesz przerwać lekcję?")))
        return;
    showTitle();
}

void SDIDecFrame::togglePause()
{
    if (auto *canvas = qobject_cast<TCanvas *>(centralWidget()))
        canvas->TogglePause();
}

void SDIDecFrame::showInstruction()
{
    if (TLesson1 *running = lesson())
        running->StartLesson();
}

void SDIDecFrame::showAbout()
{
    ABCAboutDlg dialog(this);
    dialog.exec();
}

HelpWindow *SDIDecFrame::helpWindow(QWidget *asking)
{
    // Help asked for from a modal dialog belongs to that dialog: a window of
    // the main window's would sit behind the dialog, blocked while it is open.
    QWidget *dialog = asking ? asking->window() : nullptr;
    if (dialog && dialog != this && dialog->isModal()) {
        auto *own = dialog->findChild<HelpWindow *>(QString(), Qt::FindDirectChildrenOnly);
        return own ? own : new HelpWindow(dialog);
    }
    if (!m_help)
        m_help = new HelpWindow(this);
    return m_help;
}

bool SDIDecFrame::event(QEvent *event)
{
    if (event->type() == LessonFinished) {
        lessonFinished();
        return true;
    }
    return QMainWindow::event(event);
}

void SDIDecFrame::closeEvent(QCloseEvent *event)
{
    if (!Messages::ask(this, QStringLiteral("Palcomir"), QStringLiteral("Czy na pewno chcesz opuścić program?"))) {
        event->ignore();
        return;
    }
    // A running lesson ends without a verdict and without being recorded.
    showTitle();
    if (m_help)
        m_help->close();
    if (m_chart)
        m_chart->close();
    event->accept();
}

void SDIDecFrame::lessonFinished()
{
    // Only the running lesson's first notice counts.
    const TLesson1 *finished = lesson();
    if (!finished || !finished->isFinished())
        return;
    // The results are merged and saved before the learner reads the verdict.
    const LessonResults results = finished->results();
    TStudent *student = currentStudent();
    if (student) {
        m_classroom->recordLesson(finished->engine().charCounts(), describeForHistory(*finished));
        // The list may have changed under it; the pupil is still the current one.
        student = currentStudent();
    }
    if (m_source == LessonSource::Exam) {
        examFinished(*finished);
        return;
    }
    const bool masculine = student && student->Male != 0;
    const bool suggested = offersNextLesson(m_source);
    QString text = QString::fromStdString(verdictText(results.speed, results.accuracy, masculine, suggested));
    const bool enough = meetsMinimalAccuracy(results.accuracy, m_rules);
    if (suggested && student && !enough) {
        text += QStringLiteral("\n\nNauczyciel wymaga poprawności co najmniej %1%, więc kurs zaczeka: "
                               "ta lekcja będzie następną, dopóki się to nie uda.")
                    .arg(*m_rules.minimalAccuracy);
    }
    if (!suggested || !student) {
        Messages::plain(this, QStringLiteral("Koniec ćwiczenia"), text, true);
        showTitle();
        return;
    }

    TEndInfoDlg dialog(
        this, text, advisesRepeat(results.accuracy) || !enough ? TEndInfoDlg::Repeat : TEndInfoDlg::Next);
    const auto answer = [&dialog] {
        switch (dialog.exec()) {
        case TEndInfoDlg::Next:
            return EndAnswer::Next;
        case TEndInfoDlg::No:
            return EndAnswer::No;
        case TEndInfoDlg::Repeat:
            return EndAnswer::Repeat;
        default:
            return EndAnswer::Closed;
        }
    }();
    // Told between the verdict and the next lesson.
    tellDeferred();
    const NextStep step = afterSuggestedLesson(student->NextLesson, answer, m_lessonLimit, enough);
    m_classroom->setNextLesson(step.nextLesson);
    if (!step.startLesson || !startLesson(makeStoredLesson(step.startLesson), LessonSource::Suggested))
        showTitle();
}

void SDIDecFrame::openRegistration()
{
    // Pupils registered at other computers sharing the folder are listed too.
    m_classroom->saveRoster();
    TStudDlg dialog(this, m_classroom->editableRoster(), m_options, m_options.StudentNo);
    // A removed pupil's lessons go with them, when the list is saved.
    connect(&dialog, &TStudDlg::listChanged, this, [this, &dialog] {
        m_classroom->saveRoster();
        dialog.reload();
    });
    // Pupils registered at other computers of the class show up while it is open.
    connect(m_classroom, &Classroom::serverRosterWaiting, &dialog, [this, &dialog] {
        if (QApplication::activeModalWidget() == &dialog) {
            m_classroom->applyServerRoster();
            dialog.reload();
        }
    });
    dialog.exec();
    m_options.StudentNo = validStudentNo(m_options.StudentNo, m_classroom->roster().count());
    emit currentStudentChanged();
}
